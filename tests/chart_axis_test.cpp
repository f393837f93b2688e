#include "chart/chart_axis.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "chart/chart_exceptions.h"
#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"

namespace nitko {
namespace {

template <typename E>
std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const E& e) {
    return e.Message();
  }
  return "no error";
}

// A series that joins its points with lines, as the line and point kinds do.
class LineSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;

 protected:
  bool DrawsLinesBetweenPoints() const override { return true; }
};

struct AxisFixture : ::testing::Test {
  TCustomAxisPanel chart{nullptr};
  TChartSeries* Add(TChartSeries* s) {
    s->SetParentChart(&chart);
    return s;
  }
  TChartSeries* NewSeries() { return Add(new TChartSeries(&chart)); }
};

TEST_F(AxisFixture, ChartHasFiveAxesInOrderWithDefaults) {
  ASSERT_EQ(chart.Axes().size(), 5u);
  EXPECT_EQ(chart.Axes()[0], &chart.BottomAxis());
  EXPECT_EQ(chart.Axes()[1], &chart.TopAxis());
  EXPECT_EQ(chart.Axes()[2], &chart.LeftAxis());
  EXPECT_EQ(chart.Axes()[3], &chart.RightAxis());
  EXPECT_EQ(chart.Axes()[4], &chart.DepthAxis());

  EXPECT_TRUE(chart.BottomAxis().IsHorizontal());
  EXPECT_FALSE(chart.BottomAxis().OnFarSide());
  EXPECT_TRUE(chart.TopAxis().OnFarSide());
  EXPECT_FALSE(chart.RightAxis().IsHorizontal());
  EXPECT_TRUE(chart.DepthAxis().ForDepth());
  EXPECT_FALSE(chart.DepthAxis().Visible());
  EXPECT_EQ(chart.BottomAxis().Title().Angle(), 0);
  EXPECT_EQ(chart.LeftAxis().Title().Angle(), 90);
  EXPECT_EQ(chart.RightAxis().Title().Angle(), 270);

  const TChartAxis& a = chart.LeftAxis();
  EXPECT_TRUE(a.Automatic() && a.AutomaticMinimum() && a.AutomaticMaximum());
  EXPECT_TRUE(a.Visible());
  EXPECT_EQ(a.LogarithmicBase(), 10);
  EXPECT_TRUE(a.ExactDateTime());
  EXPECT_EQ(a.AxisValuesFormat(), "#,##0.###");
  EXPECT_EQ(a.LabelsSeparation(), 10);
  EXPECT_EQ(a.LabelStyle(), TAxisLabelStyle::talAuto);
  EXPECT_EQ(a.TickLength(), 4);
  EXPECT_EQ(a.MinorTickLength(), 2);
  EXPECT_EQ(a.MinorTickCount(), 3);
  EXPECT_EQ(a.EndPosition(), 100);

  EXPECT_EQ(chart.MaxPointsPerPage(), 0);
  EXPECT_EQ(chart.Page(), 1);
  EXPECT_TRUE(chart.ScaleLastPage());
}

TEST_F(AxisFixture, EmptyChartHasZeroRangeAndMapsToCentre) {
  NewSeries();
  chart.SetPlotRect({20, 10, 120, 210});
  for (TCustomChartAxis* axis : chart.Axes()) {
    if (axis->ForDepth()) continue;
    axis->RecomputeRange();
    axis->PlacePixels();
    EXPECT_EQ(axis->RangeMin(), 0);
    EXPECT_EQ(axis->RangeMax(), 0);
    EXPECT_EQ(axis->PixelOf(-5), axis->PixelCenter());
    EXPECT_EQ(axis->PixelOf(1e9), axis->PixelCenter());
  }
  EXPECT_EQ(chart.BottomAxis().PixelCenter(), 70);
  EXPECT_EQ(chart.LeftAxis().PixelCenter(), 110);
}

TEST_F(AxisFixture, PlacementRoundsHalfToEven) {
  TChartAxis& bottom = chart.BottomAxis();
  chart.SetPlotRect({23, 13, 730, 308});
  bottom.PlacePixels();
  EXPECT_EQ(bottom.PixelStart(), 23);
  EXPECT_EQ(bottom.PixelEnd(), 730);
  EXPECT_EQ(bottom.PixelLength(), 707);
  EXPECT_EQ(bottom.PixelCenter(), 376);

  chart.SetPlotRect({0, 0, 10, 10});
  bottom.SetStartPosition(25);  // 2.5 goes down to 2
  bottom.SetEndPosition(75);    // 7.5 goes up to 8
  bottom.PlacePixels();
  EXPECT_EQ(bottom.PixelStart(), 2);
  EXPECT_EQ(bottom.PixelEnd(), 8);
  EXPECT_EQ(bottom.PixelCenter(), 5);
}

