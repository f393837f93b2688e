#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "framework/canvas.h"
#include "framework/colors.h"
#include "framework/persistent.h"
#include "framework/surface.h"

namespace nitko {

// An off-screen picture: a surface and a canvas that draws on it. A new
// bitmap is empty (0 x 0); a new size starts white where it grows.
class TBitmap : public TPersistent {
 public:
  TBitmap() = default;
  TBitmap(int width, int height) { SetSize(width, height); }
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // The surface's size; while it has no pixels, the size as set, so that a
  // width survives a height of 0.
  int Width() const { return surface_.Width() > 0 ? surface_.Width() : width_; }
  int Height() const { return surface_.Height() > 0 ? surface_.Height() : height_; }
  void SetWidth(int value) { SetSize(value, Height()); }
  void SetHeight(int value) { SetSize(Width(), value); }
  void SetSize(int width, int height);
  bool Empty() const { return Width() == 0 || Height() == 0; }

  TCanvas& Canvas() { return canvas_; }
  const TCanvas& Canvas() const { return canvas_; }
  TSurface& Surface() { return surface_; }
  const TSurface& Surface() const { return surface_; }

  // Size, pixels and transparency of other; the canvas keeps its own state.
  void Assign(const TBitmap& other);
  // Loads "<name>.bmp" from the embedded resources; a missing or unreadable
  // resource leaves the bitmap empty and returns false.
  // On a screen of two device pixels per pixel or more, "<name>@2x.bmp" is
  // taken instead where it exists, as a picture of half its size.
  bool LoadFromResourceName(std::string_view name);
  // The same from a BMP file's bytes, ratio device pixels to a pixel.
  bool LoadFromBytes(std::span<const uint8_t> bmp, int ratio = 1);

  // When Transparent, TCanvas::Draw leaves out the pixels of
  // TransparentColor: the colour set, or by default (clDefault) the colour of
  // the bottom-left pixel.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { transparent_ = value; }
  TColor TransparentColor() const;
  void SetTransparentColor(TColor value) { transparentColor_ = value; }

 private:
  TSurface surface_;
  TCanvas canvas_{&surface_};
  int width_ = 0;
  int height_ = 0;
  bool transparent_ = false;
  TColor transparentColor_ = clDefault;
};

}  // namespace nitko
