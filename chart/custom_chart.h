#pragma once

#include <memory>

#include "chart/chart_legend.h"
#include "chart/chart_title.h"
#include "chart/chart_wall.h"
#include "chart/custom_axis_panel.h"

namespace nitko {

// Space in pixels between a title and the plot area.
inline constexpr int kTitleDistance = 5;

// The chart with its title, foot, legend and walls: it draws them around
// and behind the plot area and lets the legend take its room.
class TCustomChart : public TCustomAxisPanel {
 public:
  explicit TCustomChart(TComponent* owner);
  ~TCustomChart() override;

  TChartTitle& Title() { return *title_; }
  TChartTitle& Foot() { return *foot_; }
  TChartLegend& Legend() { return *legend_; }
  TChartWall& BackWall() { return *back_wall_; }
  TChartWall& LeftWall() { return *left_wall_; }
  TChartWall& BottomWall() { return *bottom_wall_; }
  const TChartTitle& Title() const { return *title_; }
  const TChartTitle& Foot() const { return *foot_; }
  const TChartLegend& Legend() const { return *legend_; }
  const TChartWall& BackWall() const { return *back_wall_; }

  // In 3D with walls, the thickness of the left or bottom wall.
  int AxisWallSize(const TCustomChartAxis& axis) const override;

 protected:
  void DrawTitles() override;
  void DrawWallSet() override;
  // One title on top of the plot area or at its bottom; the plot area
  // gives up the room it takes.
  void DrawTitle(TChartTitle& title, bool onTop);
  // The legend box beside (vertical) or above/below the plot area.
  void DrawLegend();

 private:
  // Canvas pen and brush as the wall asks for.
  void PrepareWall(const TChartWall& wall);
  // Active series the legend lists.
  int LegendItemCount() const;

  std::unique_ptr<TChartTitle> title_;
  std::unique_ptr<TChartTitle> foot_;
  std::unique_ptr<TChartWall> back_wall_;
  std::unique_ptr<TChartWall> left_wall_;
  std::unique_ptr<TChartLegend> legend_;
  std::unique_ptr<TChartWall> bottom_wall_;
};

}  // namespace nitko
