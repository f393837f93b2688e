#include "chart/custom_series.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <iterator>
#include <typeinfo>
#include <vector>

#include "chart/custom_axis_panel.h"
#include "chart/marker_cover.h"
#include "chart/pixel_delta.h"
#include "chart/series_pixels.h"
#include "chart/tee_canvas.h"
#include "framework/canvas.h"
#include "framework/set_if_changed.h"

namespace nitko {

namespace {

// Pixels beyond this are left without a marker: the drawing calls take
// 16-bit coordinates on some platforms.
constexpr int kDrawableLimit = 32766;

}  // namespace

TCustomSeries::TCustomSeries(TComponent* owner)
    : TChartSeries(owner), pointer_(std::make_unique<TSeriesPointer>(this)) {
  line_pen_.OnChange = [this] { RepaintOwner(); };
  area_lines_pen_.OnChange = [this] { RepaintOwner(); };
}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::SetAreaColor(TColor value) {
  SetIfChanged(area_color_, value, [this] { RepaintOwner(); });
}

void TCustomSeries::SetLineHeight(int value) {
  SetIfChanged(line_height_, value, [this] { RepaintOwner(); });
}

void TCustomSeries::SetDark3D(bool value) {
  SetIfChanged(dark_3d_, value, [this] { RepaintOwner(); });
}

bool TCustomSeries::DrawableAt(int x, int y) const {
  return x >= -kDrawableLimit && x <= kDrawableLimit && y >= -kDrawableLimit &&
         y <= kDrawableLimit;
}

bool TCustomSeries::ClickedPointer(int, int px, int py, int x, int y) const {
  return std::llabs(PixelDelta(x, px)) < pointer_->HorizSize() &&
         std::llabs(PixelDelta(y, py)) < pointer_->VertSize();
}

void TCustomSeries::DrawPointer(int x, int y, int index, TColor color) {
  TCanvas3D* canvas = ChartCanvas();
  if (canvas == nullptr) return;
  pointer_->PreparePointerCanvas(*canvas, color);
  const TSeriesPointerStyle style =
      OnGetPointerStyle ? OnGetPointerStyle(this, index) : pointer_->Style();
  pointer_->DrawPointerShape(*canvas, ParentChart()->View3D(), x, y, pointer_->HorizSize(),
                             pointer_->VertSize(), color, style);
}

void TCustomSeries::DrawMarkerAt(TCanvas3D& canvas, int index, int x, int y) {
  const TColor color = PointColor(index);
  if (!DrawableAt(x, y)) return;
  canvas.Pen().SetColor(clBlack);
  canvas.Brush().SetColor(color);
  if (pointer_->Visible() && !IsGap(index)) DrawPointer(x, y, index, color);
  old_x_ = x;
  old_y_ = y;
  last_colour_ = color;
}

void TCustomSeries::DrawPoint(int index) {
  if (TCanvas3D* canvas = ChartCanvas()) DrawMarkerAt(*canvas, index, PixelX(index), PixelY(index));
}

void TCustomSeries::DrawAllPoints() {
  TCanvas3D* canvas = ChartCanvas();
  if (canvas == nullptr || first_visible_ < 0) return;
  if (!DrawCulled(*canvas)) TChartSeries::DrawAllPoints();
}

// Each marker paints a fixed set of pixels whatever its colour, and in copy
// mode the last marker to paint a pixel decides it. So a marker whose pixels
// later markers all paint again leaves no trace. Solid rectangles paint
// their whole box and so cover others; for any other shape only a later
// marker on the same pixel is known to paint exactly the same set.
bool TCustomSeries::DrawCulled(TCanvas3D& canvas) {
  if (draw_line_ || draw_area_ || OnGetPointerStyle || !pointer_->Visible() ||
      ParentChart()->View3D() || canvas.Surface() == nullptr)
    return false;
  pointer_->PreparePointerCanvas(canvas, clBlack);
  const TPen& pen = canvas.Pen();
  const bool penClear = pen.Style() == TPenStyle::psClear;
  const TBrushStyle brush = canvas.Brush().Style();
  if (pen.Mode() != TPenMode::pmCopy || (!penClear && pen.Style() != TPenStyle::psSolid) ||
      (brush != TBrushStyle::bsSolid && brush != TBrushStyle::bsClear))
    return false;
  const int h = pointer_->HorizSize();
  const int v = pointer_->VertSize();
  const bool boxes = pointer_->Style() == TSeriesPointerStyle::psRectangle &&
                     brush == TBrushStyle::bsSolid && pen.Width() <= 1;
  // A pen-less rectangle leaves out its right column and bottom row.
  const int reach = penClear ? 0 : 1;
  const TRect clip = canvas.Surface()->ClipRect();
  // Centres farther out than this paint nothing inside the clip. A cover
  // much larger than the clip (huge markers) costs more than culling saves.
  const TRect area = boxes ? clip : InflateRect(clip, h + 2, v + 2);
  const auto pixels_of = [](const TRect& r) {
    return static_cast<long long>(std::max(0, r.Width())) * std::max(0, r.Height());
  };
  if (pixels_of(area) > std::max(4 * pixels_of(clip), 1LL << 20)) return false;
  TMarkerCover cover(area);

  struct Kept {
    int index, x, y;
  };
  std::vector<Kept> kept;
  kept.reserve(std::min<size_t>(static_cast<size_t>(last_visible_ - first_visible_ + 1), 4096));
  const TSeriesPixels pixels(*this);
  // The centre of the marker last met that paints: one on the same pixel
  // paints the same pixels, without asking the cover.
  int later_x = 0, later_y = 0;
  bool later = false;
  const auto walk = [&](int i, int x, int y) {
    if (later && x == later_x && y == later_y) return;
    if (!DrawableAt(x, y) || IsGap(i)) return;
    later = true;
    later_x = x;
    later_y = y;
    // Drawable centres and bounded sizes keep these sums within int.
    const TRect painted =
        boxes ? TRect{x - h, y - v, x + h + reach, y + v + reach} : TRect{x, y, x + 1, y + 1};
    if (cover.Covers(painted)) return;
    cover.Add(painted);
    kept.push_back({i, x, y});
  };
  if (pixels.Crowded(first_visible_, last_visible_)) {
    // Column by column: one x for each run of points.
    for (int end = last_visible_; end >= first_visible_;) {
      const int start = pixels.ColumnStart(end, first_visible_);
      const int x = pixels.XAlone(end);
      for (int i = end; i >= start;) {
        const int y = pixels.YAlone(i);
        walk(i, x, y);
        // Points on the marker just met are skipped, found by their values.
        i = later && later_x == x && later_y == y ? pixels.RowEnd(i, start, y) : i - 1;
      }
      end = start - 1;
    }
  } else {
    std::array<int, TSeriesPixels::kStretch> xs, ys;
    for (int end = last_visible_; end >= first_visible_; end -= TSeriesPixels::kStretch) {
      const int start = std::max(first_visible_, end - TSeriesPixels::kStretch + 1);
      pixels.Stretch(start, end, xs.data(), ys.data());
      // The same-pixel test once more out here spares most points the call.
      for (int k = end - start; k >= 0; --k)
        if (!later || xs[size_t(k)] != later_x || ys[size_t(k)] != later_y)
          walk(start + k, xs[size_t(k)], ys[size_t(k)]);
    }
  }
  auto from = kept.rbegin();
  // Solid boxes on the plain flat canvas go to the surface in one call, in
  // the colours each marker's drawing would set; the last one is drawn as
  // ever, so the canvas ends as it would.
  if (boxes && !kept.empty() && typeid(canvas) == typeid(TTeeCanvas3D)) {
    const auto last = std::prev(kept.rend());
    std::vector<TCanvas::TPaintedRect> batch;
    batch.reserve(kept.size() - 1);
    for (; from != last; ++from) {
      pointer_->PreparePointerCanvas(canvas, PointColor(from->index));
      batch.push_back({pointer_->RectangleBox(from->x, from->y), canvas.Pen().Color(),
                       canvas.Brush().Color()});
    }
    canvas.Surface()->Rectangles(batch);
  }
  for (auto it = from; it != kept.rend(); ++it) DrawMarkerAt(canvas, it->index, it->x, it->y);
  return true;
}

void TCustomSeries::CalcHorizMargins(int& left, int& right) const {
  left = right = 0;
  pointer_->PointerHorizMargins(left, right);
}

void TCustomSeries::CalcVerticalMargins(int& top, int& bottom) const {
  top = bottom = 0;
  pointer_->PointerVerticalMargins(top, bottom);
}

int TCustomSeries::PointHit(int& x, int& y, bool& onMarker) const {
  onMarker = false;
  if (first_visible_ < 0 || last_visible_ < 0) return -1;
  if (ParentChart() != nullptr && ParentChart()->View3D())
    ParentChart()->Canvas().UnprojectPoint(x, y, StartZ());
  for (int i = first_visible_; i <= last_visible_; ++i) {
    const int px = PixelX(i);
    const int py = PixelY(i);
    onMarker = pointer_->Visible() && ClickedPointer(i, px, py, x, y);
    if (onMarker || (px == x && py == y)) return i;
  }
  return -1;
}

int TCustomSeries::PointUnder(int x, int y) const {
  bool onMarker;
  return PointHit(x, y, onMarker);
}

int TCustomSeries::Clicked(int x, int y) {
  bool onMarker;
  const int index = PointHit(x, y, onMarker);
  if (onMarker && OnClickPointer) OnClickPointer(this, index, x, y);
  return index;
}

void TCustomSeries::DrawLegendShape(TColor color, const TRect& rect) {
  if (TCanvas3D* canvas = ChartCanvas())
    pointer_->DrawLegendPointer(*canvas, color, rect, line_pen_.Visible());
}

}  // namespace nitko
