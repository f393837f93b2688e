#include "framework/canvas.h"

#include <QPainter>
#include <QPolygon>
#include <array>

#include "framework/canvas_raster.h"
#include "framework/canvas_record.h"
#include "framework/qt_bridge.h"
#include "framework/surface.h"

namespace nitko {

namespace {

// The pixels [l, r) x [t, b) that hold the points.
struct PointBox {
  long long l = 0, t = 0, r = 0, b = 0;
};

PointBox BoxOf(std::span<const TPoint> points) {
  if (points.empty()) return {};
  int l = points[0].X, t = points[0].Y, r = l, b = t;
  for (const TPoint& p : points) {
    l = std::min(l, p.X);
    t = std::min(t, p.Y);
    r = std::max(r, p.X);
    b = std::max(b, p.Y);
  }
  return {l, t, r + 1LL, b + 1LL};
}

// Every pixel a line or shape through the points may paint with the pen.
QRect Reach(const PointBox& box, int penWidth) {
  if (box.r <= box.l) return {};
  const long long m = static_cast<long long>(penWidth) + 1;
  return SafeRect(box.l - m, box.t - m, box.r + m, box.b + m);
}

// The rectangle's corners in order, held within kFar.
TRect SortedBox(int left, int top, int right, int bottom) {
  return {ClampFar(std::min(left, right)), ClampFar(std::min(top, bottom)),
          ClampFar(std::max(left, right)), ClampFar(std::max(top, bottom))};
}

QPolygonF CentredPolygon(std::span<const TPoint> points) {
  QPolygonF poly;
  poly.reserve(static_cast<qsizetype>(points.size()));
  for (const TPoint& p : points) poly.append(QPointF(p.X + 0.5, p.Y + 0.5));
  return poly;
}

}  // namespace

// --- state --------------------------------------------------------------

QRegion TCanvas::State::Drawable(const TCanvas& canvas) {
  if (!canvas.surface_) return {};
  State& s = *canvas.state_;
  const int w = canvas.surface_->Width(), h = canvas.surface_->Height();
  if (s.drawableFor != canvas.surface_ || s.drawableWidth != w || s.drawableHeight != h) {
    const QRegion all(0, 0, w, h);
    s.drawable = canvas.clipped_ ? s.clip & all : all;
    s.drawableFor = canvas.surface_;
    s.drawableWidth = w;
    s.drawableHeight = h;
  }
  return s.drawable;
}

QRgb TCanvas::State::BackgroundRgb(const TCanvas& canvas) {
  canvas.SyncBackground();
  return ColorToQRgb(canvas.bkColor_);
}

TCanvas::TCanvas(TSurface* surface)
    : surface_(surface), state_(std::make_unique<State>()) {
  brush_.OnChange = [this] { brushChanged_ = true; };
}

TCanvas::~TCanvas() = default;

void TCanvas::SetSurface(TSurface* surface) {
  surface_ = surface;
  ClearClip();
}

void TCanvas::AssignState(const TCanvas& other) {
  if (&other == this) return;
  pen_.Assign(other.pen_);
  font_.Assign(other.font_);
  brush_.Assign(other.brush_);
  penPos_ = other.penPos_;
  copyMode_ = other.copyMode_;
  textAlign_ = other.textAlign_;
  bkMode_ = other.bkMode_;
  bkColor_ = other.bkColor_;
  brushChanged_ = other.brushChanged_;
}

// Whatever was set last wins: an explicit background, or a brush change.
// Any change counts, also one that ends where the brush was (a colour that
// made a clear brush solid, then clear again): it is a brush chosen anew.
void TCanvas::SyncBackground() const {
  if (!brushChanged_) return;
  brushChanged_ = false;
  if (brush_.Style() == TBrushStyle::bsSolid) {
    bkMode_ = TBackgroundMode::bmOpaque;
    bkColor_ = brush_.Color();
  } else {
    bkMode_ = TBackgroundMode::bmTransparent;
  }
}

TBackgroundMode TCanvas::BackgroundMode() const {
  SyncBackground();
  return bkMode_;
}

void TCanvas::SetBackgroundMode(TBackgroundMode mode) {
  SyncBackground();
  bkMode_ = mode;
}

TColor TCanvas::BackgroundColor() const {
  SyncBackground();
  return bkColor_;
}

void TCanvas::SetBackgroundColor(TColor color) {
  SyncBackground();
  bkColor_ = color;
}

// --- clipping -----------------------------------------------------------

void TCanvas::SetClipRect(const TRect& r) {
  if (record_) Recorded('k', {r.Left, r.Top, r.Right, r.Bottom});
  state_->clip = QRegion(SafeRect(r));
  state_->ClipChanged();
  clipped_ = true;
}

void TCanvas::IntersectClipRect(const TRect& r) {
  if (!clipped_) return SetClipRect(r);
  if (record_) Recorded('i', {r.Left, r.Top, r.Right, r.Bottom});
  state_->clip &= QRegion(SafeRect(r));
  state_->ClipChanged();
}

void TCanvas::SetClipPolygon(std::span<const TPoint> points) {
  if (record_) Recorded('p', {}, {}, nullptr, points);
  QPolygon poly;
  for (const TPoint& p : points) poly.append(QPoint(p.X, p.Y));
  state_->clip = points.size() < 3 ? QRegion() : QRegion(poly, Qt::OddEvenFill);
  state_->ClipChanged();
  clipped_ = true;
}

void TCanvas::ClearClip() {
  if (record_) Recorded('C', {});
  state_->clip = QRegion();
  state_->ClipChanged();
  clipped_ = false;
}

TRect TCanvas::ClipRect() const {
  const QRegion drawable = State::Drawable(*this);
  return drawable.isEmpty() ? TRect{} : FromQRect(drawable.boundingRect());
}

// --- lines --------------------------------------------------------------

void TCanvas::MoveTo(int x, int y) {
  penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
  const std::array<TPoint, 2> segment{penPos_, TPoint{x, y}};
  penPos_ = {x, y};
  Polyline(segment);
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  if (record_ && !Recorded('l', {}, {}, nullptr, points)) return;
  const PenInfo pen = PenOf(pen_);
  const PointBox box = BoxOf(points);
  // A one-pixel line stays between its ends; a wider one reaches out by its width.
  if (changes_) Touched(box.l, box.t, box.r, box.b, pen.thin ? 0 : pen.width + 1);
  if (!surface_ || !pen.visible || points.size() < 2) return;
  ShapeOp op(*this, Reach(box, pen.width), !pen.thin);
  if (op.Empty()) return;
  State::Changing(*this);
  if (pen.thin) {
    StrokeThin(op, *this, pen, points, false, false);
  } else {
    QPainter& p = op.Painter();
    p.setPen(WidePen(pen));
    p.drawPolyline(CentredPolygon(points));
  }
  op.Finish();
  State::Changed(*this);
}

// --- shapes -------------------------------------------------------------

void TCanvas::Polygon(std::span<const TPoint> points) {
  if (record_ && !Recorded('g', {}, {}, nullptr, points)) return;
  const PenInfo pen = PenOf(pen_);
  const PointBox box = BoxOf(points);
  if (changes_) Touched(box.l, box.t, box.r, box.b, pen.thin ? 0 : pen.width + 1);
  if (!surface_ || points.size() < 2) return;
  // The fill may reach pixels of the outline: combine both in one layer.
  ShapeOp op(*this, Reach(box, pen.width), true);
  if (op.Empty()) return;
  State::Changing(*this);
  const BrushSampler brush(*this);
  if (brush.Paints()) {
    // Coverage by Qt's polygon fill: pixel centres inside, alternate rule.
    // At device pixels, so that the edges step by them.
    const QRect box = op.Bounds();
    QImage mask(box.size(), QImage::Format_ARGB32_Premultiplied);
    mask.setDevicePixelRatio(op.Ratio());
    mask.fill(0);
    {
      QPolygon poly;
      for (const TPoint& pt : points) poly.append(QPoint(pt.X, pt.Y));
      QPainter p(&mask);
      PrepareQPainter(p);
      p.translate(-box.topLeft() / op.Ratio());
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawPolygon(poly, Qt::OddEvenFill);
    }
    QRgb rgb;
    for (int y = 0; y < mask.height(); ++y) {
      const QRgb* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
      for (int x = 0; x < mask.width(); ++x)
        if (qAlpha(row[x]) != 0 && brush.At(box.left() + x, box.top() + y, rgb))
          op.Plot(box.left() + x, box.top() + y, rgb);
    }
  }
  if (pen.visible && pen.thin) {
    StrokeThin(op, *this, pen, points, true, false);
  } else if (pen.visible) {
    QPainter& p = op.Painter();
    p.setPen(WidePen(pen));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(CentredPolygon(points));
  }
  op.Finish();
  State::Changed(*this);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (record_ && !Recorded('r', {left, top, right, bottom})) return;
  // Outline and fill, of any pen, stay inside the rectangle.
  if (changes_) Touched(left, top, right, bottom, 0);
  const auto [l, t, r, b] = SortedBox(left, top, right, bottom);
  const PenInfo pen = PenOf(pen_);
  if (!surface_ || r <= l || b <= t) return;
  // Outline and fill never share a pixel, so no layer is needed.
  ShapeOp op(*this, QRect(l, t, r - l, b - t), false);
  if (op.Empty()) return;
  State::Changing(*this);
  const BrushSampler brush(*this);
  const int k = op.Ratio();
  if (!pen.visible) {
    // Without a pen the platform fills one pixel less to the right and below.
    PlotBrush(op, brush, ToDevice(QRect(QPoint(l, t), QPoint(r - 2, b - 2)), k));
  } else if (pen.thin) {
    PlotBrush(op, brush, ToDevice(QRect(QPoint(l + 1, t + 1), QPoint(r - 2, b - 2)), k));
    if (r - l == 1 || b - t == 1) {
      const std::array<TPoint, 2> line{TPoint{l, t}, TPoint{r - 1, b - 1}};
      StrokeThin(op, *this, pen, line, false, true);
    } else {
      const std::array<TPoint, 4> corners{TPoint{l, t}, TPoint{r - 1, t}, TPoint{r - 1, b - 1},
                                          TPoint{l, b - 1}};
      StrokeThin(op, *this, pen, corners, true, false);
    }
  } else {
    // A wide pen stays inside the rectangle.
    // A pen as wide as the rectangle covers it; wider ones would overflow the inset.
    const int w = std::min(pen.width, std::max(r - l, b - t));
    const QRect outer = ToDevice(QRect(l, t, r - l, b - t), k);
    const QRect inner = ToDevice(QRect(l, t, r - l, b - t).adjusted(w, w, -w, -w), k);
    PlotBrush(op, brush, inner);
    for (const QRect& band : (QRegion(outer) - QRegion(inner)) & op.Bounds())
      for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x) op.Plot(x, y, pen.rgb);
  }
  op.Finish();
  State::Changed(*this);
}

