#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "chart/two_ended_array.h"
#include "framework/persistent.h"

namespace nitko {

class TChartSeries;

enum class TChartListOrder { loNone, loAscending, loDescending };

// One numeric column of a series. Values are stored raw; every read applies
// Multiplier. A list created with an owner registers in the owner's value
// lists and leaves them when destroyed.
//
// The values sit in a two-ended array, so points arriving in falling order
// go to the front as cheaply as rising ones go to the back. The list also
// knows where its ordered tail starts (the last stretch that is monotone in
// Order and free of NaN), which lets InsertInOrder find the backward walk's
// stopping place by bisection there, walking literally only beyond it.
class TChartValueList : public TPersistent {
 public:
  TChartValueList(TChartSeries* owner, std::string name);
  ~TChartValueList() override;
  TChartValueList(const TChartValueList&) = delete;
  TChartValueList& operator=(const TChartValueList&) = delete;

  virtual double ValueAt(int index) const;
  // Stores raw v; dependents of the owner reload, the chart is not repainted.
  virtual void ReplaceValue(int index, double v);
  // Drops the values and gives their storage back.
  virtual void ClearAllValues();
  // Inserts raw v where Order puts it, after any equal values; returns the index.
  virtual int InsertInOrder(double v);
  // Inserts raw v before index; index == ValueCount() appends.
  virtual void InsertAtIndex(int index, double v);
  virtual int ValueCount() const { return static_cast<int>(values_.size()); }
  virtual void RemoveAt(int index);
  // Moves the first value to the end.
  virtual void RotateLeft();

  double LastValue() const { return ValueAt(ValueCount() - 1); }
  // First index whose scaled value equals v exactly, or -1.
  int IndexOfValue(double v) const;
  // Exchanges two raw values; used by the owner's point swap.
  void Exchange(int i, int j);

  double HighestValue() const;
  double LowestValue() const;
  double ValuesSum() const;
  double ValuesAbsSum() const;

  double Multiplier() const { return multiplier_; }
  void SetMultiplier(double value);

  // Copies Order, DateTime, Multiplier and ValueSource; not the name or values.
  void Assign(const TChartValueList& source);

  // Sorts all points of the owner by this column; colours and labels move
  // with their points. Nothing happens for loNone.
  void SortInOrder();
  // Replaces value i by i.
  void NumberSequentially();

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  bool DateTime() const { return date_time_; }
  void SetDateTime(bool value);
  TChartListOrder Order() const { return order_; }
  void SetOrder(TChartListOrder value);
  const std::string& ValueSource() const { return value_source_; }
  void SetValueSource(const std::string& value) { value_source_ = value; }
  TChartSeries* OwnerSeries() const { return owner_; }
  double PendingValue() const { return pending_value_; }
  void SetPendingValue(double value) { pending_value_ = value; }

  // Room reserved for values; 0 after a clear.
  size_t Capacity() const { return values_.capacity(); }
  // The stored values, unscaled and contiguous, for loops that read them
  // all; valid until the next change of the list.
  std::span<const double> RawValues() const { return {values_.data(), values_.size()}; }
  // Where the ordered tail starts: the raw values from there on rise (fall
  // for loDescending) or stay, and none is NaN. Found once, then kept.
  size_t OrderedFrom() const;

 private:
  // Where the backward walk of InsertInOrder stops for v.
  size_t WalkIndex(double v);
  void Store(size_t index, double v);
  bool InOrder(double a, double b) const;
  // Keeps the ordered tail right after the value at index changed.
  void RepairTail(size_t index);
  void FindOrderedTail() const;
  void RecomputeStats() const;
  void SortRange(int left, int right);
  bool Precedes(double a, double b) const;
  void Swap(int i, int j);

  TChartSeries* owner_;
  std::string name_;
  TTwoEndedArray<double> values_;
  // values_[ordered_from_..] is monotone in order_ and holds no NaN; only
  // meaningful while tail_known_, which a change of Order drops.
  mutable size_t ordered_from_ = 0;
  mutable bool tail_known_ = false;
  double multiplier_ = 1.0;
  TChartListOrder order_ = TChartListOrder::loNone;
  bool date_time_ = false;
  std::string value_source_;
  double pending_value_ = 0.0;

  mutable bool stats_dirty_ = true;
  mutable double highest_ = 0.0;
  mutable double lowest_ = 0.0;
  mutable double sum_ = 0.0;
  mutable double abs_sum_ = 0.0;
};

}  // namespace nitko
