#pragma once

// Framework-internal: the Qt side of TCanvas, shared by its sources.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRegion>
#include <memory>
#include <string>
#include <vector>

#include "framework/canvas.h"
#include "framework/canvas_text_cache.h"

namespace nitko {

struct TCanvas::State {
  QRegion clip;  // surface pixels; used while TCanvas::clipped_
  // The last answer of Drawable, kept until the clip or the surface's size
  // changes: most calls would build the same region anew.
  QRegion drawable;
  const TSurface* drawableFor = nullptr;
  int drawableWidth = -1, drawableHeight = -1;
  void ClipChanged() { drawableFor = nullptr; }

  // The Qt font for the canvas font, rebuilt only when the font changes.
  const QFont& QtFont(const TFont& font);
  const QFontMetrics& Metrics(const TFont& font);
  // Names the Qt font for the text cache.
  const std::string& FontId(const TFont& font);
  TextCache texts;

  // The pixels an operation may change: the clip within the surface, or
  // nothing without a surface.
  static QRegion Drawable(const TCanvas& canvas);
  static void Changing(TCanvas& canvas) {
    if (canvas.OnChanging) canvas.OnChanging();
  }
  static void Changed(TCanvas& canvas) {
    if (canvas.OnChange) canvas.OnChange();
  }
  static TBackgroundMode Background(const TCanvas& canvas) {
    canvas.SyncBackground();
    return canvas.bkMode_;
  }
  static QRgb BackgroundRgb(const TCanvas& canvas);

 private:
  struct FontKey {
    std::string name;
    int height = 0;
    TFontStyles style = 0;
    TFontPitch pitch = TFontPitch::fpDefault;
    bool operator==(const FontKey&) const = default;
  };
  // A font with what Qt resolved for it. A canvas switches among a few
  // fonts (a chart's title, labels and legend), so it keeps the last few:
  // resolving a font again costs Qt a search of its font database.
  struct FontEntry {
    FontKey key;
    std::string id;
    QFont font;
    QFontMetrics metrics;
  };
  static constexpr size_t kFontsKept = 8;
  void Refresh(const TFont& font);
  FontEntry* current_ = nullptr;
  std::vector<std::unique_ptr<FontEntry>> fonts_;  // most recently used last
};

// Sets every pixel of region (clipped to the image) to rgb.
void FillSolid(QImage& image, const QRegion& region, QRgb rgb);

// A pen mode applied to source colour s and destination d.
QRgb CombinePen(TPenMode mode, QRgb s, QRgb d);

}  // namespace nitko
