// AddPoint appending (rising x) and inserting at index 0 (falling x).
#include <benchmark/benchmark.h>

#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"
#include "framework/colors.h"

using namespace nitko;

namespace {

void Fill(benchmark::State& state, bool rising) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TCustomAxisPanel chart(nullptr);
    auto* series = new TChartSeries(&chart);
    chart.AddSeries(series);
    for (int i = 0; i < n; ++i) series->AddPoint(rising ? i : n - i, i * 0.5, "", clDefault);
    benchmark::DoNotOptimize(series->PointCount());
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_AddPointRising(benchmark::State& state) { Fill(state, true); }
void BM_AddPointFalling(benchmark::State& state) { Fill(state, false); }

}  // namespace

BENCHMARK(BM_AddPointRising)->Arg(101)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddPointFalling)->Arg(101)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
