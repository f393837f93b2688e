#include "chart/custom_axis_panel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "chart/axis_drawing.h"
#include "chart/chart_axis.h"
#include "chart/chart_exceptions.h"
#include "chart/chart_palette.h"
#include "chart/chart_series.h"
#include "chart/tee_canvas.h"
#include "framework/surface.h"

namespace nitko {

namespace {
std::atomic<bool> axes_before_series{true};
}  // namespace

bool AxesBeforeSeries() {
  return axes_before_series.load(std::memory_order_relaxed);
}

void SetAxesBeforeSeries(bool value) {
  axes_before_series.store(value, std::memory_order_relaxed);
}

TCustomAxisPanel::TCustomAxisPanel(TComponent* owner)
    : TCustomTeePanelExtended(owner),
      bottom_axis_(std::make_unique<TChartAxis>(this, true, false)),
      top_axis_(std::make_unique<TChartAxis>(this, true, true)),
      left_axis_(std::make_unique<TChartAxis>(this, false, false)),
      right_axis_(std::make_unique<TChartAxis>(this, false, true)),
      depth_axis_(std::make_unique<TChartDepthAxis>(this)) {}

TCustomAxisPanel::~TCustomAxisPanel() {
  MarkDestroying();
  // Custom axes may outlive the chart; they must not point back at it.
  for (TCustomChartAxis* axis : axes_)
    if (!IsStandardAxis(axis)) axis->chart_ = nullptr;
  // Series that outlive the chart must not point back at it.
  for (TChartSeries* series : series_list_) {
    series->parent_chart_ = nullptr;
    series->ForgetCustomAxes();
  }
  series_list_.Clear();
  depth_axis_.reset();
  right_axis_.reset();
  left_axis_.reset();
  top_axis_.reset();
  bottom_axis_.reset();
}

bool TCustomAxisPanel::IsStandardAxis(const TCustomChartAxis* axis) const {
  return axis == bottom_axis_.get() || axis == top_axis_.get() || axis == left_axis_.get() ||
         axis == right_axis_.get() || axis == depth_axis_.get();
}

TColor TCustomAxisPanel::FreeSeriesColor() const {
  for (int i = 0; i < kPaletteSize; ++i) {
    const TColor c = PaletteColor(i);
    if (c == Color() || c == BackColor()) continue;
    const bool used = std::any_of(series_list_.begin(), series_list_.end(),
                                  [c](const TChartSeries* s) { return s->SeriesColor() == c; });
    if (!used) return c;
  }
  return PaletteColor(kPaletteSize);
}

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
  if (series == nullptr || series_list_.Contains(series)) return;
  if (series->parent_chart_ != nullptr) series->parent_chart_->RemoveSeries(series);
  // Coloured before it joins, so choosing the colour asks for no repaint.
  if (series->SeriesColor() == clDefault) series->SetSeriesColor(FreeSeriesColor());
  series_list_.Add(series);
  series->parent_chart_ = this;
  RequestRepaint();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
  if (!series_list_.Contains(series)) return;
  series_list_.Remove(series);
  series->parent_chart_ = nullptr;
  series->ForgetCustomAxes();
  RequestRepaint();
}

void TCustomAxisPanel::SetBackColor(TColor value) {
  if (value == back_color_) return;
  back_color_ = value;
  RequestRepaint();
}

void TCustomAxisPanel::RegisterAxis(TCustomChartAxis* axis) {
  if (std::find(axes_.begin(), axes_.end(), axis) == axes_.end()) axes_.push_back(axis);
}

void TCustomAxisPanel::UnregisterAxis(TCustomChartAxis* axis) {
  axes_.erase(std::remove(axes_.begin(), axes_.end(), axis), axes_.end());
  for (TChartSeries* series : series_list_) series->ForgetAxis(axis);
}

void TCustomAxisPanel::SetAxisVisible(bool value) {
  if (value == axis_visible_) return;
  axis_visible_ = value;
  RequestRepaint();
}

void TCustomAxisPanel::SetClipPoints(bool value) {
  if (value == clip_points_) return;
  clip_points_ = value;
  RequestRepaint();
}

