#pragma once

#include <cmath>

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

  int Map(double v) const {
    if (logarithmic) return MapLogarithmic(v);
    if (range_span == 0) return pixel_center;
    const double t = (v - range_min) * pixel_length / range_span;
    // Also catches NaN: such a value has no place on the axis.
    if (!(std::fabs(t) < kPixelLimit)) return pixel_center;
    const long long rt = RoundEvenSmall(t);
    if (horizontal) return OnAxisOrCentre(inverted ? pixel_end - rt : pixel_start + rt);
    return OnAxisOrCentre(inverted ? pixel_start + rt : pixel_end - rt);
  }

 private:
  int MapLogarithmic(double v) const;
  int OnAxisOrCentre(long long p) const {
    // Like an offset past the int range, a pixel past it has no place.
    return FitsPixel(p) ? static_cast<int>(p) : pixel_center;
  }
};

}  // namespace nitko
