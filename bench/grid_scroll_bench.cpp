// A grid of 100,000 rows, 800 x 600 pixels: one page of scrolling and one
// move of the current cell, each drawn into the grid's surface. Only the
// cells shown are drawn (the counters say how many). Cells hold either a
// plain colour, which measures the grid alone, or their own number, whose
// text the canvas shapes anew unless it has drawn it before.
#include <benchmark/benchmark.h>

#include <string>

#include "framework/canvas.h"
#include "framework/custom_grid.h"

using namespace nitko;

namespace {

class BenchGrid : public TCustomGrid {
 public:
  BenchGrid(bool numbers) : TCustomGrid(nullptr), numbers_(numbers) {
    SetBounds(0, 0, 800, 600);
    SetColCount(10);
    SetRowCount(100000);
    SetDefaultRowHeight(20);
    Repaint();
  }
  long long draws = 0;

 protected:
  void DrawCell(int col, int row, const TRect& r, TGridDrawState) override {
    ++draws;
    TCanvas& c = Canvas();
    if (!numbers_) {
      c.Brush().SetColor(static_cast<TColor>(row * 2654435761u) & 0xFFFFFF);
      c.FillRect(r);
      return;
    }
    const std::string text = std::to_string(static_cast<long long>(row) * ColCount() + col);
    c.TextRect(r, r.Left + (r.Width() - c.TextWidth(text)) / 2,
               r.Top + (r.Height() - c.TextHeight(text)) / 2, text);
  }

 private:
  bool numbers_;
};

void Report(benchmark::State& state, const BenchGrid& g, const char* name) {
  state.counters[name] = benchmark::Counter(static_cast<double>(g.draws) / state.iterations());
}

// Down page after page: the texts are new each time.
void ScrollOnePage(benchmark::State& state) {
  BenchGrid g(state.range(0) != 0);
  const int page = g.VisibleRowCount();
  int top = 1;
  g.draws = 0;
  for (auto _ : state) {
    top = top + page > g.RowCount() - page ? 1 : top + page;
    g.SetTopRow(top);
    g.Update();
  }
  Report(state, g, "cells_per_page");
}

// Back and forth between two pages: every text has been drawn before.
void ScrollBetweenTwoPages(benchmark::State& state) {
  BenchGrid g(state.range(0) != 0);
  const int page = g.VisibleRowCount();
  bool down = false;
  g.draws = 0;
  for (auto _ : state) {
    down = !down;
    g.SetTopRow(down ? 1 + page : 1);
    g.Update();
  }
  Report(state, g, "cells_per_page");
}

// The old and the new current cell are redrawn, nothing else.
void MoveCurrentCellOneDown(benchmark::State& state) {
  BenchGrid g(state.range(0) != 0);
  int row = 1;
  g.draws = 0;
  for (auto _ : state) {
    row = row + 1 < g.TopRow() + g.VisibleRowCount() ? row + 1 : 1;
    g.MoveCurrent(1, row, true, true);
    g.Update();
  }
  Report(state, g, "cells_per_move");
}

}  // namespace

// Argument: 0 colour cells, 1 number cells.
BENCHMARK(ScrollOnePage)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(ScrollBetweenTwoPages)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(MoveCurrentCellOneDown)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
