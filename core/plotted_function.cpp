#include "core/plotted_function.h"

#include <cmath>

namespace nitko {

Extended f(double x, int32_t p) {
  const double minusX = -x;
  const Extended e = std::exp(static_cast<Extended>(minusX));
  const Extended c = std::cos(static_cast<Extended>(x));
  const Extended d = e - c;
  // A multiplication by the extended constant nearest 0.1, not a division by 10.
  const Extended t = static_cast<Extended>(p) * x * 0.1L;
  return d + t;
}

}  // namespace nitko
