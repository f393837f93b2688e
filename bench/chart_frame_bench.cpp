// One frame of the program's chart, 753 x 321, set up as the main window's
// Chart1 is (title, white back wall, a fast line and a point series, no
// legend, flat), with the same number of points in each series:
//  - BM_ChartFrame: a repaint request and the paint that draws a new frame;
//  - BM_ChartFrameGrowing: frames with a point more each, as the workers
//    add them;
//  - BM_ChartFrameClean: a paint with nothing changed, which copies the
//    cached frame;
//  - BM_ChartFrameWithout: the 101-point frame less one part (series, axes,
//    title), so that the differences show what each part costs.
// scripts/bench_peers.sh sets these figures beside the peers' ones.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/chart_frame_data.h"
#include "chart/chart.h"
#include "chart/chart_axis.h"
#include "chart/fast_line_series.h"
#include "chart/point_series.h"
#include "chart/series_pointer.h"
#include "framework/colors.h"

using namespace nitko;
using namespace frame_bench;

namespace {

struct ProgramChart {
  std::unique_ptr<TChart> chart = std::make_unique<TChart>(nullptr);
  TFastLineSeries* line = new TFastLineSeries(chart.get());
  TPointSeries* points = new TPointSeries(chart.get());

  explicit ProgramChart(int n) {
    chart->SetBounds(8, 8, kFrameWidth, kFrameHeight);
    chart->BackWall().Brush().SetColor(clWhite);
    chart->Title().Text().SetText(kFrameTitle);
    chart->LeftAxis().SetExactDateTime(false);
    chart->LeftAxis().SetIncrement(0.1);
    chart->Legend().SetVisible(false);
    chart->SetView3D(false);

    line->SetParentChart(chart.get());
    line->SetSeriesColor(clRed);
    line->LinePen().SetColor(clGreen);
    points->SetParentChart(chart.get());
    points->SetColorEachPoint(true);
    points->SetSeriesColor(clGreen);
    points->Pointer().SetHorizSize(1);
    points->Pointer().SetVertSize(7);
    points->Pointer().SetStyle(TSeriesPointerStyle::psRectangle);
    points->Pointer().SetInflateMargins(true);
    points->Pointer().SetVisible(true);
    points->XValues().SetDateTime(true);

    const FrameData data = MakeFrameData(n);
    for (int i = 0; i < n; ++i) line->AddPoint(data.x[size_t(i)], data.line[size_t(i)], "", clDefault);
    // The second worker walks from the right end to the left one.
    for (int i = n - 1; i >= 0; --i)
      points->AddPoint(data.x[size_t(i)], data.points[size_t(i)], "", clDefault);
  }
};

void BM_ChartFrame(benchmark::State& state) {
  ProgramChart program(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    program.chart->RequestRepaint();
    program.chart->PaintControl();
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_ChartFrameClean(benchmark::State& state) {
  ProgramChart program(static_cast<int>(state.range(0)));
  program.chart->RequestRepaint();
  program.chart->PaintControl();
  for (auto _ : state) program.chart->PaintControl();
  state.SetItemsProcessed(state.iterations());
}

// Frames as the program draws them while both workers run: each frame has
// one more point in either series, the line growing from the left, the
// points from the right, so the axes and labels change now and then.
void BM_ChartFrameGrowing(benchmark::State& state) {
  ProgramChart program(0);
  const FrameData data = MakeFrameData(kFramePointCounts[0]);
  int next = 0;
  for (auto _ : state) {
    const int n = kFramePointCounts[0];
    const size_t i = static_cast<size_t>(next / 2);
    if (next % 2 == 0)
      program.line->AddPoint(data.x[i], data.line[i], "", clDefault);
    else
      program.points->AddPoint(data.x[size_t(n - 1) - i], data.points[size_t(n - 1) - i], "",
                               clDefault);
    if (++next == 2 * n) {
      next = 0;
      program.line->ClearPoints();
      program.points->ClearPoints();
    }
    program.chart->RequestRepaint();
    program.chart->PaintControl();
  }
  state.SetLabel(std::to_string(program.chart->Background().Reused()) +
                 " from the kept background");
  state.SetItemsProcessed(state.iterations());
}

enum Part { kNothing, kSeries, kAxes, kTitle, kAllThree };

void BM_ChartFrameWithout(benchmark::State& state) {
  ProgramChart program(kFramePointCounts[0]);
  const auto left = static_cast<Part>(state.range(0));
  static const char* const names[] = {"nothing", "series (their axes go too)", "axes", "title",
                                      "series, axes, title"};
  state.SetLabel(std::string("without ") + names[left]);
  if (left == kSeries || left == kAllThree) {
    program.line->SetActive(false);
    program.points->SetActive(false);
  }
  if (left == kAxes || left == kAllThree) program.chart->SetAxisVisible(false);
  if (left == kTitle || left == kAllThree) program.chart->Title().SetVisible(false);
  for (auto _ : state) {
    program.chart->RequestRepaint();
    program.chart->PaintControl();
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_ChartFrameWithout)->DenseRange(kNothing, kAllThree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChartFrame)
    ->Arg(kFramePointCounts[0])
    ->Arg(kFramePointCounts[1])
    ->Arg(kFramePointCounts[2])
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartFrameGrowing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartFrameClean)->Arg(kFramePointCounts[0])->Unit(benchmark::kMillisecond);
