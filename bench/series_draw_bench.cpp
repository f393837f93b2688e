// A frame of a chart holding one long series: collapsed line and culled
// markers against drawing every point; and a frame of huge markers.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

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

// The program's 101 points as circles of a half size each; the process'
// peak memory so far is printed with it (this runs first).
void HugeCircles(benchmark::State& state) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 753, 321);
  chart.SetView3D(false);
  chart.Legend().SetVisible(false);
  TPointSeries series(nullptr);
  series.SetParentChart(&chart);
  series.Pointer().SetStyle(TSeriesPointerStyle::psCircle);
  series.Pointer().SetHorizSize(static_cast<int>(state.range(0)));
  series.Pointer().SetVertSize(static_cast<int>(state.range(0)));
  for (int i = 0; i <= 100; ++i) series.AddPoint(i * 0.1, i % 7, "", clDefault);
  TSurface surface(753, 321);
  TCanvas canvas(&surface);
  for (auto _ : state) chart.DrawChart(&canvas, {0, 0, 753, 321});
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

}  // namespace

BENCHMARK(HugeCircles)->Arg(4)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(Frame<TFastLineSeries>)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Frame<PointByPointLine>)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Frame<TPointSeries>)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Frame<PointByPointMarkers>)->Arg(100000)->Unit(benchmark::kMillisecond);
