#pragma once

#include <string>

#include "chart/axis_pixel_map.h"
#include "chart/chart_pen.h"
#include "framework/font.h"
#include "framework/persistent.h"
#include "framework/types.h"

namespace nitko {

class TCustomAxisPanel;
class TCustomChartAxis;

enum class TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

// Title of an axis: its caption and rotation.
class TChartAxisTitle : public TPersistent {
 public:
  // Repaints go to the axis' chart, whichever that is at the time.
  TChartAxisTitle(const TCustomChartAxis* axis, int angle);
  TChartAxisTitle(const TChartAxisTitle&) = delete;
  TChartAxisTitle& operator=(const TChartAxisTitle&) = delete;

  int Angle() const { return angle_; }
  // Refused outside 0..360.
  void SetAngle(int value);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }

 private:
  void Repaint() const;

  const TCustomChartAxis* axis_;
  int angle_;
  std::string caption_;
  TFont font_;
};

// One axis of a chart: its range from the attached series, its place in
// pixels, and the mapping between values and pixels.
class TCustomChartAxis : public TPersistent {
 public:
  TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool far_side, bool depth = false);
  ~TCustomChartAxis() override;
  TCustomChartAxis(const TCustomChartAxis&) = delete;
  TCustomChartAxis& operator=(const TCustomChartAxis&) = delete;

  TCustomAxisPanel* ParentChart() const { return chart_; }

  // Range
  bool Automatic() const { return automatic_; }
  void SetAutomatic(bool value);
  bool AutomaticMaximum() const { return automatic_maximum_; }
  void SetAutomaticMaximum(bool value);
  bool AutomaticMinimum() const { return automatic_minimum_; }
  void SetAutomaticMinimum(bool value);
  double Minimum() const { return minimum_; }
  void SetMinimum(double value);
  double Maximum() const { return maximum_; }
  void SetMaximum(double value);
  // A fixed range in one call; the ends may come in either order.
  void SetRange(double a, double b);
  double Increment() const { return increment_; }
  void SetIncrement(double value);
  bool Logarithmic() const { return logarithmic_; }
  void SetLogarithmic(bool value);
  int LogarithmicBase() const { return logarithmic_base_; }
  void SetLogarithmicBase(int value);
  bool Inverted() const { return inverted_; }
  void SetInverted(bool value);

  // Labels
  bool ExactDateTime() const { return exact_date_time_; }
  void SetExactDateTime(bool value);
  const std::string& DateTimeFormat() const { return date_time_format_; }
  void SetDateTimeFormat(const std::string& value);
  const std::string& AxisValuesFormat() const { return axis_values_format_; }
  void SetAxisValuesFormat(const std::string& value);
  bool Labels() const { return labels_; }
  void SetLabels(bool value);
  int LabelsAngle() const { return labels_angle_; }
  // Refused outside 0..360.
  void SetLabelsAngle(int value);
  bool LabelsMultiLine() const { return labels_multi_line_; }
  void SetLabelsMultiLine(bool value);
  bool LabelsOnAxis() const { return labels_on_axis_; }
  void SetLabelsOnAxis(bool value);
  int LabelsSeparation() const { return labels_separation_; }
  void SetLabelsSeparation(int value);
  int LabelsSize() const { return labels_size_; }
  void SetLabelsSize(int value);
  TAxisLabelStyle LabelStyle() const { return label_style_; }
  void SetLabelStyle(TAxisLabelStyle value);
  bool RoundFirstLabel() const { return round_first_label_; }
  void SetRoundFirstLabel(bool value);

  // Ticks and grid
  int TickLength() const { return tick_length_; }
  void SetTickLength(int value);
  int TickInnerLength() const { return tick_inner_length_; }
  void SetTickInnerLength(int value);
  bool TickOnLabelsOnly() const { return tick_on_labels_only_; }
  void SetTickOnLabelsOnly(bool value);
  int MinorTickLength() const { return minor_tick_length_; }
  void SetMinorTickLength(int value);
  int MinorTickCount() const { return minor_tick_count_; }
  void SetMinorTickCount(int value);
  bool GridCentered() const { return grid_centered_; }
  void SetGridCentered(bool value);

  // Pens and font; a change to any of them repaints the chart.
  TDarkGrayPen& Ticks() { return ticks_; }
  TDarkGrayPen& TicksInner() { return ticks_inner_; }
  TDarkGrayPen& MinorTicks() { return minor_ticks_; }
  TDottedGrayPen& Grid() { return grid_; }
  TChartHiddenPen& MinorGrid() { return minor_grid_; }
  TChartAxisPen& Axis() { return axis_; }
  TFont& LabelsFont() { return labels_font_; }
  const TDarkGrayPen& Ticks() const { return ticks_; }
  const TDarkGrayPen& TicksInner() const { return ticks_inner_; }
  const TDarkGrayPen& MinorTicks() const { return minor_ticks_; }
  const TDottedGrayPen& Grid() const { return grid_; }
  const TChartHiddenPen& MinorGrid() const { return minor_grid_; }
  const TChartAxisPen& Axis() const { return axis_; }
  const TFont& LabelsFont() const { return labels_font_; }

  TChartAxisTitle& Title() { return title_; }
  const TChartAxisTitle& Title() const { return title_; }
  int TitleSize() const { return title_size_; }
  void SetTitleSize(int value);

  // Placement, in percent of the plot rectangle
  double StartPosition() const { return start_position_; }
  void SetStartPosition(double value);
  double EndPosition() const { return end_position_; }
  void SetEndPosition(double value);
  double PositionPercent() const { return position_percent_; }
  void SetPositionPercent(double value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

  bool IsHorizontal() const { return horizontal_; }
  bool OnFarSide() const { return far_side_; }
  bool ForDepth() const { return depth_; }

  // Working fields of the current drawing.
  double RangeMin() const { return range_min_; }
  double RangeMax() const { return range_max_; }
  double RangeSpan() const { return range_span_; }
  bool RangeIsDateTime() const { return range_is_date_time_; }
  int PixelStart() const { return pixel_start_; }
  int PixelEnd() const { return pixel_end_; }
  int PixelLength() const { return pixel_length_; }
  int PixelCenter() const { return pixel_center_; }
  int AxisLinePos = 0;
  int LabelsPos = 0;
  int TitlePos = 0;

  void RecomputeRange();
  // Widens the range so that start_margin / end_margin pixels stay free at
  // the start (left or top) and end (right or bottom) of the axis.
  void WidenForMargins(int start_margin, int end_margin);
  // Places the axis ends along the chart's PlotRect, or along plot.
  void PlacePixels();
  void PlacePixelsIn(const TRect& plot);
  // Places the axis ends directly; drawing uses PlacePixels.
  void SetPixels(int start, int end);

  int PixelOf(double v) const { return horizontal_ ? PixelOfHoriz(v) : PixelOfVert(v); }
  int PixelOfHoriz(double v) const;
  int PixelOfVert(double v) const;
  // The mapping PixelOfHoriz (horizontal) or PixelOfVert uses, as it stands.
  TAxisPixelMap PixelMap(bool horizontal) const;
  double ValueAtPixel(int p) const;
  bool DateTimeFromSeries() const;
  // RangeIsDateTime := DateTimeFromSeries(), as each drawing step begins.
  void RefreshRangeIsDateTime() { range_is_date_time_ = DateTimeFromSeries(); }

 private:
  friend class TCustomAxisPanel;
  int PixelOfValue(double v, bool horizontal) const;
  double LogLow() const;
  double LogHigh() const;

  TCustomAxisPanel* chart_;
  bool horizontal_;
  bool far_side_;
  bool depth_;

  bool automatic_ = true;
  bool automatic_maximum_ = true;
  bool automatic_minimum_ = true;
  double minimum_ = 0;
  double maximum_ = 0;
  double increment_ = 0;
  bool logarithmic_ = false;
  int logarithmic_base_ = 10;
  bool inverted_ = false;
  bool exact_date_time_ = true;
  std::string date_time_format_;
  std::string axis_values_format_ = "#,##0.###";
  bool labels_ = true;
  int labels_angle_ = 0;
  bool labels_multi_line_ = false;
  bool labels_on_axis_ = true;
  int labels_separation_ = 10;
  int labels_size_ = 0;
  TAxisLabelStyle label_style_ = TAxisLabelStyle::talAuto;
  bool round_first_label_ = true;
  int tick_length_ = 4;
  int tick_inner_length_ = 0;
  bool tick_on_labels_only_ = true;
  int minor_tick_length_ = 2;
  int minor_tick_count_ = 3;
  bool grid_centered_ = false;
  TDarkGrayPen ticks_;
  TDarkGrayPen ticks_inner_;
  TDarkGrayPen minor_ticks_;
  TDottedGrayPen grid_;
  TChartHiddenPen minor_grid_;
  TChartAxisPen axis_;
  TFont labels_font_;
  TChartAxisTitle title_;
  int title_size_ = 0;
  double start_position_ = 0;
  double end_position_ = 100;
  double position_percent_ = 0;
  bool visible_ = true;

  double range_min_ = 0;
  double range_max_ = 0;
  double range_span_ = 0;
  bool range_is_date_time_ = false;
  int pixel_start_ = 0;
  int pixel_end_ = 0;
  int pixel_length_ = 0;
  int pixel_center_ = 0;
};

class TChartAxis : public TCustomChartAxis {
 public:
  using TCustomChartAxis::TCustomChartAxis;
};

// The axis along the depth of a 3D view.
class TChartDepthAxis : public TChartAxis {
 public:
  explicit TChartDepthAxis(TCustomAxisPanel* chart);
};

}  // namespace nitko
