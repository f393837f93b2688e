#pragma once

#include <string>

namespace nitko {

// Formats v with a number pattern such as "#,##0.###": '0' a required digit,
// '#' an optional one, ',' in the integer part groups thousands, '.' starts
// the decimals. Text before the first and after the last placeholder is kept
// as it stands. The locale's decimal and thousands characters are used.
std::string FormatNumberPattern(const std::string& pattern, double v);

}  // namespace nitko
