#include "framework/bmp_decoder.h"

#include <cstdlib>

namespace nitko {

namespace {

uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
         uint32_t{b[at + 3]} << 24;
}

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;
constexpr long long kLargestSide = 16384;

}  // namespace

bool DecodePlainBmp(std::span<const uint8_t> b, QImage& out) {
  if (b.size() < kFileHeader + kInfoHeader || b[0] != 'B' || b[1] != 'M' ||
      U32(b, 14) != kInfoHeader)
    return false;
  const long long data_at = U32(b, 10);
  const long long width = static_cast<int32_t>(U32(b, 18));
  const long long raw_height = static_cast<int32_t>(U32(b, 22));
  const uint32_t planes_and_bits = U32(b, 26);
  const unsigned bits = planes_and_bits >> 16;
  const uint32_t compression = U32(b, 30);
  const long long colours_used = U32(b, 46);
  if ((planes_and_bits & 0xFFFF) != 1 || compression != 0 ||
      (bits != 1 && bits != 4 && bits != 8 && bits != 24))
    return false;
  const long long height = std::llabs(raw_height);
  if (width <= 0 || width > kLargestSide || height == 0 || height > kLargestSide) return false;
  const long long palette_size = bits == 24 ? 0 : colours_used == 0 ? 1LL << bits : colours_used;
  if (palette_size > (bits == 24 ? 0 : 1LL << bits)) return false;
  const long long palette_at = static_cast<long long>(kFileHeader + kInfoHeader);
  const long long stride = (width * bits + 31) / 32 * 4;
  if (palette_at + 4 * palette_size > data_at ||
      data_at + stride * height > static_cast<long long>(b.size()))
    return false;

  QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  if (image.isNull()) return false;
  const auto colour = [&](long long index, QRgb& rgb) {
    if (index >= palette_size) return false;
    const size_t at = static_cast<size_t>(palette_at + 4 * index);
    rgb = qRgb(b[at + 2], b[at + 1], b[at]);
    return true;
  };
  for (long long row = 0; row < height; ++row) {
    const uint8_t* src = b.data() + data_at + row * stride;
    const long long y = raw_height > 0 ? height - 1 - row : row;  // bottom up unless negative
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
    for (long long x = 0; x < width; ++x) {
      if (bits == 24) {
        line[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        continue;
      }
      const long long per_byte = 8 / bits;
      const unsigned shift = static_cast<unsigned>((per_byte - 1 - x % per_byte) * bits);
      const long long index = (src[x / per_byte] >> shift) & ((1u << bits) - 1);
      if (!colour(index, line[x])) return false;
    }
  }
  out = std::move(image);
  return true;
}

}  // namespace nitko
