// The solid shapes of the chart canvas. Each projects its corners and draws
// its faces as polygons; a flat canvas therefore shows the front outline.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "chart/chart_rounding.h"
#include "chart/tee_canvas.h"
#include "framework/system_colors.h"

namespace nitko {

namespace {

// Outline points of a round end; enough that a chart-sized ring looks round.
constexpr int kRingSegments = 32;
// A pie's arc gets one outline point at least every this many degrees.
constexpr double kPieStepDegrees = 5.0;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Twice the signed area, screen y growing downwards: negative for points that
// run counter-clockwise as seen on the screen.
// In doubles: products of coordinates near the int range overflow 64 bits,
// and only signs and sizes matter here.
double TwiceSignedArea(std::span<const TPoint> p) {
  double sum = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const TPoint a = p[i];
    const TPoint b = p[(i + 1) % p.size()];
    sum += static_cast<double>(a.X) * b.Y - static_cast<double>(b.X) * a.Y;
  }
  return sum;
}

double Cross(TPoint o, TPoint a, TPoint b) {
  return (static_cast<double>(a.X) - o.X) * (static_cast<double>(b.Y) - o.Y) -
         (static_cast<double>(a.Y) - o.Y) * (static_cast<double>(b.X) - o.X);
}

// The outline of a convex solid is the convex hull of its projected points.
std::vector<TPoint> ConvexHull(std::vector<TPoint> p) {
  std::sort(p.begin(), p.end(),
            [](TPoint a, TPoint b) { return a.X != b.X ? a.X < b.X : a.Y < b.Y; });
  p.erase(std::unique(p.begin(), p.end()), p.end());
  if (p.size() < 3) return p;
  std::vector<TPoint> hull(2 * p.size());
  size_t k = 0;
  for (const TPoint& q : p) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], q) <= 0) --k;
    hull[k++] = q;
  }
  for (size_t i = p.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && Cross(hull[k - 2], hull[k - 1], p[i]) <= 0) --k;
    hull[k++] = p[i];
  }
  hull.resize(k - 1);
  return hull;
}

TColor Mix(const std::array<TColor, 3>& rgb, double w0, double w1, double w2) {
  TColor out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double v = w0 * ((rgb[0] >> shift) & 0xFF) + w1 * ((rgb[1] >> shift) & 0xFF) +
                     w2 * ((rgb[2] >> shift) & 0xFF);
    out |= static_cast<TColor>(std::clamp(std::lround(v), 0L, 255L)) << shift;
  }
  return out;
}

}  // namespace

void TTeeCanvas3D::FacingPolygon(std::span<const TPoint> projected) {
  if (projected.size() >= 3 && TwiceSignedArea(projected) < 0)
    DrawPolygon(projected, static_cast<int>(projected.size()) - 1);
}

void TTeeCanvas3D::FacingWall(TPoint from, TPoint to, int z0, int z1) {
  const TPoint wall[] = {ProjectToPoint(to.X, to.Y, z0), ProjectToPoint(from.X, from.Y, z0),
                         ProjectToPoint(from.X, from.Y, z1), ProjectToPoint(to.X, to.Y, z1)};
  FacingPolygon(wall);
}

void TTeeCanvas3D::DrawArrow(TPoint from, TPoint to, int headWidth, int headLength, int z) {
  const double dx = to.X - from.X;
  const double dy = to.Y - from.Y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return;
  const double ux = dx / length;
  const double uy = dy / length;
  const double bx = to.X - ux * headLength;
  const double by = to.Y - uy * headLength;
  const double half = headWidth / 2.0;
  StrokeLineZ(from.X, from.Y, RoundEven(bx), RoundEven(by), z);
  TriangleAtDepth(to, {RoundEven(bx - uy * half), RoundEven(by + ux * half)},
                  {RoundEven(bx + uy * half), RoundEven(by - ux * half)}, z);
}

