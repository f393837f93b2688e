#include "runtime/date_time.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <vector>

#include "runtime/exception.h"

namespace nitko {

namespace {

constexpr long long kMinDay = -693593;  // 0001-01-01
constexpr long long kMaxDay = 2958465;  // 9999-12-31
constexpr long long kMSecsPerDayInt = 86400000;

struct DateLocale {
  std::string shortDate = "mm/dd/yy";
  std::string shortTime = "hh:nn";
  std::array<std::string, 7> shortDays{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> longDays{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
  std::array<std::string, 12> shortMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> longMonths{"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
  std::string am = "AM";
  std::string pm = "PM";
};

std::mutex gLocaleMutex;
DateLocale gLocale;

DateLocale LocaleCopy() {
  std::lock_guard lock(gLocaleMutex);
  return gLocale;
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long long DaysFromCivil(long long y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

constexpr long long kEpochOffset = 25569;  // 1899-12-30 .. 1970-01-01

// Splits a value into its day number and the milliseconds of its time of day,
// rounding to the millisecond with the carry into the next day.
void Split(TDateTime value, long long& day, long long& msec) {
  if (!std::isfinite(value) || value < kMinDay - 1 || value > kMaxDay + 1)
    throw EConvertError("Invalid date-time value");
  const double whole = std::trunc(value);
  day = static_cast<long long>(whole);
  msec = std::llround(std::fabs(value - whole) * kMSecsPerDay);
  if (msec >= kMSecsPerDayInt) {
    msec -= kMSecsPerDayInt;
    ++day;
  }
  if (day < kMinDay || day > kMaxDay) throw EConvertError("Invalid date-time value");
}

// Day 0 was a Saturday; 1 = Sunday.
int WeekDay(long long day) {
  return static_cast<int>(((day % 7 + 7) % 7 + 6) % 7 + 1);
}

void ClockOf(long long ms, int& hour, int& minute, int& second, int& msec) {
  msec = static_cast<int>(ms % 1000);
  second = static_cast<int>(ms / 1000 % 60);
  minute = static_cast<int>(ms / 60000 % 60);
  hour = static_cast<int>(ms / 3600000);
}

std::string Digits(long long v, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", width, v);
  return buf;
}

bool StartsWithNoCase(const std::string& s, size_t pos, const char* word) {
  for (size_t i = 0; word[i] != '\0'; ++i) {
    if (pos + i >= s.size() || std::tolower(static_cast<unsigned char>(s[pos + i])) != word[i])
      return false;
  }
  return true;
}

size_t RunLength(const std::string& s, size_t pos) {
  const int c = std::tolower(static_cast<unsigned char>(s[pos]));
  size_t n = 0;
  while (pos + n < s.size() && std::tolower(static_cast<unsigned char>(s[pos + n])) == c) ++n;
  return n;
}

// True when the format asks for a 12-hour clock (an am/pm marker outside quotes).
bool UsesTwelveHours(const std::string& f) {
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] == '"' || f[i] == '\'') {
      const size_t end = f.find(f[i], i + 1);
      if (end == std::string::npos) return false;
      i = end;
    } else if (StartsWithNoCase(f, i, "am/pm") || StartsWithNoCase(f, i, "a/p") ||
               StartsWithNoCase(f, i, "ampm")) {
      return true;
    }
  }
  return false;
}

struct Fields {
  int year, month, day, dow, hour, minute, second, msec;
  bool hasTime;
};

void Append(std::string& out, const std::string& f, const Fields& t, const DateLocale& loc,
            int depth) {
  const bool twelve = UsesTwelveHours(f);
  bool afterHour = false;  // "m" right after an hour means minutes
  size_t i = 0;
  while (i < f.size()) {
    const char ch = f[i];
    const int c = std::tolower(static_cast<unsigned char>(ch));
    if (ch == '"' || ch == '\'') {
      const size_t end = f.find(ch, i + 1);
      const size_t stop = end == std::string::npos ? f.size() : end;
      out.append(f, i + 1, stop - i - 1);
      i = stop == f.size() ? stop : stop + 1;
      continue;
    }
    if (c == 'a') {
      const bool pmNow = t.hour >= 12;
      if (StartsWithNoCase(f, i, "am/pm")) {
        const std::string word = f.substr(pmNow ? i + 3 : i, 2);
        out += word;
        i += 5;
      } else if (StartsWithNoCase(f, i, "a/p")) {
        out += f[pmNow ? i + 2 : i];
        i += 3;
      } else if (StartsWithNoCase(f, i, "ampm")) {
        out += pmNow ? loc.pm : loc.am;
        i += 4;
      } else {
        out += ch;
        ++i;
      }
      continue;
    }
    const size_t n = RunLength(f, i);
    bool hour = false;
    switch (c) {
      case 'c':
        if (depth < 2) {
          Append(out, loc.shortDate, t, loc, depth + 1);
          if (t.hasTime) {
            out += ' ';
            Append(out, loc.shortTime, t, loc, depth + 1);
          }
        }
        i += 1;
        continue;
      case 'd':
        if (n == 1 || n == 2)
          out += Digits(t.day, static_cast<int>(n));
        else if (n == 3)
          out += loc.shortDays[t.dow - 1];
        else if (n == 4)
          out += loc.longDays[t.dow - 1];
        else if (depth < 2)
          Append(out, loc.shortDate, t, loc, depth + 1);
        break;
      case 'm': {
        const size_t used = n > 4 ? 4 : n;
        if (used <= 2 && afterHour)
          out += Digits(t.minute, static_cast<int>(used));
        else if (used <= 2)
          out += Digits(t.month, static_cast<int>(used));
        else if (used == 3)
          out += loc.shortMonths[t.month - 1];
        else
          out += loc.longMonths[t.month - 1];
        i += used;
        afterHour = false;
        continue;
      }
      case 'y':
        out += n <= 2 ? Digits(t.year % 100, 2) : Digits(t.year, 4);
        break;
      case 'h': {
        int h = t.hour;
        if (twelve) h = h % 12 == 0 ? 12 : h % 12;
        out += Digits(h, n >= 2 ? 2 : 1);
        hour = true;
        break;
      }
      case 'n':
        out += Digits(t.minute, n >= 2 ? 2 : 1);
        break;
      case 's':
        out += Digits(t.second, n >= 2 ? 2 : 1);
        break;
      case 'z':
        out += Digits(t.msec, n >= 3 ? 3 : 1);
        break;
      case 't':
        if (depth < 2) Append(out, loc.shortTime, t, loc, depth + 1);
        break;
      default:
        out.append(f, i, n);
        // Separators between hour and minutes keep "m" meaning minutes.
        i += n;
        if (std::isalpha(static_cast<unsigned char>(ch))) afterHour = false;
        continue;
    }
    i += n;
    afterHour = hour;
  }
}

std::string FromLocale(locale_t loc, nl_item item, const std::string& fallback) {
  const char* s = nl_langinfo_l(item, loc);
  return (s != nullptr && *s != '\0') ? std::string(s) : fallback;
}

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

TDateTime EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    throw EConvertError("Invalid argument to date encode");
  return static_cast<double>(DaysFromCivil(year, month, day) + kEpochOffset);
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
      msec > 999)
    throw EConvertError("Invalid argument to time encode");
  const long long ms = ((hour * 60LL + minute) * 60 + second) * 1000 + msec;
  return static_cast<double>(ms) / kMSecsPerDay;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  long long d, ms;
  Split(value, d, ms);
  CivilFromDays(d - kEpochOffset, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec) {
  long long d, ms;
  Split(value, d, ms);
  ClockOf(ms, hour, minute, second, msec);
}

int DayOfWeek(TDateTime value) {
  long long d, ms;
  Split(value, d, ms);
  return WeekDay(d);
}

TDateTime DateOf(TDateTime value) {
  long long d, ms;
  Split(value, d, ms);
  return static_cast<double>(d);
}

TDateTime Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::string ShortDayName(int dayOfWeek) {
  if (dayOfWeek < 1 || dayOfWeek > 7) throw EConvertError("Invalid day of the week");
  std::lock_guard lock(gLocaleMutex);
  return gLocale.shortDays[dayOfWeek - 1];
}

std::string ShortDateFormat() {
  return LocaleCopy().shortDate;
}
std::string ShortTimeFormat() {
  return LocaleCopy().shortTime;
}

void SetShortDateFormat(const std::string& format) {
  std::lock_guard lock(gLocaleMutex);
  gLocale.shortDate = format;
}

void SetShortTimeFormat(const std::string& format) {
  std::lock_guard lock(gLocaleMutex);
  gLocale.shortTime = format;
}

namespace {

struct Piece {
  std::string text;
  bool literal;
  bool seconds;
};

// A unit written after a field ("秒", "초", "s") rather than a separator
// between fields (":", ".", " "): it begins with a letter or a non-ASCII byte.
size_t UnitLength(const std::string& text) {
  size_t n = 0;
  while (n < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[n]);
    if (c < 0x80 && !std::isalpha(c)) break;
    ++n;
  }
  return n;
}

// Removes the seconds with what belongs to them: their unit when the locale
// writes one after each field ("%H時%M分%S秒"), else the separator before them
// ("%H:%M:%S %p").
void DropSeconds(std::vector<Piece>& pieces) {
  for (size_t k = 0; k < pieces.size();) {
    if (!pieces[k].seconds) {
      ++k;
      continue;
    }
    Piece* before = k > 0 && pieces[k - 1].literal ? &pieces[k - 1] : nullptr;
    Piece* after = k + 1 < pieces.size() && pieces[k + 1].literal ? &pieces[k + 1] : nullptr;
    const size_t unit = after != nullptr ? UnitLength(after->text) : 0;
    if (unit > 0) {
      after->text.erase(0, unit);
      // "%H시 %M분 %S초": the space before the seconds goes with them; a bare
      // separator there ("%H:%M:%Ss") does too.
      if (before != nullptr && UnitLength(before->text) == 0) before->text.clear();
      while (before != nullptr && !before->text.empty() && before->text.back() == ' ')
        before->text.pop_back();
    } else if (before != nullptr) {
      before->text.clear();
    }
    pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(k));
  }
  pieces.erase(std::remove_if(pieces.begin(), pieces.end(),
                              [](const Piece& p) { return p.literal && p.text.empty(); }),
               pieces.end());
}

}  // namespace

std::string PatternFromStrftime(const std::string& s, bool withSeconds) {
  std::vector<Piece> pieces;
  auto field = [&](const char* p, bool seconds = false) { pieces.push_back({p, false, seconds}); };
  auto literal = [&](const std::string& text) {
    if (!pieces.empty() && pieces.back().literal)
      pieces.back().text += text;
    else
      pieces.push_back({text, true, false});
  };
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%' || i + 1 == s.size()) {
      literal(std::string(1, s[i]));
      continue;
    }
    ++i;
    bool noPad = false;
    while (i < s.size() && (s[i] == '-' || s[i] == '_' || s[i] == '0' || s[i] == '^' ||
                            s[i] == '#' || s[i] == 'E' || s[i] == 'O')) {
      if (s[i] == '-') noPad = true;
      ++i;
    }
    if (i == s.size()) break;
    switch (s[i]) {
      case 'd':
        field(noPad ? "d" : "dd");
        break;
      case 'e':
        field("d");
        break;
      case 'm':
        field(noPad ? "m" : "mm");
        break;
      case 'y':
        field("yy");
        break;
      case 'Y':
        field("yyyy");
        break;
      case 'b':
      case 'h':
        field("mmm");
        break;
      case 'B':
        field("mmmm");
        break;
      case 'a':
        field("ddd");
        break;
      case 'A':
        field("dddd");
        break;
      case 'H':
      case 'I':
        field(noPad ? "h" : "hh");
        break;
      case 'k':
      case 'l':
        field("h");
        break;
      case 'M':
        field("nn");
        break;
      case 'S':
        field("ss", true);
        break;
      case 'p':
      case 'P':
        field("ampm");
        break;
      case 'T':
        field("hh");
        literal(":");
        field("nn");
        literal(":");
        field("ss", true);
        break;
      case 'R':
        field("hh");
        literal(":");
        field("nn");
        break;
      case 'r':
        field("hh");
        literal(":");
        field("nn");
        literal(":");
        field("ss", true);
        literal(" ");
        field("ampm");
        break;
      case 'D':
        field("mm");
        literal("/");
        field("dd");
        literal("/");
        field("yy");
        break;
      case 'F':
        field("yyyy");
        literal("-");
        field("mm");
        literal("-");
        field("dd");
        break;
      case 'n':
        literal("\n");
        break;
      case 't':
        literal("\t");
        break;
      case '%':
        literal("%");
        break;
      default:
        break;  // no counterpart: left out
    }
  }
  if (!withSeconds) DropSeconds(pieces);
  std::string out;
  for (const Piece& p : pieces) {
    if (!p.literal) {
      out += p.text;
      continue;
    }
    bool letters = false;
    for (char ch : p.text) letters = letters || std::isalpha(static_cast<unsigned char>(ch));
    const bool hasDouble = p.text.find('"') != std::string::npos;
    if (letters || hasDouble || p.text.find('\'') != std::string::npos) {
      const char q = hasDouble ? '\'' : '"';
      out += q + p.text + q;
    } else {
      out += p.text;
    }
  }
  return out;
}

