#pragma once

#include "chart/chart_pen.h"
#include "chart/chart_series.h"

namespace nitko {

class TCanvas3D;

// The points as one polyline with a single pen: no markers, no per-point
// colours, no fill.
class TFastLineSeries : public TChartSeries {
 public:
  explicit TFastLineSeries(TComponent* owner);

  // True: a new point asks for a repaint. False: its segment is drawn at
  // once onto the chart's surface (points appended at the right end only).
  bool AutoRepaint() const { return auto_repaint_; }
  void SetAutoRepaint(bool value) { auto_repaint_ = value; }

  TChartPen& LinePen() { return line_pen_; }
  const TChartPen& LinePen() const { return line_pen_; }
  // Copies the whole pen, and the series takes the pen's colour.
  void SetLinePen(const TChartPen& pen);
  // Also colours the line; LinePen().SetColor leaves SeriesColor alone.
  void SetSeriesColor(TColor value) override;

  void DrawAllPoints() override;
  void DrawPoint(int index) override;
  // The point under the pixel, or the first point of the segment under it.
  int PointUnder(int x, int y) const override;
  void DrawLegendShape(TColor color, const TRect& rect) override;
  bool PixelsFromValueLists() const override { return true; }

 protected:
  void PointAdded(int index) override;
  bool DrawsLinesBetweenPoints() const override { return true; }

 private:
  void PrepareCanvas(TCanvas3D& canvas) const;
  // The pixels one line per point paints can be had with fewer calls.
  bool CanCollapse(const TCanvas3D& canvas) const;
  // The segment from point index - 1 to index onto the surface now shown.
  void DrawAddedSegment(int index);

  bool auto_repaint_ = true;
  TChartPen line_pen_;
  int old_x_ = 0;
  int old_y_ = 0;
};

}  // namespace nitko
