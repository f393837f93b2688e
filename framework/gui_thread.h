#pragma once

#include <cstddef>
#include <exception>
#include <functional>

#include "runtime/exception.h"

namespace nitko {

// Hands work from any thread to the GUI thread, the only one that may touch
// controls, series and surfaces.
//
// One FIFO queue: calls run on the GUI thread in the order they were posted,
// whichever thread posted them. The GUI thread is woken through an eventfd
// that a socket notifier watches, so the queue needs no Qt cross-thread call.
//
// Shut-down: once ShutdownGuiThread has started, posts are dropped, queued
// calls are discarded without running, and every SendToGuiThread that is
// waiting for its call, or called later, throws EGuiThreadGone, so a worker
// unwinds instead of hanging on a loop that has ended. A call already running
// on the GUI thread finishes first, and its sender then returns normally.

// Thrown by SendToGuiThread once the GUI thread has stopped taking calls.
class EGuiThreadGone : public EAbort {
 public:
  using EAbort::EAbort;
};

// Called once on the GUI thread after the application object exists; that
// thread becomes the GUI thread. Calls posted before it wait in the queue.
// May be called again after ShutdownGuiThread.
void InitGuiThread();
// On the GUI thread after its message loop has ended, before the workers are
// joined. Does nothing when not running.
void ShutdownGuiThread();

bool IsGuiThread();

// From any thread; the call runs later on the GUI thread, also when posted
// from the GUI thread itself.
void PostToGuiThread(std::function<void()> call);

// Posts the call and waits until it has run; an exception it throws is
// rethrown here. On the GUI thread the call runs at once.
void SendToGuiThread(std::function<void()> call);

// GUI thread only: runs the queued calls now, including those posted while
// they run. Safe to call from inside a call (modal loops do); order stays
// FIFO across the nesting.
void ProcessPostedCalls();

// Calls queued and not yet started.
std::size_t PendingPostedCalls();

// Receives, on the GUI thread, what a posted call threw (a sent call's
// exception goes back to its sender instead). An empty handler restores the
// default, which prints the message to stderr and ignores EAbort.
void SetPostedCallExceptionHandler(std::function<void(std::exception_ptr)> handler);

}  // namespace nitko
