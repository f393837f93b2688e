// The gallery on the real timer and processor load, with real clicks.
#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "app/gallery/galeria.h"
#include "controls/calendar.h"
#include "controls/performance_graph.h"
#include "event_loop_support.h"
#include "framework/button.h"
#include "framework/label.h"
#include "runtime/date_time.h"

using namespace nitko;

TEST(Gallery, GraphTakesTheLoadAndTheButtonsWork) {
  auto click = [](TControl& c) {
    QTest::mouseClick(c.Widget(), Qt::LeftButton, {}, QPoint(c.Width() / 2, c.Height() / 2));
  };
  RegisterGaleriaClasses();
  std::unique_ptr<TGaleria> g(Galeria = new TGaleria(nullptr));
  g->Show();
  TPerformanceGraph& graph = *g->PerformanceGraph1;
  // The first tick, a second after the baseline: user share, then the whole.
  auto newest = [&]() -> const HistorySlot& { return graph.History(graph.LastY(graph.Current())); };
  ASSERT_TRUE(
      nitko::testing::SpinUntil([&] { return newest().Count == 2; }, std::chrono::seconds(10)));
  EXPECT_TRUE(newest().Values[0] <= newest().Values[1] && newest().Values[1] <= 1000);
  EXPECT_EQ(graph.Scale(), newest().Values[1] > 0 ? 1000 : 0);

  EXPECT_FALSE(g->BitBtnSlupki->Enabled());  // bars shown
  click(*g->BitBtnLinie);
  EXPECT_EQ(graph.Kind(), TGraphKind::pgLine);
  EXPECT_TRUE(g->BitBtnSlupki->Enabled());

  int y0, m0, d0, y, m, d;
  DecodeDate(g->CCalendar1->CalendarDate(), y0, m0, d0);
  click(*g->BitBtnNastepnyMiesiac);
  click(*g->BitBtnPoprzedniRok);
  DecodeDate(g->CCalendar1->CalendarDate(), y, m, d);
  EXPECT_EQ(y * 12 + m, y0 * 12 + m0 + 1 - 12);
  const std::string shown = FormatDateTime(ShortDateFormat(), g->CCalendar1->CalendarDate());
  EXPECT_NE(g->LabelData->Caption().find(shown), std::string::npos);
}
