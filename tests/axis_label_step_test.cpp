#include "chart/axis_label_step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "chart/axis_ticks.h"
#include "runtime/date_time.h"
#include "runtime/locale_chars.h"

using namespace nitko;

namespace {

class LocaleScope {
 public:
  LocaleScope(char decimal, char thousands)
      : decimal_(LocaleDecimalChar()), thousands_(LocaleThousandsChar()) {
    SetLocaleDecimalChar(decimal);
    SetLocaleThousandsChar(thousands);
  }
  ~LocaleScope() {
    SetLocaleDecimalChar(decimal_);
    SetLocaleThousandsChar(thousands_);
  }

 private:
  char decimal_, thousands_;
};

std::string Num(double v) {
  return FormatLabel(v, LabelFormat{});
}

}  // namespace

TEST(AxisLabelStep, NiceStepsRunOneTwoFive) {
  EXPECT_DOUBLE_EQ(NextNiceStep(0.3), 0.5);
  EXPECT_DOUBLE_EQ(NextNiceStep(7), 10);
  EXPECT_DOUBLE_EQ(NextNiceStep(20), 50);
  EXPECT_DOUBLE_EQ(NextNiceStep(1), 2);
  EXPECT_DOUBLE_EQ(NextNiceStep(0.1), 0.2);
  EXPECT_DOUBLE_EQ(NextNiceStep(0.2), 0.5);
  EXPECT_DOUBLE_EQ(NextNiceStep(0.5), 1);
  EXPECT_DOUBLE_EQ(NextNiceStep(1e-7), 2e-7);
  // No endless search on a step that cannot grow by scaling.
  EXPECT_GT(NextNiceStep(0), 0);
  EXPECT_GT(NextNiceStep(-3), 0);
}

TEST(AxisLabelStep, DateTimeTable) {
  EXPECT_DOUBLE_EQ(kDateTimeStepTable[0] * 86400, 1);
  EXPECT_DOUBLE_EQ(kDateTimeStepTable[9] * 86400, 1800);
  EXPECT_EQ(kDateTimeStepTable[14], 1);
  EXPECT_EQ(kDateTimeStepTable[24], 365);
  EXPECT_DOUBLE_EQ(NextTableStep(kDateTimeStepTable[0]), kDateTimeStepTable[1]);
  EXPECT_EQ(NextTableStep(1.5), 2);  // past 1 day, below 2
  EXPECT_EQ(NextTableStep(182), 365);
  EXPECT_EQ(NextTableStep(1000), 365);
  EXPECT_DOUBLE_EQ(NextTableStep(0.1 * kOneSecondStep), kDateTimeStepTable[0]);
  EXPECT_EQ(MatchTableStep(7), 17);
  EXPECT_EQ(MatchTableStep(1 + 0.5 * kOneSecondStep), 14);
  EXPECT_EQ(MatchTableStep(1 + 2 * kOneSecondStep), kNoTableStep);
  EXPECT_EQ(MatchTableStep(365), 24);
}

TEST(AxisLabelStep, IncrementGrowsUntilLabelsFit) {
  // About -1..1.8 with room for 18 labels: 0.1 needs 28, 0.2 needs 14.
  LabelStepInput in;
  in.rangeSpan = 2.8;
  in.increment = 0.1;
  EXPECT_DOUBLE_EQ(StepForLabelCount(18, in), 0.2);
  EXPECT_DOUBLE_EQ(StepForLabelCount(28, in), 0.1);
  EXPECT_DOUBLE_EQ(StepForLabelCount(3, in), 1);
  // Without separation the increment is kept whatever the count.
  in.labelsSeparation = 0;
  EXPECT_DOUBLE_EQ(StepForLabelCount(3, in), 0.1);
  // No increment: 1 for spans of at least 1, else the smallest step.
  in = LabelStepInput{};
  in.rangeSpan = 0.5;
  EXPECT_DOUBLE_EQ(StepForLabelCount(0, in), kSmallestStep);
  EXPECT_NEAR(StepForLabelCount(5, in), 0.1, 1e-15);
  in.rangeSpan = 1e15;
  EXPECT_GE(in.rangeSpan / StepForLabelCount(10, in), 1);
  EXPECT_LE(in.rangeSpan / StepForLabelCount(10, in), 10.5);
}

