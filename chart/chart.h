#pragma once

#include "chart/custom_chart.h"

namespace nitko {

// The chart control a form places; its properties are published by
// RegisterChartClasses.
class TChart : public TCustomChart {
 public:
  explicit TChart(TComponent* owner);
};

}  // namespace nitko