void TCanvas::Rectangles(std::span<const TPaintedRect> rects) {
  const PenInfo pen = PenOf(pen_);
  const bool plain = surface_ != nullptr && record_ == nullptr && surface_->Ratio() == 1 &&
                     pen.thin && !pen.dashes && pen_.Mode() == TPenMode::pmCopy;
  const QRegion drawable = plain ? State::Drawable(*this) : QRegion();
  if (!plain || drawable.rectCount() > 1) {
    // One by one, as asked.
    const TColor pen_color = pen_.Color(), brush_color = brush_.Color();
    const TBrushStyle brush_style = brush_.Style();
    for (const TPaintedRect& r : rects) {
      pen_.SetColor(r.pen);
      brush_.SetColor(r.brush);
      brush_.SetStyle(TBrushStyle::bsSolid);
      Rectangle(r.box);
    }
    pen_.SetColor(pen_color);
    brush_.SetColor(brush_color);
    brush_.SetStyle(brush_style);
    return;
  }
  if (drawable.isEmpty() || rects.empty()) return;
  State::Changing(*this);
  // The pixels Rectangle paints, straight into the surface within the one
  // clipping rectangle: a frame of the pen, the brush inside it (without a
  // pen the brush leaves out the right column and bottom row).
  const QRect clip = drawable.boundingRect();
  QImage& image = surface_->Image();
  QRgb* bits = reinterpret_cast<QRgb*>(image.bits());
  const ptrdiff_t stride = image.bytesPerLine() / 4;
  const auto fill = [&](int l, int t, int r, int b, QRgb rgb) {  // inclusive
    l = std::max(l, clip.left());
    t = std::max(t, clip.top());
    r = std::min(r, clip.right());
    b = std::min(b, clip.bottom());
    if (l > r) return;
    for (int y = t; y <= b; ++y) std::fill(bits + y * stride + l, bits + y * stride + r + 1, rgb);
  };
  for (const TPaintedRect& p : rects) {
    const auto [l, t, r, b] = SortedBox(p.box.Left, p.box.Top, p.box.Right, p.box.Bottom);
    if (r <= l || b <= t) continue;
    if (changes_) Touched(l, t, r, b, 0);
    const QRgb brush = ColorToQRgb(p.brush) | 0xFF000000u;
    if (!pen.visible) {
      fill(l, t, r - 2, b - 2, brush);
      continue;
    }
    // Row by row: the frame's top and bottom rows, and between them its
    // two sides around the brush, which never overlap.
    const QRgb ink = ColorToQRgb(p.pen) | 0xFF000000u;
    const int left = std::max(l, clip.left()), right = std::min(r - 1, clip.right());
    const int inner_left = std::max(left, l + 1), inner_right = std::min(right, r - 2);
    const int last = std::min(b - 1, clip.bottom());
    if (left > right) continue;
    for (int y = std::max(t, clip.top()); y <= last; ++y) {
      QRgb* row = bits + y * stride;
      if (y == t || y == b - 1) {
        std::fill(row + left, row + right + 1, ink);
        continue;
      }
      if (inner_left <= inner_right) std::fill(row + inner_left, row + inner_right + 1, brush);
      if (left == l) row[l] = ink;
      if (right == r - 1) row[r - 1] = ink;
    }
  }
  State::Changed(*this);
}