TEST_F(AxisFixture, LinearMappingsAndInverses) {
  TChartAxis& left = chart.LeftAxis();
  left.SetRange(0, 100);
  left.RecomputeRange();
  left.SetPixels(10, 210);
  EXPECT_EQ(left.PixelOf(25), 160);
  EXPECT_DOUBLE_EQ(left.ValueAtPixel(160), 25);
  EXPECT_EQ(left.PixelOf(0), 210);
  EXPECT_EQ(left.PixelOf(100), 10);
  left.SetInverted(true);
  EXPECT_EQ(left.PixelOf(25), 60);
  EXPECT_DOUBLE_EQ(left.ValueAtPixel(60), 25);

  TChartAxis& bottom = chart.BottomAxis();
  bottom.SetRange(-50, 50);
  bottom.RecomputeRange();
  bottom.SetPixels(0, 400);
  EXPECT_EQ(bottom.PixelOf(0), 200);
  EXPECT_EQ(bottom.PixelOf(25), 300);
  EXPECT_DOUBLE_EQ(bottom.ValueAtPixel(300), 25);
  bottom.SetInverted(true);
  EXPECT_EQ(bottom.PixelOf(25), 100);
  EXPECT_DOUBLE_EQ(bottom.ValueAtPixel(100), 25);
  // Offsets beyond 32 bits have no pixel; they go to the centre.
  EXPECT_EQ(bottom.PixelOf(1e300), bottom.PixelCenter());
  // So do offsets that fit but would carry the pixel past the int range.
  bottom.SetInverted(false);
  bottom.SetRange(0, 1);
  bottom.RecomputeRange();
  bottom.SetPixels(100, 1100);
  EXPECT_EQ(bottom.PixelOf(2147483.6), bottom.PixelCenter());
  left.SetInverted(false);
  EXPECT_EQ(left.PixelOf(-1073741800.0), left.PixelCenter());  // 210 + 2147483600

  bottom.SetPixels(5, 5);
  EXPECT_EQ(bottom.ValueAtPixel(5), 0);
}

TEST_F(AxisFixture, RunawayPlacementAndPagingStayInRange) {
  chart.SetPlotRect({0, 0, 700, 300});
  TChartAxis& bottom = chart.BottomAxis();
  bottom.SetStartPosition(-1e12);
  bottom.SetEndPosition(1e12);
  bottom.PlacePixels();
  EXPECT_EQ(bottom.PixelStart(), INT_MIN);
  EXPECT_EQ(bottom.PixelEnd(), INT_MAX);
  EXPECT_EQ(bottom.PixelCenter(), 0);
  bottom.SetEndPosition(std::nan(""));
  bottom.PlacePixels();
  EXPECT_EQ(bottom.PixelEnd(), 0);

  TChartSeries* s = NewSeries();
  for (int i = 0; i < 2500; ++i) s->AddPoint(i, i, "", clDefault);
  chart.SetMaxPointsPerPage(1000);
  chart.SetPage(INT_MAX);  // clamped to the last page, points 2000..2499
  bottom.RecomputeRange();
  EXPECT_EQ(bottom.RangeMin(), 2000);
  EXPECT_EQ(bottom.RangeMax(), 2499);
  // A page left past the end by fewer points: the last full page.
  s->ClearPoints();
  for (int i = 0; i < 1500; ++i) s->AddPoint(i, i, "", clDefault);
  bottom.RecomputeRange();
  EXPECT_EQ(bottom.RangeMin(), 0);
  EXPECT_EQ(bottom.RangeMax(), 999);
}

