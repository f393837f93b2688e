#include "runtime/integer_text.h"

#include "runtime/exception.h"
#include "runtime/message_format.h"

namespace nitko {

int32_t StrToInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t first = i;
  int64_t value = 0;
  bool overflow = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) overflow = true, value = 2147483648LL;
  }
  if (negative) value = -value;
  if (i == first || i != text.size() || overflow || value > INT32_MAX || value < INT32_MIN)
    throw EConvertError(FormatMessage("'%s' is not a valid integer value", {text}));
  return static_cast<int32_t>(value);
}

std::string IntToStr(int32_t value) { return std::to_string(value); }

}  // namespace nitko
