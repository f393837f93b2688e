#pragma once

#include <string>
#include <vector>

#include "chart/chart_axis.h"
#include "framework/types.h"

namespace nitko {

class TCanvas3D;
class TTeeCanvas;

// talAuto resolved against the series attached to the axis.
TAxisLabelStyle EffectiveLabelStyle(const TCustomChartAxis& axis);

// Label extent along a horizontal / vertical axis, measured with the canvas
// font (which callers set to the axis' labels font).
int LabelTextWidth(const TCustomChartAxis& axis, TTeeCanvas& canvas, double v);
int LabelTextHeight(const TCustomChartAxis& axis, TTeeCanvas& canvas, double v);

// The distance between labels for the current range and label size.
double AxisLabelStep(const TCustomChartAxis& axis, TTeeCanvas& canvas);

// The tick pixels of one drawing in label order; when drawTexts is set the
// label texts are drawn as they are produced.
std::vector<int> EnumerateLabels(TCustomChartAxis& axis, TCanvas3D& canvas, bool drawTexts);

// A label or title text aligned to the axis' side; the canvas font is the
// caller's.
void DrawAxisText(const TCustomChartAxis& axis, TCanvas3D& canvas, int x, int y,
                  const std::string& text, int angle);

// Title, labels, axis line, ticks, grid, minor ticks and minor grid.
void DrawAxis(TCustomChartAxis& axis, TCanvas3D& canvas, bool calcLinePos);

// Sets AxisLinePos, LabelsPos and TitlePos; with shrink the rect loses the
// axis' bands on its side.
void ReserveSpace(TCustomChartAxis& axis, TTeeCanvas& canvas, TRect& rect, bool shrink);

}  // namespace nitko
