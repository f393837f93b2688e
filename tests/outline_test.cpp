#include "controls/outline.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QStyleHints>
#include <QTest>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "controls/control_classes.h"
#include "controls/outline_strings.h"
#include "framework/canvas.h"
#include "framework/exception_handling.h"
#include "framework/form.h"
#include "framework/form_reader.h"
#include "framework/memory_stream.h"
#include "framework/screen.h"
#include "framework/system_colors.h"

using namespace nitko;

namespace {

// A shown outline on an active form; what the application's handler would
// show is collected.
class OutlineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(10, 10, 420, 320);
    o = new TCustomOutline(form.get());
    o->SetParent(form.get());
    o->SetBounds(0, 0, 300, 240);
    form->Show();
    form->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
    o->SetFocus();
    SetEventExceptionHandler(
        [this](std::exception_ptr e) { shown.push_back(DescribeException(e).message); });
  }
  void TearDown() override { SetEventExceptionHandler(nullptr); }

  void Load(const std::string& text) {
    TMemoryStream in(text);
    o->LoadLines(in);
  }
  std::string Saved() {
    TMemoryStream out;
    o->SaveLines(out);
    out.SetPosition(0);
    return out.ReadRest();
  }
  // The items depth first, found through the children alone.
  std::vector<TOutlineNode*> Walk() {
    std::vector<TOutlineNode*> all;
    std::function<void(TOutlineNode*)> visit = [&](TOutlineNode* n) {
      for (int i = 0; i < n->ChildCount(); ++i) all.push_back(n->Child(i)), visit(n->Child(i));
    };
    if (o->ItemCount() > 0) visit(o->ItemAt(1)->Parent());
    return all;
  }
  std::string Expanded() {
    std::string s;
    for (TOutlineNode* n : Walk()) s += n->Expanded() ? '1' : '0';
    return s;
  }

  std::unique_ptr<TForm> form;
  TCustomOutline* o = nullptr;
  std::vector<std::string> shown;
};

constexpr const char* kTree = "A\r\n\tA1\r\n\tA2\r\n\t\tA21\r\nB\r\nC\r\n";

// One "x" on each level from 1 to levels.
std::string Deep(int levels) {
  std::string text;
  for (int level = 0; level < levels; ++level) text += std::string(level, '\t') + "x\r\n";
  return text;
}

