#include "runtime/threads.h"

#include <cxxabi.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "runtime/exception.h"
#include "runtime/extended.h"

namespace nitko {

namespace {

// Thrown from a safe point when the thread is to stop; ThreadEntry ends the
// thread quietly on it. Not a std::exception, so that no handler written for
// errors swallows it.
struct TThreadStopped {};

struct TThreadRecord {
  TThreadHandle handle = 0;
  uint32_t id = 0;
  // Guarded by the layer's mutex.
  int32_t suspendCount = 0;
  bool ended = false;
  bool stopRequested = false;
  std::thread thread;  // set by the starter; the joiner moves it out under the mutex
  // This thread's own waits: a resume, a stop or a signal wakes only it, not
  // every thread alive (thousands of them made each wake cost a storm).
  std::condition_variable wake;
};

struct TThreadStart {
  TThreadProc proc;
  void* parameter;
  std::shared_ptr<TThreadRecord> record;
};

struct TThreadLayer {
  std::mutex mutex;
  // Ended threads and signals waited on by threads of no record (the GUI
  // thread joining, a test); a thread of this layer waits on its own wake.
  std::condition_variable changed;
  std::unordered_map<TThreadHandle, std::shared_ptr<TThreadRecord>> handles;
  std::vector<std::shared_ptr<TThreadRecord>> live;  // started, not joined
  std::unordered_multimap<const void*, TThreadRecord*> signalWaiters;  // by signal
  TThreadHandle lastHandle = 0;
  uint32_t lastId = 0;
};

TThreadLayer& Layer() {
  static TThreadLayer layer;
  return layer;
}

std::atomic<TThreadExceptionDisplay> gDisplay{nullptr};
thread_local TThreadRecord* tCurrent = nullptr;

// Caller holds the mutex; the record is known, open and not ended.
std::shared_ptr<TThreadRecord> FindRunningLocked(TThreadLayer& layer, TThreadHandle handle) {
  if (handle == 0) return nullptr;
  auto it = layer.handles.find(handle);
  if (it == layer.handles.end() || it->second->ended) return nullptr;
  return it->second;
}

// Takes the threads that have ended out of the live list, to be joined
// without the mutex held.
std::vector<std::thread> TakeEndedLocked(TThreadLayer& layer) {
  std::vector<std::thread> ended;
  auto& live = layer.live;
  for (auto it = live.begin(); it != live.end();) {
    if ((*it)->ended) {
      ended.push_back(std::move((*it)->thread));
      it = live.erase(it);
    } else {
      ++it;
    }
  }
  return ended;
}

void JoinAll(std::vector<std::thread>& threads) {
  for (std::thread& t : threads)
    if (t.joinable()) t.join();
}

// Called with the mutex held: waits while the thread is suspended; throws
// when it is to stop.
void WaitWhileSuspendedLocked(TThreadLayer& layer, std::unique_lock<std::mutex>& lock,
                              TThreadRecord& self) {
  self.wake.wait(lock, [&] { return self.stopRequested || self.suspendCount == 0; });
  if (self.stopRequested) throw TThreadStopped{};
}

std::string ModuleFileName() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  const std::string full(path, static_cast<size_t>(n));
  const size_t slash = full.rfind('/');
  return slash == std::string::npos ? full : full.substr(slash + 1);
}

std::string ClassNameOfCurrentException() {
  const std::type_info* type = abi::__cxa_current_exception_type();
  if (type == nullptr) return "";
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(type->name(), nullptr, nullptr, &status), std::free);
  std::string name = status == 0 && demangled ? demangled.get() : type->name();
  // The class's own name, as the report shows it, without its namespace.
  if (name.find('<') == std::string::npos) {
    const size_t colon = name.rfind("::");
    if (colon != std::string::npos) name = name.substr(colon + 2);
  }
  return name;
}

