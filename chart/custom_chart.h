#pragma once

#include <memory>

#include "chart/chart_legend.h"
#include "chart/chart_title.h"
#include "chart/chart_wall.h"
#include "chart/custom_axis_panel.h"
#include "chart/saved_scales.h"
#include "framework/cursors.h"
#include "framework/events.h"

namespace nitko {

// Space in pixels between a title and the plot area.
inline constexpr int kTitleDistance = 5;

class TCustomChart;

// Which buttons and keys drag a zoom or a scroll, and how far each step of
// an animated zoom goes (a 1/AnimatedZoomFactor of the remaining way). One
// setting for the whole process, GUI thread only.
struct TChartMouseSettings {
  TMouseButton ZoomButton = TMouseButton::mbLeft;
  TShiftState ZoomKeys = 0;
  TMouseButton ScrollButton = TMouseButton::mbRight;
  TShiftState ScrollKeys = 0;
  double AnimatedZoomFactor = 3.0;
};
TChartMouseSettings& ChartMouseSettings();

// A press on a part of the chart.
using TChartClick =
    std::function<void(TCustomChart* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TChartClickAxis = std::function<void(TCustomChart* sender, TCustomChartAxis* axis,
                                           TMouseButton button, TShiftState shift, int x, int y)>;
using TChartClickSeries =
    std::function<void(TCustomChart* sender, TChartSeries* series, int valueIndex,
                       TMouseButton button, TShiftState shift, int x, int y)>;
// May move the new range of a scrolled axis or refuse it.
using TChartAllowScroll =
    std::function<void(TCustomChartAxis* sender, double& newMinimum, bool& allow,
                       double& newMaximum)>;

// The chart with its title, foot, legend and walls: it draws them around
// and behind the plot area and lets the legend take its room.
class TCustomChart : public TCustomAxisPanel {
 public:
  explicit TCustomChart(TComponent* owner);
  ~TCustomChart() override;

  TChartTitle& Title() { return *title_; }
  TChartTitle& Foot() { return *foot_; }
  TChartLegend& Legend() { return *legend_; }
  TChartWall& BackWall() { return *back_wall_; }
  TChartWall& LeftWall() { return *left_wall_; }
  TChartWall& BottomWall() { return *bottom_wall_; }
  const TChartTitle& Title() const { return *title_; }
  const TChartTitle& Foot() const { return *foot_; }
  const TChartLegend& Legend() const { return *legend_; }
  const TChartWall& BackWall() const { return *back_wall_; }

  // In 3D with walls, the thickness of the left or bottom wall.
  int AxisWallSize(const TCustomChartAxis& axis) const override;
  // Where the legend was drawn in the last frame; empty when it was not.
  const TRect& LegendRect() const { return legend_rect_; }

  // Mouse zoom and scroll. A drag starts on a series, an axis or the plot
  // area: with ZoomButton it draws the zoom rectangle, with ScrollButton
  // it scrolls.
  void StartDrag(TMouseButton button, TShiftState shift, int x, int y);
  // Zooms every side axis to the values under the dragged rectangle.
  void ZoomToDrag();
  void ApplyZoom(double topMin, double topMax, double bottomMin, double bottomMax,
                 double leftMin, double leftMax, double rightMin, double rightMax);
  // The side axes as before the first zoom or scroll.
  void UndoZoom();
  // Moves every axis of that orientation by the values between the two
  // pixels, so that the content follows the mouse. Whether the direction
  // may scroll and the pixels differ (a scroll is then noted). It stops
  // when OnAllowScroll destroys the chart; the caller checks Lifetime().
  bool ScrollAxes(bool horizontal, int newPixel, int oldPixel);
  // Three percent of their span per notch, up or down, on every vertical axis.
  void WheelScroll(bool down, int notches = 1);

  bool IsZoomed() const { return is_zoomed_; }
  bool ScalesRestored() const { return scales_restored_; }
  const TSavedScales& SavedScales() const { return saved_scales_; }
  // A click handler that leaves it set swallows the press.
  bool CancelMouse() const { return cancel_mouse_; }
  void SetCancelMouse(bool value) { cancel_mouse_ = value; }
  // The cursor the chart was given; it returns to it off the series.
  TCursor LoadedCursor() const { return loaded_cursor_; }

  TNotifyEvent OnZoom;
  TNotifyEvent OnUndoZoom;
  TNotifyEvent OnScroll;
  TChartAllowScroll OnAllowScroll;
  TChartClickAxis OnClickAxis;
  TChartClickSeries OnClickSeries;
  TChartClick OnClickLegend;
  TChartClick OnClickBackground;

 protected:
  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseWheel(TShiftState shift, int wheelDelta, int x, int y) override;
  void MouseLeave() override;

  void DrawTitles() override;
  void DrawWallSet() override;
  // One title on top of the plot area or at its bottom; the plot area
  // gives up the room it takes.
  void DrawTitle(TChartTitle& title, bool onTop);
  // The legend box beside (vertical) or above/below the plot area.
  void DrawLegend();

 private:
  // The part of the chart a press at (x, y) hits, and what it does there.
  void PressAt(TMouseButton button, TShiftState shift, int x, int y);
  // Runs an assigned click handler with CancelMouse set; true when the
  // handler left it set, which swallows the press, or destroyed the chart
  // or the part pressed (whose lifetime is given).
  template <class Handler>
  bool ConsumedBy(const std::weak_ptr<const void>& part, const Handler& handler);
  TCustomChartAxis* AxisAt(int x, int y) const;
  // The last active series in which pointOf(series) finds a point (not -1),
  // and that point.
  template <class PointOf>
  TChartSeries* LastSeriesWith(const PointOf& pointOf, int& valueIndex) const;
  void SaveScalesOnce();
  void NoteHover(int x, int y);

  // Canvas pen and brush as the wall asks for.
  void PrepareWall(const TChartWall& wall);
  // Active series the legend lists.
  int LegendItemCount() const;

  std::unique_ptr<TChartTitle> title_;
  std::unique_ptr<TChartTitle> foot_;
  std::unique_ptr<TChartWall> back_wall_;
  std::unique_ptr<TChartWall> left_wall_;
  std::unique_ptr<TChartLegend> legend_;
  std::unique_ptr<TChartWall> bottom_wall_;
  TRect legend_rect_;

  TSavedScales saved_scales_;
  bool scales_restored_ = true;
  bool is_zoomed_ = false;
  bool cancel_mouse_ = false;
  TCursor loaded_cursor_ = TCursor::crDefault;
  int wheel_delta_ = 0;  // turned but not yet a whole notch
};

}  // namespace nitko
