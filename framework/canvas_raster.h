#pragma once

// Framework-internal: the pixel machinery behind TCanvas's lines and shapes.
// Outlines and fills are rasterised here rather than by QPainter, whose
// aliased strokes miss end pixels or overshoot the boxes the raster rules
// pin down.

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <span>

#include "framework/canvas_state.h"

namespace nitko {

// Coordinates beyond this never reach a surface; clamping to it keeps every
// width and height within int.
inline constexpr long long kFar = 1 << 28;
inline int ClampFar(long long v) {
  return static_cast<int>(std::clamp(v, -kFar, kFar));
}
// The pixels [l, r) x [t, b) as a QRect, empty when r <= l or b <= t.
inline QRect SafeRect(long long l, long long t, long long r, long long b) {
  return QRect(QPoint(ClampFar(l), ClampFar(t)), QPoint(ClampFar(r) - 1, ClampFar(b) - 1));
}
inline QRect SafeRect(const TRect& r) {
  return SafeRect(r.Left, r.Top, r.Right, r.Bottom);
}

// The device pixels of pixels, ratio of them along each side, clamped like
// SafeRect.
inline QRect ToDevice(const QRect& r, int ratio) {
  if (ratio == 1) return r;
  const long long k = ratio;
  return SafeRect(r.left() * k, r.top() * k, (r.right() + 1LL) * k, (r.bottom() + 1LL) * k);
}
QRegion ToDevice(const QRegion& region, int ratio);

// Single pixels of an image, kept inside a region and combined by a pen mode.
class PixelWriter {
 public:
  PixelWriter(QImage& image, const QRegion& region, TPenMode mode)
      : PixelWriter(image, &region, region.boundingRect(), region.rectCount() <= 1, mode) {}
  // The pixels of one rectangle, without building a region for it.
  PixelWriter(QImage& image, const QRect& bounds, TPenMode mode)
      : PixelWriter(image, nullptr, bounds, true, mode) {}

  const QRect& Bounds() const { return bounds_; }
  // Whether the region is its bounding box, so that Bounds() alone clips.
  bool Rectangular() const { return single_; }
  TPenMode Mode() const { return mode_; }
  // A pixel known to lie inside a rectangular region.
  void Set(int x, int y, QRgb rgb) {
    QRgb& d = bits_[static_cast<ptrdiff_t>(y) * stride_ + x];
    d = mode_ == TPenMode::pmCopy ? rgb | 0xFF000000u : CombinePen(mode_, rgb, d);
  }
  void Plot(int x, int y, QRgb rgb) {
    // An empty region has right < left, so nothing passes.
    if (x < left_ || x > right_ || y < top_ || y > bottom_ ||
        (!single_ && !region_->contains(QPoint(x, y))))
      return;
    QRgb& d = bits_[static_cast<ptrdiff_t>(y) * stride_ + x];
    d = mode_ == TPenMode::pmCopy ? rgb | 0xFF000000u : CombinePen(mode_, rgb, d);
  }
  // The row y from x0 to x1 (inclusive), all inside Bounds() of a
  // rectangular region, set to rgb by the pen mode.
  void Run(int x0, int x1, int y, QRgb rgb) {
    QRgb* row = bits_ + static_cast<ptrdiff_t>(y) * stride_;
    if (mode_ == TPenMode::pmCopy) {
      std::fill(row + x0, row + x1 + 1, rgb | 0xFF000000u);
      return;
    }
    for (int x = x0; x <= x1; ++x) row[x] = CombinePen(mode_, rgb, row[x]);
  }

 private:
  PixelWriter(QImage& image, const QRegion* region, const QRect& bounds, bool single,
              TPenMode mode)
      : region_(region),
        bounds_(bounds),
        left_(bounds_.left()),
        top_(bounds_.top()),
        right_(bounds_.right()),
        bottom_(bounds_.bottom()),
        single_(single),
        mode_(mode),
        bits_(bounds_.isEmpty() ? nullptr : reinterpret_cast<QRgb*>(image.bits())),
        stride_(image.bytesPerLine() / 4) {}