void TTeeCanvas3D::TurnedSolid(const TRect& r, int z0, int z1, bool vertical, double tipScale) {
  const double midX = (r.Left + r.Right) / 2.0;
  const double midY = (r.Top + r.Bottom) / 2.0;
  const double midZ = (z0 + z1) / 2.0;
  const double across = (vertical ? r.Width() : r.Height()) / 2.0;
  const double deep = std::abs(z1 - z0) / 2.0;
  // An end's outline runs counter-clockwise seen from outside the tip end;
  // the base, facing the other way, runs the other way round.
  auto end = [&](bool base) {
    const double scale = base ? 1.0 : tipScale;
    const int count = scale > 0 ? kRingSegments : 1;
    std::vector<TPoint> ring;
    ring.reserve(count);
    for (int i = 0; i < count; ++i) {
      const double t = 2 * std::numbers::pi * i / kRingSegments;
      const int u = RoundEven((vertical ? midX : midY) + across * scale * std::cos(t));
      const int w = RoundEven(midZ + deep * scale * std::sin(t));
      ring.push_back(vertical ? ProjectToPoint(u, base ? r.Bottom : r.Top, w)
                              : ProjectToPoint(base ? r.Left : r.Right, u, w));
    }
    if (base) std::reverse(ring.begin(), ring.end());
    return ring;
  };
  const std::vector<TPoint> base = end(true);
  const std::vector<TPoint> tip = end(false);
  std::vector<TPoint> all = base;
  all.insert(all.end(), tip.begin(), tip.end());
  const std::vector<TPoint> outline = ConvexHull(std::move(all));
  DrawPolygon(outline, static_cast<int>(outline.size()) - 1);
  // The end turned towards the viewer shows on top of the side.
  FacingPolygon(base);
  FacingPolygon(tip);
}

void TTeeCanvas3D::DrawCone(const TRect& r, int z0, int z1, bool vertical, int tipPercent) {
  TurnedSolid(r, z0, z1, vertical, std::clamp(tipPercent, 0, 100) / 100.0);
}

void TTeeCanvas3D::DrawBox(const TRect& r, int z0, int z1) {
  // Back faces first so the front face covers them.
  DepthRectY(r.Left, r.Right, r.Top, z0, z1);
  DepthRectX(r.Right, r.Top, r.Bottom, z0, z1);
  RectangleAtDepth(r, z0);
}

void TTeeCanvas3D::DrawCylinder(const TRect& r, int z0, int z1, bool vertical) {
  TurnedSolid(r, z0, z1, vertical, 1.0);
}

void TTeeCanvas3D::DrawPie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1,
                             double startAngle, double endAngle) {
  if (!std::isfinite(startAngle) || !std::isfinite(endAngle)) return;
  if (z0 > z1) std::swap(z0, z1);
  double sweep = std::fmod(endAngle - startAngle, 360.0);
  if (!(sweep > 0)) sweep += 360.0;
  const bool whole = sweep >= 360.0;
  const int steps = std::max(2, static_cast<int>(std::ceil(sweep / kPieStepDegrees)));
  // The slice's edge, counter-clockwise on the screen.
  std::vector<TPoint> edge;
  edge.reserve(steps + 2);
  if (!whole) edge.push_back({xCenter, yCenter});
  for (int i = 0; i < (whole ? steps : steps + 1); ++i) {
    const double a = (startAngle + sweep * i / steps) * kRadiansPerDegree;
    edge.push_back(
        {RoundEven(xCenter + xRadius * std::cos(a)), RoundEven(yCenter - yRadius * std::sin(a))});
  }
  std::vector<TPoint> face(edge.rbegin(), edge.rend());
  for (TPoint& p : face) ProjectPoint(p.X, p.Y, z1);
  FacingPolygon(face);
  for (size_t i = 0; i < edge.size(); ++i) FacingWall(edge[i], edge[(i + 1) % edge.size()], z0, z1);
  face.assign(edge.begin(), edge.end());
  for (TPoint& p : face) ProjectPoint(p.X, p.Y, z0);
  FacingPolygon(face);
}

