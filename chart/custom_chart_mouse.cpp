// TCustomChart's mouse handling: presses on its parts, the zoom rectangle,
// scrolling by drag and by wheel, and undoing both.

#include <algorithm>
#include <cstdlib>

#include "chart/chart_axis.h"
#include "chart/chart_series.h"
#include "chart/custom_chart.h"

namespace nitko {

namespace {

// A press this close to an axis line, across it, hits the axis.
constexpr int kAxisClickTolerance = 3;
// A zoom drag must be longer than this both ways to zoom or undo.
constexpr int kMinZoomDrag = 16;
// One wheel notch in wheel-delta units.
constexpr int kWheelNotch = 120;

bool HasKeys(TShiftState shift, TShiftState keys) {
  return (shift & keys) == keys;
}

bool Holds(TShiftState shift, TMouseButton button) {
  switch (button) {
    case TMouseButton::mbLeft:
      return (shift & ssLeft) != 0;
    case TMouseButton::mbRight:
      return (shift & ssRight) != 0;
    case TMouseButton::mbMiddle:
      return (shift & ssMiddle) != 0;
  }
  return false;
}

}  // namespace

TChartMouseSettings& ChartMouseSettings() {
  static TChartMouseSettings settings;
  return settings;
}

void TCustomChart::Loaded() {
  TCustomAxisPanel::Loaded();
  loaded_cursor_ = Cursor();
}

// --- pressing ---------------------------------------------------------------

template <class Handler>
bool TCustomChart::ConsumedBy(const std::weak_ptr<const void>& part, const Handler& handler) {
  const auto alive = Lifetime();
  cancel_mouse_ = true;
  handler();
  // A handler that destroyed the chart or the part took the press with it.
  return alive.expired() || part.expired() || cancel_mouse_;
}

void TCustomChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  const auto alive = Lifetime();
  TCustomAxisPanel::MouseDown(button, shift, x, y);
  if (alive.expired() || ZoomDrag().Active || ScrollDrag().Active) return;
  if (cancel_mouse_) {
    cancel_mouse_ = false;
    return;
  }
  PressAt(button, shift, x, y);
  if (!alive.expired()) cancel_mouse_ = false;
}

void TCustomChart::PressAt(TMouseButton button, TShiftState shift, int x, int y) {
  // A drag that starts takes the press.
  const auto dragged = [&] {
    StartDrag(button, shift, x, y);
    return ZoomDrag().Active || ScrollDrag().Active;
  };
  const TPoint at = Point(x, y);
  const auto alive = Lifetime();
  std::weak_ptr<const void> series_alive;
  bool consumed = false;
  int index = -1;
  // The click tests run OnClickPointer on a marker they hit.
  const auto clicked = [&](TChartSeries& s) {
    series_alive = s.Lifetime();
    return s.Clicked(x, y);
  };
  if (TChartSeries* series = LastSeriesWith(clicked, index)) {
    // A handler that freed the series or the chart took the press with it.
    if (alive.expired() || series_alive.expired()) return;
    // A copy: the handler may free the series that holds it.
    const TSeriesClick own = (shift & ssDouble) ? series->OnDblClick : series->OnClick;
    if (own) consumed = ConsumedBy(series_alive, [&] { own(series, index, button, shift, x, y); });
    if (!consumed && OnClickSeries)
      consumed = ConsumedBy(series_alive,
                            [&] { OnClickSeries(this, series, index, button, shift, x, y); });
    if (!consumed) consumed = dragged();
  } else if (TCustomChartAxis* axis = AxisAt(x, y)) {
    if (OnClickAxis)
      consumed = ConsumedBy(alive, [&] { OnClickAxis(this, axis, button, shift, x, y); });
    if (!consumed) consumed = dragged();
  } else if ((Title().Visible() && Title().TitleRect().Contains(at)) ||
             (Foot().Visible() && Foot().TitleRect().Contains(at))) {
    // Titles take no part in zooming or scrolling.
  } else if (std::any_of(SeriesList().begin(), SeriesList().end(),
                         [](const TChartSeries* s) { return s->Active(); }) &&
             PlotRect().Contains(at)) {
    if (OnClickBackground)
      consumed = ConsumedBy(alive, [&] { OnClickBackground(this, button, shift, x, y); });
    if (!consumed) consumed = dragged();
  } else if (Legend().Visible() && legend_rect_.Contains(at)) {
    if (OnClickLegend)
      consumed = ConsumedBy(alive, [&] { OnClickLegend(this, button, shift, x, y); });
  }
  if (!consumed && OnClickBackground) OnClickBackground(this, button, shift, x, y);
}

template <class PointOf>
TChartSeries* TCustomChart::LastSeriesWith(const PointOf& pointOf, int& valueIndex) const {
  for (int i = SeriesCount() - 1; i >= 0; --i) {
    TChartSeries* s = SeriesAt(i);
    if (!s->Active()) continue;
    // Nothing after a hit: its events may have freed the series or the chart.
    valueIndex = pointOf(*s);
    if (valueIndex != -1) return s;
  }
  valueIndex = -1;
  return nullptr;
}

