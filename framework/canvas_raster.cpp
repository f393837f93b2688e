#include "framework/canvas_raster.h"

#include <QPen>
#include <algorithm>
#include <cwchar>
#include <vector>

#include "framework/qt_bridge.h"
#include "framework/surface.h"

namespace nitko {

namespace {

constexpr QRgb kOpaque = 0xFF000000u;
constexpr QRgb kRgbMask = 0x00FFFFFFu;

constexpr Dashes kDash{{18, 6}, 2, 24};
constexpr Dashes kDot{{3, 3}, 2, 6};
constexpr Dashes kDashDot{{9, 6, 3, 6}, 4, 24};
constexpr Dashes kDashDotDot{{9, 3, 3, 3, 3, 3}, 6, 24};

Qt::BrushStyle HatchOf(TBrushStyle style) {
  switch (style) {
    case TBrushStyle::bsHorizontal:
      return Qt::HorPattern;
    case TBrushStyle::bsVertical:
      return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal:
      return Qt::FDiagPattern;
    case TBrushStyle::bsBDiagonal:
      return Qt::BDiagPattern;
    case TBrushStyle::bsCross:
      return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross:
      return Qt::DiagCrossPattern;
    default:
      return Qt::SolidPattern;
  }
}

}  // namespace

QRgb CombinePen(TPenMode mode, QRgb s, QRgb d) {
  switch (mode) {
    case TPenMode::pmCopy:
      return s | kOpaque;
    case TPenMode::pmXor:
      return ((s ^ d) & kRgbMask) | kOpaque;
    case TPenMode::pmNotXor:
      return (~(s ^ d) & kRgbMask) | kOpaque;
    case TPenMode::pmNot:
      return (~d & kRgbMask) | kOpaque;
    case TPenMode::pmBlack:
      return kOpaque;
    case TPenMode::pmWhite:
      return 0xFFFFFFFFu;
  }
  return s | kOpaque;
}

void FillSolid(QImage& image, const QRegion& region, QRgb rgb) {
  const QRegion inside = region & QRegion(image.rect());
  if (inside.isEmpty()) return;
  QRgb* bits = reinterpret_cast<QRgb*>(image.bits());
  const int stride = image.bytesPerLine() / 4;
  // The C library's wide-character fill stores 32-bit values with vector
  // instructions; a plain loop goes one pixel at a time.
  static_assert(sizeof(wchar_t) == sizeof(QRgb));
  const auto value = static_cast<wchar_t>(rgb | kOpaque);
  for (const QRect& r : inside)
    for (int y = r.top(); y <= r.bottom(); ++y)
      std::wmemset(reinterpret_cast<wchar_t*>(bits + static_cast<ptrdiff_t>(y) * stride + r.left()),
                   value, static_cast<size_t>(r.width()));
}

QRegion ToDevice(const QRegion& region, int ratio) {
  if (ratio == 1) return region;
  std::vector<QRect> rects;
  rects.reserve(static_cast<size_t>(region.rectCount()));
  for (const QRect& r : region) rects.push_back(ToDevice(r, ratio));
  QRegion device;
  device.setRects(rects.data(), static_cast<int>(rects.size()));
  return device;
}

void PrepareQPainter(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

PenInfo PenOf(const TPen& pen) {
  PenInfo info;
  info.visible = pen.Style() != TPenStyle::psClear;
  info.width = std::max(pen.Width(), 1);
  info.thin = info.width == 1;
  info.rgb = ColorToQRgb(pen.Color());
  if (info.thin) {
    switch (pen.Style()) {
      case TPenStyle::psDash:
        info.dashes = &kDash;
        break;
      case TPenStyle::psDot:
        info.dashes = &kDot;
        break;
      case TPenStyle::psDashDot:
        info.dashes = &kDashDot;
        break;
      case TPenStyle::psDashDotDot:
        info.dashes = &kDashDotDot;
        break;
      default:
        break;
    }
  }
  return info;
}

QPen WidePen(const PenInfo& pen) {
  return QPen(QColor::fromRgb(pen.rgb), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

BrushSampler::BrushSampler(const TCanvas& canvas) {
  const TBrush& brush = canvas.Brush();
  if (brush.Style() == TBrushStyle::bsClear) return;
  solid_ = ColorToQRgb(brush.Color()) | kOpaque;
  if (brush.Style() == TBrushStyle::bsSolid) {
    kind_ = Kind::kSolid;
    return;
  }
  kind_ = Kind::kPattern;
  ratio_ = canvas.Surface() ? canvas.Surface()->Ratio() : 1;
  tile_ = QImage(8, 8, QImage::Format_ARGB32);
  const bool opaque = TCanvas::State::Background(canvas) == TBackgroundMode::bmOpaque;
  tile_.fill(opaque ? QColor::fromRgb(TCanvas::State::BackgroundRgb(canvas)) : QColor(0, 0, 0, 0));
  QPainter p(&tile_);
  PrepareQPainter(p);
  p.fillRect(tile_.rect(), QBrush(QColor::fromRgb(solid_), HatchOf(brush.Style())));
}

ShapeOp::ShapeOp(TCanvas& canvas, const QRect& reach, bool overlaps)
    : canvas_(canvas),
      image_(canvas.Surface()->Image()),
      ratio_(canvas.Surface()->Ratio()),
      mode_(canvas.Pen().Mode()),
      layered_(mode_ != TPenMode::pmCopy && overlaps) {
  const QRegion drawable = TCanvas::State::Drawable(canvas);
  rectangular_ = drawable.rectCount() <= 1;
  if (rectangular_) {
    logicalBox_ = drawable.boundingRect() & reach;
    bounds_ = logicalBox_.isEmpty() ? QRect() : ToDevice(logicalBox_, ratio_);
  } else {
    logical_ = drawable & reach;
    region_ = ToDevice(logical_, ratio_);
    bounds_ = region_.boundingRect();
  }
  if (layered_ && !bounds_.isEmpty()) {
    origin_ = bounds_.topLeft();
    layer_ = QImage(bounds_.size(), QImage::Format_ARGB32_Premultiplied);
    layer_.setDevicePixelRatio(ratio_);
    layer_.fill(0);
    writer_.emplace(layer_, layer_.rect(), TPenMode::pmCopy);
  } else if (rectangular_) {
    writer_.emplace(image_, bounds_, mode_);
  } else {
    writer_.emplace(image_, region_, mode_);
  }
}

QPainter& ShapeOp::Painter() {
  if (!painter_) {
    if (layered_) {
      painter_.emplace(&layer_);
      painter_->translate(-origin_ / ratio_);
    } else {
      painter_.emplace(&image_);
      if (canvas_.HasClip())
        painter_->setClipRegion(rectangular_ ? QRegion(logicalBox_) : logical_);
    }
    PrepareQPainter(*painter_);
  }
  return *painter_;
}

void ShapeOp::PlotRect(const QRect& rect, QRgb rgb) {
  const QRect r = rect & Bounds();
  if (r.isEmpty()) return;
  if (layered_ || !writer_->Rectangular()) {
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) Plot(x, y, rgb);
    return;
  }
  painter_.reset();
  for (int y = r.top(); y <= r.bottom(); ++y) writer_->Run(r.left(), r.right(), y, rgb);
}

void ShapeOp::Finish() {
  painter_.reset();
  if (!layered_ || bounds_.isEmpty()) return;
  QRgb* dst = reinterpret_cast<QRgb*>(image_.bits());
  const int stride = image_.bytesPerLine() / 4;
  const QRegion device = rectangular_ ? QRegion(bounds_) : region_;
  for (const QRect& r : device) {
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

namespace {

struct DevicePoint {
  long long X, Y;
};

// StrokeThin at k > 1 device pixels per pixel: the line between the scaled
// ends is walked device pixel by device pixel and k wide across, so that a
// slope steps by single device pixels. A pixel met going back along the
// major axis is entered at its far device pixel, so that a segment covers
// the device pixels of the pixels StrokeThin covers at one to one.
void StrokeScaled(ShapeOp& op, const PenInfo& pen, bool opaqueGaps, QRgb gap,
                  std::span<const TPoint> points, bool closed, bool lastPixel) {
  const int k = op.Ratio();
  const QRect bounds = op.Bounds();
  auto plot = [&](long long x, long long y, QRgb rgb) {
    if (x >= bounds.left() && x <= bounds.right() && y >= bounds.top() && y <= bounds.bottom())
      op.Plot(static_cast<int>(x), static_cast<int>(y), rgb);
  };
  long long offset = 0;
  auto segment = [&](TPoint a, TPoint b) {
    const long long dx = static_cast<long long>(b.X) - a.X, dy = static_cast<long long>(b.Y) - a.Y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long back = (xMajor ? dx : dy) < 0 ? k - 1 : 0;
    const DevicePoint from{a.X * static_cast<long long>(k) + (xMajor ? back : 0),
                           a.Y * static_cast<long long>(k) + (xMajor ? 0 : back)};
    const DevicePoint to{b.X * static_cast<long long>(k) + (xMajor ? back : 0),
                         b.Y * static_cast<long long>(k) + (xMajor ? 0 : back)};
    WalkLine(from, to, bounds, [&](long long x, long long y, long long step) {
      QRgb rgb = pen.rgb;
      if (pen.dashes && !pen.dashes->On(offset + step / k)) {
        if (!opaqueGaps) return;
        rgb = gap;
      }
      for (int i = 0; i < k; ++i) plot(xMajor ? x : x + i, xMajor ? y + i : y, rgb);
    });
    offset += std::max(std::llabs(dx), std::llabs(dy));
  };
  for (size_t i = 1; i < points.size(); ++i) segment(points[i - 1], points[i]);
  if (closed && points.size() > 1) segment(points.back(), points.front());
  if (lastPixel && !points.empty() && (!pen.dashes || pen.dashes->On(offset)))
    for (int i = 0; i < k * k; ++i)
      plot(points.back().X * static_cast<long long>(k) + i % k,
           points.back().Y * static_cast<long long>(k) + i / k, pen.rgb);
}

}  // namespace

void StrokeThin(ShapeOp& op, const TCanvas& canvas, const PenInfo& pen,
                std::span<const TPoint> points, bool closed, bool lastPixel) {
  const bool opaqueGaps =
      pen.dashes && TCanvas::State::Background(canvas) == TBackgroundMode::bmOpaque;
  const QRgb gap = opaqueGaps ? TCanvas::State::BackgroundRgb(canvas) : 0;
  if (op.Ratio() != 1) return StrokeScaled(op, pen, opaqueGaps, gap, points, closed, lastPixel);
  const QRect bounds = op.Bounds();
  long long offset = 0;
  // Straight across or down, in a plain operation: the same pixels as the
  // walk, clipped once instead of pixel by pixel.
  auto straight = [&](TPoint a, TPoint b) {
    const bool across = a.Y == b.Y;
    const long long n = across ? std::llabs(static_cast<long long>(b.X) - a.X)
                               : std::llabs(static_cast<long long>(b.Y) - a.Y);
    const int fixed = across ? a.Y : a.X;
    if (across ? fixed < bounds.top() || fixed > bounds.bottom()
               : fixed < bounds.left() || fixed > bounds.right())
      return;
    const long long from = across ? a.X : a.Y, to = across ? b.X : b.Y;
    const int step = to < from ? -1 : 1;
    const long long lo = across ? bounds.left() : bounds.top();
    const long long hi = across ? bounds.right() : bounds.bottom();
    const long long kmin = std::max(step > 0 ? lo - from : from - hi, 0LL);
    const long long kmax = std::min(step > 0 ? hi - from : from - lo, n - 1);
    if (kmin > kmax) return;
    const long long first = from + step * kmin, last = from + step * kmax;
    if (!pen.dashes && across) {
      // Each pixel of a segment is met once, so the order within it is free.
      op.RunInside(static_cast<int>(std::min(first, last)), static_cast<int>(std::max(first, last)),
                   fixed, pen.rgb);
      return;
    }
    int phase = pen.dashes ? static_cast<int>((offset + kmin) % pen.dashes->period) : 0;
    for (long long p = first;; p += step) {
      const int x = across ? static_cast<int>(p) : fixed, y = across ? fixed : static_cast<int>(p);
      if (!pen.dashes || pen.dashes->OnAt(phase))
        op.PlotInside(x, y, pen.rgb);
      else if (opaqueGaps)
        op.PlotInside(x, y, gap);
      if (pen.dashes && ++phase == pen.dashes->period) phase = 0;
      if (p == last) break;
    }
  };
  auto segment = [&](TPoint a, TPoint b) {
    if (op.Direct() && (a.X == b.X || a.Y == b.Y) && !(a.X == b.X && a.Y == b.Y)) {
      straight(a, b);
      offset += std::max(std::llabs(static_cast<long long>(b.X) - a.X),
                         std::llabs(static_cast<long long>(b.Y) - a.Y));
      return;
    }
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

void PlotBrush(ShapeOp& op, const BrushSampler& brush, const QRect& rect) {
  const QRect r = rect & op.Bounds();
  if (!brush.Paints() || r.isEmpty()) return;
  if (brush.Solid()) return op.PlotRect(r, brush.SolidRgb());
  QRgb rgb;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (brush.At(x, y, rgb)) op.Plot(x, y, rgb);
}

}  // namespace nitko
