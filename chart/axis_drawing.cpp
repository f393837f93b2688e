#include "chart/axis_drawing.h"

#include <algorithm>
#include <cmath>

#include "chart/axis_label_step.h"
#include "chart/axis_ticks.h"
#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"
#include "chart/tee_canvas.h"
#include "framework/brush.h"
#include "framework/colors.h"

namespace nitko {

namespace {

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\r')
      lines.emplace_back();
    else
      lines.back().push_back(c);
  }
  return lines;
}

int WidestLine(TTeeCanvas& canvas, const std::string& text) {
  int w = 0;
  for (const std::string& line : SplitLines(text)) w = std::max(w, canvas.MeasureTextWidth(line));
  return w;
}

int LineCount(const std::string& text) {
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\r'));
}

LabelFormat FormatOf(const TCustomChartAxis& axis) {
  return {axis.DateTimeFromSeries(), axis.DateTimeFormat(), axis.RangeSpan(),
          axis.AxisValuesFormat(), axis.LabelsMultiLine()};
}

std::string LabelText(const TCustomChartAxis& axis, double v) {
  return FormatLabel(v, FormatOf(axis));
}

LabelStepInput StepInputOf(const TCustomChartAxis& axis) {
  return {axis.RangeSpan(), axis.Increment(), axis.LabelsSeparation(), axis.PixelLength(),
          axis.DateTimeFromSeries()};
}

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

void PrepareText(const TCustomChartAxis& axis, TTeeCanvas& canvas, const TFont& font) {
  canvas.Font().Assign(font);
  // A colour on a clear brush makes it solid, so the style comes last.
  canvas.Brush().SetColor(axis.ParentChart() ? axis.ParentChart()->Color() : clWhite);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
}

