#include "chart/chart_value_lists.h"

#include <algorithm>

#include "runtime/exception.h"

namespace nitko {

TChartValueList* TChartValueLists::At(int index) const {
  CheckListIndex(index, Count());
  return lists_[static_cast<size_t>(index)];
}

int TChartValueLists::IndexOf(const TChartValueList* list) const {
  auto it = std::find(lists_.begin(), lists_.end(), list);
  return it == lists_.end() ? -1 : static_cast<int>(it - lists_.begin());
}

void TChartValueLists::Add(TChartValueList* list) {
  if (list != nullptr && IndexOf(list) < 0) lists_.push_back(list);
}

void TChartValueLists::Remove(const TChartValueList* list) {
  auto it = std::find(lists_.begin(), lists_.end(), list);
  if (it != lists_.end()) lists_.erase(it);
}

}  // namespace nitko
