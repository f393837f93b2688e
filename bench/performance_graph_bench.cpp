// The performance graph at 400 x 100 with 16 points a step: one Update (a
// copy of the picture onto itself, one new band, the copy to the control)
// and a full redraw from the ring of 135 steps, for bars and for lines.
#include <benchmark/benchmark.h>

#include "controls/performance_graph.h"

using namespace nitko;

namespace {

class Graph : public TPerformanceGraph {
 public:
  using TPerformanceGraph::Replay;
  explicit Graph(TGraphKind kind) : TPerformanceGraph(nullptr) {
    SetBounds(0, 0, 400, 100);
    SetGraphKind(kind);
    for (int i = 0; i < 200; ++i) Step(i);
  }
  // Sixteen rising values of 16 colours; the last is always 1000, so the
  // scale stays put and every Update takes the one-band road.
  void Step(int i) {
    for (int p = 0; p < 15; ++p) DataPoint(0x101010u * p + 0x0F, 60 * p + (i * 7 + p * 13) % 50);
    DataPoint(clWhite, 1000);
    Update();
  }
};

void BM_Update(benchmark::State& state) {
  Graph g(static_cast<TGraphKind>(state.range(0)));
  int i = 0;
  for (auto _ : state) g.Step(i++);
  if (g.Scale() != 1000) state.SkipWithError("the scale moved");
  state.SetItemsProcessed(state.iterations());
}

void BM_Replay(benchmark::State& state) {
  Graph g(static_cast<TGraphKind>(state.range(0)));
  for (auto _ : state) g.Replay();
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_Update)->ArgName("line")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Replay)->ArgName("line")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