// Random edits against a flat model of (level, text) lines: the numbers
// agree with the tree whatever the numbering mark, and so do rows and
// expand counts.
TEST_F(OutlineTest, RandomEditsKeepNumbersRowsAndExpandCountsTrue) {
  std::mt19937 rng(20240917);
  std::vector<std::pair<int, std::string>> model;
  auto subtreeEnd = [&](size_t p) {
    size_t j = p + 1;
    while (j < model.size() && model[j].first > model[p].first) ++j;
    return model.begin() + static_cast<long>(j);
  };
  for (int step = 0; step < 4000; ++step) {
    const int n = o->ItemCount();
    const int i = n > 0 ? std::uniform_int_distribution<int>(1, n)(rng) : 0;
    const size_t p = static_cast<size_t>(i - 1);
    const std::string t = "t" + std::to_string(step);
    switch (rng() % (n < 400 ? 5 : 7)) {
      case 0:
        ASSERT_EQ(o->AppendChild(i, t), i == 0 ? n + 1 : subtreeEnd(p) - model.begin() + 1);
        model.insert(i == 0 ? model.end() : subtreeEnd(p), {i == 0 ? 1 : model[p].first + 1, t});
        break;
      case 1: {
        size_t q = p;  // the parent of item i, or the top level
        while (i > 0 && q > 0 && model[q].first >= model[p].first) --q;
        const bool top = i == 0 || model[p].first == 1;
        o->AppendSibling(i, t);
        model.insert(top ? model.end() : subtreeEnd(q), {top ? 1 : model[p].first, t});
        break;
      }
      case 2:
        ASSERT_EQ(o->InsertBefore(i, t), i == 0 ? n + 1 : i);
        model.insert(i == 0 ? model.end() : model.begin() + static_cast<long>(p),
                     {i == 0 ? 1 : model[p].first, t});
        break;
      case 3:
      case 5:
        if (i == 0) break;
        o->RemoveItem(i);
        model.erase(model.begin() + static_cast<long>(p), subtreeEnd(p));
        break;
      default:
        if (i == 0) break;
        if (o->ItemAt(i)->IsVisible() || o->ItemAt(i)->Expanded())
          o->ItemAt(i)->SetExpanded(!o->ItemAt(i)->Expanded());
        break;
    }
    ASSERT_TRUE(shown.empty()) << shown.front();
    const std::vector<TOutlineNode*> all = Walk();
    ASSERT_EQ(all.size(), model.size());
    for (int k = 0; k < 3 && !all.empty(); ++k) {
      const int at = std::uniform_int_distribution<int>(1, static_cast<int>(all.size()))(rng);
      ASSERT_EQ(o->ItemAt(at), all[static_cast<size_t>(at - 1)]) << "step " << step;
      ASSERT_EQ(all[static_cast<size_t>(at - 1)]->Text(),
                model[static_cast<size_t>(at - 1)].second);
    }
    if (step % 97 != 0) continue;
    ASSERT_EQ(o->Lines().Count(), static_cast<int>(model.size()));
    std::vector<TOutlineNode*> rows;
    for (size_t k = 0; k < all.size(); ++k) {
      TOutlineNode* a = all[k];
      ASSERT_EQ(a->Index(), static_cast<int>(k) + 1);
      ASSERT_EQ(a->Level(), model[k].first);
      int below = 0;
      for (int c = 0; a->Expanded() && c < a->ChildCount(); ++c)
        below += 1 + a->Child(c)->ExpandCount();
      ASSERT_EQ(a->ExpandCount(), below);
      if (a->IsVisible()) rows.push_back(a);
    }
    ASSERT_EQ(o->RowCount(), static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
      ASSERT_EQ(o->NodeAtRow(static_cast<int>(r)), rows[r]);
      ASSERT_EQ(o->RowOfNode(rows[r]), static_cast<int>(r));
    }
  }
}

