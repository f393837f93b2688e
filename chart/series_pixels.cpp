#include "chart/series_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <typeinfo>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "chart/chart_axis.h"
#include "chart/chart_series.h"
#include "chart/chart_value_list.h"

namespace nitko {

namespace {

bool PlainList(const TChartValueList& list) { return typeid(list) == typeid(TChartValueList); }

// The lowest and highest of the values; false when one is NaN.
bool Extremes(std::span<const double> values, double& low, double& high) {
  if (values.empty()) return false;
  low = high = values[0];
  size_t i = 0;
  bool nan = false;
#if defined(__SSE2__)
  // Two accumulators of two lanes each keep the dependency chains short;
  // NaN is watched apart, since the lanes' min and max pass it on unevenly.
  __m128d lo0 = _mm_set1_pd(low), lo1 = lo0, hi0 = lo0, hi1 = lo0, unordered = _mm_setzero_pd();
  for (; i + 4 <= values.size(); i += 4) {
    const __m128d a = _mm_loadu_pd(values.data() + i), b = _mm_loadu_pd(values.data() + i + 2);
    lo0 = _mm_min_pd(lo0, a);
    lo1 = _mm_min_pd(lo1, b);
    hi0 = _mm_max_pd(hi0, a);
    hi1 = _mm_max_pd(hi1, b);
    unordered = _mm_or_pd(unordered, _mm_cmpunord_pd(a, b));
  }
  double l[2], h[2];
  _mm_storeu_pd(l, _mm_min_pd(lo0, lo1));
  _mm_storeu_pd(h, _mm_max_pd(hi0, hi1));
  low = std::min(l[0], l[1]);
  high = std::max(h[0], h[1]);
  nan = _mm_movemask_pd(unordered) != 0;
#endif
  for (; i < values.size(); ++i) {
    const double v = values[i];
    nan = nan || std::isnan(v);
    low = std::min(low, v);
    high = std::max(high, v);
  }
  return !nan && !std::isnan(low) && !std::isnan(high);
}

}  // namespace

TSeriesPixels::TSeriesPixels(const TChartSeries& series) : series_(series) {
  const TCustomChartAxis* h = series.GetHorizAxis();
  const TCustomChartAxis* v = series.GetVertAxis();
  direct_ = h != nullptr && v != nullptr && series.PixelsFromValueLists() &&
            PlainList(series.XValues()) && PlainList(series.YValues());
  if (!direct_) return;
  xs_ = series.XValues().RawValues();
  ys_ = series.YValues().RawValues();
  x_multiplier_ = series.XValues().Multiplier();
  y_multiplier_ = series.YValues().Multiplier();
  x_map_ = h->PixelMap(true);
  y_map_ = v->PixelMap(false);
  x_ordered_from_ = series.XValues().OrderedFrom();
  x_falling_ = series.XValues().Order() == TChartListOrder::loDescending;
}

void TSeriesPixels::Stretch(int first, int last, int* x, int* y) const {
  const size_t n = static_cast<size_t>(last - first + 1);
  if (direct_ && first >= 0 && static_cast<size_t>(last) < xs_.size() && n <= size_t{kStretch}) {
    x_map_.MapAll(xs_.subspan(static_cast<size_t>(first), n), x_multiplier_, x);
    y_map_.MapAll(ys_.subspan(static_cast<size_t>(first), n), y_multiplier_, y);
    return;
  }
  for (int i = first; i <= last; ++i) {
    x[i - first] = X(i);
    y[i - first] = Y(i);
  }
}

bool TSeriesPixels::ColumnsInOrder(int first, int last) const {
  if (!direct_ || first < 0 || first > last || static_cast<size_t>(last) >= xs_.size() ||
      static_cast<size_t>(first) < x_ordered_from_)
    return false;
  double a = xs_[static_cast<size_t>(first)] * x_multiplier_;
  double b = xs_[static_cast<size_t>(last)] * x_multiplier_;
  if (x_falling_ == !(x_multiplier_ < 0)) std::swap(a, b);
  return a <= b && x_map_.KeepsOrder(a, b);
}

bool TSeriesPixels::Crowded(int first, int last) const {
  constexpr long long kPerColumn = 16;
  if (static_cast<long long>(last) - first < 2 * kPerColumn || !ColumnsInOrder(first, last))
    return false;
  const long long columns = std::llabs(static_cast<long long>(XAlone(last)) - XAlone(first)) + 1;
  return static_cast<long long>(last) - first + 1 >= kPerColumn * columns;
}

int TSeriesPixels::ColumnEdge(int i, int bound, int step) const {
  // Gallops out from i until it leaves the column, then halves the gap.
  const int x = XAlone(i);
  int inside = i;
  int outside = bound + step;
  for (long long reach = 1;; reach *= 2) {
    const long long next = inside + step * reach;
    const int j = static_cast<int>(step > 0 ? std::min<long long>(next, bound)
                                            : std::max<long long>(next, bound));
    if (XAlone(j) != x) {
      outside = j;
      break;
    }
    inside = j;
    if (j == bound) return bound;
  }
  while (std::abs(outside - inside) > 1) {
    const int mid = inside + (outside - inside) / 2;
    (XAlone(mid) == x ? inside : outside) = mid;
  }
  return inside;
}

int TSeriesPixels::RowEnd(int i, int stop, int row) const {
  if (!direct_ || i <= stop || static_cast<size_t>(i) >= ys_.size() || stop < 0) return i - 1;
  if (bands_.empty()) bands_.resize(kBandSlots);
  RowBand& band = bands_[static_cast<size_t>(row) % kBandSlots];
  if (!band.known || band.row != row) {
    double low, high;
    const double v = ys_[static_cast<size_t>(i)] * y_multiplier_;
    if (y_map_.Map(v) != row || !y_map_.Band(v, low, high)) return i - 1;
    band = {row, true, low, high};
  }
  const double* ys = ys_.data();
  int k = i - 1;
  while (k >= stop) {
    const double v = ys[k] * y_multiplier_;
    if (!(v >= band.low && v <= band.high)) break;
    --k;
  }
  return k;
}

bool TSeriesPixels::RowSpan(int first, int last, int& low, int& high) const {
  if (!direct_ || first < 0 || first > last || static_cast<size_t>(last) >= ys_.size())
    return false;
  double lo, hi;
  if (!Extremes(ys_.subspan(static_cast<size_t>(first), static_cast<size_t>(last - first + 1)), lo,
                hi))
    return false;
  lo *= y_multiplier_;
  hi *= y_multiplier_;
  if (y_multiplier_ < 0) std::swap(lo, hi);
  if (!(lo <= hi) || !y_map_.KeepsOrder(lo, hi)) return false;
  const int a = y_map_.Map(lo), b = y_map_.Map(hi);
  low = std::min(a, b);
  high = std::max(a, b);
  return true;
}

int TSeriesPixels::Asked(int index, bool x) const {
  return x ? series_.PixelX(index) : series_.PixelY(index);
}

}  // namespace nitko
