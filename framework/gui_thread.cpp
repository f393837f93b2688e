#include "framework/gui_thread.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "framework/exception_handling.h"

namespace nitko {

namespace {

constexpr const char* SGuiThreadGone = "The GUI thread no longer takes calls";

// A sender's wait; shared by the sender and the queue entry.
struct TSendCompletion {
  enum { kPending, kDone, kGone } state = kPending;
  std::exception_ptr error;
  std::condition_variable done;
};

struct TPostedCall {
  std::function<void()> call;
  std::shared_ptr<TSendCompletion> completion;  // empty for a post
};

enum class TQueueState { kNotStarted, kRunning, kShutDown };

struct TGuiQueue {
  std::mutex mutex;
  // Guarded by mutex.
  std::deque<TPostedCall> calls;
  TQueueState state = TQueueState::kNotStarted;
  int wakeFd = -1;
  // The eventfd holds an unread wake-up; later posts need not write again.
  bool wakePending = false;
  std::function<void(std::exception_ptr)> handler;

  std::atomic<std::thread::id> guiThread{};

  // GUI thread only.
  QSocketNotifier* notifier = nullptr;
  int drainDepth = 0;
};

TGuiQueue& Queue() {
  static TGuiQueue queue;
  return queue;
}

void ThrowGone() { throw EGuiThreadGone(SGuiThreadGone); }

// Called with the mutex held, so shut-down cannot close the fd underneath.
void WakeLocked(TGuiQueue& q) {
  if (q.wakePending || q.wakeFd < 0) return;
  const std::uint64_t one = 1;
  while (write(q.wakeFd, &one, sizeof one) < 0 && errno == EINTR) {
  }
  q.wakePending = true;
}

void DrainWakeLocked(TGuiQueue& q) {
  if (!q.wakePending) return;
  std::uint64_t count;
  while (read(q.wakeFd, &count, sizeof count) < 0 && errno == EINTR) {
  }
  q.wakePending = false;
}

void DefaultHandler(std::exception_ptr error) {
  WriteExceptionToStderr(error, "Exception in a posted call", "Unknown exception in a posted call");
}

void ReportPostedCallError(TGuiQueue& q, std::exception_ptr error) {
  std::function<void(std::exception_ptr)> handler;
  {
    std::lock_guard lock(q.mutex);
    handler = q.handler;
  }
  try {
    if (handler)
      handler(error);
    else
      DefaultHandler(error);
  } catch (...) {
    // A failing handler must not stop the queue.
    DefaultHandler(std::current_exception());
  }
}

void RequireGuiThread(const char* what) {
  if (!IsGuiThread()) throw std::logic_error(std::string(what) + " called off the GUI thread");
}

}  // namespace

void InitGuiThread() {
  TGuiQueue& q = Queue();
  if (!QCoreApplication::instance()) throw std::logic_error("InitGuiThread needs an application object");
  const int fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (fd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
  {
    std::lock_guard lock(q.mutex);
    if (q.state == TQueueState::kRunning) {
      close(fd);
      throw std::logic_error("InitGuiThread called twice");
    }
    q.state = TQueueState::kRunning;
    q.wakeFd = fd;
    q.wakePending = false;
    q.guiThread.store(std::this_thread::get_id());
    if (!q.calls.empty()) WakeLocked(q);
  }
  // Parented so that one released inside a drain is freed with the application at the latest.
  q.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(q.notifier, &QSocketNotifier::activated, [] { ProcessPostedCalls(); });
}

void ShutdownGuiThread() {
  TGuiQueue& q = Queue();
  std::deque<TPostedCall> dropped;
  int fd;
  {
    std::lock_guard lock(q.mutex);
    if (q.state != TQueueState::kRunning) return;
    RequireGuiThread("ShutdownGuiThread");
    q.state = TQueueState::kShutDown;
    dropped.swap(q.calls);
    fd = q.wakeFd;
    q.wakeFd = -1;
    q.wakePending = false;
  }
  // Captures die here, on the GUI thread, before the senders are released.
  for (TPostedCall& entry : dropped) entry.call = nullptr;
  {
    std::lock_guard lock(q.mutex);
    for (TPostedCall& entry : dropped)
      if (entry.completion) entry.completion->state = TSendCompletion::kGone;
  }
  for (TPostedCall& entry : dropped)
    if (entry.completion) entry.completion->done.notify_all();

  // Inside a drain the notifier may be the one whose signal we are in.
  q.notifier->setEnabled(false);
  if (q.drainDepth > 0)
    q.notifier->deleteLater();
  else
    delete q.notifier;
  q.notifier = nullptr;
  close(fd);
}

bool IsGuiThread() { return Queue().guiThread.load() == std::this_thread::get_id(); }

void PostToGuiThread(std::function<void()> call) {
  if (!call) return;
  TGuiQueue& q = Queue();
  std::lock_guard lock(q.mutex);
  if (q.state == TQueueState::kShutDown) return;
  q.calls.push_back({std::move(call), nullptr});
  WakeLocked(q);
}

void SendToGuiThread(std::function<void()> call) {
  TGuiQueue& q = Queue();
  if (IsGuiThread()) {
    {
      std::lock_guard lock(q.mutex);
      if (q.state == TQueueState::kShutDown) ThrowGone();
    }
    if (call) call();
    return;
  }
  if (!call) return;
  auto completion = std::make_shared<TSendCompletion>();
  std::unique_lock lock(q.mutex);
  if (q.state == TQueueState::kShutDown) ThrowGone();
  q.calls.push_back({std::move(call), completion});
  WakeLocked(q);
  completion->done.wait(lock, [&] { return completion->state != TSendCompletion::kPending; });
  if (completion->state == TSendCompletion::kGone) ThrowGone();
  // Taken out so that the exception is released on this thread only.
  if (std::exception_ptr error = std::move(completion->error)) std::rethrow_exception(error);
}

void ProcessPostedCalls() {
  TGuiQueue& q = Queue();
  RequireGuiThread("ProcessPostedCalls");
  ++q.drainDepth;
  struct TDepthGuard {
    int& depth;
    ~TDepthGuard() { --depth; }
  } guard{q.drainDepth};

  for (;;) {
    TPostedCall entry;
    {
      std::lock_guard lock(q.mutex);
      if (q.state != TQueueState::kRunning) return;
      if (q.calls.empty()) {
        DrainWakeLocked(q);
        return;
      }
      // One at a time: a nested drain inside this call takes the next one.
      entry = std::move(q.calls.front());
      q.calls.pop_front();
    }
    std::exception_ptr error;
    try {
      entry.call();
    } catch (...) {
      error = std::current_exception();
    }
    entry.call = nullptr;
    if (entry.completion) {
      {
        std::lock_guard lock(q.mutex);
        entry.completion->error = std::move(error);
        entry.completion->state = TSendCompletion::kDone;
      }
      entry.completion->done.notify_all();
    } else if (error) {
      ReportPostedCallError(q, error);
    }
  }
}

std::size_t PendingPostedCalls() {
  TGuiQueue& q = Queue();
  std::lock_guard lock(q.mutex);
  return q.calls.size();
}

void SetPostedCallExceptionHandler(std::function<void(std::exception_ptr)> handler) {
  TGuiQueue& q = Queue();
  std::lock_guard lock(q.mutex);
  q.handler = std::move(handler);
}

}  // namespace nitko
