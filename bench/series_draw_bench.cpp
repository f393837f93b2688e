// A frame of a chart holding one long series: collapsed line and culled
// markers against drawing every point.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "chart/chart.h"
#include "chart/chart_legend.h"
#include "chart/fast_line_series.h"
#include "chart/point_series.h"
#include "chart/tee_canvas.h"
#include "framework/canvas.h"
#include "framework/surface.h"

using namespace nitko;

namespace {

struct PointByPointLine : TFastLineSeries {
  using TFastLineSeries::TFastLineSeries;
  void DrawAllPoints() override {
    ParentChart()->Canvas().ApplyChartPen(LinePen());
    TChartSeries::DrawAllPoints();
  }
};
struct PointByPointMarkers : TPointSeries {
  using TPointSeries::TPointSeries;
  void DrawAllPoints() override { TChartSeries::DrawAllPoints(); }
};

template <class S>
void Frame(benchmark::State& state) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 753, 321);
  chart.SetView3D(false);
  chart.Legend().SetVisible(false);
  auto series = std::make_unique<S>(nullptr);
  series->SetParentChart(&chart);
  if constexpr (std::is_base_of_v<TPointSeries, S>) {
    series->SetColorEachPoint(true);
    series->Pointer().SetHorizSize(1);
    series->Pointer().SetVertSize(7);
  }
  std::mt19937 rng(1);
  std::normal_distribution<double> noise(0, 1);
  const int n = static_cast<int>(state.range(0));
  for (int i = 0; i < n; ++i) series->AddPoint(i, noise(rng), "", clDefault);
  TSurface surface(753, 321);
  TCanvas canvas(&surface);
  for (auto _ : state) chart.DrawChart(&canvas, {0, 0, 753, 321});
  state.counters["points"] = n;
}

}  // namespace

BENCHMARK(Frame<TFastLineSeries>)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Frame<PointByPointLine>)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Frame<TPointSeries>)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Frame<PointByPointMarkers>)->Arg(100000)->Unit(benchmark::kMillisecond);
