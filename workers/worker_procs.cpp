#include "workers/worker_procs.h"

#include <atomic>
#include <memory>
#include <utility>

#include "chart/chart_series.h"
#include "controls/gauge.h"
#include "core/number_text.h"
#include "core/plotted_function.h"
#include "framework/colors.h"
#include "framework/gui_thread.h"
#include "framework/memo.h"
#include "framework/progress_bar.h"
#include "runtime/threads.h"
#include "runtime/tick_count.h"
#include "workers/progress_percent.h"
#include "workers/worker_view.h"

namespace nitko {

namespace {

// position = step + position, summed in extended precision. A compare-and-swap,
// because a second thread of the same worker and a start's reset move it too:
// every pass moves it by exactly one step from what it then holds.
void Advance(std::atomic<double>& position, double step) {
  double old = position.load();
  while (!position.compare_exchange_weak(old, static_cast<double>(static_cast<Extended>(step) + old))) {
  }
}

void PostPoint(TChartSeries& series, double x, double y) {
  PostToGuiThread([&series, x, y] { series.AddPoint(x, y, "", clDefault); });
}

// p + 1 as the 32-bit sum it is, wrapping instead of overflowing.
int32_t Succ(int32_t p) { return static_cast<int32_t>(static_cast<uint32_t>(p) + 1u); }

}  // namespace

std::string Worker1Line(double x, double y) {
  return "  f(" + FormatNumber(x) + ") = " + FormatNumber(y);
}

std::string Worker2Message(int32_t elapsedMs) {
  return " Czas trwania watku 2 wg. czasu systemowego [msek] = " + FormatNumber(elapsedMs);
}

int32_t Worker1Proc(void* parameter) {
  TWorkerView& view = *static_cast<TWorkerView*>(parameter);
  RunState& s = view.state;
  for (int32_t i = 0; i <= RunState::N; ++i) {
    ThreadSafePoint();
    const double x = s.x1.load();
    const double y = static_cast<double>(f(x, s.p.load()));
    PostPoint(view.series1, x, y);
    const int32_t percent = ProgressPercent(x, s.a, s.b);
    PostToGuiThread([&gauge = view.gauge, percent] { gauge.SetProgress(percent); });
    PostToGuiThread([&memo = view.memo, line = Worker1Line(x, y)] { memo.Lines().Add(line); });
    Advance(s.x1, s.step);
    ThreadSleep(view.pause);
  }
  return 0;
}

int32_t Worker2Proc(void* parameter) {
  TWorkerView& view = *static_cast<TWorkerView*>(parameter);
  RunState& s = view.state;
  const uint32_t t0 = GetTickCount();
  for (int32_t i = 0; i <= RunState::N; ++i) {
    ThreadSafePoint();
    const double x2 = s.x2.load();
    const double x = static_cast<double>(static_cast<Extended>(s.b) - x2);
    const double y = static_cast<double>(f(x, Succ(s.p.load())));
    PostPoint(view.series2, x, y);
    const int32_t percent = ProgressPercent(x2, s.a, s.b);
    PostToGuiThread([&bar = view.progressBar, percent] { bar.SetPosition(percent); });
    Advance(s.x2, s.step);
    ThreadSleep(view.pause);
    if (i == RunState::N) {
      const auto elapsed = static_cast<int32_t>(GetTickCount() - t0);
      // Modal for this worker only: it waits here, the window stays usable.
      auto closed = std::make_shared<TThreadSignal>();
      PostToGuiThread([&messages = view.messages, text = Worker2Message(elapsed), closed] {
        messages.Show(text, closed);
      });
      closed->Wait();
    }
  }
  return 0;
}

}  // namespace nitko
