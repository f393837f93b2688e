// Text on a canvas: output, measuring and formatted text.

#include <QPainter>
#include <QString>
#include <algorithm>
#include <vector>

#include "framework/canvas.h"
#include "framework/canvas_raster.h"
#include "framework/qt_bridge.h"
#include "framework/surface.h"

namespace nitko {

// --- font cache ---------------------------------------------------------

void TCanvas::State::Refresh(const TFont& font) {
  FontKey key{font.Name(), font.Height(), font.Style(), font.Pitch()};
  if (current_ != nullptr && current_->key == key) return;
  const auto found =
      std::find_if(fonts_.begin(), fonts_.end(), [&](const auto& e) { return e->key == key; });
  if (found != fonts_.end()) {
    std::rotate(found, found + 1, fonts_.end());
  } else {
    if (fonts_.size() == kFontsKept) fonts_.erase(fonts_.begin());
    // The Qt font follows from the key alone.
    std::string id = std::to_string(key.name.size()) + ':' + key.name;
    for (int v : {key.height, static_cast<int>(key.style), static_cast<int>(key.pitch)})
      id.append({'\0', static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                 static_cast<char>(v >> 24)});
    QFont qfont = ToQFont(font);
    QFontMetrics metrics(qfont);
    fonts_.push_back(std::make_unique<FontEntry>(
        FontEntry{std::move(key), std::move(id), std::move(qfont), std::move(metrics)}));
  }
  current_ = fonts_.back().get();
}

const std::string& TCanvas::State::FontId(const TFont& font) {
  Refresh(font);
  return current_->id;
}

const QFont& TCanvas::State::QtFont(const TFont& font) {
  Refresh(font);
  return current_->font;
}

const QFontMetrics& TCanvas::State::Metrics(const TFont& font) {
  Refresh(font);
  return current_->metrics;
}

namespace {

QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Draws s with its baseline origin at (x, y) inside region, from the text
// cache when it holds the very pixels the painter would set.
void DrawTextLine(TCanvas& canvas, TCanvas::State& state, const QRegion& region, int x, int y,
                  const QString& s);

// A painter for text on the canvas's surface, clipped to region; it draws
// at the image's device pixels by itself.
void WithTextPainter(TCanvas& canvas, const QFont& font, const QRegion& region,
                     const std::function<void(QPainter&)>& draw) {
  QPainter p(&canvas.Surface()->Image());
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setClipRegion(region);
  p.setFont(font);
  p.setPen(ToQColor(canvas.Font().Color()));
  draw(p);
}

bool Blittable(const QImage& image) {
  const QImage::Format f = image.format();
  return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
         f == QImage::Format_ARGB32_Premultiplied;
}

void DrawTextLine(TCanvas& canvas, TCanvas::State& state, const QRegion& region, int x, int y,
                  const QString& s) {
  const TFont& font = canvas.Font();
  const TSurface& surface = *canvas.Surface();
  QImage& image = canvas.Surface()->Image();
  if (Blittable(image)) {
    const int k = surface.Ratio();
    const TextCache::Rendering& r =
        state.texts.Render(state.FontId(font), ColorToQRgb(font.Color()), s, state.QtFont(font),
                           state.Metrics(font), QSize(surface.Width(), surface.Height()), k);
    if (r.exact) return BlitText(image, ToDevice(region, k), r, x * k, y * k);
  }
  WithTextPainter(canvas, state.QtFont(font), region,
                  [&](QPainter& p) { p.drawText(QPoint(x, y), s); });
}

}  // namespace

// --- measuring ----------------------------------------------------------

int TCanvas::TextWidth(const std::string& text) const {
  if (text.empty()) return 0;
  return state_->texts.Width(state_->FontId(font_), ToQString(text), state_->Metrics(font_));
}

int TCanvas::SumOfCharWidths(const std::string& text) const {
  const std::string& id = state_->FontId(font_);
  const QFontMetrics& fm = state_->Metrics(font_);
  int width = 0;
  for (size_t i = 0; i < text.size();) {
    const auto c0 = static_cast<unsigned char>(text[i]);
    char32_t c = c0;
    size_t n = 1;
    if (c0 >= 0xC0) {
      n = c0 >= 0xF0 ? 4 : c0 >= 0xE0 ? 3 : 2;
      c = c0 & (0x3F >> (n - 1));
      for (size_t k = 1; k < n; ++k) {
        const auto ck = i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
        if ((ck & 0xC0) != 0x80) {
          n = k;
          c = 0xFFFD;  // shown as the replacement character, as ToQString does
          break;
        }
        c = (c << 6) | (ck & 0x3F);
      }
    } else if (c0 >= 0x80) {
      c = 0xFFFD;
    }
    width += state_->texts.CharWidth(id, c, fm);
    i += n;
  }
  return width;
}

int TCanvas::TextHeight(const std::string&) const {
  return state_->Metrics(font_).height();
}

TSize TCanvas::TextExtent(const std::string& text) const {
  return {TextWidth(text), TextHeight(text)};
}

// --- output -------------------------------------------------------------

namespace {

// The top-left corner of text of the given width whose reference point is
// (x, y) under the alignment flags.
QPoint AlignedCorner(TTextAlign align, int x, int y, int width, const QFontMetrics& fm) {
  switch (align & taCenter) {
    case taRight:
      x -= width;
      break;
    case taCenter:
      x -= width / 2;
      break;
    default:
      break;
  }
  switch (align & taBaseline) {
    case taBottom:
      y -= fm.height();
      break;
    case taBaseline:
      y -= fm.ascent();
      break;
    default:
      break;
  }
  return {x, y};
}

}  // namespace

void TCanvas::TextOut(int x, int y, const std::string& text) {
  const bool updateCP = (textAlign_ & taUpdateCP) != 0;
  if (updateCP) {
    x = penPos_.X;
    y = penPos_.Y;
  }
  const QString s = ToQString(text);
  const QFontMetrics& fm = state_->Metrics(font_);
  const int width = state_->texts.Width(state_->FontId(font_), s, fm);
  const QPoint corner = AlignedCorner(textAlign_, x, y, width, fm);
  if (updateCP) {
    if ((textAlign_ & taCenter) == taLeft) penPos_.X += width;
    if ((textAlign_ & taCenter) == taRight) penPos_.X -= width;
  }
  if (record_ && !Recorded('t', {x, y}, text)) return;
  if (changes_) TouchedAll();
  if (!surface_ || s.isEmpty()) return;
  const QRegion region = State::Drawable(*this);
  if (region.isEmpty()) return;
  State::Changing(*this);
  if (State::Background(*this) == TBackgroundMode::bmOpaque)
    FillSolid(surface_->Image(),
              ToDevice(region & QRect(corner, QSize(width, fm.height())), surface_->Ratio()),
              State::BackgroundRgb(*this));
  DrawTextLine(*this, *state_, region, corner.x(), corner.y() + fm.ascent(), s);
  State::Changed(*this);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
  if (record_ && !Recorded('T', {r.Left, r.Top, r.Right, r.Bottom, x, y}, text)) return;
  if (changes_) TouchedAll();
  if (!surface_ || r.IsEmpty()) return;
  const QRegion region = State::Drawable(*this) & SafeRect(r);
  if (region.isEmpty()) return;
  const QString s = ToQString(text);
  const QFontMetrics& fm = state_->Metrics(font_);
  const int width = state_->texts.Width(state_->FontId(font_), s, fm);
  const QPoint corner = AlignedCorner(textAlign_ & ~taUpdateCP, x, y, width, fm);
  State::Changing(*this);
  if (State::Background(*this) == TBackgroundMode::bmOpaque)
    FillSolid(surface_->Image(), ToDevice(region, surface_->Ratio()), State::BackgroundRgb(*this));
  if (!s.isEmpty()) DrawTextLine(*this, *state_, region, corner.x(), corner.y() + fm.ascent(), s);
  State::Changed(*this);
}

// --- formatted text -----------------------------------------------------

namespace {

// Text with its prefix characters taken out; marks are the indices of the
// characters they underline.
struct PlainText {
  QString text;
  std::vector<qsizetype> marks;
};

PlainText StripPrefixes(const QString& s, bool prefixes, bool singleLine) {
  PlainText out;
  for (qsizetype i = 0; i < s.size(); ++i) {
    const QChar c = s[i];
    if (singleLine && (c == '\r' || c == '\n')) continue;
    if (!singleLine && c == '\r') continue;
    if (prefixes && c == '&') {
      if (i + 1 < s.size() && s[i + 1] == '&') {
        out.text += '&';
        ++i;
      } else if (i + 1 < s.size()) {
        out.marks.push_back(out.text.size());
      }
      continue;
    }
    out.text += c;
  }
  return out;
}

struct LineSpan {
  qsizetype start;
  qsizetype length;
};

class Formatter {
 public:
  Formatter(const QFontMetrics& fm, bool expandTabs)
      : fm_(fm), expandTabs_(expandTabs), tabWidth_(std::max(1, 8 * fm.averageCharWidth())) {}