// Pixels read back from an axis placed at the ends of the int range: the
// distance from either end is wider than int and must not wrap.
TEST_F(AxisFixture, RunawayPlacementReadsPixelsBackWithoutWrapping) {
  struct Case {
    bool logarithmic;
    bool inverted;
    int pixel;
    double expected;
  };
  const Case cases[] = {
      {false, false, 0, 100},        // 0 - INT_MIN
      {false, false, INT_MAX, 200},  // the whole 2^32 span
      {false, true, -1, 100},        // INT_MAX - (-1)
      {false, true, INT_MIN, 200},
      {true, false, 0, 100},
      {true, true, -1, 100},
  };
  chart.SetPlotRect({0, 0, 700, 300});
  TChartAxis& bottom = chart.BottomAxis();
  bottom.SetStartPosition(-1e12);
  bottom.SetEndPosition(1e12);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "log " << c.logarithmic << " inverted " << c.inverted
                                    << " pixel " << c.pixel);
    bottom.SetLogarithmic(false);
    bottom.SetRange(c.logarithmic ? 1 : 0, 100);
    bottom.SetLogarithmic(c.logarithmic);
    bottom.SetInverted(c.inverted);
    bottom.RecomputeRange();
    bottom.PlacePixels();
    ASSERT_EQ(bottom.PixelStart(), INT_MIN);
    ASSERT_EQ(bottom.PixelEnd(), INT_MAX);
    // The saturated length is INT_MAX pixels, so a pixel past it lies past the range.
    const double v = bottom.ValueAtPixel(c.pixel);
    if (c.logarithmic)
      EXPECT_NEAR(std::log(v), std::log(c.expected), 1e-6);
    else
      EXPECT_NEAR(v, c.expected, 1e-6);
  }
}

// Margins on an axis pushed to the int limits: the widened ends saturate
// instead of wrapping, and the range only ever grows.
TEST_F(AxisFixture, RunawayPlacementWidensWithoutWrapping) {
  struct Case {
    double startPosition, endPosition;
    int startMargin, endMargin;
    bool rangeKeptExactly;
  };
  const Case cases[] = {
      {-1e12, 1e12, 0, 0, true},                // the length alone is wider than int
      {1e12, 1e12, 10, 10, true},               // both ends at INT_MAX: no room
      {-1e12, -1e12, -10, -10, true},           // no pixels to widen by
      {-1e12, 1e12, -10, -10, false},           // margins past both limits
      {-1e12, 1e12, INT_MAX, INT_MAX, false},  // one pixel left, read from far outside it
  };
  chart.SetPlotRect({0, 0, 700, 300});
  TChartAxis& bottom = chart.BottomAxis();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.startPosition << ".." << c.endPosition << " margins "
                                    << c.startMargin << ", " << c.endMargin);
    bottom.SetRange(0, 100);
    bottom.SetStartPosition(c.startPosition);
    bottom.SetEndPosition(c.endPosition);
    bottom.RecomputeRange();
    bottom.PlacePixels();
    const int start = bottom.PixelStart();
    const int end = bottom.PixelEnd();
    bottom.WidenForMargins(c.startMargin, c.endMargin);
    EXPECT_EQ(bottom.PixelStart(), start);
    EXPECT_EQ(bottom.PixelEnd(), end);
    ASSERT_TRUE(std::isfinite(bottom.RangeMin()) && std::isfinite(bottom.RangeMax()));
    EXPECT_LE(bottom.RangeMin(), 0);
    EXPECT_GE(bottom.RangeMax(), 100);
    if (c.rangeKeptExactly) {
      EXPECT_EQ(bottom.RangeMin(), 0);
      EXPECT_EQ(bottom.RangeMax(), 100);
    }
  }
}

TEST_F(AxisFixture, LogarithmicMappingsAndInverses) {
  TChartAxis& bottom = chart.BottomAxis();
  bottom.SetRange(1, 100);
  bottom.SetLogarithmic(true);
  bottom.RecomputeRange();
  bottom.SetPixels(0, 200);
  EXPECT_EQ(bottom.PixelOf(10), 100);
  EXPECT_EQ(bottom.PixelOf(100), 200);
  EXPECT_NEAR(bottom.ValueAtPixel(100), 10, 1e-9);
  EXPECT_EQ(bottom.ValueAtPixel(0), 1);
  EXPECT_EQ(bottom.ValueAtPixel(200), 100);
  EXPECT_EQ(bottom.PixelOf(0), 0);
  bottom.SetInverted(true);
  EXPECT_EQ(bottom.PixelOf(100), 0);
  EXPECT_EQ(bottom.PixelOf(-1), 200);
  EXPECT_EQ(bottom.ValueAtPixel(0), 100);

  TChartAxis& left = chart.LeftAxis();
  left.SetRange(1, 100);
  left.SetLogarithmic(true);
  left.RecomputeRange();
  left.SetPixels(0, 200);
  EXPECT_EQ(left.PixelOf(10), 100);
  EXPECT_EQ(left.PixelOf(100), 0);
  EXPECT_EQ(left.PixelOf(0), 200);
  EXPECT_NEAR(left.ValueAtPixel(50), std::sqrt(1000.0), 1e-9);
  EXPECT_EQ(left.ValueAtPixel(200), 1);

  left.SetRange(0, 100);  // ln of the low end counts as 0, like ln 1
  left.RecomputeRange();
  EXPECT_EQ(left.PixelOf(10), 100);
}

