#pragma once

#include <algorithm>
#include <array>
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
    return x_.At(index, xs_, x_multiplier_, x_map_);
  }
  int Y(int index) const {
    if (!direct_ || index < 0 || static_cast<size_t>(index) >= ys_.size()) return Asked(index, false);
    return y_.At(index, ys_, y_multiplier_, y_map_);
  }

 private:
  // The pixels of one block of indices, mapped together when an index of
  // the block is first asked for: passes walk the points in order, either way.
  struct Block {
    static constexpr int kSize = 512;
    int first = -1;
    std::array<int, kSize> pixels;
    int At(int index, std::span<const double> values, double multiplier,
           const TAxisPixelMap& map) {
      if (first < 0 || index < first || index - first >= kSize) {
        first = index / kSize * kSize;
        const size_t n = std::min(values.size() - static_cast<size_t>(first), size_t{kSize});
        map.MapAll(values.subspan(static_cast<size_t>(first), n), multiplier, pixels.data());
      }
      return pixels[static_cast<size_t>(index - first)];
    }
  };

  // Out-of-range indices go the series' way too, which reports them.
  int Asked(int index, bool x) const;

  const TChartSeries& series_;
  bool direct_ = false;
  std::span<const double> xs_, ys_;
  double x_multiplier_ = 1, y_multiplier_ = 1;
  TAxisPixelMap x_map_, y_map_;
  mutable Block x_, y_;
};

}  // namespace nitko