TCustomChartAxis* TCustomChart::AxisAt(int x, int y) const {
  for (TCustomChartAxis* axis : Axes()) {
    if (axis->ForDepth() || !IsAxisVisible(*axis)) continue;
    const int along = axis->IsHorizontal() ? x : y;
    const int across = axis->IsHorizontal() ? y : x;
    const int lo = std::min(axis->PixelStart(), axis->PixelEnd());
    const int hi = std::max(axis->PixelStart(), axis->PixelEnd());
    const int reach = kAxisClickTolerance + axis->Axis().Width() / 2;
    if (along >= lo && along <= hi && std::abs(across - axis->AxisLinePos) <= reach) return axis;
  }
  return nullptr;
}

void TCustomChart::StartDrag(TMouseButton button, TShiftState shift, int x, int y) {
  const TChartMouseSettings& m = ChartMouseSettings();
  if (AllowZoom() && button == m.ZoomButton && HasKeys(shift, m.ZoomKeys)) {
    SetCursor(TCursor::crDefault);
    ZoomDrag().Activate(x, y);
    ShowZoomRectangle();
    SurfaceChanged();
  }
  if (AllowPanning() != TPanningMode::pmNone && button == m.ScrollButton &&
      HasKeys(shift, m.ScrollKeys)) {
    SetCursor(TCursor::crDefault);
    ScrollDrag().Activate(x, y);
  }
}

// --- moving -----------------------------------------------------------------

void TCustomChart::MouseMove(TShiftState shift, int x, int y) {
  const auto alive = Lifetime();
  TCustomAxisPanel::MouseMove(shift, x, y);
  if (alive.expired()) return;
  TZoomPanningRecord& zoom = ZoomDrag();
  TDragRecord& scroll = ScrollDrag();
  const TChartMouseSettings& m = ChartMouseSettings();
  // A release the chart never saw (it went to a window that popped up
  // meanwhile): the drag ends without zooming or scrolling.
  if (zoom.Active && !Holds(shift, m.ZoomButton)) {
    zoom.Active = false;
    HideZoomRectangle();
    SurfaceChanged();
  }
  if (scroll.Active && !Holds(shift, m.ScrollButton)) scroll.Active = false;
  if (zoom.Active) {
    if (x == zoom.X1 && y == zoom.Y1) return;
    HideZoomRectangle();
    zoom.X1 = x;
    zoom.Y1 = y;
    ShowZoomRectangle();
    SurfaceChanged();
    return;
  }
  if (scroll.Active) {
    if (!PlotRect().Contains(Point(x, y))) {
      scroll.Active = false;
      return;
    }
    if (x == scroll.X1 && y == scroll.Y1) return;
    // Not normalised: the distance moved is always from the last pixel
    // seen, whichever way the mouse goes.
    SaveScalesOnce();
    // OnAllowScroll may destroy the chart.
    const bool noted_x = ScrollAxes(true, x, scroll.X1);
    if (alive.expired()) return;
    const bool noted_y = ScrollAxes(false, y, scroll.Y1);
    if (alive.expired()) return;
    scroll.X1 = x;
    scroll.Y1 = y;
    if (noted_x || noted_y) {
      if (OnScroll) OnScroll(this);
      if (!alive.expired()) RequestRepaint();
    }
    return;
  }
  NoteHover(x, y);
  for (TChartSeries* s : SeriesList())
    s->ChartMouseEvent(TChartMouseEventKind::cmeMove, TMouseButton::mbLeft, shift, x, y);
}

void TCustomChart::NoteHover(int x, int y) {
  int index = -1;
  const TChartSeries* series = LastSeriesWith(
      [&](const TChartSeries& s) {
        return s.Cursor() == TCursor::crDefault ? -1 : s.PointUnder(x, y);
      },
      index);
  SetCursor(series != nullptr ? series->Cursor() : loaded_cursor_);
}

void TCustomChart::MouseLeave() {
  TCustomAxisPanel::MouseLeave();
  SetCursor(loaded_cursor_);
  ScrollDrag().Active = false;
}

// --- releasing --------------------------------------------------------------

void TCustomChart::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const auto alive = Lifetime();
  TCustomAxisPanel::MouseUp(button, shift, x, y);
  if (alive.expired()) return;
  for (TChartSeries* s : SeriesList())
    s->ChartMouseEvent(TChartMouseEventKind::cmeUp, button, shift, x, y);
  TZoomPanningRecord& zoom = ZoomDrag();
  if (zoom.Active && button == ChartMouseSettings().ZoomButton) {
    zoom.Active = false;
    HideZoomRectangle();
    SurfaceChanged();
    zoom.X1 = x;
    zoom.Y1 = y;
    if (std::abs(zoom.X1 - zoom.X0) > kMinZoomDrag && std::abs(zoom.Y1 - zoom.Y0) > kMinZoomDrag) {
      if (zoom.X1 > zoom.X0 && zoom.Y1 > zoom.Y0)
        ZoomToDrag();
      else
        UndoZoom();
      // OnZoom or OnUndoZoom may have destroyed the chart.
      if (alive.expired()) return;
      RequestRepaint();
    }
  }
  ScrollDrag().Active = false;
}

