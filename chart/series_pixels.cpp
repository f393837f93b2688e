#include "chart/series_pixels.h"

#include <typeinfo>

#include "chart/chart_axis.h"
#include "chart/chart_series.h"
#include "chart/chart_value_list.h"

namespace nitko {

namespace {

bool PlainList(const TChartValueList& list) { return typeid(list) == typeid(TChartValueList); }

}  // namespace

TSeriesPixels::TSeriesPixels(const TChartSeries& series) : series_(series) {
  const TCustomChartAxis* h = series.GetHorizAxis();
  const TCustomChartAxis* v = series.GetVertAxis();
  direct_ = h != nullptr && v != nullptr && series.PixelsFromValueLists() &&
            PlainList(series.XValues()) && PlainList(series.YValues());
  if (!direct_) return;
  xs_ = series.XValues().RawValues();
  ys_ = series.YValues().RawValues();
  x_multiplier_ = series.XValues().Multiplier();
  y_multiplier_ = series.YValues().Multiplier();
  x_map_ = h->PixelMap(true);
  y_map_ = v->PixelMap(false);
}

int TSeriesPixels::Asked(int index, bool x) const {
  return x ? series_.PixelX(index) : series_.PixelY(index);
}

}  // namespace nitko
