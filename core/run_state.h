#pragma once

#include <atomic>
#include <cstdint>

namespace nitko {

// The process-wide values the main window and both workers share. a, b and
// step are written once while the window is built, before any worker exists;
// the rest cross threads and are atomic.
struct RunState {
  static constexpr int32_t N = 100;  // steps; a tabulation has N + 1 points

  double a = 0.0;
  double b = 0.0;
  double step = 0.0;
  std::atomic<int32_t> p{0};
  std::atomic<double> x1{0.0};
  std::atomic<double> x2{0.0};
  std::atomic<int32_t> thread1{0};
  std::atomic<int32_t> thread2{0};
  std::atomic<uint32_t> threadId1{0};
  std::atomic<uint32_t> threadId2{0};
};

// The instance of the running program.
RunState& TheRunState();

}  // namespace nitko