// A line across the axis at pixel p: d is 1 outward, -1 inward.
void DrawTick(const TCustomChartAxis& axis, TCanvas3D& canvas, int p, int d, int length) {
  const int a = axis.AxisLinePos;
  const bool far = axis.OnFarSide();
  if (axis.IsHorizontal()) {
    if (far)
      canvas.VerticalLineZ(p, a - d, a - d - length, 0);
    else
      canvas.VerticalLineZ(p, a + d, a + d + length, 0);
  } else {
    if (far)
      canvas.HorizontalLineZ(a + d, a + d + length, p, 0);
    else
      canvas.HorizontalLineZ(a - d, a - d - length, p, 0);
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
  canvas.SetBackgroundMode(TBackgroundMode::bmTransparent);
  for (int p : at) {
    if (axis.IsHorizontal())
      canvas.VerticalLineZ(p, r.Top, r.Bottom, 0);
    else
      canvas.HorizontalLineZ(r.Left, r.Right, p, 0);
  }
  canvas.SetBackgroundMode(TBackgroundMode::bmOpaque);
}

void DrawAxisLine(const TCustomChartAxis& axis, TCanvas3D& canvas) {
  if (!axis.Axis().Visible()) return;
  canvas.ApplyChartPen(axis.Axis());
  const int a = axis.AxisLinePos;
  if (axis.IsHorizontal())
    canvas.HorizontalLineZ(axis.PixelStart(), axis.PixelEnd(), a, 0);
  else
    canvas.VerticalLineZ(a, axis.PixelStart(), axis.PixelEnd(), 0);
}

std::vector<int> MinorTicksOf(const TCustomChartAxis& axis, const std::vector<int>& ticks) {
  const int k = axis.MinorTickCount();
  if (!axis.Logarithmic())
    return MinorTickPositions(ticks, k, axis.PixelStart(), axis.PixelEnd());
  return LogMinorTickPositions(
      ticks, k, axis.PixelStart(), axis.PixelEnd(), axis.LogarithmicBase(), axis.RangeMax(),
      [&](double v) { return axis.PixelOf(v); }, [&](int p) { return axis.ValueAtPixel(p); });
}

// The widest of the first and last label texts, plus a space.
int WidestValueLabel(const TCustomChartAxis& axis, TTeeCanvas& canvas) {
  double lo = axis.RangeMin();
  double hi = axis.RangeMax();
  if ((axis.DateTimeFromSeries() && axis.ExactDateTime()) || axis.RoundFirstLabel()) {
    const double step = AxisLabelStep(axis, canvas);
    if (step > 0) {
      lo = std::trunc(lo / step) * step;
      hi = std::trunc(hi / step) * step;
    }
  }
  return std::max(WidestLine(canvas, LabelText(axis, lo)), WidestLine(canvas, LabelText(axis, hi))) +
         canvas.MeasureTextWidth(" ");
}

int LabelBand(const TCustomChartAxis& axis, TTeeCanvas& canvas) {
  if (axis.LabelsSize() != 0) return axis.LabelsSize();
  if (EffectiveLabelStyle(axis) != TAxisLabelStyle::talValue) return 0;
  if (RunsAlong(axis.IsHorizontal(), axis.LabelsAngle())) return canvas.LineHeight();
  return WidestValueLabel(axis, canvas);
}

int TitleBand(const TCustomChartAxis& axis, TTeeCanvas& canvas) {
  if (axis.TitleSize() != 0) return axis.TitleSize();
  canvas.Font().Assign(axis.Title().Font());
  const int band = RunsAlong(axis.IsHorizontal(), axis.Title().Angle())
                       ? canvas.LineHeight()
                       : WidestLine(canvas, axis.Title().Caption());
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

TAxisLabelStyle EffectiveLabelStyle(const TCustomChartAxis& axis) {
  if (axis.LabelStyle() != TAxisLabelStyle::talAuto) return axis.LabelStyle();
  const TCustomAxisPanel* chart = axis.ParentChart();
  if (chart == nullptr) return TAxisLabelStyle::talNone;
  for (int i = 0; i < chart->SeriesCount(); ++i) {
    const TChartSeries* s = chart->SeriesAt(i);
    if (s->Active() && (s->GetHorizAxis() == &axis || s->GetVertAxis() == &axis))
      return TAxisLabelStyle::talValue;
  }
  return TAxisLabelStyle::talNone;
}

int LabelTextWidth(const TCustomChartAxis& axis, TTeeCanvas& canvas, double v) {
  const std::string text = LabelText(axis, v);
  const int angle = axis.LabelsAngle();
  if (angle == 90 || angle == 270) return canvas.LineHeight() * LineCount(text);
  return WidestLine(canvas, text);
}

int LabelTextHeight(const TCustomChartAxis& axis, TTeeCanvas& canvas, double v) {
  const std::string text = LabelText(axis, v);
  const int angle = axis.LabelsAngle();
  if (angle != 0 && angle != 180) return WidestLine(canvas, text);
  return canvas.LineHeight() * LineCount(text);
}

double AxisLabelStep(const TCustomChartAxis& axis, TTeeCanvas& canvas) {
  const auto size = [&](double v) {
    return axis.IsHorizontal() ? LabelTextWidth(axis, canvas, v)
                               : LabelTextHeight(axis, canvas, v);
  };
  return LabelStep(size(axis.RangeMin()), size(axis.RangeMax()), StepInputOf(axis));
}

std::vector<int> EnumerateLabels(TCustomChartAxis& axis, TCanvas3D& canvas, bool drawTexts) {
  std::vector<int> ticks;
  if (EffectiveLabelStyle(axis) != TAxisLabelStyle::talValue) return ticks;
  const bool dt = axis.DateTimeFromSeries();
  const double step = AxisLabelStep(axis, canvas);
  LabelRange range{axis.RangeMin(), axis.RangeMax(), step, axis.RoundFirstLabel(),
                   LabelTableIndex(dt, axis.ExactDateTime(), axis.Increment(), step)};
  const std::vector<double> values =
      axis.Logarithmic() && axis.Increment() == 0
          ? LogarithmicLabelValues(axis.RangeMin(), axis.RangeMax(), axis.LogarithmicBase())
          : DefaultLabelValues(range);
  const bool texts = drawTexts && axis.Labels();
  if (texts) PrepareText(axis, canvas, axis.LabelsFont());
  for (double v : values) {
    const int p = axis.PixelOf(v);
    if (!axis.LabelsOnAxis() && !(axis.PixelStart() < p && p < axis.PixelEnd())) continue;
    if (!axis.TickOnLabelsOnly()) ticks.push_back(p);
    if (!axis.Labels()) continue;
    if (texts) {
      const std::string text = LabelText(axis, v);
      if (axis.IsHorizontal())
        DrawAxisText(axis, canvas, p, axis.LabelsPos, text, axis.LabelsAngle());
      else
        DrawAxisText(axis, canvas, axis.LabelsPos, p, text, axis.LabelsAngle());
    }
    if (axis.TickOnLabelsOnly()) ticks.push_back(p);
  }
  return ticks;
}

void DrawAxisText(const TCustomChartAxis& axis, TCanvas3D& canvas, int x, int y,
                  const std::string& text, int angle) {
  const bool hor = axis.IsHorizontal();
  const bool far = axis.OnFarSide();
  const auto align = [](bool horizontal, bool farSide) -> TTextAlign {
    if (horizontal) return farSide ? taCenter | taBottom : taCenter;
    return farSide ? taLeft : taRight;
  };
  const int fh = canvas.LineHeight();
  const int h = fh / 2;
  TTextAlign flags = taLeft;
  switch (angle) {
    case 0:
      flags = align(hor, far);
      if (!hor) y -= h;
      break;
    case 90:
      if (hor) {
        flags = align(false, far);
        x -= h;
      } else {
        flags = align(true, !far);
      }
      break;
    case 180:
      flags = align(hor, !far);
      if (!hor) y += h;
      break;
    case 270:
      if (hor) {
        flags = align(false, !far);
        x += h;
      } else {
        flags = align(true, far);
      }
      break;
    default:
      break;
  }
  canvas.SetTextAlignment(flags);

  const std::vector<std::string> lines = SplitLines(text);
  const int n = static_cast<int>(lines.size());
  const int H = (angle == 180 || angle == 270) ? -fh : fh;
  if (hor) {
    if (angle == 0)
      y -= far ? n * H : H;
    else if (angle == 90 || angle == 270)
      x -= RoundEven(H * 0.5 * (n + 1));
    else if (angle == 180)
      y -= far ? H : n * H;
  } else {
    if (angle == 0 || angle == 180)
      y -= RoundEven(H * 0.5 * (n + 1));
    else if (angle == 90)
      x -= far ? H : n * H;
    else if (angle == 270)
      x -= far ? n * H : H;
  }
  for (const std::string& line : lines) {
    if (angle == 0) {
      y += H;
      canvas.TextAtDepth(x, y, line, 0);
      continue;
    }
    if (angle == 90 || angle == 270)
      x += H;
    else if (angle == 180)
      y += H;
    canvas.RotatedTextAtDepth(x, y, angle, line, 0);
  }
  canvas.SetTextAlignment(taLeft);
}

void DrawAxis(TCustomChartAxis& axis, TCanvas3D& canvas, bool calcLinePos) {
  canvas.Font().Assign(axis.LabelsFont());
  if (calcLinePos && axis.ParentChart() != nullptr) {
    const TRect& r = axis.ParentChart()->PlotRect();
    axis.AxisLinePos = EdgeOf(axis, r) + PositionShift(axis, r);
  }
  if (!axis.Title().Caption().empty()) {
    PrepareText(axis, canvas, axis.Title().Font());
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
  if (!axis.Title().Caption().empty()) {
    take(TitleBand(axis, canvas));
    axis.TitlePos = EdgeOf(axis, rect);
  }
  if (axis.Labels()) {
    take(LabelBand(axis, canvas));
    axis.LabelsPos = EdgeOf(axis, rect);
  }
  if (tickBand > 0) take(tickBand);
  const int shift = PositionShift(axis, rect);
  axis.TitlePos += shift;
  axis.LabelsPos += shift;
}

}  // namespace nitko
