#include "chart/axis_drawing.h"

#include <algorithm>
#include <cmath>

#include "chart/axis_label_step.h"
#include "chart/axis_ticks.h"
#include "chart/chart_rounding.h"
#include "chart/custom_axis_panel.h"
#include "chart/tee_canvas.h"
#include "framework/colors.h"

namespace nitko {

namespace {

// +1 when outward is toward larger coordinates (bottom, right), else -1.
int Outward(const TCustomChartAxis& axis) {
  return axis.IsHorizontal() == axis.OnFarSide() ? -1 : 1;
}

int EdgeOf(const TCustomChartAxis& axis, const TRect& r) {
  if (axis.IsHorizontal()) return axis.OnFarSide() ? r.Top : r.Bottom;
  return axis.OnFarSide() ? r.Right : r.Left;
}

int PositionShift(const TCustomChartAxis& axis, const TRect& r) {
  const double p = axis.PositionPercent();
  if (p == 0) return 0;
  int s = RoundEven(p * 0.01 * (axis.IsHorizontal() ? r.Height() : r.Width()));
  if (axis.OnFarSide()) s = -s;
  return axis.IsHorizontal() ? -s : s;
}

bool RunsAlong(bool horizontal, int angle) {
  const bool upright = angle == 0 || angle == 180;
  return horizontal ? upright : (angle == 90 || angle == 270);
}

int DepthOf(const TCustomChartAxis& axis) {
  return axis.OnFarSide() ? axis.ParentChart()->Width3D() : 0;
}

// The wall beside a near-side axis moves its line and ticks outward.
int WallOf(const TCustomChartAxis& axis) {
  return axis.OnFarSide() ? 0 : axis.ParentChart()->AxisWallSize(axis);
}

// A line across the axis at pixel p: d is 1 outward, -1 inward.
void DrawTick(const TCustomChartAxis& axis, TCanvas3D& canvas, int p, int d, int length) {
  const int a = axis.AxisLinePos;
  const int w = WallOf(axis);
  const int z = DepthOf(axis);
  if (axis.IsHorizontal()) {
    if (axis.OnFarSide())
      canvas.VerticalLineZ(p, a - d, a - d - length, z);
    else
      canvas.VerticalLineZ(p, a + w + d, a + w + d + length, z);
  } else {
    if (axis.OnFarSide())
      canvas.HorizontalLineZ(a + d, a + d + length, p, z);
    else
      canvas.HorizontalLineZ(a - w - d, a - w - d - length, p, z);
  }
}

void DrawTicks(const TCustomChartAxis& axis, TCanvas3D& canvas, const std::vector<int>& at,
               const TChartPen& pen, int d, int length) {
  if (!pen.Visible() || length == 0 || at.empty()) return;
  canvas.ApplyChartPen(pen);
  for (int p : at) DrawTick(axis, canvas, p, d, length);
}

void DrawGridLines(const TCustomChartAxis& axis, TCanvas3D& canvas, const std::vector<int>& at,
                   const TChartPen& pen) {
  if (!pen.Visible() || at.empty() || axis.ParentChart() == nullptr) return;
  canvas.ApplyChartPen(pen);
  if (pen.Color() == clDefault) canvas.Pen().SetColor(clGray);
  const TRect& r = axis.ParentChart()->PlotRect();
  // In 3D the grid lies on the back wall; flat charts have no depth.
  const int z = axis.ParentChart()->Width3D();
  canvas.SetBackgroundMode(TBackgroundMode::bmTransparent);
  for (int p : at) {
    if (axis.IsHorizontal())
      canvas.VerticalLineZ(p, r.Top, r.Bottom, z);
    else
      canvas.HorizontalLineZ(r.Left, r.Right, p, z);
  }
  canvas.SetBackgroundMode(TBackgroundMode::bmOpaque);
}

void DrawAxisLine(const TCustomChartAxis& axis, TCanvas3D& canvas) {
  if (!axis.Axis().Visible()) return;
  canvas.ApplyChartPen(axis.Axis());
  const TCustomAxisPanel& chart = *axis.ParentChart();
  const int a = axis.AxisLinePos;
  const int w = WallOf(axis);
  const int z = DepthOf(axis);
  if (axis.IsHorizontal()) {
    // The near line also runs under the left wall.
    const int from = axis.OnFarSide() ? axis.PixelStart()
                                      : axis.PixelStart() - chart.AxisWallSize(chart.LeftAxis());
    canvas.HorizontalLineZ(from, axis.PixelEnd(), a + w, z);
  } else {
    const int to = axis.OnFarSide() ? axis.PixelEnd()
                                    : axis.PixelEnd() + chart.AxisWallSize(chart.BottomAxis());
    canvas.VerticalLineZ(a - w, axis.PixelStart(), to, z);
  }
}

std::vector<int> MinorTicksOf(const TCustomChartAxis& axis, const std::vector<int>& ticks) {
  const int k = axis.MinorTickCount();
  if (!axis.Logarithmic()) return MinorTickPositions(ticks, k, axis.PixelStart(), axis.PixelEnd());
  return LogMinorTickPositions(
      ticks, k, axis.PixelStart(), axis.PixelEnd(), axis.LogarithmicBase(), axis.RangeMax(),
      [&](double v) { return axis.PixelOf(v); }, [&](int p) { return axis.ValueAtPixel(p); });
}

// The widest of the first and last label texts, plus a space; the chart is
// not asked to change texts while space is measured.
int WidestValueLabel(const TCustomChartAxis& axis, TTeeCanvas& canvas) {
  double lo = axis.RangeMin();
  double hi = axis.RangeMax();
  if ((axis.RangeIsDateTime() && axis.ExactDateTime()) || axis.RoundFirstLabel()) {
    const double step = AxisLabelStep(axis, canvas, false);
    if (step > 0) {
      lo = std::trunc(lo / step) * step;
      hi = std::trunc(hi / step) * step;
    }
  }
  return std::max(WidestLabelLine(canvas, AxisLabelText(axis, lo, false)),
                  WidestLabelLine(canvas, AxisLabelText(axis, hi, false))) +
         canvas.MeasureTextWidth(" ");
}

int LabelBand(const TCustomChartAxis& axis, TTeeCanvas& canvas) {
  if (axis.LabelsSize() != 0) return axis.LabelsSize();
  if (RunsAlong(axis.IsHorizontal(), axis.LabelsAngle())) return canvas.LineHeight();
  const TAxisLabelStyle style = EffectiveLabelStyle(axis);
  if (style == TAxisLabelStyle::talValue) return WidestValueLabel(axis, canvas);
  if (style == TAxisLabelStyle::talNone) return 0;
  return WidestPointLabel(axis, canvas, style);
}

int TitleBand(const TCustomChartAxis& axis, TTeeCanvas& canvas) {
  if (axis.TitleSize() != 0) return axis.TitleSize();
  canvas.Font().Assign(axis.Title().Font());
  const int band = RunsAlong(axis.IsHorizontal(), axis.Title().Angle())
                       ? canvas.LineHeight()
                       : WidestLabelLine(canvas, axis.Title().Caption());
  canvas.Font().Assign(axis.LabelsFont());
  return band;
}

int TickBand(const TCustomChartAxis& axis) {
  int band = 0;
  if (axis.Axis().Visible()) band += axis.Axis().Width();
  if (axis.Ticks().Visible()) band += axis.TickLength();
  if (axis.MinorTicks().Visible()) band = std::max(band, axis.MinorTickLength());
  return band;
}

}  // namespace

void DrawAxis(TCustomChartAxis& axis, TCanvas3D& canvas, bool calcLinePos) {
  // Nothing to place the axis against without its chart.
  if (axis.ParentChart() == nullptr) return;
  axis.RefreshRangeIsDateTime();
  canvas.Font().Assign(axis.LabelsFont());
  if (calcLinePos) {
    const TRect& r = axis.ParentChart()->PlotRect();
    axis.AxisLinePos = EdgeOf(axis, r) + PositionShift(axis, r);
  }
  if (!axis.Title().Caption().empty()) {
    PrepareAxisText(axis, canvas, axis.Title().Font());
    if (axis.IsHorizontal())
      DrawAxisText(axis, canvas, axis.PixelCenter(), axis.TitlePos, axis.Title().Caption(),
                   axis.Title().Angle());
    else
      DrawAxisText(axis, canvas, axis.TitlePos, axis.PixelCenter(), axis.Title().Caption(),
                   axis.Title().Angle());
    canvas.Font().Assign(axis.LabelsFont());
  }
  const std::vector<int> ticks = EnumerateLabels(axis, canvas, true);

  DrawAxisLine(axis, canvas);
  DrawTicks(axis, canvas, ticks, axis.Ticks(), 1, axis.TickLength());
  DrawGridLines(axis, canvas, GridPositions(ticks, axis.GridCentered()), axis.Grid());
  DrawTicks(axis, canvas, ticks, axis.TicksInner(), -1, -axis.TickInnerLength());
  const bool minorWanted = axis.MinorTicks().Visible() || axis.MinorGrid().Visible();
  const std::vector<int> minor = minorWanted ? MinorTicksOf(axis, ticks) : std::vector<int>{};
  DrawTicks(axis, canvas, minor, axis.MinorTicks(), 1, axis.MinorTickLength());
  DrawGridLines(axis, canvas, minor, axis.MinorGrid());
}

void ReserveSpace(TCustomChartAxis& axis, TTeeCanvas& canvas, TRect& rect, bool shrink) {
  axis.RefreshRangeIsDateTime();
  canvas.Font().Assign(axis.LabelsFont());
  const int out = Outward(axis);
  const int tickBand = TickBand(axis);
  if (!shrink) {
    axis.AxisLinePos = EdgeOf(axis, rect) + PositionShift(axis, rect);
    axis.LabelsPos = axis.AxisLinePos + out * tickBand;
    axis.TitlePos = axis.LabelsPos + out * LabelBand(axis, canvas);
    return;
  }
  // Moves the rect's edge on the axis' side inward by amount.
  const auto take = [&](int amount) {
    if (axis.IsHorizontal())
      (axis.OnFarSide() ? rect.Top : rect.Bottom) -= out * amount;
    else
      (axis.OnFarSide() ? rect.Right : rect.Left) -= out * amount;
  };
  // Only positions set here are shifted: shifting a kept one again on every
  // layout would walk it off the chart.
  const bool titled = !axis.Title().Caption().empty();
  if (titled) {
    take(TitleBand(axis, canvas));
    axis.TitlePos = EdgeOf(axis, rect);
  }
  if (axis.Labels()) {
    take(LabelBand(axis, canvas));
    axis.LabelsPos = EdgeOf(axis, rect);
  }
  const int wall = axis.ParentChart() != nullptr ? axis.ParentChart()->AxisWallSize(axis) : 0;
  if (tickBand + wall > 0) take(tickBand + wall);
  const int shift = PositionShift(axis, rect);
  if (titled) axis.TitlePos += shift;
  if (axis.Labels()) axis.LabelsPos += shift;
}

}  // namespace nitko
