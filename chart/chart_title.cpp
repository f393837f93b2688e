#include "chart/chart_title.h"

#include "framework/set_if_changed.h"

namespace nitko {

void ApplyChartDefaultFont(TFont& font) {
  font.SetName("Arial");
  font.SetSize(8);
  font.SetColor(clBlack);
  font.SetStyle(0);
}

TChartTitle::TChartTitle(std::function<void()> changed) : changed_(std::move(changed)) {
  ApplyChartDefaultFont(font_);
  font_.SetColor(clBlue);
  text_.OnChange = [this] { Changed(); };
  for (TGraphicsObject* g : std::initializer_list<TGraphicsObject*>{&brush_, &frame_, &font_})
    g->OnChange = [this] { Changed(); };
}

void TChartTitle::SetVisible(bool value) {
  SetIfChanged(visible_, value, [this] { Changed(); });
}

void TChartTitle::SetAlignment(TAlignment value) {
  SetIfChanged(alignment_, value, [this] { Changed(); });
}

void TChartTitle::SetAdjustFrame(bool value) {
  SetIfChanged(adjust_frame_, value, [this] { Changed(); });
}

void TChartTitle::SetColor(TColor value) {
  SetIfChanged(color_, value, [this] { Changed(); });
}

}  // namespace nitko
