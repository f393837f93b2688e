#include "chart/axis_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "axis_test_support.h"
#include "chart/chart_axis.h"
#include "chart/chart_rounding.h"
#include "chart/custom_axis_panel.h"
#include "chart/tee_canvas.h"
#include "framework/canvas.h"
#include "framework/surface.h"

using namespace nitko;

namespace {

using namespace axis_test;

TEST(AxisDrawing, BottomAxisLineTicksGridAndLabels) {
  Fixture f;
  TChartAxis& a = f.panel.BottomAxis();
  f.Draw(a);
  EXPECT_EQ(a.AxisLinePos, kPlot.Bottom);
  EXPECT_EQ(a.LabelsPos, kPlot.Bottom + 2 + 4);  // axis pen width + tick length

  // The axis line, black along the plot's bottom edge.
  EXPECT_EQ(f.At(400, kPlot.Bottom), 0x000000);
  EXPECT_EQ(f.At(100, kPlot.Bottom), 0x000000);

  const int p5 = a.PixelOf(5);
  EXPECT_EQ(f.At(p5, kPlot.Bottom + 2), kGray);  // outer tick below the line
  EXPECT_EQ(f.At(p5, kPlot.Bottom + 4), kGray);
  EXPECT_EQ(f.At(p5 + 3, kPlot.Bottom + 3), kBack);  // the tick is one pixel wide
  // The grid is dotted across the plot: some of the column, not all of it.
  const int dots = f.CountColumn(p5, kPlot.Top + 1, kPlot.Bottom - 2, kGray);
  EXPECT_GT(dots, 40);
  EXPECT_LT(dots, kPlot.Height() - 10);
  // No grid between major ticks.
  EXPECT_EQ(
      f.CountColumn((a.PixelOf(5) + a.PixelOf(6)) / 2, kPlot.Top + 1, kPlot.Bottom - 2, kGray), 0);
  // Minor ticks between 5 and 6: three of them, shorter than the major tick.
  int minor = 0;
  for (int x = p5 + 2; x < a.PixelOf(6) - 1; ++x) minor += f.At(x, kPlot.Bottom + 2) == kGray;
  EXPECT_EQ(minor, 3);

  // The label "5" centred under its tick, starting at LabelsPos.
  const Box b = f.Ink(p5 - 30, a.LabelsPos, p5 + 30, f.surface.Height());
  ASSERT_FALSE(b.Empty());
  const int w = f.Measure(a, "5");
  EXPECT_GE(b.top, a.LabelsPos);
  EXPECT_LT(b.bottom, a.LabelsPos + f.LineHeight(a.LabelsFont()));
  EXPECT_LE(b.right - b.left + 1, w);
  EXPECT_LE(std::abs((b.left + b.right + 1) / 2 - p5), 2);
  // One label per unit: "10" sits at the right end.
  const Box b10 = f.Ink(kPlot.Right - 30, a.LabelsPos, kPlot.Right + 20, f.surface.Height());
  ASSERT_FALSE(b10.Empty());
  EXPECT_GT(b10.right - b10.left + 1, w);
  EXPECT_LE(std::abs((b10.left + b10.right + 1) / 2 - kPlot.Right), 2);
}

TEST(AxisDrawing, LeftAxisRightAlignsLabelsBesideTicks) {
  Fixture f;
  TChartAxis& a = f.panel.LeftAxis();
  f.Draw(a);
  EXPECT_EQ(a.AxisLinePos, kPlot.Left);
  EXPECT_EQ(a.LabelsPos, kPlot.Left - 6);
  EXPECT_EQ(f.At(kPlot.Left, 150), 0x000000);

  const int p5 = a.PixelOf(5);
  EXPECT_EQ(f.At(kPlot.Left - 2, p5), kGray);
  EXPECT_EQ(f.At(kPlot.Left - 4, p5), kGray);
  const int dots = [&] {
    int n = 0;
    for (int x = kPlot.Left + 2; x < kPlot.Right - 1; ++x) n += f.At(x, p5) == kGray;
    return n;
  }();
  EXPECT_GT(dots, 100);
  EXPECT_LT(dots, kPlot.Width() - 10);

  const int lh = f.LineHeight(a.LabelsFont());
  const Box b = f.Ink(0, p5 - lh, a.LabelsPos + 1, p5 + lh);
  ASSERT_FALSE(b.Empty());
  EXPECT_LE(b.right, a.LabelsPos);
  EXPECT_GE(b.right, a.LabelsPos - 2);
  EXPECT_LE(b.right - b.left + 1, f.Measure(a, "5"));
  // Vertically centred on the tick: the text box starts half a line above.
  EXPECT_GE(b.top, p5 - lh / 2);
  EXPECT_LT(b.bottom, p5 - lh / 2 + lh);
}

TEST(AxisDrawing, TicksOnLabelsOnlyWithoutLabelsDrawsOnlyTheLine) {
  Fixture f;
  TChartAxis& a = f.panel.BottomAxis();
  a.SetLabels(false);
  f.Draw(a);
  EXPECT_EQ(f.At(400, kPlot.Bottom), 0x000000);
  EXPECT_EQ(f.Count(kGray), 0);  // no ticks, grid or minor ticks
  EXPECT_TRUE(f.Ink(0, kPlot.Bottom + 3, 753, 321).Empty());

  // Ticks independent of labels come back, still without texts.
  a.SetTickOnLabelsOnly(false);
  f.Draw(a);
  EXPECT_EQ(f.At(a.PixelOf(5), kPlot.Bottom + 3), kGray);
  EXPECT_GT(f.CountColumn(a.PixelOf(5), kPlot.Top + 1, kPlot.Bottom - 2, kGray), 0);
  EXPECT_TRUE(f.Ink(0, kPlot.Bottom + 3, 753, 321).Empty());
}

TEST(AxisDrawing, CentredGridLiesBetweenTicks) {
  Fixture f;
  TChartAxis& a = f.panel.BottomAxis();
  a.SetGridCentered(true);
  a.MinorTicks().SetVisible(false);
  f.Draw(a);
  const int mid = static_cast<int>(std::nearbyint((a.PixelOf(5) + a.PixelOf(6)) * 0.5));
  EXPECT_GT(f.CountColumn(mid, kPlot.Top + 1, kPlot.Bottom - 2, kGray), 40);
  EXPECT_EQ(f.CountColumn(a.PixelOf(5), kPlot.Top + 1, kPlot.Bottom - 2, kGray), 0);
  // n ticks give n - 1 grid lines: none outside the outermost ticks' middles.
  int columns = 0;
  for (int x = kPlot.Left; x < kPlot.Right; ++x)
    columns += f.CountColumn(x, kPlot.Top + 1, kPlot.Bottom - 2, kGray) > 0;
  EXPECT_EQ(columns, 10);
}

TEST(AxisDrawing, ReserveSpaceShrinksByMeasuredBands) {
  Fixture f;
  TChartAxis& left = f.panel.LeftAxis();
  TChartAxis& bottom = f.panel.BottomAxis();
  TRect r = kPlot;
  left.Title().SetCaption("Value");
  ReserveSpace(left, f.chart, r, true);
  const int title = f.LineHeight(left.Title().Font());  // angle 90 runs along the axis
  const int labels = std::max(f.Measure(left, "10"), f.Measure(left, "0")) + f.Measure(left, " ");
  EXPECT_EQ(left.TitlePos, kPlot.Left + title);
  EXPECT_EQ(left.LabelsPos, kPlot.Left + title + labels);
  EXPECT_EQ(r.Left, kPlot.Left + title + labels + 6);

  ReserveSpace(bottom, f.chart, r, true);
  const int lh = f.LineHeight(bottom.LabelsFont());
  EXPECT_EQ(bottom.LabelsPos, kPlot.Bottom - lh);
  EXPECT_EQ(r.Bottom, kPlot.Bottom - lh - 6);
  EXPECT_EQ(r.Top, kPlot.Top);
  EXPECT_EQ(r.Right, kPlot.Right);

  // Hidden labels take no room; a fixed LabelsSize replaces the measurement.
  TRect r2 = kPlot;
  bottom.SetLabels(false);
  ReserveSpace(bottom, f.chart, r2, true);
  EXPECT_EQ(r2.Bottom, kPlot.Bottom - 6);
  TRect r3 = kPlot;
  bottom.SetLabels(true);
  bottom.SetLabelsSize(30);
  ReserveSpace(bottom, f.chart, r3, true);
  EXPECT_EQ(r3.Bottom, kPlot.Bottom - 36);
}

}  // namespace

