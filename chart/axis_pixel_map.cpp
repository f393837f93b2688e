#include "chart/axis_pixel_map.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace nitko {

#if defined(__GNUC__) || defined(__clang__)
namespace {

// MapAll's pass over `lanes` values at a time in the compiler's vector
// types: the product by the reciprocal, rounded, where it is sure (as
// RoundedByReciprocal decides), else Map. Every width runs the same
// operations in the same order, and none fuses a multiply with an add, so
// the pixels do not depend on the width. Returns how many values it mapped.
template <int lanes>
struct Vectors;
template <>
struct Vectors<2> {
  typedef double Doubles __attribute__((vector_size(16)));
  typedef long long Bits __attribute__((vector_size(16)));
  typedef int Ints __attribute__((vector_size(8)));
};
template <>
struct Vectors<4> {
  typedef double Doubles __attribute__((vector_size(32)));
  typedef long long Bits __attribute__((vector_size(32)));
  typedef int Ints __attribute__((vector_size(16)));
};

// Which lanes of a mask are set, a bit each.
template <class Bits>
inline int LaneBits(const Bits& mask, int lanes) {
  int bits = 0;
  for (int k = 0; k < lanes; ++k) bits |= (mask[k] != 0) << k;
  return bits;
}
#if defined(__x86_64__)
inline int LaneBits(const Vectors<2>::Bits& mask, int) {
  return _mm_movemask_pd((__m128d)mask);
}
inline int LaneBits(const Vectors<4>::Bits& mask, int) {
  __m128d low, high;
  std::memcpy(&low, &mask, sizeof low);
  std::memcpy(&high, reinterpret_cast<const char*>(&mask) + sizeof low, sizeof high);
  return _mm_movemask_pd(low) | _mm_movemask_pd(high) << 2;
}
#endif

template <int lanes>
__attribute__((always_inline)) inline size_t MapLanes(const TAxisPixelMap& map,
                                                      std::span<const double> values,
                                                      double multiplier, double base, double sign,
                                                      int* out) {
  using Doubles = typename Vectors<lanes>::Doubles;
  using Bits = typename Vectors<lanes>::Bits;
  using Ints = typename Vectors<lanes>::Ints;
  constexpr double kShift = 6755399441055744.0;  // as in RoundEvenSmall
  constexpr long long kAbs = 0x7FFFFFFFFFFFFFFFLL;
  size_t i = 0;
  for (; i + lanes <= values.size(); i += lanes) {
    Doubles v;
    std::memcpy(&v, values.data() + i, sizeof v);
    const Doubles d = v * multiplier - map.range_min;
    const Doubles a = (Doubles)((Bits)d & kAbs);
    const Doubles t = d * map.scale;
    const Doubles r = (t + kShift) - kShift;
    const Doubles off_half = 0.5 - (Doubles)((Bits)(t - r) & kAbs);
    const Bits sure = ((Doubles)((Bits)t & kAbs) < TAxisPixelMap::kNearLimit) &
                      (off_half > TAxisPixelMap::kNearHalf) & (a < 1e290) &
                      ((a >= 1e-290) | (a == 0));
    const Doubles p = base + sign * (Doubles)((Bits)r & sure);
    const Ints pixels = __builtin_convertvector(p, Ints);
    std::memcpy(out + i, &pixels, sizeof pixels);
    const int sure_lanes = LaneBits(sure, lanes);
    if (sure_lanes != (1 << lanes) - 1)
      for (int k = 0; k < lanes; ++k)
        if ((sure_lanes & (1 << k)) == 0) out[i + k] = map.Map(values[i + k] * multiplier);
  }
  return i;
}

#if defined(__x86_64__)
// Four at a time where the processor has AVX.
__attribute__((target("avx"))) size_t MapFour(const TAxisPixelMap& map,
                                              std::span<const double> values, double multiplier,
                                              double base, double sign, int* out) {
  return MapLanes<4>(map, values, multiplier, base, sign, out);
}
#endif

}  // namespace
#endif

