#include "framework/system_colors.h"

namespace nitko {

namespace {

// A classic light desktop scheme, indexed by the low byte of a system colour.
constexpr TColor kSystemColors[] = {
    0xC8D0D4,  // clScrollBar
    0xA56E3A,  // clBackground
    0x6A240A,  // clActiveCaption
    0x808080,  // clInactiveCaption
    0xC8D0D4,  // clMenu
    0xFFFFFF,  // clWindow
    0x000000,  // clWindowFrame
    0x000000,  // clMenuText
    0x000000,  // clWindowText
    0xFFFFFF,  // clCaptionText
    0xC8D0D4,  // clActiveBorder
    0xC8D0D4,  // clInactiveBorder
    0x808080,  // clAppWorkSpace
    0x6A240A,  // clHighlight
    0xFFFFFF,  // clHighlightText
    0xC8D0D4,  // clBtnFace
    0x808080,  // clBtnShadow
    0x808080,  // clGrayText
    0x000000,  // clBtnText
    0xC8D0D4,  // clInactiveCaptionText
    0xFFFFFF,  // clBtnHighlight
    0x404040,  // cl3DDkShadow
    0xC8D0D4,  // cl3DLight
    0x000000,  // clInfoText
    0xE1FFFF,  // clInfoBk
};

}  // namespace

TColor ColorToRGB(TColor color) {
  if ((color & kSystemColorBit) != 0) {
    unsigned index = color & 0xFF;
    return index < sizeof kSystemColors / sizeof kSystemColors[0] ? kSystemColors[index] : 0;
  }
  if (color == clNone || color == clDefault) return clBlack;
  return color & 0x00FFFFFF;
}

}  // namespace nitko
