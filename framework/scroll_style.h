#pragma once

namespace nitko {

// Which scroll bars a control shows.
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

}  // namespace nitko
