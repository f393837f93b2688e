#include "workers/progress_percent.h"

#include <cmath>

#include "runtime/extended.h"
#include "runtime/float_errors.h"

namespace nitko {

int32_t ProgressPercent(double x, double a, double b) {
  const double span = std::fabs(CheckedToDouble(static_cast<Extended>(b) - a));
  // An empty interval is done at once; dividing by it would end the worker.
  if (span == 0.0) return 100;
  const Extended scaled = 100.0L * static_cast<Extended>(x);
  const double q = CheckedToDouble(CheckedDivide(scaled, span));
  return CheckedTrunc32(std::ceil(q));
}

}  // namespace nitko
