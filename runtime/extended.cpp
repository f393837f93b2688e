#include "runtime/extended.h"

#include <cstring>

namespace nitko {

ExtendedParts Decompose(Extended v) {
  unsigned char bytes[10];
  std::memcpy(bytes, &v, sizeof bytes);
  ExtendedParts parts;
  std::memcpy(&parts.significand, bytes, 8);
  uint16_t top;
  std::memcpy(&top, bytes + 8, 2);
  parts.exponentField = top & 0x7FFF;
  parts.negative = (top & 0x8000) != 0;
  return parts;
}

uint16_t GetFpuControlWord() {
  uint16_t cw;
  asm volatile("fnstcw %0" : "=m"(cw));
  return cw;
}

void SetFpuControlWord(uint16_t cw) { asm volatile("fldcw %0" : : "m"(cw)); }

uint16_t GetFpuStatusWord() {
  uint16_t sw;
  asm volatile("fnstsw %0" : "=m"(sw));
  return sw;
}

void ClearFpuExceptions() { asm volatile("fnclex"); }

namespace {

// Masks, precision and rounding: the bits that change what arithmetic does.
constexpr uint16_t kEffectiveBits = 0x0F3F;
constexpr uint16_t kExceptionFlags = 0x3F;

// fnclex costs far more than reading the status word; most calls find the
// flags clear already.
void ClearPendingExceptions() {
  if ((GetFpuStatusWord() & kExceptionFlags) != 0) ClearFpuExceptions();
}

}  // namespace

FpuControlScope::FpuControlScope(uint16_t cw) : saved_(GetFpuControlWord()) {
  ClearPendingExceptions();
  if (((saved_ ^ cw) & kEffectiveBits) != 0) SetFpuControlWord(cw);
}

FpuControlScope::~FpuControlScope() {
  ClearPendingExceptions();
  if (GetFpuControlWord() != saved_) SetFpuControlWord(saved_);
}

namespace {

// The compiler rounds each literal correctly to the extended format.
constexpr Extended kLow[32] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L,
    1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L,
    1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L, 1e28L, 1e29L, 1e30L, 1e31L};
constexpr Extended kMid[16] = {1e0L,   1e32L,  1e64L,  1e96L,  1e128L, 1e160L,
                               1e192L, 1e224L, 1e256L, 1e288L, 1e320L, 1e352L,
                               1e384L, 1e416L, 1e448L, 1e480L};
constexpr Extended kHigh[10] = {1e0L,    1e512L,  1e1024L, 1e1536L, 1e2048L,
                                1e2560L, 1e3072L, 1e3584L, 1e4096L, 1e4608L};

}  // namespace

Extended ScaleByPowerOf10(Extended v, int e) {
  if (e == 0) return v;
  // Widen before negating: INT_MIN has no positive counterpart.
  long long n = e < 0 ? -static_cast<long long>(e) : e;
  if (n >= 5120) return e > 0 ? __builtin_infl() : 0.0L;
  const Extended parts[3] = {kLow[n & 31], kMid[(n >> 5) & 15], kHigh[n >> 9]};
  for (Extended p : parts) {
    if (p == 1.0L) continue;
    if (e > 0)
      v *= p;
    else
      v /= p;
  }
  return v;
}

}  // namespace nitko
