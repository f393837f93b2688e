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
  CheckListIndex(index, static_cast<long long>(values_.size()));
  return values_[static_cast<size_t>(index)] * multiplier_;
}

void TChartValueList::ReplaceValue(int index, double v) {
  CheckListIndex(index, static_cast<long long>(values_.size()));
  values_[static_cast<size_t>(index)] = v;
  RepairTail(static_cast<size_t>(index));
  stats_dirty_ = true;
  if (owner_ != nullptr) owner_->NotifyDependents(TSeriesChange::scModified, index);
}

void TChartValueList::ClearAllValues() {
  values_.release();
  ordered_from_ = 0;
  stats_dirty_ = true;
}

void TChartValueList::SetOrder(TChartListOrder value) {
  if (value == order_) return;
  order_ = value;
  tail_known_ = false;
}

bool TChartValueList::InOrder(double a, double b) const {
  // False whenever a NaN takes part, which keeps NaN out of the ordered tail.
  return order_ == TChartListOrder::loDescending ? a >= b : a <= b;
}

void TChartValueList::FindOrderedTail() const {
  size_t from = values_.size();
  if (from > 0 && !std::isnan(values_[from - 1])) {
    --from;
    while (from > 0 && InOrder(values_[from - 1], values_[from])) --from;
  }
  ordered_from_ = from;
  tail_known_ = true;
}

size_t TChartValueList::OrderedFrom() const {
  if (!tail_known_) FindOrderedTail();
  return ordered_from_;
}

void TChartValueList::RepairTail(size_t index) {
  if (!tail_known_ || index < ordered_from_) return;
  // Only the neighbours of the changed slot can break the order: what
  // follows it was ordered before and still is.
  const double v = values_[index];
  const bool last = index + 1 == values_.size();
  const bool fitsNext = last ? !std::isnan(v) : InOrder(v, values_[index + 1]);
  if (!fitsNext)
    ordered_from_ = index + 1;
  else if (index > ordered_from_ && !InOrder(values_[index - 1], v))
    ordered_from_ = index;
}

void TChartValueList::Store(size_t index, double v) {
  values_.insert_at(index, v);
  if (index < ordered_from_)
    ++ordered_from_;
  else
    RepairTail(index);
  stats_dirty_ = true;
}

size_t TChartValueList::WalkIndex(double v) {
  // The walk goes back from the end while the stored value is after v
  // (greater when ascending, smaller when descending) and stops at the
  // first one that is not, NaN included.
  const bool ascending = order_ == TChartListOrder::loAscending;
  const auto after = [&](double stored) { return ascending ? stored > v : stored < v; };
  if (!after(values_.back())) return values_.size();  // in order: one comparison
  if (!tail_known_) FindOrderedTail();
  // Inside the ordered tail `after` is false up to some point and true from
  // there on, so its first true value is where the walk stops.
  const double* base = values_.data();
  const double* stop = std::partition_point(base + ordered_from_, base + values_.size(),
                                            [&](double stored) { return !after(stored); });
  size_t index = static_cast<size_t>(stop - base);
  if (index > ordered_from_) return index;
  // The walk passes the whole tail; before it, there is no order to use.
  while (index > 0 && after(values_[index - 1])) --index;
  return index;
}

int TChartValueList::InsertInOrder(double v) {
  size_t index = values_.size();
  if (order_ != TChartListOrder::loNone && index > 0) index = WalkIndex(v);
  Store(index, v);
  return static_cast<int>(index);
}

void TChartValueList::InsertAtIndex(int index, double v) {
  const auto count = static_cast<long long>(values_.size());
  if (index != count) CheckListIndex(index, count);
  Store(static_cast<size_t>(index), v);
}

void TChartValueList::RemoveAt(int index) {
  CheckListIndex(index, static_cast<long long>(values_.size()));
  values_.erase_at(static_cast<size_t>(index));
  // Dropping a value from the ordered tail leaves the rest of it ordered.
  if (static_cast<size_t>(index) < ordered_from_) --ordered_from_;
  stats_dirty_ = true;
}

void TChartValueList::RotateLeft() {
  if (values_.empty()) return;
  const double first = values_.front();
  values_.erase_at(0);
  if (ordered_from_ > 0) --ordered_from_;
  values_.push_back(first);
  RepairTail(values_.size() - 1);
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
  RepairTail(static_cast<size_t>(i));
  RepairTail(static_cast<size_t>(j));
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
  SetOrder(source.order_);
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
  tail_known_ = false;
  stats_dirty_ = true;
}

}  // namespace nitko