// Failures of the three additions reach the application's handler and give
// 0; a negative index, removal, expansion, selection and a malformed text
// raise to the caller. A failed call on kTree leaves the outline as it was.
TEST_F(OutlineTest, ErrorsAreShownOrRaisedAndChangeNothing) {
  const std::string fits(kOutlineLineBufferSize - 1, 'x');
  const auto load = [&](std::string text) { return [&, text] { return Load(text), -1; }; };
  struct Case {
    std::function<int()> op;
    int result;
    const char* message;  // shown, or raised when result is -1
    bool onTree = true;   // kTree is what the operation starts from
  } cases[] = {
      {[&] { return (o->Clear(), o->AppendSibling(0, "X")); }, 1, "", false},
      {[&] { return (o->Clear(), o->AppendChild(0, "X")); }, 1, "", false},
      {[&] { return o->AppendChild(0, "X"); }, 7, ""},
      {[&] { return o->AppendSibling(2, "X"); }, 5, ""},
      {[&] { return o->InsertBefore(5, "X"); }, 5, ""},
      {[&] { return o->AppendChild(4, "X"); }, 5, ""},
      {[&] { return o->AppendChild(7, "X"); }, 0, SOutlineIndexError},
      {[&] { return o->AppendSibling(9, "X"); }, 0, SOutlineIndexError},
      {[&] { return o->InsertBefore(7, "X"); }, 0, SOutlineIndexError},
      {[&] { return o->AppendSibling(-1, "X"); }, -1, SOutlineError},
      {[&] { return o->AppendChild(-1, "X"); }, -1, SOutlineError},
      {[&] { return (o->RemoveItem(0), 0); }, -1, SOutlineError},
      {[&] { return (o->RemoveItem(7), 0); }, -1, SOutlineIndexError},
      {[&] { return (o->ItemAt(4)->SetExpanded(true), 0); }, -1, SOutlineExpandError},
      {[&] { return (o->SetSelectedIndex(-1), 0); }, -1, SOutlineSelection},
      {[&] { return (o->Clear(), o->SetSelectedIndex(0), 0); }, -1, SOutlineSelection, false},
      {[&] { return (Load(Deep(256)), o->AppendChild(256, "X")); }, 0, SOutlineMaxLevels, false},
      {[&] { return (Load(Deep(256)), o->AppendSibling(256, "X")); }, 257, "", false},
      {load("\t\tA\r\n"), -1, SOutlineFileLoad},
      {load("A\r\n\t\tX\r\n"), -1, SOutlineFileLoad},
      {load("\tA\r\nB\r\n"), -1, SOutlineFileLoad},
      {load("A\r\n\t" + fits + "\r\nB\r\n"), -1, SOutlineLongLine},
      {load("A\r\n" + fits + "x"), -1, SOutlineLongLine},
      {load(Deep(257)), -1, SOutlineMaxLevels},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    Load(kTree);
    o->ItemAt(1)->Expand();
    o->SetSelectedIndex(3);
    shown.clear();
    int result = -1;
    std::string raised = "none";
    try {
      result = c.op();
    } catch (const EOutlineError& e) {
      raised = e.Message();
    }
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(c.result == -1 ? raised : shown.empty() ? "" : shown.front(), c.message);
    if (c.onTree && c.result <= 0) {
      EXPECT_EQ(std::tuple(Saved(), o->SelectedIndex(), o->RowCount(), o->ItemAt(1)->Expanded()),
                std::tuple(kTree, 3, 5, true));
    }
  }
  // A text longer than the line buffer is saved whole and refused on loading.
  Load(fits);
  EXPECT_EQ(o->ItemCount(), 1);
  o->AppendChild(1, std::string(3 * kOutlineLineBufferSize, 'z'));
  const std::string saved = Saved();
  EXPECT_EQ(saved, fits + "\r\n\t" + std::string(3 * kOutlineLineBufferSize, 'z') + "\r\n");
  EXPECT_THROW(Load(saved), EOutlineError);
  EXPECT_EQ(Saved(), saved);
}

std::string RandomTree(std::mt19937& rng, int items, bool deep) {
  std::string text;
  int level = 0;
  for (int k = 0; k < items; ++k) {
    level = deep && k < 255 ? k + 1
                            : std::uniform_int_distribution<int>(1, std::min(level + 1, 256))(rng);
    std::string t(std::uniform_int_distribution<size_t>(0, 12)(rng), 'a');
    for (char& ch : t) ch = "ab c\xc4\x85\x7f#'"[rng() % 9];
    if (!t.empty() && t[0] == ' ') t[0] = 'x';
    text += std::string(static_cast<size_t>(level - 1), '\t') + t + "\r\n";
  }
  return text;
}

// Save, load, save gives the same bytes; everything loads collapsed.
TEST_F(OutlineTest, TheTextFormatRoundTrips) {
  std::mt19937 rng(5);
  for (int round = 0; round < 12; ++round) {
    const std::string text = RandomTree(rng, round < 4 ? 300 : 10000, round % 2 == 0);
    Load(text);
    const std::string once = Saved();
    ASSERT_EQ(once, text);
    o->ExpandAll();
    Load(once);
    EXPECT_EQ(Saved(), once);
    EXPECT_EQ(o->RowCount(), o->ItemAt(1)->Parent()->ChildCount());
  }
  // Line ends of any kind; leading spaces count like tabs.
  Load("A\rB\n C\r\n  D");
  EXPECT_EQ(Saved(), "A\r\nB\r\n\tC\r\n\t\tD\r\n");
  Load("");
  EXPECT_EQ(o->ItemCount(), 0);
}

