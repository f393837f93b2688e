// Curved shapes: ellipse, rounded rectangle, arc, pie and chord.
//
// Each shape is the set of pixels whose centres lie inside its outline,
// with the ellipse inscribed in the pixel box [left, right) x [top, bottom).
// The pen paints the set's rim, the brush the rest, so no pixel outside
// the box is touched and none is painted twice. With several device pixels
// to a pixel, the shape is the set of device pixels within the scaled box.

#include <QRect>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "framework/canvas.h"
#include "framework/canvas_raster.h"

namespace nitko {

namespace {

constexpr double kEpsilon = 1e-9;

struct EllipseGeometry {
  double cx, cy, ra, rb;
  explicit EllipseGeometry(const QRect& box)
      : cx(box.left() + box.width() / 2.0),
        cy(box.top() + box.height() / 2.0),
        ra(std::max(box.width() / 2.0, kEpsilon)),
        rb(std::max(box.height() / 2.0, kEpsilon)) {}
  bool Inside(double px, double py) const {
    const double u = (px - cx) / ra, v = (py - cy) / rb;
    return u * u + v * v <= 1.0 + kEpsilon;
  }
  // Degrees, counter-clockwise from three o'clock, of the direction from the
  // centre to the point (px, py).
  double DirectionTo(double px, double py) const {
    return std::atan2(cy - py, px - cx) * 180 / std::numbers::pi;
  }
  // Where the ray from the centre at `degrees` meets the ellipse.
  void PointAt(double degrees, double& px, double& py) const {
    const double a = degrees * std::numbers::pi / 180;
    const double t = std::atan2(std::sin(a) / rb, std::cos(a) / ra);
    px = cx + ra * std::cos(t);
    py = cy - rb * std::sin(t);
  }
};

// The directions from the start radial counter-clockwise to the end radial;
// equal radials give the full turn. Radial points are lattice points, like
// the box's corners, so (right, centre) lies exactly at three o'clock.
struct Sector {
  double start = 0;
  double sweep = 360;
  Sector(const EllipseGeometry& e, double x3, double y3, double x4, double y4)
      : start(e.DirectionTo(x3, y3)) {
    const double end = e.DirectionTo(x4, y4);
    sweep = std::fmod(end - start + 720.0, 360.0);
    if (sweep <= kEpsilon) sweep = 360;
  }
  bool Contains(double degrees) const {
    return sweep >= 360 || std::fmod(degrees - start + 720.0, 360.0) <= sweep + kEpsilon;
  }
};

QRect BoxOf(int l, int t, int r, int b) {
  return SafeRect(std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b));
}

// Paints the set of pixels within box whose centres `inside` accepts: a rim
// as wide as the pen (kept where keepRim says so) in the pen colour, the
// rest, when filled, with the brush. Without a pen the platform fills one
// pixel less to the right and below, so `shape` receives the box to use, in
// device pixels, and the device pixels per pixel.
template <class MakeShape>
void PaintShape(TCanvas& canvas, QRect box, bool filled, MakeShape makeShape) {
  const PenInfo pen = PenOf(canvas.Pen());
  if (!canvas.Surface() || box.isEmpty()) return;
  if (!pen.visible) {
    if (!filled) return;
    box.adjust(0, 0, -1, -1);
    if (box.isEmpty()) return;
  }
  ShapeOp op(canvas, box, false);
  if (op.Empty()) return;
  const int k = op.Ratio();
  box = ToDevice(box, k);
  const auto shape = makeShape(box, k);
  // A rim beyond half the box's shorter side takes in the whole shape anyway.
  const int rim = pen.visible ? static_cast<int>(std::min<long long>(
                                    1LL * pen.width * k, std::min(box.width(), box.height()) / 2 + 1))
                              : 0;
  // Rim pixels near the visible part depend only on pixels a rim away.
  const QRect work = box & op.Bounds().adjusted(-rim - 1, -rim - 1, rim + 1, rim + 1);
  const int w = work.width(), h = work.height();
  std::vector<uint8_t> in(static_cast<size_t>(w) * h), next(in.size());
  std::vector<uint8_t> ring(in.size(), 0);  // the erosion pass that removed the pixel
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      in[static_cast<size_t>(y) * w + x] =
          shape.Inside(work.left() + x + 0.5, work.top() + y + 0.5);
  // A neighbour cut off by the work area counts as inside; outside the box
  // it is outside.
  auto at = [&](const std::vector<uint8_t>& m, int x, int y) -> bool {
    if (x >= 0 && y >= 0 && x < w && y < h) return m[static_cast<size_t>(y) * w + x];
    return box.contains(work.left() + x, work.top() + y);
  };
  for (int pass = 1; pass <= rim; ++pass) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const size_t i = static_cast<size_t>(y) * w + x;
        next[i] =
            in[i] && at(in, x - 1, y) && at(in, x + 1, y) && at(in, x, y - 1) && at(in, x, y + 1);
        if (in[i] && !next[i]) ring[i] = static_cast<uint8_t>(std::min(pass, 255));
      }
    in.swap(next);
  }
  TCanvas::State::Changing(canvas);
  const BrushSampler brush(canvas);
  const QRect visible = work & op.Bounds();
  QRgb rgb;
  for (int y = visible.top(); y <= visible.bottom(); ++y)
    for (int x = visible.left(); x <= visible.right(); ++x) {
      const size_t i = static_cast<size_t>(y - work.top()) * w + (x - work.left());
      if (ring[i]) {
        if (shape.KeepRim(x + 0.5, y + 0.5)) op.Plot(x, y, pen.rgb);
      } else if (in[i] && filled && brush.At(x, y, rgb)) {
        op.Plot(x, y, rgb);
      }
    }
  op.Finish();
  TCanvas::State::Changed(canvas);
}

