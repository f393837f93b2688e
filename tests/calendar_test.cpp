#include "controls/calendar.h"

#include <gtest/gtest.h>

#include <QTest>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "controls/control_classes.h"
#include "framework/canvas.h"
#include "framework/form.h"
#include "framework/form_reader.h"
#include "framework/system_colors.h"
#include "runtime/exception.h"

using namespace nitko;

namespace {

// A shown calendar on an active form, 7 x 20 + 6 pixels inside its border.
class CalendarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(10, 10, 300, 300);
    cal = new TCCalendar(form.get());
    cal->SetParent(form.get());
    cal->SetBorderStyle(TFormBorderStyle::bsNone);
    cal->SetBounds(0, 0, 146, 146);
    cal->OnChange = [this](TComponent*) { ++changes; };
    form->Show();
    form->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
  }
  void Show(int y, int m, int d) {
    cal->SetCalendarDate(EncodeDate(y, m, d));
    changes = 0;
  }
  std::string Date() const { return FormatDateTime("yyyy-mm-dd", cal->CalendarDate()); }

  std::unique_ptr<TForm> form;
  TCCalendar* cal = nullptr;
  int changes = 0;
};

}  // namespace

// Against the weekday the standard library computes.
TEST_F(CalendarTest, EveryMonthFrom1900To2100PutsItsDaysWhereAWallCalendarDoes) {
  using namespace std::chrono;
  for (int sow = 1; sow <= 7; ++sow) {
    cal->SetStartOfWeek(static_cast<short>(sow));
    for (int y = 1900; y <= 2100; ++y) {
      for (int m = 1; m <= 12; ++m) {
        const int days = DaysInMonth(y, m), pick = 1 + (y + m) % days;
        cal->SetCalendarDate(EncodeDate(y, m, pick));
        const year_month_day first{year{y}, month{static_cast<unsigned>(m)}, day{1}};
        const int lead =
            (static_cast<int>(weekday{sys_days{first}}.c_encoding()) - sow % 7 + 7) % 7;
        for (int row = 1; row <= 6; ++row)
          for (int col = 0; col < 7; ++col) {
            const int n = (row - 1) * 7 + col - lead + 1;
            const std::string want = n >= 1 && n <= days ? std::to_string(n) : "";
            ASSERT_EQ(cal->GetCellText(col, row), want) << y << "-" << m << " sow " << sow;
          }
        ASSERT_EQ(std::pair(cal->Col(), cal->Row()),
                  std::pair((pick - 1 + lead) % 7, (pick - 1 + lead) / 7 + 1));
      }
    }
  }
}

// 1 September 2024 is a Sunday: row 1 starts with six empty cells. A click
// (no key) on an empty cell or a read-only calendar, and a key that would
// leave the days, change nothing; code still moves a read-only calendar.
TEST_F(CalendarTest, ClicksAndKeysPickDaysButNeverAnEmptyCell) {
  struct Case {
    int day;
    Qt::Key key;
    int col, row;  // clicked
    int want;
    bool readOnly = false;
  } cases[] = {{10, {}, 0, 1, 10},           {10, {}, 3, 6, 10},
               {10, {}, 2, 3, 11},           {10, {}, 6, 1, 1},
               {10, {}, 2, 3, 10, true},     {11, Qt::Key_Right, 0, 0, 12},
               {11, Qt::Key_Down, 0, 0, 18}, {11, Qt::Key_Up, 0, 0, 4},
               {11, Qt::Key_Left, 0, 0, 10}, {1, Qt::Key_Left, 0, 0, 1},
               {1, Qt::Key_Up, 0, 0, 1},     {30, Qt::Key_Right, 0, 0, 30},
               {30, Qt::Key_Down, 0, 0, 30}, {23, Qt::Key_Down, 0, 0, 30},
               {3, Qt::Key_End, 0, 0, 8},    {3, Qt::Key_Home, 0, 0, 2}};
  cal->SetFocus();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.day << " key " << c.key << " at " << c.col << "," << c.row);
    Show(2024, 9, c.day);
    EXPECT_EQ(cal->MonthOffset(), -5);
    cal->SetReadOnly(c.readOnly);
    if (c.key) {
      QTest::keyClick(cal->Widget(), c.key);
    } else {
      const TRect r = cal->CellRect(c.col, c.row);
      QTest::mouseClick(cal->Widget(), Qt::LeftButton, {}, QPoint(r.Left + 3, r.Top + 3));
    }
    EXPECT_EQ(std::pair(cal->CalendarDate(), changes),
              std::pair(EncodeDate(2024, 9, c.want), c.want == c.day ? 0 : 1));
    EXPECT_EQ(cal->GetCellText(cal->Col(), cal->Row()), std::to_string(cal->Day()));
  }
  cal->SetReadOnly(true);
  cal->SetDay(30);
  EXPECT_EQ(std::pair(cal->Col(), cal->Row()), std::pair(0, 6));
}

