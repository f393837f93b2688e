#pragma once

#include "chart/chart_series_list.h"
#include "framework/colors.h"
#include "framework/component.h"

namespace nitko {

class TChartSeries;

// The chart panel as far as its series are concerned: it holds them in
// order, gives new ones a free palette colour and collects repaint requests.
class TCustomAxisPanel : public TComponent {
 public:
  explicit TCustomAxisPanel(TComponent* owner);
  ~TCustomAxisPanel() override;

  const TChartSeriesList& SeriesList() const { return series_list_; }
  TChartSeries* SeriesAt(int index) const { return series_list_.At(index); }
  int SeriesCount() const { return series_list_.Count(); }
  // Takes the series over from any other chart; a series already held is
  // left alone.
  void AddSeries(TChartSeries* series);
  void RemoveSeries(TChartSeries* series);

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  // The colour behind the plot area; clDefault means none of its own.
  virtual TColor BackColor() const { return back_color_; }
  virtual void SetBackColor(TColor value);

  virtual void RequestRepaint();
  long long RepaintRequestCount() const { return repaint_requests_; }

 private:
  TColor FreeSeriesColor() const;

  TChartSeriesList series_list_;
  TColor color_ = clBtnFace;
  TColor back_color_ = clDefault;
  long long repaint_requests_ = 0;
};

}  // namespace nitko
