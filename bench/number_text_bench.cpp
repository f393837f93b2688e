// FormatNumber and ParseNumber against the C library on a million random doubles.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/number_text.h"

using namespace nitko;

namespace {

constexpr size_t kCount = 1000000;

const std::vector<double>& Values() {
  static const std::vector<double> values = [] {
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> mant(-1, 1);
    std::uniform_int_distribution<int> exp(-30, 30);
    std::vector<double> v(kCount);
    for (double& d : v) d = std::ldexp(mant(rng), exp(rng));
    return v;
  }();
  return values;
}

const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> t;
    t.reserve(kCount);
    for (double d : Values()) t.push_back(FormatNumber(d));
    return t;
  }();
  return texts;
}

void BM_FormatNumber(benchmark::State& state) {
  for (auto _ : state)
    for (double d : Values()) benchmark::DoNotOptimize(FormatNumber(d));
  state.SetItemsProcessed(state.iterations() * kCount);
}

void BM_Snprintf15Lg(benchmark::State& state) {
  char buf[64];
  for (auto _ : state)
    for (double d : Values()) {
      int n = std::snprintf(buf, sizeof buf, "%.15Lg", static_cast<long double>(d));
      benchmark::DoNotOptimize(std::string(buf, n));
    }
  state.SetItemsProcessed(state.iterations() * kCount);
}

void BM_ParseNumber(benchmark::State& state) {
  const auto& texts = Texts();
  for (auto _ : state)
    for (const std::string& t : texts) benchmark::DoNotOptimize(ParseNumber(t));
  state.SetItemsProcessed(state.iterations() * kCount);
}

void BM_Strtold(benchmark::State& state) {
  const auto& texts = Texts();
  for (auto _ : state)
    for (const std::string& t : texts) benchmark::DoNotOptimize(std::strtold(t.c_str(), nullptr));
  state.SetItemsProcessed(state.iterations() * kCount);
}

}  // namespace

BENCHMARK(BM_FormatNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Snprintf15Lg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Strtold)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
