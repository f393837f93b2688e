#include "chart/series_marks.h"

#include "chart/chart_series.h"

namespace nitko {

TSeriesMarks::TSeriesMarks(TChartSeries* series) : series_(series) {
  frame_.OnChange = [this] {
    if (series_ != nullptr) series_->RepaintOwner();
  };
}

template <typename T>
void TSeriesMarks::Change(T& field, T value) {
  if (field == value) return;
  field = value;
  if (series_ != nullptr) series_->RepaintOwner();
}

void TSeriesMarks::SetVisible(bool value) {
  Change(visible_, value);
}
void TSeriesMarks::SetStyle(TSeriesMarksStyle value) {
  Change(style_, value);
}
void TSeriesMarks::SetArrowLength(int value) {
  Change(arrow_length_, value);
}
void TSeriesMarks::SetBackColor(TColor value) {
  Change(back_color_, value);
}
void TSeriesMarks::SetTransparent(bool value) {
  Change(transparent_, value);
}
void TSeriesMarks::SetClip(bool value) {
  Change(clip_, value);
}

const TSeriesMarkPosition* TSeriesMarks::Position(int index) const {
  if (index < 0 || index >= PositionCount()) return nullptr;
  const Slot& slot = positions_[static_cast<size_t>(index)];
  return slot.stored ? &slot.position : nullptr;
}

void TSeriesMarks::SetPosition(int index, const TSeriesMarkPosition& position) {
  if (index < 0) return;
  if (index >= PositionCount()) positions_.resize(static_cast<size_t>(index) + 1);
  positions_[static_cast<size_t>(index)] = Slot{true, position};
}

void TSeriesMarks::DeletePosition(int index) {
  if (index >= 0 && index < PositionCount()) positions_.erase(positions_.begin() + index);
}

void TSeriesMarks::ClearPositions() {
  std::vector<Slot>().swap(positions_);
}

}  // namespace nitko
