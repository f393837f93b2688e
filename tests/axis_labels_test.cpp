#include "chart/axis_labels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "axis_test_support.h"
#include "chart/chart_series.h"
#include "chart/view_3d_options.h"

using namespace nitko;

namespace {

using namespace axis_test;

// Points at x = 1, 2, ... with the given labels, on the bottom and left axes.
TChartSeries* LabelledSeries(TCustomAxisPanel& chart, const std::vector<std::string>& labels) {
  auto* s = new TChartSeries(&chart);
  s->SetParentChart(&chart);
  for (size_t i = 0; i < labels.size(); ++i)
    s->AddPoint(static_cast<double>(i + 1), static_cast<double>(i + 1), labels[i], clDefault);
  return s;
}

TEST(AxisLabelStyle, AutoFollowsTheAttachedSeries) {
  Fixture f;
  TChartAxis& bottom = f.panel.BottomAxis();
  TChartAxis& left = f.panel.LeftAxis();
  bottom.SetLabelStyle(TAxisLabelStyle::talAuto);
  left.SetLabelStyle(TAxisLabelStyle::talAuto);
  EXPECT_EQ(EffectiveLabelStyle(bottom), TAxisLabelStyle::talNone);

  TChartSeries* plain = LabelledSeries(f.panel, {"", "b"});
  EXPECT_EQ(EffectiveLabelStyle(bottom), TAxisLabelStyle::talValue);  // first label is empty
  EXPECT_EQ(EffectiveLabelStyle(f.panel.TopAxis()), TAxisLabelStyle::talNone);

  plain->SetActive(false);
  TChartSeries* named = LabelledSeries(f.panel, {"Mon", "Tue"});
  // Texts go on the axis of the ordered list only.
  EXPECT_EQ(EffectiveLabelStyle(bottom), TAxisLabelStyle::talText);
  EXPECT_EQ(EffectiveLabelStyle(left), TAxisLabelStyle::talValue);
  named->SetActive(false);
  EXPECT_EQ(EffectiveLabelStyle(bottom), TAxisLabelStyle::talNone);
  // A style set explicitly is kept whatever the series.
  bottom.SetLabelStyle(TAxisLabelStyle::talMark);
  EXPECT_EQ(EffectiveLabelStyle(bottom), TAxisLabelStyle::talMark);
}

TEST(AxisValueLabels, AnEmptyChartShowsOneZeroAtTheCentre) {
  Fixture f;
  TChartAxis& a = f.panel.BottomAxis();
  LabelledSeries(f.panel, {});  // attached, but without points
  a.SetAutomatic(true);
  a.RecomputeRange();
  ASSERT_EQ(a.RangeSpan(), 0);
  std::vector<std::string> texts;
  f.panel.OnGetAxisLabel = [&](TCustomChartAxis*, TChartSeries*, int, std::string& t) {
    texts.push_back(t);
  };
  EXPECT_EQ(EnumerateLabels(a, f.chart, true), std::vector<int>{a.PixelCenter()});
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), "0");
}

TEST(AxisCustomLabels, TheChartSuppliesTheValues) {
  Fixture f;
  TChartAxis& a = f.panel.BottomAxis();
  std::vector<int> indices;
  f.panel.OnGetNextAxisLabel = [&](TCustomChartAxis* sender, int index, double& value, bool& stop) {
    EXPECT_EQ(sender, &a);
    indices.push_back(index);
    if (index == 0) {
      EXPECT_EQ(value, 0);  // starts at the range's minimum
    }
    value = 2.5 * index;
    stop = false;
  };
  // 0, 2.5, ..., 10 lie inside; 12.5 ends the labels.
  const std::vector<int> ticks = EnumerateLabels(a, f.chart, false);
  EXPECT_EQ(ticks, (std::vector<int>{a.PixelOf(0), a.PixelOf(2.5), a.PixelOf(5), a.PixelOf(7.5),
                                     a.PixelOf(10)}));
  EXPECT_EQ(indices, (std::vector<int>{0, 1, 2, 3, 4, 5}));

  // Stopping at once leaves the labels to the default enumeration.
  f.panel.OnGetNextAxisLabel = [](TCustomChartAxis*, int, double&, bool& stop) { stop = true; };
  EXPECT_EQ(EnumerateLabels(a, f.chart, false).size(), 11u);

  // A handler that never stops is cut off after 2001 calls.
  int calls = 0;
  f.panel.OnGetNextAxisLabel = [&](TCustomChartAxis*, int, double& value, bool& stop) {
    ++calls;
    value = 5;
    stop = false;
  };
  EXPECT_EQ(EnumerateLabels(a, f.chart, false).size(), 2001u);
  EXPECT_EQ(calls, 2001);
}

