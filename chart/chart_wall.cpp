#include "chart/chart_wall.h"

#include "framework/set_if_changed.h"

namespace nitko {

TChartWall::TChartWall(std::function<void()> changed, TColor color)
    : changed_(std::move(changed)), color_(color) {
  brush_.OnChange = [this] { Changed(); };
  pen_.OnChange = [this] { Changed(); };
}

void TChartWall::SetColor(TColor value) {
  SetIfChanged(color_, value, [this] { Changed(); });
}

void TChartWall::SetDark3D(bool value) {
  SetIfChanged(dark_3d_, value, [this] { Changed(); });
}

void TChartWall::SetSize(int value) {
  SetIfChanged(size_, value, [this] { Changed(); });
}

}  // namespace nitko
