// The gallery as a user meets it: the window from its description, the graph
// fed by this machine's real processor load on the real timer, and real
// clicks on the kind switches and the calendar's buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <chrono>
#include <memory>

#include "app/gallery/galeria.h"
#include "controls/calendar.h"
#include "controls/performance_graph.h"
#include "event_loop_support.h"
#include "framework/button.h"
#include "framework/label.h"
#include "runtime/date_time.h"

using namespace nitko;

namespace {

void ClickOn(TControl& control) {
  QTest::mouseClick(control.Widget(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(control.Width() / 2, control.Height() / 2));
}

}  // namespace

TEST(Gallery, GraphTakesTheLoadAndTheButtonsWork) {
  RegisterGaleriaClasses();
  Galeria = new TGaleria(nullptr);
  std::unique_ptr<TGaleria> g(Galeria);
  g->Show();
  TPerformanceGraph& graph = *g->PerformanceGraph1;
  EXPECT_FALSE(g->BitBtnSlupki->Enabled());  // bars shown
  // The first tick, a second after the baseline: user share, then the whole.
  auto newest = [&]() -> const HistorySlot& { return graph.History(graph.LastY(graph.Current())); };
  ASSERT_TRUE(
      nitko::testing::SpinUntil([&] { return newest().Count == 2; }, std::chrono::seconds(10)));
  EXPECT_LE(newest().Values[0], newest().Values[1]);
  EXPECT_LE(newest().Values[1], 1000);
  EXPECT_EQ(graph.Scale(), newest().Values[1] > 0 ? 1000 : 0);
  EXPECT_NE(g->LabelObciazenie->Caption().find(" %"), std::string::npos);

  ClickOn(*g->BitBtnLinie);
  EXPECT_EQ(graph.Kind(), TGraphKind::pgLine);
  EXPECT_TRUE(g->BitBtnSlupki->Enabled());
  EXPECT_FALSE(g->BitBtnLinie->Enabled());

  int y0, m0, d0, y, m, d;
  DecodeDate(g->CCalendar1->CalendarDate(), y0, m0, d0);
  ClickOn(*g->BitBtnNastepnyMiesiac);
  ClickOn(*g->BitBtnPoprzedniRok);
  DecodeDate(g->CCalendar1->CalendarDate(), y, m, d);
  EXPECT_EQ(y * 12 + m, y0 * 12 + m0 + 1 - 12);
  EXPECT_NE(g->LabelData->Caption().find(
                FormatDateTime(ShortDateFormat(), g->CCalendar1->CalendarDate())),
            std::string::npos);
}
