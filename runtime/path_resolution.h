#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nitko {

// The native path that opens a full system path. The system compares names
// ignoring case and shows undecodable bytes as U+FFFD, while Linux names are
// exact bytes; so a name that does not exist as written is looked up among
// its folder's entries as shown, ignoring case: "c:\work" opens "/Work", and
// a name shown with U+FFFD opens the entry whose bytes it stands for. Of
// several matches the one shown exactly as written wins, else the smallest
// in bytes. A name with no match, and all after it, stay as written. None
// when the drive is not mapped or the path is not full.
std::optional<std::string> ResolveNativePath(std::string_view fullPath);

}  // namespace nitko