[[noreturn]] void ReportAndEnd(std::exception_ptr error, const void* address) {
  const std::string text = ThreadExceptionReportText(error, address);
  if (TThreadExceptionDisplay display = gDisplay.load()) {
    try {
      display(text);
    } catch (...) {
      std::fputs(text.c_str(), stderr);
    }
  } else {
    std::fputs(text.c_str(), stderr);
  }
  std::fflush(nullptr);
  // Other threads are still running: no static destructors under them.
  std::_Exit(1);
}

}  // namespace

TThreadHandle StartThread(void* /*securityAttributes*/, uint32_t /*stackSize*/, TThreadProc proc,
                          void* parameter, uint32_t creationFlags, uint32_t& threadId) {
  TThreadLayer& layer = Layer();
  auto record = std::make_shared<TThreadRecord>();
  std::vector<std::thread> ended;
  TThreadHandle handle;
  {
    std::lock_guard lock(layer.mutex);
    ended = TakeEndedLocked(layer);
    if (layer.lastHandle == std::numeric_limits<TThreadHandle>::max()) {
      handle = 0;  // every handle has been given out once
    } else {
      handle = ++layer.lastHandle;
      record->handle = handle;
      record->id = ++layer.lastId;
      record->suspendCount = (creationFlags & kCreateSuspended) != 0 ? 1 : 0;
      auto* start = new TThreadStart{proc, parameter, record};
      try {
        record->thread = std::thread([start] { ThreadEntry(start); });
      } catch (const std::system_error&) {
        delete start;  // the refused thread never frees it
        handle = 0;
      }
      if (handle != 0) {
        layer.handles.emplace(handle, record);
        layer.live.push_back(record);
        threadId = record->id;
      }
    }
  }
  JoinAll(ended);
  return handle;
}

uint32_t ThreadEntry(void* startRecord) {
  // The thread's own floating-point set-up: a new thread inherits whatever
  // control word its creator had, which a library may have changed.
  SetFpuControlWord(kFpuControlMasked);
  ClearFpuExceptions();

  std::unique_ptr<TThreadStart> start(static_cast<TThreadStart*>(startRecord));
  const TThreadProc proc = start->proc;
  void* const parameter = start->parameter;
  std::shared_ptr<TThreadRecord> record = std::move(start->record);
  start.reset();

  tCurrent = record.get();
  uint32_t exitCode = 0;
  try {
    ThreadSafePoint();  // created suspended, or stopped before it ran
    exitCode = static_cast<uint32_t>(proc(parameter));
  } catch (const TThreadStopped&) {
  } catch (...) {
    ReportAndEnd(std::current_exception(), reinterpret_cast<const void*>(proc));
  }
  tCurrent = nullptr;

  TThreadLayer& layer = Layer();
  {
    std::lock_guard lock(layer.mutex);
    record->ended = true;
  }
  layer.changed.notify_all();
  return exitCode;
}

int32_t SuspendThread(TThreadHandle handle) {
  TThreadLayer& layer = Layer();
  std::lock_guard lock(layer.mutex);
  auto record = FindRunningLocked(layer, handle);
  if (!record || record->suspendCount >= kMaxSuspendCount) return kThreadCallFailed;
  return record->suspendCount++;
}

int32_t ResumeThread(TThreadHandle handle) {
  TThreadLayer& layer = Layer();
  int32_t previous;
  {
    std::lock_guard lock(layer.mutex);
    auto record = FindRunningLocked(layer, handle);
    if (!record) return kThreadCallFailed;
    previous = record->suspendCount;
    if (previous == 0) return 0;
    --record->suspendCount;
    if (previous == 1) record->wake.notify_one();
  }
  return previous;
}

bool CloseThreadHandle(TThreadHandle handle) {
  TThreadLayer& layer = Layer();
  std::lock_guard lock(layer.mutex);
  return layer.handles.erase(handle) != 0;
}

