#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"
#include "controls/gauge.h"
#include "core/plotted_function.h"
#include "core/run_state.h"
#include "dialogs/message_form.h"
#include "framework/button.h"
#include "framework/form.h"
#include "framework/gui_thread.h"
#include "framework/memo.h"
#include "framework/progress_bar.h"
#include "runtime/float_errors.h"
#include "runtime/threads.h"
#include "workers/progress_percent.h"
#include "workers/thread_control.h"
#include "workers/thread_error_report.h"
#include "workers/worker_procs.h"
#include "workers/worker_view.h"

using namespace nitko;
using namespace std::chrono_literals;

namespace {

// Spins the real event loop until pred holds; the guard only keeps a broken
// hand-over from hanging the suite.
bool SpinUntil(const std::function<bool()>& pred, std::chrono::milliseconds guard = 60s) {
  const auto deadline = std::chrono::steady_clock::now() + guard;
  while (!pred()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QEventLoop loop;
    QTimer::singleShot(1, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

void SpinFor(std::chrono::milliseconds d) {
  const auto end = std::chrono::steady_clock::now() + d;
  SpinUntil([&] { return std::chrono::steady_clock::now() >= end; });
}

// The window's pieces as the main window holds them, with a GUI-side log of
// what arrived: every point of series 1 and every memo line, in order.
struct Window {
  explicit Window(std::chrono::milliseconds pause)
      : form(nullptr), chart(&form), gauge(&form), bar(&form), memo(&form),
        view{state, *series1, *series2, chart, gauge, bar, memo, pause} {
    chart.SetParent(&form);
    chart.SetBounds(0, 0, 300, 200);
    memo.SetParent(&form);
    state.a = 0.0;
    state.b = 10.0;
    state.step = static_cast<double>((10.0L - 0.0L) / RunState::N);
    series1->OnAfterAdd = [this](TChartSeries* s, int i) {
      log.push_back("point " + Worker1Line(s->XValues().ValueAt(i), s->YValues().ValueAt(i)));
      gaugeAtPoint.push_back(gauge.Progress());
      linesAtPoint.push_back(memo.Lines().Count());
    };
    series2->OnAfterAdd = [this](TChartSeries*, int) { barAtPoint.push_back(bar.Position()); };
    memo.OnChange = [this](TComponent*) {
      for (; seenLines < memo.Lines().Count(); ++seenLines) log.push_back("line " + memo.Lines()[seenLines]);
    };
  }

  TChartSeries* NewSeries() {
    auto* s = new TChartSeries(&chart);
    s->SetParentChart(&chart);
    return s;
  }

  bool Idle() {
    return !ThreadRunning(state.thread1.load()) && !ThreadRunning(state.thread2.load()) &&
           PendingPostedCalls() == 0;
  }

  TForm form;
  TCustomAxisPanel chart;
  TChartSeries* series1 = NewSeries();
  TChartSeries* series2 = NewSeries();
  TCGauge gauge;
  TProgressBar bar;
  TMemo memo;
  RunState state;
  TWorkerView view;
  std::vector<std::string> log;
  std::vector<int> gaugeAtPoint, linesAtPoint, barAtPoint;
  int seenLines = 0;
};

class Workers : public ::testing::Test {
 protected:
  void SetUp() override { InitGuiThread(); }
  void TearDown() override {
    if (w) ShutdownWorkers(w->view);
    EXPECT_EQ(RunningThreadCount(), 0);
    w.reset();
    ShutdownGuiThread();
  }
  Window& Make(std::chrono::milliseconds pause) {
    w = std::make_unique<Window>(pause);
    return *w;
  }
  std::unique_ptr<Window> w;
};

// The percentages of passes 0..100 with the accumulated positions.
std::vector<int> ExpectedPercentages() {
  std::vector<int> e;
  for (int i = 0; i <= 100; ++i) e.push_back(i == 3 || (i >= 14 && i <= 43) ? i + 1 : i);
  return e;
}

}  // namespace

TEST(ProgressPercent, CeilingOfThePositionsShareAndTrapsWhereTheFpuWould) {
  double x = 0.0, step = static_cast<double>(10.0L / 100);
  std::vector<int> got;
  for (int i = 0; i <= 100; ++i, x = static_cast<double>(static_cast<Extended>(step) + x))
    got.push_back(ProgressPercent(x, 0.0, 10.0));
  EXPECT_EQ(got, ExpectedPercentages());
  EXPECT_EQ(ProgressPercent(5.0, 10.0, 0.0), 50);  // the span's absolute value
  EXPECT_EQ(ProgressPercent(0.0, 3.0, 3.0), 100);  // a = b: not 0 / 0
  EXPECT_EQ(ProgressPercent(1.0, 3.0, 3.0), 100);
  EXPECT_THROW(ProgressPercent(1e300, 0.0, 1e-300), EOverflow);
  EXPECT_THROW(ProgressPercent(1e10, 0.0, 1.0), EInvalidOp);  // no 32-bit integer holds it
}

// The counting rule, on threads that wait in a safe point.
TEST(ThreadLayer, SuspendCountsFrom0To127AndFailsWithoutEffectOnDeadHandles) {
  static TThreadSignal release;
  uint32_t id1 = 0, id2 = 0;
  auto waiter = +[](void*) -> int32_t {
    release.Wait();
    return 7;
  };
  const TThreadHandle h1 = StartThread(nullptr, 0, waiter, nullptr, 0, id1);
  const TThreadHandle h2 = StartThread(nullptr, 0, waiter, nullptr, kCreateSuspended, id2);
  ASSERT_GT(h1, 0);
  EXPECT_GT(h2, h1);
  EXPECT_NE(id1, id2);

  EXPECT_EQ(SuspendThread(0), kThreadCallFailed);
  EXPECT_EQ(ResumeThread(0), kThreadCallFailed);
  EXPECT_EQ(SuspendThread(h2 + 1000), kThreadCallFailed);
  EXPECT_EQ(ResumeThread(h1), 0);  // a running thread: nothing to take away
  for (int n = 0; n < kMaxSuspendCount; ++n) ASSERT_EQ(SuspendThread(h1), n);
  EXPECT_EQ(SuspendThread(h1), kThreadCallFailed);  // past 127: unchanged
  EXPECT_EQ(ResumeThread(h1), 127);
  EXPECT_EQ(ResumeThread(h2), 1);  // created suspended

  EXPECT_TRUE(CloseThreadHandle(h2));
  EXPECT_FALSE(CloseThreadHandle(h2));
  EXPECT_EQ(SuspendThread(h2), kThreadCallFailed);  // released, though it runs on

  release.Set();
  for (int n = 126; n >= 1; --n) ASSERT_EQ(ResumeThread(h1), n);
  ASSERT_TRUE(JoinStoppedThreads(60s));
  EXPECT_FALSE(ThreadRunning(h1));
  EXPECT_EQ(SuspendThread(h1), kThreadCallFailed);  // ended
  EXPECT_EQ(ResumeThread(h1), kThreadCallFailed);
  uint32_t id3 = 0;
  EXPECT_GT(StartThread(nullptr, 0, +[](void*) -> int32_t { return 0; }, nullptr, 0, id3), h2);
  EXPECT_TRUE(JoinStoppedThreads(60s));
}

TEST_F(Workers, Worker1PlotsReportsAndWritesEachPassInOrder) {
  Window& w = Make(1ms);
  w.memo.Lines().Add("earlier");
  w.log.clear();
  StartWorker1(w.view);
  ASSERT_TRUE(SpinUntil([&] { return w.Idle() && w.memo.Lines().Count() == 102; }));

  EXPECT_EQ(w.memo.Lines()[0], "earlier");  // a start does not clear the memo
  EXPECT_EQ(w.memo.Lines()[1], "  f(0) = 0");
  EXPECT_EQ(w.memo.Lines()[2], "  f(0.1) = -0.0901667472420662");
  EXPECT_EQ(w.memo.Lines()[4], "  f(0.3) = -0.214518268443888");
  ASSERT_EQ(w.series1->PointCount(), 101);
  EXPECT_EQ(w.series2->PointCount(), 0);
  // Point, progress, line: each point meets the previous pass complete.
  ASSERT_EQ(w.log.size(), 202u);
  for (size_t i = 0; i < 101; ++i) {
    EXPECT_EQ(w.log[2 * i + 1], "line " + w.log[2 * i].substr(6)) << i;
    EXPECT_EQ(w.linesAtPoint[i], static_cast<int>(i) + 1) << i;
  }
  std::vector<int> shown(w.gaugeAtPoint.begin() + 1, w.gaugeAtPoint.end());
  shown.push_back(w.gauge.Progress());
  EXPECT_EQ(shown, ExpectedPercentages());
  EXPECT_NEAR(w.state.x1.load(), 10.1, 1e-12);
}

TEST_F(Workers, Worker2WalksDownThenWaitsOnItsMessageWhileTheWindowStaysUsable) {
  Window& w = Make(1ms);
  StartWorker2(w.view);
  ASSERT_TRUE(SpinUntil([&] { return w.view.messages.Open().size() == 1; }));
  ASSERT_EQ(w.series2->PointCount(), 101);
  // Ascending in the series; the first point was X = 10, the last b - x2.
  EXPECT_DOUBLE_EQ(w.series2->XValues().ValueAt(100), 10.0);
  EXPECT_NEAR(w.series2->YValues().ValueAt(100), 1.83911692900621, 1e-13);
  EXPECT_NEAR(w.series2->XValues().ValueAt(0), 1.95e-14, 0.01e-14);
  EXPECT_GT(w.series2->XValues().ValueAt(0), 0.0);
  std::vector<int> shown(w.barAtPoint.begin() + 1, w.barAtPoint.end());
  shown.push_back(w.bar.Position());
  EXPECT_EQ(shown, ExpectedPercentages());

  TMessageForm* message = w.view.messages.Open()[0];
  const std::string prefix = " Czas trwania watku 2 wg. czasu systemowego [msek] = ";
  ASSERT_EQ(message->MessageText().rfind(prefix, 0), 0u) << message->MessageText();
  EXPECT_GE(std::stoi(message->MessageText().substr(prefix.size())), 101);  // 101 pauses of 1 ms
  EXPECT_EQ(message->Caption(), MessageDialogCaption(MessageDialogKind::mtCustom));
  EXPECT_FALSE(message->Widget()->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  SpinFor(20ms);
  EXPECT_TRUE(ThreadRunning(w.state.thread2.load()));  // still waiting on it
  w.form.Show();
  w.form.Close();  // the main window is not blocked by the message
  EXPECT_FALSE(w.form.Visible());

  message->DefaultButton()->Click();
  ASSERT_TRUE(SpinUntil([&] { return w.Idle(); }));
  EXPECT_TRUE(w.view.messages.Open().empty());
}

TEST_F(Workers, SuspendTwiceNeedsTwoResumesAndStopsAllOutput) {
  Window& w = Make(2ms);
  SuspendWorker1(w.view);  // before any start: handle 0, nothing happens
  ResumeWorker2(w.view);
  StartWorker1(w.view);
  ASSERT_TRUE(SpinUntil([&] { return w.series1->PointCount() >= 5; }));
  SuspendWorker1(w.view);
  SuspendWorker1(w.view);
  SpinFor(30ms);  // the pass under way lands
  const int points = w.series1->PointCount(), lines = w.memo.Lines().Count();
  const int progress = w.gauge.Progress();
  EXPECT_EQ(lines, points);
  SpinFor(100ms);
  EXPECT_EQ(w.series1->PointCount(), points);
  ResumeWorker1(w.view);
  SpinFor(100ms);
  EXPECT_EQ(w.series1->PointCount(), points);
  EXPECT_EQ(w.memo.Lines().Count(), lines);
  EXPECT_EQ(w.gauge.Progress(), progress);
  ResumeWorker1(w.view);
  ResumeWorker1(w.view);  // one too many: no effect
  ASSERT_TRUE(SpinUntil([&] { return w.Idle(); }));
  EXPECT_EQ(w.series1->PointCount(), 101);
  EXPECT_EQ(w.memo.Lines().Count(), 101);
}

TEST_F(Workers, ASecondStartSharesTheResetPositionAndBothWriteTheMemo) {
  Window& w = Make(2ms);
  StartWorker1(w.view);
  ASSERT_TRUE(SpinUntil([&] { return w.series1->PointCount() >= 10; }));
  const TThreadHandle first = w.state.thread1.load();
  StartWorker1(w.view);
  const int cleared = static_cast<int>(w.log.size()) / 2;  // points before the clear
  EXPECT_NE(w.state.thread1.load(), first);
  EXPECT_EQ(SuspendThread(first), kThreadCallFailed);  // released: out of the buttons' reach
  ASSERT_TRUE(SpinUntil([&] { return RunningThreadCount() == 0 && PendingPostedCalls() == 0; }));
  EXPECT_EQ(w.memo.Lines().Count(), 202);
  EXPECT_LE(w.series1->PointCount(), 202 - cleared + 1);
  EXPECT_GE(w.series1->PointCount(), 202 - cleared - 1);
  // Every pass of either thread moved the shared position by one step; the
  // released thread's pass in flight may fall on either side of the reset
  // and of the clear, as the point count allows.
  const double steps = w.state.x1.load() / 0.1 - w.series1->PointCount();
  EXPECT_TRUE(std::fabs(steps - std::round(steps)) < 1e-6 && std::fabs(steps) < 1.5) << steps;
}

TEST_F(Workers, BothWorkersRunTogetherAndReadPAfreshEachPass) {
  // A pause long enough for the GUI thread to keep up, also under a
  // sanitizer: p must change while both are mid-run.
  Window& w = Make(20ms);
  StartWorker1(w.view);
  StartWorker2(w.view);
  ASSERT_TRUE(SpinUntil([&] { return w.series1->PointCount() >= 30 && w.series2->PointCount() >= 30; }));
  SetWorkerParameter(w.view, 3);
  ASSERT_TRUE(SpinUntil([&] { return w.view.messages.Open().size() == 1 && !ThreadRunning(w.state.thread1); }));
  ASSERT_TRUE(SpinUntil([&] { return w.series1->PointCount() == 101; }));
  ASSERT_EQ(w.series2->PointCount(), 101);

  // Each series switches once from p to the new p (worker 2: p + 1).
  auto switches = [](TChartSeries* s, int pBefore, int pAfter, bool descending) {
    int changes = 0, last = pBefore;
    for (int k = 0; k < s->PointCount(); ++k) {
      const int i = descending ? s->PointCount() - 1 - k : k;
      const double x = s->XValues().ValueAt(i), y = s->YValues().ValueAt(i);
      const int now = y == static_cast<double>(f(x, pBefore)) ? pBefore
                      : y == static_cast<double>(f(x, pAfter)) ? pAfter : -1;
      EXPECT_NE(now, -1) << "point " << i;
      changes += now != last;
      last = now;
    }
    return changes;
  };
  EXPECT_EQ(switches(w.series1, 0, 3, false), 1);
  EXPECT_EQ(switches(w.series2, 1, 4, true), 1);
}

// Shut-down from every state a worker can be in; it must neither hang nor
// leave a thread or a message behind.
TEST_F(Workers, ShutdownStopsRunningSleepingSuspendedAndWaitingWorkers) {
  struct Case {
    const char* name;
    std::chrono::milliseconds pause;
    std::function<void(Window&)> arrange;
  };
  const std::vector<Case> cases = {
      {"running", 1ms, [](Window& w) { StartWorker1(w.view); StartWorker2(w.view); }},
      {"sleeping a long pause", 1h, [](Window& w) { StartWorker1(w.view); StartWorker2(w.view); }},
      {"suspended twice", 1ms,
       [](Window& w) {
         StartWorker1(w.view);
         SuspendWorker1(w.view);
         SuspendWorker1(w.view);
       }},
      {"message open", 0ms,
       [](Window& w) {
         StartWorker2(w.view);
         SpinUntil([&] { return !w.view.messages.Open().empty(); });
       }},
      {"message open and suspended", 0ms,
       [](Window& w) {
         StartWorker2(w.view);
         SpinUntil([&] { return !w.view.messages.Open().empty(); });
         SuspendWorker2(w.view);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Window& w = Make(c.pause);
    c.arrange(w);
    SpinFor(10ms);
    ShutdownWorkers(w.view);
    EXPECT_EQ(RunningThreadCount(), 0);
    EXPECT_TRUE(w.view.messages.Open().empty());
    EXPECT_EQ(PendingPostedCalls(), 0u);
    EXPECT_EQ(w.memo.Lines().Count(), w.series1->PointCount());
  }
}

// ThreadSanitizer's cost of every lock grows with the threads alive, and
// the presses keep thousands alive: there a fifth of the presses is as
// telling about races and keeps the suite's time in bounds.
#if defined(__SANITIZE_THREAD__)
constexpr int kStressPresses = 2000;
#else
constexpr int kStressPresses = 10000;
#endif

// The six buttons and p, pressed in random order; then the window closes.
TEST_F(Workers, StressOfButtonsAndPEndsCleanWithEveryPointFollowedByItsLine) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  // About 2900 starts, and the buttons orphan many of them suspended. A pause
  // of a second keeps all of them alive and overlapping through the presses,
  // making passes, while few end before the window closes. The gauge's pixels
  // are tested elsewhere; small, it repaints fast.
  Window& w = Make(1s);
  w.gauge.SetBounds(0, 0, 40, 20);
  using Press = void (*)(TWorkerView&);
  const Press presses[] = {StartWorker1, SuspendWorker1, ResumeWorker1,
                           StartWorker2, SuspendWorker2, ResumeWorker2};
  for (int n = 0; n < kStressPresses; ++n) {
    const unsigned what = random() % 7;
    if (what == 6)
      SetWorkerParameter(w.view, static_cast<int32_t>(random() % 2001) - 1000);
    else
      presses[what](w.view);
    if (n % 100 == 0) SpinFor(1ms);
  }
  for (TMessageForm* m : w.view.messages.Open()) m->Close();
  SpinFor(20ms);
  ShutdownWorkers(w.view);
  EXPECT_EQ(RunningThreadCount(), 0);

  // Threads interleave, but each line follows its own point: every line
  // matches a point logged before it and not yet answered.
  std::multiset<std::string> unanswered;
  int lines = 0;
  for (const std::string& entry : w.log) {
    if (entry.rfind("point ", 0) == 0) {
      unanswered.insert(entry.substr(6));
    } else {
      ++lines;
      auto it = unanswered.find(entry.substr(5));
      ASSERT_NE(it, unanswered.end()) << "line without a point: " << entry;
      unanswered.erase(it);
    }
  }
  EXPECT_TRUE(unanswered.empty()) << unanswered.size() << " points without their line";
  EXPECT_EQ(lines, w.memo.Lines().Count());
  EXPECT_GT(lines, 0);
}

// The real pace, end to end: 101 points 100 ms apart.
TEST_F(Workers, RealPaceRunTakesAboutTenSeconds) {
  Window& w = Make(100ms);
  StartWorker2(w.view);
  ASSERT_TRUE(SpinUntil([&] { return !w.view.messages.Open().empty(); }));
  const std::string text = w.view.messages.Open()[0]->MessageText();
  const int ms = std::stoi(text.substr(text.rfind(' ') + 1));
  EXPECT_GE(ms, 10100);
  w.view.messages.Open()[0]->Close();
  ASSERT_TRUE(SpinUntil([&] { return w.Idle(); }));
}

// A percentage past 32 bits is reported on the GUI thread; the process ends with exit code 1.
TEST(WorkersDeathTest, AnExceptionEscapingAWorkerIsReportedAndEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        InitGuiThread();
        SetThreadExceptionDisplay(&ShowThreadExceptionReport);
        Window w(1ms);
        w.state.step = 1e9;
        // Answers the report box as a user would, after echoing it.
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [] {
          if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            const std::string text = box->text().replace("\r\n", "|").toStdString();
            fprintf(stderr, "[%s] %s\n", box->windowTitle().toStdString().c_str(), text.c_str());
            box->close();
          }
        });
        answer.start(5);
        StartWorker1(w.view);
        SpinUntil([] { return false; }, 60s);
        std::_Exit(3);
      },
      ::testing::ExitedWithCode(1),
      "\\[Application Error\\] Exception EInvalidOp in module workers_test at [0-9A-F]+\\.\\|"
      "Invalid floating point operation\\.\\|");
}
