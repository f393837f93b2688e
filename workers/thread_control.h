#pragma once

#include <cstdint>

namespace nitko {

struct TWorkerView;

// What the main window's buttons do, on the GUI thread.
//
// A start resets the worker's position, clears its series, repaints the
// chart at once and runs the worker on a new thread, whose handle replaces
// (and releases) the previous one; an older thread of the same worker runs on
// beside it. Suspend and resume count on the most recent thread by the
// thread layer's rule; on a handle of 0 or an ended thread they do nothing.
void StartWorker1(TWorkerView& view);    // "Uruchom 1 watek"
void SuspendWorker1(TWorkerView& view);  // "Zatrzymaj watek 1"
void ResumeWorker1(TWorkerView& view);   // "Wznow watek 1"
void StartWorker2(TWorkerView& view);    // "Uruchom watek 2"
void SuspendWorker2(TWorkerView& view);  // "Zatrzymaj watek 2"
void ResumeWorker2(TWorkerView& view);   // "Wznow watek 2"
// The spin edit's change: the workers read p at their next pass.
void SetWorkerParameter(TWorkerView& view, int32_t value);

// When the main window closes, before its controls go: closes worker 2's
// open messages, stops every worker at its next safe point (suspended and
// sleeping ones too), joins them while running the calls they handed over,
// then lands what is still queued.
void ShutdownWorkers(TWorkerView& view);

}  // namespace nitko