void TCustomAxisPanel::SetView3DWalls(bool value) {
  if (value == view_3d_walls_) return;
  view_3d_walls_ = value;
  RequestRepaint();
}

bool TCustomAxisPanel::IsAxisVisible(const TCustomChartAxis& axis) const {
  if (!axis_visible_ || !axis.Visible()) return false;
  if (axis.ForDepth()) return View3D();
  return HasActiveSeriesOn(axis);
}

int TCustomAxisPanel::AxisWallSize(const TCustomChartAxis&) const {
  return 0;
}

void TCustomAxisPanel::ApplySeriesMargins(TCustomChartAxis& axis) const {
  // Start side: left or top; end side: right or bottom.
  int start = 0;
  int end = 0;
  for (const TChartSeries* s : series_list_) {
    if (!s->Active() || !s->UsesAxis(&axis)) continue;
    int a = 0;
    int b = 0;
    if (axis.IsHorizontal())
      s->CalcHorizMargins(a, b);
    else
      s->CalcVerticalMargins(a, b);
    start = std::max(start, a);
    end = std::max(end, b);
  }
  // A margin only moves an end the series decide.
  const bool start_is_min = axis.IsHorizontal();
  if (!(start_is_min ? axis.AutomaticMinimum() : axis.AutomaticMaximum())) start = 0;
  if (!(start_is_min ? axis.AutomaticMaximum() : axis.AutomaticMinimum())) end = 0;
  axis.WidenForMargins(start, end);
}

void TCustomAxisPanel::ComputeSeriesArea() const {
  for (TChartAxis* axis :
       {top_axis_.get(), left_axis_.get(), right_axis_.get(), bottom_axis_.get()})
    ApplySeriesMargins(*axis);
  // Custom axes carry series too; their end points need the same room.
  for (TCustomChartAxis* axis : axes_)
    if (!IsStandardAxis(axis)) ApplySeriesMargins(*axis);
}

void TCustomAxisPanel::SetMaxPointsPerPage(int value) {
  if (value < 0) throw ChartException(SMaxPointsPerPage);
  if (value == max_points_per_page_) return;
  max_points_per_page_ = value;
  RequestRepaint();
}

int TCustomAxisPanel::NumPages() const {
  if (max_points_per_page_ <= 0) return 1;
  int most = 0;
  for (const TChartSeries* s : series_list_)
    if (s->Active()) most = std::max(most, s->PointCount());
  const long long pages = (static_cast<long long>(most) + max_points_per_page_ - 1) /
                          max_points_per_page_;
  return static_cast<int>(std::max(1LL, pages));
}

void TCustomAxisPanel::SetPage(int value) {
  value = std::clamp(value, 1, NumPages());
  if (value == page_) return;
  page_ = value;
  RequestRepaint();
}

void TCustomAxisPanel::SetScaleLastPage(bool value) {
  if (value == scale_last_page_) return;
  scale_last_page_ = value;
  RequestRepaint();
}

bool TCustomAxisPanel::HasActiveSeriesOn(const TCustomChartAxis& axis) const {
  return std::any_of(series_list_.begin(), series_list_.end(),
                     [&axis](const TChartSeries* s) { return s->Active() && s->UsesAxis(&axis); });
}

const TChartSeries* TCustomAxisPanel::FirstSeriesOn(const TCustomChartAxis& axis) const {
  const bool only_active = HasActiveSeriesOn(axis);
  for (const TChartSeries* s : series_list_)
    if ((!only_active || s->Active()) && s->UsesAxis(&axis)) return s;
  return nullptr;
}

