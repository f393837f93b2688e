#pragma once

#include <string>

namespace nitko {

// What a canvas was asked to draw, as bytes: each call with its arguments
// and the pen, brush, font, modes and clip it drew with. Two equal records
// drawn over the same picture give the same pixels, so a picture kept from
// one stands for the other.
struct TCanvasRecord {
  std::string calls;
  // A pixel was read: what was drawn may hang on what stood there.
  bool read_pixels = false;

  void Clear() {
    calls.clear();
    read_pixels = false;
  }
  bool SamePictureAs(const TCanvasRecord& other) const {
    return !read_pixels && !other.read_pixels && calls == other.calls;
  }
};

}  // namespace nitko
