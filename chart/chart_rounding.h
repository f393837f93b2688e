#pragma once

#include <climits>
#include <cmath>

namespace nitko {

// Pixels are ints; a value past the int range (a far-off point, a runaway
// setting) is held at its edge and NaN becomes 0 instead of undefined casts.
inline int ClampToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

// Round half to even (the default floating-point rounding), into an int.
inline int RoundEven(double v) {
  return ClampToInt(std::nearbyint(v));
}

}  // namespace nitko
