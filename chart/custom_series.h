#pragma once

#include <functional>
#include <memory>

#include "chart/chart_pen.h"
#include "chart/chart_series.h"
#include "chart/series_pointer.h"

namespace nitko {

class TCanvas3D;
class TCustomSeries;

using TSeriesOnGetPointerStyle =
    std::function<TSeriesPointerStyle(TCustomSeries* sender, int valueIndex)>;
using TSeriesOnClickPointer =
    std::function<void(TCustomSeries* sender, int valueIndex, int x, int y)>;

// The common base of line, area and point series: a marker per point (the
// pointer) and the line and area attributes of the kinds that draw them.
class TCustomSeries : public TChartSeries {
 public:
  explicit TCustomSeries(TComponent* owner);
  ~TCustomSeries() override;

  TSeriesPointer& Pointer() { return *pointer_; }
  const TSeriesPointer& Pointer() const { return *pointer_; }
  TChartPen& LinePen() { return line_pen_; }
  const TChartPen& LinePen() const { return line_pen_; }
  TChartPen& AreaLinesPen() { return area_lines_pen_; }
  const TChartPen& AreaLinesPen() const { return area_lines_pen_; }
  TColor AreaColor() const { return area_color_; }
  void SetAreaColor(TColor value);
  int LineHeight() const { return line_height_; }
  void SetLineHeight(int value);
  bool Dark3D() const { return dark_3d_; }
  void SetDark3D(bool value);

  // Chooses the marker shape per point instead of Pointer().Style().
  TSeriesOnGetPointerStyle OnGetPointerStyle;
  TSeriesOnClickPointer OnClickPointer;

  // Whether pixel (x, y) hits the marker drawn at (px, py).
  virtual bool ClickedPointer(int index, int px, int py, int x, int y) const;
  // One marker onto the chart's canvas.
  virtual void DrawPointer(int x, int y, int index, TColor color);

  // Markers covered by later ones are left out when that cannot change the
  // picture; otherwise every point is drawn in turn.
  void DrawAllPoints() override;
  void DrawPoint(int index) override;
  void CalcHorizMargins(int& left, int& right) const override;
  void CalcVerticalMargins(int& top, int& bottom) const override;
  int PointUnder(int x, int y) const override;
  // Also calls OnClickPointer when the press is on a marker.
  int Clicked(int x, int y) override;
  void DrawLegendShape(TColor color, const TRect& rect) override;

 protected:
  bool DrawsLinesBetweenPoints() const override { return true; }
  // Fixed by the series kind.
  bool draw_line_ = true;
  bool draw_area_ = false;
  bool clickable_line_ = true;

 private:
  // The point under (x, y), which it unprojects in place, and whether the
  // press is on its marker.
  int PointHit(int& x, int& y, bool& onMarker) const;
  bool DrawableAt(int x, int y) const;
  void DrawMarkerAt(TCanvas3D& canvas, int index, int x, int y);
  // The flat, fixed-style pass that culls hidden markers, or false when
  // culling could change the picture.
  bool DrawCulled(TCanvas3D& canvas);

  std::unique_ptr<TSeriesPointer> pointer_;
  TChartPen line_pen_;
  TChartPen area_lines_pen_;
  TColor area_color_ = clDefault;
  int line_height_ = 0;
  bool dark_3d_ = true;
  int old_x_ = 0;
  int old_y_ = 0;
  TColor last_colour_ = 0;
};

}  // namespace nitko
