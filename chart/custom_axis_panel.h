#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/background_layer.h"
#include "chart/chart_series_list.h"
#include "chart/tee_panel.h"
#include "framework/colors.h"
#include "framework/events.h"
#include "framework/types.h"

namespace nitko {

class TChartSeries;
class TCustomChartAxis;
class TChartAxis;
class TChartDepthAxis;

// May change the text of an axis label; series is null and valueIndex -1
// for value labels.
using TAxisOnGetLabel = std::function<void(TCustomChartAxis* sender, TChartSeries* series,
                                           int valueIndex, std::string& labelText)>;
// Supplies the value of label labelIndex, or sets stop to end the labels.
using TAxisOnGetNextLabel =
    std::function<void(TCustomChartAxis* sender, int labelIndex, double& labelValue, bool& stop)>;

// Whether axes are drawn under the series (true) or over them; one setting
// for the whole process.
bool AxesBeforeSeries();
void SetAxesBeforeSeries(bool value);

inline constexpr const char* SMaxPointsPerPage = "MaxPointsPerPage must be >= 0";

// The chart panel with its series and axes: it holds the series in order,
// gives new ones a free palette colour, and paints a frame by the fixed
// pipeline of DrawChartContent (background, titles, axis space, walls,
// axes, series).
class TCustomAxisPanel : public TCustomTeePanelExtended {
 public:
  explicit TCustomAxisPanel(TComponent* owner);
  ~TCustomAxisPanel() override;

  const TChartSeriesList& SeriesList() const { return series_list_; }
  TChartSeries* SeriesAt(int index) const { return series_list_.At(index); }
  int SeriesCount() const { return series_list_.Count(); }
  // Takes the series over from any other chart; a series already held is
  // left alone.
  void AddSeries(TChartSeries* series);
  void RemoveSeries(TChartSeries* series);

  // The colour behind the plot area; clDefault means none of its own.
  virtual TColor BackColor() const { return back_color_; }
  virtual void SetBackColor(TColor value);

  // The five axes, also kept in this order in the axis list.
  TChartAxis& BottomAxis() const { return *bottom_axis_; }
  TChartAxis& TopAxis() const { return *top_axis_; }
  TChartAxis& LeftAxis() const { return *left_axis_; }
  TChartAxis& RightAxis() const { return *right_axis_; }
  TChartDepthAxis& DepthAxis() const { return *depth_axis_; }
  const std::vector<TCustomChartAxis*>& Axes() const { return axes_; }
  void RegisterAxis(TCustomChartAxis* axis);
  void UnregisterAxis(TCustomChartAxis* axis);

  bool AxisVisible() const { return axis_visible_; }
  void SetAxisVisible(bool value);
  // Drawn only when axes are shown, the axis itself is, and an active series
  // that uses axes is attached to it (the depth axis: in 3D views).
  bool IsAxisVisible(const TCustomChartAxis& axis) const;
  // Series outside the plot area are cut at its edge.
  bool ClipPoints() const { return clip_points_; }
  void SetClipPoints(bool value);
  // In 3D the left and bottom walls are drawn too.
  bool View3DWalls() const { return view_3d_walls_; }
  void SetView3DWalls(bool value);
  // Depth of the 3D view in pixels; 0 in a flat chart.
  int Width3D() const { return width_3d_; }
  void SetWidth3D(int value) { width_3d_ = value; }
  int Height3D() const { return height_3d_; }
  int SeriesWidth3D() const { return series_width_3d_; }
  int SeriesHeight3D() const { return series_height_3d_; }
  // The size of the wall on the axis' side; no walls are drawn yet.
  virtual int AxisWallSize(const TCustomChartAxis& axis) const;

  // Widens the axis' range by the margins its active series ask for, on
  // the sides whose end of the axis is automatic.
  void ApplySeriesMargins(TCustomChartAxis& axis) const;
  // The same for the top, left, right and bottom axes, in that order.
  void ComputeSeriesArea() const;

  TAxisOnGetLabel OnGetAxisLabel;
  TAxisOnGetNextLabel OnGetNextAxisLabel;

  // The extreme of the values the axis shows, over the series attached to it.
  double SeriesExtreme(const TCustomChartAxis& axis, bool want_minimum, bool horizontal) const;

  // Paging: 0 points per page shows all points. Raises ChartException below
  // 0.
  int MaxPointsPerPage() const { return max_points_per_page_; }
  void SetMaxPointsPerPage(int value);
  // 1 when there is no paging.
  int NumPages() const;
  int Page() const { return page_; }
  // Clamped to 1..NumPages().
  void SetPage(int value);
  bool ScaleLastPage() const { return scale_last_page_; }
  void SetScaleLastPage(bool value);

  void DrawChartContent(const TRect& frameRect) override;
  // Whether frames start from the kept background when it is unchanged
  // (they look the same either way).
  bool KeepBackground() const { return keep_background_; }
  void SetKeepBackground(bool value) { keep_background_ = value; }
  const TBackgroundLayer& Background() const { return background_; }

  TNotifyEvent OnBeforeDrawAxes;
  TNotifyEvent OnBeforeDrawSeries;
  TNotifyEvent OnAfterDraw;

 protected:
  // Ranges, depth sizes, the room the axes take from PlotRect, pixels.
  virtual void ComputeAxisArea();
  // Titles (and a legend) above and below the plot area; none here.
  virtual void DrawTitles() {}
  // The walls around the plot area; none here.
  virtual void DrawWallSet() {}
  // One series: visible range, notifications, clipped points.
  virtual void DrawOneSeries(TChartSeries& series);
  void DrawAxes();
  // Distinct depth orders of the active series, at least 1.
  int DepthOrderCount() const;
  bool IsStandardAxis(const TCustomChartAxis* axis) const;

 private:
  TColor FreeSeriesColor() const;
  // The first series attached to the axis, preferring active ones.
  const TChartSeries* FirstSeriesOn(const TCustomChartAxis& axis) const;
  bool HasActiveSeriesOn(const TCustomChartAxis& axis) const;
  double PagedExtreme(const TChartSeries& series, bool want_minimum) const;
  double DepthExtreme(const TCustomChartAxis& axis, bool want_minimum) const;
  // One layout pass from start: every visible axis takes its room, then
  // PlotRect and the pixels are set. With measured, each axis is first
  // placed along the rectangle left to it and that length is recorded.
  void ReserveAxesSpace(const TRect& start, std::vector<int>* measured);

  TChartSeriesList series_list_;
  TColor back_color_ = clDefault;

  std::vector<TCustomChartAxis*> axes_;
  std::unique_ptr<TChartAxis> bottom_axis_;
  std::unique_ptr<TChartAxis> top_axis_;
  std::unique_ptr<TChartAxis> left_axis_;
  std::unique_ptr<TChartAxis> right_axis_;
  std::unique_ptr<TChartDepthAxis> depth_axis_;

  bool axis_visible_ = true;
  bool clip_points_ = true;
  bool view_3d_walls_ = true;
  int width_3d_ = 0;
  int height_3d_ = 0;
  int series_width_3d_ = 0;
  int series_height_3d_ = 0;
  int max_points_per_page_ = 0;
  int page_ = 1;
  bool scale_last_page_ = true;
  bool keep_background_ = true;
  TBackgroundLayer background_;
};

}  // namespace nitko
