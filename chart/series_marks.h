#pragma once

#include <vector>

#include "chart/chart_pen.h"
#include "framework/colors.h"
#include "framework/persistent.h"

namespace nitko {

class TChartSeries;

enum class TSeriesMarksStyle {
  smsValue,
  smsPercent,
  smsLabel,
  smsLabelPercent,
  smsLabelValue,
  smsLegend,
  smsPercentTotal,
  smsLabelPercentTotal,
  smsXValue
};

// Where a point's mark was placed; Custom marks keep their place when the
// chart is laid out again.
struct TSeriesMarkPosition {
  int ArrowFromX = 0, ArrowFromY = 0;
  int ArrowToX = 0, ArrowToY = 0;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Custom = false;
};

// The mark settings of one series. Every setter repaints the series' chart
// only on a real change.
class TSeriesMarks : public TPersistent {
 public:
  explicit TSeriesMarks(TChartSeries* series);

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TSeriesMarksStyle Style() const { return style_; }
  void SetStyle(TSeriesMarksStyle value);
  int ArrowLength() const { return arrow_length_; }
  void SetArrowLength(int value);
  TColor BackColor() const { return back_color_; }
  void SetBackColor(TColor value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool Clip() const { return clip_; }
  void SetClip(bool value);

  // The frame drawn around each mark.
  TChartPen& Frame() { return frame_; }
  const TChartPen& Frame() const { return frame_; }

  TChartSeries* ParentSeries() const { return series_; }

  // Stored positions by point index; nullptr where none is stored.
  const TSeriesMarkPosition* Position(int index) const;
  void SetPosition(int index, const TSeriesMarkPosition& position);
  void DeletePosition(int index);
  void ClearPositions();
  int PositionCount() const { return static_cast<int>(positions_.size()); }

 private:
  template <typename T>
  void Change(T& field, T value);

  struct Slot {
    bool stored = false;
    TSeriesMarkPosition position;
  };

  TChartSeries* series_;
  bool visible_ = false;
  TSeriesMarksStyle style_ = TSeriesMarksStyle::smsLabel;
  int arrow_length_ = 8;
  TColor back_color_ = 0x80FFFF;
  bool transparent_ = false;
  bool clip_ = false;
  TChartPen frame_;
  std::vector<Slot> positions_;
};

}  // namespace nitko
