#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "runtime/exception.h"
#include "runtime/locale_chars.h"

using namespace nitko;

namespace {

class NumberText : public ::testing::Test {
 protected:
  void SetUp() override { SetLocaleDecimalChar('.'); }
  void TearDown() override { SetLocaleDecimalChar('.'); }
};

std::string Digits(Extended v, int precision = 15, int decimals = 9999) {
  return ToDecimalDigits(v, precision, decimals).digits;
}

// 15 significant digits, rounded half up from the correctly rounded 18, in the
// layout FormatNumber promises: the oracle for random values.
std::string Reference(double v) {
  if (v == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17e", std::fabs(v));
  std::string d;
  for (char* p = buf; *p && *p != 'e'; ++p)
    if (*p != '.') d += *p;
  int e = std::atoi(std::strchr(buf, 'e') + 1) + 1;
  if (d[15] >= '5') {
    int i = 14;
    while (i >= 0 && d[i] == '9') --i;
    if (i < 0) {
      d = "1";
      ++e;
    } else {
      ++d[i];
      d.resize(i + 1);
    }
  } else {
    d.resize(15);
  }
  while (!d.empty() && d.back() == '0') d.pop_back();
  std::string out = v < 0 ? "-" : "";
  if (e > 15 || e < -3) {
    out += d[0];
    if (d.size() > 1) out += "." + d.substr(1);
    out += "E" + std::to_string(e - 1);
  } else if (e <= 0) {
    out += "0." + std::string(-e, '0') + d;
  } else {
    for (int i = 0; i < e; ++i) out += i < static_cast<int>(d.size()) ? d[i] : '0';
    if (static_cast<int>(d.size()) > e) out += "." + d.substr(e);
  }
  return out;
}

}  // namespace

TEST_F(NumberText, DecimalDigitsOfOrdinaryValues) {
  TDecimalForm pi = ToDecimalDigits(3.14159265358979323846L, 18, 9999);
  EXPECT_STREQ(pi.digits, "314159265358979324");
  EXPECT_EQ(pi.exponent, 1);
  EXPECT_FALSE(pi.negative);

  TDecimalForm half = ToDecimalDigits(-0.5L, 15, 9999);
  EXPECT_STREQ(half.digits, "5");
  EXPECT_EQ(half.exponent, 0);
  EXPECT_TRUE(half.negative);

  EXPECT_EQ(ToDecimalDigits(1e-300L, 15, 9999).exponent, -299);
  EXPECT_EQ(ToDecimalDigits(123.0L, 15, 9999).exponent, 3);
  EXPECT_EQ(Digits(1e300L), "1");
}

TEST_F(NumberText, DecimalDigitsRoundHalfUpAndCarry) {
  EXPECT_EQ(Digits(2.0L / 3.0L), "666666666666667");
  TDecimalForm nines = ToDecimalDigits(0.9999999999999999, 15, 9999);
  EXPECT_STREQ(nines.digits, "1");
  EXPECT_EQ(nines.exponent, 1);
  // decimals limits the digits after the decimal point.
  TDecimalForm d2 = ToDecimalDigits(12.3456L, 15, 2);
  EXPECT_STREQ(d2.digits, "1235");
  EXPECT_EQ(d2.exponent, 2);
  // Fewer decimals than the value needs: it rounds away to zero...
  TDecimalForm gone = ToDecimalDigits(-0.0004L, 15, 2);
  EXPECT_STREQ(gone.digits, "");
  EXPECT_EQ(gone.exponent, 0);
  EXPECT_FALSE(gone.negative);
  // ...or up to a single "1" one place higher.
  TDecimalForm up = ToDecimalDigits(0.6L, 15, 0);
  EXPECT_STREQ(up.digits, "1");
  EXPECT_EQ(up.exponent, 1);
}

TEST_F(NumberText, DecimalDigitsOfSpecialValues) {
  EXPECT_EQ(ToDecimalDigits(0.0L, 15, 9999).exponent, 0);
  EXPECT_STREQ(ToDecimalDigits(0.0L, 15, 9999).digits, "");
  EXPECT_FALSE(ToDecimalDigits(-0.0L, 15, 9999).negative);
  EXPECT_EQ(ToDecimalDigits(std::numeric_limits<Extended>::denorm_min(), 15, 9999).exponent, 0);
  TDecimalForm inf = ToDecimalDigits(-__builtin_infl(), 15, 9999);
  EXPECT_EQ(inf.exponent, TDecimalForm::kInfinity);
  EXPECT_TRUE(inf.negative);
  TDecimalForm nan = ToDecimalDigits(-std::numeric_limits<Extended>::quiet_NaN(), 15, 9999);
  EXPECT_EQ(nan.exponent, TDecimalForm::kNaN);
  EXPECT_FALSE(nan.negative);
  // The smallest and largest normal extended values still give 18 digits.
  EXPECT_EQ(ToDecimalDigits(std::numeric_limits<Extended>::min(), 18, 9999).exponent, -4931);
  EXPECT_EQ(ToDecimalDigits(std::numeric_limits<Extended>::max(), 18, 9999).exponent, 4933);
  EXPECT_EQ(Digits(std::numeric_limits<Extended>::min(), 18).front(), '3');
}

TEST_F(NumberText, FormatsInPlainAndExponentForm) {
  EXPECT_EQ(FormatNumber(0), "0");
  EXPECT_EQ(FormatNumber(-0.0), "0");
  EXPECT_EQ(FormatNumber(0.30000000000000004), "0.3");
  EXPECT_EQ(FormatNumber(0.1), "0.1");
  EXPECT_EQ(FormatNumber(-0.5), "-0.5");
  EXPECT_EQ(FormatNumber(123456789012345.0), "123456789012345");
  EXPECT_EQ(FormatNumber(1e15), "1E15");
  EXPECT_EQ(FormatNumber(999999999999999.9), "1E15");
  EXPECT_EQ(FormatNumber(1.5e20), "1.5E20");
  EXPECT_EQ(FormatNumber(0.0001), "0.0001");
  EXPECT_EQ(FormatNumber(0.00001234), "1.234E-5");
  EXPECT_EQ(FormatNumber(2.0 / 3.0), "0.666666666666667");
  EXPECT_EQ(FormatNumber(0.9999999999999999), "1");
  EXPECT_EQ(FormatNumber(10109), "10109");
  EXPECT_EQ(FormatNumber(12.25), "12.25");
  EXPECT_EQ(FormatNumber(-1e-300), "-1E-300");
  EXPECT_EQ(FormatNumber(9.99999999999998), "9.99999999999998");
}

TEST_F(NumberText, FormatsSpecialValues) {
  EXPECT_EQ(FormatNumber(__builtin_infl()), "INF");
  EXPECT_EQ(FormatNumber(-__builtin_infl()), "-INF");
  EXPECT_EQ(FormatNumber(-std::numeric_limits<Extended>::quiet_NaN()), "NAN");
}

TEST_F(NumberText, FormatsWithTheLocaleDecimalChar) {
  SetLocaleDecimalChar(',');
  EXPECT_EQ(FormatNumber(0.30000000000000004), "0,3");
  EXPECT_EQ(FormatNumber(0.00001234), "1,234E-5");
  EXPECT_EQ(FormatNumber(12.25), "12,25");
}

TEST_F(NumberText, FormatAgreesWithCorrectRoundingOnRandomDoubles) {
  std::mt19937_64 rng(20261209);
  std::uniform_int_distribution<uint64_t> bits;
  int checked = 0;
  while (checked < 20000) {
    uint64_t b = bits(rng);
    double v;
    std::memcpy(&v, &b, sizeof v);
    if (!std::isfinite(v) || v == 0 || std::fpclassify(v) == FP_SUBNORMAL) continue;
    // Spread over the plain range too, not only huge exponents.
    int ignored;
    if (checked % 2) v = std::ldexp(std::frexp(v, &ignored), static_cast<int>(b % 120) - 60);
    ASSERT_EQ(FormatNumber(v), Reference(v)) << std::hexfloat << v;
    ++checked;
  }
}

TEST_F(NumberText, ParsesNumbers) {
  EXPECT_EQ(ParseNumber("10"), 10.0L);
  EXPECT_EQ(ParseNumber("  -1.5e3  "), -1500.0L);
  EXPECT_EQ(ParseNumber("1E"), 1.0L);
  EXPECT_EQ(ParseNumber("."), 0.0L);
  EXPECT_EQ(ParseNumber("+.5"), 0.5L);
  EXPECT_EQ(ParseNumber("0.1"), 0.1L);
  EXPECT_EQ(ParseNumber("2.5E-3"), 0.0025L);
  EXPECT_EQ(ParseNumber("1e+2"), 100.0L);
  EXPECT_EQ(ParseNumber("0E999"), 0.0L);
  EXPECT_NEAR(static_cast<double>(ParseNumber("1E4932") / 1e4932L), 1.0, 1e-17);
  EXPECT_EQ(ParseNumber("1E-4999"), 0.0L);  // underflow is not a failure
  EXPECT_TRUE(std::signbit(ParseNumber("-0")));
  SetLocaleDecimalChar(',');
  EXPECT_EQ(ParseNumber("1,5"), 1.5L);
  EXPECT_THROW(ParseNumber("1.5"), EConvertError);
}

TEST_F(NumberText, RejectsWhatIsNotANumber) {
  for (const char* bad : {"", "   ", "+", "-", "1,5", "1 000", "1.5x", "E5", "1E5000", "1E4999",
                          "\t1", "1\t", "--1", "1e--2", "0x10", "1.2.3"}) {
    Extended v;
    EXPECT_FALSE(TryParseNumber(bad, v)) << '"' << bad << '"';
    EXPECT_THROW(ParseNumber(bad), EConvertError) << '"' << bad << '"';
  }
  try {
    ParseNumber(" abc ");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "' abc ' is not a valid floating point value");
  }
}

