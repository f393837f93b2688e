#include "chart/axis_labels.h"

#include <algorithm>
#include <cmath>

#include "chart/axis_label_step.h"
#include "chart/chart_rounding.h"
#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"
#include "chart/tee_canvas.h"
#include "framework/brush.h"
#include "framework/colors.h"

namespace nitko {

namespace {

// The height of a text's lines stacked.
int LinesHeight(TTeeCanvas& canvas, const std::string& text) {
  return canvas.LineHeight() * (1 + static_cast<int>(std::count(text.begin(), text.end(), '\r')));
}

TCustomChartAxis* Mutable(const TCustomChartAxis& axis) {
  // Events take the axis as their sender; they are handed the axis itself.
  return const_cast<TCustomChartAxis*>(&axis);
}

LabelStepInput StepInputOf(const TCustomChartAxis& axis) {
  return {axis.RangeSpan(), axis.Increment(), axis.LabelsSeparation(), axis.PixelLength(),
          axis.RangeIsDateTime()};
}

// Active series attached to the axis, in chart order.
template <typename F>
void ForEachAttached(const TCustomChartAxis& axis, F&& f) {
  const TCustomAxisPanel* chart = axis.ParentChart();
  if (chart == nullptr) return;
  for (int i = 0; i < chart->SeriesCount(); ++i) {
    TChartSeries* s = chart->SeriesAt(i);
    if (s->Active() && s->UsesAxis(&axis) && !f(*s)) return;
  }
}

std::string PointLabelText(const TCustomChartAxis& axis, TChartSeries& series, int index,
                           TAxisLabelStyle style) {
  std::string text =
      style == TAxisLabelStyle::talMark ? series.MarkText(index) : series.PointLabel(index);
  const TCustomAxisPanel* chart = axis.ParentChart();
  if (chart != nullptr && chart->OnGetAxisLabel) {
    const TAxisOnGetLabel hook = chart->OnGetAxisLabel;  // may replace itself
    hook(Mutable(axis), &series, index, text);
  }
  return text;
}

// Labels the enumeration produces, with the tick list they build.
class LabelSink {
 public:
  LabelSink(TCustomChartAxis& axis, TCanvas3D& canvas, bool drawTexts)
      : axis_(axis), canvas_(canvas), draw_(drawTexts && axis.Labels()) {}

  std::vector<int>& Ticks() { return ticks_; }

  // A value label at v.
  void Value(double v) {
    const int p = axis_.PixelOf(v);
    if (!axis_.LabelsOnAxis() && !(axis_.PixelStart() < p && p < axis_.PixelEnd())) return;
    if (!axis_.TickOnLabelsOnly()) ticks_.push_back(p);
    if (!axis_.Labels()) return;
    Draw(p, AxisLabelText(axis_, v));
    if (axis_.TickOnLabelsOnly()) ticks_.push_back(p);
  }

  // A point label at v, skipped when it would run into the last one drawn.
  void Point(double v, const std::string& text) {
    if (!(v >= axis_.RangeMin() && v <= axis_.RangeMax())) return;  // NaN too
    const int p = axis_.PixelOf(v);
    if (!axis_.TickOnLabelsOnly()) ticks_.push_back(p);
    if (!axis_.Labels()) return;
    const int size = SizeAlongAxis(text);
    const int sep = axis_.LabelsSeparation();
    int half = size / 2;
    if (sep > 0 && have_last_) {
      half = (size + static_cast<int>(std::trunc(size * 0.02 * sep))) / 2;
      if (p - half < last_pos_ + last_half_ && p + half > last_pos_ - last_half_) return;
    }
    have_last_ = true;
    last_pos_ = p;
    last_half_ = half;
    Draw(p, text);
    if (axis_.TickOnLabelsOnly()) ticks_.push_back(p);
  }

 private:
  void Draw(int p, const std::string& text) {
    if (!draw_) return;
    if (axis_.IsHorizontal())
      DrawAxisText(axis_, canvas_, p, axis_.LabelsPos, text, axis_.LabelsAngle());
    else
      DrawAxisText(axis_, canvas_, axis_.LabelsPos, p, text, axis_.LabelsAngle());
  }

  int SizeAlongAxis(const std::string& text) {
    const int angle = axis_.LabelsAngle();
    const bool sideways = angle == 90 || angle == 270;
    if (axis_.IsHorizontal() != sideways) return WidestLabelLine(canvas_, text);
    return LinesHeight(canvas_, text);
  }

