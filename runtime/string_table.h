#pragma once

#include <string>
#include <string_view>

namespace nitko {

// String tables are embedded resource files of lines `Name = "text"`, the text
// in Windows-1250 with \" and \\ as its only escapes; '#' starts a comment line.

// The stored bytes of one entry; raises Exception when the table or the entry
// is missing or the line is malformed.
std::string ResourceStringBytes(std::string_view table, std::string_view name);

// The same entry decoded to UTF-8.
std::string LoadResourceString(std::string_view table, std::string_view name);

}  // namespace nitko
