#pragma once

#include <initializer_list>
#include <string_view>

#include "runtime/exception.h"
#include "runtime/message_format.h"

namespace nitko {

// A form description that cannot be read. The message starts with
// "Line N: " and names what could not be resolved.
class EReadError : public Exception {
 public:
  EReadError(int line, std::string message) : Exception(std::move(message)), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

// Raises EReadError with "Line <line>: " and the filled pattern.
[[noreturn]] void RaiseReadError(int line, std::string_view pattern,
                                 std::initializer_list<FormatArg> args);

}  // namespace nitko
