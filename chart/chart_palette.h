#pragma once

#include "framework/colors.h"

namespace nitko {

inline constexpr int kPaletteSize = 16;

// The default series colours, repeating every kPaletteSize entries.
TColor PaletteColor(int index);

}  // namespace nitko