double TCustomAxisPanel::PagedExtreme(const TChartSeries& series, bool want_minimum) const {
  const TChartValueList& list = series.MainListIsY() ? series.XValues() : series.YValues();
  const int n = series.PointCount();
  if (n <= 0) return 0;
  const long long size = max_points_per_page_;
  // 64 bits: a large page number times the page size must not overflow.
  long long first = size * (static_cast<long long>(page_) - 1);
  // A page past the end shows the last full page.
  if (first >= n || first < 0) first = size * std::max(0LL, n / size - 1);
  long long last = first + size - 1;
  if (last >= n) last = first + (n % size) - 1;
  if (last < first) last = n - 1;
  if (want_minimum) return list.ValueAt(static_cast<int>(first));
  const double v_first = list.ValueAt(static_cast<int>(first));
  const double v_last = list.ValueAt(static_cast<int>(last));
  const long long held = last - first + 1;
  if (!scale_last_page_ && held < size) return v_first + (v_last - v_first) * size / held;
  return v_last;
}

double TCustomAxisPanel::DepthExtreme(const TCustomChartAxis& axis, bool want_minimum) const {
  if (axis.LabelStyle() == TAxisLabelStyle::talValue) {
    for (const TChartSeries* s : series_list_)
      if (s->Active()) return want_minimum ? s->LowestZ() : s->HighestZ();
    return 0;
  }
  if (want_minimum) return -0.5;
  int highest = 0;
  for (const TChartSeries* s : series_list_) highest = std::max(highest, s->DepthOrder());
  return highest + 0.5;
}

double TCustomAxisPanel::SeriesExtreme(const TCustomChartAxis& axis, bool want_minimum,
                                       bool horizontal) const {
  if (axis.ForDepth()) return DepthExtreme(axis, want_minimum);
  if (max_points_per_page_ > 0) {
    const TChartSeries* pager = FirstSeriesOn(axis);
    if (pager != nullptr && pager->MainListIsY() == horizontal)
      return PagedExtreme(*pager, want_minimum);
  }
  const bool only_active = HasActiveSeriesOn(axis);
  bool found = false;
  double result = 0;
  for (const TChartSeries* s : series_list_) {
    if ((only_active && !s->Active()) || s->PointCount() == 0 || !s->UsesAxis(&axis)) continue;
    double v;
    if (horizontal)
      v = want_minimum ? s->LowestX() : s->HighestX();
    else
      v = want_minimum ? s->LowestY() : s->HighestY();
    if (!found)
      result = v;
    else
      result = want_minimum ? std::min(result, v) : std::max(result, v);
    found = true;
  }
  return result;
}

}  // namespace nitko

// --- painting ---------------------------------------------------------------

