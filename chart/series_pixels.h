#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <vector>

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

  // The pixels of the points first..last (at most kStretch of them) into
  // x[0..] and y[0..], for loops over a stretch of points.
  static constexpr int kStretch = 512;
  void Stretch(int first, int last, int* x, int* y) const;

  // One point's pixel, mapped alone, for reads that jump about.
  int XAlone(int index) const {
    if (!direct_ || index < 0 || static_cast<size_t>(index) >= xs_.size())
      return Asked(index, true);
    return x_map_.Map(xs_[static_cast<size_t>(index)] * x_multiplier_);
  }
  int YAlone(int index) const {
    if (!direct_ || index < 0 || static_cast<size_t>(index) >= ys_.size())
      return Asked(index, false);
    return y_map_.Map(ys_[static_cast<size_t>(index)] * y_multiplier_);
  }

  // Whether the points first..last lie in pixel columns one after another
  // (their x values ordered, free of NaN and mapped in order), with so many
  // points to a column that finding each column's run costs less than
  // mapping its points. Then the points of one column are one run of
  // indices, found by ColumnEnd and ColumnStart without mapping the points
  // between.
  bool Crowded(int first, int last) const;
  // The last index up to `last` in the column of index i.
  int ColumnEnd(int i, int last) const { return ColumnEdge(i, last, 1); }
  // The first index down to `first` in the column of index i.
  int ColumnStart(int i, int first) const { return ColumnEdge(i, first, -1); }
  // The lowest and highest pixel rows of the points first..last, from their
  // lowest and highest values alone; false when a value has no place of
  // its own (NaN, far off), and the points must be mapped one by one.
  bool RowSpan(int first, int last, int& low, int& high) const;
  // Walking down from i, whose point lies on pixel row `row`, the first
  // index from there to `stop` whose point is not surely on that row too,
  // or stop - 1: the points skipped are known to share the row without
  // mapping them.
  int RowEnd(int i, int stop, int row) const;

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

  bool ColumnsInOrder(int first, int last) const;
  int ColumnEdge(int i, int bound, int step) const;
  // Out-of-range indices go the series' way too, which reports them.
  int Asked(int index, bool x) const;

  // The values of pixel rows met so far, by row: a slot keeps the last row
  // that fell on it.
  struct RowBand {
    int row = 0;
    bool known = false;
    double low = 0, high = 0;
  };
  static constexpr size_t kBandSlots = 1024;

  const TChartSeries& series_;
  bool direct_ = false;
  size_t x_ordered_from_ = 0;
  bool x_falling_ = false;  // ordered from high to low
  std::span<const double> xs_, ys_;
  double x_multiplier_ = 1, y_multiplier_ = 1;
  TAxisPixelMap x_map_, y_map_;
  mutable Block x_, y_;
  mutable std::vector<RowBand> bands_;
};

}  // namespace nitko
