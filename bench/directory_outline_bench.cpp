// Expanding the directory outline's item of a folder of 100,000 sub-folders:
// the listing, the casing, the order and the 100,000 items, in code-point
// order ("C") and a real user's locale.
#include <benchmark/benchmark.h>

#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>
#include <random>
#include <string>
#include <vector>

#include "controls/directory_outline.h"
#include "bench/many_folders.h"
#include "runtime/drive_map.h"
#include "runtime/file_name_order.h"

using namespace nitko;
using namespace nitko::bench;

namespace {

void BM_ExpandFolderOf100000(benchmark::State& state) {
  if (!SetFileNameCollation(kCollations[state.range(0)])) return state.SkipWithError("no such locale");
  state.SetLabel(kCollations[state.range(0)]);
  TCDirectoryOutline o(nullptr);
  o.SetBounds(0, 0, 400, 600);
  o.SetDrive('B');
  for (auto _ : state) {
    state.PauseTiming();
    o.BuildTree();
    state.ResumeTiming();
    o.ItemAt(1)->Expand();
  }
  if (o.ItemCount() != kFolders + 1) state.SkipWithError("wrong item count");
  state.SetItemsProcessed(state.iterations() * kFolders);
}

BENCHMARK(BM_ExpandFolderOf100000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  MakeFolders();
  benchmark::RunSpecifiedBenchmarks();
  RemoveFolders();
  benchmark::Shutdown();
  return 0;
}
