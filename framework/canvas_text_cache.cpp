#include "framework/canvas_text_cache.h"

#include <QPainter>
#include <algorithm>

namespace nitko {

namespace {

std::string KeyOf(const std::string& fontId, const QString& text, const char* extra, size_t n) {
  std::string key = fontId;
  key.push_back('\0');
  key.append(extra, n);
  key.push_back('\0');
  key.append(reinterpret_cast<const char*>(text.utf16()), static_cast<size_t>(text.size()) * 2);
  return key;
}

// Where a text's pixels may lie around its baseline origin.
QRect InkOf(const QString& text, const QFontMetrics& fm) {
  const int width = fm.horizontalAdvance(text);
  return fm.boundingRect(text) | QRect(0, -fm.ascent(), std::max(width, 1), fm.height());
}

// What an entry holds besides its fixed parts: the key and the runs, and a
// node's share of its map.
size_t EntryBytes(const std::string& key, size_t runs) {
  return key.size() + runs * sizeof(TextCache::Run) + 64;
}

// Draws text as the canvas does and reads its pixels back. The result is
// only used when every pixel is either untouched or exactly the colour, so
// that setting those pixels on any background equals drawing there, and when
// no ink reaches the image's border, which could have cut it off.
TextCache::Rendering RenderText(QRgb rgb, const QString& text, const QFont& font,
                                const QFontMetrics& fm, const QRect& ink, int ratio) {
  TextCache::Rendering out;
  out.rgb = rgb | 0xFF000000u;
  const int margin = fm.height() + 2;
  const QRect box = ink.adjusted(-margin, -margin, margin, margin);
  if (static_cast<long long>(box.width()) * box.height() * ratio * ratio > 4'000'000) return out;
  QImage image(box.size() * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(0);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(font);
    p.setPen(QColor::fromRgb(rgb));
    p.drawText(-box.topLeft(), text);
  }
  const int w = image.width(), h = image.height();
  for (int y = 0; y < h; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < w;) {
      if (row[x] == 0) {
        ++x;
        continue;
      }
      if (row[x] != out.rgb || y == 0 || y == h - 1 || x == 0) return out;
      const int x0 = x;
      while (x < w && row[x] == out.rgb) ++x;
      if (x == w) return out;
      const int top = box.top() * ratio, left = box.left() * ratio;
      out.runs.push_back({y + top, x0 + left, x - 1 + left});
    }
  }
  out.exact = true;
  out.runs.shrink_to_fit();
  return out;
}

}  // namespace

bool TextCache::Admit(size_t bytes) {
  if (bytes > kMaxBytes) return false;
  if (bytes_ + bytes > kMaxBytes) {
    widths_.clear();
    renderings_.clear();
    seen_.clear();
    bytes_ = 0;
  }
  bytes_ += bytes;
  return true;
}

int TextCache::Width(const std::string& fontId, const QString& text, const QFontMetrics& fm) {
  std::string key = KeyOf(fontId, text, "", 0);
  if (auto it = widths_.find(key); it != widths_.end()) return it->second;
  const int width = text.isEmpty() ? 0 : fm.horizontalAdvance(text);
  if (Admit(EntryBytes(key, 0))) widths_.emplace(std::move(key), width);
  return width;
}

int TextCache::CharWidth(const std::string& fontId, char32_t c, const QFontMetrics& fm) {
  if (fontId != char_font_) {
    char_font_ = fontId;
    ascii_widths_.assign(128, -1);
    char_widths_.clear();
  }
  int* slot = c < 128 ? &ascii_widths_[c] : nullptr;
  if (slot != nullptr && *slot >= 0) return *slot;
  if (slot == nullptr)
    if (auto it = char_widths_.find(c); it != char_widths_.end()) return it->second;
  const int width = fm.horizontalAdvance(QString::fromUcs4(&c, 1));
  if (slot != nullptr)
    *slot = width;
  else if (char_widths_.size() < kMaxCharWidths)
    char_widths_.emplace(c, width);
  return width;
}

const TextCache::Rendering& TextCache::Render(const std::string& fontId, QRgb rgb,
                                              const QString& text, const QFont& font,
                                              const QFontMetrics& fm, const QSize& surface,
                                              int ratio) {
  const char extra[] = {static_cast<char>(qRed(rgb)), static_cast<char>(qGreen(rgb)),
                        static_cast<char>(qBlue(rgb)), static_cast<char>(ratio)};
  std::string key = KeyOf(fontId, text, extra, sizeof extra);
  if (auto it = renderings_.find(key); it != renderings_.end()) return it->second;
  unkept_ = {};
  // A text met for the first time is left to the painter: rendering it
  // aside costs more than drawing it, and most texts that are never drawn
  // again (a grid's cells scrolled past) would only crowd the cache.
  if (!seen_.contains(key)) {
    if (Admit(EntryBytes(key, 0))) seen_.insert(std::move(key));
    return unkept_;
  }
  const QRect ink = InkOf(text, fm);
  if (ink.width() > surface.width() || ink.height() > surface.height()) return unkept_;
  Rendering r = RenderText(rgb, text, font, fm, ink, ratio);
  if (!Admit(EntryBytes(key, r.runs.size()))) {
    unkept_ = std::move(r);
    return unkept_;
  }
  return renderings_.emplace(std::move(key), std::move(r)).first->second;
}

void BlitText(QImage& image, const QRegion& region, const TextCache::Rendering& r, int x, int y) {
  QRgb* bits = reinterpret_cast<QRgb*>(image.bits());
  const int stride = image.bytesPerLine() / 4;
  const QRegion inside = region & QRegion(image.rect());
  for (const QRect& c : inside) {
    for (const TextCache::Run& run : r.runs) {
      const long long py = static_cast<long long>(y) + run.dy;
      if (py < c.top() || py > c.bottom()) continue;
      const long long x0 = std::max<long long>(static_cast<long long>(x) + run.x0, c.left());
      const long long x1 = std::min<long long>(static_cast<long long>(x) + run.x1, c.right());
      if (x0 > x1) continue;
      QRgb* row = bits + static_cast<ptrdiff_t>(py) * stride;
      std::fill(row + x0, row + x1 + 1, r.rgb);
    }
  }
}

}  // namespace nitko
