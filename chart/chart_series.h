#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "chart/chart_value_list.h"
#include "chart/chart_value_lists.h"
#include "chart/series_marks.h"
#include "chart/two_ended_array.h"
#include "framework/colors.h"
#include "framework/component.h"
#include "framework/cursors.h"
#include "framework/events.h"
#include "framework/types.h"

namespace nitko {

class TCustomAxisPanel;
class TTeeCanvas3D;
class TCustomChartAxis;
class TChartSeries;

enum class THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum class TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// Which changes of its source a dependent series follows.
enum class TSeriesRecalcOption : unsigned {
  rOnDelete = 1,
  rOnModify = 2,
  rOnInsert = 4,
  rOnClear = 8
};

class TSeriesRecalcOptions {
 public:
  constexpr TSeriesRecalcOptions() = default;
  constexpr TSeriesRecalcOptions(std::initializer_list<TSeriesRecalcOption> options) {
    for (TSeriesRecalcOption o : options) bits_ |= static_cast<unsigned>(o);
  }
  static constexpr TSeriesRecalcOptions All() {
    return {TSeriesRecalcOption::rOnDelete, TSeriesRecalcOption::rOnModify,
            TSeriesRecalcOption::rOnInsert, TSeriesRecalcOption::rOnClear};
  }
  constexpr bool Contains(TSeriesRecalcOption o) const {
    return (bits_ & static_cast<unsigned>(o)) != 0;
  }
  constexpr bool operator==(const TSeriesRecalcOptions&) const = default;

 private:
  unsigned bits_ = 0;
};

// What happened to a series' points, as told to its dependents.
enum class TSeriesChange { scCleared, scPointInserted, scPointDeleted, scReload, scModified };

using TSeriesOnBeforeAdd = std::function<bool(TChartSeries* sender)>;
using TSeriesOnAfterAdd = std::function<void(TChartSeries* sender, int valueIndex)>;
using TSeriesOnClear = std::function<void(TChartSeries* sender)>;
using TSeriesOnGetMarkText =
    std::function<void(TChartSeries* sender, int valueIndex, std::string& markText)>;

// A press on one of the series' points.
using TSeriesClick = std::function<void(TChartSeries* sender, int valueIndex, TMouseButton button,
                                        TShiftState shift, int x, int y)>;
enum class TChartMouseEventKind { cmeMove, cmeUp };

// Depth order meaning "let the chart decide".
inline constexpr int kAutoZOrder = -1;

// A chart series, data side: parallel columns of x, y, colour and label per
// point. Used on the GUI thread only; workers hand their points over to it.
class TChartSeries : public TComponent {
 public:
  explicit TChartSeries(TComponent* owner);
  ~TChartSeries() override;

  // The add operation; returns the point's index, or -1 when OnBeforeAdd
  // refused it.
  virtual int AddPoint(double x, double y, const std::string& label, TColor color);
  int AddOneValue(double value, const std::string& label, TColor color);
  int AddGap(const std::string& label);
  int AddGapXY(double x, double y, const std::string& label);
  // PointColor(index) == clNone; palette colours never are.
  bool IsGap(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= colors_.size()) return series_color_ == clNone;
    const TColor c = colors_[static_cast<size_t>(index)];
    return c != clDefault ? c == clNone : !color_each_point_ && series_color_ == clNone;
  }

  int PointCount() const { return x_values_.ValueCount(); }
  virtual void ClearPoints();
  virtual void DeletePoint(int index);
  void SwapPoints(int i, int j);

  virtual TColor PointColor(int index) const;
  void SetPointColor(int index, TColor color);
  virtual std::string PointLabel(int index) const;
  // Entries in the label column, empty ones included.
  int LabelCount() const { return static_cast<int>(labels_.size()); }
  // The text a point's mark shows, by Marks().Style, after OnGetMarkText.
  virtual std::string MarkText(int index) const;
  virtual double XOf(int index) const { return x_values_.ValueAt(index); }
  virtual double YOf(int index) const { return y_values_.ValueAt(index); }

  virtual double HighestX() const { return x_values_.HighestValue(); }
  virtual double HighestY() const { return y_values_.HighestValue(); }
  virtual double LowestX() const { return x_values_.LowestValue(); }
  virtual double LowestY() const { return y_values_.LowestValue(); }
  virtual double HighestZ() const { return DepthOrder(); }
  virtual double LowestZ() const { return DepthOrder(); }

  TChartValueList& XValues() { return x_values_; }
  const TChartValueList& XValues() const { return x_values_; }
  TChartValueList& YValues() { return y_values_; }
  const TChartValueList& YValues() const { return y_values_; }
  // Copy the settings of another list, then repaint.
  void SetXValues(const TChartValueList& source);
  void SetYValues(const TChartValueList& source);
  TChartValueLists& ValueLists() { return value_lists_; }
  const TChartValueLists& ValueLists() const { return value_lists_; }