TEST(AxisLabelStep, StepFromLabelSize) {
  LabelStepInput in;
  in.rangeSpan = 2.8;
  in.increment = 0.1;
  in.pixelLength = 396;  // 396 / (20 + 2) = 18 labels
  EXPECT_DOUBLE_EQ(StepForLabelSize(20, in), 0.2);
  EXPECT_DOUBLE_EQ(LabelStep(12, 20, in), 0.2);
  in.pixelLength = 616;  // 28 labels
  EXPECT_DOUBLE_EQ(LabelStep(20, 3, in), 0.1);
  // An empty label counts as one label.
  EXPECT_DOUBLE_EQ(StepForLabelSize(0, in), 2);
}

TEST(AxisLabelStep, DateTimeStepsFollowTheTable) {
  LabelStepInput in;
  in.isDateTime = true;
  in.rangeSpan = 30;  // a month of days
  EXPECT_EQ(StepForLabelCount(10, in), 3);
  EXPECT_EQ(StepForLabelCount(4, in), 7);
  EXPECT_EQ(StepForLabelCount(2, in), 15);
  EXPECT_DOUBLE_EQ(StepForLabelCount(0, in), kOneSecondStep);
  // Beyond a year the step doubles.
  EXPECT_EQ(DateTimeStepForCount(3, 3650, 0), 1460);
  // Under an hour, 6 labels: 10 minutes.
  EXPECT_DOUBLE_EQ(DateTimeStepForCount(6, 1.0 / 24, 0), kDateTimeStepTable[7]);
  EXPECT_EQ(DateTimeStepForCount(10, 30, 7), 7);
}

TEST(AxisLabelStep, FirstLabelAndDefaultValues) {
  EXPECT_DOUBLE_EQ(FirstLabelValue({0.13, 0.87, 0.2, true}), 0.8);
  EXPECT_DOUBLE_EQ(FirstLabelValue({0.13, 0.87, 0.2, false}), 0.87);
  // Truncation toward zero puts a negative top label above the range.
  const std::vector<double> neg = DefaultLabelValues({-0.87, -0.13, 0.2, true});
  ASSERT_FALSE(neg.empty());
  EXPECT_NEAR(neg.front(), -0.2, 1e-12);
  const std::vector<double> v = DefaultLabelValues({0.13, 0.87, 0.2, true});
  ASSERT_EQ(v.size(), 4u);
  EXPECT_NEAR(v[0], 0.8, 1e-12);
  EXPECT_NEAR(v[1], 0.6, 1e-12);
  EXPECT_NEAR(v[2], 0.4, 1e-12);
  EXPECT_NEAR(v[3], 0.2, 1e-12);
  // A 0..0 range has the single label 0.
  EXPECT_EQ(DefaultLabelValues({0, 0, kSmallestStep, true}), std::vector<double>{0});
  EXPECT_EQ(DefaultLabelValues({0, 1, 0.25, true}), (std::vector<double>{1, 0.75, 0.5, 0.25, 0}));
  // Too many labels: none at all.
  EXPECT_TRUE(DefaultLabelValues({0, 1, 1e-4, true}).empty());
  EXPECT_TRUE(DefaultLabelValues({1, 0, 0.1, true}).empty());
  // A step too small to move v gives one label, not thousands at one place.
  EXPECT_EQ(DefaultLabelValues({1e15, 1e15 + 0.125, 0.02, false}).size(), 1u);
  EXPECT_EQ(DefaultLabelValues({1e20 - 1e5, 1e20, 100, false}).size(), 1u);
  // The bottom label of a negative range is kept.
  EXPECT_EQ(DefaultLabelValues({-2, 2, 0.5, true}).back(), -2);
  EXPECT_EQ(DefaultLabelValues({-5, 0, 1, true}), (std::vector<double>{0, -1, -2, -3, -4, -5}));
  EXPECT_EQ(DefaultLabelValues({5, 10, 5, true}), (std::vector<double>{10, 5}));
}

