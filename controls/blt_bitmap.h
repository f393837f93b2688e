#pragma once

#include "framework/bitmap.h"

namespace nitko {

// An off-screen layer that takes another bitmap's size.
class TBltBitmap : public TBitmap {
 public:
  // Takes the template's size and fills the whole bitmap with clWindowFrame.
  void SizeLike(const TBitmap& templ);
};

}  // namespace nitko
