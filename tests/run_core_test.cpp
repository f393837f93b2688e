#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/first_tabulation.h"
#include "core/interval_intake.h"
#include "core/plotted_function.h"
#include "core/run_state.h"
#include "runtime/locale_chars.h"

using namespace nitko;

TEST(PlottedFunction, KnownValues) {
  for (int p : {-5, 0, 1, 7, 1000})
    EXPECT_EQ(f(0, p), 0.0L) << p;
  EXPECT_NEAR(static_cast<double>(f(0.1, 0)), -0.0901667472420662, 1e-16);
  EXPECT_NEAR(static_cast<double>(f(10, 1)), 1.83911692900621, 1e-14);
  // The difference is exact up to the last bits of the extended arithmetic.
  for (double x : {0.1, 0.5, 1.0, 3.7, 9.99999999999998}) {
    const long double diff = f(x, 1) - f(x, 0), expected = x * 0.1L;
    EXPECT_LT(std::fabs(static_cast<double>((diff - expected) / expected)), 1e-17) << x;
  }
  // The p term is added, not subtracted as the window caption's formula reads.
  EXPECT_GT(f(5, 3), f(5, 0));
}

TEST(PlottedFunction, IsComputedInExtendedPrecision) {
  // exp(-x) and cos(x) nearly cancel near x = 0: a double evaluation loses
  // more than the extended one keeps.
  const double x = 1e-9;
  const long double exact = -x + x * x;  // exp(-x) - cos(x) to second order
  EXPECT_NEAR(static_cast<double>(f(x, 0) / exact), 1.0, 1e-9);
}

namespace {

struct Shown {
  std::vector<std::string> messages;
  InformationDisplay display() {
    return [this](const std::string& m) { messages.push_back(m); };
  }
};

// The points a tabulation hands over, in order.
std::vector<std::pair<double, double>> Tabulate(RunState& state) {
  std::vector<std::pair<double, double>> points;
  TabulateFirstCurve(state, [&](double x, double y) { points.emplace_back(x, y); });
  return points;
}

}  // namespace

TEST(IntervalIntake, ReadsZeroAndTenWhateverTheFormSaid) {
  RunState state;
  PlainTextField me2("poczatek"), me3("koniec");
  Shown shown;
  IntakeInterval(state, me2, me3, shown.display());
  EXPECT_EQ(me2.GetText(), "0");
  EXPECT_EQ(me3.GetText(), "10");
  EXPECT_TRUE(shown.messages.empty());
  EXPECT_EQ(state.a, 0.0);
  EXPECT_EQ(state.b, 10.0);
  EXPECT_EQ(state.step, 0.1);
}

TEST(IntervalIntake, ConvertsWithACommaLocaleToo) {
  SetLocaleDecimalChar(',');
  RunState state;
  PlainTextField me2, me3;
  Shown shown;
  IntakeInterval(state, me2, me3, shown.display());
  SetLocaleDecimalChar('.');
  EXPECT_TRUE(shown.messages.empty());
  EXPECT_EQ(state.b, 10.0);
}

TEST(IntervalIntake, OrdersTheEnds) {
  RunState state;
  PlainTextField me2("10"), me3("0");
  Shown shown;
  ReadInterval(state, me2, me3, shown.display());
  EXPECT_EQ(state.a, 0.0);
  EXPECT_EQ(state.b, 10.0);
  EXPECT_EQ(state.step, 0.1);

  PlainTextField lo("-2.5"), hi("-2.5");
  RunState same;
  ReadInterval(same, lo, hi, shown.display());
  EXPECT_EQ(same.a, -2.5);
  EXPECT_EQ(same.step, 0.0);
}

TEST(IntervalIntake, BadTextTellsTheUserOnceAndKeepsTheEnds) {
  const std::string prompt = "Wprowadz liczby w okienkach (czesc ulamkową poprzedź przecinkiem) ";
  EXPECT_EQ(IntervalPromptMessage(), prompt);
  for (auto [first, second] : {std::pair{"abc", "10"}, std::pair{"1", "1,5"}, std::pair{"x", "y"},
                               std::pair{"1E400", "10"}, std::pair{"0", "-1E4000"}}) {
    RunState state;
    state.a = 3;
    state.b = 1;
    PlainTextField me2(first), me3(second);
    Shown shown;
    EXPECT_TRUE(ValidateInterval(me2, me3, shown.display()));
    ASSERT_EQ(shown.messages.size(), 1u);
    EXPECT_EQ(shown.messages[0], prompt);
    ReadInterval(state, me2, me3, shown.display());
    EXPECT_EQ(shown.messages.size(), 2u);
    // Not read, but still ordered and stepped.
    EXPECT_EQ(state.a, 1.0);
    EXPECT_EQ(state.b, 3.0);
    EXPECT_EQ(state.step, 0.02);
  }
}

TEST(FirstTabulation, TabulatesTheFirstCurve) {
  RunState state;
  PlainTextField me2, me3;
  IntakeInterval(state, me2, me3, [](const std::string&) {});
  const auto points = Tabulate(state);

  ASSERT_EQ(points.size(), 101u);
  EXPECT_EQ(points[3].first, 0.30000000000000004);
  EXPECT_EQ(points[100].first, 9.99999999999998);
  EXPECT_EQ(state.x1.load(), 10.09999999999998);
  double x = 0;
  for (int i = 0; i <= 100; ++i) {
    EXPECT_EQ(points[i], std::pair(x, static_cast<double>(f(x, 0)))) << i;
    x = static_cast<double>(static_cast<long double>(0.1) + x);
  }
  EXPECT_NEAR(points[1].second, -0.0901667472420662, 1e-16);
}

TEST(FirstTabulation, FailedIntakeGivesAFlatCurveAtZero) {
  RunState state;
  PlainTextField me2("abc"), me3("10");
  ReadInterval(state, me2, me3, [](const std::string&) {});
  EXPECT_EQ(Tabulate(state), std::vector(101, std::pair(0.0, 0.0)));
}

TEST(FirstTabulation, UsesTheParameter) {
  RunState state;
  state.p = 3;
  PlainTextField me2, me3;
  IntakeInterval(state, me2, me3, [](const std::string&) {});
  const auto points = Tabulate(state);
  EXPECT_EQ(points[50].second, static_cast<double>(f(points[50].first, 3)));
}
