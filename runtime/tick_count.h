#pragma once

#include <cstdint>

namespace nitko {

// Milliseconds on a steady clock since the process started; wraps after
// about 49.7 days, so only differences are meaningful.
uint32_t GetTickCount();

}  // namespace nitko
