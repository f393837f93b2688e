// Reading a folder of 100,000 sub-folders the way the directory outline
// expands one: list the folders (no stat per entry), case the names, and put
// them in the order of its insertion walk. Collation "C" is code-point order,
// "pl_PL.UTF-8" a real user's locale. The literal walk on a few thousand names
// shows what the insertion order saves.
#include <benchmark/benchmark.h>

#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/many_folders.h"
#include "runtime/drive_map.h"
#include "runtime/file_name_case.h"
#include "runtime/file_name_order.h"
#include "runtime/folder_search.h"

using namespace nitko;
using namespace nitko::bench;

namespace {

std::vector<std::string> ListLowerCased() {
  std::vector<std::string> names;
  names.reserve(kFolders);
  for (TFolderSearch s("B:\\*.*", faDirectory); s.Found(); s.Next())
    if (s.Entry().IsDirectory() && s.Entry().Name[0] != '.')
      names.push_back(LowerCaseFileName(DisplayFileName(s.Entry().Name)));
  return names;
}

void BM_ListSubFolders(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ListLowerCased());
  state.SetItemsProcessed(state.iterations() * kFolders);
}

void BM_InsertionOrder(benchmark::State& state) {
  if (!SetFileNameCollation(kCollations[state.range(0)])) return state.SkipWithError("no such locale");
  state.SetLabel(kCollations[state.range(0)]);
  const std::vector<std::string> names = ListLowerCased();
  for (auto _ : state) benchmark::DoNotOptimize(FileNameInsertionOrder(names));
  state.SetItemsProcessed(state.iterations() * kFolders);
}

void BM_ListAndOrder(benchmark::State& state) {
  if (!SetFileNameCollation(kCollations[state.range(0)])) return state.SkipWithError("no such locale");
  state.SetLabel(kCollations[state.range(0)]);
  for (auto _ : state) benchmark::DoNotOptimize(FileNameInsertionOrder(ListLowerCased()));
  state.SetItemsProcessed(state.iterations() * kFolders);
}

// The walk itself, on the first n names listed.
void BM_LiteralInsertionWalk(benchmark::State& state) {
  SetFileNameCollation("C");
  std::vector<std::string> names = ListLowerCased();
  names.resize(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    std::vector<const std::string*> placed;
    for (const std::string& n : names) {
      auto at = placed.begin();
      while (at != placed.end() && CompareFileNames(**at, n) < 0) ++at;
      placed.insert(at, &n);
    }
    benchmark::DoNotOptimize(placed);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_ListSubFolders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertionOrder)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListAndOrder)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiteralInsertionWalk)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  MakeFolders();
  benchmark::RunSpecifiedBenchmarks();
  RemoveFolders();
  benchmark::Shutdown();
  return 0;
}
