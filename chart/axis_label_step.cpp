#include "chart/axis_label_step.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "chart/chart_rounding.h"
#include "runtime/date_time.h"
#include "runtime/exception.h"
#include "runtime/number_pattern.h"

namespace nitko {

namespace {

constexpr double Sec(double s) {
  return s / 86400.0;
}

// Inside years 1..9999, with room for rounding to the millisecond.
bool InCalendar(double v) {
  return v >= -693593.0 && v < 2958465.999;
}

}  // namespace

const std::array<double, 25> kDateTimeStepTable = {
    Sec(1),    Sec(5),    Sec(10),   Sec(15),    Sec(30),    Sec(60), Sec(300), Sec(600), Sec(900),
    Sec(1800), Sec(3600), Sec(7200), Sec(21600), Sec(43200), 1,       2,        3,        7,
    15,        30,        60,        90,         120,        182,     365};

double NextNiceStep(double x) {
  // Non-positive steps have no next one; the search must still move on.
  if (!(x > 0)) return kSmallestStep;
  if (std::isinf(x)) return x;
  int up = 0, down = 0;
  while (x >= 10) {
    x *= 0.1;
    ++up;
  }
  while (x < 1) {
    x *= 10;
    ++down;
  }
  double r = x < 2 ? 2 : x < 5 ? 5 : 10;
  // Same multiplication order as stepping one decade at a time.
  for (; up > 0; --up) r *= 10;
  for (; down > 0; --down) r *= 0.1;
  return r;
}

double NextTableStep(double x) {
  for (int k = 23; k >= 0; --k)
    if (x >= kDateTimeStepTable[k]) return kDateTimeStepTable[k + 1];
  // Below one second: the first entry is the next step.
  return kDateTimeStepTable[0];
}

int MatchTableStep(double x) {
  for (int k = 24; k >= 0; --k)
    if (std::fabs(kDateTimeStepTable[k] - x) < kOneSecondStep) return k;
  return kNoTableStep;
}

double DateTimeStepForCount(int n, double rangeSpan, double increment) {
  double c = std::max(kOneSecondStep, increment);
  if (c > 0 && n > 0) {
    if (rangeSpan / c > 1000000) c = rangeSpan / 1000000;
    while (RoundEven(rangeSpan / c) > n) c = c >= 365 ? c * 2 : NextTableStep(c);
  }
  return std::max(kOneSecondStep, c);
}

double StepForLabelCount(int n, const LabelStepInput& in) {
  if (n < 1) return in.isDateTime ? kDateTimeStepTable[0] : kSmallestStep;
  if (in.isDateTime) return DateTimeStepForCount(n, in.rangeSpan, in.increment);
  double c = in.increment > 0 ? in.increment : std::fabs(in.rangeSpan) >= 1 ? 1 : kSmallestStep;
  if (in.labelsSeparation > 0) {
    for (;;) {
      const double q = in.rangeSpan / c;
      // A NaN span cannot be stepped through.
      if (std::isnan(q)) break;
      if (std::fabs(q) >= kPixelLimit || RoundEven(q) > n) {
        const double next = NextNiceStep(c);
        if (!(next > c)) break;  // infinite span: no larger step exists
        c = next;
        continue;
      }
      break;
    }
  }
  return std::max(kSmallestStep, c);
}

double StepForLabelSize(int size, const LabelStepInput& in) {
  int n = 1;
  if (size > 0) {
    double gap = size;
    if (in.labelsSeparation > 0) gap += RoundEven(in.labelsSeparation * 0.01 * size);
    n = RoundEven(in.pixelLength / gap);
  }
  return StepForLabelCount(n, in);
}

double LabelStep(int labelSizeMin, int labelSizeMax, const LabelStepInput& in) {
  return StepForLabelSize(std::max(labelSizeMin, labelSizeMax), in);
}

int LabelTableIndex(bool isDateTime, bool exactDateTime, double increment, double step) {
  if (!isDateTime || !exactDateTime || increment == 0) return kNoTableStep;
  int index = MatchTableStep(increment);
  if (index == kNoTableStep) return index;
  while (step > kDateTimeStepTable[index] && index < 24) ++index;
  return index;
}

double RoundToCalendarStep(int index, double v) {
  if (v <= EncodeDate(1900, 1, 1) || !InCalendar(v)) return v;
  int y, m, d;
  DecodeDate(v, y, m, d);
  if (index == 18)
    d = d < 15 ? 1 : 15;
  else if (index >= 19 && index <= 23)
    d = 1;
  else if (index == 24)
    d = m = 1;
  return EncodeDate(y, m, d);
}

double CalendarStepDown(int index, double v) {
  if (index < 18 || index > 24 || !InCalendar(v))
    return v - kDateTimeStepTable[std::clamp(index, 0, 24)];
  int y, m, d;
  DecodeDate(v, y, m, d);
  int monthsBack = 0;
  if (index == 18) {
    if (d > 15) return EncodeDate(y, m, 15);
    if (d > 1) return EncodeDate(y, m, 1);
    monthsBack = 1;
    d = 15;
  } else if (index == 24) {
    if (y <= 1) return -HUGE_VAL;  // nothing before the calendar: ends the labels
    // 29 February steps to the 28th of a common year.
    return EncodeDate(y - 1, m, std::min(d, DaysInMonth(y - 1, m)));
  } else {
    static constexpr int kMonths[5] = {1, 2, 3, 4, 6};
    monthsBack = kMonths[index - 19];
    d = 1;
  }
  const int total = y * 12 + (m - 1) - monthsBack;
  if (total < 12) return -HUGE_VAL;
  return EncodeDate(total / 12, total % 12 + 1, d);
}

double FirstLabelValue(const LabelRange& r) {
  if (r.tableIndex >= 14 && r.tableIndex <= 24)
    return RoundToCalendarStep(r.tableIndex, r.rangeMax);
  if (r.rangeMin == r.rangeMax || !r.roundFirstLabel) return r.rangeMax;
  return std::trunc(r.rangeMax / r.step) * r.step;
}

std::vector<double> DefaultLabelValues(const LabelRange& r) {
  std::vector<double> out;
  const bool calendar = r.tableIndex >= 18 && r.tableIndex <= 24;
  if (!(r.step > 0 || calendar) || r.rangeMax < r.rangeMin) return out;
  if (!(std::fabs((r.rangeMax - r.rangeMin) / r.step) < kMaxDefaultLabels)) return out;
  auto down = [&](double v) { return calendar ? CalendarStepDown(r.tableIndex, v) : v - r.step; };
  double v = FirstLabelValue(r);
  // Bounded: at large magnitudes v - step can equal v.
  for (int k = 0; v > r.rangeMax && k < kMaxDefaultLabels; ++k) v = down(v);
  // The tolerance widens the range downward on both sides of zero; dividing
  // a negative minimum would move the bound above it and lose its label.
  const double bottom = r.rangeMin >= 0 ? (r.rangeMin - 1e-12) / 1.000000000001
                                        : (r.rangeMin - 1e-12) * 1.000000000001;
  for (int k = 0; v >= bottom && k < kMaxDefaultLabels; ++k) {
    out.push_back(v);
    const double next = down(v);
    // A step too small to change v would repeat the same label.
    if (!(next < v)) break;
    v = next;
  }
  return out;
}

std::vector<double> LogarithmicLabelValues(double rangeMin, double rangeMax, double base) {
  std::vector<double> out;
  // A base of 1 or less never leaves the range.
  if (rangeMin == rangeMax || !(base > 1) || !std::isfinite(rangeMax)) return out;
  if (rangeMin <= 0) rangeMin = rangeMin == 0 ? 0.1 : 1e-10;
  double v = std::pow(base, RoundEven(std::log(rangeMin) / std::log(base)));
  for (int k = 0; v <= rangeMax && k < kMaxDefaultLabels; ++k) {
    if (v >= rangeMin) out.push_back(v);
    v *= base;
  }
  return out;
}

std::string FormatLabel(double v, const LabelFormat& f) {
  std::string text;
  if (!f.isDateTime) {
    text = FormatNumberPattern(f.valuesFormat, v);
  } else if (v >= 0) {
    std::string format = f.dateTimeFormat;
    if (format.empty()) format = f.rangeSpan > 1 ? ShortDateFormat() : ShortTimeFormat();
    try {
      text = FormatDateTime(format, v);
    } catch (const EConvertError&) {
      // Beyond the calendar: no label rather than an error while painting.
    }
  }
  if (f.onGetLabel) f.onGetLabel(text);
  if (f.multiLine) std::replace(text.begin(), text.end(), ' ', '\r');
  return text;
}

}  // namespace nitko
