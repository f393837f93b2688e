#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace nitko {

inline constexpr double kOneSecondStep = 1.0 / 86400.0;
inline constexpr double kSmallestStep = 1e-12;
inline constexpr int kNoTableStep = 25;
// More labels than this produce none.
inline constexpr int kMaxDefaultLabels = 10000;

// Step lengths in days, 1 second up to a year.
extern const std::array<double, 25> kDateTimeStepTable;

// What the label step depends on, taken from an axis and its working fields.
struct LabelStepInput {
  double rangeSpan = 0;
  double increment = 0;
  int labelsSeparation = 10;  // percent of a label's size kept free
  int pixelLength = 0;
  bool isDateTime = false;
};

// 1, 2, 5, 10, 20, 50, ... : the nice step after x.
double NextNiceStep(double x);
// The table step after the last table entry x reaches.
double NextTableStep(double x);
// The highest table index within one second of x; kNoTableStep when none is.
int MatchTableStep(double x);

double DateTimeStepForCount(int n, double rangeSpan, double increment);
double StepForLabelCount(int n, const LabelStepInput& in);
double StepForLabelSize(int size, const LabelStepInput& in);
// labelSizeMin/Max: label extents of the range's ends along the axis.
double LabelStep(int labelSizeMin, int labelSizeMax, const LabelStepInput& in);

// The table index labels step by: kNoTableStep unless an exact date-time axis
// has an increment on the table, then raised while the step exceeds it.
int LabelTableIndex(bool isDateTime, bool exactDateTime, double increment, double step);

// v moved back to the calendar boundary of a table index (14..24); values on
// or before 1900-01-01 are returned unchanged.
double RoundToCalendarStep(int index, double v);
// One calendar step down for table indices 18..24 (half month .. year).
double CalendarStepDown(int index, double v);

struct LabelRange {
  double rangeMin = 0;
  double rangeMax = 0;
  double step = 0;
  bool roundFirstLabel = true;
  int tableIndex = kNoTableStep;  // from LabelTableIndex
};

// The value the default labels start from (before stepping below RangeMax).
double FirstLabelValue(const LabelRange& r);

// Default label values from the top down; empty when the step would give
// kMaxDefaultLabels labels or more.
std::vector<double> DefaultLabelValues(const LabelRange& r);

// Powers of base inside the range, from the bottom up.
std::vector<double> LogarithmicLabelValues(double rangeMin, double rangeMax, double base);

struct LabelFormat {
  bool isDateTime = false;
  std::string dateTimeFormat;  // empty: the locale's short date or time format
  double rangeSpan = 0;
  std::string valuesFormat = "#,##0.###";
  bool multiLine = false;
  // Runs on the finished text before lines are split.
  std::function<void(std::string&)> onGetLabel;
};

// Label text of v; lines of a multi-line label are separated by '\r'.
std::string FormatLabel(double v, const LabelFormat& f);

}  // namespace nitko
