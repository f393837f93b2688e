#pragma once

#include <string>

namespace nitko {

// Days since 30 December 1899; the fraction is the time of day. For negative
// values the integer part is the day and |fraction| the time of day.
using TDateTime = double;

inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kMSecsPerDay = 86400000.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Raise EConvertError for fields outside the calendar (years 1..9999) or clock.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);

// Raise EConvertError for a value that is not finite or outside years 1..9999.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);

// The date part (time of day dropped).
TDateTime DateOf(TDateTime value);

// Today's date in the local time zone, without a time of day.
TDateTime Today();

// The locale's abbreviated name of a weekday, 1 = Sunday .. 7 = Saturday
// (as DayOfWeek counts); the English one before ReadLocaleDateFormats.
// Raises EConvertError for another number.
std::string ShortDayName(int dayOfWeek);

// The locale's short date and time formats in the pattern language of
// FormatDateTime (d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz
// am/pm a/p ampm, "quoted" and 'quoted' literals, c = short date + time).
// Written on the GUI thread at start and on a settings change.
std::string ShortDateFormat();
std::string ShortTimeFormat();
void SetShortDateFormat(const std::string& format);
void SetShortTimeFormat(const std::string& format);

// Reads both formats and the day and month names from the user's LC_TIME.
void ReadLocaleDateFormats();

// Converts an strftime-style format (as LC_TIME gives it) into the pattern
// language above; withSeconds = false drops the seconds and their separator.
std::string PatternFromStrftime(const std::string& strftimeFormat, bool withSeconds);

std::string FormatDateTime(const std::string& format, TDateTime value);

}  // namespace nitko
