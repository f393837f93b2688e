#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nitko {

// Names compare ignoring case: each is lower-cased per character (ill-formed
// UTF-8 reads as U+FFFD) and compared in the user's collation (LC_ALL,
// LC_COLLATE or LANG, read on first use; code-point order for C and POSIX).
// Names still equal then compare by their bytes, so only identical names
// compare equal and "A" sorts before "a" everywhere, whatever order a folder
// lists them in. Returns <0, 0 or >0.
int CompareFileNames(std::string_view a, std::string_view b);

// Uses the collation of a named locale ("" the user's, "C" code-point order)
// from now on. False, and nothing changes, when the system lacks it.
bool SetFileNameCollation(const char* localeName);

// The order the names end in when each, in arrival order, is inserted before
// the first placed name that compares greater than or equal to it
// (CompareFileNames): sorted, identical names in reverse arrival order.
// Arrival indices in final order; one collation key per name, O(n log n).
std::vector<size_t> FileNameInsertionOrder(const std::vector<std::string>& names);

}  // namespace nitko
