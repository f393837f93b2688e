#include "chart/chart_series_list.h"

#include <algorithm>

#include "runtime/exception.h"

namespace nitko {

TChartSeries* TChartSeriesList::At(int index) const {
  CheckListIndex(index, Count());
  return series_[static_cast<size_t>(index)];
}

int TChartSeriesList::IndexOf(const TChartSeries* series) const {
  auto it = std::find(series_.begin(), series_.end(), series);
  return it == series_.end() ? -1 : static_cast<int>(it - series_.begin());
}

void TChartSeriesList::Add(TChartSeries* series) {
  if (series != nullptr && !Contains(series)) series_.push_back(series);
}

void TChartSeriesList::Remove(const TChartSeries* series) {
  auto it = std::find(series_.begin(), series_.end(), series);
  if (it != series_.end()) series_.erase(it);
}

}  // namespace nitko
