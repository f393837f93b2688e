#include "core/run_state.h"

namespace nitko {

RunState& TheRunState() {
  static RunState state;
  return state;
}

}  // namespace nitko
