#pragma once

#include <cstdint>

#include "runtime/extended.h"

namespace nitko {

// f(x, p) = exp(-x) - cos(x) + p*x*0.1 in extended precision. Callers round
// the result to double.
Extended f(double x, int32_t p);

}  // namespace nitko