  TCustomChartAxis& axis_;
  TCanvas3D& canvas_;
  bool draw_;
  std::vector<int> ticks_;
  bool have_last_ = false;
  int last_pos_ = 0;
  int last_half_ = 0;
};

void DefaultLabels(const TCustomChartAxis& axis, const LabelRange& range, LabelSink& sink) {
  const std::vector<double> values =
      axis.Logarithmic() && axis.Increment() == 0
          ? LogarithmicLabelValues(axis.RangeMin(), axis.RangeMax(), axis.LogarithmicBase())
          : DefaultLabelValues(range);
  for (double v : values) sink.Value(v);
}

// Values from the chart's OnGetNextAxisLabel, bounded to 2001 calls.
void CustomLabels(TCustomChartAxis& axis, const LabelRange& range, LabelSink& sink) {
  // A copy: the handler may replace itself while it runs.
  const TAxisOnGetNextLabel next = axis.ParentChart()->OnGetNextAxisLabel;
  double value = axis.RangeMin();
  bool stop = true;
  for (int i = 0; i <= 2000; ++i) {
    next(&axis, i, value, stop);
    if (stop) {
      if (i == 0) DefaultLabels(axis, range, sink);
      return;
    }
    if (!(axis.RangeMin() - 1e-7 <= value && value <= axis.RangeMax() + 1e-7)) return;
    sink.Value(value);
  }
}

void PointLabels(const TCustomChartAxis& axis, TAxisLabelStyle style, LabelSink& sink) {
  std::vector<TChartSeries*> sources;
  ForEachAttached(axis, [&](TChartSeries& s) {
    if (s.LabelCount() > 0) sources.push_back(&s);
    return true;
  });
  int first = -1;
  int last = -1;
  for (TChartSeries* s : sources) {
    s->ComputeVisibleRange();
    if (first < 0 && s->FirstVisible() >= 0) first = s->FirstVisible();
    last = std::max(last, s->LastVisible());
  }
  if (first < 0) return;
  for (int i = first; i <= last; ++i) {
    const auto source = std::find_if(sources.begin(), sources.end(), [i](TChartSeries* s) {
      return i < s->LabelCount() && i < s->PointCount();
    });
    if (source == sources.end()) continue;
    TChartSeries& s = **source;
    const std::string text = PointLabelText(axis, s, i, style);
    sink.Point(axis.IsHorizontal() ? s.XOf(i) : s.YOf(i), text);
  }
}

}  // namespace

void PrepareAxisText(const TCustomChartAxis& axis, TTeeCanvas& canvas, const TFont& font) {
  const TCustomAxisPanel* chart = axis.ParentChart();
  canvas.Font().Assign(font);
  if (chart != nullptr && chart->Printing() && canvas.Font().Color() == clWhite)
    canvas.Font().SetColor(clBlack);
  // A colour on a clear brush makes it solid, so the style comes last.
  canvas.Brush().SetColor(chart != nullptr ? chart->Color() : clWhite);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
}

std::vector<std::string> SplitLabelLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\r')
      lines.emplace_back();
    else
      lines.back().push_back(c);
  }
  return lines;
}

int WidestLabelLine(TTeeCanvas& canvas, const std::string& text) {
  int w = 0;
  for (const std::string& line : SplitLabelLines(text))
    w = std::max(w, canvas.MeasureTextWidth(line));
  return w;
}

TAxisLabelStyle EffectiveLabelStyle(const TCustomChartAxis& axis) {
  if (axis.LabelStyle() != TAxisLabelStyle::talAuto) return axis.LabelStyle();
  TAxisLabelStyle style = TAxisLabelStyle::talNone;
  ForEachAttached(axis, [&](const TChartSeries& s) {
    style = TAxisLabelStyle::talValue;
    // Texts name the points of the list the series is ordered by.
    const bool ordered_axis = axis.IsHorizontal() == s.MainListIsY();
    if (ordered_axis && s.LabelCount() > 0 && !s.PointLabel(0).empty()) {
      style = TAxisLabelStyle::talText;
      return false;
    }
    return true;
  });
  return style;
}

