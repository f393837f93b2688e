#pragma once

#include <vector>

#include "framework/types.h"

namespace nitko {

class TTeeCanvas;

// Draws a polyline point by point with few line calls: a run of
// consecutive points in one pixel column is drawn as vertical lines through
// its lowest and highest pixel, ending at its last point, so the next
// segment starts where it would have. For a solid one-pixel pen in copy
// mode the pixels equal those of one line per point: within the column the
// path covers every row between the extremes either way, and the last pixel
// of the whole line, which a line leaves out, is covered exactly when the
// point-by-point path passes it before its end. The lines go to the canvas a
// few dozen at a time as one polyline, which paints the same pixels.
class TLineColumnCollapse {
 public:
  explicit TLineColumnCollapse(TTeeCanvas& canvas) : canvas_(canvas) {}

  // The pen stands at (x, y) and the line goes on from there.
  void Start(int x, int y);
  void LineTo(int x, int y) {
    if (x == x_ && y == last_) return;
    x == x_ ? InColumn(y) : NextColumn(x, y);
  }
  // Draws the run still held; the pen ends at the last point.
  void Finish();

 private:
  void InColumn(int y);
  void NextColumn(int x, int y);
  void FlushColumn(bool lastOfLine);
  void VerticalTo(int y);
  void PathTo(int x, int y);
  void DrawPath();

  TTeeCanvas& canvas_;
  std::vector<TPoint> path_;  // from the pen position on
  TRect box_;                 // the path's corner points
  int x_ = 0;
  int pen_y_ = 0;  // where the pen stands in column x_
  int last_ = 0;
  int low_ = 0;
  int high_ = 0;
  // Whether the path leaves low_ (high_) again, which paints that pixel.
  bool low_left_ = false;
  bool high_left_ = false;
};

}  // namespace nitko