// Keys on the tree A(A1, A2(A21)), B, C from a selected item.
TEST_F(OutlineTest, KeysMoveSelectExpandAndBeep) {
  struct Case {
    const char* open;  // items expanded before, by number
    int from;
    std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
    int selected;
    const char* expanded;
    int beeps;
  } cases[] = {
      {"", 1, {{Qt::Key_Return, {}}}, 1, "100000", 0},
      {"1", 1, {{Qt::Key_Return, {}}}, 1, "000000", 0},
      {"1", 2, {{Qt::Key_Left, {}}}, 1, "100000", 0},
      {"", 1, {{Qt::Key_Left, {}}}, 1, "000000", 1},
      {"", 1, {{Qt::Key_Right, {}}}, 1, "000000", 1},
      {"1", 1, {{Qt::Key_Right, {}}}, 2, "100000", 0},
      {"1", 2, {{Qt::Key_Down, Qt::ControlModifier}}, 3, "100000", 0},
      {"1", 3, {{Qt::Key_Down, Qt::ControlModifier}}, 3, "100000", 1},
      {"1", 5, {{Qt::Key_Up, Qt::ControlModifier}}, 1, "100000", 0},
      {"", 1, {{Qt::Key_Up, Qt::ControlModifier}}, 1, "000000", 1},
      {"1", 1, {{Qt::Key_Down, {}}, {Qt::Key_Down, {}}}, 3, "100000", 0},
      {"13", 2, {{Qt::Key_End, {}}, {Qt::Key_Up, {}}}, 5, "101000", 0},
      {"13", 6, {{Qt::Key_Home, {}}}, 1, "101000", 0},
      {"", 1, {{Qt::Key_Plus, {}}}, 1, "100000", 0},
      {"13", 1, {{Qt::Key_Minus, {}}}, 1, "000000", 0},
      {"", 1, {{Qt::Key_Asterisk, {}}}, 1, "111100", 0},
      {"", 5, {{Qt::Key_Asterisk, Qt::ControlModifier | Qt::KeypadModifier}}, 5, "111111", 0},
  };
  for (const Case& c : cases) {
    Load(kTree);
    for (const char* k = c.open; *k; ++k) o->ItemAt(*k - '0')->Expand();
    o->SetSelectedIndex(c.from);
    const int beeps = BeepCount();
    for (const auto& [key, mods] : c.keys) QTest::keyClick(o->Widget(), key, mods);
    EXPECT_EQ(std::tuple(o->SelectedIndex(), Expanded(), BeepCount() - beeps),
              std::tuple(c.selected, std::string(c.expanded), c.beeps))
        << c.open << " from " << c.from << " key " << c.keys.front().first;
    EXPECT_EQ(o->NodeAtRow(o->Row()), o->ItemAt(c.selected));
  }
}

// A press on a button toggles its item, a press on a text selects, a double
// click toggles the selected item.
TEST_F(OutlineTest, MouseButtonsClicksAndDoubleClicks) {
  Load(kTree);
  o->SetLook(TOutlineLook::lkButtonText);
  const int r = o->DefaultRowHeight(), h = (r - o->FontHeight()) / 2;
  auto at = [&](int row, int x) { return QPoint(x, o->CellRect(0, row).Top + r / 2); };
  const QPoint button = at(0, h - 1 + o->FontHeight() / 2), text = at(0, r + 3);
  // Presses apart in time, so that none makes a double click.
  const int apart = QGuiApplication::styleHints()->mouseDoubleClickInterval() + 1;
  QTest::mouseClick(o->Widget(), Qt::LeftButton, {}, button, apart);
  EXPECT_EQ(std::tuple(Expanded(), o->RowCount()), std::tuple("100000", 5));
  QTest::mouseClick(o->Widget(), Qt::LeftButton, {}, at(4, r + 3), apart);
  EXPECT_EQ(std::tuple(o->SelectedIndex(), Expanded()), std::tuple(6, "100000"));
  QTest::mouseClick(o->Widget(), Qt::LeftButton, {}, at(4, h), apart);
  EXPECT_EQ(Expanded(), "100000");
  // QTest's double click is the second press alone.
  QTest::mouseClick(o->Widget(), Qt::LeftButton, {}, text, apart);
  QTest::mouseDClick(o->Widget(), Qt::LeftButton, {}, text);
  EXPECT_EQ(std::tuple(o->SelectedIndex(), Expanded(), o->RowCount()), std::tuple(1, "000000", 3));
}