  // Width of text, tabs stopping every eight average characters when
  // expanded.
  int Width(QStringView text) const {
    if (!expandTabs_) return text.isEmpty() ? 0 : fm_.horizontalAdvance(text.toString());
    int pos = 0;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
      if (i < text.size() && text[i] != '\t') continue;
      if (i > from) pos += fm_.horizontalAdvance(text.mid(from, i - from).toString());
      if (i < text.size()) pos = (pos / tabWidth_ + 1) * tabWidth_;
      from = i + 1;
    }
    return pos;
  }

  // Draws text with its left end at x, tab segments at their stops.
  void Draw(QPainter& p, int x, int baseline, QStringView text) const {
    if (!expandTabs_) {
      p.drawText(QPoint(x, baseline), text.toString());
      return;
    }
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
      if (i < text.size() && text[i] != '\t') continue;
      if (i > from)
        p.drawText(QPoint(x + Width(text.left(from)), baseline),
                   text.mid(from, i - from).toString());
      from = i + 1;
    }
  }

  // Lines of text: broken at line feeds, and with wordBreak at spaces so
  // that each fits in width. A word wider than width keeps a line of its own.
  std::vector<LineSpan> Lines(const QString& text, bool wordBreak, int width) const {
    std::vector<LineSpan> lines;
    if (text.isEmpty()) return lines;
    qsizetype start = 0;
    while (true) {
      qsizetype end = text.indexOf('\n', start);
      if (end < 0) end = text.size();
      if (wordBreak)
        Wrap(QStringView(text), start, end, width, lines);
      else
        lines.push_back({start, end - start});
      if (end == text.size()) break;
      start = end + 1;
    }
    return lines;
  }

