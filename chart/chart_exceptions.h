#pragma once

#include "runtime/exception.h"

namespace nitko {

// An axis setting that does not fit the axis' other settings.
class AxisException : public Exception {
 public:
  using Exception::Exception;
};

// A chart setting outside its allowed values.
class ChartException : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace nitko
