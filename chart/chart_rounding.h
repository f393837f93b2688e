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

// std::nearbyint for |v| < 2^51 in the default rounding mode, without the
// library call that saves and restores the floating-point state: adding and
// taking away 1.5 * 2^52 leaves v rounded to an integer, halves even.
inline long long RoundEvenSmall(double v) {
  constexpr double kShift = 6755399441055744.0;
  volatile double shifted = v + kShift;  // kept from being folded away
  return static_cast<long long>(shifted - kShift);
}

// Round half to even (the default floating-point rounding), into an int.
inline int RoundEven(double v) {
  if (std::fabs(v) < 2147483647.0) return static_cast<int>(RoundEvenSmall(v));
  return ClampToInt(v);
}

}  // namespace nitko
