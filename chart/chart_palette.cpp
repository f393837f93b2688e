#include "chart/chart_palette.h"

#include <array>
#include <cstddef>

namespace nitko {

namespace {

constexpr std::array<TColor, kPaletteSize> kPalette = {
    clRed,  clGreen,  clYellow, clBlue,  clWhite,  clGray,   clFuchsia, clTeal,
    clNavy, clMaroon, clLime,   clOlive, clPurple, clSilver, clAqua,    clBlack};

}  // namespace

TColor PaletteColor(int index) {
  int slot = index % kPaletteSize;
  if (slot < 0) slot += kPaletteSize;  // keeps a negative index inside the table
  return kPalette[static_cast<size_t>(slot)];
}

}  // namespace nitko
