// Copies between surfaces: CopyRect, Draw and their variants.

#include <QImage>
#include <algorithm>
#include <cstring>
#include <optional>

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/canvas_raster.h"
#include "framework/qt_bridge.h"
#include "framework/surface.h"

namespace nitko {

namespace {

constexpr QRgb kRgbMask = 0x00FFFFFFu;

// A rectangle of device pixels; scaled, it may lie beyond int.
struct Span {
  long long Left, Top, Right, Bottom;
};

Span DeviceSpan(const TRect& r, int ratio) {
  const long long k = ratio;
  return {r.Left * k, r.Top * k, r.Right * k, r.Bottom * k};
}

bool UsesSource(TCopyMode mode) {
  return mode != TCopyMode::cmBlackness && mode != TCopyMode::cmWhiteness &&
         mode != TCopyMode::cmDstInvert;
}

// Combines each pixel of region with the source pixel that dest maps it to
// (nearest pixel when the sizes differ). Pixels whose source lies outside
// the source image, or has the transparent colour, are left alone.
// plainCopy: op returns the source pixel unchanged (a straight copy).
template <class Op>
void Blit(QImage& target, const QRegion& region, const QImage* source, const Span& dest,
          const Span& sourceRect, std::optional<QRgb> transparent, Op op, bool plainCopy) {
  QRgb* dst = reinterpret_cast<QRgb*>(target.bits());
  const int stride = target.bytesPerLine() / 4;
  const long long dw = dest.Right - dest.Left;
  const long long dh = dest.Bottom - dest.Top;
  const long long sw = sourceRect.Right - sourceRect.Left;
  const long long sh = sourceRect.Bottom - sourceRect.Top;
  const bool stretched = dw != sw || dh != sh;
  auto mapX = [&](int x) -> long long {
    const long long off = x - dest.Left;
    return sourceRect.Left + (stretched ? off * sw / dw : off);
  };
  auto mapY = [&](int y) -> long long {
    const long long off = y - dest.Top;
    return sourceRect.Top + (stretched ? off * sh / dh : off);
  };
  for (const QRect& r : region) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
      QRgb* row = dst + static_cast<ptrdiff_t>(y) * stride;
      const QRgb* srcRow = nullptr;
      if (source) {
        const long long sy = mapY(y);
        if (sy < 0 || sy >= source->height()) continue;
        srcRow = reinterpret_cast<const QRgb*>(source->constScanLine(static_cast<int>(sy)));
      }
      if (srcRow && !stretched) {
        // One constant offset: clip the span to the source once, then a
        // tight loop the compiler can vectorise.
        const long long shift = sourceRect.Left - dest.Left;
        const int first = static_cast<int>(std::max<long long>(r.left(), -shift));
        const int last =
            static_cast<int>(std::min<long long>(r.right(), source->width() - 1 - shift));
        // Both images are RGB32 (alpha always 0xFF): a straight copy is a
        // block move, the whole cost of every unchanged repaint.
        if (plainCopy && !transparent) {
          if (last >= first)
            std::memcpy(row + first, srcRow + first + shift,
                        static_cast<size_t>(last - first + 1) * sizeof(QRgb));
          continue;
        }
        for (int x = first; x <= last; ++x) {
          const QRgb s = srcRow[x + shift] & kRgbMask;
          if (transparent && s == *transparent) continue;
          row[x] = (op(s, row[x] & kRgbMask) & kRgbMask) | 0xFF000000u;
        }
        continue;
      }
      for (int x = r.left(); x <= r.right(); ++x) {
        QRgb s = 0;
        if (srcRow) {
          const long long sx = mapX(x);
          if (sx < 0 || sx >= source->width()) continue;
          s = srcRow[sx] & kRgbMask;
          if (transparent && s == *transparent) continue;
        }
        row[x] = (op(s, row[x] & kRgbMask) & kRgbMask) | 0xFF000000u;
      }
    }
  }
}

// A plain copy of one rectangle of an image onto another part of it, row by
// row in the order that reads every source row before it is overwritten:
// the same pixels as copying from a snapshot, without the snapshot.
void MoveWithin(QImage& image, const QRect& r, const Span& dest, const Span& sourceRect) {
  const long long dx = sourceRect.Left - dest.Left;
  const long long dy = sourceRect.Top - dest.Top;
  const int first = static_cast<int>(std::max<long long>(r.left(), -dx));
  const int last = static_cast<int>(std::min<long long>(r.right(), image.width() - 1 - dx));
  const int top = static_cast<int>(std::max<long long>(r.top(), -dy));
  const int bottom = static_cast<int>(std::min<long long>(r.bottom(), image.height() - 1 - dy));
  if (last < first || bottom < top) return;
  const size_t bytes = static_cast<size_t>(last - first + 1) * sizeof(QRgb);
  auto row = [&](int y) {
    QRgb* to = reinterpret_cast<QRgb*>(image.scanLine(y)) + first;
    const QRgb* from = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(y + dy)));
    std::memmove(to, from + first + dx, bytes);
  };
  if (dy >= 0)
    for (int y = top; y <= bottom; ++y) row(y);
  else
    for (int y = bottom; y >= top; --y) row(y);
}

}  // namespace