struct EllipseShape {
  EllipseGeometry e;
  bool Inside(double px, double py) const { return e.Inside(px, py); }
  bool KeepRim(double, double) const { return true; }
};

struct RoundRectShape {
  QRect box;
  double ex, ey;
  bool Inside(double px, double py) const {
    if (ex <= 0 || ey <= 0) return true;
    const double l = box.left(), t = box.top(), r = l + box.width(), b = t + box.height();
    const double qx = std::clamp(px, l + ex, r - ex), qy = std::clamp(py, t + ey, b - ey);
    const double u = (px - qx) / ex, v = (py - qy) / ey;
    return u * u + v * v <= 1.0 + kEpsilon;
  }
  bool KeepRim(double, double) const { return true; }
};

// Arc (rim only, within the sector) and pie (the sector of the ellipse).
struct SectorShape {
  EllipseGeometry e;
  Sector sector;
  bool pie;
  bool Inside(double px, double py) const {
    return e.Inside(px, py) && (!pie || sector.Contains(e.DirectionTo(px, py)));
  }
  bool KeepRim(double px, double py) const { return pie || sector.Contains(e.DirectionTo(px, py)); }
};

// The ellipse cut by the line between the arc's ends, on the arc's side.
struct ChordShape {
  EllipseGeometry e;
  Sector sector;
  double ax = 0, ay = 0, bx = 0, by = 0, side = 0;
  ChordShape(const EllipseGeometry& geometry, const Sector& s) : e(geometry), sector(s) {
    e.PointAt(sector.start, ax, ay);
    e.PointAt(sector.start + sector.sweep, bx, by);
    double mx, my;
    e.PointAt(sector.start + sector.sweep / 2, mx, my);
    side = Cross(mx, my);
    if (std::hypot(bx - ax, by - ay) < kEpsilon) side = 0;
  }
  double Cross(double px, double py) const { return (bx - ax) * (py - ay) - (by - ay) * (px - ax); }
  bool Inside(double px, double py) const {
    if (!e.Inside(px, py)) return false;
    if (sector.sweep >= 360 || side == 0) return true;
    const double c = Cross(px, py);
    return side > 0 ? c >= -kEpsilon : c <= kEpsilon;
  }
  bool KeepRim(double, double) const { return true; }
};

}  // namespace

void TCanvas::Ellipse(int l, int t, int r, int b) {
  if (record_ && !Recorded('e', {l, t, r, b})) return;
  if (changes_) Touched(l, t, r, b, std::max(pen_.Width(), 1) + 1);
  PaintShape(*this, BoxOf(l, t, r, b), true,
             [](const QRect& box, int) { return EllipseShape{EllipseGeometry(box)}; });
}

void TCanvas::RoundRect(int l, int t, int r, int b, int cornerW, int cornerH) {
  if (record_ && !Recorded('R', {l, t, r, b, cornerW, cornerH})) return;
  if (changes_) Touched(l, t, r, b, std::max(pen_.Width(), 1) + 1);
  PaintShape(*this, BoxOf(l, t, r, b), true, [&](const QRect& box, int k) {
    const auto corner = [k](int size, int room) {
      return static_cast<double>(std::min(std::abs(static_cast<long long>(size)) * k,
                                          static_cast<long long>(room)));
    };
    return RoundRectShape{box, corner(cornerW, box.width()) / 2.0,
                          corner(cornerH, box.height()) / 2.0};
  });
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (record_ && !Recorded('a', {x1, y1, x2, y2, x3, y3, x4, y4})) return;
  if (changes_) Touched(x1, y1, x2, y2, std::max(pen_.Width(), 1) + 1);
  PaintShape(*this, BoxOf(x1, y1, x2, y2), false, [&](const QRect& box, int k) {
    const EllipseGeometry e(box);
    return SectorShape{e, Sector(e, 1.0 * k * x3, 1.0 * k * y3, 1.0 * k * x4, 1.0 * k * y4), false};
  });
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (record_ && !Recorded('P', {x1, y1, x2, y2, x3, y3, x4, y4})) return;
  if (changes_) Touched(x1, y1, x2, y2, std::max(pen_.Width(), 1) + 1);
  PaintShape(*this, BoxOf(x1, y1, x2, y2), true, [&](const QRect& box, int k) {
    const EllipseGeometry e(box);
    return SectorShape{e, Sector(e, 1.0 * k * x3, 1.0 * k * y3, 1.0 * k * x4, 1.0 * k * y4), true};
  });
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (record_ && !Recorded('c', {x1, y1, x2, y2, x3, y3, x4, y4})) return;
  if (changes_) Touched(x1, y1, x2, y2, std::max(pen_.Width(), 1) + 1);
  PaintShape(*this, BoxOf(x1, y1, x2, y2), true, [&](const QRect& box, int k) {
    const EllipseGeometry e(box);
    return ChordShape(e, Sector(e, 1.0 * k * x3, 1.0 * k * y3, 1.0 * k * x4, 1.0 * k * y4));
  });
}

}  // namespace nitko
