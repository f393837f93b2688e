#pragma once

#include <string>
#include <string_view>

namespace nitko {

// File names are UTF-8 bytes as the file system stores them. Casing works per
// character: ASCII directly, the rest through the C library's wide casing
// under a fixed UTF-8 character set, so the result never depends on the
// user's locale. Bytes that are not UTF-8 pass through unchanged, so a cased
// name never breaks a character and never loses a byte it could not read.
std::string LowerCaseFileName(std::string_view name);
std::string UpperCaseFileName(std::string_view name);

char32_t LowerCaseChar(char32_t c);
char32_t UpperCaseChar(char32_t c);

// The name as shown to the user: valid UTF-8, each ill-formed part replaced
// by U+FFFD. Only for showing: the stored bytes are what opens the entry.
std::string DisplayFileName(std::string_view name);

}  // namespace nitko
