#include "chart/fast_line_series.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "chart/custom_axis_panel.h"
#include "chart/line_column_collapse.h"
#include "chart/pixel_delta.h"
#include "chart/series_pixels.h"
#include "chart/tee_canvas.h"
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/gui_thread.h"

namespace nitko {

TFastLineSeries::TFastLineSeries(TComponent* owner) : TChartSeries(owner) {
  line_pen_.OnChange = [this] { RepaintOwner(); };
}

void TFastLineSeries::SetLinePen(const TChartPen& pen) {
  line_pen_.Assign(pen);
  SetSeriesColor(pen.Color());
}

void TFastLineSeries::SetSeriesColor(TColor value) {
  TChartSeries::SetSeriesColor(value);
  line_pen_.SetColor(value);
}

void TFastLineSeries::PrepareCanvas(TCanvas3D& canvas) const {
  canvas.ApplyChartPen(line_pen_);
  // A printer draws its thinnest line for width 0.
  if (ParentChart()->Printing() && line_pen_.Visible() &&
      (line_pen_.Style() != TPenStyle::psSolid || line_pen_.Width() != 1))
    canvas.Pen().SetWidth(0);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
}

bool TFastLineSeries::CanCollapse(const TCanvas3D& canvas) const {
  if (ParentChart()->View3D()) return false;
  const TPen& pen = canvas.Pen();
  if (pen.Style() == TPenStyle::psClear) return true;
  // Dashes and small dots follow the path's length, wide pens have round
  // joins, other modes combine overlapping pixels: those draw every point.
  return pen.Style() == TPenStyle::psSolid && pen.Width() <= 1 && pen.Mode() == TPenMode::pmCopy &&
         !(line_pen_.SmallDots() && line_pen_.Width() == 1);
}

void TFastLineSeries::DrawAllPoints() {
  TCanvas3D* canvas = ChartCanvas();
  if (canvas == nullptr || first_visible_ < 0) return;
  PrepareCanvas(*canvas);
  if (!CanCollapse(*canvas)) {
    TChartSeries::DrawAllPoints();
    return;
  }
  DrawPoint(first_visible_);
  const TSeriesPixels pixels(*this);
  TLineColumnCollapse line(*canvas);
  line.Start(old_x_, old_y_);
  const int from = first_visible_ + 1;
  if (pixels.Crowded(from, last_visible_)) {
    // A column the line leaves again paints every row between its lowest
    // and highest point whatever their order, so those two, its first and
    // its last point stand for all; the last column keeps every point, for
    // the line's unpainted last pixel.
    for (int i = from; i <= last_visible_;) {
      const int end = pixels.ColumnEnd(i, last_visible_);
      int low = 0, high = 0;
      if (end < last_visible_ && end - i > 2 && pixels.RowSpan(i, end, low, high)) {
        const int x = pixels.XAlone(i);
        line.LineTo(x, pixels.YAlone(i));
        line.LineTo(x, low);
        line.LineTo(x, high);
        line.LineTo(x, pixels.YAlone(end));
      } else {
        for (int k = i; k <= end; ++k) line.LineTo(pixels.X(k), pixels.Y(k));
      }
      i = end + 1;
    }
  } else {
    std::array<int, TSeriesPixels::kStretch> xs, ys;
    for (int start = from; start <= last_visible_; start += TSeriesPixels::kStretch) {
      const int end = std::min(last_visible_, start + TSeriesPixels::kStretch - 1);
      pixels.Stretch(start, end, xs.data(), ys.data());
      for (int k = 0; k <= end - start; ++k) line.LineTo(xs[size_t(k)], ys[size_t(k)]);
    }
  }
  line.Finish();
  if (last_visible_ > first_visible_) {
    old_x_ = pixels.X(last_visible_);
    old_y_ = pixels.Y(last_visible_);
  }
}

void TFastLineSeries::DrawPoint(int index) {
  TCanvas3D* canvas = ChartCanvas();
  if (canvas == nullptr) return;
  const int x = PixelX(index);
  const int y = PixelY(index);
  const bool depth = ParentChart()->View3D();
  const int z = MiddleZ();
  if (index == first_visible_) {
    if (index == 0) {
      depth ? canvas->PenMoveToZ(x, y, z) : canvas->PenMoveTo(x, y);
    } else {
      const int px = PixelX(index - 1);
      const int py = PixelY(index - 1);
      depth ? canvas->StrokeLineZ(px, py, x, y, z) : canvas->StrokeLine(px, py, x, y);
    }
  } else if (x != old_x_ || y != old_y_) {
    depth ? canvas->PenLineToZ(x, y, z) : canvas->PenLineTo(x, y);
  }
  old_x_ = x;
  old_y_ = y;
}

void TFastLineSeries::PointAdded(int index) {
  if (auto_repaint_) {
    TChartSeries::PointAdded(index);
    return;
  }
  // Surfaces belong to the GUI thread; elsewhere the point waits for the
  // next repaint.
  if (ParentChart() == nullptr || !IsGuiThread()) return;
  DrawAddedSegment(index);
}

void TFastLineSeries::DrawAddedSegment(int index) {
  TCustomAxisPanel& chart = *ParentChart();
  TTeeCanvas3D& canvas = chart.Canvas();
  const int from = std::max(index - 1, 0);
  const int x0 = PixelX(from), y0 = PixelY(from);
  const int x1 = PixelX(index), y1 = PixelY(index);
  const bool depth = chart.View3D();
  const int z = MiddleZ();
  auto draw = [&] {
    canvas.ApplyChartPen(line_pen_);
    if (chart.ClipPoints()) canvas.SetClipRect(chart.PlotRect());
    if (depth) {
      canvas.PenMoveToZ(x0, y0, z);
      if (x1 != x0 || y1 != y0) canvas.PenLineToZ(x1, y1, z);
    } else {
      canvas.PenMoveTo(x0, y0);
      if (x1 != x0 || y1 != y0) canvas.PenLineTo(x1, y1);
    }
    if (chart.ClipPoints()) canvas.ClearClip();
  };
  draw();
  // The cached frame gets the segment too, or the next copy of it would
  // take the segment away again.
  TCanvas* shown = canvas.Surface();
  TBitmap* buffer = canvas.Buffer();
  if (buffer != nullptr && !buffer->Empty() && &buffer->Canvas() != shown) {
    canvas.AttachSurface(&buffer->Canvas());
    draw();
    canvas.AttachSurface(shown);
  }
  chart.Invalidate();
}

void TFastLineSeries::DrawLegendShape(TColor, const TRect& rect) {
  TCanvas3D* canvas = ChartCanvas();
  if (canvas == nullptr) return;
  PrepareCanvas(*canvas);
  const int mid = static_cast<int>(std::floor((rect.Top + rect.Bottom) / 2.0));
  canvas->HorizontalLine(rect.Left, rect.Right, mid);
}

namespace {

// Whether p lies on the segment a-b: inside its box, near its line.
bool OnSegment(int px, int py, int ax, int ay, int bx, int by) {
  if (px < std::min(ax, bx) || px > std::max(ax, bx) || py < std::min(ay, by) ||
      py > std::max(ay, by))
    return false;
  const long long dx = PixelDelta(bx, ax), dy = PixelDelta(by, ay);
  // Two differences of up to 2^32 multiply past 64 bits; a double keeps
  // small products exact and large ones far finer than the reach.
  const double cross = static_cast<double>(PixelDelta(px, ax)) * static_cast<double>(dy) -
                       static_cast<double>(PixelDelta(py, ay)) * static_cast<double>(dx);
  const long long reach = std::max(std::llabs(dx), std::llabs(dy));
  return std::fabs(cross) < static_cast<double>(reach);
}

}  // namespace

int TFastLineSeries::PointUnder(int x, int y) const {
  if (first_visible_ < 0 || last_visible_ < 0) return -1;
  if (ParentChart() != nullptr && ParentChart()->View3D())
    ParentChart()->Canvas().UnprojectPoint(x, y, MiddleZ());
  int ax = 0, ay = 0;
  for (int i = first_visible_; i <= last_visible_; ++i) {
    const int bx = PixelX(i);
    const int by = PixelY(i);
    if (bx == x && by == y) return i;
    if (i > first_visible_ && OnSegment(x, y, ax, ay, bx, by)) return i - 1;
    ax = bx;
    ay = by;
  }
  return -1;
}

}  // namespace nitko
