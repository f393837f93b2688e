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

// The default beep.
void Beep();

// Plain text on the clipboard; raises Exception "Cannot open clipboard" when
// there is no clipboard to write to.
void SetClipboardText(const std::string& text);
std::string ClipboardText();

}  // namespace nitko
