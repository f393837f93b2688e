#include "core/first_tabulation.h"

#include "core/plotted_function.h"
#include "runtime/extended.h"

namespace nitko {

void TabulateFirstCurve(RunState& state, const TPointSink& add) {
  const int32_t p = state.p.load();
  for (int32_t i = 0; i <= RunState::N; ++i) {
    const double x = state.x1.load();
    add(x, static_cast<double>(f(x, p)));
    state.x1.store(static_cast<double>(static_cast<Extended>(state.step) + x));
  }
}

}  // namespace nitko
