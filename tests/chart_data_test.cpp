#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "chart/chart_palette.h"
#include "chart/chart_series.h"
#include "chart/chart_value_list.h"
#include "chart/custom_axis_panel.h"
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
