#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "chart/chart_palette.h"
#include "chart/chart_series.h"
#include "chart/chart_value_list.h"
#include "chart/custom_axis_panel.h"
#include "chart/two_ended_array.h"
#include "runtime/exception.h"

namespace nitko {
namespace {

std::string ListErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EListError& e) {
    return e.Message();
  }
  return "no error";
}

std::vector<double> Xs(const TChartSeries& s) {
  std::vector<double> out;
  for (int i = 0; i < s.PointCount(); ++i) out.push_back(s.XOf(i));
  return out;
}

// A chart with one series on it, the shape the program uses.
struct ChartFixture : ::testing::Test {
  TCustomAxisPanel chart{nullptr};
  TChartSeries* series = new TChartSeries(&chart);
  void SetUp() override { series->SetParentChart(&chart); }
  long long Repaints() const { return chart.RepaintRequestCount(); }
};

TEST(ValueListTest, InsertInOrderKeepsArrivalOrderOfEqualValues) {
  TChartValueList up(nullptr, "X");
  up.SetOrder(TChartListOrder::loAscending);
  for (double v : {1.0, 3.0, 3.0, 5.0}) up.InsertInOrder(v);
  EXPECT_EQ(up.InsertInOrder(3.0), 3);  // after both existing 3s
  EXPECT_EQ(up.InsertInOrder(0.5), 0);
  EXPECT_EQ(up.InsertInOrder(9.0), 6);

  TChartValueList down(nullptr, "X");
  down.SetOrder(TChartListOrder::loDescending);
  for (double v : {5.0, 3.0, 1.0}) down.InsertInOrder(v);
  EXPECT_EQ(down.InsertInOrder(3.0), 2);
  EXPECT_EQ(down.InsertInOrder(7.0), 0);
  EXPECT_EQ(down.InsertInOrder(0.0), 5);

  TChartValueList none(nullptr, "Y");
  none.InsertInOrder(5.0);
  EXPECT_EQ(none.InsertInOrder(1.0), 1);
}

// The insertion rule as a plain backward walk, the reference for the list.
size_t WalkedIndex(const std::vector<double>& values, TChartListOrder order, double v) {
  size_t index = values.size();
  if (order == TChartListOrder::loNone) return index;
  const bool ascending = order == TChartListOrder::loAscending;
  while (index > 0 && (ascending ? values[index - 1] > v : values[index - 1] < v)) --index;
  return index;
}

bool SameValues(const TChartValueList& list, const std::vector<double>& model) {
  if (list.ValueCount() != static_cast<int>(model.size())) return false;
  for (size_t i = 0; i < model.size(); ++i) {
    const double v = list.ValueAt(static_cast<int>(i));
    if (!(v == model[i] || (std::isnan(v) && std::isnan(model[i])))) return false;
  }
  return true;
}

enum class Shape { Rising, Falling, Random, Ties, NaNs, Mixed };

