#include "framework/image.h"

#include "framework/bitmap.h"
#include "framework/canvas.h"

namespace nitko {

TImage::TImage(TComponent* owner)
    : TGraphicControl(owner), picture_(std::make_unique<TBitmap>()) {
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

void TImage::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  Invalidate();
}

void TImage::SetStretch(bool value) {
  if (value == stretch_) return;
  stretch_ = value;
  Invalidate();
}

void TImage::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  if (picture_->Empty()) return;
  if (stretch_) {
    canvas.StretchDraw(ClientRect(), *picture_);
    return;
  }
  int x = 0, y = 0;
  if (center_) {
    x = (ClientWidth() - picture_->Width()) / 2;
    y = (ClientHeight() - picture_->Height()) / 2;
  }
  canvas.Draw(x, y, *picture_);
}

}  // namespace nitko
