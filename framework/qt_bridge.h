#pragma once

// Conversions between the framework's types and Qt's; framework-internal.

#include <QColor>
#include <QFont>
#include <QRect>

#include "framework/colors.h"
#include "framework/system_colors.h"
#include "framework/types.h"

namespace nitko {

class TFont;

inline QRgb ColorToQRgb(TColor color) {
  const TColor c = ColorToRGB(color);
  return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

inline QColor ToQColor(TColor color) { return QColor::fromRgb(ColorToQRgb(color)); }

inline TColor RgbToColor(QRgb rgb) {
  return static_cast<TColor>(qRed(rgb)) | (static_cast<TColor>(qGreen(rgb)) << 8) |
         (static_cast<TColor>(qBlue(rgb)) << 16);
}

// QRect's right and bottom are inclusive; ours are exclusive.
inline QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
inline TRect FromQRect(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }

// The Qt font a TFont stands for: matched by family, sized in pixels.
QFont ToQFont(const TFont& font);

}  // namespace nitko
