#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nitko {

// Paths in the system's form: a drive letter, a colon, and names joined by
// backslashes ("C:\Work\Src"). Either slash is read as a delimiter; the
// paths made here use backslashes.

inline bool IsPathDelimiterChar(char c) { return c == '\\' || c == '/'; }

// s[index] is a delimiter; false past the end.
bool IsPathDelimiter(std::string_view s, size_t index);

// 'A'..'Z' for a drive letter in either case, else 0.
inline char DriveLetter(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - ('a' - 'A'));
  return (c >= 'A' && c <= 'Z') ? c : 0;
}

// The drive letter, upper-cased, of a path that starts with one and a colon;
// 0 when it does not.
char PathDriveLetter(std::string_view path);

// The names between delimiters, empty ones left out.
std::vector<std::string_view> SplitPathNames(std::string_view path);

// The names with "." dropped and ".." climbing one name, never above the
// root, so a path never leaves its drive.
std::vector<std::string_view> ResolveDotNames(const std::vector<std::string_view>& names);

// "D:\a\b" from a drive letter (written as given) and names, dots resolved.
// A root keeps its backslash; other paths end with one only when
// trailingDelimiter is set.
std::string JoinSystemPath(char drive, const std::vector<std::string_view>& names,
                           bool trailingDelimiter);

}  // namespace nitko
