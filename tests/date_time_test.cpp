#include "runtime/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "runtime/exception.h"

using namespace nitko;

namespace {

struct Ymd {
  int y, m, d;
};

Ymd Date(TDateTime v) {
  Ymd r{};
  DecodeDate(v, r.y, r.m, r.d);
  return r;
}

class DateFormats : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDate_ = ShortDateFormat();
    savedTime_ = ShortTimeFormat();
    SetShortDateFormat("dd.mm.yyyy");
    SetShortTimeFormat("hh:nn");
  }
  void TearDown() override {
    SetShortDateFormat(savedDate_);
    SetShortTimeFormat(savedTime_);
  }

 private:
  std::string savedDate_, savedTime_;
};

}  // namespace

TEST(DateTime, EncodeKnownDays) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTime, RoundTripAcrossLeapRules) {
  const Ymd cases[] = {{2000, 2, 29},  {1900, 2, 28}, {1900, 3, 1},   {2024, 12, 31},
                       {1899, 12, 29}, {1, 1, 1},     {9999, 12, 31}, {1600, 2, 29}};
  for (const Ymd& c : cases) {
    const Ymd r = Date(EncodeDate(c.y, c.m, c.d));
    EXPECT_EQ(r.y, c.y);
    EXPECT_EQ(r.m, c.m);
    EXPECT_EQ(r.d, c.d);
  }
  // Consecutive days stay consecutive over a century without a leap day.
  EXPECT_EQ(EncodeDate(1900, 3, 1) - EncodeDate(1900, 2, 28), 1.0);
  EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);
}

TEST(DateTime, InvalidFieldsRaise) {
  EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(2023, 13, 1), EConvertError);
  EXPECT_THROW(EncodeDate(2023, 4, 31), EConvertError);
  EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
  EXPECT_THROW(EncodeDate(10000, 1, 1), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  try {
    EncodeDate(2023, 2, 30);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Invalid argument to date encode");
  }
  try {
    EncodeTime(-1, 0, 0, 0);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Invalid argument to time encode");
  }
  int y, m, d;
  EXPECT_THROW(DecodeDate(1e300, y, m, d), EConvertError);
  EXPECT_THROW(DecodeDate(std::nan(""), y, m, d), EConvertError);
}

TEST(DateTime, DecodeTimeRoundsToMillisecondsWithCarry) {
  int h, n, s, ms;
  const TDateTime v = EncodeDate(2021, 6, 15) + EncodeTime(13, 45, 30, 250);
  DecodeTime(v, h, n, s, ms);
  EXPECT_EQ(h, 13);
  EXPECT_EQ(n, 45);
  EXPECT_EQ(s, 30);
  EXPECT_EQ(ms, 250);
  // Just short of midnight rounds into the next day, not to 24:00.
  const TDateTime late = EncodeDate(2021, 6, 15) + 0.99999999999;
  DecodeTime(late, h, n, s, ms);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(ms, 0);
  EXPECT_EQ(Date(late).d, 16);
  // Negative values: day from the integer part, time from |fraction|.
  DecodeTime(-1.25, h, n, s, ms);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(Date(-1.25).d, 29);
}

TEST(DateTime, DayOfWeek) {
  EXPECT_EQ(DayOfWeek(0), 7);                         // Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2000, 1, 1)), 7);    // Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 4)), 2);    // Monday
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1);  // Sunday, before day 0
  EXPECT_EQ(DateOf(EncodeDate(2024, 3, 4) + 0.75), EncodeDate(2024, 3, 4));
}

TEST_F(DateFormats, FormatFields) {
  const TDateTime v = EncodeDate(2024, 3, 4) + EncodeTime(15, 7, 9, 45);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", v), "2024-03-04 15:07:09.045");
  EXPECT_EQ(FormatDateTime("d/m/yy", v), "4/3/24");
  EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", v), "Mon Monday Mar March");
  // "m" after an hour is minutes.
  EXPECT_EQ(FormatDateTime("h:mm", v), "15:07");
  EXPECT_EQ(FormatDateTime("h:nn am/pm", v), "3:07 pm");
  EXPECT_EQ(FormatDateTime("hh a/p", EncodeTime(0, 30, 0, 0)), "12 a");
  EXPECT_EQ(FormatDateTime("\"day\" d 'of' mmmm", v), "day 4 of March");
  EXPECT_EQ(FormatDateTime("ddddd t", v), "04.03.2024 15:07");
  EXPECT_EQ(FormatDateTime("c", v), "04.03.2024 15:07");
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2024, 3, 4)), "04.03.2024");
}

TEST_F(DateFormats, FormatsThatReferToThemselvesStop) {
  SetShortDateFormat("c");
  EXPECT_NO_THROW(FormatDateTime("c", 1.5));
}

TEST(DateTime, PatternsFromLocaleFormats) {
  EXPECT_EQ(PatternFromStrftime("%m/%d/%y", true), "mm/dd/yy");
  EXPECT_EQ(PatternFromStrftime("%d.%m.%Y", true), "dd.mm.yyyy");
  EXPECT_EQ(PatternFromStrftime("%F", true), "yyyy-mm-dd");
  EXPECT_EQ(PatternFromStrftime("%T", false), "hh:nn");
  EXPECT_EQ(PatternFromStrftime("%H:%M:%S", true), "hh:nn:ss");
  EXPECT_EQ(PatternFromStrftime("%I:%M:%S %p", false), "hh:nn ampm");
  EXPECT_EQ(PatternFromStrftime("%-d. %-m. %Y", true), "d. m. yyyy");
  // Literal letters are quoted so they do not read as fields.
  EXPECT_EQ(PatternFromStrftime("%d de %B", true), "dd\" de \"mmmm");
  // Where a unit follows each field, the seconds leave with their own unit
  // and the minutes keep theirs.
  EXPECT_EQ(PatternFromStrftime("%H時%M分%S秒", false), "hh時nn分");
  EXPECT_EQ(PatternFromStrftime("%H時%M分%S秒", true), "hh時nn分ss秒");
  EXPECT_EQ(PatternFromStrftime("%H시 %M분 %S초", false), "hh시 nn분");
}

TEST(DateTime, ReadLocaleFormatsGivesUsablePatterns) {
  const std::string d = ShortDateFormat(), t = ShortTimeFormat();
  ReadLocaleDateFormats();
  const TDateTime v = EncodeDate(2024, 3, 4) + EncodeTime(15, 7, 9, 0);
  EXPECT_NE(FormatDateTime(ShortDateFormat(), v).find("4"), std::string::npos);
  EXPECT_EQ(FormatDateTime(ShortTimeFormat(), v).find("09"), std::string::npos);
  SetShortDateFormat(d);
  SetShortTimeFormat(t);
}