TEST_F(AxisFixture, SetRangeOrdersAndKeepsAMinimalSpan) {
  TChartAxis& a = chart.BottomAxis();
  a.SetRange(5, 5);
  EXPECT_EQ(a.Minimum(), 5);
  EXPECT_EQ(a.Maximum(), 5 + 1e-10);
  EXPECT_FALSE(a.Automatic() || a.AutomaticMinimum() || a.AutomaticMaximum());
  a.SetRange(9, 3);
  EXPECT_EQ(a.Minimum(), 3);
  EXPECT_EQ(a.Maximum(), 9);
}

TEST_F(AxisFixture, AutomaticFlagsAreCoupled) {
  TChartAxis& a = chart.LeftAxis();
  a.SetAutomaticMinimum(false);
  EXPECT_FALSE(a.Automatic());
  EXPECT_TRUE(a.AutomaticMaximum());
  a.SetAutomaticMinimum(true);
  EXPECT_TRUE(a.Automatic());
  a.SetAutomatic(false);
  EXPECT_FALSE(a.AutomaticMinimum() || a.AutomaticMaximum());
  a.SetAutomaticMaximum(true);
  EXPECT_FALSE(a.Automatic());

  // While the form is read the ends keep their own stored values.
  chart.BeginLoading();
  a.SetAutomatic(true);
  EXPECT_TRUE(a.Automatic());
  EXPECT_FALSE(a.AutomaticMinimum());
  a.SetMaximum(-3);  // read before Minimum; not checked yet
  EXPECT_EQ(a.Maximum(), -3);
  chart.CancelLoading();
}

TEST_F(AxisFixture, InvalidSettingsAreRefusedAndLeftUnchanged) {
  TChartAxis& a = chart.BottomAxis();
  a.SetRange(0, 10);
  EXPECT_EQ(ErrorOf<AxisException>([&] { a.SetMinimum(11); }),
            "Axis Minimum Value must be <= Maximum");
  EXPECT_EQ(ErrorOf<AxisException>([&] { a.SetMaximum(-1); }),
            "Axis Maximum Value must be >= Minimum");
  EXPECT_EQ(a.Minimum(), 0);
  EXPECT_EQ(a.Maximum(), 10);
  a.SetMinimum(10);
  EXPECT_EQ(a.Minimum(), 10);

  EXPECT_EQ(ErrorOf<AxisException>([&] { a.SetIncrement(-0.1); }), "Axis increment must be >= 0");
  EXPECT_EQ(a.Increment(), 0);
  EXPECT_EQ(ErrorOf<AxisException>([&] { a.SetLogarithmicBase(1); }),
            "Axis Logarithmic Base should be >= 2");
  EXPECT_EQ(a.LogarithmicBase(), 10);
  a.SetLogarithmicBase(2);
  EXPECT_EQ(ErrorOf<AxisException>([&] { a.SetLabelsSeparation(-1); }),
            "Labels Separation % must be greater than 0");
  a.SetLabelsSeparation(0);
  EXPECT_EQ(a.LabelsSeparation(), 0);

  EXPECT_EQ(ErrorOf<ChartException>([&] { a.SetLabelsAngle(361); }),
            "Axis Labels Angle must be between 0 and 359 degrees");
  EXPECT_EQ(ErrorOf<ChartException>([&] { a.SetLabelsAngle(-1); }),
            "Axis Labels Angle must be between 0 and 359 degrees");
  EXPECT_EQ(ErrorOf<ChartException>([&] { a.Title().SetAngle(400); }),
            "Axis Title Angle must be between 0 and 359 degrees");
  EXPECT_EQ(a.LabelsAngle(), 0);
  a.SetLabelsAngle(360);
  a.Title().SetAngle(360);
  EXPECT_EQ(a.LabelsAngle(), 360);
  EXPECT_EQ(a.Title().Angle(), 360);
}

