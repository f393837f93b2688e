#include "framework/font.h"

#include "framework/types.h"

namespace nitko {

int TFont::Size() const { return -MulDiv(height_, 72, kScreenPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, kScreenPixelsPerInch, 72)); }

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && color_ == o.color_ && style_ == o.style_ &&
         charset_ == o.charset_ && pitch_ == o.pitch_;
}

void TFont::Assign(const TFont& o) {
  if (SameAs(o)) return;
  name_ = o.name_;
  height_ = o.height_;
  color_ = o.color_;
  style_ = o.style_;
  charset_ = o.charset_;
  pitch_ = o.pitch_;
  Changed();
}

}  // namespace nitko
