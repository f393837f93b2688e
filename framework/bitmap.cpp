#include "framework/bitmap.h"

#include <QImage>
#include <algorithm>
#include <limits>

#include "framework/bmp_decoder.h"
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
  QImage copy = other.surface_.Image().copy();
  copy.setDevicePixelRatio(other.surface_.Ratio());
  surface_.Image() = std::move(copy);
  transparent_ = other.transparent_;
  transparentColor_ = other.transparentColor_;
}

TColor TBitmap::TransparentColor() const {
  if (transparentColor_ != clDefault) return transparentColor_;
  return Empty() ? clNone : surface_.Pixel(0, Height() - 1);
}

namespace {

const EmbeddedResource* FindBmp(const std::string& file) {
  for (const EmbeddedResource& r : EmbeddedResources())
    if (file == r.name) return &r;
  return nullptr;
}

}  // namespace

bool TBitmap::LoadFromResourceName(std::string_view name) {
  // A picture drawn for twice the pixels, where there is one, on a screen
  // that has them.
  if (DeviceRatio() >= 2)
    if (const EmbeddedResource* r = FindBmp(std::string(name) + "@2x.bmp"))
      return LoadFromBytes({r->data, static_cast<size_t>(r->size)}, 2);
  if (const EmbeddedResource* r = FindBmp(std::string(name) + ".bmp"))
    return LoadFromBytes({r->data, static_cast<size_t>(r->size)});
  SetSize(0, 0);
  return false;
}

bool TBitmap::LoadFromBytes(std::span<const uint8_t> bmp, int ratio) {
  QImage image;
  const bool read = DecodePlainBmp(bmp, image) ||
                    (bmp.size() <= static_cast<size_t>(std::numeric_limits<int>::max()) &&
                     image.loadFromData(bmp.data(), static_cast<int>(bmp.size()), "BMP"));
  if (!read) {
    SetSize(0, 0);
    return false;
  }
  SetSize(image.width() / ratio, image.height() / ratio);
  QImage pixels = image.convertToFormat(QImage::Format_RGB32);
  pixels.setDevicePixelRatio(ratio);
  surface_.Image() = std::move(pixels);
  return true;
}

}  // namespace nitko