// Steps keep the day or take the month's last; ignored values change nothing;
// dates the calendar cannot show raise the conversion error and change nothing.
TEST_F(CalendarTest, MonthAndYearStepsAndElementsOutOfRange) {
  struct Case {
    const char* from;
    std::function<void(TCCalendar&)> step;
    const char* to;
    int changes;
    bool raises = false;
  } cases[] = {
      {"2024-02-29", &TCCalendar::NextYear, "2025-02-28", 2},
      {"2024-02-29", &TCCalendar::PrevYear, "2023-02-28", 2},
      {"2024-01-31", &TCCalendar::NextMonth, "2024-02-29", 1},
      {"2023-03-31", &TCCalendar::PrevMonth, "2023-02-28", 1},
      {"2024-05-15", &TCCalendar::NextMonth, "2024-06-15", 1},
      {"2024-12-31", &TCCalendar::NextMonth, "2025-01-31", 1},
      {"2024-04-10", [](TCCalendar& c) { c.SetMonth(13); }, "2024-04-10", 0},
      {"2024-04-10", [](TCCalendar& c) { c.SetDay(0); }, "2024-04-10", 0},
      {"2024-04-10", [](TCCalendar& c) { c.SetDay(31); }, "2024-04-10", 0},
      {"2024-04-10", [](TCCalendar& c) { c.SetDateElement(4, 1); }, "2024-04-10", 0},
      {"2024-04-10", [](TCCalendar& c) { c.SetGridLineWidth(INT_MAX), c.Repaint(); }, "2024-04-10",
       0},
      {"0001-03-10", &TCCalendar::PrevYear, "0001-03-10", 0},
      {"2023-03-31", [](TCCalendar& c) { c.SetMonth(2); }, "2023-03-31", 0, true},
      {"9999-12-31", &TCCalendar::NextMonth, "9999-12-31", 0, true},
      {"9999-06-01", &TCCalendar::NextYear, "9999-06-01", 0, true},
      {"0001-01-01", &TCCalendar::PrevMonth, "0001-01-01", 0, true},
      {"2024-01-01", [](TCCalendar& c) { c.SetYear(10000); }, "2024-01-01", 0, true},
      {"2024-01-01", [](TCCalendar& c) { c.SetCalendarDate(EncodeDate(9999, 12, 31) + 1); },
       "2024-01-01", 0, true},
      {"2024-01-01", [](TCCalendar& c) { c.SetCalendarDate(NAN); }, "2024-01-01", 0, true},
  };
  for (const Case& c : cases) {
    int y, m, d;
    std::sscanf(c.from, "%d-%d-%d", &y, &m, &d);
    Show(y, m, d);
    if (c.raises)
      EXPECT_THROW(c.step(*cal), EConvertError) << c.from;
    else
      c.step(*cal);
    EXPECT_EQ(std::tuple(Date(), changes), std::tuple(std::string(c.to), c.changes)) << c.from;
    EXPECT_EQ(cal->GetCellText(cal->Col(), cal->Row()), std::to_string(cal->Day()));
  }
}

