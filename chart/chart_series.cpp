#include "chart/chart_series.h"

#include <algorithm>
#include <cmath>

#include "chart/chart_axis.h"
#include "chart/chart_exceptions.h"
#include "chart/chart_palette.h"
#include "chart/custom_axis_panel.h"
#include "framework/set_if_changed.h"
#include "framework/surface.h"
#include "runtime/exception.h"
#include "runtime/number_pattern.h"

namespace nitko {

TChartSeries::TChartSeries(TComponent* owner)
    : TComponent(owner), x_values_(this, "X"), y_values_(this, "Y"), marks_(this) {
  x_values_.SetOrder(TChartListOrder::loAscending);
}

TChartSeries::~TChartSeries() {
  MarkDestroying();
  while (!dependents_.empty()) RemoveDependent(dependents_.back());
  while (!sources_.empty()) sources_.back()->RemoveDependent(this);
  TChartSeries::ClearPoints();
  if (parent_chart_ != nullptr) parent_chart_->RemoveSeries(this);
}

TTeeCanvas3D* TChartSeries::ChartCanvas() const {
  return parent_chart_ != nullptr ? &parent_chart_->Canvas() : nullptr;
}

void TChartSeries::DrawAllPoints() {
  if (first_visible_ < 0) return;
  for (int i = first_visible_; i <= last_visible_; ++i) DrawPoint(i);
}

void TChartSeries::SetParentComponent(TComponent* parent) {
  if (auto* chart = dynamic_cast<TCustomAxisPanel*>(parent)) SetParentChart(chart);
}

void TChartSeries::RepaintOwner() {
  if (parent_chart_ != nullptr) parent_chart_->RequestRepaint();
}

int TChartSeries::AddPoint(double x, double y, const std::string& label, TColor color) {
  x_values_.SetPendingValue(x);
  y_values_.SetPendingValue(y);
  if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
  const int index = x_values_.InsertInOrder(x);
  y_values_.InsertAtIndex(index, y);
  InsertColumns(index, color, label);
  PointAdded(index);
  return index;
}

int TChartSeries::AddOneValue(double value, const std::string& label, TColor color) {
  const double count = PointCount();
  return main_list_is_y_ ? AddPoint(count, value, label, color)
                         : AddPoint(value, count, label, color);
}

int TChartSeries::AddGap(const std::string& label) {
  return AddOneValue(0, label, clNone);
}

int TChartSeries::AddGapXY(double x, double y, const std::string& label) {
  return AddPoint(x, y, label, clNone);
}

void TChartSeries::InsertColumns(int index, TColor color, const std::string& label) {
  // The columns can lag behind the value lists when those were filled
  // directly; pad them so the new entry lands beside its point.
  const auto at = static_cast<size_t>(index);
  if (colors_.size() < at) colors_.resize(at, clDefault);
  if (labels_.size() < at) labels_.resize(at);
  colors_.insert(colors_.begin() + index, color);
  labels_.insert(labels_.begin() + index, label);
}

void TChartSeries::PointAdded(int index) {
  if (OnAfterAdd) OnAfterAdd(this, index);
  NotifyDependents(TSeriesChange::scPointInserted, index);
  if (active_) RepaintOwner();
}

void TChartSeries::EmptyLists() {
  for (TChartValueList* list : value_lists_) list->ClearAllValues();
  colors_.release();
  labels_.release();
  marks_.ClearPositions();
}

void TChartSeries::ClearPoints() {
  EmptyLists();
  if (OnClearValues) OnClearValues(this);
  NotifyDependents(TSeriesChange::scCleared);
  if (active_ && parent_chart_ != nullptr && !parent_chart_->IsDestroying()) RepaintOwner();
}

void TChartSeries::DeletePoint(int index) {
  CheckListIndex(index, PointCount());
  for (TChartValueList* list : value_lists_)
    if (index < list->ValueCount()) list->RemoveAt(index);
  if (static_cast<size_t>(index) < colors_.size()) colors_.erase(colors_.begin() + index);
  if (static_cast<size_t>(index) < labels_.size()) labels_.erase(labels_.begin() + index);
  marks_.DeletePosition(index);
  NotifyDependents(TSeriesChange::scPointDeleted, index);
  if (active_) RepaintOwner();
}

void TChartSeries::SwapPoints(int i, int j) {
  CheckListIndex(i, PointCount());
  CheckListIndex(j, PointCount());
  for (TChartValueList* list : value_lists_)
    if (std::max(i, j) < list->ValueCount()) list->Exchange(i, j);
  const auto hi = static_cast<size_t>(std::max(i, j));
  if (hi < colors_.size()) std::swap(colors_[size_t(i)], colors_[size_t(j)]);
  if (hi < labels_.size()) std::swap(labels_[size_t(i)], labels_[size_t(j)]);
}

TColor TChartSeries::PointColor(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= colors_.size()) return series_color_;
  const TColor c = colors_[static_cast<size_t>(index)];
  if (c != clDefault) return c;
  return color_each_point_ ? PaletteColor(index) : series_color_;
}

