#include "controls/performance_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "controls/control_classes.h"
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/form_reader.h"
#include "runtime/exception.h"

using namespace nitko;

namespace {

using Step = std::vector<std::pair<TColor, int>>;

void Feed(TPerformanceGraph& g, const Step& step) {
  for (const auto& [c, v] : step) g.DataPoint(c, v);
  g.Update();
}

TColor Px(const TPerformanceGraph& g, int x, int y) {
  return g.Picture().Canvas().Pixel(x, y);
}

// The picture drawn from scratch: the grid (vertical lines where W + offset
// falls, modulo the grid), then every step in view, newest at the right edge,
// each clipped to its band; a fresh redraw leaves the columns left over blank.
// A widened graph shows `gap` empty bands after the step that was newest
// then, with the `newer` steps fed since to their right.
struct Reference {
  int w, h, step, grid, offset, scale;
  TGraphKind kind;
  bool leftoverBlank;
  int gap = 0, newer = 0;

  std::unique_ptr<TBitmap> Draw(const std::vector<Step>& steps) const {
    auto bmp = std::make_unique<TBitmap>(w, h);
    TCanvas& c = bmp->Canvas();
    c.Brush().SetColor(clBlack);
    c.FillRect(Rect(0, 0, w, h));
    c.Pen().SetColor(clGreen);
    for (int y = grid; y < h; y += grid) c.MoveTo(0, y), c.LineTo(w, y);
    for (int x = ((w + offset) % grid + grid) % grid; x < w; x += grid)
      c.MoveTo(x, 0), c.LineTo(x, h);
    const int n = static_cast<int>(steps.size()), whole = w / step;
    for (int k = 0; k <= whole - (leftoverBlank ? 1 : 0) && scale > 0; ++k) {
      const int right = w - k * step, left = right - step;
      const int i = n - 1 - (k < newer ? k : k < newer + gap ? n : k - gap);
      if (i < 0) continue;
      c.SetClipRect(Rect(left, 0, right, h));
      const Step& now = steps[i];
      const Step none, &before = i > 0 ? steps[i - 1] : none;
      int total = 0;
      for (const auto& [color, v] : now) {
        if (v <= 0) continue;
        if (kind == TGraphKind::pgBar) {
          // The block's height and its base are truncated apart.
          const int high = std::trunc(static_cast<long double>(v - total) / scale * h);
          const int base = std::trunc(static_cast<long double>(total) / scale * h);
          c.Brush().SetColor(color);
          if (high != 0) c.FillRect(Rect(left, h - base - high - 1, right, h - base));
        } else {
          auto old = std::find_if(before.begin(), before.end(),
                                  [c = color](const auto& p) { return p.first == c; });
          const int from = old == before.end() ? 0 : std::max(old->second, 0);
          // Double quotients, the product in extended precision.
          const long double lh = h;
          c.Pen().SetColor(color);
          c.MoveTo(left, h - static_cast<int>(lh * (static_cast<double>(from) / scale)));
          c.LineTo(right, h - static_cast<int>(lh * (static_cast<double>(v) / scale)));
        }
        total = v;
      }
    }
    return bmp;
  }
};

::testing::AssertionResult SamePicture(const TPerformanceGraph& g, const TBitmap& want) {
  if (g.Picture().Width() != want.Width() || g.Picture().Height() != want.Height())
    return ::testing::AssertionFailure() << "size differs";
  for (int y = 0; y < want.Height(); ++y)
    for (int x = 0; x < want.Width(); ++x)
      if (const TColor w = want.Canvas().Pixel(x, y); Px(g, x, y) != w)
        return ::testing::AssertionFailure()
               << "(" << x << ", " << y << ") is " << Px(g, x, y) << ", want " << w;
  return ::testing::AssertionSuccess();
}

}  // namespace

// 100 x 100, green lines 15 apart on black; each empty step moves the
// vertical ones a band left.
TEST(PerformanceGraph, DefaultGraphAndItsFirstScrolls) {
  TPerformanceGraph g(nullptr);
  EXPECT_EQ(std::tuple(g.GetBandCount(), g.SlotCount()), std::tuple(33, 35));
  for (int offset : {4, 1, 13}) {
    EXPECT_EQ(g.GridOffset(), offset);
    const Reference ref{100, 100, 3, 15, offset, 0, TGraphKind::pgBar, false};
    EXPECT_TRUE(SamePicture(g, *ref.Draw({}))) << offset;
    g.Update();
  }
}

