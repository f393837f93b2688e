#include "framework/qt_bridge.h"

#include <cstdlib>

#include "framework/font.h"
#include "framework/surface.h"

namespace nitko {

QFont ToQFont(const TFont& font) {
  QFont f(QString::fromStdString(font.Name()));
  // A positive height is the cell height; the character height is close
  // enough to it for a pixel size.
  f.setPixelSize(std::max(1, std::abs(font.Height())));
  f.setBold(font.Has(TFontStyle::fsBold));
  f.setItalic(font.Has(TFontStyle::fsItalic));
  f.setUnderline(font.Has(TFontStyle::fsUnderline));
  f.setStrikeOut(font.Has(TFontStyle::fsStrikeOut));
  if (font.Pitch() == TFontPitch::fpFixed) f.setFixedPitch(true);
  // No smoothing: text pixels are exactly the font colour or the background.
  f.setStyleStrategy(QFont::NoAntialias);
  // Unsmoothed glyphs need full hinting or their gaps come out uneven; the
  // widgets and the canvases measure the same font this way. On a screen of
  // several device pixels a pixel, advances hinted at the pixel size no
  // longer fit glyphs hinted at the device size (a gap opens after a "w"):
  // there the glyphs are hinted only vertically and placed by their design.
  f.setHintingPreference(DeviceRatio() > 1 ? QFont::PreferVerticalHinting
                                           : QFont::PreferFullHinting);
  return f;
}

}  // namespace nitko