void TChartSeries::SetPointColor(int index, TColor color) {
  CheckListIndex(index, static_cast<long long>(colors_.size()));
  colors_[static_cast<size_t>(index)] = color;
  RepaintOwner();
}

std::string TChartSeries::PointLabel(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= labels_.size()) return {};
  return labels_[static_cast<size_t>(index)];
}

std::string TChartSeries::MarkText(int index) const {
  const auto number = [this](double v) { return FormatNumberPattern(value_format_, v); };
  const TChartValueList& main = MainValueList();
  const double value = index >= 0 && index < main.ValueCount() ? main.ValueAt(index) : 0.0;
  const std::string label = PointLabel(index);
  // Texts are made only for the style that shows them: the axis asks for
  // every point's mark while it measures.
  const auto percent = [&] {
    const double total = main.ValuesAbsSum();
    return FormatNumberPattern(percent_format_,
                               total == 0 ? 0.0 : 100.0 * std::fabs(value) / total);
  };
  const auto percentOfTotal = [&] { return percent() + " of " + number(main.ValuesAbsSum()); };
  const auto joined = [&label](const std::string& rest) {
    return label.empty() ? rest : label + " " + rest;
  };
  std::string text;
  switch (marks_.Style()) {
    case TSeriesMarksStyle::smsValue:
      text = number(value);
      break;
    case TSeriesMarksStyle::smsPercent:
      text = percent();
      break;
    case TSeriesMarksStyle::smsLabel:
    case TSeriesMarksStyle::smsLegend:
      text = label.empty() ? number(value) : label;
      break;
    case TSeriesMarksStyle::smsLabelPercent:
      text = joined(percent());
      break;
    case TSeriesMarksStyle::smsLabelValue:
      text = joined(number(value));
      break;
    case TSeriesMarksStyle::smsPercentTotal:
      text = percentOfTotal();
      break;
    case TSeriesMarksStyle::smsLabelPercentTotal:
      text = joined(percentOfTotal());
      break;
    case TSeriesMarksStyle::smsXValue:
      text = number(index >= 0 && index < PointCount() ? XOf(index) : 0.0);
      break;
  }
  if (OnGetMarkText) OnGetMarkText(const_cast<TChartSeries*>(this), index, text);
  return text;
}

void TChartSeries::SetXValues(const TChartValueList& source) {
  x_values_.Assign(source);
  RepaintOwner();
}

void TChartSeries::SetYValues(const TChartValueList& source) {
  y_values_.Assign(source);
  RepaintOwner();
}

bool TChartSeries::Reaches(const TChartSeries* target) const {
  if (this == target) return true;
  return std::any_of(dependents_.begin(), dependents_.end(),
                     [target](const TChartSeries* d) { return d->Reaches(target); });
}

void TChartSeries::AddDependent(TChartSeries* dependent) {
  // A cycle would make every notification recurse without end.
  if (dependent == nullptr || dependent->Reaches(this)) return;
  if (std::find(dependents_.begin(), dependents_.end(), dependent) != dependents_.end()) return;
  dependents_.push_back(dependent);
  dependent->sources_.push_back(this);
  dependent->ReloadFrom(*this);
}