TEST_F(AxisFixture, LogarithmicIsRefusedOnDateTimeAndNegativeRanges) {
  TChartSeries* s = NewSeries();
  s->AddPoint(-2, 5, "", clDefault);
  s->AddPoint(3, 7, "", clDefault);
  EXPECT_EQ(ErrorOf<AxisException>([&] { chart.BottomAxis().SetLogarithmic(true); }),
            "Logarithmic Axis Min and Max values should be >= 0");
  EXPECT_FALSE(chart.BottomAxis().Logarithmic());
  chart.LeftAxis().SetLogarithmic(true);
  EXPECT_TRUE(chart.LeftAxis().Logarithmic());

  s->YValues().SetDateTime(true);
  chart.LeftAxis().SetLogarithmic(false);
  EXPECT_EQ(ErrorOf<AxisException>([&] { chart.LeftAxis().SetLogarithmic(true); }),
            "DateTime Axis cannot be Logarithmic");
}

TEST_F(AxisFixture, DateTimeIsDecidedByTheFirstActiveSeries) {
  TChartSeries* s1 = NewSeries();
  TChartSeries* s2 = NewSeries();
  s2->XValues().SetDateTime(true);
  EXPECT_FALSE(chart.BottomAxis().DateTimeFromSeries());
  s1->SetActive(false);
  EXPECT_TRUE(chart.BottomAxis().DateTimeFromSeries());
  EXPECT_FALSE(chart.LeftAxis().DateTimeFromSeries());
  EXPECT_FALSE(chart.TopAxis().DateTimeFromSeries());
  chart.BottomAxis().RecomputeRange();
  EXPECT_TRUE(chart.BottomAxis().RangeIsDateTime());
}

TEST_F(AxisFixture, AutomaticRangeCoversTheAttachedSeries) {
  TChartSeries* s1 = NewSeries();
  TChartSeries* s2 = NewSeries();
  TChartSeries* off = NewSeries();
  s1->AddPoint(1, 10, "", clDefault);
  s1->AddPoint(4, 20, "", clDefault);
  s2->AddPoint(-3, 15, "", clDefault);
  s2->AddPoint(2, 40, "", clDefault);
  off->AddPoint(-100, -100, "", clDefault);
  off->SetActive(false);

  TChartAxis& bottom = chart.BottomAxis();
  TChartAxis& left = chart.LeftAxis();
  bottom.RecomputeRange();
  left.RecomputeRange();
  EXPECT_EQ(bottom.RangeMin(), -3);
  EXPECT_EQ(bottom.RangeMax(), 4);
  EXPECT_EQ(left.RangeMin(), 10);
  EXPECT_EQ(left.RangeMax(), 40);
  EXPECT_EQ(left.RangeSpan(), 30);

  // A fixed end stays; the other still follows the series.
  left.SetAutomaticMinimum(false);
  left.SetMinimum(0);
  left.RecomputeRange();
  EXPECT_EQ(left.RangeMin(), 0);
  EXPECT_EQ(left.RangeMax(), 40);

  s2->SetHorizAxis(THorizAxis::aTopAxis);
  bottom.RecomputeRange();
  chart.TopAxis().RecomputeRange();
  EXPECT_EQ(bottom.RangeMin(), 1);
  EXPECT_EQ(chart.TopAxis().RangeMin(), -3);
  EXPECT_EQ(chart.TopAxis().RangeMax(), 2);
  s1->SetHorizAxis(THorizAxis::aBothHorizAxis);
  chart.TopAxis().RecomputeRange();
  EXPECT_EQ(chart.TopAxis().RangeMax(), 4);

  // With no active series on the axis the inactive ones count.
  off->SetVertAxis(TVertAxis::aRightAxis);
  chart.RightAxis().RecomputeRange();
  EXPECT_EQ(chart.RightAxis().RangeMin(), -100);

  chart.DepthAxis().RecomputeRange();
  EXPECT_EQ(chart.DepthAxis().RangeMin(), -0.5);
  EXPECT_EQ(chart.DepthAxis().RangeMax(), 2.5);
}

TEST_F(AxisFixture, PagingLimitsTheRangeToOnePage) {
  TChartSeries* s = NewSeries();
  for (int i = 0; i < 10; ++i) s->AddPoint(i * 2, i, "", clDefault);
  TChartAxis& bottom = chart.BottomAxis();
  chart.SetMaxPointsPerPage(4);
  chart.SetPage(2);
  bottom.RecomputeRange();
  EXPECT_EQ(bottom.RangeMin(), 8);
  EXPECT_EQ(bottom.RangeMax(), 14);

  chart.SetPage(3);  // the short last page: points 8 and 9
  bottom.RecomputeRange();
  EXPECT_EQ(bottom.RangeMin(), 16);
  EXPECT_EQ(bottom.RangeMax(), 18);
  chart.SetScaleLastPage(false);
  bottom.RecomputeRange();
  EXPECT_EQ(bottom.RangeMax(), 16 + 2 * 4 / 2);

  chart.SetPage(7);  // clamped to the last page
  EXPECT_EQ(chart.Page(), 3);

  // The value axis is not paged.
  chart.LeftAxis().RecomputeRange();
  EXPECT_EQ(chart.LeftAxis().RangeMax(), 9);
}

