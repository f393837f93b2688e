#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nitko {

// Leading blanks, an optional sign and decimal digits, nothing else; raises
// EConvertError "'<text>' is not a valid integer value" for anything else,
// including an empty text and values beyond 32 bits.
int32_t StrToInt(std::string_view text);

// The "%i" form: an optional minus sign and the digits.
std::string IntToStr(int32_t value);

}  // namespace nitko