// --- fills and pixels ---------------------------------------------------

namespace {

// Paints region with the brush; fills ignore the pen mode.
void PaintBrush(TCanvas& canvas, const QRegion& pixels) {
  const BrushSampler brush(canvas);
  if (!brush.Paints() || pixels.isEmpty()) return;
  TCanvas::State::Changing(canvas);
  QImage& image = canvas.Surface()->Image();
  const QRegion region = ToDevice(pixels, canvas.Surface()->Ratio());
  if (brush.Solid()) {
    FillSolid(image, region, brush.SolidRgb());
  } else {
    PixelWriter writer(image, region, TPenMode::pmCopy);
    QRgb rgb;
    for (const QRect& r : region)
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
          if (brush.At(x, y, rgb)) writer.Plot(x, y, rgb);
  }
  TCanvas::State::Changed(canvas);
}

}  // namespace

void TCanvas::FillRect(const TRect& r) {
  if (record_ && !Recorded('f', {r.Left, r.Top, r.Right, r.Bottom})) return;
  if (changes_) Touched(r.Left, r.Top, r.Right, r.Bottom, 1);
  if (!surface_ || r.IsEmpty()) return;
  PaintBrush(*this, State::Drawable(*this) & SafeRect(r));
}

void TCanvas::FrameRect(const TRect& r) {
  if (record_ && !Recorded('F', {r.Left, r.Top, r.Right, r.Bottom})) return;
  if (changes_) Touched(r.Left, r.Top, r.Right, r.Bottom, 1);
  if (!surface_ || r.IsEmpty()) return;
  const QRect outer = SafeRect(r);
  const QRegion frame = QRegion(outer) - QRegion(outer.adjusted(1, 1, -1, -1));
  PaintBrush(*this, State::Drawable(*this) & frame);
}

