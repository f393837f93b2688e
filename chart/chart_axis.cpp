#include "chart/chart_axis.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "chart/chart_exceptions.h"
#include "chart/chart_rounding.h"
#include "chart/chart_series.h"
#include "framework/surface.h"
#include "chart/custom_axis_panel.h"
#include "framework/set_if_changed.h"
#include "runtime/message_format.h"

namespace nitko {

namespace {

constexpr const char* SAxisIncrementNegative = "Axis increment must be >= 0";
constexpr const char* SAxisMinMax = "Axis Minimum Value must be <= Maximum";
constexpr const char* SAxisMaxMin = "Axis Maximum Value must be >= Minimum";
constexpr const char* SAxisDateTimeLog = "DateTime Axis cannot be Logarithmic";
constexpr const char* SAxisLogNegative = "Logarithmic Axis Min and Max values should be >= 0";
constexpr const char* SAxisLogBase = "Axis Logarithmic Base should be >= 2";
constexpr const char* SAxisLabelSep = "Labels Separation % must be greater than 0";
constexpr const char* SAngleRange = "%s Angle must be between 0 and 359 degrees";

void CheckAngle(int value, const char* what) {
  // 360 is the same direction as 0, so it is let through.
  if (value < 0 || value > 360) throw ChartException(FormatMessage(SAngleRange, {what}));
}

void Repaint(TCustomAxisPanel* chart) {
  if (chart != nullptr) chart->RequestRepaint();
}

}  // namespace

TChartAxisTitle::TChartAxisTitle(const TCustomChartAxis* axis, int angle)
    : axis_(axis), angle_(angle) {
  font_.OnChange = [this] { Repaint(); };
}

void TChartAxisTitle::Repaint() const {
  nitko::Repaint(axis_->ParentChart());
}

void TChartAxisTitle::SetAngle(int value) {
  CheckAngle(value, "Axis Title");
  if (value == angle_) return;
  angle_ = value;
  Repaint();
}

void TChartAxisTitle::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  Repaint();
}

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool far_side,
                                   bool depth)
    : chart_(chart),
      horizontal_(horizontal),
      far_side_(far_side),
      depth_(depth),
      title_(this, horizontal ? 0 : (far_side ? 270 : 90)) {
  // The depth axis only shows in 3D views.
  visible_ = !depth;
  const auto repaint = [this] { Repaint(chart_); };
  for (TGraphicsObject* g : std::initializer_list<TGraphicsObject*>{
           &ticks_, &ticks_inner_, &minor_ticks_, &grid_, &minor_grid_, &axis_, &labels_font_})
    g->OnChange = repaint;
  if (chart_ != nullptr) chart_->RegisterAxis(this);
}

TCustomChartAxis::~TCustomChartAxis() {
  if (chart_ != nullptr) chart_->UnregisterAxis(this);
}

void TCustomChartAxis::SetAutomatic(bool value) {
  const bool loading = chart_ != nullptr && chart_->IsLoading();
  bool changed = automatic_ != value;
  automatic_ = value;
  if (!loading) {
    changed = changed || automatic_minimum_ != value || automatic_maximum_ != value;
    automatic_minimum_ = value;
    automatic_maximum_ = value;
  }
  if (changed) Repaint(chart_);
}

void TCustomChartAxis::SetAutomaticMaximum(bool value) {
  const bool old_auto = automatic_;
  const bool old_value = automatic_maximum_;
  automatic_maximum_ = value;
  if (!value)
    automatic_ = false;
  else if (automatic_minimum_)
    automatic_ = true;
  if (old_auto != automatic_ || old_value != value) Repaint(chart_);
}

void TCustomChartAxis::SetAutomaticMinimum(bool value) {
  const bool old_auto = automatic_;
  const bool old_value = automatic_minimum_;
  automatic_minimum_ = value;
  if (!value)
    automatic_ = false;
  else if (automatic_maximum_)
    automatic_ = true;
  if (old_auto != automatic_ || old_value != value) Repaint(chart_);
}

void TCustomChartAxis::SetMinimum(double value) {
  const bool loading = chart_ != nullptr && chart_->IsLoading();
  if (!loading && value > maximum_) throw AxisException(SAxisMinMax);
  SetIfChanged(minimum_, value, [this] { Repaint(chart_); });
}

void TCustomChartAxis::SetMaximum(double value) {
  const bool loading = chart_ != nullptr && chart_->IsLoading();
  if (!loading && value < minimum_) throw AxisException(SAxisMaxMin);
  SetIfChanged(maximum_, value, [this] { Repaint(chart_); });
}

