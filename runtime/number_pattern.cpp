#include "runtime/number_pattern.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "runtime/locale_chars.h"

namespace nitko {

namespace {

bool IsDigitPlaceholder(char c) { return c == '0' || c == '#'; }

bool IsPlaceholder(char c) { return IsDigitPlaceholder(c) || c == ',' || c == '.'; }

// |v| in decimal with at most maxFrac decimals. The 15 significant digits
// a double holds are rounded half up, as people round: 0.0625 to three
// decimals is 0.063 and 0.0045 (stored a hair below) is 0.005.
void DecimalHalfUp(double v, int maxFrac, std::string& whole, std::string& frac) {
  whole = "0";
  frac.assign(static_cast<size_t>(maxFrac), '0');
  if (v == 0) return;
  // Not printf: the process locale (set from LANG by the GUI) would put its
  // own decimal character into the text read back below.
  char buf[32];
  const std::to_chars_result r =
      std::to_chars(buf, buf + sizeof buf - 1, v, std::chars_format::scientific, 14);
  *r.ptr = '\0';
  std::string digits;
  for (const char* c = buf; *c != 'e'; ++c)
    if (*c != '.') digits.push_back(*c);
  int intDigits = std::atoi(std::strchr(buf, 'e') + 1) + 1;
  const long long keep = static_cast<long long>(intDigits) + maxFrac;
  if (keep < 0) return;
  if (keep < static_cast<long long>(digits.size())) {
    const bool up = digits[static_cast<size_t>(keep)] >= '5';
    digits.resize(static_cast<size_t>(keep));
    if (up) {
      size_t i = digits.size();
      while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
      if (i == 0) {
        digits.insert(digits.begin(), '1');
        ++intDigits;
      } else {
        ++digits[i - 1];
      }
    }
  }
  // Place the point: pad with zeros on whichever side the digits run out.
  if (intDigits <= 0) {
    digits.insert(0, static_cast<size_t>(-intDigits), '0');
    intDigits = 0;
  }
  if (static_cast<int>(digits.size()) < intDigits + maxFrac)
    digits.append(static_cast<size_t>(intDigits + maxFrac) - digits.size(), '0');
  whole = intDigits == 0 ? "0" : digits.substr(0, static_cast<size_t>(intDigits));
  frac = digits.substr(static_cast<size_t>(intDigits), static_cast<size_t>(maxFrac));
}

}  // namespace

std::string FormatNumberPattern(const std::string& pattern, double v) {
  size_t first = pattern.find_first_of("0#");
  if (first == std::string::npos) return pattern;
  // ".00" starts with its decimal point; a "," or "." after the last digit
  // placeholder is punctuation of the suffix.
  if (first > 0 && pattern[first - 1] == '.') --first;
  size_t last = first, end = first;
  while (end < pattern.size() && IsPlaceholder(pattern[end]))
    if (IsDigitPlaceholder(pattern[end++])) last = end;
  const std::string prefix = pattern.substr(0, first);
  const std::string suffix = pattern.substr(last);
  const std::string body = pattern.substr(first, last - first);
  const LocaleChars chars = CurrentLocaleChars();

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

  std::string whole, frac;
  DecimalHalfUp(std::fabs(v), maxFrac, whole, frac);
  while (static_cast<int>(frac.size()) > minFrac && !frac.empty() && frac.back() == '0')
    frac.pop_back();
  if (whole == "0") whole.clear();
  while (static_cast<int>(whole.size()) < minInt) whole.insert(whole.begin(), '0');

  std::string out;
  if (grouped) {
    const char sep = chars.thousands;
    for (size_t i = 0; i < whole.size(); ++i) {
      if (i > 0 && (whole.size() - i) % 3 == 0) out += sep;
      out += whole[i];
    }
  } else {
    out = whole;
  }
  if (!frac.empty()) out += chars.decimal + frac;
  if (out.empty()) out.push_back('0');

  // A value that rounds to zero shows no sign.
  bool nonZero = false;
  for (char c : whole + frac) nonZero = nonZero || (c != '0');
  if (v < 0 && nonZero) out.insert(out.begin(), '-');
  return prefix + out + suffix;
}

}  // namespace nitko
