#pragma once

#include <QImage>
#include <cstdint>
#include <span>

namespace nitko {

// Reads the plain kind of BMP our pictures are: a 40-byte info header,
// uncompressed, 1, 4, 8 or 24 bits a pixel, rows from the bottom or the
// top, every palette index inside the palette. Into `out` as RGB32; false
// for anything else, which Qt's reader then takes, at the cost of loading
// every image-format plugin on its first use.
bool DecodePlainBmp(std::span<const uint8_t> bmp, QImage& out);

}  // namespace nitko
