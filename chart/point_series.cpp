#include "chart/point_series.h"

namespace nitko {

TPointSeries::TPointSeries(TComponent* owner) : TCustomSeries(owner) {
  draw_line_ = false;
  clickable_line_ = false;
  Marks().SetArrowLength(0);
  Pointer().SetVisible(true);
}

void TPointSeries::SetColorEachPoint(bool value) {
  TCustomSeries::SetColorEachPoint(value);
  if (value) Pointer().Brush().SetColor(clDefault);
}

}  // namespace nitko
