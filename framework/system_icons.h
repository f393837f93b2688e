#pragma once

#include "framework/colors.h"

namespace nitko {

class TBitmap;

// The desktop's message icons, by the numbers of the platform the program
// was designed for.
enum class TSystemIcon { siHand = 32513, siQuestion = 32514, siExclamation = 32515,
                         siAsterisk = 32516 };

// Draws the icon at 32 x 32 into bitmap (resized to that), over background.
void LoadSystemIcon(TBitmap& bitmap, TSystemIcon icon, TColor background);

}  // namespace nitko
