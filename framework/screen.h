#pragma once

#include <string>

#include "framework/font.h"

namespace nitko {

// The primary screen in pixels.
int ScreenWidth();
int ScreenHeight();

// The font the desktop uses for message boxes; font stays untouched and
// false is returned when there is none to read.
bool ReadSystemMessageFont(TFont& font);

// Character height (ascent + descent) of the system font and of a font.
int SystemFontHeight();
int FontHeight(const TFont& font);
// The thickness of a window border line.
inline constexpr int kSystemBorderHeight = 1;

// The default beep.
void Beep();
// How many beeps the program has sounded: a beep is part of what a user
// meets, and tests have no ears.
int BeepCount();

// Plain text on the clipboard; raises Exception "Cannot open clipboard" when
// there is no clipboard to write to.
void SetClipboardText(const std::string& text);
std::string ClipboardText();

}  // namespace nitko