TEST(AxisLabelStep, CalendarLabels) {
  EXPECT_EQ(LabelTableIndex(true, true, 30, 30), 19);
  EXPECT_EQ(LabelTableIndex(true, true, 30, 100), 22);  // raised past 90 days
  EXPECT_EQ(LabelTableIndex(true, true, 30, 1000), 24);
  EXPECT_EQ(LabelTableIndex(true, false, 30, 30), kNoTableStep);
  EXPECT_EQ(LabelTableIndex(true, true, 0, 30), kNoTableStep);
  EXPECT_EQ(LabelTableIndex(true, true, 0.3, 30), kNoTableStep);

  const double mid = EncodeDate(2024, 3, 20) + 0.5;
  EXPECT_EQ(RoundToCalendarStep(18, mid), EncodeDate(2024, 3, 15));
  EXPECT_EQ(RoundToCalendarStep(18, EncodeDate(2024, 3, 14)), EncodeDate(2024, 3, 1));
  EXPECT_EQ(RoundToCalendarStep(21, mid), EncodeDate(2024, 3, 1));
  EXPECT_EQ(RoundToCalendarStep(24, mid), EncodeDate(2024, 1, 1));
  EXPECT_EQ(RoundToCalendarStep(14, mid), EncodeDate(2024, 3, 20));
  EXPECT_EQ(RoundToCalendarStep(24, 1.5), 1.5);  // before 1900

  EXPECT_EQ(CalendarStepDown(18, mid), EncodeDate(2024, 3, 15));
  EXPECT_EQ(CalendarStepDown(18, EncodeDate(2024, 3, 15)), EncodeDate(2024, 3, 1));
  EXPECT_EQ(CalendarStepDown(18, EncodeDate(2024, 1, 1)), EncodeDate(2023, 12, 15));
  EXPECT_EQ(CalendarStepDown(19, EncodeDate(2024, 1, 1)), EncodeDate(2023, 12, 1));
  EXPECT_EQ(CalendarStepDown(23, EncodeDate(2024, 3, 20)), EncodeDate(2023, 9, 1));
  EXPECT_EQ(CalendarStepDown(24, EncodeDate(2024, 2, 29)), EncodeDate(2023, 2, 28));
  EXPECT_EQ(CalendarStepDown(24, EncodeDate(1, 5, 5)), -HUGE_VAL);

  // Monthly labels of the first quarter, from the top down.
  LabelRange r{EncodeDate(2024, 1, 1), EncodeDate(2024, 3, 20), 30, true, 19};
  EXPECT_EQ(DefaultLabelValues(r),
            (std::vector<double>{EncodeDate(2024, 3, 1), EncodeDate(2024, 2, 1),
                                 EncodeDate(2024, 1, 1)}));
}

TEST(AxisLabelStep, LogarithmicLabels) {
  EXPECT_EQ(LogarithmicLabelValues(1, 1000, 10).size(), 4u);
  const std::vector<double> v = LogarithmicLabelValues(5, 2000, 10);
  ASSERT_EQ(v.size(), 3u);
  EXPECT_DOUBLE_EQ(v[0], 10);
  EXPECT_DOUBLE_EQ(v[2], 1000);
  // Zero and negative minima are replaced before the search.
  EXPECT_DOUBLE_EQ(LogarithmicLabelValues(0, 1, 10).front(), 0.1);
  EXPECT_DOUBLE_EQ(LogarithmicLabelValues(-5, 1e-9, 10).front(), 1e-10);
  EXPECT_TRUE(LogarithmicLabelValues(3, 3, 10).empty());
  EXPECT_TRUE(LogarithmicLabelValues(1, 100, 1).empty());
  EXPECT_TRUE(LogarithmicLabelValues(1, HUGE_VAL, 10).empty());
}

