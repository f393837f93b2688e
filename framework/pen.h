#pragma once

#include "framework/colors.h"
#include "framework/graphics_object.h"

namespace nitko {

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TPenMode { pmCopy, pmXor, pmNotXor, pmNot, pmBlack, pmWhite };

class TPen : public TGraphicsObject {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor value) { Change(color_, value); }
  int Width() const { return width_; }
  void SetWidth(int value) { Change(width_, value < 0 ? 0 : value); }
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value) { Change(style_, value); }
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode value) { Change(mode_, value); }
  void Assign(const TPen& other);

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = TPenStyle::psSolid;
  TPenMode mode_ = TPenMode::pmCopy;
};

inline void TPen::Assign(const TPen& other) {
  if (color_ == other.color_ && width_ == other.width_ && style_ == other.style_ &&
      mode_ == other.mode_)
    return;
  color_ = other.color_;
  width_ = other.width_;
  style_ = other.style_;
  mode_ = other.mode_;
  Changed();
}

}  // namespace nitko
