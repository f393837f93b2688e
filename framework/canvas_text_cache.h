#pragma once

// Framework-internal: measured and rendered texts of a canvas, kept because
// a chart draws the same labels with the same fonts frame after frame, and
// shaping and rasterising them again costs more than the rest of a frame.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRegion>
#include <QSize>
#include <QString>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace nitko {

class TextCache {
 public:
  // A text's device pixels as the painter would set them: runs of one row,
  // as offsets from the baseline origin the text was drawn at.
  struct Run {
    int dy, x0, x1;  // x1 inclusive
  };
  struct Rendering {
    bool exact = false;  // false: the painter must draw this text itself
    QRgb rgb = 0;
    std::vector<Run> runs;
  };

  // fontId names everything the glyphs depend on besides colour and text.
  int Width(const std::string& fontId, const QString& text, const QFontMetrics& fm);
  // The advance of one character of the font.
  int CharWidth(const std::string& fontId, char32_t c, const QFontMetrics& fm);
  // A text larger than the surface it is drawn on is never shown whole
  // there; it is not kept, and the painter draws it. ratio: device pixels
  // per pixel of the surface.
  const Rendering& Render(const std::string& fontId, QRgb rgb, const QString& text,
                          const QFont& font, const QFontMetrics& fm, const QSize& surface,
                          int ratio);

 private:
  // Ample for a chart's labels and titles; a canvas showing ever new texts
  // starts afresh rather than growing.
  static constexpr size_t kMaxBytes = 4 << 20;

  // Makes room for an entry of the given bytes; false when it alone would
  // not fit.
  bool Admit(size_t bytes);

  std::unordered_map<std::string, int> widths_;
  std::unordered_map<std::string, Rendering> renderings_;
  std::unordered_set<std::string> seen_;  // texts drawn once, not rendered yet
  size_t bytes_ = 0;  // what the three hold, keys and runs
  Rendering unkept_;  // the answer for a text that is not kept
  // Character advances of one font; another font starts them afresh.
  static constexpr size_t kMaxCharWidths = 4096;
  std::string char_font_;
  std::vector<int> ascii_widths_;  // -1 until measured
  std::unordered_map<char32_t, int> char_widths_;
};

// Sets the pixels of r, drawn with its baseline origin at (x, y), inside
// region of image, all in device pixels.
void BlitText(QImage& image, const QRegion& region, const TextCache::Rendering& r, int x, int y);

}  // namespace nitko
