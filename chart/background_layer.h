#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/canvas_record.h"
#include "framework/types.h"

namespace nitko {

class TSurface;

// What a frame draws before its series (panel, titles, walls, axes) stays
// the same from frame to frame while the axes, the size and the properties
// do. Once two frames in a row have drawn the same, the layer keeps that
// picture; later frames go through the drawing without touching a pixel
// and, when it asks for exactly what was kept, start from the picture.
// A surface that got the picture and has not changed since the frame drawn
// on it ended needs back only the pixels that frame's series changed.
class TBackgroundLayer {
 public:
  // Runs draw onto target, which must be a whole surface without a clip.
  // draw must do the same given the same state, and may run twice.
  void Draw(TCanvas& target, const std::function<void()>& draw);
  // The end of the frame that Draw began on target.
  void FrameDone(TCanvas& target);
  void Forget();
  // Frames that started from the kept picture.
  long long Reused() const { return reused_; }
  // Of those, frames that took back only the parts the last one changed.
  long long ReusedInParts() const { return reused_in_parts_; }

 private:
  // A surface that holds the picture with the changes listed over it, as
  // long as its pixels' key is still the one noted when its frame ended.
  struct Changed {
    const TSurface* surface = nullptr;
    long long key = 0;  // 0 while its frame is drawn
    std::vector<TRect> parts;
  };
  void Restore(TCanvas& target);
  void TrackOn(TCanvas& target);

  // Made anew for each picture kept: a fresh bitmap takes the shared pixels
  // without filling pixels of its own first.
  std::unique_ptr<TBitmap> picture_ = std::make_unique<TBitmap>();
  TCanvas start_;       // the pen, brush and font a frame's background began with
  TCanvasRecord kept_;  // what the picture holds
  TCanvasRecord last_;  // what the frame before drew
  bool keeping_ = false;
  std::array<Changed, 2> changed_;  // the chart draws into two buffers by turns
  size_t last_slot_ = 1;
  Changed* tracking_ = nullptr;
  long long reused_ = 0;
  long long reused_in_parts_ = 0;
};

}  // namespace nitko
