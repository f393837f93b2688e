#include "runtime/float_errors.h"

#include <cmath>

namespace nitko {

Extended CheckedDivide(Extended n, Extended d) {
  if (std::isnan(n) || std::isnan(d) || (n == 0 && d == 0) || (std::isinf(n) && std::isinf(d)))
    throw EInvalidOp(SInvalidOp);
  if (d == 0) {
    if (!std::isinf(n)) throw EZeroDivide(SZeroDivide);
    return n / d;
  }
  const Extended q = n / d;
  if (std::isinf(q) && !std::isinf(n)) throw EOverflow(SOverflow);
  return q;
}

double CheckedToDouble(Extended v) {
  const double r = static_cast<double>(v);
  if (std::isinf(r) && !std::isinf(v)) throw EOverflow(SOverflow);
  return r;
}

int32_t CheckedTrunc32(double v) {
  // Compared after truncation, so -2147483648.9 still fits.
  const double t = std::trunc(v);
  if (!(t >= -2147483648.0 && t <= 2147483647.0)) throw EInvalidOp(SInvalidOp);
  return static_cast<int32_t>(t);
}

}  // namespace nitko