TEST_F(AxisFixture, WideningForMarginsLeavesPublishedRange) {
  TChartSeries* s = NewSeries();
  s->AddPoint(0, 0, "", clDefault);
  s->AddPoint(100, 50, "", clDefault);
  chart.SetPlotRect({0, 0, 100, 100});
  TChartAxis& bottom = chart.BottomAxis();
  bottom.RecomputeRange();
  bottom.PlacePixels();
  bottom.WidenForMargins(10, 10);
  EXPECT_DOUBLE_EQ(bottom.RangeMin(), -12.5);
  EXPECT_DOUBLE_EQ(bottom.RangeMax(), 112.5);
  EXPECT_EQ(bottom.PixelStart(), 0);
  EXPECT_EQ(bottom.PixelEnd(), 100);
  EXPECT_EQ(bottom.Minimum(), 0);
  EXPECT_EQ(bottom.Maximum(), 100);
  EXPECT_EQ(s->PixelX(0), 10);
  EXPECT_EQ(s->PixelX(1), 90);

  TChartAxis& left = chart.LeftAxis();
  left.RecomputeRange();
  left.PlacePixels();
  left.WidenForMargins(0, 20);  // bottom only
  EXPECT_DOUBLE_EQ(left.RangeMin(), -12.5);
  EXPECT_DOUBLE_EQ(left.RangeMax(), 50);
  EXPECT_EQ(s->PixelY(0), 80);
}

// A series that asks for room beyond its extreme points, as markers do.
class MarginSeries : public TChartSeries {
 public:
  MarginSeries(TComponent* owner, int h, int v) : TChartSeries(owner), h_(h), v_(v) {}
  void CalcHorizMargins(int& left, int& right) const override { left = right = h_; }
  void CalcVerticalMargins(int& top, int& bottom) const override { top = bottom = v_; }

 private:
  int h_, v_;
};

TEST_F(AxisFixture, SeriesMarginsWidenOnlyAutomaticEnds) {
  auto* small = Add(new MarginSeries(&chart, 2, 8));
  auto* large = Add(new MarginSeries(&chart, 10, 4));
  for (TChartSeries* s : {static_cast<TChartSeries*>(small), static_cast<TChartSeries*>(large)}) {
    s->AddPoint(0, 0, "", clDefault);
    s->AddPoint(100, 100, "", clDefault);
  }
  chart.SetPlotRect({0, 0, 100, 100});
  const auto layout = [&] {
    for (TCustomChartAxis* a : chart.Axes()) {
      a->RecomputeRange();
      a->PlacePixels();
    }
    chart.ComputeSeriesArea();
  };
  layout();
  // The largest margin per side counts: 10 px horizontally, 8 px vertically.
  EXPECT_EQ(small->PixelX(0), 10);
  EXPECT_EQ(small->PixelX(1), 90);
  EXPECT_EQ(small->PixelY(0), 92);
  EXPECT_EQ(small->PixelY(1), 8);

  // A fixed minimum keeps its place on the left and at the bottom.
  chart.BottomAxis().SetAutomaticMinimum(false);
  chart.LeftAxis().SetAutomaticMinimum(false);
  layout();
  EXPECT_EQ(small->PixelX(0), 0);
  EXPECT_EQ(small->PixelX(1), 90);
  EXPECT_EQ(small->PixelY(0), 100);
  EXPECT_EQ(small->PixelY(1), 8);

  // Inactive series ask for nothing.
  chart.BottomAxis().SetAutomaticMinimum(true);
  large->SetActive(false);
  layout();
  EXPECT_EQ(small->PixelX(0), 2);
}

