#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <functional>
#include <latch>
#include <numeric>
#include <semaphore>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "framework/application.h"
#include "framework/exception_handling.h"
#include "framework/gui_thread.h"
#include "runtime/exception.h"
#include "tests/event_loop_support.h"

using namespace nitko;

namespace {

class GuiThread : public ::testing::Test {
 protected:
  void SetUp() override { InitGuiThread(); }
  void TearDown() override {
    ShutdownGuiThread();
    SetPostedCallExceptionHandler(nullptr);
  }
};

using nitko::testing::RunUntilQuit;

}  // namespace

TEST_F(GuiThread, ManyPostersKeepTheirOrderAndLoseNothing) {
  constexpr int kThreads = 8, kEach = 5000;
  std::vector<std::vector<int>> seen(kThreads);  // touched on the GUI thread only
  int total = 0;
  bool allOnGuiThread = true;
  std::atomic<bool> workerIsGui{false};
  QEventLoop loop;
  std::latch start(kThreads);
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t)
    posters.emplace_back([&, t] {
      if (IsGuiThread()) workerIsGui = true;
      start.arrive_and_wait();
      for (int i = 0; i < kEach; ++i)
        PostToGuiThread([&, t, i] {
          allOnGuiThread = allOnGuiThread && IsGuiThread();
          seen[t].push_back(i);
          if (++total == kThreads * kEach) loop.quit();
        });
    });
  const bool finished = RunUntilQuit(loop);
  for (auto& poster : posters) poster.join();

  ASSERT_TRUE(finished) << total << " calls ran";
  EXPECT_TRUE(allOnGuiThread);
  EXPECT_FALSE(workerIsGui);
  std::vector<int> expected(kEach);
  std::iota(expected.begin(), expected.end(), 0);
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(seen[t], expected) << "thread " << t;
  EXPECT_EQ(PendingPostedCalls(), 0u);
}

TEST_F(GuiThread, SendWaitsForItsCallAndCarriesItsException) {
  int counter = 0;  // GUI thread only
  int seenByCall = -1;
  bool callOnGuiThread = false;
  std::string caught;
  QEventLoop loop;
  std::thread worker([&] {
    for (int i = 0; i < 100; ++i) PostToGuiThread([&] { ++counter; });
    // Queued behind the posts, so it sees all of them.
    SendToGuiThread([&] {
      seenByCall = counter;
      callOnGuiThread = IsGuiThread();
    });
    try {
      SendToGuiThread([] { throw EListError("List index out of bounds (7)"); });
    } catch (const EListError& e) {
      caught = e.Message();
    }
    PostToGuiThread([&] { loop.quit(); });
  });
  const bool finished = RunUntilQuit(loop);
  worker.join();

  ASSERT_TRUE(finished);
  EXPECT_EQ(seenByCall, 100);
  EXPECT_TRUE(callOnGuiThread);
  EXPECT_EQ(caught, "List index out of bounds (7)");
}

TEST_F(GuiThread, SendOnTheGuiThreadRunsAtOnce) {
  std::vector<std::string> log;
  PostToGuiThread([&] { log.push_back("posted"); });
  SendToGuiThread([&] { log.push_back("sent"); });
  EXPECT_EQ(log, std::vector<std::string>{"sent"});
  EXPECT_THROW(SendToGuiThread([] { throw EListError("x"); }), EListError);
  ProcessPostedCalls();
  EXPECT_EQ(log, (std::vector<std::string>{"sent", "posted"}));
}

TEST_F(GuiThread, CallsPostedDuringAModalLoopRunInsideItInOrder) {
  std::vector<std::string> log;
  QEventLoop outer;
  QEventLoop* dialog = nullptr;
  std::binary_semaphore dialogOpen{0};
  std::thread worker([&] {
    PostToGuiThread([&] {
      log.push_back("open");
      QEventLoop nested;
      dialog = &nested;
      dialogOpen.release();
      nested.exec();
      log.push_back("closed");
      outer.quit();
    });
    dialogOpen.acquire();
    PostToGuiThread([&] { log.push_back("1"); });
    PostToGuiThread([&] { log.push_back("2"); });
    PostToGuiThread([&] {
      log.push_back("close");
      dialog->quit();
    });
  });
  const bool finished = RunUntilQuit(outer);
  worker.join();
  ASSERT_TRUE(finished);
  EXPECT_EQ(log, (std::vector<std::string>{"open", "1", "2", "close", "closed"}));

  // A call that drains the queue itself takes the rest in order, including
  // what is posted meanwhile.
  log.clear();
  PostToGuiThread([&] {
    log.push_back("A");
    ProcessPostedCalls();
    log.push_back("A end");
  });
  PostToGuiThread([&] {
    log.push_back("B");
    PostToGuiThread([&] { log.push_back("D"); });
  });
  PostToGuiThread([&] { log.push_back("C"); });
  ProcessPostedCalls();
  EXPECT_EQ(log, (std::vector<std::string>{"A", "B", "C", "D", "A end"}));
}

