// What one line of worker 1's memo costs, and what a run costs beside it.
// - MemoLines: a memo like the main window's (273 x 145, vertical scroll bar,
//   shown) gets worker 1's lines, "  f(x) = y", one at a time with the events
//   run after each, as the GUI thread lands them.
// - WindowRuns/1: the program's window, worker 1 started again as soon as its
//   thread ends (the pause shortened to 1 ms): the memo's cost per line in
//   place, with whatever a run costs besides.
// - WindowRuns/2: the same with worker 2 (no memo lines), its message closed:
//   what a run costs without the memo, which should be nothing.
// Counters: resident and heap bytes per line (per run for worker 2), taken
// after a warm-up so that start-up costs stay out. bench/soak.sh subtracts
// lines × WindowRuns/1's bytes_per_line_rss from the program's growth.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QCoreApplication>
#include <chrono>
#include <string>
#include <thread>

#include "app/formularz.h"
#include "bench/resident_memory.h"
#include "core/number_text.h"
#include "core/plotted_function.h"
#include "core/run_state.h"
#include "framework/button.h"
#include "framework/gui_thread.h"
#include "framework/memo.h"
#include "framework/scroll_style.h"
#include "runtime/threads.h"
#include "workers/worker_messages.h"
#include "workers/worker_view.h"

using namespace nitko;
using nitko::bench::ResidentKib;

namespace {

size_t HeapBytes() {
  return mallinfo2().uordblks;
}

void AppendRuns(TMemo& memo, int lines) {
  for (int i = 0; i < lines; ++i) {
    const double x = (i % 101) * 0.1;
    const double y = static_cast<double>(f(x, 0));
    memo.Lines().Add("  f(" + FormatNumber(x) + ") = " + FormatNumber(y));
    QCoreApplication::processEvents();
  }
}

void BM_MemoLines(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  double rssPerLine = 0, heapPerLine = 0;
  for (auto _ : state) {
    TMemo memo(nullptr);
    memo.SetBounds(0, 0, 273, 145);
    memo.SetScrollBars(TScrollStyle::ssVertical);
    memo.Lines().Add("Wyniki obliczeń x, f(x)");
    memo.Show();
    AppendRuns(memo, 1000);
    const long rss0 = (ResidentKib() * 1024);
    const size_t heap0 = HeapBytes();
    AppendRuns(memo, lines);
    rssPerLine = static_cast<double>((ResidentKib() * 1024) - rss0) / lines;
    heapPerLine = (static_cast<double>(HeapBytes()) - static_cast<double>(heap0)) / lines;
    if (memo.Lines().Count() != lines + 1001) state.SkipWithError("lines lost");
  }
  state.counters["bytes_per_line_rss"] = rssPerLine;
  state.counters["bytes_per_line_heap"] = heapPerLine;
  state.SetItemsProcessed(state.iterations() * lines);
}

// One run of the worker to its end: its thread gone, worker 2's message
// closed, everything it handed over landed.
void RunOnce(int worker) {
  TBitBtn* button = worker == 1 ? Formularz->BitBtn3 : Formularz->BitBtn6;
  const std::atomic<int32_t>& thread = worker == 1 ? TheRunState().thread1 : TheRunState().thread2;
  button->Click();
  TWorkerView& view = Formularz->Workers();
  while (ThreadRunning(thread.load()) || PendingPostedCalls() > 0) {
    if (!view.messages.Open().empty()) view.messages.CloseAll();
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  QCoreApplication::processEvents();
  // What an event loop frees on its way round; processEvents alone leaves it.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_WindowRuns(benchmark::State& state) {
  const int worker = static_cast<int>(state.range(0)), runs = 100;
  RegisterFormularzClasses();
  InitGuiThread();
  SetFormularzWorkerPause(std::chrono::milliseconds(1));
  double rssPer = 0, heapPer = 0;
  for (auto _ : state) {
    Formularz = new TFormularz(nullptr);
    Formularz->Show();
    for (int i = 0; i < 10; ++i) RunOnce(worker);
    const int lines0 = Formularz->Memo1->Lines().Count();
    const long rss0 = (ResidentKib() * 1024);
    const size_t heap0 = HeapBytes();
    for (int i = 0; i < runs; ++i) RunOnce(worker);
    const int per = worker == 1 ? Formularz->Memo1->Lines().Count() - lines0 : runs;
    if (per != (worker == 1 ? 101 * runs : runs)) state.SkipWithError("lines lost");
    rssPer = static_cast<double>((ResidentKib() * 1024) - rss0) / per;
    heapPer = (static_cast<double>(HeapBytes()) - static_cast<double>(heap0)) / per;
    delete Formularz;
  }
  ShutdownGuiThread();
  state.counters[worker == 1 ? "bytes_per_line_rss" : "bytes_per_run_rss"] = rssPer;
  state.counters[worker == 1 ? "bytes_per_line_heap" : "bytes_per_run_heap"] = heapPer;
}

}  // namespace

// 20,200 lines: a little more than half an hour of worker 1 restarted at once.
BENCHMARK(BM_MemoLines)->Arg(20200)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowRuns)
    ->ArgName("worker")
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