TEST_F(AxisFixture, AxesAreVisibleOnlyWithAnActiveSeries) {
  EXPECT_FALSE(chart.IsAxisVisible(chart.BottomAxis()));
  TChartSeries* s = NewSeries();
  EXPECT_TRUE(chart.IsAxisVisible(chart.BottomAxis()));
  EXPECT_TRUE(chart.IsAxisVisible(chart.LeftAxis()));
  EXPECT_FALSE(chart.IsAxisVisible(chart.TopAxis()));
  EXPECT_FALSE(chart.IsAxisVisible(chart.RightAxis()));
  s->SetVertAxis(TVertAxis::aBothVertAxis);
  EXPECT_TRUE(chart.IsAxisVisible(chart.RightAxis()));
  chart.LeftAxis().SetVisible(false);
  EXPECT_FALSE(chart.IsAxisVisible(chart.LeftAxis()));
  chart.SetAxisVisible(false);
  EXPECT_FALSE(chart.IsAxisVisible(chart.BottomAxis()));
  chart.SetAxisVisible(true);
  s->SetActive(false);
  EXPECT_FALSE(chart.IsAxisVisible(chart.BottomAxis()));

  // The depth axis needs a 3D view and its own Visible.
  EXPECT_FALSE(chart.IsAxisVisible(chart.DepthAxis()));
  chart.DepthAxis().SetVisible(true);
  EXPECT_TRUE(chart.IsAxisVisible(chart.DepthAxis()));
  chart.SetView3D(false);
  EXPECT_FALSE(chart.IsAxisVisible(chart.DepthAxis()));
}

TEST_F(AxisFixture, CustomAxesResolveAndAreForgotten) {
  TChartSeries* s = NewSeries();
  s->AddPoint(1, 5, "", clDefault);
  s->SetVertAxis(TVertAxis::aCustomVertAxis);
  EXPECT_EQ(s->GetVertAxis(), &chart.LeftAxis());  // none set yet

  auto custom = std::make_unique<TChartAxis>(&chart, false, false);
  ASSERT_EQ(chart.Axes().size(), 6u);
  EXPECT_EQ(chart.Axes()[5], custom.get());
  EXPECT_EQ(ErrorOf<ChartException>([&] { s->SetCustomHorizAxis(custom.get()); }),
            "A custom horizontal axis must be horizontal");
  s->SetCustomVertAxis(custom.get());
  EXPECT_EQ(s->GetVertAxis(), custom.get());
  EXPECT_TRUE(s->UsesAxis(custom.get()));
  EXPECT_FALSE(s->UsesAxis(&chart.LeftAxis()));
  custom->RecomputeRange();
  EXPECT_EQ(custom->RangeMax(), 5);

  // Only an axis of the series' own chart is taken.
  TCustomAxisPanel other(nullptr);
  TChartAxis foreign(&other, false, false);
  EXPECT_EQ(ErrorOf<ChartException>([&] { s->SetCustomVertAxis(&foreign); }),
            "A custom axis must belong to the series' chart");
  EXPECT_EQ(s->GetVertAxis(), custom.get());

  custom.reset();
  EXPECT_EQ(s->CustomVertAxis(), nullptr);
  EXPECT_EQ(s->GetVertAxis(), &chart.LeftAxis());
  EXPECT_EQ(chart.Axes().size(), 5u);
}

TEST_F(AxisFixture, CustomAxesOutliveOrDieBeforeTheirChartsSafely) {
  // The series leaves the chart, then the axis goes: nothing refers to it.
  TChartSeries* s = NewSeries();
  s->SetHorizAxis(THorizAxis::aCustomHorizAxis);
  {
    TChartAxis custom(&chart, true, false);
    s->SetCustomHorizAxis(&custom);
    s->SetParentChart(nullptr);
    EXPECT_EQ(s->CustomHorizAxis(), nullptr);
  }
  s->SetParentChart(&chart);
  EXPECT_EQ(s->GetHorizAxis(), &chart.BottomAxis());

  // The chart goes first: its axes and series no longer point at it, and
  // changing what is left is safe.
  auto doomed = std::make_unique<TCustomAxisPanel>(nullptr);
  auto orphan = std::make_unique<TChartSeries>(nullptr);
  orphan->SetParentChart(doomed.get());
  TChartAxis survivor(doomed.get(), true, false);
  orphan->SetCustomHorizAxis(&survivor);
  doomed.reset();
  EXPECT_EQ(survivor.ParentChart(), nullptr);
  EXPECT_EQ(orphan->CustomHorizAxis(), nullptr);
  survivor.Title().SetCaption("still here");
  survivor.Title().Font().SetColor(clRed);
  survivor.SetMinimum(-1);
  orphan->SetParentChart(&chart);
  EXPECT_EQ(orphan->GetHorizAxis(), &chart.BottomAxis());
}

