#include <clocale>
#include <cstdlib>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "runtime/locale_chars.h"
#include "runtime/number_pattern.h"

using namespace nitko;

namespace {

struct PatternCase {
  const char* pattern;
  double value;
  const char* expected;
};

// What a reader of the pattern expects, with "." and "," as the characters.
const PatternCase kCases[] = {
    {"#,##0.###", 1234.5, "1,234.5"},
    {"#,##0.###", 1234567.891, "1,234,567.891"},
    {"#,##0", 999.5, "1,000"},
    {"#,##0", 12, "12"},
    {"0.00", 0.005, "0.01"},
    {"0.000", 0.0045, "0.005"},  // stored a hair below, rounded as written
    {"0.###", 0.0625, "0.063"},
    {"0.##", 9.999, "10"},
    {"0.00", 2.675, "2.68"},
    {".00", 0.5, ".50"},
    {".##", 0.25, ".25"},
    {"00", 7, "07"},
    {"#", 0, "0"},
    {"#.##", 0.001, "0"},
    {"0", -0.4, "0"},  // rounds to zero: no sign
    {"0.0", -0.05, "-0.1"},
    {"0.00", -1234.5, "-1234.50"},
    {"x = 0.0 m", 2.25, "x = 2.3 m"},
    {"0.0.", 3, "3.0."},  // a point after the last placeholder is punctuation
    {"abc", 1, "abc"},
    {"0.00", 1e300, nullptr},  // checked for length below
};

class NumberPattern : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = CurrentLocaleChars(); }
  void TearDown() override {
    SetLocaleChars(saved_);
    unsetenv("LC_ALL");
    std::setlocale(LC_ALL, "C");
  }
  LocaleChars saved_;
};

}  // namespace

TEST_F(NumberPattern, FormatsAsWritten) {
  SetLocaleChars({'.', ','});
  for (const PatternCase& c : kCases) {
    SCOPED_TRACE(std::string(c.pattern) + " with " + std::to_string(c.value));
    const std::string out = FormatNumberPattern(c.pattern, c.value);
    if (c.expected != nullptr) {
      EXPECT_EQ(out, c.expected);
    } else {
      // 1e300 keeps its 301 integer digits and two decimals.
      EXPECT_EQ(out.size(), 301u + 3u);
      EXPECT_EQ(out.substr(0, 15), "100000000000000");
    }
  }
  EXPECT_EQ(FormatNumberPattern("0.0", std::nan("")), "NAN");
  EXPECT_EQ(FormatNumberPattern("[0]", -std::numeric_limits<double>::infinity()), "[-INF]");
}

// The GUI sets the process locale from LANG; the conversion must not follow it.
TEST_F(NumberPattern, PolishProcessLocaleGivesPolishText) {
  setenv("LC_ALL", "pl_PL.UTF-8", 1);
  if (std::setlocale(LC_ALL, "") == nullptr) GTEST_SKIP() << "pl_PL.UTF-8 is not generated here";
  ReadLocaleChars();
  ASSERT_EQ(CurrentLocaleChars().decimal, ',');
  const PatternCase polish[] = {
      {"#,##0.###", 1234.5, "1 234,5"},
      {"0.00", -0.5, "-0,50"},
      {"#,##0", 1234567, "1 234 567"},
      {".00", 0.125, ",13"},
  };
  for (const PatternCase& c : polish) EXPECT_EQ(FormatNumberPattern(c.pattern, c.value), c.expected);
}
