#pragma once

#include <functional>

#include "core/run_state.h"

namespace nitko {

// Takes each point of a tabulation; the main window adds them to Series1.
using TPointSink = std::function<void(double x, double y)>;

// Gives the N + 1 points of f(x1, p) to the sink, advancing x1 by the step.
void TabulateFirstCurve(RunState& state, const TPointSink& add);

}  // namespace nitko
