#pragma once

#include <cstddef>
#include <span>

#include "chart/axis_pixel_map.h"

namespace nitko {

class TChartSeries;

// The pixels of a series' points for one drawing pass: PixelX(i) and
// PixelY(i), but read straight from the value lists and mapped by the axes'
// frozen mappings when the series says its lookups are the base ones and its
// lists are plain; otherwise it asks the series per point.
class TSeriesPixels {
 public:
  explicit TSeriesPixels(const TChartSeries& series);

  int X(int index) const {
    if (!direct_ || index < 0 || static_cast<size_t>(index) >= xs_.size()) return Asked(index, true);
    return x_map_.Map(xs_[static_cast<size_t>(index)] * x_multiplier_);
  }
  int Y(int index) const {
    if (!direct_ || index < 0 || static_cast<size_t>(index) >= ys_.size()) return Asked(index, false);
    return y_map_.Map(ys_[static_cast<size_t>(index)] * y_multiplier_);
  }

 private:
  // Out-of-range indices go the series' way too, which reports them.
  int Asked(int index, bool x) const;

  const TChartSeries& series_;
  bool direct_ = false;
  std::span<const double> xs_, ys_;
  double x_multiplier_ = 1, y_multiplier_ = 1;
  TAxisPixelMap x_map_, y_map_;
};

}  // namespace nitko
