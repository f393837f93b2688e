#pragma once

#include <cfloat>
#include <cstdint>

namespace nitko {

// The 80-bit extended type: 64-bit significand with an explicit integer bit.
using Extended = long double;
static_assert(LDBL_MANT_DIG == 64, "Extended needs the x87 80-bit format");

struct ExtendedParts {
  uint16_t exponentField;  // 15-bit biased exponent
  bool negative;
  uint64_t significand;  // bit 63 is the integer bit
};

ExtendedParts Decompose(Extended v);

// x87 control and status words.
// The word the program's own threads are to load at their entry: 64-bit,
// nearest; invalid operation, division by zero and overflow raise. It is not
// what Linux gives: a thread starts there with 0x037F, everything masked.
inline constexpr uint16_t kFpuControlThread = 0x1332;
inline constexpr uint16_t kFpuControlMasked = 0x133F;  // all exceptions masked, 64-bit, nearest
inline constexpr uint16_t kFpuInvalid = 0x01;
inline constexpr uint16_t kFpuOverflow = 0x08;

uint16_t GetFpuControlWord();
void SetFpuControlWord(uint16_t cw);
uint16_t GetFpuStatusWord();
void ClearFpuExceptions();

// Loads a control word for its lifetime and restores the previous one; the
// exception flags are cleared on entry and on exit.
class FpuControlScope {
 public:
  explicit FpuControlScope(uint16_t cw);
  ~FpuControlScope();
  FpuControlScope(const FpuControlScope&) = delete;
  FpuControlScope& operator=(const FpuControlScope&) = delete;

 private:
  uint16_t saved_;
};

// v multiplied (e > 0) or divided (e < 0) by 10^|e| through the tabulated
// powers: the low 5 bits of |e|, its next 4 bits and the multiples of 512, in
// that order. |e| >= 5120 gives +inf or 0 without computing.
Extended ScaleByPowerOf10(Extended v, int e);

}  // namespace nitko