namespace nitko {

void TCustomAxisPanel::DrawChartContent(const TRect& frameRect) {
  TTeeCanvas3D& canvas = Canvas();
  const bool axes_first = AxesBeforeSeries();
  // The titles and axes take their room from the plot rectangle: each run
  // starts from the one the frame began with.
  const TRect start = PlotRect();
  const auto background = [&] {
    SetPlotRect(start);
    PaintPanelBackground(frameRect);
    for (TChartSeries* s : series_list_)
      if (s->Active()) s->DoBeforeDrawChart();
    DrawTitles();
    ComputeAxisArea();
    ComputeSeriesArea();
    canvas.SetProjectionCentre(width_3d_, FrameRect(), PlotRect());
    DrawWallSet();
    if (axis_visible_ && axes_first) {
      if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
      DrawAxes();
    }
  };
  // A handler might draw differently, or count, when run twice.
  TCanvas* target = canvas.Surface();
  const bool layered = keep_background_ && !OnBeforeDrawAxes && canvas.OffscreenBuffer() &&
                       target != nullptr && target->Surface() != nullptr && !target->HasClip() &&
                       frameRect == TRect{0, 0, target->Surface()->Width(),
                                          target->Surface()->Height()};
  if (!layered) {
    background_.Forget();
    background();
  } else {
    background_.Draw(*target, background);
  }
  // The layer notes what the rest of the frame changes, until it ends.
  struct FrameEnd {
    TBackgroundLayer& layer;
    TCanvas* target;
    ~FrameEnd() {
      if (target != nullptr) layer.FrameDone(*target);
    }
  } frame_end{background_, layered ? target : nullptr};
  if (OnBeforeDrawSeries) OnBeforeDrawSeries(this);
  // A series' notifications may free series, its own or others: walk a copy
  // of the list and pass over those gone.
  std::vector<std::pair<TChartSeries*, std::weak_ptr<const void>>> walked;
  for (TChartSeries* s : series_list_) walked.emplace_back(s, s->Lifetime());
  for (const auto& [s, alive] : walked)
    if (!alive.expired() && s->Active()) DrawOneSeries(*s);
  if (axis_visible_ && !axes_first) {
    if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
    DrawAxes();
  }
  // The zoom rectangle is not part of the frame: the panel draws it over
  // the frame once that is on the control's surface.
  canvas.RestoreDefaults();
  if (OnAfterDraw) OnAfterDraw(this);
}

int TCustomAxisPanel::DepthOrderCount() const {
  int highest = -1;
  for (const TChartSeries* s : series_list_)
    if (s->Active()) highest = std::max(highest, s->DepthOrder());
  return std::max(1, highest + 1);
}

void TCustomAxisPanel::ComputeAxisArea() {
  for (TCustomChartAxis* axis : axes_) axis->RecomputeRange();
  if (View3D()) {
    int size = static_cast<int>(std::lround(PlotWidth() * Chart3DPercent() * 0.001));
    if (!View3DOptions().Orthogonal()) size *= 2;
    series_width_3d_ = series_height_3d_ = size;
    width_3d_ = height_3d_ = size * DepthOrderCount();
  } else {
    series_width_3d_ = series_height_3d_ = width_3d_ = height_3d_ = 0;
  }
  RecalcChartSize();
  // A label band can hang on the label step, so on the axis' length, which
  // the bands decide. The first pass measures each axis as long as the
  // rectangle left to it; when the lengths it ends with differ, a second
  // pass measures with those. No length from an earlier frame takes part,
  // so equal state gives an equal frame.
  const TRect start = PlotRect();
  std::vector<int> measured;
  ReserveAxesSpace(start, &measured);
  bool moved = false;
  for (size_t i = 0; i < axes_.size(); ++i)
    moved = moved || (measured[i] >= 0 && axes_[i]->PixelLength() != measured[i]);
  if (moved) ReserveAxesSpace(start, nullptr);
}

void TCustomAxisPanel::ReserveAxesSpace(const TRect& start, std::vector<int>* measured) {
  // -1: not measured (the axis takes no room).
  if (measured != nullptr) measured->assign(axes_.size(), -1);
  TRect current = start;
  for (size_t i = 0; i < axes_.size(); ++i) {
    TCustomChartAxis& axis = *axes_[i];
    if (!IsAxisVisible(axis)) continue;
    if (measured != nullptr) {
      axis.PlacePixelsIn(current);
      (*measured)[i] = axis.PixelLength();
    }
    TRect shrunk = current;
    ReserveSpace(axis, Canvas(), shrunk, IsStandardAxis(&axis));
    const TRect kept = IntersectRect(shrunk, current);
    if (!kept.IsEmpty()) current = kept;
  }
  SetPlotRect(current);
  RecalcChartSize();
  for (TCustomChartAxis* axis : axes_) axis->PlacePixels();
}

void TCustomAxisPanel::DrawAxes() {
  for (TCustomChartAxis* axis : axes_)
    if (IsAxisVisible(*axis)) DrawAxis(*axis, Canvas(), true);
}

void TCustomAxisPanel::DrawOneSeries(TChartSeries& series) {
  series.ComputeVisibleRange();
  if (series.FirstVisible() == -1) return;
  const auto alive = series.Lifetime();
  // A copy runs: a handler that frees the series frees the original too.
  if (const TNotifyEvent before = series.BeforeDrawValues) before(&series);
  if (alive.expired()) return;
  TTeeCanvas3D& canvas = Canvas();
  // A canvas that turns the whole scene cannot clip to a flat rectangle.
  const bool clip = clip_points_ && !canvas.FullRotationCapable();
  if (clip) canvas.ClipPlotArea(PlotRect(), 0, width_3d_);
  try {
    series.DrawAllPoints();
  } catch (...) {
    if (clip) canvas.ClearClip();
    throw;
  }
  if (clip) canvas.ClearClip();
  if (const TNotifyEvent after = series.AfterDrawValues) after(&series);
}

}  // namespace nitko
