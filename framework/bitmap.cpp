#include "framework/bitmap.h"

#include <QImage>
#include <algorithm>

namespace nitko {

void TBitmap::SetSize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  // A surface with a side of 0 holds no pixels at all.
  surface_.SetSize(Empty() ? 0 : width_, Empty() ? 0 : height_);
}

void TBitmap::Assign(const TBitmap& other) {
  if (&other == this) return;
  width_ = other.width_;
  height_ = other.height_;
  surface_.Image() = other.surface_.Image().copy();
  transparent_ = other.transparent_;
  transparentColor_ = other.transparentColor_;
}

TColor TBitmap::TransparentColor() const {
  if (transparentColor_ != clDefault) return transparentColor_;
  return Empty() ? clNone : surface_.Pixel(0, height_ - 1);
}

}  // namespace nitko
