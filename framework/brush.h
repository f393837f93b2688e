#pragma once

#include "framework/colors.h"
#include "framework/graphics_object.h"

namespace nitko {

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
                         bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
 public:
  TColor Color() const { return color_; }
  // A colour given to a clear brush makes it solid.
  void SetColor(TColor value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value) { Change(style_, value); }
  void Assign(const TBrush& other);

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = TBrushStyle::bsSolid;
};

inline void TBrush::SetColor(TColor value) {
  if (color_ == value && style_ != TBrushStyle::bsClear) return;
  color_ = value;
  if (style_ == TBrushStyle::bsClear) style_ = TBrushStyle::bsSolid;
  Changed();
}

inline void TBrush::Assign(const TBrush& other) {
  if (color_ == other.color_ && style_ == other.style_) return;
  color_ = other.color_;
  style_ = other.style_;
  Changed();
}

}  // namespace nitko