// One step into a fresh 100 x 100 graph; the rows each colour covers in the
// newest band, columns 97..99.
TEST(PerformanceGraph, NewestBandRows) {
  constexpr TGraphKind bar = TGraphKind::pgBar, line = TGraphKind::pgLine;
  struct Case {
    TGraphKind kind;
    Step before, now;
    std::vector<std::pair<TColor, std::pair<int, int>>> rows;  // colour: top..bottom
  } cases[] = {
      {bar, {}, {{clRed, 30}, {clBlue, 70}}, {{clRed, {70, 99}}, {clBlue, {29, 69}}}},
      // Extended precision: 57 of 100 stays 57 (a double product gives 56).
      {bar, {}, {{clRed, 57}}, {{clRed, {42, 99}}}},
      // A 0 neither draws nor moves the running total; a negative counts as 0.
      {bar,
       {},
       {{clRed, 30}, {clLime, 0}, {clAqua, -20}, {clBlue, 70}},
       {{clRed, {70, 99}}, {clBlue, {29, 69}}}},
      // 30 of 100 is 29 pixels high as a line: the double nearest 0.3 is below it.
      {line, {{clRed, 30}}, {{clRed, 30}}, {{clRed, {71, 71}}}},
      // A colour new in this step rises from height 0, row 100 (off the picture).
      {line, {{clBlue, 30}}, {{clRed, 30}}, {{clRed, {76, 99}}}},
      {line, {{clRed, -40}}, {{clRed, 100}}, {{clRed, {17, 99}}}},
  };
  for (const Case& k : cases) {
    TPerformanceGraph g(nullptr);
    g.SetGridlines(false);
    g.SetGraphKind(k.kind);
    Feed(g, k.before);
    Feed(g, k.now);
    ASSERT_EQ(g.Scale(), 100);
    for (const auto& [color, range] : k.rows) {
      int top = INT_MAX, bottom = -1;
      for (int y = 0; y < 100; ++y)
        for (int x = 97; x < 100; ++x)
          if (Px(g, x, y) == color) top = std::min(top, y), bottom = y;
      EXPECT_EQ(std::make_pair(top, bottom), range) << std::hex << color;
    }
  }
}

TEST(PerformanceGraph, ScaleFollowsTheRingAndTellsItsChanges) {
  TPerformanceGraph g(nullptr);
  int changes = 0;
  g.OnScaleChange = [&](TComponent* s) { changes += s == &g; };
  Feed(g, {{clRed, 0}});  // all 0: Scale 0, nothing drawn
  EXPECT_EQ(std::pair(g.Scale(), changes), std::pair(0, 1));
  Feed(g, {{clRed, 250}});
  EXPECT_EQ(std::pair(g.Scale(), changes), std::pair(300, 2));
  for (int i = 0; i < 33; ++i) Feed(g, {{clRed, 50}});  // 250 still in the oldest slot
  EXPECT_EQ(std::pair(g.Scale(), changes), std::pair(300, 2));
  Feed(g, {{clRed, 50}});
  EXPECT_EQ(std::pair(g.Scale(), changes), std::pair(100, 3));
  g.SetScale(250);  // rounded, then replaced by the next Update
  EXPECT_EQ(g.Scale(), 300);
  Feed(g, {});
  EXPECT_EQ(std::pair(g.Scale(), changes), std::pair(100, 5));
}

// Every picture the graph shows, after scrolls, redraws and resizes, is the
// one drawn band by band from what it was fed.
TEST(PerformanceGraph, PicturesMatchABandByBandDrawing) {
  for (TGraphKind kind : {TGraphKind::pgBar, TGraphKind::pgLine}) {
    SCOPED_TRACE(static_cast<int>(kind));
    TPerformanceGraph g(nullptr);
    g.SetBounds(0, 0, 101, 80);
    g.SetGraphKind(kind);
    g.SetGradient(50);
    std::vector<Step> steps;
    int offset = 4;  // the new graph's, kept by every redraw
    int gap = 0, newer = 0;
    std::mt19937 rng(7);
    auto check = [&](bool replayed, const char* when, bool resized = false) {
      const int bands = g.Width() / g.StepSize();
      int max = 0;
      for (size_t i = steps.size() > size_t(bands + 1) ? steps.size() - bands - 1 : 0;
           i < steps.size(); ++i)
        for (const auto& p : steps[i]) max = std::max(max, p.second);
      // A resize keeps the scale until the next Update.
      if (!resized) {
        ASSERT_EQ(g.Scale(), (max + 49) / 50 * 50) << when;
      }
      if (replayed && !resized) gap = 0;  // a redraw closes it: the empty slots are the oldest
      const Reference ref{g.Width(), g.Height(), 3,        15,  offset,
                          g.Scale(), kind,       replayed, gap, newer};
      ASSERT_TRUE(SamePicture(g, *ref.Draw(steps))) << when << " after " << steps.size();
    };
    auto run = [&](int count, int top) {
      for (int i = 0; i < count; ++i) {
        Step s;
        for (TColor c : {clRed, clYellow, clAqua})
          if (rng() % 4) s.emplace_back(c, static_cast<int>(rng() % top) - top / 10);
        steps.push_back(s);
        const int before = g.Scale();
        Feed(g, s);
        ++newer;
        offset = ((offset - 3) % 15 + 15) % 15;
        check(g.Scale() != before, "update");
      }
    };
    auto resize = [&](int w, int h) {
      const size_t keep = std::min(g.GetBandCount(), w / 3) + 1;
      if (steps.size() > keep) steps.erase(steps.begin(), steps.end() - keep);
      gap = std::max(w / 3 - g.GetBandCount(), 0);
      newer = 0;
      g.SetBounds(0, 0, w, h);
      g.Repaint();
      check(true, "resize", true);
    };
    run(50, 400);
    g.SetBackColor(clNavy);
    g.SetBackColor(clBlack);
    check(true, "redraw");
    run(10, 2000);
    resize(137, 60);
    run(60, 300);
    resize(64, 64);
    run(30, 900);
  }
}