bool ThreadRunning(TThreadHandle handle) {
  TThreadLayer& layer = Layer();
  std::lock_guard lock(layer.mutex);
  return FindRunningLocked(layer, handle) != nullptr;
}

void ThreadSafePoint() {
  TThreadRecord* self = tCurrent;
  if (self == nullptr) return;
  TThreadLayer& layer = Layer();
  std::unique_lock lock(layer.mutex);
  WaitWhileSuspendedLocked(layer, lock, *self);
}

void ThreadSleep(std::chrono::milliseconds duration) {
  TThreadRecord* self = tCurrent;
  if (self == nullptr) {
    std::this_thread::sleep_for(duration);
    return;
  }
  TThreadLayer& layer = Layer();
  const auto deadline = std::chrono::steady_clock::now() + duration;
  std::unique_lock lock(layer.mutex);
  self->wake.wait_until(lock, deadline, [&] { return self->stopRequested; });
  WaitWhileSuspendedLocked(layer, lock, *self);
}

void TThreadSignal::Set() {
  TThreadLayer& layer = Layer();
  {
    std::lock_guard lock(layer.mutex);
    set_ = true;
    auto [from, to] = layer.signalWaiters.equal_range(this);
    for (auto it = from; it != to; ++it) it->second->wake.notify_one();
  }
  layer.changed.notify_all();
}

bool TThreadSignal::IsSet() const {
  TThreadLayer& layer = Layer();
  std::lock_guard lock(layer.mutex);
  return set_;
}

void TThreadSignal::Wait() {
  TThreadLayer& layer = Layer();
  TThreadRecord* self = tCurrent;
  std::unique_lock lock(layer.mutex);
  if (self == nullptr) {
    layer.changed.wait(lock, [&] { return set_; });
    return;
  }
  auto waiting = layer.signalWaiters.emplace(this, self);
  self->wake.wait(lock, [&] { return set_ || self->stopRequested; });
  layer.signalWaiters.erase(waiting);
  WaitWhileSuspendedLocked(layer, lock, *self);
}

void RequestStopAllThreads() {
  TThreadLayer& layer = Layer();
  {
    std::lock_guard lock(layer.mutex);
    for (auto& record : layer.live) {
      record->stopRequested = true;
      record->wake.notify_one();
    }
  }
  layer.changed.notify_all();
}

bool JoinStoppedThreads(std::chrono::milliseconds timeout) {
  TThreadLayer& layer = Layer();
  std::vector<std::thread> ended;
  bool none;
  {
    std::unique_lock lock(layer.mutex);
    layer.changed.wait_for(lock, timeout, [&] {
      for (auto& record : layer.live)
        if (!record->ended) return false;
      return true;
    });
    ended = TakeEndedLocked(layer);
    none = layer.live.empty();
  }
  JoinAll(ended);
  return none;
}

int RunningThreadCount() {
  TThreadLayer& layer = Layer();
  std::lock_guard lock(layer.mutex);
  return static_cast<int>(std::count_if(layer.live.begin(), layer.live.end(),
                                        [](const auto& record) { return !record->ended; }));
}

void SetThreadExceptionDisplay(TThreadExceptionDisplay display) { gDisplay.store(display); }

std::string ThreadExceptionReportText(std::exception_ptr error, const void* address) {
  std::string className, message;
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    className = ClassNameOfCurrentException();
    message = e.Message();
  } catch (const std::exception& e) {
    className = ClassNameOfCurrentException();
    message = e.what();
  } catch (...) {
    className = ClassNameOfCurrentException();
  }
  char where[2 * sizeof(void*) + 1];
  std::snprintf(where, sizeof where, "%0*llX", static_cast<int>(2 * sizeof(void*)),
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(address)));
  const bool dot = !message.empty() && message.back() != '.';
  return "Exception " + className + " in module " + ModuleFileName() + " at " + where + ".\r\n" +
         message + (dot ? "." : "") + "\r\n";
}

}  // namespace nitko
