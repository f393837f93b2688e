#include "chart/axis_pixel_map.h"

namespace nitko {

int TAxisPixelMap::MapLogarithmic(double v) const {
  const double d_range = log_high - log_low;
  if (d_range == 0) return pixel_center;
  if (v > 0) {
    const double d = inverted ? log_high - std::log(v) : std::log(v) - log_low;
    const double t = pixel_length * d / d_range;
    if (!(std::fabs(t) < kPixelLimit)) return pixel_center;
    const long long rt = RoundEven(t);
    return OnAxisOrCentre(horizontal ? pixel_start + rt : pixel_end - rt);
  }
  return (horizontal == inverted) ? pixel_end : pixel_start;
}

}  // namespace nitko
