#include "framework/canvas.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygon>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <vector>

#include "framework/canvas_state.h"
#include "framework/qt_bridge.h"
#include "framework/surface.h"

namespace nitko {

namespace {

constexpr QRgb kOpaque = 0xFF000000u;
constexpr QRgb kRgbMask = 0x00FFFFFFu;

// Single pixels of an image, kept inside a region and combined by a pen mode.
class PixelWriter {
 public:
  PixelWriter(QImage& image, const QRegion& region, TPenMode mode)
      : region_(region),
        bounds_(region.boundingRect()),
        single_(region.rectCount() <= 1),
        mode_(mode),
        bits_(bounds_.isEmpty() ? nullptr : reinterpret_cast<QRgb*>(image.bits())),
        stride_(image.bytesPerLine() / 4) {}

  const QRect& Bounds() const { return bounds_; }
  void Plot(int x, int y, QRgb rgb) {
    if (!bounds_.contains(x, y) || (!single_ && !region_.contains(QPoint(x, y)))) return;
    QRgb& d = bits_[static_cast<ptrdiff_t>(y) * stride_ + x];
    d = CombinePen(mode_, rgb, d);
  }

 private:
  const QRegion& region_;
  QRect bounds_;
  bool single_;
  TPenMode mode_;
  QRgb* bits_;
  int stride_;
};

// Visits the pixels of the line from a to b, b left out, as (x, y, k) with
// k counted from a. Steps whose major coordinate lies outside bounds are
// skipped, so far-off end points cost nothing.
template <class Visit>
void WalkLine(TPoint a, TPoint b, const QRect& bounds, Visit visit) {
  const long long dx = static_cast<long long>(b.X) - a.X, dy = static_cast<long long>(b.Y) - a.Y;
  const long long adx = std::llabs(dx), ady = std::llabs(dy);
  const long long n = std::max(adx, ady);
  if (n == 0 || bounds.isEmpty()) return;
  const bool xMajor = adx >= ady;
  const long long major0 = xMajor ? a.X : a.Y, minor0 = xMajor ? a.Y : a.X;
  const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const long long minorLen = xMajor ? ady : adx;
  const long long lo = xMajor ? bounds.left() : bounds.top();
  const long long hi = xMajor ? bounds.right() : bounds.bottom();  // inclusive
  long long kmin = majorStep > 0 ? lo - major0 : major0 - hi;
  long long kmax = majorStep > 0 ? hi - major0 : major0 - lo;
  kmin = std::max(kmin, 0LL);
  kmax = std::min(kmax, n - 1);
  if (kmin > kmax) return;
  // The minor offset at step k is k * minorLen / n rounded, halves up.
  const long long den = 2 * n;
  const __int128 num = static_cast<__int128>(2) * kmin * minorLen + n;
  long long q = static_cast<long long>(num / den), r = static_cast<long long>(num % den);
  for (long long k = kmin; k <= kmax; ++k) {
    const long long major = major0 + majorStep * k, minor = minor0 + minorStep * q;
    if (xMajor)
      visit(static_cast<int>(major), static_cast<int>(minor), k);
    else
      visit(static_cast<int>(minor), static_cast<int>(major), k);
    r += 2 * minorLen;
    if (r >= den) {
      r -= den;
      ++q;
    }
  }
}

// Dash patterns of one-pixel pens, in pixels: on, off, on, off...
struct Dashes {
  std::array<int, 6> segments;
  int count;
  int period;
  bool On(long long k) const {
    int pos = static_cast<int>(k % period);
    for (int i = 0; i < count; ++i) {
      if (pos < segments[i]) return i % 2 == 0;
      pos -= segments[i];
    }
    return false;
  }
};
constexpr Dashes kDash{{18, 6}, 2, 24};
constexpr Dashes kDot{{3, 3}, 2, 6};
constexpr Dashes kDashDot{{9, 6, 3, 6}, 4, 24};
constexpr Dashes kDashDotDot{{9, 3, 3, 3, 3, 3}, 6, 24};

// The pen as an operation sees it. Wide pens draw solid, as on the platform.
struct PenInfo {
  bool visible = true;
  bool thin = true;
  int width = 1;
  const Dashes* dashes = nullptr;
  QRgb rgb = 0;
};

PenInfo PenOf(const TPen& pen) {
  PenInfo info;
  info.visible = pen.Style() != TPenStyle::psClear;
  info.width = std::max(pen.Width(), 1);
  info.thin = info.width == 1;
  info.rgb = ColorToQRgb(pen.Color());
  if (info.thin) {
    switch (pen.Style()) {
      case TPenStyle::psDash: info.dashes = &kDash; break;
      case TPenStyle::psDot: info.dashes = &kDot; break;
      case TPenStyle::psDashDot: info.dashes = &kDashDot; break;
      case TPenStyle::psDashDotDot: info.dashes = &kDashDotDot; break;
      default: break;
    }
  }
  return info;
}

QBrush ToQBrush(const TBrush& brush) {
  Qt::BrushStyle style = Qt::SolidPattern;
  switch (brush.Style()) {
    case TBrushStyle::bsSolid: style = Qt::SolidPattern; break;
    case TBrushStyle::bsClear: style = Qt::NoBrush; break;
    case TBrushStyle::bsHorizontal: style = Qt::HorPattern; break;
    case TBrushStyle::bsVertical: style = Qt::VerPattern; break;
    case TBrushStyle::bsFDiagonal: style = Qt::FDiagPattern; break;
    case TBrushStyle::bsBDiagonal: style = Qt::BDiagPattern; break;
    case TBrushStyle::bsCross: style = Qt::CrossPattern; break;
    case TBrushStyle::bsDiagCross: style = Qt::DiagCrossPattern; break;
  }
  return QBrush(ToQColor(brush.Color()), style);
}

void PrepareQPainter(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

// Opaque background: the gaps of hatches and dashes get the background colour.
void ApplyBackground(QPainter& p, const TCanvas& canvas) {
  if (TCanvas::State::Background(canvas) == TBackgroundMode::bmOpaque) {
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(QColor::fromRgb(TCanvas::State::BackgroundRgb(canvas)));
  } else {
    p.setBackgroundMode(Qt::TransparentMode);
  }
}

QPen ToQPen(const PenInfo& pen) {
  if (!pen.visible) return QPen(Qt::NoPen);
  if (!pen.thin)
    return QPen(QColor::fromRgb(pen.rgb), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  QPen q(QColor::fromRgb(pen.rgb), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  q.setCosmetic(true);
  if (pen.dashes) {
    QList<qreal> pattern;
    for (int i = 0; i < pen.dashes->count; ++i) pattern.append(pen.dashes->segments[i]);
    q.setDashPattern(pattern);
  }
  return q;
}

// One pen-and-brush operation. In copy mode it paints the surface directly.
// In the other modes, when pixels may be covered twice (fill and outline,
// a wide stroke), it paints a transparent layer that is then combined with
// the surface, so each pixel changes once.
class ShapeOp {
 public:
  ShapeOp(TCanvas& canvas, const QRect& reach, bool overlaps)
      : canvas_(canvas),
        image_(canvas.Surface()->Image()),
        region_(TCanvas::State::Drawable(canvas) & reach),
        mode_(canvas.Pen().Mode()),
        layered_(mode_ != TPenMode::pmCopy && overlaps) {
    if (layered_ && !region_.isEmpty()) {
      const QRect box = region_.boundingRect();
      origin_ = box.topLeft();
      layer_ = QImage(box.size(), QImage::Format_ARGB32_Premultiplied);
      layer_.fill(0);
      layerRegion_ = QRegion(layer_.rect());
      writer_.emplace(layer_, layerRegion_, TPenMode::pmCopy);
    } else {
      writer_.emplace(image_, region_, mode_);
    }
  }

  bool Empty() const { return region_.isEmpty(); }
  // Surface pixels the operation may reach.
  QRect Bounds() const { return region_.boundingRect(); }

  QPainter& Painter() {
    if (!painter_) {
      if (layered_) {
        painter_.emplace(&layer_);
        painter_->translate(-origin_);
        painter_->setBrushOrigin(0, 0);
      } else {
        painter_.emplace(&image_);
        if (canvas_.HasClip()) painter_->setClipRegion(region_);
      }
      PrepareQPainter(*painter_);
      ApplyBackground(*painter_, canvas_);
    }
    return *painter_;
  }

  void Plot(int x, int y, QRgb rgb) {
    painter_.reset();
    if (layered_)
      writer_->Plot(x - origin_.x(), y - origin_.y(), rgb | kOpaque);
    else
      writer_->Plot(x, y, rgb);
  }

  void Finish() {
    painter_.reset();
    if (!layered_ || region_.isEmpty()) return;
    QRgb* dst = reinterpret_cast<QRgb*>(image_.bits());
    const int stride = image_.bytesPerLine() / 4;
    for (const QRect& r : region_) {
      for (int y = r.top(); y <= r.bottom(); ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(layer_.constScanLine(y - origin_.y()));
        QRgb* row = dst + static_cast<ptrdiff_t>(y) * stride;
        for (int x = r.left(); x <= r.right(); ++x) {
          const QRgb s = src[x - origin_.x()];
          if (qAlpha(s) != 0) row[x] = CombinePen(mode_, s, row[x]);
        }
      }
    }
  }

 private:
  TCanvas& canvas_;
  QImage& image_;
  QRegion region_;
  TPenMode mode_;
  bool layered_;
  QPoint origin_;
  QImage layer_;
  QRegion layerRegion_;
  std::optional<PixelWriter> writer_;
  std::optional<QPainter> painter_;
};

// A one-pixel outline through points, each segment leaving out its end; the
// dash pattern runs on across the corners.
void StrokeThin(ShapeOp& op, const TCanvas& canvas, const PenInfo& pen,
                std::span<const TPoint> points, bool closed, bool lastPixel) {
  const bool opaqueGaps = pen.dashes && TCanvas::State::Background(canvas) == TBackgroundMode::bmOpaque;
  const QRgb gap = opaqueGaps ? TCanvas::State::BackgroundRgb(canvas) : 0;
  const QRect bounds = op.Bounds();
  long long offset = 0;
  auto segment = [&](TPoint a, TPoint b) {
    WalkLine(a, b, bounds, [&](int x, int y, long long k) {
      if (!pen.dashes || pen.dashes->On(offset + k))
        op.Plot(x, y, pen.rgb);
      else if (opaqueGaps)
        op.Plot(x, y, gap);
    });
    offset += std::max(std::llabs(static_cast<long long>(b.X) - a.X),
                       std::llabs(static_cast<long long>(b.Y) - a.Y));
  };
  for (size_t i = 1; i < points.size(); ++i) segment(points[i - 1], points[i]);
  if (closed && points.size() > 1) segment(points.back(), points.front());
  if (lastPixel && !points.empty() && (!pen.dashes || pen.dashes->On(offset)))
    op.Plot(points.back().X, points.back().Y, pen.rgb);
}

QPolygonF CentredPolygon(std::span<const TPoint> points) {
  QPolygonF poly;
  poly.reserve(static_cast<qsizetype>(points.size()));
  for (const TPoint& p : points) poly.append(QPointF(p.X + 0.5, p.Y + 0.5));
  return poly;
}

QRect Reach(std::span<const TPoint> points, int penWidth) {
  if (points.empty()) return {};
  int l = points[0].X, t = points[0].Y, r = l, b = t;
  for (const TPoint& p : points) {
    l = std::min(l, p.X);
    t = std::min(t, p.Y);
    r = std::max(r, p.X);
    b = std::max(b, p.Y);
  }
  const int m = penWidth + 1;
  return QRect(QPoint(l - m, t - m), QPoint(r + m, b + m));
}

void Normalise(int& a, int& b) {
  if (a > b) std::swap(a, b);
}

// The geometry Qt uses for a box whose right column and bottom row stay out.
QRectF EllipseBox(int l, int t, int r, int b) { return QRectF(l, t, r - l - 1, b - t - 1); }

// The ellipse angle, in Qt's degrees, where the radial towards (x, y) meets
// the ellipse of box.
double RadialAngle(const QRectF& box, int x, int y) {
  const double rx = std::max(box.width() / 2, 0.5), ry = std::max(box.height() / 2, 0.5);
  const QPointF c = box.center();
  return std::atan2(-(y - c.y()) / ry, (x - c.x()) / rx) * 180 / std::numbers::pi;
}

enum class ArcKind { kArc, kPie, kChord };

}  // namespace

// --- state --------------------------------------------------------------

QRegion TCanvas::State::Drawable(const TCanvas& canvas) {
  if (!canvas.surface_) return {};
  const QRegion all(0, 0, canvas.surface_->Width(), canvas.surface_->Height());
  return canvas.clipped_ ? canvas.state_->clip & all : all;
}

QRgb TCanvas::State::BackgroundRgb(const TCanvas& canvas) {
  canvas.SyncBackground();
  return ColorToQRgb(canvas.bkColor_);
}

void FillSolid(QImage& image, const QRegion& region, QRgb rgb) {
  const QRegion inside = region & QRegion(image.rect());
  if (inside.isEmpty()) return;
  QRgb* bits = reinterpret_cast<QRgb*>(image.bits());
  const int stride = image.bytesPerLine() / 4;
  for (const QRect& r : inside)
    for (int y = r.top(); y <= r.bottom(); ++y)
      std::fill_n(bits + static_cast<ptrdiff_t>(y) * stride + r.left(), r.width(), rgb | kOpaque);
}

QRgb CombinePen(TPenMode mode, QRgb s, QRgb d) {
  switch (mode) {
    case TPenMode::pmCopy: return s | kOpaque;
    case TPenMode::pmXor: return ((s ^ d) & kRgbMask) | kOpaque;
    case TPenMode::pmNotXor: return (~(s ^ d) & kRgbMask) | kOpaque;
    case TPenMode::pmNot: return (~d & kRgbMask) | kOpaque;
    case TPenMode::pmBlack: return kOpaque;
    case TPenMode::pmWhite: return 0xFFFFFFFFu;
  }
  return s | kOpaque;
}

TCanvas::TCanvas(TSurface* surface)
    : surface_(surface),
      seenBrushColor_(brush_.Color()),
      seenBrushStyle_(brush_.Style()),
      state_(std::make_unique<State>()) {}

TCanvas::~TCanvas() = default;

void TCanvas::SetSurface(TSurface* surface) {
  surface_ = surface;
  ClearClip();
}

// Whatever was set last wins: an explicit background, or a brush change.
void TCanvas::SyncBackground() const {
  if (brush_.Color() == seenBrushColor_ && brush_.Style() == seenBrushStyle_) return;
  seenBrushColor_ = brush_.Color();
  seenBrushStyle_ = brush_.Style();
  if (seenBrushStyle_ == TBrushStyle::bsSolid) {
    bkMode_ = TBackgroundMode::bmOpaque;
    bkColor_ = seenBrushColor_;
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
  state_->clip = r.IsEmpty() ? QRegion() : QRegion(ToQRect(r));
  clipped_ = true;
}

void TCanvas::IntersectClipRect(const TRect& r) {
  if (!clipped_) return SetClipRect(r);
  state_->clip &= r.IsEmpty() ? QRegion() : QRegion(ToQRect(r));
}

void TCanvas::SetClipPolygon(std::span<const TPoint> points) {
  QPolygon poly;
  for (const TPoint& p : points) poly.append(QPoint(p.X, p.Y));
  state_->clip = points.size() < 3 ? QRegion() : QRegion(poly, Qt::OddEvenFill);
  clipped_ = true;
}

void TCanvas::ClearClip() {
  state_->clip = QRegion();
  clipped_ = false;
}

TRect TCanvas::ClipRect() const {
  const QRegion drawable = State::Drawable(*this);
  return drawable.isEmpty() ? TRect{} : FromQRect(drawable.boundingRect());
}

// --- lines --------------------------------------------------------------

void TCanvas::MoveTo(int x, int y) { penPos_ = {x, y}; }

void TCanvas::LineTo(int x, int y) {
  const std::array<TPoint, 2> segment{penPos_, TPoint{x, y}};
  penPos_ = {x, y};
  Polyline(segment);
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  const PenInfo pen = PenOf(pen_);
  if (!surface_ || !pen.visible || points.size() < 2) return;
  ShapeOp op(*this, Reach(points, pen.width), !pen.thin);
  if (op.Empty()) return;
  State::Changing(*this);
  if (pen.thin) {
    StrokeThin(op, *this, pen, points, false, false);
  } else {
    QPainter& p = op.Painter();
    p.setPen(ToQPen(pen));
    p.drawPolyline(CentredPolygon(points));
  }
  op.Finish();
  State::Changed(*this);
}

// --- shapes -------------------------------------------------------------

void TCanvas::Polygon(std::span<const TPoint> points) {
  const PenInfo pen = PenOf(pen_);
  if (!surface_ || points.size() < 2) return;
  ShapeOp op(*this, Reach(points, pen.width), true);
  if (op.Empty()) return;
  State::Changing(*this);
  if (brush_.Style() != TBrushStyle::bsClear) {
    QPolygon poly;
    for (const TPoint& pt : points) poly.append(QPoint(pt.X, pt.Y));
    QPainter& p = op.Painter();
    p.setPen(Qt::NoPen);
    p.setBrush(ToQBrush(brush_));
    p.drawPolygon(poly, Qt::OddEvenFill);
  }
  if (pen.visible && pen.thin) {
    StrokeThin(op, *this, pen, points, true, false);
  } else if (pen.visible) {
    QPainter& p = op.Painter();
    p.setPen(ToQPen(pen));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(CentredPolygon(points));
  }
  op.Finish();
  State::Changed(*this);
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
  Normalise(l, r);
  Normalise(t, b);
  const PenInfo pen = PenOf(pen_);
  if (!surface_ || r <= l || b <= t) return;
  ShapeOp op(*this, QRect(l, t, r - l, b - t).adjusted(-pen.width, -pen.width, pen.width, pen.width),
             true);
  if (op.Empty()) return;
  State::Changing(*this);
  // Without a pen the platform fills one pixel less to the right and below.
  const QRect inner = pen.visible ? QRect(QPoint(l + 1, t + 1), QPoint(r - 2, b - 2))
                                  : QRect(QPoint(l, t), QPoint(r - 2, b - 2));
  if (brush_.Style() != TBrushStyle::bsClear && inner.isValid()) {
    QPainter& p = op.Painter();
    p.setPen(Qt::NoPen);
    p.setBrush(ToQBrush(brush_));
    p.drawRect(inner);
  }
  if (pen.visible && pen.thin) {
    if (r - l == 1 || b - t == 1) {
      const std::array<TPoint, 2> line{TPoint{l, t}, TPoint{r - 1, b - 1}};
      StrokeThin(op, *this, pen, line, false, true);
    } else {
      const std::array<TPoint, 4> corners{TPoint{l, t}, TPoint{r - 1, t}, TPoint{r - 1, b - 1},
                                          TPoint{l, b - 1}};
      StrokeThin(op, *this, pen, corners, true, false);
    }
  } else if (pen.visible) {
    QPainter& p = op.Painter();
    QPen q = ToQPen(pen);
    q.setJoinStyle(Qt::MiterJoin);
    p.setPen(q);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(l + 0.5, t + 0.5, r - l - 1, b - t - 1));
  }
  op.Finish();
  State::Changed(*this);
}

namespace {

// Runs a curved shape in the box (l, t, r, b) with pen and brush on a painter.
template <class Draw>
void CurvedShape(TCanvas& canvas, int l, int t, int r, int b, bool filled, Draw draw) {
  Normalise(l, r);
  Normalise(t, b);
  const PenInfo pen = PenOf(canvas.Pen());
  if (!canvas.Surface() || r <= l || b <= t) return;
  ShapeOp op(canvas, QRect(l, t, r - l, b - t).adjusted(-pen.width, -pen.width, pen.width, pen.width),
             true);
  if (op.Empty()) return;
  TCanvas::State::Changing(canvas);
  QPainter& p = op.Painter();
  p.setPen(ToQPen(pen));
  p.setBrush(filled ? ToQBrush(canvas.Brush()) : QBrush(Qt::NoBrush));
  draw(p, EllipseBox(l, t, r, b));
  op.Finish();
  TCanvas::State::Changed(canvas);
}

void ArcShape(TCanvas& canvas, ArcKind kind, int x1, int y1, int x2, int y2, int x3, int y3,
              int x4, int y4) {
  CurvedShape(canvas, x1, y1, x2, y2, kind != ArcKind::kArc, [&](QPainter& p, const QRectF& box) {
    const double start = RadialAngle(box, x3, y3);
    double sweep = std::fmod(RadialAngle(box, x4, y4) - start, 360.0);
    if (sweep <= 1e-9) sweep += 360.0;
    QPainterPath path;
    if (kind == ArcKind::kPie)
      path.moveTo(box.center());
    else
      path.arcMoveTo(box, start);
    path.arcTo(box, start, sweep);
    if (kind != ArcKind::kArc) path.closeSubpath();
    p.drawPath(path);
  });
}

}  // namespace

void TCanvas::Ellipse(int l, int t, int r, int b) {
  CurvedShape(*this, l, t, r, b, true, [](QPainter& p, const QRectF& box) { p.drawEllipse(box); });
}

void TCanvas::RoundRect(int l, int t, int r, int b, int cornerW, int cornerH) {
  CurvedShape(*this, l, t, r, b, true, [&](QPainter& p, const QRectF& box) {
    p.drawRoundedRect(box, std::abs(cornerW) / 2.0, std::abs(cornerH) / 2.0, Qt::AbsoluteSize);
  });
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  ArcShape(*this, ArcKind::kArc, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  ArcShape(*this, ArcKind::kPie, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  ArcShape(*this, ArcKind::kChord, x1, y1, x2, y2, x3, y3, x4, y4);
}

// --- fills and pixels ---------------------------------------------------

namespace {

// Paints region with the brush; fills ignore the pen mode.
void PaintBrush(TCanvas& canvas, const QRegion& region) {
  const TBrush& brush = canvas.Brush();
  if (brush.Style() == TBrushStyle::bsClear || region.isEmpty()) return;
  TCanvas::State::Changing(canvas);
  QImage& image = canvas.Surface()->Image();
  if (brush.Style() == TBrushStyle::bsSolid) {
    FillSolid(image, region, ColorToQRgb(brush.Color()));
  } else {
    QPainter p(&image);
    PrepareQPainter(p);
    ApplyBackground(p, canvas);
    p.setClipRegion(region);
    p.setPen(Qt::NoPen);
    p.setBrush(ToQBrush(brush));
    p.drawRect(region.boundingRect());
  }
  TCanvas::State::Changed(canvas);
}

}  // namespace

void TCanvas::FillRect(const TRect& r) {
  if (!surface_ || r.IsEmpty()) return;
  PaintBrush(*this, State::Drawable(*this) & ToQRect(r));
}

void TCanvas::FrameRect(const TRect& r) {
  if (!surface_ || r.IsEmpty()) return;
  const QRegion frame = QRegion(ToQRect(r)) - QRegion(ToQRect(InflateRect(r, -1, -1)));
  PaintBrush(*this, State::Drawable(*this) & frame);
}

void TCanvas::DrawFocusRect(const TRect& r) {
  if (!surface_ || r.IsEmpty()) return;
  const QRegion drawable = State::Drawable(*this);
  if (drawable.isEmpty()) return;
  State::Changing(*this);
  PixelWriter writer(surface_->Image(), drawable, TPenMode::pmXor);
  // Every other pixel of the frame, by position, so a second call meets the
  // same pixels; each is visited once.
  auto dot = [&](int x, int y) {
    if (((x + y) & 1) == 0) writer.Plot(x, y, 0xFFFFFF);
  };
  const int right = r.Right - 1, bottom = r.Bottom - 1;
  for (int x = r.Left; x <= right; ++x) {
    dot(x, r.Top);
    if (bottom != r.Top) dot(x, bottom);
  }
  for (int y = r.Top + 1; y < bottom; ++y) {
    dot(r.Left, y);
    if (right != r.Left) dot(right, y);
  }
  State::Changed(*this);
}

TColor TCanvas::Pixel(int x, int y) const { return surface_ ? surface_->Pixel(x, y) : clNone; }

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (!surface_) return;
  const QRegion drawable = State::Drawable(*this);
  State::Changing(*this);
  PixelWriter(surface_->Image(), drawable, TPenMode::pmCopy).Plot(x, y, ColorToQRgb(color));
  State::Changed(*this);
}

}  // namespace nitko
