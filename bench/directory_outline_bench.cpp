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
#include "runtime/drive_map.h"
#include "runtime/file_name_order.h"

using namespace nitko;

namespace {

constexpr int kFolders = 100000;
const char* const kCollations[] = {"C", "pl_PL.UTF-8"};
std::string gRoot;

void MakeFolders() {
  char pattern[] = "/tmp/nitko-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) std::abort();
  gRoot = pattern;
  std::vector<std::string> names;
  const char* stems[] = {"folder", "Folder", "ŻÓŁW", "zebra", "Ąbc", "data"};
  for (int i = 0; i < kFolders; ++i)
    names.push_back(std::string(stems[i % 6]) + "_" + std::to_string(i / 2 * 7919 % 1000003));
  std::shuffle(names.begin(), names.end(), std::mt19937(1));
  for (const std::string& n : names) mkdir((gRoot + "/" + n).c_str(), 0755);
  MapDrive('B', gRoot);
}

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
  nftw(gRoot.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
       FTW_DEPTH | FTW_PHYS);
  benchmark::Shutdown();
  return 0;
}
