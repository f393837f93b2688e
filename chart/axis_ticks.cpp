#include "chart/axis_ticks.h"

#include <algorithm>
#include <cmath>

#include "chart/chart_rounding.h"

namespace nitko {

namespace {

// Wide arithmetic: ticks near the int range must not overflow.
void AddInside(std::vector<int>& out, long long p, int pixelStart, int pixelEnd) {
  if (p > pixelStart && p < pixelEnd) out.push_back(static_cast<int>(p));
}

}  // namespace

std::vector<int> GridPositions(const std::vector<int>& ticks, bool centered) {
  if (!centered) return ticks;
  std::vector<int> out;
  for (size_t i = 1; i < ticks.size(); ++i)
    out.push_back(RoundEven((static_cast<double>(ticks[i]) + ticks[i - 1]) * 0.5));
  return out;
}

std::vector<int> MinorTickPositions(const std::vector<int>& ticks, int count, int pixelStart,
                                    int pixelEnd) {
  std::vector<int> out;
  const size_t n = ticks.size();
  // More ticks per gap than the axis has pixels only repeat positions.
  count = static_cast<int>(std::min<long long>(
      count, std::max<long long>(0, static_cast<long long>(pixelEnd) - pixelStart)));
  if (count <= 0 || n < 2) return out;
  const double outer = (static_cast<double>(ticks[1]) - ticks[0]) / (count + 1.0);
  for (int a = 1; a <= count; ++a) {
    AddInside(out, static_cast<long long>(ticks[0]) - RoundEven(a * outer), pixelStart, pixelEnd);
    AddInside(out, static_cast<long long>(ticks[n - 1]) + RoundEven(a * outer), pixelStart,
              pixelEnd);
  }
  for (size_t i = 1; i < n; ++i) {
    const double s = (static_cast<double>(ticks[i]) - ticks[i - 1]) / (count + 1.0);
    for (int j = 1; j <= count; ++j)
      AddInside(out, static_cast<long long>(ticks[i]) - RoundEven(s * j), pixelStart, pixelEnd);
  }
  return out;
}

std::vector<int> LogMinorTickPositions(const std::vector<int>& ticks, int count, int pixelStart,
                                       int pixelEnd, double base, double rangeMax,
                                       const std::function<int(double)>& pixelOf,
                                       const std::function<double(int)>& valueAtPixel) {
  std::vector<int> out;
  if (count <= 0) return out;
  for (size_t i = 1; i < ticks.size(); ++i) {
    double v = valueAtPixel(ticks[i - 1]);
    const double dv = (base * v - v) / (count + 1);
    for (int j = 0; j < count; ++j) {
      v += dv;
      if (v > rangeMax) break;
      AddInside(out, pixelOf(v), pixelStart, pixelEnd);
    }
  }
  return out;
}

}  // namespace nitko
