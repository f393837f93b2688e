#include "chart/line_column_collapse.h"

#include "chart/tee_canvas.h"

namespace nitko {

void TLineColumnCollapse::Start(int x, int y) {
  x_ = x;
  pen_y_ = last_ = low_ = high_ = y;
  low_left_ = high_left_ = false;
}

void TLineColumnCollapse::LineTo(int x, int y) {
  if (x == x_) {
    if (y == last_) return;
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
    return;
  }
  FlushColumn(false);
  canvas_.PenLineTo(x, y);
  Start(x, y);
}

void TLineColumnCollapse::Finish() { FlushColumn(true); }

void TLineColumnCollapse::VerticalTo(int y) {
  if (y == pen_y_) return;
  canvas_.PenLineTo(x_, y);
  pen_y_ = y;
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
