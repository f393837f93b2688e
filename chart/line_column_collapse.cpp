#include "chart/line_column_collapse.h"

#include <algorithm>

#include "chart/tee_canvas.h"
#include "framework/canvas.h"

namespace nitko {

void TLineColumnCollapse::Start(int x, int y) {
  x_ = x;
  pen_y_ = last_ = low_ = high_ = y;
  low_left_ = high_left_ = false;
}

void TLineColumnCollapse::InColumn(int y) {
  // The segment from last_ to y starts at last_ and so paints it.
  if (last_ == low_) low_left_ = true;
  if (last_ == high_) high_left_ = true;
  if (y < low_) {
    low_ = y;
    low_left_ = false;
  }
  if (y > high_) {
    high_ = y;
    high_left_ = false;
  }
  last_ = y;
}

void TLineColumnCollapse::NextColumn(int x, int y) {
  FlushColumn(false);
  PathTo(x, y);
  Start(x, y);
}

void TLineColumnCollapse::Finish() {
  FlushColumn(true);
  DrawPath();
}

void TLineColumnCollapse::VerticalTo(int y) {
  if (y == pen_y_) return;
  PathTo(x_, y);
  pen_y_ = y;
}

void TLineColumnCollapse::PathTo(int x, int y) {
  TCanvas* surface = canvas_.Surface();
  if (surface == nullptr) return;
  if (path_.empty()) {
    path_.push_back(surface->PenPos());
    box_ = {path_[0].X, path_[0].Y, path_[0].X, path_[0].Y};
  }
  path_.push_back({x, y});
  box_ = {std::min(box_.Left, x), std::min(box_.Top, y), std::max(box_.Right, x),
          std::max(box_.Bottom, y)};
  // Small polylines keep the rectangles a frame notes as changed small.
  constexpr long long kSide = 12;
  if (path_.size() >= 32 || static_cast<long long>(box_.Right) - box_.Left > kSide ||
      static_cast<long long>(box_.Bottom) - box_.Top > kSide)
    DrawPath();
}

void TLineColumnCollapse::DrawPath() {
  if (path_.size() < 2) return;
  TCanvas& surface = *canvas_.Surface();
  surface.Polyline(path_);
  surface.MoveTo(path_.back().X, path_.back().Y);
  path_.clear();
}

void TLineColumnCollapse::FlushColumn(bool lastOfLine) {
  if (low_ == high_) return;
  // Ending on an extreme leaves it unpainted unless the path passed it
  // earlier; the following segment paints it anyway.
  bool endsOnLow = last_ == low_;
  if (lastOfLine) {
    if (last_ == low_ && low_left_) endsOnLow = false;
    if (last_ == high_ && high_left_) endsOnLow = true;
  }
  if (endsOnLow) {
    VerticalTo(high_);
    VerticalTo(low_);
  } else {
    VerticalTo(low_);
    VerticalTo(high_);
  }
  VerticalTo(last_);
}

}  // namespace nitko