void TCustomChartAxis::SetRange(double a, double b) {
  if (a > b) std::swap(a, b);
  // A range of zero width would give no scale at all.
  if (b - a < 1e-10) b = a + 1e-10;
  const bool changed =
      automatic_ || automatic_minimum_ || automatic_maximum_ || minimum_ != a || maximum_ != b;
  automatic_ = false;
  automatic_minimum_ = false;
  automatic_maximum_ = false;
  minimum_ = a;
  maximum_ = b;
  if (changed) Repaint(chart_);
}

void TCustomChartAxis::SetIncrement(double value) {
  if (value < 0) throw AxisException(SAxisIncrementNegative);
  SetIfChanged(increment_, value, [this] { Repaint(chart_); });
}

void TCustomChartAxis::SetLogarithmic(bool value) {
  if (value && !logarithmic_) {
    if (DateTimeFromSeries()) throw AxisException(SAxisDateTimeLog);
    RecomputeRange();
    if (range_min_ < 0 || range_max_ < 0) throw AxisException(SAxisLogNegative);
  }
  SetIfChanged(logarithmic_, value, [this] { Repaint(chart_); });
}

void TCustomChartAxis::SetLogarithmicBase(int value) {
  if (value < 2) throw AxisException(SAxisLogBase);
  SetIfChanged(logarithmic_base_, value, [this] { Repaint(chart_); });
}