  const QRegion* region_;  // null: bounds_ alone
  QRect bounds_;
  int left_, top_, right_, bottom_;
  bool single_;
  TPenMode mode_;
  QRgb* bits_;
  int stride_;
};

// Visits the pixels of the line from a to b, b left out, as (x, y, k) with
// k counted from a. Steps whose major coordinate lies outside bounds are
// skipped, so far-off end points cost nothing. The minor coordinate lies
// between the ends' (which may be scaled TPoints beyond int).
template <class Point, class Visit>
void WalkLine(Point a, Point b, const QRect& bounds, Visit visit) {
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
      visit(major, minor, k);
    else
      visit(minor, major, k);
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
  bool On(long long k) const { return OnAt(static_cast<int>(k % period)); }
  // Whether position pos of one period is drawn.
  constexpr bool OnAt(int pos) const {
    for (int i = 0; i < count; ++i) {
      if (pos < segments[i]) return i % 2 == 0;
      pos -= segments[i];
    }
    return false;
  }
};

// The pen as an operation sees it. Wide pens draw solid, as on the platform.
struct PenInfo {
  bool visible = true;
  bool thin = true;
  int width = 1;
  const Dashes* dashes = nullptr;
  QRgb rgb = 0;
};
PenInfo PenOf(const TPen& pen);
// A Qt pen for strokes wider than one pixel.
QPen WidePen(const PenInfo& pen);

// The brush colour per device pixel. Hatches repeat every 8 pixels from the
// surface's origin, so every operation lays the same pattern.
class BrushSampler {
 public:
  explicit BrushSampler(const TCanvas& canvas);
  bool Paints() const { return kind_ != Kind::kClear; }
  bool Solid() const { return kind_ == Kind::kSolid; }
  QRgb SolidRgb() const { return solid_; }
  // False where a hatch leaves a transparent gap.
  bool At(int x, int y, QRgb& rgb) const {
    if (kind_ == Kind::kSolid) {
      rgb = solid_;
      return true;
    }
    if (kind_ == Kind::kClear) return false;
    if (ratio_ != 1) {
      x /= ratio_;
      y /= ratio_;
    }
    rgb = reinterpret_cast<const QRgb*>(tile_.constScanLine(y & 7))[x & 7];
    return qAlpha(rgb) != 0;
  }

 private:
  enum class Kind { kClear, kSolid, kPattern };
  Kind kind_ = Kind::kClear;
  int ratio_ = 1;
  QRgb solid_ = 0;
  QImage tile_;
};

// One pen-and-brush operation on the pixels of the canvas within reach,
// which it plots as device pixels: Bounds() and every Plot are in those.
// Without overlaps every pixel is plotted once and combined straight away
// by the pen mode. With overlaps (a filled polygon and its outline, a wide
// stroke) in a mode other than copy, the operation paints a transparent
// layer first and combines it when finished, so each pixel changes once.
class ShapeOp {
 public:
  ShapeOp(TCanvas& canvas, const QRect& reach, bool overlaps);

  bool Empty() const { return bounds_.isEmpty(); }
  // Device pixels per pixel.
  int Ratio() const { return ratio_; }
  // Device pixels the operation may reach.
  QRect Bounds() const { return bounds_; }
  // A painter in (unscaled) surface coordinates, for wide strokes.
  QPainter& Painter();
  void Plot(int x, int y, QRgb rgb) {
    if (painter_) painter_.reset();
    if (layered_)
      writer_->Plot(x - origin_.x(), y - origin_.y(), rgb | 0xFF000000u);
    else
      writer_->Plot(x, y, rgb);
  }
  // Plots every pixel of rect in rgb, as Plot would one by one.
  void PlotRect(const QRect& rect, QRgb rgb);
  // Whether Bounds() is all the clipping there is and pixels go straight
  // to the surface, so that PlotInside may be used.
  bool Direct() const { return !layered_ && writer_->Rectangular(); }
  // Plot for a pixel inside Bounds() of a Direct() operation.
  void PlotInside(int x, int y, QRgb rgb) {
    if (painter_) painter_.reset();
    writer_->Set(x, y, rgb);
  }
  // The row y from x0 to x1 (inclusive) inside Bounds(), likewise.
  void RunInside(int x0, int x1, int y, QRgb rgb) {
    if (painter_) painter_.reset();
    writer_->Run(x0, x1, y, rgb);
  }
  void Finish();

 private:
  TCanvas& canvas_;
  QImage& image_;
  int ratio_;
  // The pixels within reach and their device pixels: a rectangle alone
  // when the canvas clips to one (or not at all), else regions.
  bool rectangular_;
  QRect logicalBox_;
  QRect bounds_;
  QRegion logical_;
  QRegion region_;
  TPenMode mode_;
  bool layered_;
  QPoint origin_;
  QImage layer_;
  std::optional<PixelWriter> writer_;
  std::optional<QPainter> painter_;
};

// A one-pixel outline through points, each segment leaving out its end; the
// dash pattern runs on across the corners. lastPixel adds the final point.
// Points are pixels; the outline is Ratio() device pixels wide.
void StrokeThin(ShapeOp& op, const TCanvas& canvas, const PenInfo& pen,
                std::span<const TPoint> points, bool closed, bool lastPixel);

// Plots the brush over rect (device pixels).
void PlotBrush(ShapeOp& op, const BrushSampler& brush, const QRect& rect);

// Painting on a QPainter with nothing smoothed.
void PrepareQPainter(QPainter& p);

}  // namespace nitko
