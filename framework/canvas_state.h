#pragma once

// Framework-internal: the Qt side of TCanvas, shared by its sources.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRegion>
#include <optional>
#include <string>

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
  void Refresh(const TFont& font);
  std::optional<FontKey> key_;
  std::string font_id_;
  std::optional<QFont> font_;
  std::optional<QFontMetrics> metrics_;
};

// Sets every pixel of region (clipped to the image) to rgb.
void FillSolid(QImage& image, const QRegion& region, QRgb rgb);

// A pen mode applied to source colour s and destination d.
QRgb CombinePen(TPenMode mode, QRgb s, QRgb d);

}  // namespace nitko