std::string AxisLabelText(const TCustomChartAxis& axis, double v, bool askChart) {
  LabelFormat f{axis.RangeIsDateTime(),  axis.DateTimeFormat(),  axis.RangeSpan(),
                axis.AxisValuesFormat(), axis.LabelsMultiLine(), {}};
  const TCustomAxisPanel* chart = axis.ParentChart();
  if (askChart && chart != nullptr && chart->OnGetAxisLabel)
    f.onGetLabel = [&axis, hook = chart->OnGetAxisLabel](std::string& text) {
      hook(Mutable(axis), nullptr, -1, text);
    };
  return FormatLabel(v, f);
}

int LabelTextWidth(const TCustomChartAxis& axis, TTeeCanvas& canvas, double v, bool askChart) {
  const std::string text = AxisLabelText(axis, v, askChart);
  const int angle = axis.LabelsAngle();
  if (angle == 90 || angle == 270) return LinesHeight(canvas, text);
  return WidestLabelLine(canvas, text);
}

int LabelTextHeight(const TCustomChartAxis& axis, TTeeCanvas& canvas, double v, bool askChart) {
  const std::string text = AxisLabelText(axis, v, askChart);
  const int angle = axis.LabelsAngle();
  if (angle != 0 && angle != 180) return WidestLabelLine(canvas, text);
  return LinesHeight(canvas, text);
}

double AxisLabelStep(const TCustomChartAxis& axis, TTeeCanvas& canvas, bool askChart) {
  const auto size = [&](double v) {
    return axis.IsHorizontal() ? LabelTextWidth(axis, canvas, v, askChart)
                               : LabelTextHeight(axis, canvas, v, askChart);
  };
  return LabelStep(size(axis.RangeMin()), size(axis.RangeMax()), StepInputOf(axis));
}

int WidestPointLabel(const TCustomChartAxis& axis, TTeeCanvas& canvas, TAxisLabelStyle style) {
  const TCustomAxisPanel* chart = axis.ParentChart();
  if (chart == nullptr) return 0;
  int widest = 0;
  for (int i = 0; i < chart->SeriesCount(); ++i) {
    const TChartSeries* s = chart->SeriesAt(i);
    for (int j = 0; j < s->LabelCount(); ++j) {
      const std::string text =
          style == TAxisLabelStyle::talMark ? s->MarkText(j) : s->PointLabel(j);
      widest = std::max(widest, WidestLabelLine(canvas, text));
    }
  }
  return widest;
}

std::vector<int> EnumerateLabels(TCustomChartAxis& axis, TCanvas3D& canvas, bool drawTexts) {
  axis.RefreshRangeIsDateTime();
  const double step = AxisLabelStep(axis, canvas);
  const LabelRange range{
      axis.RangeMin(), axis.RangeMax(), step, axis.RoundFirstLabel(),
      LabelTableIndex(axis.RangeIsDateTime(), axis.ExactDateTime(), axis.Increment(), step)};
  LabelSink sink(axis, canvas, drawTexts);
  const bool calendar = range.tableIndex >= 18 && range.tableIndex <= 24;
  if (!(step > 0 || calendar) || axis.RangeMax() < axis.RangeMin()) return {};
  if (drawTexts && axis.Labels()) PrepareAxisText(axis, canvas, axis.LabelsFont());
  switch (const TAxisLabelStyle style = EffectiveLabelStyle(axis)) {
    case TAxisLabelStyle::talValue:
      if (axis.ParentChart() != nullptr && axis.ParentChart()->OnGetNextAxisLabel)
        CustomLabels(axis, range, sink);
      else
        DefaultLabels(axis, range, sink);
      break;
    case TAxisLabelStyle::talMark:
    case TAxisLabelStyle::talText:
      PointLabels(axis, style, sink);
      break;
    default:
      break;
  }
  return std::move(sink.Ticks());
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

  const std::vector<std::string> lines = SplitLabelLines(text);
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
  const TCustomAxisPanel* chart = axis.ParentChart();
  const int z = far && chart != nullptr ? chart->Width3D() : 0;
  for (const std::string& line : lines) {
    if (angle == 0) {
      y += H;
      canvas.TextAtDepth(x, y, line, z);
      continue;
    }
    if (angle == 90 || angle == 270)
      x += H;
    else if (angle == 180)
      y += H;
    canvas.RotatedTextAtDepth(x, y, angle, line, z);
  }
  canvas.SetTextAlignment(taLeft);
}

}  // namespace nitko