void TAxisPixelMap::MapAll(std::span<const double> values, double multiplier, int* out) const {
  const bool from_start = horizontal != inverted;
  const double base = from_start ? pixel_start : pixel_end;
  const double sign = from_start ? 1 : -1;
  if (logarithmic || range_span == 0 || scale == 0 || !(std::fabs(base) < 1e9)) {
    for (size_t i = 0; i < values.size(); ++i) out[i] = Map(values[i] * multiplier);
    return;
  }
  size_t i = 0;
#if defined(__GNUC__) || defined(__clang__)
#if defined(__x86_64__)
  static const bool avx = __builtin_cpu_supports("avx");
  if (avx) i = MapFour(*this, values, multiplier, base, sign, out);
#endif
  i += MapLanes<2>(*this, values.subspan(i), multiplier, base, sign, out + i);
#endif
  for (; i < values.size(); ++i) out[i] = Map(values[i] * multiplier);
}

namespace {

// Doubles in order as unsigned integers: the order of values, with -0
// before +0, and neighbouring keys are neighbouring doubles.
uint64_t KeyOf(double v) {
  const auto u = std::bit_cast<uint64_t>(v);
  return (u >> 63) != 0 ? ~u : u | (uint64_t{1} << 63);
}

double FromKey(uint64_t k) {
  return std::bit_cast<double>((k >> 63) != 0 ? k & ~(uint64_t{1} << 63) : ~k);
}

}  // namespace

bool TAxisPixelMap::Band(double v, double& low, double& high) const {
  int p;
  if (logarithmic || range_span == 0 || !Place(v, p)) return false;
  // Two pixels' worth of value away lies surely another pixel.
  const double step = std::fabs(range_span / pixel_length) * 2;
  low = high = v;
  if (!(step > 0) || !std::isfinite(step)) return true;
  low = BandEdge(v, p, v - step);
  high = BandEdge(v, p, v + step);
  return true;
}

double TAxisPixelMap::BandEdge(double v, int p, double beyond) const {
  int q;
  // With both ends placed, every value between maps in order, so the
  // values on p form one stretch from v on.
  if (!Place(beyond, q) || q == p) return v;
  const uint64_t from = KeyOf(v), to = KeyOf(beyond);
  const bool up = to > from;
  const auto on_p = [&](uint64_t k) { return Place(FromKey(k), q) && q == p; };
  // Moves k by n doubles towards `beyond` (back towards v for negative n),
  // staying between the two.
  const auto moved = [&](uint64_t k, int64_t n) {
    const uint64_t room = n >= 0 ? (up ? to - k : k - to) : (up ? k - from : from - k);
    const uint64_t step = std::min<uint64_t>(room, static_cast<uint64_t>(n >= 0 ? n : -n));
    return (up == (n >= 0)) ? k + step : k - step;
  };
  // The pixel ends about half a pixel past the centre of p's rounded
  // offset: start there and gallop to the exact double, halving the gap
  // it brackets, instead of halving the whole stretch from v on.
  const double t = (v - range_min) * scale;
  const double toward = (beyond > v) == (scale > 0) ? 0.5 : -0.5;
  const double guess = range_min + (static_cast<double>(RoundEvenSmall(t)) + toward) / scale;
  uint64_t inside = from, outside = to;
  if (std::isfinite(guess)) {
    uint64_t g = KeyOf(guess);
    if (up ? (g < from || g > to) : (g > from || g < to)) g = from;
    const bool in = on_p(g);
    (in ? inside : outside) = g;
    for (int64_t n = 1; n < (int64_t{1} << 40); n *= 2) {
      const uint64_t k = moved(g, in ? n : -n);
      if (on_p(k) != in) {
        (in ? outside : inside) = k;
        break;
      }
      (in ? inside : outside) = k;
      if (k == (in ? to : from)) break;
    }
  }
  while (inside + 1 != outside && outside + 1 != inside) {
    const uint64_t mid =
        inside < outside ? inside + (outside - inside) / 2 : outside + (inside - outside) / 2;
    (on_p(mid) ? inside : outside) = mid;
  }
  return FromKey(inside);
}

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
