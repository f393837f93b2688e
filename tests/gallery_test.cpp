// The gallery on the real timer and processor load, with real clicks.
#include <gtest/gtest.h>

#include <QTest>
#include <cstdio>
#include <fstream>
#include <memory>

#include "app/gallery/galeria.h"
#include "controls/calendar.h"
#include "controls/directory_outline.h"
#include "controls/outline.h"
#include "controls/performance_graph.h"
#include "event_loop_support.h"
#include "framework/button.h"
#include "framework/label.h"
#include "runtime/date_time.h"
#include "runtime/drive_map.h"
#include "temp_folder_tree.h"

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

TEST(Gallery, TheOutlineShowsTheSampleLooksAndFiles) {
  RegisterGaleriaClasses();
  std::unique_ptr<TGaleria> g(Galeria = new TGaleria(nullptr));
  TCustomOutline& o = *g->Outline1;
  EXPECT_EQ(o.ItemAt(1)->Text(), "Nitkograf");
  const std::string first = g->LabelWyglad->Caption();
  for (int i = 1; i <= 6; ++i) {
    QTest::mouseClick(g->BitBtnWyglad->Widget(), Qt::LeftButton);
    EXPECT_EQ(static_cast<int>(o.Look()),
              (static_cast<int>(TOutlineLook::lkTreePictureText) + i) % 6);
    EXPECT_EQ(g->LabelWyglad->Caption() == first, i == 6);
  }
  const std::string path = ::testing::TempDir() + "gallery_outline.txt";
  std::ofstream(path) << "one\n\ttwo\n\t\t\tfour\n";
  EXPECT_THROW(g->LoadOutlineFile(path), EOutlineError);
  EXPECT_EQ(o.ItemAt(1)->Text(), "Nitkograf");
  std::ofstream(path) << "one\n\ttwo\n";
  g->LoadOutlineFile(path);
  EXPECT_EQ(std::pair(o.ItemCount(), o.ItemAt(2)->Text()), std::pair(2, std::string("two")));
  EXPECT_EQ(g->LabelWyglad->Caption().rfind("gallery_outline.txt", 0), 0u);
  std::remove(path.c_str());
}

TEST(Gallery, TheDirectoryOutlineStartsAtTheFolderAndFollowsClicks) {
  RegisterGaleriaClasses();
  TTempFolderTree tree;
  for (const char* f : {"home", "home/b", "home/a", "home/a/x"}) tree.Folder(f);
  std::unique_ptr<TGaleria> g(Galeria = new TGaleria(nullptr));
  g->Show();
  TCDirectoryOutline& d = *g->DirectoryOutline1;
  g->ShowFolder(tree.Path("home"));
  const std::string home = SystemPathOf(tree.Path("home"));
  EXPECT_EQ(std::pair(d.Directory(), g->LabelKatalog->Caption()), std::pair(home, home));
  TOutlineNode* shown = d.ItemAt(d.SelectedIndex());
  ASSERT_EQ(shown->ChildCount(), 2);
  EXPECT_EQ(shown->Child(0)->Text(), "a");
  // A click on the row of "b" moves the tree's folder and the label with it.
  // The tree fits the control when few folders stand beside it, so the top row may not move.
  d.SetTopRow(d.RowOfNode(shown->Child(1)));
  const int y = (d.RowOfNode(shown->Child(1)) - d.TopRow()) * d.ItemHeight() + d.ItemHeight() / 2;
  QTest::mouseClick(d.Widget(), Qt::LeftButton, {}, QPoint(5, y));
  EXPECT_EQ(g->LabelKatalog->Caption(), home + "\\b");
}