void ReadLocaleDateFormats() {
  DateLocale next;
  locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (loc != static_cast<locale_t>(0)) {
    const std::string date = FromLocale(loc, D_FMT, "");
    const std::string time = FromLocale(loc, T_FMT, "");
    if (!date.empty()) next.shortDate = PatternFromStrftime(date, true);
    if (!time.empty()) next.shortTime = PatternFromStrftime(time, false);
    for (int k = 0; k < 7; ++k) {
      next.shortDays[k] = FromLocale(loc, static_cast<nl_item>(ABDAY_1 + k), next.shortDays[k]);
      next.longDays[k] = FromLocale(loc, static_cast<nl_item>(DAY_1 + k), next.longDays[k]);
    }
    for (int k = 0; k < 12; ++k) {
      next.shortMonths[k] = FromLocale(loc, static_cast<nl_item>(ABMON_1 + k), next.shortMonths[k]);
      next.longMonths[k] = FromLocale(loc, static_cast<nl_item>(MON_1 + k), next.longMonths[k]);
    }
    next.am = FromLocale(loc, AM_STR, next.am);
    next.pm = FromLocale(loc, PM_STR, next.pm);
    freelocale(loc);
  }
  std::lock_guard lock(gLocaleMutex);
  gLocale = std::move(next);
}

std::string FormatDateTime(const std::string& format, TDateTime value) {
  long long d, ms;
  Split(value, d, ms);
  Fields t{};
  CivilFromDays(d - kEpochOffset, t.year, t.month, t.day);
  t.dow = WeekDay(d);
  ClockOf(ms, t.hour, t.minute, t.second, t.msec);
  t.hasTime = ms != 0;
  const DateLocale loc = LocaleCopy();
  std::string out;
  Append(out, format.empty() ? std::string("c") : format, t, loc, 0);
  return out;
}

}  // namespace nitko
