#include "chart/axis_pixel_map.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define NITKO_MAP_AVX 1
#endif

namespace nitko {

#if defined(NITKO_MAP_AVX)
namespace {

// MapAll's pass four values at a time, where the processor has AVX; the
// same operations in the same order as the two-lane pass, and no fused
// multiply-add, so the pixels are the same. Returns how many it mapped.
__attribute__((target("avx"))) size_t MapFour(const TAxisPixelMap& map, std::span<const double> values,
                                             double multiplier, double base, double sign, int* out) {
  const __m256d k_mult = _mm256_set1_pd(multiplier), k_min = _mm256_set1_pd(map.range_min);
  const __m256d k_scale = _mm256_set1_pd(map.scale), k_base = _mm256_set1_pd(base);
  const __m256d k_sign = _mm256_set1_pd(sign), k_shift = _mm256_set1_pd(6755399441055744.0);
  const __m256d k_abs = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFFLL));
  const __m256d k_half = _mm256_set1_pd(0.5), k_near_half = _mm256_set1_pd(TAxisPixelMap::kNearHalf);
  const __m256d k_near_limit = _mm256_set1_pd(TAxisPixelMap::kNearLimit);
  const __m256d k_big = _mm256_set1_pd(1e290), k_tiny = _mm256_set1_pd(1e-290);
  const __m256d k_zero = _mm256_setzero_pd();
  size_t i = 0;
  for (; i + 4 <= values.size(); i += 4) {
    const __m256d d = _mm256_sub_pd(_mm256_mul_pd(_mm256_loadu_pd(values.data() + i), k_mult), k_min);
    const __m256d a = _mm256_and_pd(d, k_abs);
    const __m256d t = _mm256_mul_pd(d, k_scale);
    const __m256d r = _mm256_sub_pd(_mm256_add_pd(t, k_shift), k_shift);
    const __m256d off_half = _mm256_sub_pd(k_half, _mm256_and_pd(_mm256_sub_pd(t, r), k_abs));
    __m256d sure = _mm256_and_pd(_mm256_cmp_pd(_mm256_and_pd(t, k_abs), k_near_limit, _CMP_LT_OQ),
                                 _mm256_cmp_pd(off_half, k_near_half, _CMP_GT_OQ));
    sure = _mm256_and_pd(sure, _mm256_cmp_pd(a, k_big, _CMP_LT_OQ));
    sure = _mm256_and_pd(sure, _mm256_or_pd(_mm256_cmp_pd(a, k_tiny, _CMP_GE_OQ),
                                            _mm256_cmp_pd(a, k_zero, _CMP_EQ_OQ)));
    const __m256d p = _mm256_add_pd(k_base, _mm256_mul_pd(k_sign, _mm256_and_pd(r, sure)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm256_cvttpd_epi32(p));
    const int lanes = _mm256_movemask_pd(sure);
    if (lanes != 15)
      for (int k = 0; k < 4; ++k)
        if ((lanes & (1 << k)) == 0) out[i + k] = map.Map(values[i + k] * multiplier);
  }
  return i;
}

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
#if defined(NITKO_MAP_AVX)
  static const bool avx = __builtin_cpu_supports("avx");
  if (avx) i = MapFour(*this, values, multiplier, base, sign, out);
#endif
#if defined(__SSE2__)
  // Two values at a time: the product by the reciprocal, rounded, where it
  // is sure (as RoundedByReciprocal decides), else Map.
  const __m128d k_mult = _mm_set1_pd(multiplier), k_min = _mm_set1_pd(range_min);
  const __m128d k_scale = _mm_set1_pd(scale), k_base = _mm_set1_pd(base), k_sign = _mm_set1_pd(sign);
  const __m128d k_shift = _mm_set1_pd(6755399441055744.0);  // as in RoundEvenSmall
  const __m128d k_abs = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFFLL));
  const __m128d k_half = _mm_set1_pd(0.5), k_near_half = _mm_set1_pd(kNearHalf);
  const __m128d k_near_limit = _mm_set1_pd(kNearLimit);
  const __m128d k_big = _mm_set1_pd(1e290), k_tiny = _mm_set1_pd(1e-290), k_zero = _mm_setzero_pd();
  for (; i + 2 <= values.size(); i += 2) {
    const __m128d d = _mm_sub_pd(_mm_mul_pd(_mm_loadu_pd(values.data() + i), k_mult), k_min);
    const __m128d a = _mm_and_pd(d, k_abs);
    const __m128d t = _mm_mul_pd(d, k_scale);
    const __m128d r = _mm_sub_pd(_mm_add_pd(t, k_shift), k_shift);
    const __m128d off_half = _mm_sub_pd(k_half, _mm_and_pd(_mm_sub_pd(t, r), k_abs));
    __m128d sure = _mm_and_pd(_mm_cmplt_pd(_mm_and_pd(t, k_abs), k_near_limit),
                              _mm_cmpgt_pd(off_half, k_near_half));
    sure = _mm_and_pd(sure, _mm_cmplt_pd(a, k_big));
    sure = _mm_and_pd(sure, _mm_or_pd(_mm_cmpge_pd(a, k_tiny), _mm_cmpeq_pd(a, k_zero)));
    const __m128d p = _mm_add_pd(k_base, _mm_mul_pd(k_sign, _mm_and_pd(r, sure)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_cvttpd_epi32(p));
    const int lanes = _mm_movemask_pd(sure);
    if (lanes != 3)
      for (int k = 0; k < 2; ++k)
        if ((lanes & (1 << k)) == 0) out[i + k] = Map(values[i + k] * multiplier);
  }
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
    const uint64_t mid = inside < outside ? inside + (outside - inside) / 2 : outside + (inside - outside) / 2;
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