void TTeeCanvas3D::PlaneBetweenDepths(TPoint p1, TPoint p2, int z0, int z1) {
  const TPoint face[] = {ProjectToPoint(p1.X, p1.Y, z0), ProjectToPoint(p2.X, p2.Y, z0),
                         ProjectToPoint(p2.X, p2.Y, z1), ProjectToPoint(p1.X, p1.Y, z1)};
  DrawPolygon(face, 3);
}

void TTeeCanvas3D::QuadBetweenDepths(const std::array<TPoint, 4>& points, int z0, int z1) {
  for (size_t i = 0; i < points.size(); ++i)
    PlaneBetweenDepths(points[i], points[(i + 1) % points.size()], z0, z1);
}

void TTeeCanvas3D::DrawPyramid(const TRect& r, int z0, int z1) {
  const TPoint apex = ProjectToPoint((r.Left + r.Right) / 2, r.Top, (z0 + z1) / 2);
  const TPoint side[] = {ProjectToPoint(r.Right, r.Bottom, z0),
                         ProjectToPoint(r.Right, r.Bottom, z1), apex};
  DrawPolygon(side, 2);
  const TPoint front[] = {ProjectToPoint(r.Left, r.Bottom, z0),
                          ProjectToPoint(r.Right, r.Bottom, z0), apex};
  DrawPolygon(front, 2);
}

void TTeeCanvas3D::DepthRectY(int x0, int x1, int y, int z0, int z1) {
  PlaneBetweenDepths({x0, y}, {x1, y}, z0, z1);
}

void TTeeCanvas3D::DepthRectX(int x, int y0, int y1, int z0, int z1) {
  PlaneBetweenDepths({x, y0}, {x, y1}, z0, z1);
}

void TTeeCanvas3D::DrawSphere(int x, int y, int z, int radius) {
  ProjectPoint(x, y, z);
  const int r = RoundEven(radius * ZoomFactor);
  DrawEllipse(x - r, y - r, x + r + 1, y + r + 1);
}

void TTeeCanvas3D::ShadedTriangle(const std::array<TPoint, 3>& points,
                                  const std::array<TColor, 3>& colors) {
  if (!Surface()) return;
  std::array<TPoint, 3> p;
  for (size_t i = 0; i < p.size(); ++i) p[i] = ProjectToPoint(points[i].X, points[i].Y, 0);
  const double area = Cross(p[0], p[1], p[2]);
  if (area == 0) return;
  const std::array<TColor, 3> rgb{ColorToRGB(colors[0]), ColorToRGB(colors[1]),
                                  ColorToRGB(colors[2])};
  // Each corner's weight at (x, y): the part of the area facing it.
  auto weight = [&](TPoint a, TPoint b, double x, double y) {
    return ((static_cast<double>(b.X) - a.X) * (y - a.Y) -
            (static_cast<double>(b.Y) - a.Y) * (x - a.X)) /
           area;
  };
  const TRect open = Surface()->ClipRect();
  const int left = std::max(open.Left, std::min({p[0].X, p[1].X, p[2].X}));
  const int right = std::min(open.Right - 1, std::max({p[0].X, p[1].X, p[2].X}));
  const int top = std::max(open.Top, std::min({p[0].Y, p[1].Y, p[2].Y}));
  const int bottom = std::min(open.Bottom - 1, std::max({p[0].Y, p[1].Y, p[2].Y}));
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      // A pixel belongs to the triangle when its centre does.
      const double cx = x + 0.5;
      const double cy = y + 0.5;
      const double w0 = weight(p[1], p[2], cx, cy);
      const double w1 = weight(p[2], p[0], cx, cy);
      const double w2 = weight(p[0], p[1], cx, cy);
      if (w0 < 0 || w1 < 0 || w2 < 0) continue;
      Surface()->SetPixel(x, y, Mix(rgb, w0, w1, w2));
    }
}

}  // namespace nitko