TEST(AxisLabelHook, ChangesValueTextsButNotTheMeasuredBand) {
  Fixture f;
  TChartAxis& left = f.panel.LeftAxis();
  int calls = 0;
  f.panel.OnGetAxisLabel = [&](TCustomChartAxis* sender, TChartSeries* series, int index,
                               std::string& text) {
    ++calls;
    EXPECT_EQ(sender, &left);
    EXPECT_EQ(series, nullptr);
    EXPECT_EQ(index, -1);
    text = "<" + text + " units>";
  };
  EXPECT_EQ(AxisLabelText(left, 5), "<5 units>");
  EXPECT_EQ(AxisLabelText(left, 5, false), "5");
  left.SetLabelsMultiLine(true);
  // The hook's text is split into lines too.
  EXPECT_EQ(AxisLabelText(left, 5), "<5\runits>");
  left.SetLabelsMultiLine(false);

  calls = 0;
  TRect r = kPlot;
  ReserveSpace(left, f.chart, r, true);
  // The band is measured from the plain texts: "10" and a space.
  EXPECT_EQ(r.Left - kPlot.Left, f.Measure(left, "10") + f.Measure(left, " ") + 2 + 4);
  EXPECT_EQ(calls, 0);  // measuring never asks the chart
  // Drawing does, once per label and for the step's two measurements.
  EXPECT_EQ(EnumerateLabels(left, f.chart, true).size(), 11u);
  EXPECT_EQ(calls, 11 + 2);
}

TEST(AxisPointLabels, TextsOfThePointsAtTheirValues) {
  Fixture f;
  TChartAxis& a = f.panel.BottomAxis();
  TChartSeries* s = LabelledSeries(f.panel, {"one", "", "three"});
  a.SetRange(0, 4);
  a.RecomputeRange();
  a.SetLabelStyle(TAxisLabelStyle::talText);
  std::vector<std::pair<int, std::string>> seen;
  // The step is still measured from value texts; only point texts name a series.
  f.panel.OnGetAxisLabel = [&](TCustomChartAxis*, TChartSeries* series, int index,
                               std::string& text) {
    if (series == nullptr) return;
    EXPECT_EQ(series, s);
    seen.emplace_back(index, text);
  };
  TRect r = kPlot;
  ReserveSpace(a, f.chart, r, false);
  const std::vector<int> ticks = EnumerateLabels(a, f.chart, true);
  EXPECT_EQ(seen, (std::vector<std::pair<int, std::string>>{{0, "one"}, {1, ""}, {2, "three"}}));
  EXPECT_EQ(ticks, (std::vector<int>{a.PixelOf(1), a.PixelOf(2), a.PixelOf(3)}));
  // "three" is drawn centred under x = 3.
  const Box b = f.Ink(a.PixelOf(3) - 40, a.LabelsPos, a.PixelOf(3) + 40, f.surface.Height());
  ASSERT_FALSE(b.Empty());
  EXPECT_LE(std::abs((b.left + b.right + 1) / 2 - a.PixelOf(3)), 2);
  EXPECT_GT(b.right - b.left + 1, f.Measure(a, "three") - 4);

  // Points outside the range give no label.
  a.SetRange(1.5, 4);
  a.RecomputeRange();
  seen.clear();
  EXPECT_EQ(EnumerateLabels(a, f.chart, false), (std::vector<int>{a.PixelOf(2), a.PixelOf(3)}));
}

