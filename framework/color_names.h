#pragma once

#include <optional>
#include <string_view>

#include "framework/colors.h"

namespace nitko {

// The colour named by a clXxx identifier: the plain and system colours,
// clNone and clDefault. Names are matched exactly.
std::optional<TColor> IdentToColor(std::string_view name);

}  // namespace nitko
