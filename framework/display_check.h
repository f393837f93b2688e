#pragma once

#include <string>

namespace nitko {

// Empty when a window can be opened; otherwise one line saying why not and
// how to run the program anyway.
std::string MissingDisplayReason(const std::string& programName);

}  // namespace nitko