TEST_F(NumberText, ParseLeavesTheFpuAsItFoundIt) {
  const uint16_t cw = GetFpuControlWord();
  Extended v;
  EXPECT_FALSE(TryParseNumber("1E4999", v));
  EXPECT_EQ(GetFpuControlWord(), cw);
  EXPECT_EQ(GetFpuStatusWord() & (kFpuInvalid | kFpuOverflow), 0);
}

TEST_F(NumberText, ParseTakesAnyBytesSafely) {
  // An embedded zero byte is not an end of text.
  Extended v;
  EXPECT_FALSE(TryParseNumber(std::string_view("1\0" "5", 3), v));
  // Exactly sized heap buffers: a read past the end is caught by ASan.
  std::mt19937 rng(7);
  const std::string alphabet = "0123456789+-.,eE \t\x80\xff";
  for (int i = 0; i < 3000; ++i) {
    std::vector<char> buf(rng() % 12);
    for (char& c : buf) c = i % 2 ? static_cast<char>(rng()) : alphabet[rng() % alphabet.size()];
    std::string_view text(buf.data(), buf.size());
    if (TryParseNumber(text, v)) {
      ParseNumber(text);
    } else {
      EXPECT_THROW(ParseNumber(text), EConvertError);
    }
  }
  // Very long inputs: many digits overflow, long fractions do not.
  EXPECT_FALSE(TryParseNumber(std::string(6000, '9'), v));
  EXPECT_TRUE(TryParseNumber("0." + std::string(200000, '0') + "1", v));
  EXPECT_EQ(v, 0.0L);
  EXPECT_TRUE(TryParseNumber(std::string(100, '0') + "1E-0000000000000000000000002", v));
  EXPECT_EQ(v, 0.01L);
}

TEST_F(NumberText, FormattedValuesParseBack) {
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> mant(-1, 1);
  std::uniform_int_distribution<int> exp(-300, 300);
  for (int i = 0; i < 5000; ++i) {
    double v = std::ldexp(mant(rng), exp(rng));
    Extended back = ParseNumber(FormatNumber(v));
    EXPECT_NEAR(static_cast<double>(back / v), 1.0, 1e-14) << v;
  }
}
