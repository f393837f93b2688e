#include "controls/directory_outline.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QTest>
#include <memory>
#include <string>
#include "framework/form.h"
#include "runtime/current_folder.h"
#include "runtime/drive_map.h"
#include "runtime/file_name_order.h"
#include "temp_folder_tree.h"

using namespace nitko;

namespace {

// The sample tree on drive T:, the process in T:\with space\child, and a
// shown directory outline on an active form built from there.
class DirectoryOutlineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFileNameCollation("C");
    tree.MakeSample();
    tree.Folder("p"), tree.Folder("q");
    tree.Link("p/toq", tree.Path("q"));
    tree.Link("q/top", tree.Path("p"));
    ASSERT_TRUE(MapDrive('T', tree.Root()));
    ASSERT_TRUE(SetCurrentDir("T:\\with space\\child"));
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(10, 10, 420, 420);
    Make();
    form->Show();
    form->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
  }
  void TearDown() override {
    form.reset();
    SetCurrentDir("C:\\");
    MapDrive('T', "");
    SetFileNameCollation("");
  }
  void Make(TTextCase textCase = TTextCase::tcLowerCase) {
    delete o;
    o = new TCDirectoryOutline(form.get());
    o->SetParent(form.get());
    o->SetBounds(0, 0, 400, 400);
    o->OnChange = [this](TComponent*) { ++changes; };
    changes = 0;
    if (textCase == TTextCase::tcLowerCase) o->BuildTree();
    else o->SetTextCase(textCase);
  }
  std::string Children(TOutlineNode* n) {
    std::string s;
    for (int i = 0; i < n->ChildCount(); ++i) s += (i ? "," : "") + n->Child(i)->Text();
    return s;
  }
  TOutlineNode* Root() { return o->ItemAt(1); }
  TTempFolderTree tree;
  std::unique_ptr<TForm> form;
  TCDirectoryOutline* o = nullptr;
  int changes = 0;
};

// Dot-folders, files and links to files or nowhere never appear; case twins
// both do, the one stored "A" first whatever the listing order.
TEST_F(DirectoryOutlineTest, ExpandsAlongTheProcessFolderInEachCase) {
  const struct { TTextCase textCase; std::string drive, children, directory; } cases[] = {
      {TTextCase::tcLowerCase, "t:", "a,a,bad\uFFFD,gone,locked,p,q,sub,with space,za\u017c\u00f3\u0142\u0107",
       "t:\\with space\\child"},
      {TTextCase::tcUpperCase, "T:", "A,A,BAD\uFFFD,GONE,LOCKED,P,Q,SUB,WITH SPACE,ZA\u017b\u00d3\u0141\u0106",
       "T:\\WITH SPACE\\CHILD"},
      {TTextCase::tcAsIs, "T:", "A,a,bad\uFFFD,gone,locked,p,q,sub,with space,Za\u017c\u00f3\u0142\u0107",
       "T:\\with space\\child"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.drive + c.directory);
    Make(c.textCase);
    TOutlineNode* space = Root()->Child(8);
    EXPECT_EQ(std::tuple(Root()->Text(), Root()->Expanded(), Children(Root()), space->Expanded(), changes),
              std::tuple(c.drive, true, c.children, true, 1));
    EXPECT_EQ(std::tuple(o->SelectedIndex(), o->Directory(), o->Drive()),
              std::tuple(space->Child(0)->Index(), c.directory, 'T'));
  }
}

// Each item opens its own folder, even where names show alike or not as
// stored: a real click on its row makes it the process's folder, and its
// first expansion reads the disk while a later one does not.
TEST_F(DirectoryOutlineTest, ClickedItemsOpenTheirOwnFolderAndReadOnce) {
  rmdir(tree.Path("gone").c_str());  // listed, then removed before expanding
  const std::string locked = access(tree.Path("locked").c_str(), R_OK) == 0 ? "inner" : "";
  const struct { int position; std::string folder, children; } cases[] = {{0, "T:\\A", "upper"},     {1, "T:\\a", "lower"},           {2, "T:\\bad\xff", "kid"},
               {3, "", ""},               {4, "T:\\locked", locked},       {7, "T:\\sub", "loop"},
               {9, "T:\\Za\u017c\u00f3\u0142\u0107", "x"}};
  for (const auto& c : cases) {
    TOutlineNode* item = Root()->Child(c.position);
    SCOPED_TRACE(item->Text());
    const TRect cell = o->CellRect(0, o->RowOfNode(item));
    const std::string before = GetCurrentDir();  // kept when the folder has gone
    QTest::mouseClick(o->Widget(), Qt::LeftButton, {}, QPoint(cell.Right - 2, (cell.Top + cell.Bottom) / 2), 1000);
    EXPECT_EQ(GetCurrentDir(), c.folder.empty() ? before : c.folder);
    EXPECT_EQ(o->SelectedIndex(), item->Index());
    item->Expand();
    item->Collapse();
    tree.Folder(std::string(c.folder.empty() ? "none" : c.folder.substr(3)) + "/later");
    item->Expand();
    EXPECT_EQ(std::tuple(Children(item), item->Data()), std::tuple(c.children, TCDirectoryOutline::APointer));
  }
}

TEST_F(DirectoryOutlineTest, SetDirectoryAndSetDrive) {
  const struct { std::string dir, directory, current; int changes; } cases[] = {{"T:\\with space\\", "t:\\with space", "T:\\with space", 1},
               {"T:\\", "t:\\", "T:\\", 1},
               {"t:/sub/loop/", "t:\\sub\\loop", "T:\\sub\\loop", 1},
               {"T:\\A", "t:\\a", "T:\\A", 1},
               {"T:\\a\\", "t:\\a", "T:\\a", 1},
               {"T:\\a", "t:\\a", "T:\\a", 0},
               {"", "t:\\a", "T:\\a", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dir);
    changes = 0;
    o->SetDirectory(c.dir);
    EXPECT_EQ(std::tuple(o->Directory(), GetCurrentDir(), changes), std::tuple(c.directory, c.current, c.changes));
    EXPECT_EQ(o->FolderPathOf(o->SelectedIndex()), c.current);
  }
  // A letter that is no drive, the same drive in the other case, or a
  // drive with no folder change nothing.
  changes = 0;
  for (char d : {'1', 't', 'Q'}) o->SetDrive(d);
  EXPECT_EQ(std::tuple(o->Drive(), GetCurrentDir(), changes), std::tuple('T', "T:\\a", 0));
}

// Links to their own parent and to each other's folder are listed and
// entered once at most, so the read of the whole tree ends.
TEST_F(DirectoryOutlineTest, BuildSubTreeNeverEntersAFolderTwiceOnOnePath) {
  o->BuildSubTree(1);
  const struct { int position; std::string children, grandchildren; } cases[] = {{5, "toq", "top"}, {6, "top", "toq"}, {7, "loop", ""}};
  for (const auto& c : cases) {
    TOutlineNode* item = Root()->Child(c.position);
    SCOPED_TRACE(item->Text());
    TOutlineNode* link = item->Child(0);
    EXPECT_EQ(std::tuple(Children(item), Children(link)), std::tuple(c.children, c.grandchildren));
    if (!link->HasChildren()) continue;
    EXPECT_EQ(std::tuple(link->Child(0)->HasChildren(), link->Child(0)->Data()), std::tuple(false, nullptr));
  }
  EXPECT_EQ(Children(Root()->Child(0)), "upper");
}

}  // namespace
