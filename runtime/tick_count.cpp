#include "runtime/tick_count.h"

#include <chrono>

namespace nitko {

namespace {
// Fixed during static initialisation, before any thread of ours exists.
const std::chrono::steady_clock::time_point kProcessStart = std::chrono::steady_clock::now();
}  // namespace

uint32_t GetTickCount() {
  const auto elapsed = std::chrono::steady_clock::now() - kProcessStart;
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace nitko
