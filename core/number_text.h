#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/extended.h"

namespace nitko {

// Decimal form of a value: value = 0.d1d2d3... x 10^exponent.
struct TDecimalForm {
  static constexpr int16_t kInfinity = 32767;
  static constexpr int16_t kNaN = -32768;

  int16_t exponent = 0;
  bool negative = false;
  char digits[19] = {};  // up to 18 ASCII digits, zero-terminated; empty for zero
};

TDecimalForm ToDecimalDigits(Extended v, int precision, int decimals);

// General format with 15 significant digits and the locale's decimal character.
std::string FormatNumber(Extended v);

// Never raises; on failure the value is left unspecified.
bool TryParseNumber(std::string_view text, Extended& value);

// Raises EConvertError "'<text>' is not a valid floating point value".
Extended ParseNumber(std::string_view text);

}  // namespace nitko
