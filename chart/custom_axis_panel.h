#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/chart_series_list.h"
#include "framework/colors.h"
#include "framework/component.h"
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

// The chart panel as far as its series are concerned: it holds them in
// order, gives new ones a free palette colour and collects repaint requests.
class TCustomAxisPanel : public TComponent {
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

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  // The colour behind the plot area; clDefault means none of its own.
  virtual TColor BackColor() const { return back_color_; }
  virtual void SetBackColor(TColor value);

  virtual void RequestRepaint();
  long long RepaintRequestCount() const { return repaint_requests_.load(); }

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
  bool View3D() const { return view_3d_; }
  void SetView3D(bool value);
  // Depth of the 3D view in pixels; 0 in a flat chart.
  int Width3D() const { return width_3d_; }
  void SetWidth3D(int value) { width_3d_ = value; }
  // The size of the wall on the axis' side; no walls are drawn yet.
  virtual int AxisWallSize(const TCustomChartAxis& axis) const;
  // While printing, white label texts are drawn black.
  bool Printing() const { return printing_; }
  void SetPrinting(bool value) { printing_ = value; }

  // Widens the axis' range by the margins its active series ask for, on
  // the sides whose end of the axis is automatic.
  void ApplySeriesMargins(TCustomChartAxis& axis) const;
  // The same for the top, left, right and bottom axes, in that order.
  void ComputeSeriesArea() const;

  TAxisOnGetLabel OnGetAxisLabel;
  TAxisOnGetNextLabel OnGetNextAxisLabel;

  // The extreme of the values the axis shows, over the series attached to it.
  double SeriesExtreme(const TCustomChartAxis& axis, bool want_minimum, bool horizontal) const;

  // Walls, grid and series are drawn inside it; the axes lie around it.
  const TRect& PlotRect() const { return plot_rect_; }
  void SetPlotRect(const TRect& value) { plot_rect_ = value; }
  int PlotWidth() const { return plot_rect_.Width(); }
  int PlotHeight() const { return plot_rect_.Height(); }

  // Paging: 0 points per page shows all points.
  int MaxPointsPerPage() const { return max_points_per_page_; }
  void SetMaxPointsPerPage(int value);
  int Page() const { return page_; }
  void SetPage(int value);
  bool ScaleLastPage() const { return scale_last_page_; }
  void SetScaleLastPage(bool value);

 private:
  TColor FreeSeriesColor() const;
  bool IsStandardAxis(const TCustomChartAxis* axis) const;
  // The first series attached to the axis, preferring active ones.
  const TChartSeries* FirstSeriesOn(const TCustomChartAxis& axis) const;
  bool HasActiveSeriesOn(const TCustomChartAxis& axis) const;
  double PagedExtreme(const TChartSeries& series, bool want_minimum) const;
  double DepthExtreme(const TCustomChartAxis& axis, bool want_minimum) const;

  TChartSeriesList series_list_;
  TColor color_ = clBtnFace;
  TColor back_color_ = clDefault;
  std::atomic<long long> repaint_requests_{0};

  std::vector<TCustomChartAxis*> axes_;
  std::unique_ptr<TChartAxis> bottom_axis_;
  std::unique_ptr<TChartAxis> top_axis_;
  std::unique_ptr<TChartAxis> left_axis_;
  std::unique_ptr<TChartAxis> right_axis_;
  std::unique_ptr<TChartDepthAxis> depth_axis_;

  TRect plot_rect_;
  bool axis_visible_ = true;
  bool view_3d_ = true;
  int width_3d_ = 0;
  bool printing_ = false;
  int max_points_per_page_ = 0;
  int page_ = 1;
  bool scale_last_page_ = true;
};

}  // namespace nitko