void TCanvas::Copy(const TRect& dest, const TSurface* source, const TRect& sourceRect,
                   const TColor* transparent) {
  if (record_ && !Recorded('y',
                           {dest.Left, dest.Top, dest.Right, dest.Bottom, sourceRect.Left,
                            sourceRect.Top, sourceRect.Right, sourceRect.Bottom,
                            transparent ? ColorToRGB(*transparent) : -1},
                           {}, source))
    return;
  if (changes_) Touched(dest.Left, dest.Top, dest.Right, dest.Bottom, 0);
  if (!surface_ || dest.IsEmpty()) return;
  const bool usesSource = UsesSource(copyMode_);
  if (usesSource && (!source || sourceRect.IsEmpty())) return;
  const QRegion pixels = State::Drawable(*this) & SafeRect(dest);
  if (pixels.isEmpty()) return;
  State::Changing(*this);
  // A plain copy of one whole picture onto a whole surface of its size
  // shares the pixels: a cached frame reaches the screen without a copy.
  // Pixels of the surface's own are written over instead, as new ones
  // would cost more than the copy.
  const TRect whole{0, 0, surface_->Width(), surface_->Height()};
  if ((!surface_->Allocated() || surface_->SharesPixels()) && copyMode_ == TCopyMode::cmSrcCopy &&
      !transparent && usesSource && dest == whole &&
      sourceRect == whole && pixels == QRegion(SafeRect(whole)) && surface_->ShareFrom(*source)) {
    State::Changed(*this);
    return;
  }
  // In device pixels of each side: surfaces of different ratios meet as a
  // stretch.
  const int ratio = surface_->Ratio();
  const QRegion region = ToDevice(pixels, ratio);
  const Span to = DeviceSpan(dest, ratio);
  const Span from = DeviceSpan(sourceRect, usesSource ? source->Ratio() : ratio);
  const bool sameSize = static_cast<long long>(dest.Right) - dest.Left ==
                            static_cast<long long>(sourceRect.Right) - sourceRect.Left &&
                        static_cast<long long>(dest.Bottom) - dest.Top ==
                            static_cast<long long>(sourceRect.Bottom) - sourceRect.Top;
  if (source == surface_ && copyMode_ == TCopyMode::cmSrcCopy && !transparent && sameSize &&
      region.rectCount() == 1) {
    MoveWithin(surface_->Image(), region.boundingRect(), to, from);
    State::Changed(*this);
    return;
  }
  // Any other copy within one surface reads a snapshot, so overlapping
  // moves work.
  QImage snapshot;
  const QImage* src = nullptr;
  if (usesSource) {
    src = &source->Image();
    if (source == surface_) {
      snapshot = src->copy();
      src = &snapshot;
    }
  }
  std::optional<QRgb> key;
  if (transparent) key = ColorToQRgb(*transparent) & kRgbMask;
  QImage& target = surface_->Image();
  auto run = [&](auto op) {
    Blit(target, region, src, to, from, key, op, copyMode_ == TCopyMode::cmSrcCopy);
  };
  switch (copyMode_) {
    case TCopyMode::cmBlackness:
      run([](QRgb, QRgb) { return QRgb(0); });
      break;
    case TCopyMode::cmNotSrcErase:
      run([](QRgb s, QRgb d) { return ~(s | d); });
      break;
    case TCopyMode::cmNotSrcCopy:
      run([](QRgb s, QRgb) { return ~s; });
      break;
    case TCopyMode::cmSrcErase:
      run([](QRgb s, QRgb d) { return s & ~d; });
      break;
    case TCopyMode::cmDstInvert:
      run([](QRgb, QRgb d) { return ~d; });
      break;
    case TCopyMode::cmSrcInvert:
      run([](QRgb s, QRgb d) { return s ^ d; });
      break;
    case TCopyMode::cmSrcAnd:
      run([](QRgb s, QRgb d) { return s & d; });
      break;
    case TCopyMode::cmMergePaint:
      run([](QRgb s, QRgb d) { return ~s | d; });
      break;
    case TCopyMode::cmSrcCopy:
      run([](QRgb s, QRgb) { return s; });
      break;
    case TCopyMode::cmSrcPaint:
      run([](QRgb s, QRgb d) { return s | d; });
      break;
    case TCopyMode::cmWhiteness:
      run([](QRgb, QRgb) { return ~QRgb(0); });
      break;
  }
  State::Changed(*this);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
  Copy(dest, source.surface_, sourceRect, nullptr);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  const TColor key = bitmap.TransparentColor();
  Copy(Bounds(x, y, bitmap.Width(), bitmap.Height()), &bitmap.Surface(),
       Rect(0, 0, bitmap.Width(), bitmap.Height()), bitmap.Transparent() ? &key : nullptr);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  const TColor key = bitmap.TransparentColor();
  Copy(dest, &bitmap.Surface(), Rect(0, 0, bitmap.Width(), bitmap.Height()),
       bitmap.Transparent() ? &key : nullptr);
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap& bitmap, TColor transparentColor) {
  if (bitmap.Empty()) return;
  Copy(Bounds(x, y, bitmap.Width(), bitmap.Height()), &bitmap.Surface(),
       Rect(0, 0, bitmap.Width(), bitmap.Height()), &transparentColor);
}

}  // namespace nitko