TEST_F(GuiThread, PostedCallErrorsGoToTheHandlerAndTheQueueGoesOn) {
  std::vector<int> ran;
  std::vector<std::string> reported;
  SetPostedCallExceptionHandler([&](std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const EListError& e) {
      reported.push_back(e.Message());
    }
  });
  PostToGuiThread([&] { ran.push_back(1); });
  PostToGuiThread([] { throw EListError("bad index"); });
  PostToGuiThread([&] { ran.push_back(2); });
  ProcessPostedCalls();
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  EXPECT_EQ(reported, std::vector<std::string>{"bad index"});

  // The default handler reports and carries on too; so does a failing handler.
  SetPostedCallExceptionHandler(nullptr);
  PostToGuiThread([] { throw EAbort(""); });
  PostToGuiThread([&] { ran.push_back(3); });
  ProcessPostedCalls();
  SetPostedCallExceptionHandler([](std::exception_ptr) { throw EListError("handler failed"); });
  PostToGuiThread([] { throw EListError("bad index"); });
  PostToGuiThread([&] { ran.push_back(4); });
  ProcessPostedCalls();
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(GuiThread, ShutdownReleasesWaitingSendersAndDropsTheRest) {
  constexpr int kSenders = 4;
  std::atomic<int> callsRan{0}, released{0};
  PostToGuiThread([&] { ++callsRan; });
  std::vector<std::thread> senders;
  for (int k = 0; k < kSenders; ++k)
    senders.emplace_back([&] {
      try {
        SendToGuiThread([&] { ++callsRan; });
      } catch (const EGuiThreadGone&) {
        ++released;
      }
    });
  // Every sender is blocked once its call is queued.
  while (PendingPostedCalls() < 1 + kSenders) std::this_thread::yield();
  ShutdownGuiThread();
  for (auto& sender : senders) sender.join();
  EXPECT_EQ(released.load(), kSenders);

  PostToGuiThread([&] { ++callsRan; });
  EXPECT_EQ(PendingPostedCalls(), 0u);
  EXPECT_THROW(SendToGuiThread([&] { ++callsRan; }), EGuiThreadGone);
  bool lateReleased = false;
  std::thread late([&] {
    try {
      SendToGuiThread([&] { ++callsRan; });
    } catch (const EAbort&) {
      lateReleased = true;
    }
  });
  late.join();
  EXPECT_TRUE(lateReleased);
  EXPECT_EQ(callsRan.load(), 0);

  // A call that shuts down from inside a drain drops what follows it.
  InitGuiThread();
  PostToGuiThread([&] {
    ++callsRan;
    ShutdownGuiThread();
  });
  PostToGuiThread([&] { ++callsRan; });
  ProcessPostedCalls();
  EXPECT_EQ(callsRan.load(), 1);
  EXPECT_EQ(PendingPostedCalls(), 0u);
}

// Once the application is up, what a posted call or an event handler throws
// is shown by its exception display, captioned with its title; EAbort is not.
TEST(GuiThreadErrors, ReachTheApplicationsExceptionDisplay) {
  TApplication app;
  char exe[] = "/opt/program/Watki.exe";
  char* argv[] = {exe, nullptr};
  int argc = 1;
  app.Initialize(argc, argv);

  std::vector<std::string> shown;  // "caption|text" of each box, closed at once
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    shown.push_back(box->windowTitle().toStdString() + "|" + box->text().toStdString());
    box->button(QMessageBox::Ok)->click();
  });
  closer.start(5);

  const struct {
    std::function<void()> raise;
    std::vector<std::string> expected;
  } cases[] = {
      // ")" sorts below ".", so it gets no full stop.
      {[] { throw EListError("List index out of bounds (7)"); },
       {"Watki|List index out of bounds (7)"}},
      {[] { throw std::runtime_error("disk full"); }, {"Watki|disk full."}},
      {[] { throw Exception(""); }, {"Watki|"}},
      {[] { throw 42; }, {"Watki|Unknown exception."}},
      {[] { throw EAbort("quiet"); }, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected.empty() ? "EAbort" : c.expected[0]);
    shown.clear();
    PostToGuiThread(c.raise);
    ProcessPostedCalls();
    EXPECT_EQ(shown, c.expected) << "posted call";
    shown.clear();
    Guarded(c.raise);
    EXPECT_EQ(shown, c.expected) << "event handler";
  }
}
