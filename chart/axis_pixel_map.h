#pragma once

#include <cmath>
#include <span>

#include "chart/chart_rounding.h"

namespace nitko {

// An axis's value-to-pixel mapping frozen for one pass over many points, so
// that series loops need no call per point. TCustomChartAxis maps every
// value through it too, which keeps both ways bit-identical.
struct TAxisPixelMap {
  bool logarithmic = false;
  bool inverted = false;
  bool horizontal = true;
  double range_min = 0;
  double range_span = 0;
  double log_low = 0;
  double log_high = 0;
  int pixel_start = 0;
  int pixel_end = 0;
  int pixel_length = 0;
  int pixel_center = 0;
  // pixel_length / range_span once the fields are set (Prepare), else 0.
  double scale = 0;

  void Prepare() { scale = range_span != 0 ? pixel_length / range_span : 0; }

  int Map(double v) const {
    if (logarithmic) return MapLogarithmic(v);
    if (range_span == 0) return pixel_center;
    int p;
    return Place(v, p) ? p : pixel_center;
  }
  // Whether every value from a to b (scaled, a <= b) gets a place of its
  // own, never the centre: there Map keeps the order of the values, so the
  // lowest and highest values give the lowest and highest pixels.
  bool KeepsOrder(double a, double b) const {
    int p;
    return !logarithmic && (range_span == 0 || (Place(a, p) && Place(b, p)));
  }
  // The values around v that share its pixel: Map(u) == Map(v) for every u
  // from low to high. Exact at both ends where the neighbouring pixels are
  // placed too, else narrowed to v itself; false for a value with no place.
  bool Band(double v, double& low, double& high) const;
  // out[i] = Map(values[i] * multiplier) for each i: a pass without
  // branches that the compiler can run on several values at once, and Map
  // for the values it was not sure of.
  void MapAll(std::span<const double> values, double multiplier, int* out) const;

  // Products by the reciprocal nearer a half than kNearHalf, or beyond
  // kNearLimit, are not sure (2^24: units in the last place below 2^-28).
  static constexpr double kNearLimit = 16777216.0;
  static constexpr double kNearHalf = 1e-6;

 private:
  // A product by the reciprocal lies within a few units in the last place
  // of the quotient, so it rounds to the same integer unless it lies next to
  // a half; there, and far out, the quotient decides. True when rt holds
  // the rounded product and that is sure. Offsets whose product with the
  // length would overflow or lose bits below the smallest normal number go
  // the quotient's way.
  bool RoundedByReciprocal(double d, long long& rt) const {
    const double a = std::fabs(d);
    if (scale == 0 || !(a < 1e290) || (a < 1e-290 && a != 0)) return false;
    const double t = d * scale;
    if (!(std::fabs(t) < kNearLimit)) return false;
    rt = RoundEvenSmall(t);
    return 0.5 - std::fabs(t - static_cast<double>(rt)) > kNearHalf;
  }
  // The pixel of v on a linear axis with a span; false for a value with no
  // place there (NaN, a far-off offset, a pixel past the int range).
  bool Place(double v, int& pixel) const {
    const double d = v - range_min;
    long long rt;
    if (!RoundedByReciprocal(d, rt)) {
      const double t = d * pixel_length / range_span;
      if (!(std::fabs(t) < kPixelLimit)) return false;
      rt = RoundEvenSmall(t);
    }
    const long long p = horizontal ? (inverted ? pixel_end - rt : pixel_start + rt)
                                   : (inverted ? pixel_start + rt : pixel_end - rt);
    if (!FitsPixel(p)) return false;
    pixel = static_cast<int>(p);
    return true;
  }
  int MapLogarithmic(double v) const;
  // The farthest value from v toward `beyond` on v's pixel p.
  double BandEdge(double v, int p, double beyond) const;
  int OnAxisOrCentre(long long p) const {
    // Like an offset past the int range, a pixel past it has no place.
    return FitsPixel(p) ? static_cast<int>(p) : pixel_center;
  }
};

}  // namespace nitko