namespace {

TEST(AxisDrawing, TopAxisLabelsSitAboveTheLine) {
  Fixture f;
  TChartAxis& a = f.panel.TopAxis();
  a.SetRange(0, 10);
  a.SetLabelStyle(TAxisLabelStyle::talValue);
  a.RecomputeRange();
  a.PlacePixels();
  a.SetLabelsOnAxis(false);
  TRect r = kPlot;
  ReserveSpace(a, f.chart, r, false);
  DrawAxis(a, f.chart, true);
  EXPECT_EQ(a.AxisLinePos, kPlot.Top);
  EXPECT_EQ(a.LabelsPos, kPlot.Top - 6);
  const int p5 = a.PixelOf(5);
  EXPECT_EQ(f.At(p5, kPlot.Top - 3), kGray);                              // ticks point up
  EXPECT_GT(f.CountColumn(p5, kPlot.Top + 2, kPlot.Top + 30, kGray), 5);  // grid below
  // Bottom-aligned label text ends at LabelsPos.
  const Box b = f.Ink(p5 - 30, 0, p5 + 30, a.LabelsPos + 1);
  ASSERT_FALSE(b.Empty());
  EXPECT_LE(b.bottom, a.LabelsPos);
  EXPECT_GE(b.top, a.LabelsPos - f.LineHeight(a.LabelsFont()));
  // Without LabelsOnAxis the end labels 0 and 10 are left out.
  EXPECT_TRUE(f.Ink(kPlot.Right - 8, 0, kPlot.Right + 8, a.LabelsPos + 1).Empty());
  EXPECT_TRUE(f.Ink(kPlot.Left - 8, 0, kPlot.Left + 8, a.LabelsPos + 1).Empty());
}

TEST(AxisDrawing, BandsOfAxesWithoutLabelsAndShiftedAxes) {
  Fixture f;
  TChartAxis& a = f.panel.BottomAxis();
  // Nothing attached: no labels, but a band that runs along the axis keeps
  // its line height.
  a.SetLabelStyle(TAxisLabelStyle::talAuto);
  TRect r = kPlot;
  ReserveSpace(a, f.chart, r, true);
  EXPECT_EQ(kPlot.Bottom - r.Bottom, f.LineHeight(a.LabelsFont()) + 2 + 4);

  // Laying out again and again with a shifted axis keeps the same places.
  a.SetPositionPercent(10);
  a.SetLabels(false);
  a.TitlePos = 77;
  for (int i = 0; i < 3; ++i) {
    r = kPlot;
    ReserveSpace(a, f.chart, r, true);
  }
  EXPECT_EQ(a.TitlePos, 77);  // no title: left where it was
  a.SetLabels(true);
  r = kPlot;
  ReserveSpace(a, f.chart, r, true);
  const int labels = a.LabelsPos;
  r = kPlot;
  ReserveSpace(a, f.chart, r, true);
  EXPECT_EQ(a.LabelsPos, labels);
  EXPECT_EQ(labels, kPlot.Bottom - f.LineHeight(a.LabelsFont()) - RoundEven(0.1 * r.Height()));
}

TEST(AxisDrawing, HugeMinorTickCountStaysBounded) {
  Fixture f;
  TChartAxis& a = f.panel.BottomAxis();
  a.SetMinorTickCount(2000000000);
  f.Draw(a);  // one tick per pixel at most, not billions of them
  EXPECT_EQ(f.At((a.PixelOf(5) + a.PixelOf(6)) / 2, kPlot.Bottom + 2), kGray);
}

TEST(AxisDrawing, TickListHoldsThousandsOfLabels) {
  Fixture f;
  TChartAxis& a = f.panel.BottomAxis();
  a.SetRange(0, 5000);
  a.SetIncrement(1);
  a.SetLabelsSeparation(0);
  a.RecomputeRange();
  a.SetLabels(false);
  a.SetTickOnLabelsOnly(false);
  EXPECT_EQ(EnumerateLabels(a, f.chart, false).size(), 5001u);
  f.Draw(a);  // draws every tick without running past the list
  EXPECT_EQ(f.At(a.PixelOf(2500), kPlot.Bottom + 3), kGray);
}

}  // namespace
