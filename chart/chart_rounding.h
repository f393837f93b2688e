#pragma once

#include <algorithm>
#include <climits>
#include <cmath>

namespace nitko {

// Pixels are ints, and this is their one far limit: an offset this large
// (a far-off point, a runaway setting) has no place on an axis, and a value
// past the int range is held at its edge; NaN becomes 0 instead of an
// undefined cast.
inline constexpr double kPixelLimit = 2147483647.0;

inline bool FitsPixel(long long p) {
  return p >= INT_MIN && p <= INT_MAX;
}

inline int ClampToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= kPixelLimit) return INT_MAX;
  if (v <= -kPixelLimit - 1) return INT_MIN;
  return static_cast<int>(v);
}

inline int ClampToInt(long long v) {
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// std::nearbyint for |v| < 2^51 in the default rounding mode, without the
// library call that saves and restores the floating-point state: adding and
// taking away 1.5 * 2^52 leaves v rounded to an integer, halves even.
inline long long RoundEvenSmall(double v) {
  constexpr double kShift = 6755399441055744.0;
  double shifted = v + kShift;
  // Kept from being folded away, in a register rather than through memory.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  asm("" : "+x"(shifted));
#else
  shifted = *static_cast<volatile double*>(&shifted);
#endif
  return static_cast<long long>(shifted - kShift);
}

// Round half to even (the default floating-point rounding), into an int.
inline int RoundEven(double v) {
  if (std::fabs(v) < kPixelLimit) return static_cast<int>(RoundEvenSmall(v));
  return ClampToInt(v);
}

}  // namespace nitko
