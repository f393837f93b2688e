#pragma once

#include "chart/axis_labels.h"
#include "chart/chart_axis.h"
#include "framework/types.h"

namespace nitko {

class TCanvas3D;
class TTeeCanvas;

// Title, labels, axis line, ticks, grid, minor ticks and minor grid.
void DrawAxis(TCustomChartAxis& axis, TCanvas3D& canvas, bool calcLinePos);

// Sets AxisLinePos, LabelsPos and TitlePos; with shrink the rect loses the
// axis' bands on its side.
void ReserveSpace(TCustomChartAxis& axis, TTeeCanvas& canvas, TRect& rect, bool shrink);

}  // namespace nitko