TEST(AxisPointLabels, CrowdedLabelsAreThinnedBySeparation) {
  Fixture f;
  TChartAxis& a = f.panel.BottomAxis();
  // 200 wide labels on 707 pixels: about 3.5 pixels apart.
  LabelledSeries(f.panel, std::vector<std::string>(200, "a long label"));
  a.SetRange(1, 200);
  a.RecomputeRange();
  a.SetLabelStyle(TAxisLabelStyle::talText);
  const int width = f.Measure(a, "a long label");
  const std::vector<int> thinned = EnumerateLabels(a, f.chart, false);
  ASSERT_GT(thinned.size(), 2u);
  EXPECT_LT(thinned.size(), 200u);
  // The first label keeps its plain half; later ones are widened by 10 %.
  const int half = (width + static_cast<int>(width * 0.02 * 10)) / 2;
  EXPECT_GE(thinned[1] - thinned[0], width / 2 + half);
  for (size_t i = 2; i < thinned.size(); ++i) {
    EXPECT_GE(thinned[i] - thinned[i - 1], 2 * half) << i;
    EXPECT_LT(thinned[i] - thinned[i - 1], 2 * half + 5) << i;  // the next one that fits
  }

  a.SetLabelsSeparation(0);
  EXPECT_EQ(EnumerateLabels(a, f.chart, false).size(), 200u);
}

TEST(AxisPointLabels, MarksAndTheirBand) {
  Fixture f;
  TChartAxis& left = f.panel.LeftAxis();
  TChartSeries* s = LabelledSeries(f.panel, {"x", "y"});
  s->Marks().SetStyle(TSeriesMarksStyle::smsValue);
  left.SetRange(0, 3);
  left.RecomputeRange();
  left.SetLabelStyle(TAxisLabelStyle::talMark);
  s->XValues().SetOrder(TChartListOrder::loNone);  // every point counts as visible
  TRect r = kPlot;
  ReserveSpace(left, f.chart, r, true);
  // The band is the widest mark text ("1", "2"); no space is added.
  EXPECT_EQ(r.Left - kPlot.Left, std::max(f.Measure(left, "1"), f.Measure(left, "2")) + 2 + 4);
  f.Draw(left);
  const int p2 = left.PixelOf(2);
  const Box b = f.Ink(0, p2 - 10, left.LabelsPos + 1, p2 + 10);
  ASSERT_FALSE(b.Empty());
  EXPECT_LE(b.right, left.LabelsPos);
}

TEST(AxisPointLabels, SourcesTakeTurnsWhereLabelColumnsEnd) {
  Fixture f;
  TChartAxis& a = f.panel.BottomAxis();
  // Five points, but labels only for the first three (the rest were put
  // into the value lists directly).
  TChartSeries* shortLabels = LabelledSeries(f.panel, {"a0", "a1", "a2"});
  for (double x : {4.0, 5.0}) {
    const int at = shortLabels->XValues().InsertInOrder(x);
    shortLabels->YValues().InsertAtIndex(at, x);
  }
  LabelledSeries(f.panel, {"b0", "b1", "b2", "b3", "b4"});
  a.SetLabelStyle(TAxisLabelStyle::talText);
  std::vector<std::string> texts;
  f.panel.OnGetAxisLabel = [&](TCustomChartAxis*, TChartSeries* series, int, std::string& t) {
    if (series != nullptr) texts.push_back(t);
  };
  EnumerateLabels(a, f.chart, false);
  EXPECT_EQ(texts, (std::vector<std::string>{"a0", "a1", "a2", "b3", "b4"}));
}

TEST(AxisPointLabels, ValuesWithoutAPlaceGetNoLabel) {
  Fixture f;
  TChartAxis& left = f.panel.LeftAxis();
  auto* s = new TChartSeries(&f.panel);
  s->SetParentChart(&f.panel);
  s->AddPoint(1, std::nan(""), "nan", clDefault);
  s->AddPoint(2, 1, "one", clDefault);
  left.SetRange(0, 2);
  left.RecomputeRange();
  left.SetLabelStyle(TAxisLabelStyle::talText);
  EXPECT_EQ(EnumerateLabels(left, f.chart, false), std::vector<int>{left.PixelOf(1)});
}