void TChartSeries::RemoveDependent(TChartSeries* dependent) {
  auto it = std::find(dependents_.begin(), dependents_.end(), dependent);
  if (it == dependents_.end()) return;
  dependents_.erase(it);
  auto& back = dependent->sources_;
  back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

TChartSeries* TChartSeries::Dependent(int index) const {
  CheckListIndex(index, DependentCount());
  return dependents_[static_cast<size_t>(index)];
}

void TChartSeries::NotifyDependents(TSeriesChange change, int index) {
  // By index: a dependent's handlers may unlink series while this runs.
  for (size_t i = 0; i < dependents_.size(); ++i) {
    TChartSeries* d = dependents_[i];
    const TSeriesRecalcOptions options = d->recalc_options_;
    switch (change) {
      case TSeriesChange::scCleared:
        if (options.Contains(TSeriesRecalcOption::rOnClear)) d->ClearPoints();
        break;
      case TSeriesChange::scPointInserted:
        if (options.Contains(TSeriesRecalcOption::rOnInsert)) d->PointCopied(*this, index);
        break;
      case TSeriesChange::scPointDeleted:
        // A dependent that was filled differently may not have the point.
        if (options.Contains(TSeriesRecalcOption::rOnDelete) && index >= 0 &&
            index < d->PointCount())
          d->DeletePoint(index);
        break;
      case TSeriesChange::scReload:
        d->ReloadFrom(*this);
        break;
      case TSeriesChange::scModified:
        if (options.Contains(TSeriesRecalcOption::rOnModify)) d->ReloadFrom(*this);
        break;
    }
  }
}

int TChartSeries::CopyPointFrom(const TChartSeries& source, int index) {
  const bool exchange = source.MainListIsY() != MainListIsY();
  const double x = exchange ? source.YOf(index) : source.XOf(index);
  const double y = exchange ? source.XOf(index) : source.YOf(index);
  const int at = x_values_.InsertInOrder(x);
  y_values_.InsertAtIndex(at, y);
  // Further lists (series kinds with more than x and y) pair up by position.
  for (int t = 2; t < value_lists_.Count(); ++t) {
    const TChartValueList* from =
        t < source.value_lists_.Count() ? source.value_lists_.At(t) : nullptr;
    const double v = from != nullptr && index < from->ValueCount() ? from->ValueAt(index) : 0.0;
    value_lists_.At(t)->InsertAtIndex(at, v);
  }
  const auto i = static_cast<size_t>(index);
  InsertColumns(at, i < source.colors_.size() ? source.colors_[i] : clDefault,
                i < source.labels_.size() ? source.labels_[i] : std::string());
  return at;
}

void TChartSeries::PointCopied(const TChartSeries& source, int index) {
  PointAdded(CopyPointFrom(source, index));
}

void TChartSeries::ReloadFrom(const TChartSeries& source) {
  EmptyLists();
  for (int i = 0; i < source.PointCount(); ++i) CopyPointFrom(source, i);
  NotifyDependents(TSeriesChange::scReload);
  if (active_) RepaintOwner();
}

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
  if (chart == parent_chart_) return;
  if (parent_chart_ != nullptr) parent_chart_->RemoveSeries(this);
  if (chart != nullptr) chart->AddSeries(this);
}

void TChartSeries::SetActive(bool value) {
  SetIfChanged(active_, value, [this] { RepaintOwner(); });
}

void TChartSeries::SetColorEachPoint(bool value) {
  if (value == color_each_point_) return;
  SetIfChanged(color_each_point_, value, [this] { RepaintOwner(); });
  if (!value)
    for (size_t i = 0; i < colors_.size(); ++i) SetPointColor(static_cast<int>(i), clDefault);
}

void TChartSeries::SetSeriesColor(TColor value) {
  SetIfChanged(series_color_, value, [this] { RepaintOwner(); });
}
void TChartSeries::SetHorizAxis(THorizAxis value) {
  SetIfChanged(horiz_axis_, value, [this] { RepaintOwner(); });
}
void TChartSeries::SetVertAxis(TVertAxis value) {
  SetIfChanged(vert_axis_, value, [this] { RepaintOwner(); });
}
void TChartSeries::SetShowInLegend(bool value) {
  SetIfChanged(show_in_legend_, value, [this] { RepaintOwner(); });
}
void TChartSeries::SetValueFormat(const std::string& value) {
  SetIfChanged(value_format_, value, [this] { RepaintOwner(); });
}
void TChartSeries::SetPercentFormat(const std::string& value) {
  SetIfChanged(percent_format_, value, [this] { RepaintOwner(); });
}
void TChartSeries::SetTitle(const std::string& value) {
  SetIfChanged(title_, value, [this] { RepaintOwner(); });
}
void TChartSeries::SetColorSource(const std::string& value) {
  SetIfChanged(color_source_, value, [this] { RepaintOwner(); });
}
void TChartSeries::SetXLabelsSource(const std::string& value) {
  SetIfChanged(x_labels_source_, value, [this] { RepaintOwner(); });
}
void TChartSeries::SetZOrder(int value) {
  // Held to a surface's side: the chart counts depth slots up to it.
  SetIfChanged(z_order_, std::min(value, kMaxSurfaceSide), [this] { RepaintOwner(); });
}

int TChartSeries::DepthOrder() const {
  if (z_order_ != kAutoZOrder) return z_order_;
  if (parent_chart_ == nullptr) return 0;
  return std::max(parent_chart_->SeriesList().IndexOf(this), 0);
}

