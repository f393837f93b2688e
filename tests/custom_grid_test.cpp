#include "framework/custom_grid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "event_loop_support.h"
#include "framework/canvas.h"
#include "framework/form.h"
#include "framework/surface.h"
#include "framework/system_colors.h"

using namespace nitko;

namespace {

// Fills each cell with a colour of its own and counts what it draws.
class PaintGrid : public TCustomGrid {
 public:
  explicit PaintGrid(TComponent* owner) : TCustomGrid(owner) {}
  std::function<bool(int, int)> allow;
  std::map<std::pair<int, int>, TColor> colors;
  int draws = 0;
  TColor ColorOf(int c, int r) const {
    auto it = colors.find({c, r});
    return it != colors.end() ? it->second : static_cast<TColor>(c | (r & 0xFF) << 8 | 0x800000);
  }

 protected:
  bool SelectCell(int c, int r) override { return !allow || allow(c, r); }
  void DrawCell(int c, int r, const TRect& rect, TGridDrawState) override {
    ++draws;
    Canvas().Brush().SetColor(ColorOf(c, r));
    Canvas().FillRect(rect);
  }
};

// 5 columns, 1000 rows with one fixed row and column, on an active form.
class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(10, 10, 400, 300);
    grid = new PaintGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(10, 10, 300, 200);
    grid->SetRowCount(1000);
    grid->SetDefaultRowHeight(20);
    grid->OnClick = [this](TComponent*) { ++clicks; };
    form->Show();
    form->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
    grid->SetFocus();
    ASSERT_TRUE(nitko::testing::SpinUntil([&] { return grid->Focused(); }));
  }
  QPoint At(int col, int row) const {
    const TRect r = grid->CellRect(col, row);
    const TPoint p = grid->ClientToScreen({r.Left + 2, r.Top + 2});
    return grid->Widget()->mapFromGlobal(QPoint(p.X, p.Y));
  }
  void Wheel(int delta) {
    const QPoint p = At(2, 2);
    QWheelEvent e(p, grid->Widget()->mapToGlobal(p), {}, {0, delta}, Qt::NoButton, {},
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->Widget(), &e);
  }
  QScrollBar* Bar(Qt::Orientation o) const {
    for (auto* b : grid->Widget()->findChildren<QScrollBar*>())
      if (b->orientation() == o) return b;
    return nullptr;
  }
  bool Painted() {
    return nitko::testing::SpinUntil([&] { return !grid->IsInvalid() && grid->draws > 0; },
                                     std::chrono::seconds(5));
  }

  std::unique_ptr<TForm> form;
  PaintGrid* grid = nullptr;
  int clicks = 0;
};

}  // namespace

TEST_F(GridTest, KeysMoveTheCurrentCellAndScrollItIntoView) {
  const int v = grid->VisibleRowCount();
  ASSERT_GT(v, 2);
  using K = std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>;
  const Qt::KeyboardModifiers none{}, ctrl = Qt::ControlModifier;
  struct Case {
    K keys;
    int col, row, top, clicks;
  } cases[] = {
      {{{Qt::Key_Down, none}, {Qt::Key_Down, none}, {Qt::Key_Right, none}}, 2, 3, 1, 3},
      {{{Qt::Key_Up, none}, {Qt::Key_Left, none}}, 1, 1, 1, 0},
      {{{Qt::Key_PageDown, none}}, 1, 1 + v, 1 + v, 1},
      {{{Qt::Key_PageDown, none}, {Qt::Key_PageUp, none}}, 1, 1, 1, 2},
      {{{Qt::Key_End, none}}, 4, 1, 1, 1},
      {{{Qt::Key_End, ctrl}}, 4, 999, 1000 - v, 1},
      {{{Qt::Key_End, ctrl}, {Qt::Key_Home, ctrl}}, 1, 1, 1, 2},
      {K(v, {Qt::Key_Down, none}), 1, 1 + v, 2, v},
  };
  for (const Case& c : cases) {
    grid->MoveCurrent(1, 1, true, true);
    clicks = 0;
    for (auto [key, mods] : c.keys) QTest::keyClick(grid->Widget(), key, mods);
    EXPECT_EQ(std::tuple(grid->Col(), grid->Row(), grid->TopRow(), clicks),
              std::tuple(c.col, c.row, c.top, c.clicks));
    EXPECT_EQ(grid->Selection(), (TGridRect{c.col, c.row, c.col, c.row}));
  }
  // Shift extends the selection from the anchor.
  QTest::keyClick(grid->Widget(), Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(grid->Widget(), Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1 + v, 2, 2 + v}));
}

