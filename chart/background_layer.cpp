#include "chart/background_layer.h"

#include "framework/canvas.h"
#include "framework/surface.h"

namespace nitko {

namespace {

void RecordWhile(TCanvas& canvas, TCanvasRecord& record, bool drawing,
                 const std::function<void()>& draw) {
  canvas.BeginRecord(&record, drawing);
  try {
    draw();
  } catch (...) {
    canvas.EndRecord();
    throw;
  }
  canvas.EndRecord();
}

}  // namespace

void TBackgroundLayer::Draw(TCanvas& target, const std::function<void()>& draw) {
  TSurface* surface = target.Surface();
  TCanvasRecord now;
  if (keeping_ && surface != nullptr) {
    // Drawn for real after all, the background starts where this did.
    start_.AssignState(target);
    RecordWhile(target, now, false, draw);
    if (now.SamePictureAs(kept_)) {
      const TRect whole{0, 0, surface->Width(), surface->Height()};
      const TCopyMode mode = target.CopyMode();
      target.SetCopyMode(TCopyMode::cmSrcCopy);
      target.CopyRect(whole, picture_.Canvas(), whole);
      target.SetCopyMode(mode);
      ++reused_;
      return;
    }
    Forget();
    now.Clear();
    target.AssignState(start_);
  }
  RecordWhile(target, now, true, draw);
  if (surface != nullptr && now.SamePictureAs(last_)) {
    picture_.SetSize(surface->Width(), surface->Height());
    keeping_ = picture_.Surface().ShareFrom(*surface);
    if (keeping_) kept_ = now;
  }
  last_ = std::move(now);
}

void TBackgroundLayer::Forget() {
  keeping_ = false;
  kept_.Clear();
  picture_.SetSize(0, 0);
}

}  // namespace nitko