// --- zooming ----------------------------------------------------------------

void TCustomChart::SaveScalesOnce() {
  if (!scales_restored_) return;
  saved_scales_.Save(*this);
  scales_restored_ = false;
}

void TCustomChart::ZoomToDrag() {
  TZoomPanningRecord& z = ZoomDrag();
  z.Normalize();
  ApplyZoom(TopAxis().ValueAtPixel(z.X0), TopAxis().ValueAtPixel(z.X1),
            BottomAxis().ValueAtPixel(z.X0), BottomAxis().ValueAtPixel(z.X1),
            LeftAxis().ValueAtPixel(z.Y1), LeftAxis().ValueAtPixel(z.Y0),
            RightAxis().ValueAtPixel(z.Y1), RightAxis().ValueAtPixel(z.Y0));
}

void TCustomChart::ApplyZoom(double topMin, double topMax, double bottomMin, double bottomMax,
                             double leftMin, double leftMax, double rightMin, double rightMax) {
  SaveScalesOnce();
  struct Target {
    TChartAxis& axis;
    double min, max;
  };
  const Target targets[] = {{LeftAxis(), leftMin, leftMax},
                            {RightAxis(), rightMin, rightMax},
                            {TopAxis(), topMin, topMax},
                            {BottomAxis(), bottomMin, bottomMax}};
  if (AnimatedZoom()) {
    const double factor = ChartMouseSettings().AnimatedZoomFactor;
    for (int step = 1; step < AnimatedZoomSteps(); ++step) {
      for (const Target& t : targets)
        t.axis.SetRange(t.axis.Minimum() + (t.min - t.axis.Minimum()) / factor,
                        t.axis.Maximum() - (t.axis.Maximum() - t.max) / factor);
      Repaint();
      // Each step on screen now: the zoom keeps the GUI thread until it
      // ends, so the next paint cycle would show only the last one.
      SurfaceChanged();
    }
  }
  for (const Target& t : targets) t.axis.SetRange(t.min, t.max);
  is_zoomed_ = true;
  if (OnZoom) OnZoom(this);
}

void TCustomChart::UndoZoom() {
  if (!scales_restored_) {
    saved_scales_.Restore(*this);
    scales_restored_ = true;
  }
  const auto alive = Lifetime();
  if (OnUndoZoom) OnUndoZoom(this);
  if (alive.expired()) return;
  RequestRepaint();
  // Last, so that OnUndoZoom still sees the zoom it undoes.
  is_zoomed_ = false;
}

// --- scrolling --------------------------------------------------------------

bool TCustomChart::ScrollAxes(bool horizontal, int newPixel, int oldPixel) {
  const TPanningMode mode = AllowPanning();
  const TPanningMode own = horizontal ? TPanningMode::pmHorizontal : TPanningMode::pmVertical;
  if (newPixel == oldPixel || (mode != own && mode != TPanningMode::pmBoth)) return false;
  const auto alive = Lifetime();
  for (TCustomChartAxis* axis : Axes()) {
    if (axis->ForDepth() || axis->IsHorizontal() != horizontal) continue;
    const double delta = axis->ValueAtPixel(oldPixel) - axis->ValueAtPixel(newPixel);
    double new_min = axis->Minimum() + delta;
    double new_max = axis->Maximum() + delta;
    bool allow = true;
    if (OnAllowScroll) OnAllowScroll(axis, new_min, allow, new_max);
    // A handler that destroyed the chart took its axes with it.
    if (alive.expired()) return true;
    if (allow) axis->SetRange(new_min, new_max);
  }
  // Noted even when every axis refused.
  return true;
}

void TCustomChart::MouseWheel(TShiftState shift, int wheelDelta, int x, int y) {
  const auto alive = Lifetime();
  TCustomAxisPanel::MouseWheel(shift, wheelDelta, x, y);
  if (alive.expired()) return;
  // Fine-grained wheels send parts of a notch; they add up to whole ones.
  // A fast turn can carry hundreds of notches in one event: they scroll as
  // one step, so the chart repaints once per axis and not once per notch.
  wheel_delta_ += wheelDelta;
  const int notches = wheel_delta_ / kWheelNotch;
  wheel_delta_ %= kWheelNotch;
  if (notches != 0) WheelScroll(notches < 0, std::abs(notches));
}

void TCustomChart::WheelScroll(bool down, int notches) {
  // Like a drag, so that undoing returns the axes to following the data.
  SaveScalesOnce();
  for (TCustomChartAxis* axis : Axes()) {
    if (axis->IsHorizontal()) continue;
    const double delta = (axis->Maximum() - axis->Minimum()) * 3 * 0.01 * notches;
    const double shift = down ? delta : -delta;
    axis->SetRange(axis->Minimum() + shift, axis->Maximum() + shift);
    Repaint();
  }
}

}  // namespace nitko