TEST_F(CalendarTest, SizeRuleStartOfWeekAndCurrentDate) {
  EXPECT_EQ(std::pair(cal->DefaultColWidth(), cal->DefaultRowHeight()), std::pair(20, 20));
  cal->SetBorderStyle(TFormBorderStyle::bsSingle);  // the frame takes from the client area
  EXPECT_EQ(cal->DefaultColWidth(), (cal->ClientWidth() - 6) / 7);
  cal->SetBounds(0, 0, 3, 3);
  EXPECT_EQ(cal->DefaultColWidth(), 0);
  cal->Repaint();

  for (int v : {9, 0, -3}) {
    cal->SetStartOfWeek(static_cast<short>(v));
    EXPECT_EQ(cal->StartOfWeek(), 1);
  }
  cal->SetStartOfWeek(7);
  EXPECT_EQ(cal->GetCellText(0, 0), ShortDayName(1));  // Sunday first, as 0 would be

  EXPECT_EQ(cal->CalendarDate(), Today());
  cal->SetDay(cal->Day() == 1 ? 2 : 1);
  EXPECT_FALSE(cal->UseCurrentDate());
  changes = 0;
  cal->SetUseCurrentDate(true);
  EXPECT_EQ(std::pair(cal->CalendarDate(), changes), std::pair(Today(), 0));
}

// Polish only where the machine has generated that locale.
TEST_F(CalendarTest, DayNamesComeFromTheTimeLocale) {
  struct Case {
    const char* locale;
    const char* names[7];
  } cases[] = {{"C", {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}},
               {"pl_PL.UTF-8", {"pon", "wto", "śro", "czw", "pią", "sob", "nie"}}};
  const char* all = std::getenv("LC_ALL");
  const std::string saved = all != nullptr ? all : "";
  unsetenv("LC_ALL");
  for (const Case& c : cases) {
    setenv("LC_TIME", c.locale, 1);
    ReadLocaleDateFormats();
    if (std::string(c.locale) != "C" && ShortDayName(2) == "Mon") {
      std::printf("%s is not generated here: not checked\n", c.locale);
      continue;
    }
    for (int col = 0; col < 7; ++col) EXPECT_EQ(cal->GetCellText(col, 0), c.names[col]);
  }
  unsetenv("LC_TIME");
  if (all != nullptr) setenv("LC_ALL", saved.c_str(), 1);
  ReadLocaleDateFormats();
}

// The chosen day is highlighted, an empty cell holds no ink, and a form
// description sets the published properties.
TEST_F(CalendarTest, PaintsTheChosenDayAndReadsFromAFormDescription) {
  Show(2024, 9, 11);
  cal->Repaint();
  const TRect day = cal->CellRect(cal->Col(), cal->Row()), empty = cal->CellRect(0, 1);
  int highlight = 0, ink = 0;
  for (int y = 0; y < cal->ClientHeight(); ++y)
    for (int x = 0; x < cal->ClientWidth(); ++x) {
      const TColor c = cal->Canvas().Pixel(x, y);
      if (day.Contains({x, y})) highlight += c == ColorToRGB(clHighlight);
      if (empty.Contains({x, y})) ink += c != ColorToRGB(clWindow);
    }
  EXPECT_GT(highlight, day.Width() * day.Height() / 2);
  EXPECT_EQ(ink, 0);

  RegisterControlClasses();
  TForm root(nullptr);
  TFormReader().Read(root,
                     "object F: TForm\n"
                     "  object C: TCCalendar\n    StartOfWeek = 7\n    ReadOnly = True\n"
                     "    GridLineWidth = 2\n  end\nend\n");
  auto* c = dynamic_cast<TCCalendar*>(root.FindComponent("C"));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(std::tuple(c->StartOfWeek(), c->ReadOnly(), c->GridLineWidth()),
            std::tuple(short{7}, true, 2));
}
