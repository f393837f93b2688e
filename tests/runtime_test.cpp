#include <gtest/gtest.h>

#include <atomic>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <tuple>

#include "runtime/cpu_load.h"
#include "runtime/embedded_resource.h"
#include "runtime/exception.h"
#include "runtime/extended.h"
#include "runtime/locale_chars.h"
#include "runtime/message_format.h"
#include "runtime/string_table.h"
#include "runtime/text_encoding.h"

using namespace nitko;

TEST(MessageFormat, FillsDirectivesInOrder) {
  EXPECT_EQ(FormatMessage("'%s' is %d, %i%%", {"abc", -7, 12}), "'abc' is -7, 12%");
  EXPECT_EQ(FormatMessage("List index out of bounds (%d)", {5}), "List index out of bounds (5)");
  // A missing or mismatched argument leaves the directive readable.
  EXPECT_EQ(FormatMessage("%s and %d", {"x"}), "x and %d");
  EXPECT_EQ(FormatMessage("%d", {"text"}), "%d");
  EXPECT_EQ(FormatMessage("end %", {}), "end %");
}

TEST(ListError, CarriesTheIndex) {
  try {
    CheckListIndex(5, 5);
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (5)");
  }
  EXPECT_THROW(CheckListIndex(-1, 3), EListError);
  EXPECT_NO_THROW(CheckListIndex(2, 3));
}

TEST(TextEncoding, DecodesWindows1250) {
  EXPECT_EQ(DecodeWindows1250("abc"), "abc");
  EXPECT_EQ(DecodeWindows1250("\xb9\x9f"), "ąź");
  EXPECT_EQ(DecodeWindows1250("\xa5\x8c\x8f\xaf\xa3\xca\xd1\xd3\xc6"), "ĄŚŹŻŁĘŃÓĆ");
  EXPECT_EQ(DecodeWindows1250("\x80"), "€");
  EXPECT_EQ(DecodeWindows1250("\x81"), "\xEF\xBF\xBD");  // undefined code
  EXPECT_EQ(EncodeWindows1250(U'ą'), 0xB9);
  EXPECT_EQ(EncodeWindows1250(U'A'), 'A');
  EXPECT_EQ(EncodeWindows1250(U'中'), -1);
}

TEST(Resources, StringTableKeepsStoredBytes) {
  const std::string raw = ResourceStringBytes("app.strings", "SIntervalPrompt");
  EXPECT_EQ(raw, "Wprowadz liczby w okienkach (czesc ulamkow\xb9 poprzed\x9f przecinkiem) ");
  EXPECT_EQ(LoadResourceString("app.strings", "SIntervalPrompt"),
            "Wprowadz liczby w okienkach (czesc ulamkową poprzedź przecinkiem) ");
  EXPECT_THROW(ResourceStringBytes("app.strings", "NoSuchEntry"), Exception);
  EXPECT_THROW(FindResource("no-such-file"), Exception);
}

TEST(Extended, DecomposesSpecialValues) {
  ExtendedParts one = Decompose(1.0L);
  EXPECT_EQ(one.exponentField, 16383);
  EXPECT_EQ(one.significand, 0x8000000000000000ull);
  EXPECT_FALSE(one.negative);
  ExtendedParts minf = Decompose(-__builtin_infl());
  EXPECT_EQ(minf.exponentField, 0x7FFF);
  EXPECT_TRUE(minf.negative);
  EXPECT_EQ(Decompose(-0.0L).exponentField, 0);
  EXPECT_TRUE(Decompose(-0.0L).negative);
}

TEST(Extended, ScalesThroughThePowerTables) {
  EXPECT_EQ(ScaleByPowerOf10(1.5L, 3), 1500.0L);
  EXPECT_EQ(ScaleByPowerOf10(1500.0L, -3), 1.5L);
  EXPECT_EQ(ScaleByPowerOf10(1.0L, 27), 1e27L);  // exact in 64 bits
  EXPECT_NEAR(static_cast<double>(ScaleByPowerOf10(1.0L, 4000) / 1e4000L), 1.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(ScaleByPowerOf10(1.0L, -4000) / 1e-4000L), 1.0, 1e-15);
  EXPECT_TRUE(std::isinf(ScaleByPowerOf10(1.0L, 5120)));
  EXPECT_EQ(ScaleByPowerOf10(1.0L, -5120), 0.0L);
  EXPECT_EQ(ScaleByPowerOf10(1.0L, -2147483647 - 1), 0.0L);
}

