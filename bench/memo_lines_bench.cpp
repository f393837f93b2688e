// What one line of worker 1's memo costs: a memo like the main window's
// (273 x 145, vertical scroll bar, shown) gets the lines of worker 1's runs,
// "  f(x) = y" for 101 points a run, one at a time with the events run after
// each, as the GUI thread lands them. Counters: resident and heap bytes per
// line, taken after the first 1,000 lines so that start-up costs stay out.
// bench/soak.sh subtracts lines × bytes_per_line_rss from the program's growth.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QCoreApplication>
#include <fstream>
#include <string>

#include "core/number_text.h"
#include "core/plotted_function.h"
#include "framework/memo.h"
#include "framework/scroll_style.h"

using namespace nitko;

namespace {

long ResidentBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string key; status >> key;) {
    long kib = 0;
    if (key == "VmRSS:" && status >> kib) return kib * 1024;
  }
  return 0;
}

size_t HeapBytes() { return mallinfo2().uordblks; }

void AppendRuns(TMemo& memo, int lines) {
  for (int i = 0; i < lines; ++i) {
    const double x = (i % 101) * 0.1;
    const double y = static_cast<double>(f(x, 0));
    memo.Lines().Add("  f(" + FormatNumber(x) + ") = " + FormatNumber(y));
    QCoreApplication::processEvents();
  }
}

void BM_MemoLines(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  double rssPerLine = 0, heapPerLine = 0;
  for (auto _ : state) {
    TMemo memo(nullptr);
    memo.SetBounds(0, 0, 273, 145);
    memo.SetScrollBars(TScrollStyle::ssVertical);
    memo.Lines().Add("Wyniki obliczeń x, f(x)");
    memo.Show();
    AppendRuns(memo, 1000);
    const long rss0 = ResidentBytes();
    const size_t heap0 = HeapBytes();
    AppendRuns(memo, lines);
    rssPerLine = static_cast<double>(ResidentBytes() - rss0) / lines;
    heapPerLine = (static_cast<double>(HeapBytes()) - static_cast<double>(heap0)) / lines;
    if (memo.Lines().Count() != lines + 1001) state.SkipWithError("lines lost");
  }
  state.counters["bytes_per_line_rss"] = rssPerLine;
  state.counters["bytes_per_line_heap"] = heapPerLine;
  state.SetItemsProcessed(state.iterations() * lines);
}

}  // namespace

// 20,200 lines: a little more than half an hour of worker 1 restarted at once.
BENCHMARK(BM_MemoLines)->Arg(20200)->Iterations(1)->Unit(benchmark::kMillisecond);