TEST(AxisLabelText, MultiLineAndRotatedLabelsCentreOnTheirTick) {
  Fixture f;
  TChartAxis& left = f.panel.LeftAxis();
  left.SetAxisValuesFormat("0 units");
  left.SetLabelsMultiLine(true);
  f.Draw(left);
  const int p5 = left.PixelOf(5);
  const int h = f.LineHeight(left.LabelsFont());
  // Two lines, right-aligned before the ticks, centred on the tick.
  const Box b = f.Ink(0, p5 - h - 2, left.LabelsPos + 1, p5 + h + 2);
  ASSERT_FALSE(b.Empty());
  EXPECT_GT(b.bottom - b.top + 1, h);
  EXPECT_LE(std::abs((b.top + b.bottom + 1) / 2 - p5), 3);
  EXPECT_LE(b.right, left.LabelsPos);
  EXPECT_GE(b.right, left.LabelsPos - 3);

  // A bottom label turned by 90 degrees runs down from the label band.
  const TRect plot{23, 13, 730, 200};
  f.panel.SetPlotRect(plot);
  TChartAxis& bottom = f.panel.BottomAxis();
  bottom.PlacePixels();
  bottom.SetAxisValuesFormat("0.000");
  bottom.SetLabelsAngle(90);
  TRect r = plot;
  ReserveSpace(bottom, f.chart, r, false);
  DrawAxis(bottom, f.chart, true);
  const int q5 = bottom.PixelOf(5);
  const int w = f.Measure(bottom, "5.000");
  const Box c = f.Ink(q5 - h, bottom.LabelsPos - 2, q5 + h, f.surface.Height());
  ASSERT_FALSE(c.Empty());
  EXPECT_GE(c.top, bottom.LabelsPos - 1);
  EXPECT_NEAR(c.bottom - c.top + 1, w, 3);
  EXPECT_LT(c.right - c.left + 1, h + 1);
  EXPECT_LE(std::abs((c.left + c.right + 1) / 2 - q5), 3);
}

// A chart whose walls stand 5 pixels thick beside the axes.
class WalledPanel : public TCustomAxisPanel {
 public:
  using TCustomAxisPanel::TCustomAxisPanel;
  int AxisWallSize(const TCustomChartAxis&) const override { return 5; }
};

TEST(AxisDrawing, WallsMoveNearAxesOutward) {
  BasicFixture<WalledPanel> f;
  TChartAxis& a = f.panel.BottomAxis();
  TRect r = kPlot;
  ReserveSpace(a, f.chart, r, true);
  EXPECT_EQ(kPlot.Bottom - r.Bottom, f.LineHeight(a.LabelsFont()) + 2 + 4 + 5);
  f.Draw(a);
  EXPECT_EQ(f.At(400, kPlot.Bottom + 5), 0x000000);
  EXPECT_EQ(f.At(400, kPlot.Bottom), kBack);
  // The line reaches under the left wall.
  EXPECT_EQ(f.At(a.PixelStart() - 4, kPlot.Bottom + 5), 0x000000);
  EXPECT_EQ(f.At(a.PixelOf(5), kPlot.Bottom + 5 + 3), kGray);
}

TEST(AxisDrawing, FarAxesAndTheGridLieAtTheChartsDepth) {
  Fixture f;
  TView3DOptions options;
  options.SetOrthogonal(true);
  const TRect all{0, 0, 753, 321};
  f.chart.BeginFrame(&f.canvas, &options, all, true);
  f.panel.SetWidth3D(10);
  f.chart.SetProjectionCentre(10, all, kPlot);
  // Orthogonal projection moves depth z right by z and up by z.
  // The bottom axis stays in front; its grid is drawn on the back wall.
  TChartAxis& bottom = f.panel.BottomAxis();
  f.Draw(bottom);
  EXPECT_EQ(f.At(400, kPlot.Bottom), 0x000000);
  const int p5 = bottom.PixelOf(5);
  EXPECT_GT(f.CountColumn(p5 + 10, kPlot.Top, kPlot.Bottom - 12, kGray), 40);
  EXPECT_EQ(f.CountColumn(p5, kPlot.Top + 20, kPlot.Bottom - 20, kGray), 0);

  TChartAxis& top = f.panel.TopAxis();
  top.SetRange(0, 10);
  top.SetLabelStyle(TAxisLabelStyle::talValue);
  top.RecomputeRange();
  top.PlacePixels();
  f.Draw(top);
  EXPECT_EQ(f.At(400 + 10, kPlot.Top - 10), 0x000000);
  EXPECT_EQ(f.At(400, kPlot.Top), kBack);
}

TEST(AxisDrawing, PrintingTurnsWhiteLabelsBlack) {
  Fixture f;
  TChartAxis& a = f.panel.BottomAxis();
  a.LabelsFont().SetColor(clWhite);
  f.panel.SetPrinting(true);
  f.Draw(a);
  EXPECT_FALSE(
      f.Ink(a.PixelOf(5) - 20, a.LabelsPos, a.PixelOf(5) + 20, f.surface.Height()).Empty());
  EXPECT_EQ(a.LabelsFont().Color(), clWhite);  // the axis' own font is left alone
}

}  // namespace
