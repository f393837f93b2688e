#include "chart/chart_legend.h"

#include "chart/chart_title.h"

namespace nitko {

TChartLegend::TChartLegend(std::function<void()> changed) : changed_(std::move(changed)) {
  ApplyChartDefaultFont(font_);
  brush_.SetColor(clWhite);
  for (TGraphicsObject* g : std::initializer_list<TGraphicsObject*>{&frame_, &brush_, &font_,
                                                                   &dividing_lines_})
    g->OnChange = [this] { Changed(); };
}

}  // namespace nitko
