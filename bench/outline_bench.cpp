// An outline of 1,000,000 items, a random tree up to eight levels deep whose
// texts are "Item <n>" (a third of them top-level items): loading it from
// text (the old tree of the same size is destroyed in the same step), saving
// it, numbering it again after an insertion in front, looking items up by
// random numbers once numbered, expanding everything, and scrolling one
// page of the expanded tree in a 400 x 600 outline, drawn into its surface
// (the counter says how many rows a page draws). Besides, 100,000 children
// appended one by one.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "controls/outline.h"
#include "framework/memory_stream.h"

using namespace nitko;

namespace {

constexpr int kItems = 1000000;

const std::string& MillionLines() {
  static const std::string text = [] {
    std::mt19937 rng(1);
    std::string t;
    int level = 1;
    for (int i = 0; i < kItems; ++i) {
      level = i == 0 ? 1 : std::uniform_int_distribution<int>(1, std::min(level + 1, 8))(rng);
      t.append(static_cast<size_t>(level - 1), '\t');
      t += "Item " + std::to_string(i) + "\r\n";
    }
    return t;
  }();
  return text;
}

class BenchOutline : public TCustomOutline {
 public:
  BenchOutline() : TCustomOutline(nullptr) {
    SetBounds(0, 0, 400, 600);
    TMemoryStream in(MillionLines());
    LoadLines(in);
  }
  long long draws = 0;

 protected:
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override {
    ++draws;
    TCustomOutline::DrawCell(col, row, rect, state);
  }
};

void LoadMillionItems(benchmark::State& state) {
  BenchOutline o;
  for (auto _ : state) {
    state.PauseTiming();
    TMemoryStream in(MillionLines());
    state.ResumeTiming();
    o.LoadLines(in);
  }
  state.counters["items"] = o.ItemCount();
  state.counters["top_level"] = o.RowCount();
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                          static_cast<long long>(MillionLines().size()));
}

void SaveMillionItems(benchmark::State& state) {
  BenchOutline o;
  for (auto _ : state) {
    TMemoryStream out;
    o.SaveLines(out);
    benchmark::DoNotOptimize(out.Size());
  }
}

// An item inserted in front makes every later number stale; the lookup of
// the last number gives them again on its way there.
void RenumberAfterInsertInFront(benchmark::State& state) {
  BenchOutline o;
  for (auto _ : state) {
    o.InsertBefore(1, "new");
    benchmark::DoNotOptimize(o.ItemAt(o.ItemCount()));
    state.PauseTiming();
    o.RemoveItem(1);
    o.ItemAt(o.ItemCount());
    state.ResumeTiming();
  }
}

void ItemAtRandomNumber(benchmark::State& state) {
  BenchOutline o;
  o.ItemAt(kItems);
  std::mt19937 rng(2);
  std::uniform_int_distribution<int> number(1, kItems);
  for (auto _ : state) benchmark::DoNotOptimize(o.ItemAt(number(rng)));
}

// A folder's 100,000 names given one by one as last children of a collapsed
// item, as a folder read on its first expansion gives them.
void AppendHundredThousandChildren(benchmark::State& state) {
  TCustomOutline o(nullptr);
  std::vector<std::string> names;
  for (int i = 0; i < 100000; ++i) names.push_back("folder " + std::to_string(i));
  for (auto _ : state) {
    state.PauseTiming();
    o.Clear();
    o.AppendChild(0, "c:");
    state.ResumeTiming();
    for (const std::string& name : names) o.AppendChild(1, name);
  }
}

void ExpandAll(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto o = std::make_unique<BenchOutline>();
    state.ResumeTiming();
    o->ExpandAll();
    state.PauseTiming();
    o.reset();
    state.ResumeTiming();
  }
}

// Down page after page through the expanded tree.
void ScrollOnePage(benchmark::State& state) {
  BenchOutline o;
  o.ExpandAll();
  o.Repaint();
  const int page = o.VisibleRowCount();
  int top = 0;
  o.draws = 0;
  for (auto _ : state) {
    top = top + page > o.RowCount() - page ? 0 : top + page;
    o.SetTopRow(top);
    o.Update();
  }
  state.counters["rows_per_page"] =
      benchmark::Counter(static_cast<double>(o.draws) / static_cast<double>(state.iterations()));
}

}  // namespace

BENCHMARK(LoadMillionItems)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(SaveMillionItems)->Unit(benchmark::kMillisecond);
BENCHMARK(RenumberAfterInsertInFront)->Unit(benchmark::kMillisecond);
BENCHMARK(ItemAtRandomNumber)->Unit(benchmark::kNanosecond);
BENCHMARK(AppendHundredThousandChildren)->Unit(benchmark::kMillisecond);
BENCHMARK(ExpandAll)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ScrollOnePage)->Unit(benchmark::kMicrosecond);
