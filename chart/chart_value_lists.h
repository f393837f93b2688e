#pragma once

#include <vector>

namespace nitko {

class TChartValueList;

// The value lists of a series in creation order: X first, then Y. The lists
// belong to the series; this only indexes them.
class TChartValueLists {
 public:
  int Count() const { return static_cast<int>(lists_.size()); }
  TChartValueList* At(int index) const;
  int IndexOf(const TChartValueList* list) const;
  void Add(TChartValueList* list);
  void Remove(const TChartValueList* list);

  auto begin() const { return lists_.begin(); }
  auto end() const { return lists_.end(); }

 private:
  std::vector<TChartValueList*> lists_;
};

}  // namespace nitko