// Pixels of each look on A(A1, A2) expanded, B: buttons, pictures and tree
// lines where the row formulas put them, the highlight on the current text.
TEST_F(OutlineTest, TheSixLooksPaintTheirParts) {
  Load("A\r\n\tA1\r\n\tA2\r\nB\r\n");
  o->ItemAt(1)->Expand();
  o->SetSelectedIndex(4);
  o->SetOptions(static_cast<unsigned>(TOutlineOption::ooDrawTreeRoot));  // no focus frame
  const int r = o->DefaultRowHeight(), f = o->FontHeight(), h = (r - f) / 2;
  const TColor olive = 0x008080, grey = 0x808080;
  // A bitmap pixel of the picture in the slot of a row, drawn unstretched.
  auto picture = [&](int row, int slot, int bx, int by) {
    return o->Canvas().Pixel(slot * r + h - 1 + bx, row * r + h + (f - 14) / 2 + by);
  };
  auto line = [&](int row, int x, int y) { return o->Canvas().Pixel(x, row * r + y); };
  struct Case {
    TOutlineLook look;
    int textSlot;  // where the highlighted text starts, in row heights
    std::function<bool()> parts;
  } cases[] = {
      {TOutlineLook::lkText, 0,
       [&] {
         return line(1, r / 2, r / 2) == ColorToRGB(clWindow) &&
                line(1, h + 4, r / 2) == ColorToRGB(clWindow);
       }},
      {TOutlineLook::lkButtonText, 1,
       [&] {
         return picture(0, 0, 5, 6) == 0 && picture(0, 0, 5, 5) != 0 &&
                picture(3, 0, 1, 2) == ColorToRGB(clWindow) &&
                picture(1, 1, 1, 2) == ColorToRGB(clWindow);
       }},
      {TOutlineLook::lkPictureText, 1,
       [&] { return picture(0, 0, 0, 4) == olive && picture(1, 1, 1, 2) == grey; }},
      {TOutlineLook::lkButtonPictureText, 2,
       [&] { return picture(0, 0, 4, 6) == 0 && picture(0, 1, 0, 4) == olive; }},
      {TOutlineLook::lkTreeText, 1,
       [&] {
         return line(0, r / 2, 0) == 0 && line(1, r + r / 2, 0) == 0 &&
                line(2, r + r / 2, r - 1) != 0 && line(2, r + r / 2 + f / 2 - 1, r / 2) == 0;
       }},
      {TOutlineLook::lkTreePictureText, 2,
       [&] { return line(3, r / 2, r / 2 - 1) == 0 && picture(0, 1, 0, 4) == olive; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.look));
    o->SetLook(c.look);
    o->Repaint();
    EXPECT_TRUE(c.parts());
    // The current row's text is highlighted from its left edge.
    EXPECT_EQ(line(3, c.textSlot * r, 0), ColorToRGB(clHighlight));
    EXPECT_TRUE(c.textSlot == 0 || line(3, c.textSlot * r - 1, 0) == ColorToRGB(clWindow));
  }
  o->SetOptions(0);  // no root lines: the text moves one step left
  o->Repaint();
  EXPECT_EQ(std::tuple(line(0, r / 2, 0), line(3, r, 0)),
            std::tuple(ColorToRGB(clWindow), ColorToRGB(clHighlight)));
}

