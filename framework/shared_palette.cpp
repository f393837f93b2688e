#include "framework/shared_palette.h"

#include <array>

namespace nitko {

namespace {

// A few are enough for the looks a program shows at once; beyond that the
// oldest gives way, which costs a cache entry, not a wrong colour.
constexpr size_t kKept = 16;

}  // namespace

QPalette SharedPalette(const QPalette& palette) {
  static std::array<QPalette, kKept> kept;
  static size_t used = 0, next = 0;
  for (size_t i = 0; i < used; ++i) {
    if (kept[i].resolveMask() != palette.resolveMask() || !(kept[i] == palette)) continue;
    QPalette shared = kept[i];
    shared.setCurrentColorGroup(palette.currentColorGroup());
    return shared;
  }
  kept[next] = palette;
  next = (next + 1) % kKept;
  if (used < kKept) ++used;
  return palette;
}

}  // namespace nitko
