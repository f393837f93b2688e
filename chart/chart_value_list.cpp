#include "chart/chart_value_list.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "chart/chart_series.h"
#include "runtime/exception.h"

namespace nitko {

TChartValueList::TChartValueList(TChartSeries* owner, std::string name)
    : owner_(owner), name_(std::move(name)) {
  if (owner_ != nullptr) owner_->ValueLists().Add(this);
}

TChartValueList::~TChartValueList() {
  if (owner_ != nullptr) owner_->ValueLists().Remove(this);
}

double TChartValueList::ValueAt(int index) const {
  CheckListIndex(index, ValueCount());
  return values_[static_cast<size_t>(index)] * multiplier_;
}

void TChartValueList::ReplaceValue(int index, double v) {
  CheckListIndex(index, ValueCount());
  values_[static_cast<size_t>(index)] = v;
  stats_dirty_ = true;
  if (owner_ != nullptr) owner_->NotifyDependents(TSeriesChange::scModified, index);
}

void TChartValueList::ClearAllValues() {
  std::vector<double>().swap(values_);  // clear() alone would keep the capacity
  stats_dirty_ = true;
}

int TChartValueList::InsertInOrder(double v) {
  const int count = ValueCount();
  int index = count;
  if (order_ != TChartListOrder::loNone && count > 0) {
    // Walk back from the end so that in-order data costs one comparison and
    // equal values keep their arrival order.
    const bool ascending = order_ == TChartListOrder::loAscending;
    auto after = [&](double stored) { return ascending ? stored > v : stored < v; };
    while (index > 0 && after(values_[static_cast<size_t>(index - 1)])) --index;
  }
  values_.insert(values_.begin() + index, v);
  stats_dirty_ = true;
  return index;
}

void TChartValueList::InsertAtIndex(int index, double v) {
  if (index != ValueCount()) CheckListIndex(index, ValueCount());
  values_.insert(values_.begin() + index, v);
  stats_dirty_ = true;
}

void TChartValueList::RemoveAt(int index) {
  CheckListIndex(index, ValueCount());
  values_.erase(values_.begin() + index);
  stats_dirty_ = true;
}

void TChartValueList::RotateLeft() {
  if (values_.empty()) return;
  std::rotate(values_.begin(), values_.begin() + 1, values_.end());
}

int TChartValueList::IndexOfValue(double v) const {
  for (int i = 0; i < ValueCount(); ++i)
    if (values_[static_cast<size_t>(i)] * multiplier_ == v) return i;
  return -1;
}

void TChartValueList::Exchange(int i, int j) {
  CheckListIndex(i, ValueCount());
  CheckListIndex(j, ValueCount());
  std::swap(values_[static_cast<size_t>(i)], values_[static_cast<size_t>(j)]);
}

void TChartValueList::RecomputeStats() const {
  if (!stats_dirty_) return;
  highest_ = lowest_ = sum_ = abs_sum_ = 0.0;
  if (!values_.empty()) {
    lowest_ = highest_ = sum_ = values_[0] * multiplier_;
    abs_sum_ = std::fabs(sum_);
    for (size_t i = 1; i < values_.size(); ++i) {
      const double v = values_[i] * multiplier_;
      if (v < lowest_)
        lowest_ = v;
      else if (v > highest_)
        highest_ = v;
      sum_ += v;
      abs_sum_ += std::fabs(v);
    }
  }
  stats_dirty_ = false;
}

double TChartValueList::HighestValue() const {
  RecomputeStats();
  return highest_;
}

double TChartValueList::LowestValue() const {
  RecomputeStats();
  return lowest_;
}

double TChartValueList::ValuesSum() const {
  RecomputeStats();
  return sum_;
}

double TChartValueList::ValuesAbsSum() const {
  RecomputeStats();
  return abs_sum_;
}

void TChartValueList::SetMultiplier(double value) {
  if (value == multiplier_) return;
  multiplier_ = value;
  stats_dirty_ = true;
  if (owner_ != nullptr) {
    owner_->NotifyDependents(TSeriesChange::scReload);
    owner_->RepaintOwner();
  }
}

void TChartValueList::SetDateTime(bool value) {
  if (value == date_time_) return;
  date_time_ = value;
  if (owner_ != nullptr) owner_->RepaintOwner();
}

void TChartValueList::Assign(const TChartValueList& source) {
  if (&source == this) return;
  order_ = source.order_;
  date_time_ = source.date_time_;
  value_source_ = source.value_source_;
  if (multiplier_ != source.multiplier_) {
    multiplier_ = source.multiplier_;
    stats_dirty_ = true;
    if (owner_ != nullptr) owner_->NotifyDependents(TSeriesChange::scReload);
  }
}

bool TChartValueList::Precedes(double a, double b) const {
  return order_ == TChartListOrder::loAscending ? a < b : b < a;
}

void TChartValueList::Swap(int i, int j) {
  if (owner_ != nullptr)
    owner_->SwapPoints(i, j);
  else
    Exchange(i, j);
}

void TChartValueList::SortRange(int left, int right) {
  // Hoare partition around the middle value. The smaller side recurses, the
  // larger one loops, so the depth stays logarithmic.
  while (left < right) {
    int i = left;
    int j = right;
    const double pivot = ValueAt((left + right) / 2);
    while (i <= j) {
      while (Precedes(ValueAt(i), pivot)) ++i;
      while (Precedes(pivot, ValueAt(j))) --j;
      if (i <= j) {
        if (i != j) Swap(i, j);
        ++i;
        --j;
      }
    }
    if (j - left < right - i) {
      SortRange(left, j);
      left = i;
    } else {
      SortRange(i, right);
      right = j;
    }
  }
}

void TChartValueList::SortInOrder() {
  if (order_ == TChartListOrder::loNone) return;
  SortRange(0, ValueCount() - 1);
}

void TChartValueList::NumberSequentially() {
  for (size_t i = 0; i < values_.size(); ++i) values_[i] = static_cast<double>(i);
  stats_dirty_ = true;
}

}  // namespace nitko
