#pragma once

#include <utility>

namespace nitko {

// One mouse drag over the chart: whether it runs and where the mouse was
// last seen (X1, Y1), in client pixels. A scroll drag moves the axes by the
// distance from there and needs no more.
struct TDragRecord {
  bool Active = false;
  int X1 = 0, Y1 = 0;

  void Activate(int x, int y) {
    X1 = x;
    Y1 = y;
    Active = true;
  }
};

// A zoom drag also keeps where it started (X0, Y0), the rectangle's other
// corner.
struct TZoomPanningRecord : TDragRecord {
  int X0 = 0, Y0 = 0;

  void Activate(int x, int y) {
    TDragRecord::Activate(x, y);
    X0 = x;
    Y0 = y;
  }
  // X0 <= X1 and Y0 <= Y1 afterwards.
  void Normalize() {
    if (X0 > X1) std::swap(X0, X1);
    if (Y0 > Y1) std::swap(Y0, Y1);
  }
};

}  // namespace nitko
