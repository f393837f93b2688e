#pragma once

#include <chrono>

#include "core/run_state.h"
#include "workers/worker_messages.h"

namespace nitko {

class TCGauge;
class TChartSeries;
class TControl;
class TMemo;
class TProgressBar;

// What the workers and their buttons work on, built by the main window from
// its controls. The workers touch none of them: each update is handed to the
// GUI thread. The view must outlive every worker (ShutdownWorkers).
struct TWorkerView {
  RunState& state;
  TChartSeries& series1;  // worker 1's line
  TChartSeries& series2;  // worker 2's points
  TControl& chart;        // repainted at once by a start
  TCGauge& gauge;         // worker 1's progress
  TProgressBar& progressBar;  // worker 2's progress
  TMemo& memo;            // worker 1's result lines
  // The pause after each point. Fixed before the first start; only tests
  // shorten it.
  const std::chrono::milliseconds pause{100};
  TWorkerMessages messages{};  // worker 2's open messages; GUI thread only
};

}  // namespace nitko
