#pragma once

#include <cstdint>

namespace nitko {

// A worker's progress at position x of [a, b]: the ceiling of
// 100 * x / |b - a|, so the excess of an accumulated position over a
// multiple of the step shows as the next whole percent. An empty interval
// (a = b) is 100. A share past 32 bits raises EInvalidOp, one past the double
// range EOverflow, as the trapping arithmetic would.
int32_t ProgressPercent(double x, double a, double b);

}  // namespace nitko
