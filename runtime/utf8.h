#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nitko {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// One character read from UTF-8 text. An ill-formed sequence reads as
// kReplacementChar with valid false; its length is that of its maximal
// ill-formed part (one replacement per part, as Unicode recommends), at least 1.
struct Utf8Char {
  char32_t code;
  int length;
  bool valid;
};

// The character starting at s[pos]; pos must be inside s.
Utf8Char ReadUtf8Char(std::string_view s, size_t pos);

void AppendUtf8(std::string& out, char32_t c);

bool IsValidUtf8(std::string_view s);

// The text with each ill-formed part replaced by U+FFFD.
std::string ToValidUtf8(std::string_view s);

}  // namespace nitko