// Only an axis of the series' own chart can be held: the chart clears the
// reference when the axis or the series leaves it.
void TChartSeries::SetCustomAxis(TCustomChartAxis*& field, TCustomChartAxis* axis,
                                 bool horizontal) {
  if (axis != nullptr && (axis->IsHorizontal() != horizontal || axis->ForDepth()))
    throw ChartException(horizontal ? "A custom horizontal axis must be horizontal"
                                    : "A custom vertical axis must be vertical");
  if (axis != nullptr && (parent_chart_ == nullptr || axis->ParentChart() != parent_chart_))
    throw ChartException("A custom axis must belong to the series' chart");
  SetIfChanged(field, axis, [this] { RepaintOwner(); });
}

void TChartSeries::SetCustomHorizAxis(TCustomChartAxis* axis) {
  SetCustomAxis(custom_horiz_axis_, axis, true);
}

void TChartSeries::SetCustomVertAxis(TCustomChartAxis* axis) {
  SetCustomAxis(custom_vert_axis_, axis, false);
}

void TChartSeries::ForgetAxis(const TCustomChartAxis* axis) {
  if (custom_horiz_axis_ == axis) custom_horiz_axis_ = nullptr;
  if (custom_vert_axis_ == axis) custom_vert_axis_ = nullptr;
}

TCustomChartAxis* TChartSeries::GetHorizAxis() const {
  if (parent_chart_ == nullptr) return nullptr;
  if (horiz_axis_ == THorizAxis::aTopAxis) return &parent_chart_->TopAxis();
  // A custom axis counts only while it belongs to this series' chart.
  if (horiz_axis_ == THorizAxis::aCustomHorizAxis && custom_horiz_axis_ != nullptr)
    return custom_horiz_axis_;
  return &parent_chart_->BottomAxis();
}

TCustomChartAxis* TChartSeries::GetVertAxis() const {
  if (parent_chart_ == nullptr) return nullptr;
  if (vert_axis_ == TVertAxis::aRightAxis) return &parent_chart_->RightAxis();
  if (vert_axis_ == TVertAxis::aCustomVertAxis && custom_vert_axis_ != nullptr)
    return custom_vert_axis_;
  return &parent_chart_->LeftAxis();
}

bool TChartSeries::UsesAxis(const TCustomChartAxis* axis) const {
  if (axis == nullptr || !UsesAxes() || axis->ForDepth()) return false;
  if (axis->IsHorizontal())
    return horiz_axis_ == THorizAxis::aBothHorizAxis || axis == GetHorizAxis();
  return vert_axis_ == TVertAxis::aBothVertAxis || axis == GetVertAxis();
}

int TChartSeries::PixelOfX(double v) const {
  const TCustomChartAxis* axis = GetHorizAxis();
  return axis == nullptr ? 0 : axis->PixelOfHoriz(v);
}

int TChartSeries::PixelOfY(double v) const {
  const TCustomChartAxis* axis = GetVertAxis();
  return axis == nullptr ? 0 : axis->PixelOfVert(v);
}

int TChartSeries::StartZ() const {
  if (parent_chart_ == nullptr || !parent_chart_->View3D()) return 0;
  return DepthOrder() * parent_chart_->SeriesWidth3D();
}

int TChartSeries::EndZ() const {
  if (parent_chart_ == nullptr || !parent_chart_->View3D()) return 0;
  return StartZ() + parent_chart_->SeriesWidth3D();
}

void TChartSeries::ComputeVisibleRange() {
  first_visible_ = -1;
  last_visible_ = -1;
  const int count = PointCount();
  if (count == 0) return;
  const int last = count - 1;
  const TChartValueList& ordered = main_list_is_y_ ? x_values_ : y_values_;
  const TCustomChartAxis* axis = main_list_is_y_ ? GetHorizAxis() : GetVertAxis();
  if (!DrawsVisibleOnly() || ordered.Order() == TChartListOrder::loNone || axis == nullptr) {
    first_visible_ = 0;
    last_visible_ = last;
    return;
  }
  const TRect& r = parent_chart_->PlotRect();
  double lo, hi;
  if (main_list_is_y_) {
    lo = axis->ValueAtPixel(axis->Inverted() ? r.Right : r.Left);
    hi = axis->ValueAtPixel(axis->Inverted() ? r.Left : r.Right);
  } else {
    lo = axis->ValueAtPixel(axis->Inverted() ? r.Top : r.Bottom);
    hi = axis->ValueAtPixel(axis->Inverted() ? r.Bottom : r.Top);
  }
  int first = 0;
  while (first <= last && ordered.ValueAt(first) < lo) ++first;
  if (first > last) return;
  first_visible_ = first;
  if (ordered.LastValue() <= hi) {
    last_visible_ = last;
    return;
  }
  int end = first;
  while (end < last && ordered.ValueAt(end) < hi) ++end;
  if (!DrawsLinesBetweenPoints() && end > first && ordered.ValueAt(end) > hi) --end;
  last_visible_ = end;
}

}  // namespace nitko