// Owner drawing gets each shown row with its state; scrolling a page draws
// the page; the column is as wide as the widest shown row or the client.
TEST_F(OutlineTest, OwnerDrawingRowHeightAndColumnWidth) {
  EXPECT_EQ(o->FontHeight(), MulDiv(-MulDiv(o->Font().Height(), 72, 96), 96, 72));
  EXPECT_EQ(o->ItemHeight(), MulDiv(o->FontHeight(), 120, 100));
  std::string many;
  for (int i = 0; i < 1000; ++i)
    many += "item " + std::to_string(i) + "\r\n\tchild with a longer text\r\n";
  Load(many);
  const int narrow = o->DefaultColWidth();
  o->ItemAt(3)->Expand();
  EXPECT_GT(o->DefaultColWidth(), narrow);
  o->ItemAt(3)->Collapse();
  EXPECT_EQ(o->DefaultColWidth(), narrow);
  o->SetScrollBars(TScrollStyle::ssVertical);
  EXPECT_EQ(o->DefaultColWidth(), o->ClientWidth());

  std::vector<std::pair<int, TOwnerDrawState>> drawn;
  o->OnDrawItem = [&](TComponent*, int row, const TRect&, TOwnerDrawState s) {
    drawn.push_back({row, s});
  };
  o->SetStyle(TOutlineType::otOwnerDraw);
  o->SetItemHeight(30);
  EXPECT_EQ(std::tuple(o->DefaultRowHeight(), o->FontHeight()), std::tuple(30, 25));
  o->SetSelectedIndex(3);
  o->Repaint();
  const int page = o->VisibleRowCount();
  ASSERT_GE(drawn.size(), static_cast<size_t>(page));
  EXPECT_EQ(drawn[1], std::pair(1, odSelected | odFocused));
  EXPECT_EQ(drawn[0].second, 0u);
  drawn.clear();
  o->SetTopRow(page);
  o->Repaint();
  EXPECT_LE(drawn.size(), static_cast<size_t>(page + 1));
  EXPECT_EQ(drawn.front().first, page);
}

// The string-list view reads indentation on Add only; objects are Data.
TEST_F(OutlineTest, TheStringListView) {
  TOutlineStrings& lines = o->Lines();
  lines.Assign({"A", "\tA1", "\t\t\tA111", "B", "  B1", "C"});
  EXPECT_EQ(Saved(), "A\r\n\tA1\r\n\t\tA111\r\nB\r\n\tB1\r\nC\r\n");
  EXPECT_THROW(lines.Add("\t\t\tX"), EOutlineError);
  lines.Insert(1, "Z");
  lines.Delete(4);  // B with B1
  lines.Put(0, "A0");
  int data = 0;
  lines.PutObject(4, &data);
  EXPECT_EQ(lines.Text(), "A0\r\n\tZ\r\n\tA1\r\n\t\tA111\r\nC\r\n");
  EXPECT_EQ(o->ItemAt(5)->Data(), &data);
}

// A form description stores the tree as Nodes and cleared pictures in Data.
TEST_F(OutlineTest, FormDescriptionDataAndNodes) {
  RegisterControlClasses();
  TForm root(nullptr);
  TFormReader().Read(root,
                     "object F: TForm\n  object O: TCustomOutline\n    Data = {0C}\n"
                     "    Nodes = ('A' '\tA1' 'B')\n    Look = lkButtonText\n  end\nend\n");
  auto* read = dynamic_cast<TCustomOutline*>(root.FindComponent("O"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(std::tuple(read->ItemCount(), read->SelectedIndex(), read->RowCount()),
            std::tuple(3, 1, 2));
  for (int i = 0; i < kPictureCount; ++i)
    EXPECT_EQ(read->Picture(i).Empty(), i == kPictureOpen || i == kPictureClosed) << i;
  EXPECT_EQ(read->StoredData(), TBytes{0x0C});
  EXPECT_EQ(read->StoredNodes(), (std::vector<std::string>{"A", "\tA1", "B"}));
  EXPECT_EQ(o->StoredData(), std::nullopt);
  EXPECT_EQ(o->StoredNodes(), std::nullopt);
  EXPECT_THROW(TFormReader().Read(root,
                                  "object F: TForm\n  object P: TCustomOutline\n"
                                  "    Nodes = ('\t\tA')\n  end\nend\n"),
               EReadError);
}

}  // namespace