TEST_F(GridTest, MouseClicksSelectThroughSelectCellAndTheWheelAndBarsScroll) {
  grid->allow = [](int c, int) { return c != 2; };
  struct Case {
    int col, row;
    Qt::KeyboardModifiers mods;
    TGridRect selection;
  } cases[] = {{3, 4, {}, {3, 4, 3, 4}},
               {2, 2, {}, {3, 4, 3, 4}},  // refused by SelectCell
               {0, 0, {}, {3, 4, 3, 4}},  // fixed
               {1, 2, Qt::ShiftModifier, {1, 2, 3, 4}}};
  for (const Case& c : cases) {
    QTest::mouseClick(grid->Widget(), Qt::LeftButton, c.mods, At(c.col, c.row));
    EXPECT_EQ(grid->Selection(), c.selection) << c.col << "," << c.row;
  }
  EXPECT_EQ(clicks, 4);

  Wheel(-120);
  EXPECT_EQ(grid->TopRow(), 1 + QApplication::wheelScrollLines());
  Wheel(-60);
  Wheel(-60);
  EXPECT_EQ(grid->TopRow(), 1 + 2 * QApplication::wheelScrollLines());
  Wheel(1200);
  EXPECT_EQ(std::pair(grid->TopRow(), grid->Row()), std::pair(1, 2));  // the view alone scrolls

  QScrollBar* bar = Bar(Qt::Vertical);
  ASSERT_TRUE(bar->isVisible());
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() * 3 / 4));
  EXPECT_GT(grid->TopRow(), 1);
  EXPECT_EQ(bar->value(), grid->TopRow());
  grid->SetTopRow(500);
  EXPECT_EQ(std::pair(bar->value(), bar->maximum()),
            std::pair(500, 1000 - grid->VisibleRowCount()));
}

TEST_F(GridTest, EmptyAndHugeGridsDrawOnlyWhatIsShown) {
  grid->SetRowCount(0);
  EXPECT_FALSE(grid->HasCells());
  grid->draws = 0;
  grid->Repaint();
  for (Qt::Key k : {Qt::Key_Down, Qt::Key_End, Qt::Key_PageDown})
    QTest::keyClick(grid->Widget(), k);
  QTest::mouseClick(grid->Widget(), Qt::LeftButton, {}, QPoint(40, 40));
  Wheel(-120);
  EXPECT_EQ(grid->draws, 0);
  for (int y = 0; y < grid->ClientHeight(); y += 7)
    for (int x = 0; x < grid->ClientWidth(); x += 7)
      ASSERT_EQ(grid->Canvas().Pixel(x, y), ColorToRGB(clWindow));

  for (int rows : {100000, INT_MAX}) {
    grid->SetRowCount(rows);
    grid->SetFixedRows(1);
    QTest::keyClick(grid->Widget(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(grid->Row(), grid->TopRow()),
              std::tuple(rows - 1, rows - grid->VisibleRowCount()));
    grid->draws = 0;
    grid->Repaint();
    // The fixed row and column, and the rows and columns from TopRow and
    // LeftCol to the last.
    EXPECT_EQ(grid->draws, (1LL + rows - grid->TopRow()) * (1 + 5 - grid->LeftCol())) << rows;
  }
}

TEST_F(GridTest, AChangedCellIsRedrawnAloneAndNothingLandsOutsideTheGrid) {
  ASSERT_TRUE(Painted());
  const QImage before = grid->Canvas().Surface()->Image().copy();
  grid->colors[{2, 2}] = clRed;
  grid->colors[{3, 3}] = clLime;  // changed but not invalidated: must stay old
  grid->draws = 0;
  grid->InvalidateCell(2, 2);
  ASSERT_TRUE(Painted());
  EXPECT_EQ(grid->draws, 1);
  const TRect changed = grid->CellRect(2, 2);
  const QImage& after = grid->Canvas().Surface()->Image();
  int differing = 0;
  for (int y = 0; y < after.height(); ++y)
    for (int x = 0; x < after.width(); ++x) {
      const bool inside = changed.Contains({x, y});
      if (inside) {
        ASSERT_EQ(grid->Canvas().Pixel(x, y), clRed);
      }
      differing += !inside && after.pixel(x, y) != before.pixel(x, y);
    }
  EXPECT_EQ(differing, 0);

  // Moving the current cell redraws the cell it leaves and the one it enters.
  grid->draws = 0;
  QTest::keyClick(grid->Widget(), Qt::Key_Down);
  ASSERT_TRUE(Painted());
  EXPECT_EQ(grid->draws, 2);

  // The grid's frame is its own edge; the form around it is untouched.
  const QImage shot = form->Widget()->grab().toImage();
  const QRgb formColor = shot.pixel(5, 5);
  for (int x = grid->Left() - 1; x <= grid->Left() + grid->Width(); ++x) {
    EXPECT_EQ(shot.pixel(x, grid->Top() - 1), formColor);
    EXPECT_EQ(shot.pixel(x, grid->Top() + grid->Height()), formColor);
  }
  EXPECT_NE(shot.pixel(grid->Left(), grid->Top() + 5), formColor);
}

// One scrolling column wider than its room moves by pixels behind the fixed one.
TEST_F(GridTest, AWideSingleColumnScrollsByPixelsBehindTheFixedOne) {
  grid->SetCtl3D(false);  // fixed cells without a bevel
  grid->SetColCount(2);
  grid->SetDefaultColWidth(200);
  QScrollBar* bar = Bar(Qt::Horizontal);
  ASSERT_TRUE(bar->isEnabled());
  EXPECT_EQ(bar->maximum(), 200 - (grid->ClientWidth() - 201));
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() * 3 / 4, bar->height() / 2));
  const int offset = grid->LeftOffset();
  EXPECT_TRUE(offset > 0 && bar->value() == offset);
  EXPECT_EQ(grid->CellRect(1, 2).Left, 201 - offset);
  grid->Repaint();
  for (int x = 0; x < grid->ClientWidth(); ++x) {
    const TColor want = x < 200 ? grid->ColorOf(0, 1) : x == 200 ? clBlack : grid->ColorOf(1, 1);
    ASSERT_EQ(grid->Canvas().Pixel(x, 30), want) << x;
  }
}
