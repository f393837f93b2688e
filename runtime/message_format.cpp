#include "runtime/message_format.h"

namespace nitko {

std::string FormatMessage(std::string_view pattern, std::initializer_list<FormatArg> args) {
  std::string out;
  out.reserve(pattern.size() + 16);
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c != '%' || i + 1 >= pattern.size()) {
      out += c;
      continue;
    }
    char d = pattern[i + 1];
    if (d == '%') {
      out += '%';
      ++i;
      continue;
    }
    bool wantsText = d == 's';
    bool wantsInteger = d == 'd' || d == 'i';
    if ((wantsText || wantsInteger) && next != args.end() && next->IsText() == wantsText) {
      if (wantsText)
        out += next->Text();
      else
        out += std::to_string(next->Integer());
      ++next;
      ++i;
      continue;
    }
    out += c;
  }
  return out;
}

}  // namespace nitko
