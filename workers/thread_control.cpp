#include "workers/thread_control.h"

#include <atomic>
#include <chrono>

#include "chart/chart_series.h"
#include "framework/control.h"
#include "framework/gui_thread.h"
#include "runtime/threads.h"
#include "workers/worker_procs.h"
#include "workers/worker_view.h"

namespace nitko {

namespace {

struct TWorkerSlot {
  std::atomic<double>& position;
  TChartSeries& series;
  std::atomic<int32_t>& handle;
  std::atomic<uint32_t>& threadId;
  TThreadProc proc;
};

TWorkerSlot Slot1(TWorkerView& v) {
  return {v.state.x1, v.series1, v.state.thread1, v.state.threadId1, &Worker1Proc};
}
TWorkerSlot Slot2(TWorkerView& v) {
  return {v.state.x2, v.series2, v.state.thread2, v.state.threadId2, &Worker2Proc};
}

void Start(TWorkerView& view, const TWorkerSlot& slot) {
  slot.position.store(+0.0);
  slot.series.ClearPoints();
  view.chart.Repaint();
  uint32_t id = 0;
  const TThreadHandle handle = StartThread(nullptr, 0, slot.proc, &view, 0, id);
  if (handle != 0) slot.threadId.store(id);
  CloseThreadHandle(slot.handle.exchange(handle));
}

}  // namespace

void StartWorker1(TWorkerView& view) { Start(view, Slot1(view)); }
void StartWorker2(TWorkerView& view) { Start(view, Slot2(view)); }
void SuspendWorker1(TWorkerView& view) { SuspendThread(view.state.thread1.load()); }
void SuspendWorker2(TWorkerView& view) { SuspendThread(view.state.thread2.load()); }
void ResumeWorker1(TWorkerView& view) { ResumeThread(view.state.thread1.load()); }
void ResumeWorker2(TWorkerView& view) { ResumeThread(view.state.thread2.load()); }

void SetWorkerParameter(TWorkerView& view, int32_t value) { view.state.p.store(value); }

void ShutdownWorkers(TWorkerView& view) {
  view.messages.CloseAll();
  RequestStopAllThreads();
  // A worker may be waiting on the GUI thread (its error report): keep
  // running the handed-over calls while the workers wind down.
  while (!JoinStoppedThreads(std::chrono::milliseconds(10))) {
    if (IsGuiThread()) ProcessPostedCalls();
    RequestStopAllThreads();  // also those a handed-over call started
  }
  if (IsGuiThread()) ProcessPostedCalls();
  view.messages.CloseAll();
  CloseThreadHandle(view.state.thread1.exchange(0));
  CloseThreadHandle(view.state.thread2.exchange(0));
}

}  // namespace nitko