// Every step inserts in order and, for the mixed shape, also changes the list
// in the other ways that can break its order, checking against the literal
// walk on a plain vector after each step.
TEST(ValueListTest, InsertInOrderMatchesTheBackwardWalk) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    unsigned seed;
    Shape shape;
    TChartListOrder order;
  } cases[] = {
      {1, Shape::Rising, TChartListOrder::loAscending},
      {2, Shape::Falling, TChartListOrder::loAscending},
      {3, Shape::Falling, TChartListOrder::loDescending},
      {4, Shape::Rising, TChartListOrder::loDescending},
      {5, Shape::Random, TChartListOrder::loAscending},
      {6, Shape::Random, TChartListOrder::loDescending},
      {7, Shape::Ties, TChartListOrder::loAscending},
      {8, Shape::Ties, TChartListOrder::loDescending},
      {9, Shape::NaNs, TChartListOrder::loAscending},
      {10, Shape::NaNs, TChartListOrder::loDescending},
      {11, Shape::Mixed, TChartListOrder::loAscending},
      {12, Shape::Mixed, TChartListOrder::loDescending},
      {13, Shape::Mixed, TChartListOrder::loAscending},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "seed " << c.seed << " shape " << int(c.shape));
    std::mt19937 random(c.seed);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    TChartValueList list(nullptr, "X");
    list.SetOrder(c.order);
    std::vector<double> model;
    TChartListOrder order = c.order;
    for (int step = 0; step < 1500; ++step) {
      double v = 0;
      switch (c.shape) {
        case Shape::Rising: v = step + below(3) * 0.5; break;
        case Shape::Falling: v = -step - below(3) * 0.5; break;
        case Shape::Random: v = below(1000) - 500.0; break;
        case Shape::Ties: v = below(4); break;
        case Shape::NaNs:
        case Shape::Mixed:
          v = below(12) == 0 ? nan : (below(2) ? -step : step % 37) + (below(5) == 0 ? -0.0 : 0.0);
          break;
      }
      const size_t expected = WalkedIndex(model, order, v);
      ASSERT_EQ(list.InsertInOrder(v), static_cast<int>(expected)) << "step " << step;
      model.insert(model.begin() + static_cast<long>(expected), v);

      if (c.shape == Shape::Mixed && !model.empty()) {
        const int at = below(static_cast<int>(model.size()));
        switch (below(16)) {
          case 0:
            list.ReplaceValue(at, step % 11);
            model[size_t(at)] = step % 11;
            break;
          case 1:
            list.RemoveAt(at);
            model.erase(model.begin() + at);
            break;
          case 2:
            list.InsertAtIndex(at, -step);
            model.insert(model.begin() + at, -step);
            break;
          case 3: {
            const int other = below(static_cast<int>(model.size()));
            list.Exchange(at, other);
            std::swap(model[size_t(at)], model[size_t(other)]);
            break;
          }
          case 4:
            list.RotateLeft();
            std::rotate(model.begin(), model.begin() + 1, model.end());
            break;
          case 5: {
            // The order turns, directly or through another list's settings.
            order = order == TChartListOrder::loAscending ? TChartListOrder::loDescending
                                                         : TChartListOrder::loAscending;
            TChartValueList settings(nullptr, "S");
            settings.SetOrder(order);
            if (step % 2)
              list.SetOrder(order);
            else
              list.Assign(settings);
            break;
          }
          default:
            break;
        }
      }
      ASSERT_TRUE(SameValues(list, model)) << "step " << step;
    }
  }
}

// The column storage against std::vector on random edits at both ends and
// inside; vacated slots must not keep their strings.
TEST(TwoEndedArrayTest, BehavesLikeAVector) {
  for (unsigned seed : {1u, 2u, 3u}) {
    std::mt19937 random(seed);
    const auto below = [&](size_t n) {
      return std::uniform_int_distribution<size_t>(0, n - 1)(random);
    };
    TTwoEndedArray<std::string> array;
    std::vector<std::string> model;
    for (int step = 0; step < 2000; ++step) {
      const std::string text(below(40), static_cast<char>('a' + step % 26));
      const size_t op = below(10);
      if (op < 3) {
        array.push_front(text);
        model.insert(model.begin(), text);
      } else if (op < 5) {
        array.push_back(text);
        model.push_back(text);
      } else if (op < 7) {
        const size_t at = below(model.size() + 1);
        array.insert(array.begin() + at, text);
        model.insert(model.begin() + static_cast<long>(at), text);
      } else if (!model.empty() && op < 9) {
        const size_t at = below(model.size());
        array.erase(array.begin() + at);
        model.erase(model.begin() + static_cast<long>(at));
      } else if (step % 500 == 0) {
        const size_t n = below(model.size() + 5);
        array.resize(n, "pad");
        model.resize(n, "pad");
      }
      ASSERT_EQ(array.size(), model.size()) << "step " << step;
      if (step % 20 == 0 || step == 1999) {
        ASSERT_EQ(std::vector<std::string>(array.begin(), array.end()), model) << "step " << step;
      }
    }
    array.release();
    EXPECT_EQ(array.size(), 0u);
    EXPECT_EQ(array.capacity(), 0u);
  }
  // What leaves the array is let go at once, from either end.
  const auto token = std::make_shared<int>(0);
  TTwoEndedArray<std::shared_ptr<int>> held;
  for (int i = 0; i < 100; ++i) i % 2 ? held.push_back(token) : held.push_front(token);
  for (int i = 0; i < 60; ++i) held.erase_at(i % 3 == 0 ? held.size() - 1 : i % 3 == 1 ? 0 : held.size() / 2);
  held.resize(30);
  EXPECT_EQ(token.use_count(), 1 + 30);
  held.release();
  EXPECT_EQ(token.use_count(), 1);
}

