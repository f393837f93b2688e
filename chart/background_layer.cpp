#include "chart/background_layer.h"

#include <algorithm>

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

// More than this share of a surface in parts costs more than one whole copy.
constexpr long long kMostPartsPercent = 40;

long long AreaOf(const TRect& r) {
  return static_cast<long long>(std::max(0, r.Width())) * std::max(0, r.Height());
}

// Joins neighbouring parts into their common box while it stays at most
// twice as large as they are: the rows copied get fewer and longer. What
// the box adds was not drawn on, so it holds the background already.
void JoinNeighbours(std::vector<TRect>& parts) {
  size_t boxes = 0;
  long long joined = 0;  // the area of the parts in the last box
  for (const TRect r : parts) {
    const long long area = AreaOf(r);
    if (area == 0) continue;
    if (boxes > 0) {
      TRect& box = parts[boxes - 1];
      const TRect both{std::min(box.Left, r.Left), std::min(box.Top, r.Top),
                       std::max(box.Right, r.Right), std::max(box.Bottom, r.Bottom)};
      if (AreaOf(both) <= 2 * (joined + area)) {
        box = both;
        joined += area;
        continue;
      }
    }
    parts[boxes++] = r;
    joined = area;
  }
  parts.resize(boxes);
}

}  // namespace

void TBackgroundLayer::Draw(TCanvas& target, const std::function<void()>& draw) {
  target.TrackChanges(nullptr);
  tracking_ = nullptr;
  TSurface* surface = target.Surface();
  TCanvasRecord now;
  if (keeping_ && surface != nullptr) {
    // Drawn for real after all, the background starts where this did.
    start_.AssignState(target);
    RecordWhile(target, now, false, draw);
    if (now.SamePictureAs(kept_)) {
      Restore(target);
      ++reused_;
      TrackOn(target);
      return;
    }
    Forget();
    now.Clear();
    target.AssignState(start_);
  }
  RecordWhile(target, now, true, draw);
  if (surface != nullptr && now.SamePictureAs(last_)) {
    picture_->SetSize(surface->Width(), surface->Height());
    keeping_ = picture_->Surface().ShareFrom(*surface);
    if (keeping_) {
      kept_ = now;
      TrackOn(target);
    }
  }
  last_ = std::move(now);
}

void TBackgroundLayer::Restore(TCanvas& target) {
  TSurface& surface = *target.Surface();
  for (Changed& c : changed_) {
    if (c.surface != &surface || c.key == 0 || c.key != surface.PixelsKey()) continue;
    long long area = 0;
    for (const TRect& r : c.parts) area += AreaOf(r);
    const long long whole = static_cast<long long>(surface.Width()) * surface.Height();
    if (area * 100 > whole * kMostPartsPercent) continue;
    JoinNeighbours(c.parts);
    if (surface.CopyPartsFrom(picture_->Surface(), c.parts)) {
      ++reused_in_parts_;
      return;
    }
  }
  const TRect whole{0, 0, surface.Width(), surface.Height()};
  const TCopyMode mode = target.CopyMode();
  target.SetCopyMode(TCopyMode::cmSrcCopy);
  target.CopyRect(whole, picture_->Canvas(), whole);
  target.SetCopyMode(mode);
}

void TBackgroundLayer::TrackOn(TCanvas& target) {
  // The surface's own slot, else the one not used last: the chart draws
  // into its two buffers by turns.
  size_t slot = 1 - last_slot_;
  for (size_t i = 0; i < changed_.size(); ++i)
    if (changed_[i].surface == target.Surface()) slot = i;
  last_slot_ = slot;
  Changed& c = changed_[slot];
  c.surface = target.Surface();
  c.key = 0;
  c.parts.clear();
  tracking_ = &c;
  target.TrackChanges(&c.parts);
}

void TBackgroundLayer::FrameDone(TCanvas& target) {
  target.TrackChanges(nullptr);
  if (tracking_ == nullptr || tracking_->surface != target.Surface()) return;
  tracking_->key = target.Surface()->PixelsKey();
  tracking_ = nullptr;
}

void TBackgroundLayer::Forget() {
  keeping_ = false;
  kept_.Clear();
  picture_ = std::make_unique<TBitmap>();
  for (Changed& c : changed_) c = Changed{};
  tracking_ = nullptr;
}

}  // namespace nitko
