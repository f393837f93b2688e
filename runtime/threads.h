#pragma once

#include <chrono>
#include <cstdint>
#include <exception>
#include <string>

namespace nitko {

// The program's threads. A thread is named by a handle: a small positive
// integer owned by this layer, never reused, never an address; 0 names none.
//
// Suspension is cooperative: SuspendThread only counts, and the thread stops
// at its next safe point (ThreadSafePoint, ThreadSleep, TThreadSignal::Wait),
// where it holds no lock that another thread needs. A stop request (for the
// program's shut-down) makes the next safe point, or the one the thread is
// waiting in, unwind the thread's procedure silently.

using TThreadHandle = int32_t;
using TThreadProc = int32_t (*)(void* parameter);

inline constexpr uint32_t kCreateSuspended = 0x4;
inline constexpr int32_t kMaxSuspendCount = 127;
// What SuspendThread and ResumeThread return when they change nothing.
inline constexpr int32_t kThreadCallFailed = -1;

// Starts proc(parameter) on a new thread through ThreadEntry and returns its
// handle, or 0 when the system refuses a thread. securityAttributes and
// stackSize are accepted for the callers' sake; threads get the default stack.
// kCreateSuspended starts the thread with a suspend count of 1.
TThreadHandle StartThread(void* securityAttributes, uint32_t stackSize, TThreadProc proc,
                          void* parameter, uint32_t creationFlags, uint32_t& threadId);

// The start routine of every thread made by StartThread; record is the start
// record, which it frees. Sets up the x87 unit (64-bit precision, round to
// nearest, exceptions masked), waits while created suspended, runs the
// procedure and returns its result as the exit code. A stop request ends it
// quietly; any other exception goes to the thread exception report and the
// process ends with exit code 1.
uint32_t ThreadEntry(void* record);

// Add or take one from the thread's suspend count (0..127) and return the
// count before the call; kThreadCallFailed, with no effect, for a handle of
// 0, unknown, released or of a thread that has ended, and for a suspension
// past 127. Resuming a count of 0 returns 0 and does nothing.
int32_t SuspendThread(TThreadHandle handle);
int32_t ResumeThread(TThreadHandle handle);

// Forgets the handle; the thread itself runs on. False for an unknown handle.
bool CloseThreadHandle(TThreadHandle handle);

// Whether the handle names a thread whose procedure has not returned yet.
bool ThreadRunning(TThreadHandle handle);

// Safe points, called on a thread made by StartThread (elsewhere they only
// sleep or return). ThreadSafePoint waits while the thread is suspended.
// ThreadSleep pauses, then waits while suspended; a stop request wakes both.
void ThreadSafePoint();
void ThreadSleep(std::chrono::milliseconds duration);

// A one-shot signal another thread sets; its Wait is a safe point.
class TThreadSignal {
 public:
  void Set();
  bool IsSet() const;
  // Returns once set, then waits while the thread is suspended.
  void Wait();

 private:
  bool set_ = false;  // guarded by the thread layer's lock
};

// Shut-down: every thread is asked to stop at its next safe point; sleeping,
// waiting and suspended ones are woken.
void RequestStopAllThreads();
// Joins the threads that have ended, waiting up to timeout for the rest;
// true when no thread is left.
bool JoinStoppedThreads(std::chrono::milliseconds timeout);
// Threads whose procedure has not returned yet.
int RunningThreadCount();

// What an exception escaping a thread's procedure turns into: the text of the
// generic report ("Exception <class> in module <file> at <address>.\r\n
// <message>[.]\r\n"), shown by the installed display, after which the process
// ends with exit code 1. The display runs on the failing thread; the default
// writes the text to stderr.
using TThreadExceptionDisplay = void (*)(const std::string& text);
void SetThreadExceptionDisplay(TThreadExceptionDisplay display);
std::string ThreadExceptionReportText(std::exception_ptr error, const void* address);

}  // namespace nitko
