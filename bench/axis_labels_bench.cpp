// One axis about 700 pixels long: label enumeration (the step from the
// extreme labels' sizes, the default label values and their texts; label
// widths measured once beforehand with the real font), and the whole axis
// drawn onto a 753 x 321 chart.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "chart/axis_drawing.h"
#include "chart/axis_label_step.h"
#include "chart/chart_axis.h"
#include "chart/custom_axis_panel.h"
#include "chart/tee_canvas.h"
#include "framework/bitmap.h"
#include "runtime/date_time.h"

using namespace nitko;

namespace {

constexpr int kAxisPixels = 700;

struct AxisCase {
  LabelStepInput step;
  LabelRange range;
  LabelFormat format;
  bool exactDateTime = false;
};

int LabelWidth(double v, const LabelFormat& format) {
  TBitmap measure(1, 1);
  return measure.Canvas().TextWidth(FormatLabel(v, format));
}

void Enumerate(benchmark::State& state, AxisCase axis) {
  const int sizeMin = LabelWidth(axis.range.rangeMin, axis.format);
  const int sizeMax = LabelWidth(axis.range.rangeMax, axis.format);
  std::size_t labels = 0;
  for (auto _ : state) {
    LabelRange range = axis.range;
    range.step = LabelStep(sizeMin, sizeMax, axis.step);
    range.tableIndex = LabelTableIndex(axis.format.isDateTime, axis.exactDateTime,
                                       axis.step.increment, range.step);
    const std::vector<double> values = DefaultLabelValues(range);
    for (double v : values) {
      std::string text = FormatLabel(v, axis.format);
      benchmark::DoNotOptimize(text.data());
    }
    labels = values.size();
  }
  state.counters["labels"] = static_cast<double>(labels);
  state.SetItemsProcessed(state.iterations() * static_cast<long>(labels));
}

void BM_NumericLabels(benchmark::State& state) {
  AxisCase axis;
  axis.step.rangeSpan = 10;
  axis.step.pixelLength = kAxisPixels;
  axis.range.rangeMin = 0;
  axis.range.rangeMax = 10;
  Enumerate(state, axis);
}

// One year stepped by calendar months.
void BM_DateTimeLabels(benchmark::State& state) {
  const double first = EncodeDate(2026, 1, 1);
  const double last = EncodeDate(2026, 12, 31);
  AxisCase axis;
  axis.step.rangeSpan = last - first;
  axis.step.increment = 30;
  axis.step.pixelLength = kAxisPixels;
  axis.step.isDateTime = true;
  axis.range.rangeMin = first;
  axis.range.rangeMax = last;
  axis.format.isDateTime = true;
  axis.format.rangeSpan = last - first;
  axis.exactDateTime = true;
  Enumerate(state, axis);
}

// Title, labels, line, ticks and grid of a 0..10 bottom axis, drawn into the
// canvas's buffer as a chart frame would.
void BM_DrawBottomAxis(benchmark::State& state) {
  constexpr int kWidth = 753;
  constexpr int kHeight = 321;
  TBitmap window(kWidth, kHeight);
  TTeeCanvas3D canvas;
  canvas.BeginFrame(&window.Canvas(), nullptr, {0, 0, kWidth, kHeight}, false);
  TCustomAxisPanel chart(nullptr);
  TChartAxis& axis = chart.BottomAxis();
  axis.SetAutomatic(false);
  axis.SetRange(0, 10);
  // No series here to make automatic labels show values.
  axis.SetLabelStyle(TAxisLabelStyle::talValue);
  axis.Title().SetCaption("Time");
  // Room left and right as a vertical axis and the last label would take.
  TRect plot{40, 10, 40 + kAxisPixels, kHeight};
  ReserveSpace(axis, canvas, plot, true);
  chart.SetPlotRect(plot);
  axis.RecomputeRange();
  axis.PlacePixels();
  for (auto _ : state) DrawAxis(axis, canvas, true);
  canvas.EndFrame(&window.Canvas(), &window.Canvas(), {0, 0, kWidth, kHeight});
  state.counters["axis_pixels"] = axis.PixelLength();
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_NumericLabels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DateTimeLabels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawBottomAxis)->Unit(benchmark::kMicrosecond);
