#include "framework/read_error.h"

namespace nitko {

void RaiseReadError(int line, std::string_view pattern, std::initializer_list<FormatArg> args) {
  throw EReadError(line, FormatMessage("Line %d: ", {line}) + FormatMessage(pattern, args));
}

}  // namespace nitko