TEST(Extended, ControlScopeRestoresTheWord) {
  const uint16_t before = GetFpuControlWord();
  {
    FpuControlScope scope(kFpuControlThread);
    // Bit 6 is reserved and reads back as set.
    EXPECT_EQ(GetFpuControlWord() & ~0x40, kFpuControlThread);
  }
  EXPECT_EQ(GetFpuControlWord(), before);
}

class LocaleCharsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    unsetenv("LC_ALL");
    SetLocaleDecimalChar('.');
    SetLocaleThousandsChar(',');
  }
};

TEST_F(LocaleCharsTest, CLocaleGivesTheDefaults) {
  setenv("LC_ALL", "C", 1);
  SetLocaleDecimalChar('?');
  ReadLocaleChars();
  EXPECT_EQ(LocaleDecimalChar(), '.');
  // C has an empty thousands separator: the default takes its place.
  EXPECT_EQ(LocaleThousandsChar(), ',');
}

// A settings change re-reads both characters while workers format numbers:
// a reader sees one locale's pair or the other's, never a mix.
TEST_F(LocaleCharsTest, ReadersNeverSeeATornPair) {
  const LocaleChars english{'.', ','}, polish{',', ' '};
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (int i = 0; i < 200000; ++i) SetLocaleChars(i % 2 == 0 ? polish : english);
    stop = true;
  });
  long long torn = 0, reads = 0;
  while (!stop.load()) {
    const LocaleChars c = CurrentLocaleChars();
    const bool whole = (c.decimal == english.decimal && c.thousands == english.thousands) ||
                       (c.decimal == polish.decimal && c.thousands == polish.thousands);
    torn += whole ? 0 : 1;
    ++reads;
  }
  writer.join();
  EXPECT_EQ(torn, 0) << "of " << reads << " reads";
}

TEST_F(LocaleCharsTest, PolishLocaleGivesAComma) {
  locale_t pl = newlocale(LC_NUMERIC_MASK, "pl_PL.UTF-8", static_cast<locale_t>(0));
  if (pl == static_cast<locale_t>(0)) GTEST_SKIP() << "pl_PL.UTF-8 is not generated here";
  freelocale(pl);
  setenv("LC_ALL", "pl_PL.UTF-8", 1);
  ReadLocaleChars();
  EXPECT_EQ(LocaleDecimalChar(), ',');
  // Its thousands separator is a multi-byte space: a plain space stands in,
  // never the decimal comma.
  EXPECT_EQ(LocaleThousandsChar(), ' ');
}

TEST(CpuLoad, ReadsTheMachineLineAndItsShares) {
  const auto full =  // guest time (7) is inside user time already
      ParseCpuTimes("intr 5\ncpu  100 20 30 400 50 6 4 10 7 0\ncpu0 1 2 3 4\n").value();
  EXPECT_EQ(std::make_tuple(full.user, full.system, full.total), std::make_tuple(120, 40, 620));
  EXPECT_EQ(ParseCpuTimes("cpu 1 2 3 4")->total, 10u);  // the oldest kernels' four fields
  for (const char* bad : {"", "cpu0 1 2 3 4\n", "cpu 1 2 x 4\n", "cpux 1 2 3 4"})
    EXPECT_FALSE(ParseCpuTimes(bad)) << bad;
  struct Case {
    CpuTimes before, after;
    int user, system;
  } cases[] = {
      {{100, 50, 1000}, {130, 60, 1100}, 300, 100},
      {{100, 50, 1000}, {100, 50, 1000}, 0, 0},  // no time passed
      {{100, 50, 1000}, {90, 60, 1100}, 0, 0},   // a counter went back
      {{0, 0, 0}, {7, 0, 3}, 1000, 0},           // never above the whole
  };
  for (const Case& c : cases) {
    const CpuShares s = SharesBetween(c.before, c.after);
    EXPECT_EQ(std::make_pair(s.user, s.system), std::make_pair(c.user, c.system));
  }
  TCpuLoadMeter meter;
  EXPECT_FALSE(meter.Sample());  // nothing to compare with yet
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const CpuShares s = meter.Sample().value();
  EXPECT_LE(s.user + s.system, 1000);
  EXPECT_FALSE(TCpuLoadMeter("/nonexistent/stat").Sample());
}
