#include "chart/custom_axis_panel.h"

#include <algorithm>

#include "chart/chart_palette.h"
#include "chart/chart_series.h"

namespace nitko {

TCustomAxisPanel::TCustomAxisPanel(TComponent* owner) : TComponent(owner) {}

TCustomAxisPanel::~TCustomAxisPanel() {
  MarkDestroying();
  // Series that outlive the chart must not point back at it.
  for (TChartSeries* series : series_list_) series->parent_chart_ = nullptr;
  series_list_.Clear();
}

TColor TCustomAxisPanel::FreeSeriesColor() const {
  for (int i = 0; i < kPaletteSize; ++i) {
    const TColor c = PaletteColor(i);
    if (c == Color() || c == BackColor()) continue;
    const bool used = std::any_of(series_list_.begin(), series_list_.end(),
                                  [c](const TChartSeries* s) { return s->SeriesColor() == c; });
    if (!used) return c;
  }
  return PaletteColor(kPaletteSize);
}

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
  if (series == nullptr || series_list_.Contains(series)) return;
  if (series->parent_chart_ != nullptr) series->parent_chart_->RemoveSeries(series);
  // Coloured before it joins, so choosing the colour asks for no repaint.
  if (series->SeriesColor() == clDefault) series->SetSeriesColor(FreeSeriesColor());
  series_list_.Add(series);
  series->parent_chart_ = this;
  RequestRepaint();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
  if (!series_list_.Contains(series)) return;
  series_list_.Remove(series);
  series->parent_chart_ = nullptr;
  RequestRepaint();
}

void TCustomAxisPanel::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  RequestRepaint();
}

void TCustomAxisPanel::SetBackColor(TColor value) {
  if (value == back_color_) return;
  back_color_ = value;
  RequestRepaint();
}

void TCustomAxisPanel::RequestRepaint() {
  if (IsDestroying()) return;
  ++repaint_requests_;
}

}  // namespace nitko
