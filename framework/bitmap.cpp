#include "framework/bitmap.h"

#include <QImage>
#include <algorithm>
#include <limits>

#include "runtime/embedded_resource.h"

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

bool TBitmap::LoadFromResourceName(std::string_view name) {
  const std::string file = std::string(name) + ".bmp";
  for (const EmbeddedResource& r : EmbeddedResources())
    if (file == r.name) return LoadFromBytes({r.data, static_cast<size_t>(r.size)});
  SetSize(0, 0);
  return false;
}

bool TBitmap::LoadFromBytes(std::span<const uint8_t> bmp) {
  QImage image;
  if (bmp.size() > static_cast<size_t>(std::numeric_limits<int>::max()) ||
      !image.loadFromData(bmp.data(), static_cast<int>(bmp.size()), "BMP")) {
    SetSize(0, 0);
    return false;
  }
  SetSize(image.width(), image.height());
  surface_.Image() = image.convertToFormat(QImage::Format_RGB32);
  return true;
}

}  // namespace nitko