void TCustomChartAxis::SetInverted(bool value) {
  SetIfChanged(inverted_, value, [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetExactDateTime(bool value) {
  SetIfChanged(exact_date_time_, value, [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetDateTimeFormat(const std::string& value) {
  SetIfChanged(date_time_format_, value, [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetAxisValuesFormat(const std::string& value) {
  SetIfChanged(axis_values_format_, value, [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetLabels(bool value) {
  SetIfChanged(labels_, value, [this] { Repaint(chart_); });
}

void TCustomChartAxis::SetLabelsAngle(int value) {
  CheckAngle(value, "Axis Labels");
  SetIfChanged(labels_angle_, value, [this] { Repaint(chart_); });
}

void TCustomChartAxis::SetLabelsMultiLine(bool value) {
  SetIfChanged(labels_multi_line_, value, [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetLabelsOnAxis(bool value) {
  SetIfChanged(labels_on_axis_, value, [this] { Repaint(chart_); });
}

// Lengths and counts from a description, held to a surface's side: no axis
// is longer, and the space an axis reserves stays within int.
static int Pixels(int value) {
  return std::clamp(value, -kMaxSurfaceSide, kMaxSurfaceSide);
}

void TCustomChartAxis::SetLabelsSeparation(int value) {
  if (value < 0) throw AxisException(SAxisLabelSep);
  SetIfChanged(labels_separation_, std::min(value, kMaxSurfaceSide), [this] { Repaint(chart_); });
}

void TCustomChartAxis::SetLabelsSize(int value) {
  SetIfChanged(labels_size_, Pixels(value), [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetLabelStyle(TAxisLabelStyle value) {
  SetIfChanged(label_style_, value, [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetRoundFirstLabel(bool value) {
  SetIfChanged(round_first_label_, value, [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetTickLength(int value) {
  SetIfChanged(tick_length_, Pixels(value), [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetTickInnerLength(int value) {
  SetIfChanged(tick_inner_length_, Pixels(value), [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetTickOnLabelsOnly(bool value) {
  SetIfChanged(tick_on_labels_only_, value, [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetMinorTickLength(int value) {
  SetIfChanged(minor_tick_length_, Pixels(value), [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetMinorTickCount(int value) {
  SetIfChanged(minor_tick_count_, std::min(value, kMaxSurfaceSide), [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetGridCentered(bool value) {
  SetIfChanged(grid_centered_, value, [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetTitleSize(int value) {
  SetIfChanged(title_size_, Pixels(value), [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetStartPosition(double value) {
  SetIfChanged(start_position_, value, [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetEndPosition(double value) {
  SetIfChanged(end_position_, value, [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetPositionPercent(double value) {
  SetIfChanged(position_percent_, value, [this] { Repaint(chart_); });
}
void TCustomChartAxis::SetVisible(bool value) {
  SetIfChanged(visible_, value, [this] { Repaint(chart_); });
}

void TCustomChartAxis::RecomputeRange() {
  if (chart_ != nullptr) {
    if (automatic_ || automatic_maximum_)
      maximum_ = chart_->SeriesExtreme(*this, false, horizontal_);
    if (automatic_ || automatic_minimum_)
      minimum_ = chart_->SeriesExtreme(*this, true, horizontal_);
  }
  range_is_date_time_ = DateTimeFromSeries();
  range_min_ = minimum_;
  range_max_ = maximum_;
  range_span_ = range_max_ - range_min_;
}

void TCustomChartAxis::WidenForMargins(int start_margin, int end_margin) {
  const int s = pixel_start_;
  const int e = pixel_end_;
  // An axis without pixels has nothing to read its widened range from.
  if (static_cast<long long>(e) - s < 1) return;
  // A runaway placement sits near the int limits: add in 64 bits and saturate.
  pixel_start_ = ClampToInt(static_cast<long long>(s) + start_margin);
  pixel_end_ = ClampToInt(static_cast<long long>(e) - end_margin);
  pixel_length_ = ClampToInt(static_cast<long long>(pixel_end_) - pixel_start_);
  // Margins that leave no pixels between them cannot be kept; the range
  // stays rather than collapsing to 0..0.
  if (pixel_length_ < 1) {
    SetPixels(s, e);
    return;
  }
  double a = ValueAtPixel(s);
  double b = ValueAtPixel(e);
  SetPixels(s, e);
  // A side without a margin keeps its end exactly: the round trip through
  // pixels could move it by a rounding error and lose a label standing there.
  const bool start_is_min = horizontal_ != inverted_;
  if (start_margin == 0) a = start_is_min ? range_min_ : range_max_;
  if (end_margin == 0) b = start_is_min ? range_max_ : range_min_;
  range_min_ = a;
  range_max_ = b;
  if (range_min_ > range_max_) std::swap(range_min_, range_max_);
  range_span_ = range_max_ - range_min_;
}

void TCustomChartAxis::PlacePixels() {
  if (chart_ != nullptr) PlacePixelsIn(chart_->PlotRect());
}

void TCustomChartAxis::PlacePixelsIn(const TRect& r) {
  const int o = horizontal_ ? r.Left : r.Top;
  const double w = horizontal_ ? r.Width() : r.Height();
  SetPixels(ClampToInt(o + std::nearbyint(w * 0.01 * start_position_)),
            ClampToInt(o + std::nearbyint(w * 0.01 * end_position_)));
}

void TCustomChartAxis::SetPixels(int start, int end) {
  pixel_start_ = start;
  pixel_end_ = end;
  pixel_length_ = ClampToInt(static_cast<double>(end) - start);
  pixel_center_ = static_cast<int>((static_cast<long long>(start) + end) / 2);
}

double TCustomChartAxis::LogLow() const {
  return range_min_ <= 0 ? 0 : std::log(range_min_);
}
double TCustomChartAxis::LogHigh() const {
  return range_max_ <= 0 ? 0 : std::log(range_max_);
}

int TCustomChartAxis::PixelOfHoriz(double v) const {
  return PixelOfValue(v, true);
}
int TCustomChartAxis::PixelOfVert(double v) const {
  return PixelOfValue(v, false);
}

TAxisPixelMap TCustomChartAxis::PixelMap(bool horizontal) const {
  TAxisPixelMap map;
  map.logarithmic = logarithmic_;
  map.inverted = inverted_;
  map.horizontal = horizontal;
  map.range_min = range_min_;
  map.range_span = range_span_;
  if (logarithmic_) {
    map.log_low = LogLow();
    map.log_high = LogHigh();
  }
  map.pixel_start = pixel_start_;
  map.pixel_end = pixel_end_;
  map.pixel_length = pixel_length_;
  map.pixel_center = pixel_center_;
  map.Prepare();
  return map;
}

int TCustomChartAxis::PixelOfValue(double v, bool horizontal) const {
  return PixelMap(horizontal).Map(v);
}

double TCustomChartAxis::ValueAtPixel(int p) const {
  if (!logarithmic_) {
    if (pixel_length_ < 1) return 0;
    const double d = inverted_ ? static_cast<double>(pixel_end_) - p : static_cast<double>(p) - pixel_start_;
    const double u = d * range_span_ / pixel_length_;
    return horizontal_ ? range_min_ + u : range_max_ - u;
  }
  // The start is the low end on a plain horizontal or an inverted vertical axis.
  const bool start_is_min = horizontal_ != inverted_;
  if (p == pixel_start_) return start_is_min ? range_min_ : range_max_;
  if (p == pixel_end_) return start_is_min ? range_max_ : range_min_;
  const double l0 = LogLow();
  const double l1 = LogHigh();
  const double d_range = l1 - l0;
  if (d_range == 0 || pixel_length_ < 1) return range_min_;
  const double d = inverted_ ? static_cast<double>(pixel_end_) - p : static_cast<double>(p) - pixel_start_;
  const double u = d * d_range / pixel_length_;
  return horizontal_ ? std::exp(l0 + u) : std::exp(l1 - u);
}

bool TCustomChartAxis::DateTimeFromSeries() const {
  if (chart_ == nullptr) return false;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    const TChartSeries* s = chart_->SeriesAt(i);
    if (s->Active() && s->UsesAxis(this))
      return horizontal_ ? s->XValues().DateTime() : s->YValues().DateTime();
  }
  return false;
}

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* chart) : TChartAxis(chart, false, true, true) {}

}  // namespace nitko