TEST(AxisLabelStep, FormatLabelNumbers) {
  {
    LocaleScope loc('.', ',');
    EXPECT_EQ(Num(0), "0");
    EXPECT_EQ(Num(1234567.891), "1,234,567.891");
    EXPECT_EQ(Num(0.2), "0.2");
    EXPECT_EQ(Num(-1.5), "-1.5");
    EXPECT_EQ(Num(2.00049), "2");
    EXPECT_EQ(Num(0.12351), "0.124");
    EXPECT_EQ(Num(-0.0001), "0");
    EXPECT_EQ(Num(999.9999), "1,000");
    EXPECT_EQ(Num(123), "123");
    // Halves round up on the decimal digits, not by the binary value.
    EXPECT_EQ(Num(0.0625), "0.063");
    EXPECT_EQ(Num(0.0045), "0.005");
    EXPECT_EQ(Num(2.0005), "2.001");
    EXPECT_EQ(Num(-0.0005), "-0.001");
    EXPECT_EQ(Num(0.0004), "0");
    EXPECT_EQ(Num(1e20), "100,000,000,000,000,000,000");
    EXPECT_EQ(Num(5e-324), "0");
  }
  {
    LocaleScope loc(',', ' ');
    EXPECT_EQ(Num(1234.5), "1 234,5");
    EXPECT_EQ(Num(-1000000), "-1 000 000");
    EXPECT_EQ(Num(0.05), "0,05");
  }
  LabelFormat f;
  f.valuesFormat = "0.00 kg";
  LocaleScope loc('.', ',');
  EXPECT_EQ(FormatLabel(1234.5, f), "1234.50 kg");
  f.multiLine = true;
  EXPECT_EQ(FormatLabel(3, f), "3.00\rkg");
}

TEST(AxisLabelStep, FormatLabelDateTime) {
  const std::string savedDate = ShortDateFormat(), savedTime = ShortTimeFormat();
  SetShortDateFormat("dd.mm.yyyy");
  SetShortTimeFormat("hh:nn");
  LabelFormat f;
  f.isDateTime = true;
  const TDateTime v = EncodeDate(2024, 3, 4) + EncodeTime(15, 7, 0, 0);
  EXPECT_EQ(FormatLabel(-1, f), "");
  f.rangeSpan = 10;
  EXPECT_EQ(FormatLabel(v, f), "04.03.2024");
  f.rangeSpan = 0.5;
  EXPECT_EQ(FormatLabel(v, f), "15:07");
  f.dateTimeFormat = "mmm yyyy";
  EXPECT_EQ(FormatLabel(v, f), "Mar 2024");
  EXPECT_EQ(FormatLabel(1e12, f), "");  // beyond the calendar
  SetShortDateFormat(savedDate);
  SetShortTimeFormat(savedTime);
}

TEST(AxisTicks, GridAndMinorTicks) {
  const std::vector<int> ticks{10, 30, 50, 70};
  EXPECT_EQ(GridPositions(ticks, false), ticks);
  EXPECT_EQ(GridPositions(ticks, true), (std::vector<int>{20, 40, 60}));
  EXPECT_EQ(GridPositions({10, 13, 15}, true), (std::vector<int>{12, 14}));  // half to even
  EXPECT_TRUE(GridPositions({10}, true).empty());
  // The outer minor tick at 0 sits on the axis end and is left out.
  EXPECT_EQ(MinorTickPositions(ticks, 1, 0, 100), (std::vector<int>{80, 20, 40, 60}));
  EXPECT_EQ(MinorTickPositions({0, 12}, 2, -100, 100), (std::vector<int>{-4, 16, -8, 20, 8, 4}));
  EXPECT_TRUE(MinorTickPositions({50}, 3, 0, 100).empty());
  EXPECT_TRUE(MinorTickPositions(ticks, 0, 0, 100).empty());
}

TEST(AxisTicks, LogarithmicMinorTicks) {
  // 1..100 over pixels 100..0.
  auto pixelOf = [](double v) { return static_cast<int>(std::lround(100 - 50 * std::log10(v))); };
  auto valueAt = [](int p) { return std::pow(10.0, (100 - p) / 50.0); };
  const std::vector<int> ticks{100, 50, 0};
  const std::vector<int> all = LogMinorTickPositions(ticks, 8, 0, 100, 10, 100, pixelOf, valueAt);
  ASSERT_EQ(all.size(), 16u);
  EXPECT_EQ(all[0], pixelOf(2));
  EXPECT_EQ(all[8], pixelOf(20));
  EXPECT_EQ(LogMinorTickPositions(ticks, 8, 0, 100, 10, 50, pixelOf, valueAt).size(), 12u);
}
