#include "runtime/utf8.h"

namespace nitko {

Utf8Char ReadUtf8Char(std::string_view s, size_t pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) return {lead, 1, true};
  int tail;
  char32_t code;
  // The first continuation byte's range excludes overlong forms, surrogates
  // and code points past U+10FFFF.
  unsigned char lo = 0x80, hi = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    tail = 1;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    tail = 2;
    code = lead & 0x0F;
    if (lead == 0xE0) lo = 0xA0;
    if (lead == 0xED) hi = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    tail = 3;
    code = lead & 0x07;
    if (lead == 0xF0) lo = 0x90;
    if (lead == 0xF4) hi = 0x8F;
  } else {
    return {kReplacementChar, 1, false};
  }
  size_t i = pos + 1;
  for (int k = 0; k < tail; ++k, ++i) {
    if (i >= s.size() || byte(i) < lo || byte(i) > hi)
      return {kReplacementChar, static_cast<int>(i - pos), false};
    code = code << 6 | (byte(i) & 0x3F);
    lo = 0x80;
    hi = 0xBF;
  }
  return {code, tail + 1, true};
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  char bytes[4];
  int n;
  if (c < 0x800) {
    bytes[0] = static_cast<char>(0xC0 | (c >> 6));
    n = 2;
  } else if (c < 0x10000) {
    bytes[0] = static_cast<char>(0xE0 | (c >> 12));
    n = 3;
  } else {
    bytes[0] = static_cast<char>(0xF0 | (c >> 18));
    n = 4;
  }
  for (int k = 1; k < n; ++k) bytes[k] = static_cast<char>(0x80 | ((c >> (6 * (n - 1 - k))) & 0x3F));
  out.append(bytes, static_cast<size_t>(n));
}

bool IsValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      ++i;
      continue;
    }
    const Utf8Char c = ReadUtf8Char(s, i);
    if (!c.valid) return false;
    i += static_cast<size_t>(c.length);
  }
  return true;
}

std::string ToValidUtf8(std::string_view s) {
  if (IsValidUtf8(s)) return std::string(s);
  std::string out;
  out.reserve(s.size() + 8);
  for (size_t i = 0; i < s.size();) {
    const Utf8Char c = ReadUtf8Char(s, i);
    if (c.valid)
      out.append(s.substr(i, static_cast<size_t>(c.length)));
    else
      AppendUtf8(out, kReplacementChar);
    i += static_cast<size_t>(c.length);
  }
  return out;
}

}  // namespace nitko
