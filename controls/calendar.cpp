#include "controls/calendar.h"

#include <algorithm>

#include "framework/canvas.h"

namespace nitko {

namespace {

constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Raised while the calendar moves its own cell; an exception lowers it too.
class UpdatingScope {
 public:
  explicit UpdatingScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~UpdatingScope() { flag_ = false; }
  UpdatingScope(const UpdatingScope&) = delete;
  UpdatingScope& operator=(const UpdatingScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

TCCalendar::TCCalendar(TComponent* owner) : TCustomGrid(owner) {
  SetFixedCols(0);
  SetFixedRows(1);
  SetColCount(7);
  SetRowCount(7);
  SetStartOfWeek(1);
  SetScrollBars(TScrollStyle::ssNone);
  date_ = Today();
  SetOptions((Options() & ~static_cast<unsigned>(TGridOption::goRangeSelect)) |
             TGridOption::goDrawFocusSelected);
  UpdateCalendar();
  // The size the grid was born with gets the size rule too.
  Resize();
}

bool TCCalendar::IsLeapYear(int year) const {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int TCCalendar::DaysPerMonth(int year, int month) const {
  if (month < 1 || month > 12) return 0;
  return kMonthDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

int TCCalendar::DaysThisMonth() const {
  int y, m, d;
  DecodeDate(date_, y, m, d);
  return DaysPerMonth(y, m);
}

void TCCalendar::Change() {
  if (OnChange) OnChange(this);
}

void TCCalendar::SetCalendarDate(TDateTime value) {
  // Decoding first: a value the calendar cannot show is refused whole.
  int y, m, d;
  DecodeDate(value, y, m, d);
  date_ = value;
  UpdateCalendar();
  Change();
}

int TCCalendar::GetDateElement(int index) const {
  int y, m, d;
  DecodeDate(date_, y, m, d);
  switch (index) {
    case 1:
      return y;
    case 2:
      return m;
    case 3:
      return d;
    default:
      return -1;
  }
}

void TCCalendar::SetDateElement(int index, int value) {
  if (value <= 0) return;
  int y, m, d;
  DecodeDate(date_, y, m, d);
  int* element = nullptr;
  switch (index) {
    case 1:
      element = &y;
      break;
    case 2:
      element = value <= 12 ? &m : nullptr;
      break;
    case 3:
      element = value <= DaysThisMonth() ? &d : nullptr;
      break;
    default:
      break;
  }
  if (element == nullptr || *element == value) return;
  *element = value;
  date_ = EncodeDate(y, m, d);
  use_current_date_ = false;
  UpdateCalendar();
  Change();
}

void TCCalendar::ChangeMonth(int delta) {
  int y, m, d;
  DecodeDate(date_, y, m, d);
  const int day = d;
  const TDateTime edge = EncodeDate(y, m, delta > 0 ? DaysPerMonth(y, m) : 1);
  DecodeDate(edge + delta, y, m, d);
  SetCalendarDate(EncodeDate(y, m, std::min(day, DaysPerMonth(y, m))));
}

void TCCalendar::NextYear() {
  if (IsLeapYear(Year()) && Month() == 2 && Day() == 29) SetDateElement(3, 28);
  SetDateElement(1, Year() + 1);
}

void TCCalendar::PrevYear() {
  if (IsLeapYear(Year()) && Month() == 2 && Day() == 29) SetDateElement(3, 28);
  SetDateElement(1, Year() - 1);
}

void TCCalendar::SetStartOfWeek(short value) {
  if (value > 7 || value < 1) value = 1;
  if (value == start_of_week_) return;
  start_of_week_ = value;
  UpdateCalendar();
}

void TCCalendar::SetUseCurrentDate(bool value) {
  if (value == use_current_date_) return;
  use_current_date_ = value;
  if (!value) return;
  date_ = Today();
  UpdateCalendar();
}

void TCCalendar::UpdateCalendar() {
  const UpdatingScope updating(updating_);
  int y, m, d;
  DecodeDate(date_, y, m, d);
  const int first = DayOfWeek(EncodeDate(y, m, 1));
  month_offset_ = 2 - ((first - start_of_week_ + 7) % 7);
  if (month_offset_ == 2) month_offset_ = -5;
  const int k = d - month_offset_;
  MoveCurrent(k % 7, k / 7 + 1, false, false);
  Invalidate();
}

std::string TCCalendar::GetCellText(int col, int row) const {
  if (col < 0 || col > 6 || row < 0 || row > 6) return "";
  if (row == 0) return ShortDayName((start_of_week_ + col) % 7 + 1);
  const int n = month_offset_ + col + (row - 1) * 7;
  if (n < 1 || n > DaysThisMonth()) return "";
  return std::to_string(n);
}

void TCCalendar::DrawCell(int col, int row, const TRect& rect, TGridDrawState) {
  TCanvas& c = Canvas();
  const std::string text = GetCellText(col, row);
  const int x = rect.Left + (rect.Right - rect.Left - c.TextWidth(text)) / 2;
  const int y = rect.Top + (rect.Bottom - rect.Top - c.TextHeight(text)) / 2;
  c.TextRect(rect, x, y, text);
}

bool TCCalendar::SelectCell(int col, int row) {
  if ((updating_ || !read_only_) && !GetCellText(col, row).empty())
    return TCustomGrid::SelectCell(col, row);
  return false;
}

void TCCalendar::Click() {
  const std::string text = GetCellText(Col(), Row());
  const auto alive = Lifetime();
  if (!text.empty()) SetDateElement(3, std::stoi(text));
  // OnClick is called too, unless OnChange destroyed the calendar.
  if (!alive.expired()) TCustomGrid::Click();
}

void TCCalendar::Resize() {
  const int lines = 6 * GridLineWidth();
  SetDefaultColWidth(std::max(0, (ClientWidth() - lines) / 7));
  SetDefaultRowHeight(std::max(0, (ClientHeight() - lines) / 7));
}

}  // namespace nitko
