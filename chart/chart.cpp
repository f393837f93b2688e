#include "chart/chart.h"

namespace nitko {

TChart::TChart(TComponent* owner) : TCustomChart(owner) {}

}  // namespace nitko
