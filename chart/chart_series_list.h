#pragma once

#include <vector>

namespace nitko {

class TChartSeries;

// The series of a chart in the order they were added. The chart does not
// own them through this list.
class TChartSeriesList {
 public:
  int Count() const { return static_cast<int>(series_.size()); }
  TChartSeries* At(int index) const;
  int IndexOf(const TChartSeries* series) const;
  bool Contains(const TChartSeries* series) const { return IndexOf(series) >= 0; }
  void Add(TChartSeries* series);
  void Remove(const TChartSeries* series);
  void Clear() { series_.clear(); }

  auto begin() const { return series_.begin(); }
  auto end() const { return series_.end(); }

 private:
  std::vector<TChartSeries*> series_;
};

}  // namespace nitko
