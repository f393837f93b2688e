#include "controls/blt_bitmap.h"

#include "framework/colors.h"

namespace nitko {

void TBltBitmap::SizeLike(const TBitmap& templ) {
  SetWidth(templ.Width());
  SetHeight(templ.Height());
  Canvas().Brush().SetColor(clWindowFrame);
  Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
  Canvas().FillRect(Rect(0, 0, Width(), Height()));
}

}  // namespace nitko
