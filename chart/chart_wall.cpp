#include "chart/chart_wall.h"

#include <algorithm>

#include "framework/set_if_changed.h"
#include "framework/surface.h"

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
  // No wall is thicker than a surface; the walls' edges stay within int.
  SetIfChanged(size_, std::clamp(value, -kMaxSurfaceSide, kMaxSurfaceSide),
               [this] { Changed(); });
}

}  // namespace nitko
