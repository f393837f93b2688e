#pragma once

#include <string>

#include "framework/custom_grid.h"
#include "runtime/date_time.h"

namespace nitko {

// A month calendar: seven columns, one per weekday, under a fixed row of the
// locale's short day names, and six rows of day numbers. It holds one date,
// whose day is the grid's current cell; clicking a day or moving the cell
// with the arrow keys picks that day, and empty cells cannot be picked.
class TCCalendar : public TCustomGrid {
 public:
  explicit TCCalendar(TComponent* owner);

  TDateTime CalendarDate() const { return date_; }
  // Lays the month out and calls Change; UseCurrentDate stays as it is.
  // Raises EConvertError for a value outside the years 1..9999, which then
  // changes nothing.
  void SetCalendarDate(TDateTime value);

  // Year (1), month (2) or day (3) of the date; -1 for another index.
  int GetDateElement(int index) const;
  // Sets one element: a value <= 0, a month above 12 or a day beyond the
  // month is ignored. A date that cannot exist (31 April) raises
  // EConvertError and leaves the date as it was.
  void SetDateElement(int index, int value);
  int Year() const { return GetDateElement(1); }
  int Month() const { return GetDateElement(2); }
  int Day() const { return GetDateElement(3); }
  void SetYear(int value) { SetDateElement(1, value); }
  void SetMonth(int value) { SetDateElement(2, value); }
  void SetDay(int value) { SetDateElement(3, value); }

  // The same day in the month or year after or before, or the last day of
  // a shorter month (31 January to 28 or 29 February).
  void NextMonth() { ChangeMonth(1); }
  void PrevMonth() { ChangeMonth(-1); }
  void NextYear();
  void PrevYear();
  void ChangeMonth(int delta);

  // The day number shown in column 0 of the first week row (1 or less).
  int MonthOffset() const { return month_offset_; }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool value) { read_only_ = value; }
  // Which weekday column 0 shows: 1 Monday .. 6 Saturday, 7 Sunday; a value
  // outside 1..7 becomes 1.
  short StartOfWeek() const { return start_of_week_; }
  void SetStartOfWeek(short value);
  // True while the date was taken from the clock and not changed since;
  // turning it on takes today's date again, without Change.
  bool UseCurrentDate() const { return use_current_date_; }
  void SetUseCurrentDate(bool value);

  // The day name of row 0, the day number elsewhere, or "" for a cell
  // before the first or after the last day.
  std::string GetCellText(int col, int row) const;

  // Picks the day of the current cell, then the grid's click notification.
  void Click() override;

  TNotifyEvent OnChange;

 protected:
  virtual void Change();
  virtual int DaysThisMonth() const;
  virtual bool IsLeapYear(int year) const;
  virtual void UpdateCalendar();
  virtual int DaysPerMonth(int year, int month) const;

  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
  bool SelectCell(int col, int row) override;
  // The size rule: seven columns and rows share the client area less six
  // grid lines. The size notification is not passed on.
  void Resize() override;

 private:
  TDateTime date_ = 0;
  int month_offset_ = 0;
  bool read_only_ = false;
  short start_of_week_ = 1;
  bool updating_ = false;
  bool use_current_date_ = true;
};

}  // namespace nitko