TEST_F(AxisFixture, ZeroMarginsKeepTheRangeExactly) {
  TChartSeries* s = NewSeries();
  s->AddPoint(0.1, 0.1, "", clDefault);
  s->AddPoint(0.2, 0.2, "", clDefault);
  chart.SetPlotRect({0, 0, 81, 81});
  TChartAxis& left = chart.LeftAxis();
  left.RecomputeRange();
  left.PlacePixels();
  left.WidenForMargins(0, 0);
  EXPECT_EQ(left.RangeMin(), 0.1);
  EXPECT_EQ(left.RangeMax(), 0.2);
  left.WidenForMargins(8, 0);  // only the top moves
  EXPECT_EQ(left.RangeMin(), 0.1);
  EXPECT_GT(left.RangeMax(), 0.2);
  // Margins wider than the axis leave the range as it is.
  left.RecomputeRange();
  chart.SetPlotRect({0, 0, 81, 10});
  left.PlacePixels();
  left.WidenForMargins(8, 8);
  EXPECT_EQ(left.RangeMin(), 0.1);
  EXPECT_EQ(left.RangeMax(), 0.2);
}

struct VisibleRangeFixture : AxisFixture {
  void Prepare(TChartSeries* s, double lo, double hi) {
    for (int i = 0; i < 10; ++i) s->AddPoint(i, i * i, "", clDefault);
    chart.SetPlotRect({0, 0, 100, 100});
    chart.BottomAxis().SetRange(lo, hi);
    chart.BottomAxis().RecomputeRange();
    chart.BottomAxis().PlacePixels();
    s->ComputeVisibleRange();
  }
};

TEST_F(VisibleRangeFixture, AllOutsideOrAllInside) {
  TChartSeries* s = NewSeries();
  Prepare(s, 20, 30);
  EXPECT_EQ(s->FirstVisible(), -1);
  EXPECT_EQ(s->LastVisible(), -1);
  chart.BottomAxis().SetRange(-1, 100);
  chart.BottomAxis().RecomputeRange();
  s->ComputeVisibleRange();
  EXPECT_EQ(s->FirstVisible(), 0);
  EXPECT_EQ(s->LastVisible(), 9);
}

TEST_F(VisibleRangeFixture, LineKindsKeepThePointPastTheEdge) {
  TChartSeries* plain = NewSeries();
  Prepare(plain, 2.5, 5.5);
  EXPECT_EQ(plain->FirstVisible(), 3);
  EXPECT_EQ(plain->LastVisible(), 5);

  TChartSeries* line = Add(new LineSeries(&chart));
  for (int i = 0; i < 10; ++i) line->AddPoint(i, i, "", clDefault);
  line->ComputeVisibleRange();
  EXPECT_EQ(line->FirstVisible(), 3);
  EXPECT_EQ(line->LastVisible(), 6);

  chart.BottomAxis().SetInverted(true);
  line->ComputeVisibleRange();
  EXPECT_EQ(line->FirstVisible(), 3);
  EXPECT_EQ(line->LastVisible(), 6);

  line->XValues().SetOrder(TChartListOrder::loNone);
  line->ComputeVisibleRange();
  EXPECT_EQ(line->FirstVisible(), 0);
  EXPECT_EQ(line->LastVisible(), 9);
}

TEST_F(AxisFixture, SettersRepaintOnlyOnChange) {
  TChartAxis& a = chart.BottomAxis();
  const long long before = chart.RepaintRequestCount();
  a.SetTickLength(4);
  a.SetInverted(false);
  EXPECT_EQ(chart.RepaintRequestCount(), before);
  a.SetTickLength(6);
  EXPECT_EQ(chart.RepaintRequestCount(), before + 1);
  a.Grid().SetVisible(false);
  a.LabelsFont().SetHeight(-20);
  a.Title().Font().SetHeight(-20);
  EXPECT_EQ(chart.RepaintRequestCount(), before + 4);
}

TEST_F(AxisFixture, PensHaveTheirDefaults) {
  const TChartAxis& a = chart.LeftAxis();
  EXPECT_EQ(a.Ticks().Color(), clGray);
  EXPECT_EQ(a.Ticks().Style(), TPenStyle::psSolid);
  EXPECT_EQ(a.Grid().Color(), clGray);
  EXPECT_EQ(a.Grid().Style(), TPenStyle::psDot);
  EXPECT_FALSE(a.MinorGrid().Visible());
  EXPECT_EQ(a.Axis().Width(), 2);
}

}  // namespace
}  // namespace nitko
