#pragma once

#include <memory>
#include <span>

#include "framework/colors.h"
#include "framework/types.h"

class QImage;

namespace nitko {

// The longest side a surface, and so a control, may have. Qt would let a
// widget grow to 16,777,215, but a raster of that size cannot be allocated;
// 32,767 keeps every coordinate sum well within int as well.
inline constexpr int kMaxSurfaceSide = 32767;

// Device pixels per pixel along each side of the surfaces made now: the
// desktop's scale rounded to a whole number (at least 1, and 1 without a GUI),
// so that a pixel of a drawing is a block of whole device pixels and lines,
// curves and text are drawn at the screen's own resolution.
int DeviceRatio();

// A raster image that canvases draw into: a control's client area or an
// off-screen bitmap. Pixels are opaque 0x00BBGGRR colours. The pixels are
// allocated when something first draws or reads the image, so a large
// control that is never shown costs nothing. Sizes and coordinates are
// pixels; the image holds Ratio() x Ratio() device pixels for each of them.
class TSurface {
 public:
  TSurface(int width = 0, int height = 0);
  ~TSurface();
  TSurface(const TSurface&) = delete;
  TSurface& operator=(const TSurface&) = delete;

  int Width() const;
  int Height() const;
  // DeviceRatio() when made, or the ratio of an image assigned through Image().
  int Ratio() const;
  // A new size starts white; the old contents are kept where they overlap.
  // Each side is clamped to [0, kMaxSurfaceSide].
  void SetSize(int width, int height);
  // Whether the pixels exist yet.
  bool Allocated() const { return image_ != nullptr; }
  // Takes source's pixels without copying them, when both have the same
  // size and ratio (false otherwise, nothing done). The first write to
  // either surface copies them then, so each keeps its own picture.
  bool ShareFrom(const TSurface& source);
  // Whether another surface holds these pixels too.
  bool SharesPixels() const;
  // Copies the pixels of each rectangle (as far as it lies on the surface)
  // from source, of the same size and ratio; false otherwise, nothing done.
  bool CopyPartsFrom(const TSurface& source, std::span<const TRect> parts);
  // Changes whenever the pixels may have: equal keys, equal pixels.
  long long PixelsKey() const;

  // clNone outside the surface; the first device pixel of the pixel.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor rgb);
  void Fill(TColor rgb);
  // Every pixel black or white by its luminance (BT.601 weights), white from
  // half brightness up: what a monochrome bitmap keeps of a picture.
  void ReduceToBlackAndWhite();

  // Framework-internal access for painters and the screen copy; allocates.
  QImage& Image();
  const QImage& Image() const;

 private:
  int width_ = 0;
  int height_ = 0;
  int ratio_;
  mutable std::unique_ptr<QImage> image_;
};

}  // namespace nitko