// Points arriving in falling order land at the front; the storage grows with
// the count, not with the count squared or a fixed reserve.
TEST(ValueListTest, FrontInsertsKeepStorageProportional) {
  TChartValueList list(nullptr, "X");
  list.SetOrder(TChartListOrder::loAscending);
  const int n = 20000;
  for (int i = 0; i < n; ++i) ASSERT_EQ(list.InsertInOrder(n - i), 0);
  EXPECT_LE(list.Capacity(), 4u * n);
  EXPECT_EQ(list.RawValues().size(), size_t(n));
  EXPECT_EQ(list.RawValues().front(), 1);
  EXPECT_EQ(list.RawValues().back(), n);
  EXPECT_EQ(list.InsertInOrder(n / 2 + 0.5), n / 2);
}

TEST(ValueListTest, BadIndicesRaiseTheListError) {
  TChartValueList list(nullptr, "Y");
  for (int i = 0; i < 5; ++i) list.InsertAtIndex(i, i);
  const std::string expected = "List index out of bounds (5)";
  EXPECT_EQ(ListErrorOf([&] { list.ValueAt(5); }), expected);
  EXPECT_EQ(ListErrorOf([&] { list.ReplaceValue(5, 1); }), expected);
  EXPECT_EQ(ListErrorOf([&] { list.RemoveAt(5); }), expected);
  EXPECT_EQ(ListErrorOf([&] { list.ValueAt(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(ListErrorOf([&] { list.InsertAtIndex(6, 0); }), "List index out of bounds (6)");
  list.InsertAtIndex(5, 42);  // count itself appends
  EXPECT_EQ(list.LastValue(), 42);
  TChartValueList empty(nullptr, "Y");
  EXPECT_EQ(ListErrorOf([&] { empty.LastValue(); }), "List index out of bounds (-1)");
}

TEST(ValueListTest, StatisticsFollowChangesAndMultiplier) {
  TChartValueList list(nullptr, "Y");
  EXPECT_EQ(list.HighestValue(), 0);
  EXPECT_EQ(list.LowestValue(), 0);
  EXPECT_EQ(list.ValuesSum(), 0);
  EXPECT_EQ(list.ValuesAbsSum(), 0);

  for (double v : {3.0, -5.0, 2.0}) list.InsertInOrder(v);
  EXPECT_EQ(list.HighestValue(), 3);
  EXPECT_EQ(list.LowestValue(), -5);
  EXPECT_EQ(list.ValuesSum(), 0);
  EXPECT_EQ(list.ValuesAbsSum(), 10);

  list.ReplaceValue(1, 7);
  EXPECT_EQ(list.HighestValue(), 7);
  EXPECT_EQ(list.LowestValue(), 2);
  list.RemoveAt(1);
  EXPECT_EQ(list.HighestValue(), 3);

  list.SetMultiplier(-2);
  EXPECT_EQ(list.ValueAt(0), -6);
  EXPECT_EQ(list.HighestValue(), -4);
  EXPECT_EQ(list.LowestValue(), -6);
  EXPECT_EQ(list.ValuesAbsSum(), 10);
  EXPECT_EQ(list.IndexOfValue(-4), 1);
  EXPECT_EQ(list.IndexOfValue(2), -1);  // the raw value is not what is read

  list.ClearAllValues();
  EXPECT_EQ(list.ValuesSum(), 0);
}

TEST(ValueListTest, MultiplierDoesNotChangeTheInsertionOrder) {
  TChartValueList list(nullptr, "X");
  list.SetOrder(TChartListOrder::loAscending);
  list.InsertInOrder(1);
  list.InsertInOrder(3);
  list.SetMultiplier(2);
  EXPECT_EQ(list.InsertInOrder(1.5), 1);  // compared with raw 1 and 3, not 2 and 6
  EXPECT_EQ(list.ValueAt(1), 3);
}

TEST(ValueListTest, ClearReleasesStorageAndReshapingOperationsWork) {
  TChartValueList list(nullptr, "Y");
  for (int i = 0; i < 1000; ++i) list.InsertAtIndex(i, i * 10.0);
  list.ClearAllValues();
  EXPECT_EQ(list.ValueCount(), 0);
  EXPECT_EQ(list.Capacity(), 0u);

  for (double v : {4.0, 5.0, 6.0}) list.InsertInOrder(v);
  list.RotateLeft();
  EXPECT_EQ(list.ValueAt(0), 5);
  EXPECT_EQ(list.ValueAt(2), 4);
  list.NumberSequentially();
  EXPECT_EQ(list.ValueAt(2), 2);
  EXPECT_EQ(list.HighestValue(), 2);

  TChartValueList source(nullptr, "Source");
  source.SetOrder(TChartListOrder::loDescending);
  source.SetDateTime(true);
  source.SetMultiplier(3);
  source.SetValueSource("field");
  list.Assign(source);
  EXPECT_EQ(list.Name(), "Y");
  EXPECT_EQ(list.ValueCount(), 3);
  EXPECT_EQ(list.Order(), TChartListOrder::loDescending);
  EXPECT_TRUE(list.DateTime());
  EXPECT_EQ(list.ValueSource(), "field");
  EXPECT_EQ(list.HighestValue(), 6);  // the new multiplier invalidates the statistics
}

TEST_F(ChartFixture, NewSeriesHasTheDocumentedShape) {
  EXPECT_EQ(series->ValueLists().Count(), 2);
  EXPECT_EQ(series->ValueLists().At(0), &series->XValues());
  EXPECT_EQ(series->ValueLists().At(1), &series->YValues());
  EXPECT_EQ(series->XValues().Name(), "X");
  EXPECT_EQ(series->YValues().Name(), "Y");
  EXPECT_EQ(series->XValues().Order(), TChartListOrder::loAscending);
  EXPECT_EQ(series->YValues().Order(), TChartListOrder::loNone);
  EXPECT_TRUE(series->MainListIsY());
  EXPECT_EQ(series->FirstVisible(), -1);
  EXPECT_FALSE(series->Marks().Visible());
  EXPECT_EQ(series->Marks().ArrowLength(), 8);
  EXPECT_EQ(series->Marks().BackColor(), 0x80FFFFu);
  EXPECT_EQ(series->RecalcOptions(), TSeriesRecalcOptions::All());
}

TEST_F(ChartFixture, OutOfOrderPointsCarryTheirColumnsAlong) {
  series->AddPoint(1, 10, "a", clBlue);
  series->AddPoint(3, 30, "", clDefault);
  EXPECT_EQ(series->AddPoint(2, 20, "b", clLime), 1);
  EXPECT_EQ(series->AddPoint(3, 31, "c", clDefault), 3);  // after the equal x
  EXPECT_EQ(Xs(*series), (std::vector<double>{1, 2, 3, 3}));
  EXPECT_EQ(series->YOf(1), 20);
  EXPECT_EQ(series->YOf(2), 30);
  EXPECT_EQ(series->YOf(3), 31);
  EXPECT_EQ(series->PointColor(1), clLime);
  EXPECT_EQ(series->PointLabel(1), "b");
  EXPECT_EQ(series->PointLabel(2), "");
  EXPECT_EQ(series->PointLabel(99), "");

  series->DeletePoint(1);
  EXPECT_EQ(Xs(*series), (std::vector<double>{1, 3, 3}));
  EXPECT_EQ(series->PointLabel(2), "c");
  EXPECT_EQ(series->PointColor(0), clBlue);
  EXPECT_EQ(ListErrorOf([&] { series->DeletePoint(5); }), "List index out of bounds (5)");
}

TEST_F(ChartFixture, FallingXIsInsertedAtTheFront) {
  for (int i = 10; i >= 0; --i) EXPECT_EQ(series->AddPoint(i, -i, "", clDefault), 0);
  EXPECT_EQ(series->XOf(0), 0);
  EXPECT_EQ(series->YOf(10), -10);
  EXPECT_EQ(series->HighestX(), 10);
  EXPECT_EQ(series->LowestY(), -10);
}

TEST_F(ChartFixture, BeforeAddCanRefuseAndAfterAddSeesTheIndex) {
  series->AddPoint(5, 0, "", clDefault);
  double stagedX = 0;
  std::vector<int> added;
  series->OnBeforeAdd = [&](TChartSeries* s) {
    stagedX = s->XValues().PendingValue();
    return stagedX < 100;
  };
  series->OnAfterAdd = [&](TChartSeries*, int index) { added.push_back(index); };
  const long long before = Repaints();
  EXPECT_EQ(series->AddPoint(200, 1, "x", clRed), -1);
  EXPECT_EQ(stagedX, 200);
  EXPECT_EQ(series->PointCount(), 1);
  EXPECT_EQ(Repaints(), before);
  EXPECT_EQ(series->AddPoint(1, 1, "", clDefault), 0);
  EXPECT_EQ(added, std::vector<int>{0});
  EXPECT_EQ(Repaints(), before + 1);
}

TEST_F(ChartFixture, OneValueAndGapsNumberThePoints) {
  EXPECT_EQ(series->AddOneValue(7, "", clDefault), 0);
  EXPECT_EQ(series->AddGap("hole"), 1);
  EXPECT_EQ(series->XOf(1), 1);
  EXPECT_TRUE(series->IsGap(1));
  EXPECT_FALSE(series->IsGap(0));
  series->AddGapXY(0.5, 2, "");
  EXPECT_TRUE(series->IsGap(1));
  EXPECT_EQ(series->PointLabel(2), "hole");
}

TEST_F(ChartFixture, PointColourResolution) {
  series->SetSeriesColor(clTeal);
  series->SetColorEachPoint(true);
  for (int i = 0; i < 20; ++i) series->AddPoint(i, i, "", i == 3 ? clNavy : clDefault);
  EXPECT_EQ(series->PointColor(0), clRed);
  EXPECT_EQ(series->PointColor(17), clGreen);
  EXPECT_EQ(series->PointColor(15), clBlack);
  EXPECT_EQ(series->PointColor(3), clNavy);
  EXPECT_EQ(series->PointColor(20), clTeal);  // beyond the colour column
  EXPECT_EQ(series->PointColor(-1), clTeal);
  EXPECT_EQ(PaletteColor(4), clWhite);
  EXPECT_EQ(PaletteColor(16), clRed);
  EXPECT_EQ(PaletteColor(-1), clBlack);
}

TEST_F(ChartFixture, TurningColorEachPointOffResetsEveryPoint) {
  series->SetSeriesColor(clMaroon);
  series->SetColorEachPoint(true);
  for (int i = 0; i < 5; ++i) series->AddPoint(i, i, "", clAqua);
  const long long before = Repaints();
  series->SetColorEachPoint(false);
  EXPECT_EQ(Repaints(), before + 1 + 5);  // the setter, then each point
  for (int i = 0; i < 5; ++i) EXPECT_EQ(series->PointColor(i), clMaroon);
  series->SetColorEachPoint(false);
  EXPECT_EQ(Repaints(), before + 6);
}

TEST_F(ChartFixture, RepaintsOnlyOnRealChanges) {
  long long expected = Repaints();
  series->SetTitle("t");
  series->SetTitle("t");
  series->SetHorizAxis(THorizAxis::aTopAxis);
  series->SetHorizAxis(THorizAxis::aTopAxis);
  series->Marks().SetVisible(true);
  series->Marks().SetVisible(true);
  series->XValues().SetDateTime(true);
  series->XValues().SetDateTime(true);
  series->YValues().SetMultiplier(1);
  EXPECT_EQ(Repaints(), expected += 4);

  series->AddPoint(1, 1, "", clDefault);
  series->SetPointColor(0, clRed);
  EXPECT_EQ(Repaints(), expected += 2);
  series->YValues().ReplaceValue(0, 9);  // modifies without repainting
  EXPECT_EQ(Repaints(), expected);

  series->SetActive(false);
  EXPECT_EQ(Repaints(), expected += 1);
  series->AddPoint(2, 2, "", clDefault);
  series->DeletePoint(0);
  series->ClearPoints();
  EXPECT_EQ(Repaints(), expected);  // an inactive series keeps quiet about its data

  TChartSeries loose(nullptr);  // no chart: setters only store
  loose.SetSeriesColor(clRed);
  loose.AddPoint(1, 1, "", clDefault);
  EXPECT_EQ(loose.SeriesColor(), clRed);
}

TEST_F(ChartFixture, ClearPointsEmptiesEveryColumn) {
  int cleared = 0;
  series->OnClearValues = [&](TChartSeries* s) {
    ++cleared;
    EXPECT_EQ(s->PointCount(), 0);
  };
  for (int i = 0; i < 100; ++i) series->AddPoint(i, i, "label", clBlue);
  series->Marks().SetPosition(3, TSeriesMarkPosition{});
  const long long before = Repaints();
  series->ClearPoints();
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(Repaints(), before + 1);
  EXPECT_EQ(series->XValues().Capacity(), 0u);
  EXPECT_EQ(series->YValues().Capacity(), 0u);
  EXPECT_EQ(series->Marks().Position(3), nullptr);
  EXPECT_EQ(series->PointLabel(0), "");
  EXPECT_EQ(series->PointColor(0), series->SeriesColor());
  EXPECT_EQ(series->AddPoint(5, 5, "", clDefault), 0);
}

TEST_F(ChartFixture, SortInOrderMovesColoursAndLabelsWithTheirPoints) {
  // Fill the X list directly in an order the add operation would not keep.
  series->XValues().SetOrder(TChartListOrder::loNone);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> pick(0, 40);
  for (int i = 0; i < 300; ++i) {
    const int x = pick(random);  // with many duplicates
    series->AddPoint(x, x * 100 + 1, std::to_string(x), static_cast<TColor>(x));
  }
  for (TChartListOrder order : {TChartListOrder::loAscending, TChartListOrder::loDescending}) {
    series->XValues().SetOrder(order);
    series->XValues().SortInOrder();
    for (int i = 0; i < series->PointCount(); ++i) {
      const double x = series->XOf(i);
      ASSERT_EQ(series->YOf(i), x * 100 + 1);
      ASSERT_EQ(series->PointLabel(i), std::to_string(static_cast<int>(x)));
      ASSERT_EQ(series->PointColor(i), static_cast<TColor>(x));
      if (i == 0) continue;
      if (order == TChartListOrder::loAscending) {
        ASSERT_LE(series->XOf(i - 1), x);
      } else {
        ASSERT_GE(series->XOf(i - 1), x);
      }
    }
  }
  series->SwapPoints(0, 1);
  EXPECT_EQ(ListErrorOf([&] { series->SwapPoints(0, 300); }), "List index out of bounds (300)");
}

TEST(ChartTest, SeriesListOrderAndPaletteAssignment) {
  TCustomAxisPanel chart(nullptr);
  EXPECT_EQ(chart.Color(), clBtnFace);
  EXPECT_EQ(ListErrorOf([&] { chart.SeriesAt(5); }), "List index out of bounds (5)");

  auto* first = new TChartSeries(&chart);
  auto* second = new TChartSeries(&chart);
  auto* third = new TChartSeries(&chart);
  third->SetSeriesColor(clYellow);
  chart.AddSeries(third);
  const long long before = chart.RepaintRequestCount();
  chart.AddSeries(first);
  EXPECT_EQ(chart.RepaintRequestCount(), before + 1);
  chart.AddSeries(first);
  first->SetParentChart(&chart);
  EXPECT_EQ(chart.RepaintRequestCount(), before + 1);
  chart.SetColor(clGreen);  // palette entries the chart itself shows are skipped
  second->SetParentChart(&chart);
  EXPECT_EQ(first->SeriesColor(), clRed);
  EXPECT_EQ(second->SeriesColor(), clBlue);
  EXPECT_EQ(chart.SeriesCount(), 3);
  EXPECT_EQ(chart.SeriesAt(0), third);
  EXPECT_EQ(chart.SeriesAt(2), second);
  EXPECT_EQ(second->HighestZ(), 2);
  second->SetZOrder(7);
  EXPECT_EQ(second->LowestZ(), 7);

  delete third;  // leaves the chart
  EXPECT_EQ(chart.SeriesCount(), 2);
  EXPECT_EQ(chart.SeriesAt(0), first);
  EXPECT_EQ(first->HighestZ(), 0);
}

TEST(ChartTest, FullPaletteFallsBackToTheFirstEntry) {
  TCustomAxisPanel chart(nullptr);
  for (int i = 0; i < kPaletteSize; ++i) {
    auto* s = new TChartSeries(&chart);
    s->SetParentChart(&chart);
    EXPECT_EQ(s->SeriesColor(), PaletteColor(i));
  }
  auto* extra = new TChartSeries(&chart);
  chart.AddSeries(extra);
  EXPECT_EQ(extra->SeriesColor(), clRed);
}

TEST(ChartTest, SeriesMovesBetweenChartsAndOutlivesOne) {
  TChartSeries series(nullptr);
  auto left = std::make_unique<TCustomAxisPanel>(nullptr);
  TCustomAxisPanel right(nullptr);
  series.SetParentChart(left.get());
  right.AddSeries(&series);
  EXPECT_EQ(left->SeriesCount(), 0);
  EXPECT_EQ(series.ParentChart(), &right);
  series.SetParentChart(left.get());
  left.reset();
  EXPECT_EQ(series.ParentChart(), nullptr);
  EXPECT_EQ(right.SeriesCount(), 0);
  series.AddPoint(1, 1, "", clDefault);  // must not reach the freed chart
}

TEST_F(ChartFixture, MarkTextFollowsTheMarksStyle) {
  series->AddPoint(1, 30, "", clDefault);
  series->AddPoint(2, 1234.5, "big", clDefault);
  series->AddPoint(3, -65.5, "", clDefault);  // negative values count by size in the total
  const auto text = [this](TSeriesMarksStyle style, int index) {
    series->Marks().SetStyle(style);
    return series->MarkText(index);
  };
  EXPECT_EQ(text(TSeriesMarksStyle::smsLabel, 0), "30");  // no label: the value
  EXPECT_EQ(text(TSeriesMarksStyle::smsLabel, 1), "big");
  EXPECT_EQ(text(TSeriesMarksStyle::smsValue, 1), "1,234.5");
  EXPECT_EQ(text(TSeriesMarksStyle::smsXValue, 2), "3");
  EXPECT_EQ(text(TSeriesMarksStyle::smsPercent, 0), "2.26 %");
  EXPECT_EQ(text(TSeriesMarksStyle::smsLabelPercent, 1), "big 92.82 %");
  EXPECT_EQ(text(TSeriesMarksStyle::smsLabelValue, 2), "-65.5");
  EXPECT_EQ(text(TSeriesMarksStyle::smsPercentTotal, 2), "4.92 % of 1,330");
  EXPECT_EQ(text(TSeriesMarksStyle::smsValue, 7), "0");  // past the end: no crash

  series->OnGetMarkText = [](TChartSeries*, int index, std::string& t) {
    t += "#" + std::to_string(index);
  };
  EXPECT_EQ(text(TSeriesMarksStyle::smsLabel, 1), "big#1");
}

TEST_F(ChartFixture, DependentsFollowTheirSource) {
  series->AddPoint(1, 10, "one", clBlue);
  TChartSeries copy(nullptr);
  series->AddDependent(&copy);
  ASSERT_EQ(copy.PointCount(), 1);  // filled from what the source already holds
  EXPECT_EQ(copy.PointLabel(0), "one");

  series->AddPoint(0, 5, "zero", clLime);
  EXPECT_EQ(Xs(copy), (std::vector<double>{0, 1}));
  EXPECT_EQ(copy.PointColor(0), clLime);
  series->YValues().SetMultiplier(3);
  EXPECT_EQ(copy.YOf(1), 30);
  series->YValues().ReplaceValue(1, 2);
  EXPECT_EQ(copy.YOf(1), 6);
  series->DeletePoint(0);
  EXPECT_EQ(Xs(copy), std::vector<double>{1});

  copy.SetRecalcOptions({TSeriesRecalcOption::rOnClear});
  series->AddPoint(4, 4, "", clDefault);
  EXPECT_EQ(copy.PointCount(), 1);
  series->ClearPoints();
  EXPECT_EQ(copy.PointCount(), 0);

  series->AddDependent(series);  // would recurse for ever
  copy.AddDependent(series);
  EXPECT_EQ(series->DependentCount(), 1);
  EXPECT_EQ(copy.DependentCount(), 0);
}

TEST_F(ChartFixture, DestroyedDependentIsUnlinked) {
  auto dependent = std::make_unique<TChartSeries>(nullptr);
  series->AddDependent(dependent.get());
  dependent.reset();
  EXPECT_EQ(series->DependentCount(), 0);
  series->AddPoint(1, 1, "", clDefault);

  auto source = std::make_unique<TChartSeries>(nullptr);
  source->AddDependent(series);  // replaces the dependent's own point
  source->AddPoint(2, 2, "", clDefault);
  EXPECT_EQ(Xs(*series), std::vector<double>{2});
  source.reset();  // unlinked before the source clears, so the copy stays
  EXPECT_EQ(series->PointCount(), 1);
}

}  // namespace
}  // namespace nitko
