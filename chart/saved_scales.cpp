#include "chart/saved_scales.h"

#include "chart/chart_axis.h"
#include "chart/custom_axis_panel.h"

namespace nitko {

TAxisScale TAxisScale::Of(const TCustomChartAxis& axis) {
  return {axis.Automatic(), axis.AutomaticMinimum(), axis.AutomaticMaximum(), axis.Minimum(),
          axis.Maximum()};
}

void TAxisScale::ApplyTo(TCustomChartAxis& axis) const {
  // The range first: SetRange switches every automatic end off, and the
  // switches that follow must be the saved ones.
  if (!Automatic) axis.SetRange(Minimum, Maximum);
  axis.SetAutomatic(Automatic);
  axis.SetAutomaticMinimum(AutomaticMinimum);
  axis.SetAutomaticMaximum(AutomaticMaximum);
}

void TSavedScales::Save(const TCustomAxisPanel& chart) {
  Top = TAxisScale::Of(chart.TopAxis());
  Bottom = TAxisScale::Of(chart.BottomAxis());
  Left = TAxisScale::Of(chart.LeftAxis());
  Right = TAxisScale::Of(chart.RightAxis());
}

void TSavedScales::Restore(TCustomAxisPanel& chart) const {
  Top.ApplyTo(chart.TopAxis());
  Bottom.ApplyTo(chart.BottomAxis());
  Left.ApplyTo(chart.LeftAxis());
  Right.ApplyTo(chart.RightAxis());
}

}  // namespace nitko
