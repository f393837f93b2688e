#pragma once

#include <utility>

namespace nitko {

// One mouse drag over the chart: where it started (X0, Y0) and where the
// mouse is now (X1, Y1), in client pixels.
struct TZoomPanningRecord {
  bool Active = false;
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;

  void Activate(int x, int y) {
    X0 = X1 = x;
    Y0 = Y1 = y;
    Active = true;
  }
  // X0 <= X1 and Y0 <= Y1 afterwards.
  void Normalize() {
    if (X0 > X1) std::swap(X0, X1);
    if (Y0 > Y1) std::swap(Y0, Y1);
  }
};

}  // namespace nitko