 private:
  void Wrap(QStringView text, qsizetype pos, qsizetype end, int width,
            std::vector<LineSpan>& lines) const {
    while (true) {
      if (Width(text.mid(pos, end - pos)) <= width) {
        lines.push_back({pos, end - pos});
        return;
      }
      qsizetype cut = -1;
      for (qsizetype i = pos + 1; i < end; ++i) {
        if (text[i] != ' ' || text[i - 1] == ' ') continue;
        if (Width(text.mid(pos, i - pos)) > width) {
          if (cut < 0) cut = i;  // the first word alone is too wide
          break;
        }
        cut = i;
      }
      if (cut < 0) {
        lines.push_back({pos, end - pos});
        return;
      }
      lines.push_back({pos, cut - pos});
      pos = cut;
      while (pos < end && text[pos] == ' ') ++pos;
      if (pos == end) return;
    }
  }

  const QFontMetrics& fm_;
  bool expandTabs_;
  int tabWidth_;
};

}  // namespace

int TCanvas::DrawText(TRect& rect, const std::string& text, TDrawTextFlags flags) {
  const bool singleLine = (flags & dtSingleLine) != 0;
  const QFontMetrics& fm = state_->Metrics(font_);
  const PlainText plain = StripPrefixes(ToQString(text), (flags & dtNoPrefix) == 0, singleLine);
  const Formatter format(fm, (flags & dtExpandTabs) != 0);
  const std::vector<LineSpan> lines =
      format.Lines(plain.text, !singleLine && (flags & dtWordBreak) != 0, rect.Width());
  const int lineHeight = fm.height();
  const int height = lineHeight * static_cast<int>(lines.size());
  std::vector<int> widths;
  int widest = 0;
  for (const LineSpan& line : lines) {
    widths.push_back(format.Width(QStringView(plain.text).mid(line.start, line.length)));
    widest = std::max(widest, widths.back());
  }
  if (flags & dtCalcRect) {
    rect.Right = rect.Left + widest;
    rect.Bottom = rect.Top + height;
    return height;
  }
  if (record_ && !Recorded('d', {rect.Left, rect.Top, rect.Right, rect.Bottom, flags}, text))
    return height;
  if (changes_) TouchedAll();
  if (!surface_ || lines.empty()) return height;
  QRegion region = State::Drawable(*this);
  if (!(flags & dtNoClip)) region &= SafeRect(rect);
  if (region.isEmpty()) return height;

  int top = rect.Top;
  if (flags & dtBottom)
    top = rect.Bottom - height;
  else if (flags & dtVCenter)
    top = rect.Top + (rect.Height() - height) / 2;
  State::Changing(*this);
  const bool opaque = State::Background(*this) == TBackgroundMode::bmOpaque;
  std::vector<int> lefts;
  for (size_t i = 0; i < lines.size(); ++i) {
    int left = rect.Left;
    if (flags & dtRight)
      left = rect.Right - widths[i];
    else if (flags & dtCenter)
      left = rect.Left + (rect.Width() - widths[i]) / 2;
    lefts.push_back(left);
    if (opaque)
      FillSolid(surface_->Image(),
                ToDevice(region & QRect(left, top + static_cast<int>(i) * lineHeight, widths[i],
                                        lineHeight),
                         surface_->Ratio()),
                State::BackgroundRgb(*this));
  }
  WithTextPainter(*this, state_->QtFont(font_), region, [&](QPainter& p) {
    const int underline = std::clamp(fm.underlinePos(), 1, std::max(1, fm.descent() - 1));
    const int thickness = std::max(1, fm.lineWidth());
    for (size_t i = 0; i < lines.size(); ++i) {
      const QStringView line = QStringView(plain.text).mid(lines[i].start, lines[i].length);
      const int baseline = top + static_cast<int>(i) * lineHeight + fm.ascent();
      format.Draw(p, lefts[i], baseline, line);
      for (qsizetype mark : plain.marks) {
        const qsizetype at = mark - lines[i].start;
        if (at < 0 || at >= line.size()) continue;
        const int x0 = lefts[i] + format.Width(line.left(at));
        const int x1 = lefts[i] + format.Width(line.left(at + 1));
        p.fillRect(QRect(x0, baseline + underline, x1 - x0, thickness), p.pen().color());
      }
    }
  });
  State::Changed(*this);
  return height;
}

}  // namespace nitko
