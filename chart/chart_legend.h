#pragma once

#include <algorithm>
#include <functional>

#include "chart/chart_brush.h"
#include "chart/chart_pen.h"
#include "framework/colors.h"
#include "framework/font.h"
#include "framework/persistent.h"
#include "framework/set_if_changed.h"
#include "framework/surface.h"

namespace nitko {

enum class TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum class TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
enum class TLegendTextStyle {
  ltsPlain,
  ltsLeftValue,
  ltsRightValue,
  ltsLeftPercent,
  ltsRightPercent,
  ltsXValue
};

// The legend's settings. The chart draws it as a box of its active series'
// colours and titles, and with ResizeChart takes its room from the plot
// area; the style, text and row settings are kept but not yet drawn.
class TChartLegend : public TPersistent {
 public:
  explicit TChartLegend(std::function<void()> changed);
  TChartLegend(const TChartLegend&) = delete;
  TChartLegend& operator=(const TChartLegend&) = delete;

  bool Visible() const { return visible_; }
  void SetVisible(bool value) { Set(visible_, value); }
  TLegendAlignment Alignment() const { return alignment_; }
  void SetAlignment(TLegendAlignment value) { Set(alignment_, value); }
  // Left or right of the plot area, not above or below it.
  bool Vertical() const {
    return alignment_ == TLegendAlignment::laLeft || alignment_ == TLegendAlignment::laRight;
  }
  bool ResizeChart() const { return resize_chart_; }
  void SetResizeChart(bool value) { Set(resize_chart_, value); }
  int TopPos() const { return top_pos_; }
  // A percent of the plot height.
  void SetTopPos(int value) { Set(top_pos_, std::clamp(value, -100, 100)); }
  int ColorWidth() const { return color_width_; }
  void SetColorWidth(int value) { Set(color_width_, Pixels(value)); }
  int MaxNumRows() const { return max_num_rows_; }
  void SetMaxNumRows(int value) { Set(max_num_rows_, value); }
  int ShadowSize() const { return shadow_size_; }
  void SetShadowSize(int value) { Set(shadow_size_, Pixels(value)); }
  TColor ShadowColor() const { return shadow_color_; }
  void SetShadowColor(TColor value) { Set(shadow_color_, value); }
  TLegendStyle LegendStyle() const { return legend_style_; }
  void SetLegendStyle(TLegendStyle value) { Set(legend_style_, value); }
  TLegendTextStyle TextStyle() const { return text_style_; }
  void SetTextStyle(TLegendTextStyle value) { Set(text_style_, value); }
  TColor Color() const { return color_; }
  void SetColor(TColor value) { Set(color_, value); }
  int FirstValue() const { return first_value_; }
  void SetFirstValue(int value) { Set(first_value_, value); }
  int HorizMargin() const { return horiz_margin_; }
  void SetHorizMargin(int value) { Set(horiz_margin_, Pixels(value)); }
  int VertMargin() const { return vert_margin_; }
  void SetVertMargin(int value) { Set(vert_margin_, Pixels(value)); }
  bool Inverted() const { return inverted_; }
  void SetInverted(bool value) { Set(inverted_, value); }

  TChartPen& Frame() { return frame_; }
  TChartBrush& Brush() { return brush_; }
  TFont& Font() { return font_; }
  TChartHiddenPen& DividingLines() { return dividing_lines_; }

 private:
  // Sizes held to a surface's side, so the legend's box stays within int.
  static int Pixels(int value) { return std::clamp(value, -kMaxSurfaceSide, kMaxSurfaceSide); }
  template <class T>
  void Set(T& field, T value) {
    SetIfChanged(field, value, [this] { Changed(); });
  }
  void Changed() {
    if (changed_) changed_();
  }

  std::function<void()> changed_;
  bool visible_ = true;
  TLegendAlignment alignment_ = TLegendAlignment::laRight;
  bool resize_chart_ = true;
  int top_pos_ = 10;
  int color_width_ = 12;
  int max_num_rows_ = 10;
  int shadow_size_ = 3;
  TColor shadow_color_ = clBlack;
  TLegendStyle legend_style_ = TLegendStyle::lsAuto;
  TLegendTextStyle text_style_ = TLegendTextStyle::ltsLeftValue;
  TColor color_ = clWhite;
  int first_value_ = 0;
  int horiz_margin_ = 0;
  int vert_margin_ = 0;
  bool inverted_ = false;
  TChartPen frame_;
  TChartBrush brush_;
  TFont font_;
  TChartHiddenPen dividing_lines_;
};

}  // namespace nitko