TEST(PerformanceGraph, SettersChangeOnlyWhatDiffersAndLimitsHold) {
  TPerformanceGraph g(nullptr);
  for (int i = 0; i < 16; ++i) g.DataPoint(clRed, i);
  EXPECT_THROW(g.DataPoint(clBlue, 99), ERangeError);
  EXPECT_EQ(g.History(g.Current()).Count, 16);
  g.Repaint();
  const int paints = g.PaintCount();
  g.SetGraphKind(g.Kind());
  g.SetForeColor(g.ForeColor());
  g.SetBackColor(g.BackColor());
  g.SetGridSize(g.GridSize());
  g.SetStepSize(g.StepSize());
  g.SetScale(g.Scale());
  g.SetGradient(g.Gradient());
  g.SetGridlines(g.Gridlines());
  g.SetPenWidth(g.PenWidth());
  EXPECT_EQ(g.PaintCount(), paints);
  g.SetGridSize(1);
  g.SetStepSize(0);
  g.SetPenWidth(5);
  EXPECT_EQ(std::tuple(g.PaintCount(), g.GridSize(), g.StepSize(), g.SlotCount(),
                       g.Canvas().Pen().Width()),
            std::tuple(paints + 3, 2, 1, 102, 5));
  EXPECT_EQ(TPerformanceGraph::RoundUp(-250, 100), -100);
  EXPECT_EQ(TPerformanceGraph::RoundUp(INT_MAX, 100), INT_MAX);
  EXPECT_EQ(TPerformanceGraph::RoundUp(INT_MIN, -1), INT_MIN);
  EXPECT_EQ(TPerformanceGraph::RoundUp(7, 0), 7);
}

// Sizes and values the scale rule does not cover: no crash, no pixel outside
// the control, vertical lines still on the grid.
TEST(PerformanceGraph, BadInputStaysInsideTheControl) {
  struct Case {
    int w, h, step, grid, scale;
    Step values;
  } cases[] = {
      {2, 50, 3, 15, -1, {{clRed, 500}}},  // narrower than one band
      {0, 0, 3, 15, -1, {{clRed, 5}}},
      {100, 100, 40, 15, -1, {{clRed, 5}}},  // a band wider than the grid
      {100, 100, 3, 15, -1, {{clRed, -5}, {clBlue, INT_MIN}}},
      {100, 100, 3, 15, -1, {{clRed, INT_MAX}, {clBlue, 1}}},
      {100, 100, 3, 15, 0, {{clRed, 500}}},  // Scale 0 by hand
      {100, 100, 3, 15, 1, {{clRed, INT_MAX}}},
      {32767, 20, 1, 2, -1, {{clRed, 7}}},
      {100, 100, INT_MAX, INT_MAX, -1, {{clRed, 5}}},
  };
  for (const Case& k : cases) {
    TPerformanceGraph g(nullptr);
    g.SetBounds(0, 0, k.w, k.h);
    g.SetStepSize(k.step);
    g.SetGridSize(k.grid);
    g.SetGraphKind(TGraphKind::pgBar);
    for (int i = 0; i < 40; ++i) Feed(g, k.values);
    EXPECT_TRUE(g.GridOffset() >= 0 && g.GridOffset() < k.grid) << g.GridOffset();
    for (int x = 0; k.w == 100 && k.step == 40 && x < 100; ++x)  // lines 15 apart
      EXPECT_EQ(Px(g, x, 1) == clGreen, x % 15 == (100 + g.GridOffset()) % 15) << x;
    if (k.scale >= 0) g.SetScale(k.scale);  // by hand, below the values
    g.SetGraphKind(TGraphKind::pgLine);     // both kinds drawn
    g.Repaint();
    EXPECT_EQ(std::make_pair(g.Picture().Width(), g.Picture().Height()), std::make_pair(k.w, k.h));
    EXPECT_TRUE(k.scale != 0 || Px(g, 50, 99) == clBlack);  // Scale 0 draws nothing
  }
}

TEST(PerformanceGraph, FormDescriptionPlacesIt) {
  RegisterControlClasses();
  std::unique_ptr<TComponent> root(TFormReader().Create(
      "object Graph: TPerformanceGraph\n  Width = 200\n  Kind = pgBar\n  StepSize = 4\n"
      "  Gridlines = False\n  BackColor = clNavy\nend\n",
      nullptr));
  auto* g = dynamic_cast<TPerformanceGraph*>(root.get());
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->SlotCount(), 52);
  EXPECT_EQ(g->Gradient(), 100);  // not stored: the constructor's value
  EXPECT_TRUE(g->GradientStored());
  g->Repaint();
  EXPECT_EQ(g->Canvas().Pixel(150, 30), clNavy);  // the bitmap shown
}
