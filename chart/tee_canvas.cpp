#include "chart/tee_canvas.h"

#include <algorithm>
#include <cstdlib>

#include "chart/chart_pen.h"
#include "framework/bitmap.h"
#include "framework/system_colors.h"

namespace nitko {

// --- TTeeCanvas -----------------------------------------------------------

void TTeeCanvas::AttachSurface(TCanvas* surface) {
  surface_ = surface;
  TCanvas& c = surface ? *surface : spare_;
  pen_ = &c.Pen();
  brush_ = &c.Brush();
  font_ = &c.Font();
}

void TTeeCanvas::RestoreDefaults() {
  smallDots_ = false;
  Pen().SetColor(clBlack);
  Pen().SetWidth(1);
  Pen().SetStyle(TPenStyle::psSolid);
  Brush().SetColor(clWhite);
  Brush().SetStyle(TBrushStyle::bsSolid);
  Font().SetColor(clBlack);
  Font().SetSize(10);
  SetBackgroundColor(clWhite);
  SetBackgroundMode(TBackgroundMode::bmTransparent);
}

void TTeeCanvas::ApplyChartPen(const TChartPen& chartPen) {
  smallDots_ = false;
  if (!chartPen.Visible()) {
    Pen().SetStyle(TPenStyle::psClear);
    return;
  }
  Pen().Assign(chartPen);
  // Small dots exist only for hairlines; a wider pen is an ordinary pen.
  if (chartPen.SmallDots() && chartPen.Width() == 1) {
    Pen().SetStyle(TPenStyle::psSolid);
    smallDots_ = true;
  }
}

int TTeeCanvas::MeasureTextWidth(const std::string& text) {
  return surface_ ? surface_->TextWidth(text) : spare_.TextWidth(text);
}

int TTeeCanvas::MeasureTextHeight(const std::string& text) {
  return surface_ ? surface_->TextHeight(text) : spare_.TextHeight(text);
}

// --- TTeeCanvas3D: flat operations ------------------------------------------

TTeeCanvas3D::TTeeCanvas3D() = default;
TTeeCanvas3D::~TTeeCanvas3D() = default;

TColor TTeeCanvas3D::BackgroundColor() const {
  return Surface() ? Surface()->BackgroundColor() : clWhite;
}

TBackgroundMode TTeeCanvas3D::BackgroundMode() const {
  return Surface() ? Surface()->BackgroundMode() : TBackgroundMode::bmOpaque;
}

TTextAlign TTeeCanvas3D::TextAlignment() const {
  return Surface() ? Surface()->TextAlign() : taLeft;
}

void TTeeCanvas3D::SetBackgroundColor(TColor color) {
  if (Surface()) Surface()->SetBackgroundColor(ColorToRGB(color));
}

void TTeeCanvas3D::SetBackgroundMode(TBackgroundMode mode) {
  if (Surface()) Surface()->SetBackgroundMode(mode);
}

void TTeeCanvas3D::SetTextAlignment(TTextAlign flags) {
  if (Surface()) Surface()->SetTextAlign(flags);
}

void TTeeCanvas3D::PlotPixel(int x, int y, TColor color) {
  if (Surface()) Surface()->SetPixel(x, y, ColorToRGB(color));
}

void TTeeCanvas3D::DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (Surface()) Surface()->Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TTeeCanvas3D::DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (Surface()) Surface()->Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TTeeCanvas3D::DrawGraphic(int x, int y, const TBitmap& graphic) {
  if (!Surface()) return;
  SetBackgroundColor(Brush().Color());
  Surface()->Draw(x, y, graphic);
}

void TTeeCanvas3D::StretchGraphic(const TRect& r, const TBitmap& graphic) {
  if (Surface()) Surface()->StretchDraw(r, graphic);
}

void TTeeCanvas3D::DrawEllipse(int x0, int y0, int x1, int y1) {
  if (Surface()) Surface()->Ellipse(x0, y0, x1, y1);
}

void TTeeCanvas3D::FillArea(const TRect& r) {
  if (Surface()) Surface()->FillRect(r);
}

void TTeeCanvas3D::DrawRect(int x0, int y0, int x1, int y1) {
  if (Surface()) Surface()->Rectangle(x0, y0, x1, y1);
}

void TTeeCanvas3D::DrawRoundRect(int x0, int y0, int x1, int y1, int w, int h) {
  if (Surface()) Surface()->RoundRect(x0, y0, x1, y1, w, h);
}

void TTeeCanvas3D::BevelFrame(const TRect& rect, TColor topLeft, TColor bottomRight, int width) {
  if (!Surface()) return;
  smallDots_ = false;
  Pen().SetWidth(1);
  TRect r{rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1};
  for (int i = 0; i < width; ++i) {
    Pen().SetColor(topLeft);
    const TPoint light[] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
    Surface()->Polyline(light);
    Pen().SetColor(bottomRight);
    const TPoint dark[] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
    Surface()->Polyline(dark);
    r = InflateRect(r, -1, -1);
  }
}

void TTeeCanvas3D::PenMoveTo(int x, int y) {
  if (Surface()) Surface()->MoveTo(x, y);
}

void TTeeCanvas3D::PenLineTo(int x, int y) {
  if (!Surface()) return;
  if (smallDots_ && Pen().Style() != TPenStyle::psClear) {
    const TPoint from = Surface()->PenPos();
    DottedLine(from.X, from.Y, x, y);
    Surface()->MoveTo(x, y);
    return;
  }
  Surface()->LineTo(x, y);
}

void TTeeCanvas3D::StrokeLine(int x0, int y0, int x1, int y1) {
  PenMoveTo(x0, y0);
  PenLineTo(x1, y1);
}

void TTeeCanvas3D::DottedLine(int x0, int y0, int x1, int y1) {
  // Every other pixel of the line, the start pixel painted, the end not.
  const TColor rgb = ColorToRGB(Pen().Color());
  const int dx = std::abs(x1 - x0);
  const int dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1;
  const int sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  bool on = true;
  while (x0 != x1 || y0 != y1) {
    if (on) Surface()->SetPixel(x0, y0, rgb);
    on = !on;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void TTeeCanvas3D::DrawPolygon(std::span<const TPoint> points, int highIndex) {
  if (!Surface() || highIndex < 0) return;
  const auto count = std::min(points.size(), static_cast<size_t>(highIndex) + 1);
  Surface()->Polygon(points.first(count));
}

void TTeeCanvas3D::PaintText(int x, int y, const std::string& text) {
  if (Surface()) Surface()->TextOut(x, y, text);
}

void TTeeCanvas3D::RotatedText(int x, int y, int angle, const std::string& text) {
  if (!Surface()) return;
  Brush().SetStyle(TBrushStyle::bsClear);
  const int tenths = ReduceTextAngle(angle) * 10;
  if (!ScalesText()) {
    Surface()->TextOutRotated(x, y, text, tenths);
    return;
  }
  const int saved = Font().Height();
  Font().SetHeight(ZoomedFontHeight());
  Surface()->TextOutRotated(x, y, text, tenths);
  Font().SetHeight(saved);
}

void TTeeCanvas3D::SetClipRect(const TRect& r) {
  // Intersected with the clip already in force, as nested plot areas need.
  if (Surface()) Surface()->IntersectClipRect(r);
}

void TTeeCanvas3D::ClearClip() {
  if (Surface()) Surface()->ClearClip();
}

namespace {

TColor Blend(TColor a, TColor b, int step, int steps) {
  auto channel = [&](int shift) {
    const int ca = static_cast<int>((a >> shift) & 0xFF);
    const int cb = static_cast<int>((b >> shift) & 0xFF);
    return static_cast<TColor>(ca + (cb - ca) * step / std::max(1, steps)) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

}  // namespace

void TTeeCanvas3D::FillGradient(const TRect& r, TColor start, TColor end,
                                TGradientDirection direction) {
  if (!Surface() || r.IsEmpty()) return;
  const TColor a = ColorToRGB(start);
  const TColor b = ColorToRGB(end);
  TBrush saved;
  saved.Assign(Brush());
  Brush().SetStyle(TBrushStyle::bsSolid);
  const bool vertical =
      direction == TGradientDirection::gdTopBottom || direction == TGradientDirection::gdBottomTop;
  const bool reversed =
      direction == TGradientDirection::gdBottomTop || direction == TGradientDirection::gdRightLeft;
  if (vertical || direction == TGradientDirection::gdLeftRight ||
      direction == TGradientDirection::gdRightLeft) {
    const int length = vertical ? r.Height() : r.Width();
    const int bands = std::min(256, length);
    for (int i = 0; i < bands; ++i) {
      const int from = i * length / bands;
      const int to = (i + 1) * length / bands;
      Brush().SetColor(reversed ? Blend(b, a, i, bands - 1) : Blend(a, b, i, bands - 1));
      Surface()->FillRect(vertical ? TRect{r.Left, r.Top + from, r.Right, r.Top + to}
                                   : TRect{r.Left + from, r.Top, r.Left + to, r.Bottom});
    }
  } else {
    // Concentric rectangles from the outside in, ending in the end colour.
    const int steps = std::max(1, std::min(r.Width(), r.Height()) / 2);
    for (int i = 0; i < steps; ++i) {
      TRect band = InflateRect(r, -i, -i);
      if (direction == TGradientDirection::gdFromTopLeft)
        band = {r.Left, r.Top, band.Right, band.Bottom};
      if (direction == TGradientDirection::gdFromBottomLeft)
        band = {r.Left, band.Top, band.Right, r.Bottom};
      Brush().SetColor(Blend(a, b, i, steps - 1));
      Surface()->FillRect(band);
    }
  }
  Brush().Assign(saved);
}

}  // namespace nitko
