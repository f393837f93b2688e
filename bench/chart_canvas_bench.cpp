// One chart frame of 753 x 321 through the buffered canvas: an empty frame
// (BeginFrame, EndFrame copying the buffer out) and a repaint with nothing
// changed (BlitIfClean, one copy).
#include <benchmark/benchmark.h>

#include "chart/tee_canvas.h"
#include "framework/bitmap.h"
#include "framework/types.h"

using namespace nitko;

namespace {

constexpr int kWidth = 753;
constexpr int kHeight = 321;

void BM_EmptyFrame(benchmark::State& state) {
  TBitmap window(kWidth, kHeight);
  TTeeCanvas3D canvas;
  const TRect rect{0, 0, kWidth, kHeight};
  for (auto _ : state) {
    canvas.MarkDirty();
    const TRect drawn = canvas.BeginFrame(&window.Canvas(), nullptr, rect, false);
    benchmark::DoNotOptimize(drawn);
    canvas.EndFrame(&window.Canvas(), &window.Canvas(), rect);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_CleanRepaint(benchmark::State& state) {
  TBitmap window(kWidth, kHeight);
  TTeeCanvas3D canvas;
  const TRect rect{0, 0, kWidth, kHeight};
  // The first frame fills the buffer; the later ones find it clean.
  canvas.BeginFrame(&window.Canvas(), nullptr, rect, false);
  canvas.EndFrame(&window.Canvas(), &window.Canvas(), rect);
  bool clean = true;
  for (auto _ : state) clean = canvas.BlitIfClean() && clean;
  if (!clean) state.SkipWithError("buffer was not clean");
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CleanRepaint)->Unit(benchmark::kMicrosecond);
