#pragma once

#include <functional>

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/canvas_record.h"

namespace nitko {

// What a frame draws before its series (panel, titles, walls, axes) stays
// the same from frame to frame while the axes, the size and the properties
// do. Once two frames in a row have drawn the same, the layer keeps that
// picture; later frames go through the drawing without touching a pixel
// and, when it asks for exactly what was kept, start from the picture.
class TBackgroundLayer {
 public:
  // Runs draw onto target, which must be a whole surface without a clip.
  // draw must do the same given the same state, and may run twice.
  void Draw(TCanvas& target, const std::function<void()>& draw);
  void Forget();
  // Frames that started from the kept picture.
  long long Reused() const { return reused_; }

 private:
  TBitmap picture_;
  TCanvas start_;  // the pen, brush and font a frame's background began with
  TCanvasRecord kept_;  // what the picture holds
  TCanvasRecord last_;  // what the frame before drew
  bool keeping_ = false;
  long long reused_ = 0;
};

}  // namespace nitko
