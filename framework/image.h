#pragma once

#include <memory>

#include "framework/control.h"

namespace nitko {

class TBitmap;

// Shows a picture, at its top-left corner or centred or stretched to fit.
class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;

  TBitmap& Picture() { return *picture_; }
  // Call after drawing into the picture.
  void PictureChanged() { Invalidate(); }
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);

 protected:
  void Paint() override;

 private:
  std::unique_ptr<TBitmap> picture_;
  bool center_ = false;
  bool stretch_ = false;
};

}  // namespace nitko
