#pragma once

#include <QPalette>

namespace nitko {

// Qt's style keeps the pieces it draws (a push button's face) in the pixmap
// cache under the palette's cache key, and each widget that sets a palette
// gets a key of its own, however its colours read: every message form made
// anew would add its button's pictures. Drawing through this palette
// instead, equal to the given one in every colour and resolve bit but taken
// from a small set kept for the process, keeps one key for alike widgets.
// GUI thread only.
QPalette SharedPalette(const QPalette& palette);

}  // namespace nitko
