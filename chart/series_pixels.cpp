#include "chart/series_pixels.h"

#include <typeinfo>

#include "chart/chart_axis.h"
#include "chart/chart_series.h"
#include "chart/chart_value_list.h"
#include "chart/fast_line_series.h"
#include "chart/point_series.h"

namespace nitko {

namespace {

// Classes that keep TChartSeries's XOf/YOf/PixelX/PixelY; a class derived
// from them may change those, so only exact matches count.
bool KeepsBaseLookups(const TChartSeries& series) {
  const std::type_info& t = typeid(series);
  return t == typeid(TFastLineSeries) || t == typeid(TPointSeries);
}

bool PlainList(const TChartValueList& list) { return typeid(list) == typeid(TChartValueList); }

}  // namespace

TSeriesPixels::TSeriesPixels(const TChartSeries& series) : series_(series) {
  const TCustomChartAxis* h = series.GetHorizAxis();
  const TCustomChartAxis* v = series.GetVertAxis();
  direct_ = h != nullptr && v != nullptr && KeepsBaseLookups(series) &&
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