  // The list of the series' main values; the other one is kept ordered.
  TChartValueList& MainValueList() { return main_list_is_y_ ? y_values_ : x_values_; }
  const TChartValueList& MainValueList() const { return main_list_is_y_ ? y_values_ : x_values_; }
  bool MainListIsY() const { return main_list_is_y_; }

  // Asks the chart for a repaint; nothing without a chart.
  void RepaintOwner();

  // Dependents take their points from this series. Adding one reloads it
  // from here; a null, duplicate, self or cyclic link is ignored.
  void AddDependent(TChartSeries* dependent);
  void RemoveDependent(TChartSeries* dependent);
  int DependentCount() const { return static_cast<int>(dependents_.size()); }
  TChartSeries* Dependent(int index) const;
  void NotifyDependents(TSeriesChange change, int index = -1);
  TSeriesRecalcOptions RecalcOptions() const { return recalc_options_; }
  void SetRecalcOptions(TSeriesRecalcOptions value) { recalc_options_ = value; }

  TCustomAxisPanel* ParentChart() const { return parent_chart_; }
  virtual void SetParentChart(TCustomAxisPanel* chart);

  bool Active() const { return active_; }
  virtual void SetActive(bool value);
  bool ColorEachPoint() const { return color_each_point_; }
  // Turning it off also resets every stored point colour to clDefault.
  virtual void SetColorEachPoint(bool value);
  TColor SeriesColor() const { return series_color_; }
  virtual void SetSeriesColor(TColor value);
  THorizAxis HorizAxis() const { return horiz_axis_; }
  void SetHorizAxis(THorizAxis value);
  TVertAxis VertAxis() const { return vert_axis_; }
  void SetVertAxis(TVertAxis value);
  // The axes aCustomHorizAxis / aCustomVertAxis resolve to; null falls back
  // to the bottom / left axis. Only an axis of the series' chart is taken,
  // and leaving the chart forgets it.
  TCustomChartAxis* CustomHorizAxis() const { return custom_horiz_axis_; }
  void SetCustomHorizAxis(TCustomChartAxis* axis);
  TCustomChartAxis* CustomVertAxis() const { return custom_vert_axis_; }
  void SetCustomVertAxis(TCustomChartAxis* axis);
  bool ShowInLegend() const { return show_in_legend_; }
  void SetShowInLegend(bool value);
  const std::string& ValueFormat() const { return value_format_; }
  void SetValueFormat(const std::string& value);
  const std::string& PercentFormat() const { return percent_format_; }
  void SetPercentFormat(const std::string& value);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value);
  const std::string& ColorSource() const { return color_source_; }
  void SetColorSource(const std::string& value);
  const std::string& XLabelsSource() const { return x_labels_source_; }
  void SetXLabelsSource(const std::string& value);
  // kAutoZOrder leaves the depth order to the chart (the series' place in it).
  int ZOrder() const { return z_order_; }
  void SetZOrder(int value);
  int DepthOrder() const;

  TSeriesMarks& Marks() { return marks_; }
  const TSeriesMarks& Marks() const { return marks_; }

  // The axes chosen by HorizAxis/VertAxis; null without a chart.
  TCustomChartAxis* GetHorizAxis() const;
  TCustomChartAxis* GetVertAxis() const;
  virtual bool UsesAxes() const { return true; }
  virtual bool UsesAxis(const TCustomChartAxis* axis) const;

  // Positions on the resolved axes; 0 without a chart.
  virtual int PixelX(int index) const { return PixelOfX(XOf(index)); }
  virtual int PixelY(int index) const { return PixelOfY(YOf(index)); }
  // Whether XOf, YOf, PixelX and PixelY are the ones above, so that a
  // drawing pass may read the value lists and map them itself. Kinds opt in;
  // a class that changes any of the four answers false.
  virtual bool PixelsFromValueLists() const { return false; }
  int PixelOfX(double v) const;
  int PixelOfY(double v) const;
  // The series' slot in the chart's depth: its near, middle and far z; all
  // 0 in a flat chart or without one.
  int StartZ() const;
  int MiddleZ() const { return (StartZ() + EndZ()) / 2; }
  int EndZ() const;
  // Pixels the series needs beyond its extreme points, so that what it
  // draws there is not cut off.
  virtual void CalcHorizMargins(int& left, int& right) const { left = right = 0; }
  virtual void CalcVerticalMargins(int& top, int& bottom) const { top = bottom = 0; }

  int FirstVisible() const { return first_visible_; }
  int LastVisible() const { return last_visible_; }
  // The index range of the points inside the chart's plot rectangle.
  void ComputeVisibleRange();

  TSeriesOnBeforeAdd OnBeforeAdd;
  TSeriesOnAfterAdd OnAfterAdd;
  TSeriesOnClear OnClearValues;
  TSeriesOnGetMarkText OnGetMarkText;
  // Around the drawing of the points, only when some are visible.
  TNotifyEvent BeforeDrawValues;
  TNotifyEvent AfterDrawValues;

  // The chart's pipeline calls it between ComputeVisibleRange and the marks;
  // this base draws DrawPoint for FirstVisible..LastVisible.
  virtual void DrawAllPoints();
  // One point onto the chart's canvas; the base draws nothing.
  virtual void DrawPoint(int index) {}
  // Each frame, before titles and axes are laid out.
  virtual void DoBeforeDrawChart() {}
  // The point under pixel (x, y) of the chart, or -1; runs no events, so
  // the mouse may ask while it only hovers.
  virtual int PointUnder(int x, int y) const { return -1; }
  // The test of a press: PointUnder, with the events a press on that point
  // runs (which may free the series).
  virtual int Clicked(int x, int y) { return PointUnder(x, y); }
  // The chart's mouse moves and releases; the button is mbLeft on moves.
  virtual void ChartMouseEvent(TChartMouseEventKind, TMouseButton, TShiftState, int, int) {}
  // The chart shows it while the mouse is over one of the points;
  // crDefault leaves the chart's own cursor.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value) { cursor_ = value; }
  TSeriesClick OnClick;
  TSeriesClick OnDblClick;
  // The series' symbol in a legend entry, in colour, inside rect.
  virtual void DrawLegendShape(TColor color, const TRect& rect) {}

  // Read from a form description: a series nested in a chart joins it.
  void SetParentComponent(TComponent* parent) override;

 protected:
  // Inserts a copy of source's point index and returns where it went.
  virtual int CopyPointFrom(const TChartSeries& source, int index);
  virtual void PointCopied(const TChartSeries& source, int index);
  virtual void ReloadFrom(const TChartSeries& source);
  virtual void EmptyLists();
  // The after-add step: event, dependents, repaint.
  virtual void PointAdded(int index);

  void SetMainListIsY(bool value) { main_list_is_y_ = value; }
  // The canvas of the chart the series belongs to; none without a chart.
  TTeeCanvas3D* ChartCanvas() const;
  // Whether drawing is limited to the points inside the plot rectangle.
  virtual bool DrawsVisibleOnly() const { return true; }
  // Kinds that join points with lines keep the first point past the edge.
  virtual bool DrawsLinesBetweenPoints() const { return false; }

  int first_visible_ = -1;
  int last_visible_ = -1;

 private:
  friend class TCustomAxisPanel;
  // Drops references to an axis that is going away.
  void ForgetAxis(const TCustomChartAxis* axis);
  void ForgetCustomAxes() { custom_horiz_axis_ = custom_vert_axis_ = nullptr; }
  void SetCustomAxis(TCustomChartAxis*& field, TCustomChartAxis* axis, bool horizontal);

  void InsertColumns(int index, TColor color, const std::string& label);
  bool Reaches(const TChartSeries* target) const;

  TChartValueLists value_lists_;
  TChartValueList x_values_;
  TChartValueList y_values_;
  // Two-ended like the value lists, so the columns stay cheap to keep
  // parallel when points arrive at the front.
  TTwoEndedArray<TColor> colors_;
  TTwoEndedArray<std::string> labels_;  // "" is an empty entry
  TSeriesMarks marks_;

  std::vector<TChartSeries*> dependents_;
  std::vector<TChartSeries*> sources_;
  TSeriesRecalcOptions recalc_options_ = TSeriesRecalcOptions::All();

  TCustomAxisPanel* parent_chart_ = nullptr;
  bool main_list_is_y_ = true;
  bool active_ = true;
  bool color_each_point_ = false;
  TColor series_color_ = clDefault;
  THorizAxis horiz_axis_ = THorizAxis::aBottomAxis;
  TVertAxis vert_axis_ = TVertAxis::aLeftAxis;
  TCustomChartAxis* custom_horiz_axis_ = nullptr;
  TCustomChartAxis* custom_vert_axis_ = nullptr;
  bool show_in_legend_ = true;
  std::string value_format_ = "#,##0.###";
  std::string percent_format_ = "##0.## %";
  std::string title_;
  std::string color_source_;
  std::string x_labels_source_;
  int z_order_ = kAutoZOrder;
  TCursor cursor_ = TCursor::crDefault;
};

}  // namespace nitko
