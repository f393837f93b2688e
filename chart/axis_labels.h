#pragma once

#include <string>
#include <vector>

#include "chart/chart_axis.h"

namespace nitko {

class TCanvas3D;
class TFont;
class TTeeCanvas;

// Lines of a label text; multi-line labels separate them with '\r'.
std::vector<std::string> SplitLabelLines(const std::string& text);
int WidestLabelLine(TTeeCanvas& canvas, const std::string& text);

// talAuto resolved against the series attached to the axis.
TAxisLabelStyle EffectiveLabelStyle(const TCustomChartAxis& axis);

// The label text of a value; the chart's OnGetAxisLabel may change it unless
// askChart is off (as while space is measured).
std::string AxisLabelText(const TCustomChartAxis& axis, double v, bool askChart = true);

// Label extent along a horizontal / vertical axis, measured with the canvas
// font (which callers set to the axis' labels font).
int LabelTextWidth(const TCustomChartAxis& axis, TTeeCanvas& canvas, double v,
                   bool askChart = true);
int LabelTextHeight(const TCustomChartAxis& axis, TTeeCanvas& canvas, double v,
                    bool askChart = true);

// The distance between labels for the current range and label size.
double AxisLabelStep(const TCustomChartAxis& axis, TTeeCanvas& canvas, bool askChart = true);

// The widest mark or label text of the chart's series, for point labels.
int WidestPointLabel(const TCustomChartAxis& axis, TTeeCanvas& canvas, TAxisLabelStyle style);

// The tick pixels of one drawing in label order; when drawTexts is set the
// label texts are drawn as they are produced.
std::vector<int> EnumerateLabels(TCustomChartAxis& axis, TCanvas3D& canvas, bool drawTexts);

// The canvas font becomes font (white turns black while printing) over a
// clear brush of the chart's colour.
void PrepareAxisText(const TCustomChartAxis& axis, TTeeCanvas& canvas, const TFont& font);

// A label or title text aligned to the axis' side; the canvas font is the
// caller's.
void DrawAxisText(const TCustomChartAxis& axis, TCanvas3D& canvas, int x, int y,
                  const std::string& text, int angle);

}  // namespace nitko
