#pragma once

// The data of a chart frame benchmark, shared with the peers' programs so
// that every chart draws the same thing: the program's two curves,
// f(x, p) = exp(-x) - cos(x) + p*x/10 on [0, 10] with p = 0 for the line and
// p = 1 for the points, at n equally spaced x.

#include <cmath>
#include <vector>

namespace frame_bench {

inline constexpr int kFrameWidth = 753;
inline constexpr int kFrameHeight = 321;
inline constexpr int kFramePointCounts[] = {101, 10000, 1000000};
inline constexpr const char* kFrameTitle = "Wykres  badanej  funkcji  f(x,p)  oraz  f(x, p+1)";

struct FrameData {
  std::vector<double> x;
  std::vector<double> line;    // p = 0
  std::vector<double> points;  // p = 1
};

inline FrameData MakeFrameData(int n) {
  FrameData d;
  d.x.reserve(n);
  d.line.reserve(n);
  d.points.reserve(n);
  for (int i = 0; i < n; ++i) {
    const double x = n > 1 ? 10.0 * i / (n - 1) : 0.0;
    const double base = std::exp(-x) - std::cos(x);
    d.x.push_back(x);
    d.line.push_back(base);
    d.points.push_back(base + x / 10.0);
  }
  return d;
}

}  // namespace frame_bench
