#pragma once

#include <functional>

#include "chart/chart_brush.h"
#include "chart/chart_pen.h"
#include "framework/colors.h"
#include "framework/persistent.h"

namespace nitko {

// A side of the plot box: the back one behind the series, the left and the
// bottom ones only in 3D.
class TChartWall : public TPersistent {
 public:
  TChartWall(std::function<void()> changed, TColor color);
  TChartWall(const TChartWall&) = delete;
  TChartWall& operator=(const TChartWall&) = delete;

  // clDefault with a solid brush: the wall is not filled.
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TChartBrush& Brush() { return brush_; }
  const TChartBrush& Brush() const { return brush_; }
  TChartPen& Pen() { return pen_; }
  const TChartPen& Pen() const { return pen_; }
  bool Dark3D() const { return dark_3d_; }
  void SetDark3D(bool value);
  // Thickness of the wall's box in 3D; below 1 the wall is flat.
  int Size() const { return size_; }
  void SetSize(int value);

 private:
  void Changed() {
    if (changed_) changed_();
  }

  std::function<void()> changed_;
  TColor color_;
  TChartBrush brush_;
  TChartPen pen_;
  bool dark_3d_ = true;
  int size_ = 0;
};

}  // namespace nitko
