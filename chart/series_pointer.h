#pragma once

#include "chart/chart_brush.h"
#include "chart/chart_pen.h"
#include "framework/colors.h"
#include "framework/persistent.h"
#include "framework/surface.h"
#include "framework/types.h"

namespace nitko {

class TCanvas3D;
class TChartSeries;

enum class TSeriesPointerStyle {
  psRectangle,
  psCircle,
  psTriangle,
  psDownTriangle,
  psCross,
  psDiagCross,
  psStar,
  psDiamond,
  psSmallDot
};

inline constexpr const char* SPointerSize = "Pointer size must be greater than zero";
// Larger sizes are held here: a marker this large already reaches across the
// largest surface from any centre that gets one.
inline constexpr int kMaxPointerSize = 2 * kMaxSurfaceSide;

// The marker a series draws at its points. Sizes are half-extents: a marker
// reaches HorizSize pixels left and right of its point, VertSize above and
// below. Every change asks the series' chart to repaint.
class TSeriesPointer : public TPersistent {
 public:
  explicit TSeriesPointer(TChartSeries* series);

  TChartSeries* ParentSeries() const { return series_; }

  int HorizSize() const { return horiz_size_; }
  // Raises ChartException below 1, the size then kept; holds sizes above
  // kMaxPointerSize at it.
  void SetHorizSize(int value);
  int VertSize() const { return vert_size_; }
  void SetVertSize(int value);
  TSeriesPointerStyle Style() const { return style_; }
  void SetStyle(TSeriesPointerStyle value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool InflateMargins() const { return inflate_margins_; }
  void SetInflateMargins(bool value);
  bool Draw3D() const { return draw_3d_; }
  void SetDraw3D(bool value);
  bool Dark3D() const { return dark_3d_; }
  void SetDark3D(bool value);
  TChartPen& Pen() { return pen_; }
  const TChartPen& Pen() const { return pen_; }
  TChartBrush& Brush() { return brush_; }
  const TChartBrush& Brush() const { return brush_; }

  // Pen and brush for one marker in colour: a clDefault pen colour or brush
  // colour takes the marker's colour.
  void PreparePointerCanvas(TCanvas3D& canvas, TColor color) const;
  // The corners a flat psRectangle marker at (x, y) is drawn with.
  TRect RectangleBox(int x, int y) const;
  // One marker centred on (x, y) with half sizes h and v; is3D draws the
  // depth shapes at the series' depth.
  void DrawPointerShape(TCanvas3D& canvas, bool is3D, int x, int y, int h, int v, TColor color,
                        TSeriesPointerStyle style) const;
  // The legend symbol: the marker flat in the middle of rect, its sizes
  // limited to what fits beside a line (lineVisible) or alone.
  void DrawLegendPointer(TCanvas3D& canvas, TColor color, const TRect& rect,
                         bool lineVisible) const;
  // Widen left/right (top/bottom) to leave room for markers at the extremes.
  void PointerHorizMargins(int& left, int& right) const;
  void PointerVerticalMargins(int& top, int& bottom) const;

 private:
  void Changed() const;
  void SetSize(int& field, int value);
  void DrawShape3D(TCanvas3D& canvas, int x, int y, int h, int v, TSeriesPointerStyle style) const;

  TChartSeries* series_;
  int horiz_size_ = 4;
  int vert_size_ = 4;
  TSeriesPointerStyle style_ = TSeriesPointerStyle::psRectangle;
  bool visible_ = false;
  bool inflate_margins_ = true;
  bool draw_3d_ = true;
  bool dark_3d_ = true;
  TChartPen pen_;
  TChartBrush brush_;
};

}  // namespace nitko
