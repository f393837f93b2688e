#include "chart/series_pointer.h"

#include <algorithm>
#include <array>

#include "chart/chart_exceptions.h"
#include "chart/chart_rounding.h"
#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"
#include "chart/tee_canvas.h"
#include "framework/set_if_changed.h"

namespace nitko {

TSeriesPointer::TSeriesPointer(TChartSeries* series) : series_(series) {
  pen_.OnChange = [this] { Changed(); };
  brush_.OnChange = [this] { Changed(); };
}

void TSeriesPointer::Changed() const {
  if (series_ != nullptr) series_->RepaintOwner();
}

void TSeriesPointer::SetSize(int& field, int value) {
  if (value < 1) throw ChartException(SPointerSize);
  SetIfChanged(field, std::min(value, kMaxPointerSize), [this] { Changed(); });
}

void TSeriesPointer::SetHorizSize(int value) { SetSize(horiz_size_, value); }
void TSeriesPointer::SetVertSize(int value) { SetSize(vert_size_, value); }
void TSeriesPointer::SetStyle(TSeriesPointerStyle value) {
  SetIfChanged(style_, value, [this] { Changed(); });
}
void TSeriesPointer::SetVisible(bool value) {
  SetIfChanged(visible_, value, [this] { Changed(); });
}
void TSeriesPointer::SetInflateMargins(bool value) {
  SetIfChanged(inflate_margins_, value, [this] { Changed(); });
}
void TSeriesPointer::SetDraw3D(bool value) {
  SetIfChanged(draw_3d_, value, [this] { Changed(); });
}
void TSeriesPointer::SetDark3D(bool value) {
  SetIfChanged(dark_3d_, value, [this] { Changed(); });
}

void TSeriesPointer::PreparePointerCanvas(TCanvas3D& canvas, TColor color) const {
  canvas.ApplyChartPen(pen_);
  if (pen_.Visible() && pen_.Color() == clDefault) canvas.Pen().SetColor(color);
  canvas.Brush().Assign(brush_);
  if (canvas.Brush().Color() == clDefault) canvas.Brush().SetColor(color);
}

namespace {

// A marker's corners around (x, y), summed in 64 bits and held at the int
// range: a caller's centre and sizes may lie anywhere.
struct Corners {
  int x, y;
  int l, t, r, b;  // x - h, y - v, x + h, y + v
  int l1, r1, b1;  // x - h - 1, x + h + 1, y + v + 1
  Corners(int cx, int cy, int h, int v) : x(cx), y(cy) {
    const long long X = cx, Y = cy, H = h, V = v;
    l = ClampToInt(X - H);
    t = ClampToInt(Y - V);
    r = ClampToInt(X + H);
    b = ClampToInt(Y + V);
    l1 = ClampToInt(X - H - 1);
    r1 = ClampToInt(X + H + 1);
    b1 = ClampToInt(Y + V + 1);
  }
};

}  // namespace

TRect TSeriesPointer::RectangleBox(int x, int y) const {
  const Corners c(x, y, horiz_size_, vert_size_);
  return {c.l, c.t, c.r1, c.b1};
}

void TSeriesPointer::DrawPointerShape(TCanvas3D& canvas, bool is3D, int x, int y, int h, int v,
                                      TColor color, TSeriesPointerStyle style) const {
  using S = TSeriesPointerStyle;
  const bool lines = style == S::psCross || style == S::psDiagCross || style == S::psStar;
  if (lines) canvas.Pen().SetColor(color);
  if (is3D) {
    DrawShape3D(canvas, x, y, h, v, style);
    return;
  }
  const Corners c(x, y, h, v);
  switch (style) {
    case S::psRectangle:
      canvas.DrawRect(c.l, c.t, c.r1, c.b1);
      break;
    case S::psCircle:
      canvas.DrawEllipse(c.l, c.t, c.r, c.b);
      break;
    case S::psTriangle: {
      const std::array<TPoint, 3> p{TPoint{c.l, c.b}, TPoint{c.r, c.b}, TPoint{x, c.t}};
      canvas.DrawPolygon(p, 2);
      break;
    }
    case S::psDownTriangle: {
      const std::array<TPoint, 3> p{TPoint{c.l, c.t}, TPoint{c.r, c.t}, TPoint{x, c.b}};
      canvas.DrawPolygon(p, 2);
      break;
    }
    case S::psCross:
    case S::psDiagCross:
    case S::psStar:
      if (style != S::psDiagCross) {
        canvas.VerticalLine(x, c.t, c.b1);
        canvas.HorizontalLine(c.l, c.r1, y);
      }
      if (style != S::psCross) {
        canvas.StrokeLine(c.l, c.t, c.r1, c.b1);
        canvas.StrokeLine(c.r, c.t, c.l1, c.b1);
      }
      break;
    case S::psDiamond: {
      const std::array<TPoint, 4> p{TPoint{c.l, y}, TPoint{x, c.t}, TPoint{c.r, y}, TPoint{x, c.b}};
      canvas.DrawPolygon(p, 3);
      break;
    }
    case S::psSmallDot:
      canvas.PlotPixel(x, y, color);
      break;
  }
}

void TSeriesPointer::DrawShape3D(TCanvas3D& canvas, int x, int y, int h, int v,
                                 TSeriesPointerStyle style) const {
  using S = TSeriesPointerStyle;
  const int z0 = series_ ? series_->StartZ() : 0;
  const int z1 = series_ ? series_->EndZ() : 0;
  const int zm = (z0 + z1) / 2;
  const Corners c(x, y, h, v);
  const TRect box{c.l, c.t, c.r1, c.b1};
  switch (style) {
    case S::psRectangle:
      if (draw_3d_)
        canvas.DrawBox(box, z0, z1);
      else
        canvas.RectangleAtDepth(box, z0);
      break;
    case S::psCircle:
      if (draw_3d_ && canvas.FullRotationCapable())
        canvas.DrawSphere(x, y, zm, h);
      else
        canvas.EllipseAtDepth(c.l, c.t, c.r, c.b, z0);
      break;
    case S::psTriangle:
      if (draw_3d_)
        canvas.DrawPyramid(box, z0, z1);
      else
        canvas.TriangleAtDepth({c.l, c.b}, {c.r, c.b}, {x, c.t}, z0);
      break;
    case S::psDownTriangle:
      // The pyramid only points up; upside down it stays a flat triangle.
      canvas.TriangleAtDepth({c.l, c.t}, {c.r, c.t}, {x, c.b}, z0);
      break;
    case S::psCross:
    case S::psDiagCross:
    case S::psStar:
      if (style != S::psDiagCross) {
        canvas.VerticalLineZ(x, c.t, c.b1, z0);
        canvas.HorizontalLineZ(c.l, c.r1, y, z0);
      }
      if (style != S::psCross) {
        canvas.StrokeLineZ(c.l, c.t, c.r1, c.b1, z0);
        canvas.StrokeLineZ(c.r, c.t, c.l1, c.b1, z0);
      }
      break;
    case S::psDiamond:
      canvas.PlaneAtDepth({c.l, y}, {x, c.t}, {c.r, y}, {x, c.b}, z0);
      break;
    case S::psSmallDot:
      canvas.PixelAtDepth(x, y, canvas.Brush().Color(), zm);
      break;
  }
}

void TSeriesPointer::DrawLegendPointer(TCanvas3D& canvas, TColor color, const TRect& rect,
                                       bool lineVisible) const {
  PreparePointerCanvas(canvas, color);
  const int w = rect.Right - rect.Left;
  const int hgt = rect.Bottom - rect.Top;
  const int h = std::min(horiz_size_, lineVisible ? w / 3 : w / 2 + 1);
  const int v = std::min(vert_size_, lineVisible ? hgt / 3 : hgt / 2 + 1);
  DrawPointerShape(canvas, false, (rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2, h, v,
                   color, style_);
}

void TSeriesPointer::PointerHorizMargins(int& left, int& right) const {
  if (!visible_ || !inflate_margins_) return;
  left = std::max(left, horiz_size_ + 1);
  right = std::max(right, horiz_size_ + 1);
}

void TSeriesPointer::PointerVerticalMargins(int& top, int& bottom) const {
  if (!visible_ || !inflate_margins_) return;
  top = std::max(top, vert_size_ + 1);
  bottom = std::max(bottom, vert_size_ + 1);
}

}  // namespace nitko
