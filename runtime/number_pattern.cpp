#include "runtime/number_pattern.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "runtime/locale_chars.h"

namespace nitko {

namespace {

bool IsPlaceholder(char c) {
  return c == '0' || c == '#' || c == ',' || c == '.';
}

}  // namespace

std::string FormatNumberPattern(const std::string& pattern, double v) {
  const size_t first = pattern.find_first_of("0#");
  if (first == std::string::npos) return pattern;
  size_t last = first;
  while (last < pattern.size() && IsPlaceholder(pattern[last])) ++last;
  const std::string prefix = pattern.substr(0, first);
  const std::string suffix = pattern.substr(last);
  const std::string body = pattern.substr(first, last - first);

  const size_t point = body.find('.');
  const std::string intPart = body.substr(0, point);
  const std::string fracPart = point == std::string::npos ? "" : body.substr(point + 1);
  int minInt = 0;
  for (char c : intPart) minInt += c == '0' ? 1 : 0;
  const bool grouped = intPart.find(',') != std::string::npos;
  int minFrac = 0, maxFrac = 0;
  for (char c : fracPart) {
    if (c == '0')
      minFrac = ++maxFrac;
    else if (c == '#')
      ++maxFrac;
  }

  if (std::isnan(v)) return prefix + "NAN" + suffix;
  if (std::isinf(v)) return prefix + (v < 0 ? "-INF" : "INF") + suffix;

  // Decimal rounding of the exact binary value; the digits come back unsigned.
  std::vector<char> buf(static_cast<size_t>(maxFrac) + 320);
  std::snprintf(buf.data(), buf.size(), "%.*f", maxFrac, std::fabs(v));
  std::string digits = buf.data();
  const size_t dot = digits.find('.');
  std::string whole = digits.substr(0, dot);
  std::string frac = dot == std::string::npos ? "" : digits.substr(dot + 1);
  while (static_cast<int>(frac.size()) > minFrac && !frac.empty() && frac.back() == '0')
    frac.pop_back();
  if (whole == "0") whole.clear();
  while (static_cast<int>(whole.size()) < minInt) whole.insert(whole.begin(), '0');

  std::string out;
  if (grouped) {
    const char sep = LocaleThousandsChar();
    for (size_t i = 0; i < whole.size(); ++i) {
      if (i > 0 && (whole.size() - i) % 3 == 0) out += sep;
      out += whole[i];
    }
  } else {
    out = whole;
  }
  if (!frac.empty()) out += LocaleDecimalChar() + frac;
  if (out.empty()) out.push_back('0');

  // A value that rounds to zero shows no sign.
  bool nonZero = false;
  for (char c : whole + frac) nonZero = nonZero || (c != '0');
  if (v < 0 && nonZero) out.insert(out.begin(), '-');
  return prefix + out + suffix;
}

}  // namespace nitko
