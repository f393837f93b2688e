#pragma once

#include "framework/colors.h"

namespace nitko {

// The plain 0x00BBGGRR value of a colour; system colours are looked up in
// the system colour table, clNone and clDefault give black.
TColor ColorToRGB(TColor color);

}  // namespace nitko
