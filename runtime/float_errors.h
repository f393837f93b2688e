#pragma once

#include <cstdint>

#include "runtime/exception.h"
#include "runtime/extended.h"

namespace nitko {

// The floating-point faults the program's threads report. Worker threads run
// with the x87 exceptions masked (unmasked, Linux ends the process with a
// signal and no report), so the arithmetic that must report a fault checks
// its operands itself and raises these instead.
class EMathError : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidOp : public EMathError {
 public:
  using EMathError::EMathError;
};
class EZeroDivide : public EMathError {
 public:
  using EMathError::EMathError;
};
class EOverflow : public EMathError {
 public:
  using EMathError::EMathError;
};

inline constexpr const char* SInvalidOp = "Invalid floating point operation";
inline constexpr const char* SZeroDivide = "Floating point division by zero";
inline constexpr const char* SOverflow = "Floating point overflow";

// n / d in extended precision; 0/0, inf/inf or a NaN operand raise
// EInvalidOp, a finite n / 0 EZeroDivide, a finite quotient out of range
// EOverflow: where the trapping control word would have faulted.
Extended CheckedDivide(Extended n, Extended d);

// v rounded to double; a finite v beyond the double range raises EOverflow.
double CheckedToDouble(Extended v);

// The integer part of v; NaN or a value outside the 32-bit range raises
// EInvalidOp, as the trapping integer store would.
int32_t CheckedTrunc32(double v);

}  // namespace nitko
