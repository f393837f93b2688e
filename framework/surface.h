#pragma once

#include <memory>

#include "framework/colors.h"

class QImage;

namespace nitko {

// A raster image that canvases draw into: a control's client area or an
// off-screen bitmap. Pixels are opaque 0x00BBGGRR colours.
class TSurface {
 public:
  TSurface(int width = 0, int height = 0);
  ~TSurface();
  TSurface(const TSurface&) = delete;
  TSurface& operator=(const TSurface&) = delete;

  int Width() const;
  int Height() const;
  // A new size starts white; the old contents are kept where they overlap.
  void SetSize(int width, int height);

  // clNone outside the surface.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor rgb);
  void Fill(TColor rgb);
  // Every pixel black or white by its luminance (BT.601 weights), white from
  // half brightness up: what a monochrome bitmap keeps of a picture.
  void ReduceToBlackAndWhite();

  // Framework-internal access for painters and the screen copy.
  QImage& Image() { return *image_; }
  const QImage& Image() const { return *image_; }

 private:
  std::unique_ptr<QImage> image_;
};

}  // namespace nitko
