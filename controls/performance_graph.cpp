#include "controls/performance_graph.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/surface.h"
#include "runtime/exception.h"
#include "runtime/extended.h"

namespace nitko {

namespace {

// Heights far beyond any surface are clipped anyway; holding them to this
// keeps the coordinate arithmetic inside int.
constexpr Extended kHeightLimit = 1 << 24;

int TruncHeight(Extended v) {
  return static_cast<int>(std::clamp(v, -kHeightLimit, kHeightLimit));
}

int Saturate(long long v) {
  return static_cast<int>(
      std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

TPerformanceGraph::TPerformanceGraph(TComponent* owner)
    : TGraphicControl(owner), bitmap_(std::make_unique<TBitmap>()) {
  SetBounds(Left(), Top(), 100, 100);
  Canvas().Pen().SetWidth(pen_width_);
  slot_count_ = GetBandCount() + 2;
  history_.assign(static_cast<size_t>(slot_count_), HistorySlot{});
  first_ = 1;
  current_ = 0;
  grid_offset_ = 0;
  Initialize(grid_size_ - 1);
}

TPerformanceGraph::~TPerformanceGraph() = default;

int TPerformanceGraph::GetBandCount() const {
  return Width() / step_size_;
}

int TPerformanceGraph::RoundUp(int value, int gradient) {
  // In 64 bits: INT_MIN % -1 and the step past INT_MAX stay defined.
  const long long v = value, g = gradient;
  if (g == 0 || v % g == 0) return value;
  return Saturate((v / g + 1) * g);
}

// ---- the ring

int TPerformanceGraph::NextY(int i) const {
  int next = i + 1;
  if (next >= slot_count_) next = 0;
  return next == first_ ? -1 : next;
}

int TPerformanceGraph::LastY(int i) const {
  return i <= 0 ? slot_count_ - 1 : i - 1;
}

void TPerformanceGraph::ShiftY() {
  current_ = current_ + 1 >= slot_count_ ? 0 : current_ + 1;
  history_[static_cast<size_t>(current_)].Count = 0;
  first_ = current_ + 1 >= slot_count_ ? 0 : current_ + 1;
}

void TPerformanceGraph::DataPoint(TColor color, int value) {
  HistorySlot& slot = history_[static_cast<size_t>(current_)];
  if (slot.Count >= MaxPointsPerStep) throw ERangeError(SPerformanceGraphFull);
  slot.Colours[slot.Count] = color;
  slot.Values[slot.Count] = value;
  ++slot.Count;
}

int TPerformanceGraph::MaxInRing() const {
  int max = 0;
  for (const HistorySlot& slot : history_)
    for (int i = 0; i < slot.Count; ++i) max = std::max(max, slot.Values[i]);
  return max;
}

void TPerformanceGraph::Update() {
  ScrollGraph();
  ShiftY();
  const int newScale = RoundUp(MaxInRing(), gradient_);
  if (newScale == scale_) {
    DisplayPoints(LastY(current_));
    Repaint();
  } else {
    SetScale(newScale);
  }
}

void TPerformanceGraph::ReallocHistory() {
  const int newCount = GetBandCount() + 2;
  std::vector<HistorySlot> ring(static_cast<size_t>(newCount));
  int i = first_;
  for (int drop = slot_count_ - newCount; drop > 0; --drop) i = NextY(i);
  // Oldest first into slots 0, 1, ...; a larger ring's empty slots follow
  // the newest, so a redraw shows empty bands right of it until the next
  // steps fill them.
  int n = 0;
  for (; i != -1; i = NextY(i)) ring[static_cast<size_t>(n++)] = history_[static_cast<size_t>(i)];
  history_ = std::move(ring);
  slot_count_ = newCount;
  current_ = n - 1;
  first_ = 0;
}

// ---- drawing

void TPerformanceGraph::SetBandRects() {
  scroll_source_ = Rect(step_size_, 0, full_rect_.Right, full_rect_.Bottom);
  scroll_dest_ = Rect(0, 0, full_rect_.Right - step_size_, full_rect_.Bottom);
  new_band_ = Rect(full_rect_.Right - step_size_, 0, full_rect_.Right, full_rect_.Bottom);
}

void TPerformanceGraph::Initialize(int xStart) {
  bitmap_->SetSize(Width(), Height());
  full_rect_ = Rect(0, 0, bitmap_->Width(), bitmap_->Height());
  TCanvas& c = bitmap_->Canvas();
  c.Brush().SetColor(back_color_);
  c.FillRect(full_rect_);
  if (gridlines_) {
    c.Pen().SetColor(fore_color_);
    for (int y = grid_size_; y < full_rect_.Bottom; y += grid_size_) {
      c.MoveTo(0, y);
      c.LineTo(full_rect_.Right, y);
    }
    int x = xStart;
    for (; x < full_rect_.Right; x += grid_size_) {
      c.MoveTo(x, 0);
      c.LineTo(x, full_rect_.Bottom);
    }
    grid_offset_ = x - full_rect_.Right;
  }
  SetBandRects();
}

void TPerformanceGraph::DrawBandGrid() {
  TCanvas& c = bitmap_->Canvas();
  c.Pen().SetColor(fore_color_);
  for (int y = grid_size_; y < new_band_.Bottom; y += grid_size_) {
    c.MoveTo(new_band_.Left, y);
    c.LineTo(new_band_.Right, y);
  }
  grid_offset_ -= step_size_;
  // A step wider than the grid can pass more than one vertical line.
  while (grid_offset_ < 0) {
    const int x = full_rect_.Right + grid_offset_;
    c.MoveTo(x, full_rect_.Top);
    c.LineTo(x, full_rect_.Bottom);
    grid_offset_ += grid_size_;
  }
}

void TPerformanceGraph::ScrollGraph() {
  TCanvas& c = bitmap_->Canvas();
  c.SetCopyMode(TCopyMode::cmSrcCopy);
  c.CopyRect(scroll_dest_, c, scroll_source_);
  c.Brush().SetColor(back_color_);
  c.FillRect(new_band_);
  if (gridlines_) DrawBandGrid();
}

void TPerformanceGraph::DisplayPoints(int slot) {
  if (scale_ <= 0) return;
  const HistorySlot& s = history_[static_cast<size_t>(slot)];
  if (s.Count == 0) return;
  const HistorySlot& before = history_[static_cast<size_t>(LastY(slot))];
  TCanvas& c = bitmap_->Canvas();
  // A line reaches into the column after its band; in a redraw that column
  // belongs to the next band, which the scroll never lets it touch.
  c.SetClipRect(new_band_);
  int prev = 0;
  for (int i = 0; i < s.Count; ++i) {
    const int v = s.Values[i];
    if (v <= 0) continue;
    const TColor color = s.Colours[i];
    if (kind_ == TGraphKind::pgBar) {
      PaintBar(color, prev, Saturate(static_cast<long long>(v) - prev));
    } else {
      int old = 0;
      for (int j = 0; j < before.Count; ++j)
        if (before.Colours[j] == color) {
          old = std::max(before.Values[j], 0);
          break;
        }
      PaintLine(color, old, v);
    }
    prev = v;
  }
  c.ClearClip();
}

void TPerformanceGraph::PaintBar(TColor color, int y1, int y2) {
  if (y2 == 0 || scale_ <= 0) return;
  const Extended h = static_cast<Extended>(full_rect_.Bottom) - full_rect_.Top;
  const int a = TruncHeight(static_cast<Extended>(y2) / scale_ * h);
  const int b = TruncHeight(static_cast<Extended>(y1) / scale_ * h);
  if (a == 0) return;
  TCanvas& c = bitmap_->Canvas();
  c.Brush().SetColor(color);
  c.FillRect(
      Rect(new_band_.Left, full_rect_.Bottom - b - a - 1, new_band_.Right, full_rect_.Bottom - b));
}

void TPerformanceGraph::PaintLine(TColor color, int y1, int y2) {
  if (scale_ <= 0) return;
  const Extended h = static_cast<Extended>(full_rect_.Bottom) - full_rect_.Top;
  // The quotients as doubles: 30 of 100 at height 100 is 29.
  const double q2 = static_cast<double>(y2) / scale_;
  const double q1 = static_cast<double>(y1) / scale_;
  const int a = TruncHeight(h * q2);
  const int b = TruncHeight(h * q1);
  TCanvas& c = bitmap_->Canvas();
  c.Pen().SetColor(color);
  c.MoveTo(new_band_.Left, full_rect_.Bottom - b);
  c.LineTo(new_band_.Right, full_rect_.Bottom - a);
}

void TPerformanceGraph::Replay() {
  // A redraw sizes the bitmap to the control, so a later Paint could no
  // longer tell that the width changed: the ring follows it here.
  if (slot_count_ != GetBandCount() + 2) ReallocHistory();
  // Keeps the vertical grid lines where they were.
  Initialize((Width() + grid_offset_) % grid_size_);
  const TRect band = new_band_;
  int x = Width() - GetBandCount() * step_size_;
  for (int slot = NextY(first_); slot != -1; slot = NextY(slot)) {
    new_band_.Left = x;
    new_band_.Right = x + step_size_;
    DisplayPoints(slot);
    x += step_size_;
  }
  new_band_ = band;
  if (!painting_) Repaint();
}

void TPerformanceGraph::Paint() {
  if (bitmap_->Width() != Width() || bitmap_->Height() != Height()) {
    struct Painting {
      bool& flag;
      ~Painting() { flag = false; }
    } painting{painting_ = true};
    Replay();
  }
  Canvas().SetCopyMode(TCopyMode::cmSrcCopy);
  Canvas().Draw(0, 0, *bitmap_);
}

// ---- properties

void TPerformanceGraph::SetGraphKind(TGraphKind value) {
  if (value == kind_) return;
  kind_ = value;
  Replay();
}

void TPerformanceGraph::SetForeColor(TColor value) {
  if (value == fore_color_) return;
  fore_color_ = value;
  Replay();
}

void TPerformanceGraph::SetBackColor(TColor value) {
  if (value == back_color_) return;
  back_color_ = value;
  Replay();
}

void TPerformanceGraph::SetGridSize(int value) {
  if (value == grid_size_) return;
  // Held to a surface's side: a grid or step wider than any graph shows
  // nothing more, and a band's far edge stays within int.
  grid_size_ = std::clamp(value, 2, kMaxSurfaceSide);
  Replay();
}

void TPerformanceGraph::SetStepSize(int value) {
  if (value == step_size_) return;
  step_size_ = std::clamp(value, 1, kMaxSurfaceSide);
  Replay();
}

void TPerformanceGraph::SetGradient(int value) {
  if (value == gradient_) return;
  gradient_ = value;
  Replay();
}

void TPerformanceGraph::SetGridlines(bool value) {
  if (value == gridlines_) return;
  gridlines_ = value;
  Replay();
}

void TPerformanceGraph::SetPenWidth(int value) {
  if (value == pen_width_) return;
  pen_width_ = value;
  Canvas().Pen().SetWidth(value);
  Replay();
}

void TPerformanceGraph::SetScale(int value) {
  if (value == scale_) return;
  scale_ = RoundUp(value, gradient_);
  if (OnScaleChange) {
    const auto alive = Lifetime();
    OnScaleChange(this);
    if (alive.expired()) return;
  }
  Replay();
}

}  // namespace nitko
