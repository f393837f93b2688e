#include "framework/bitmap.h"

#include <QImage>
#include <algorithm>

namespace nitko {

void TBitmap::SetSize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  // A surface with a side of 0 holds no pixels at all.
  const bool empty = width_ == 0 || height_ == 0;
  surface_.SetSize(empty ? 0 : width_, empty ? 0 : height_);
}

void TBitmap::Assign(const TBitmap& other) {
  if (&other == this) return;
  width_ = other.Width();
  height_ = other.Height();
  surface_.Image() = other.surface_.Image().copy();
  transparent_ = other.transparent_;
  transparentColor_ = other.transparentColor_;
}

TColor TBitmap::TransparentColor() const {
  if (transparentColor_ != clDefault) return transparentColor_;
  return Empty() ? clNone : surface_.Pixel(0, Height() - 1);
}

}  // namespace nitko