void TCanvas::DrawFocusRect(const TRect& r) {
  if (record_ && !Recorded('D', {r.Left, r.Top, r.Right, r.Bottom})) return;
  if (changes_) Touched(r.Left, r.Top, r.Right, r.Bottom, 1);
  if (!surface_ || r.IsEmpty()) return;
  const QRegion drawable = State::Drawable(*this);
  if (drawable.isEmpty()) return;
  State::Changing(*this);
  const int k = surface_->Ratio();
  const QRegion device = ToDevice(drawable, k);
  PixelWriter writer(surface_->Image(), device, TPenMode::pmXor);
  // Every other pixel of the frame, chosen by position so that a second
  // call meets the same pixels; each is visited once.
  auto dot = [&](int x, int y) {
    if (((x + y) & 1) != 0) return;
    for (int i = 0; i < k * k; ++i) writer.Plot(x * k + i % k, y * k + i / k, 0xFFFFFF);
  };
  const QRect frame = SafeRect(r), seen = frame & drawable.boundingRect();
  for (int x = seen.left(); x <= seen.right(); ++x) {
    dot(x, frame.top());
    if (frame.bottom() != frame.top()) dot(x, frame.bottom());
  }
  for (int y = std::max(seen.top(), frame.top() + 1);
       y <= std::min(seen.bottom(), frame.bottom() - 1); ++y) {
    dot(frame.left(), y);
    if (frame.right() != frame.left()) dot(frame.right(), y);
  }
  State::Changed(*this);
}

TColor TCanvas::Pixel(int x, int y) const {
  if (record_) record_->read_pixels = true;
  return surface_ ? surface_->Pixel(x, y) : clNone;
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (record_ && !Recorded('x', {x, y, ColorToRGB(color)})) return;
  if (changes_) Touched(x, y, x + 1LL, y + 1LL, 0);
  if (!surface_) return;
  const QRegion drawable = State::Drawable(*this);
  State::Changing(*this);
  if (drawable.contains(QPoint(x, y))) surface_->SetPixel(x, y, color);
  State::Changed(*this);
}

}  // namespace nitko
