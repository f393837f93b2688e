#include "runtime/file_name_case.h"

#include <locale.h>
#include <wctype.h>

#include "runtime/utf8.h"

namespace nitko {

namespace {

// The wide casing tables of a UTF-8 character set; none when the system has no
// such locale, and then only ASCII letters change case.
locale_t CasingLocale() {
  static const locale_t loc = [] {
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
      const locale_t l = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(0));
      if (l != static_cast<locale_t>(0)) return l;
    }
    return static_cast<locale_t>(0);
  }();
  return loc;
}

template <char32_t (*Convert)(char32_t)>
std::string ConvertCase(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    const unsigned char b = static_cast<unsigned char>(name[i]);
    if (b < 0x80) {
      out += static_cast<char>(Convert(b));
      ++i;
      continue;
    }
    const Utf8Char c = ReadUtf8Char(name, i);
    if (c.valid)
      AppendUtf8(out, Convert(c.code));
    else
      out.append(name.substr(i, static_cast<size_t>(c.length)));
    i += static_cast<size_t>(c.length);
  }
  return out;
}

}  // namespace

char32_t LowerCaseChar(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
  const locale_t loc = CasingLocale();
  if (loc == static_cast<locale_t>(0)) return c;
  const char32_t r = static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), loc));
  // A surrogate or a code point out of range would not encode.
  return (r >= 0xD800 && r <= 0xDFFF) || r > 0x10FFFF ? c : r;
}

char32_t UpperCaseChar(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
  const locale_t loc = CasingLocale();
  if (loc == static_cast<locale_t>(0)) return c;
  const char32_t r = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), loc));
  return (r >= 0xD800 && r <= 0xDFFF) || r > 0x10FFFF ? c : r;
}

std::string LowerCaseFileName(std::string_view name) { return ConvertCase<LowerCaseChar>(name); }

std::string UpperCaseFileName(std::string_view name) { return ConvertCase<UpperCaseChar>(name); }

std::string DisplayFileName(std::string_view name) { return ToValidUtf8(name); }

}  // namespace nitko
