#include <gtest/gtest.h>

#include <sys/wait.h>
#include <grp.h>

#include <cerrno>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "runtime/current_folder.h"
#include "runtime/drive_map.h"
#include "runtime/file_name_case.h"
#include "runtime/file_name_order.h"
#include "runtime/folder_search.h"
#include "runtime/insertion_order.h"
#include "runtime/path_resolution.h"
#include "tests/temp_folder_tree.h"

using namespace nitko;

namespace {

#define FFFD "\xEF\xBF\xBD"

TEST(FileNameText, CasesPerCharacterAndKeepsUndecodableBytes) {
  struct Case {
    const char* name;
    const char* lower;
    const char* upper;
    const char* shown;
  } cases[] = {
      {"Ab c", "ab c", "AB C", "Ab c"},
      {"ZaŻółć", "zażółć", "ZAŻÓŁĆ", "ZaŻółć"},
      {"Σίσυφος😀", "σίσυφος😀", "ΣΊΣΥΦΟΣ😀", "Σίσυφος😀"},
      {"a\xff" "b", "a\xff" "b", "A\xff" "B", "a" FFFD "b"},
      {"Z\xc4", "z\xc4", "Z\xc4", "Z" FFFD},                                   // cut short at the end
      {"\xe2\x82" "A", "\xe2\x82" "a", "\xe2\x82" "A", FFFD "A"},               // one part, one mark
      {"\xc0\xaf", "\xc0\xaf", "\xc0\xaf", FFFD FFFD},                         // overlong
      {"\xed\xa0\x80" "é", "\xed\xa0\x80" "é", "\xed\xa0\x80" "É", FFFD FFFD FFFD "é"},  // surrogate
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LowerCaseFileName(c.name), c.lower) << c.name;
    EXPECT_EQ(UpperCaseFileName(c.name), c.upper) << c.name;
    EXPECT_EQ(DisplayFileName(c.name), c.shown) << c.name;
  }
}

// Each name inserted before the first placed one that is not less, as the
// directory outline's reading of a folder does it.
template <typename Cmp>
std::vector<size_t> LiteralInsertion(const std::vector<std::string>& names, Cmp cmp) {
  std::vector<size_t> placed;
  for (size_t i = 0; i < names.size(); ++i) {
    auto at = placed.begin();
    while (at != placed.end() && cmp(names[*at], names[i]) < 0) ++at;
    placed.insert(at, i);
  }
  return placed;
}

// Case is ignored in the collation, then bytes decide; the insertion order is
// the literal walk's. Polish only where the machine has that locale.
TEST(FileNameOrder, ComparesIgnoringCaseThenBytesAndInsertsAsTheLiteralWalk) {
  struct Case {
    const char* locale;
    const char* a;
    const char* b;
    int sign;
  } cases[] = {
      {"C", "A", "a", -1},          {"C", "abc", "ABD", -1}, {"C", "B", "a", 1},
      {"C", "same", "same", 0},     {"C", "a\xfe", "a\xff", -1}, {"C", "ąb", "b", 1},
      {"pl_PL.UTF-8", "ąb", "b", -1}, {"pl_PL.UTF-8", "ąb", "az", 1}, {"pl_PL.UTF-8", "Ą", "ą", -1},
  };
  for (const Case& c : cases) {
    if (!SetFileNameCollation(c.locale)) continue;
    EXPECT_EQ(CompareFileNames(c.a, c.b), c.sign) << c.locale << ' ' << c.a << ' ' << c.b;
    EXPECT_EQ(CompareFileNames(c.b, c.a), -c.sign) << c.locale << ' ' << c.a << ' ' << c.b;
  }
  const std::vector<std::string> pool = {"a", "A", "b", "B", "ab", "Ab", "aB", "ą", "Ą", "z",
                                         "Zażółć", "zażółć", "bad\xff", "bad\xfe", "with space",
                                         "With Space", "é", "E", "e", ""};
  // Case-insensitive alone: twins compare equal, so the tie rule shows.
  const auto ignoringCase = [](const std::string& x, const std::string& y) {
    return LowerCaseFileName(x).compare(LowerCaseFileName(y));
  };
  std::mt19937 rng(7);
  for (const char* locale : {"C", "pl_PL.UTF-8"}) {
    if (!SetFileNameCollation(locale)) continue;
    for (int trial = 0; trial < 300; ++trial) {
      std::vector<std::string> names(rng() % 40);
      for (std::string& n : names) n = pool[rng() % pool.size()];
      EXPECT_EQ(FileNameInsertionOrder(names), LiteralInsertion(names, CompareFileNames)) << locale;
      EXPECT_EQ(InsertionOrder(names.size(),
                               [&](size_t x, size_t y) { return ignoringCase(names[x], names[y]) < 0; }),
                LiteralInsertion(names, ignoringCase));
    }
  }
  SetFileNameCollation("C");
}

TEST(DriveSetting, ReadsEntriesAndSkipsMalformedOnes) {
  struct Case {
    const char* setting;
    std::map<char, std::string> drives;
  } cases[] = {
      {"D=/media/data;E=/mnt/usb", {{'D', "/media/data"}, {'E', "/mnt/usb"}}},
      {" d = /x/ ; e:=/y//z/.;", {{'D', "/x"}, {'E', "/y/z"}}},
      {"1=/x;DD=/y;F=rel;G=;=/z;H/x;;I=/a/../b;J=/with space/ ", {{'I', "/b"}, {'J', "/with space"}}},
      {"C=/home/u;C=/srv", {{'C', "/srv"}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    std::map<char, std::string> got;
    for (const TDriveMapping& m : ParseDriveSetting(c.setting)) got[m.drive] = m.folder;
    EXPECT_EQ(got, c.drives) << c.setting;
  }
}

TEST(DriveMap, ConvertsBetweenSystemAndNativePaths) {
  ASSERT_TRUE(MapDrive('d', "/media/data/"));
  EXPECT_FALSE(MapDrive('D', "relative"));
  EXPECT_FALSE(MapDrive('1', "/x"));
  EXPECT_EQ(DriveFolder('D'), "/media/data");
  EXPECT_EQ(NativePathOf("d:\\x/y\\..\\z\\"), "/media/data/x/z");
  EXPECT_EQ(NativePathOf("C:\\"), "/");
  EXPECT_EQ(NativePathOf("D:x"), std::nullopt);  // not a full path
  EXPECT_EQ(NativePathOf("Q:\\x"), std::nullopt);
  EXPECT_EQ(SystemPathOf("/media/data/x"), "D:\\x");
  EXPECT_EQ(SystemPathOf("/media/data", 'C'), "C:\\media\\data");
  EXPECT_EQ(SystemPathOf("/media/datax"), "C:\\media\\datax");
  EXPECT_EQ(SystemPathOf("relative"), "");
  ASSERT_TRUE(MapDrive('D', ""));
  EXPECT_EQ(NativePathOf("D:\\x"), std::nullopt);
}

TEST(FileMask, MatchesIgnoringCase) {
  struct Case {
    const char* name;
    const char* mask;
    bool fits;
  } cases[] = {
      {"no dot", "*.*", true}, {"Report.TXT", "*.txt", true}, {"ŻABA", "ż?ba", true},
      {"ab", "a?b", false},    {"aXbYb", "a*b", true},       {"abc", "a*b", false},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.fits) << c.name << ' ' << c.mask;
}

// One sample tree for the whole suite, on drive T:.
class FileSystemTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tree_ = new TTempFolderTree;
    tree_->MakeSample();
    ASSERT_TRUE(MapDrive('T', tree_->Root()));
    ASSERT_TRUE(MapDrive('U', tree_->Path("sub")));
  }
  static void TearDownTestSuite() {
    SetCurrentDir("C:\\");
    MapDrive('T', "");
    MapDrive('U', "");
    delete tree_;
  }
  void SetUp() override { ASSERT_TRUE(SetCurrentDir("T:\\sub")); }

  // Names a search finds, with their attributes.
  static std::map<std::string, int> Find(const std::string& pathAndMask, int attr) {
    std::map<std::string, int> found;
    for (TFolderSearch s(pathAndMask, attr); s.Found(); s.Next()) found[s.Entry().Name] = s.Entry().Attr;
    return found;
  }

  static TTempFolderTree* tree_;
};
TTempFolderTree* FileSystemTest::tree_ = nullptr;

TEST_F(FileSystemTest, ExpandsPathsAgainstTheCurrentFolders) {
  struct Case {
    const char* path;
    const char* full;
  } cases[] = {
      {"C:\\Work\\Src", "C:\\Work\\Src"}, {"c:/work//src/", "c:\\work\\src\\"},
      {"x", "T:\\sub\\x"},                {"..", "T:\\"},
      {"..\\..\\..\\y", "T:\\y"},         {"\\z", "T:\\z"},
      {"/z/./w/..", "T:\\z"},             {"T:q", "T:\\sub\\q"},
      {"u:q\\", "u:\\q\\"},               {"Q:\\a\\..\\..\\b", "Q:\\b"},
      {"1:foo", "T:\\sub\\1:foo"},        {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandFileName(c.path), c.full) << c.path;
}

TEST_F(FileSystemTest, CurrentDriveAndFolderRoundTrip) {
  EXPECT_EQ(GetCurrentDrive(), 'T');
  EXPECT_EQ(GetCurrentDir(), "T:\\sub");
  // Names are found ignoring case; the folder reads back as it is stored.
  ASSERT_TRUE(SetCurrentDir("t:\\WITH SPACE\\"));
  EXPECT_EQ(GetCurrentDir(), "T:\\with space");
  char here[4096];
  ASSERT_NE(getcwd(here, sizeof here), nullptr);
  EXPECT_EQ(std::string(here), tree_->Path("with space"));
  // Each drive keeps its folder.
  ASSERT_TRUE(SetCurrentDrive('u'));
  EXPECT_EQ(GetCurrentDir(), "U:\\");
  ASSERT_TRUE(SetCurrentDrive('T'));
  EXPECT_EQ(GetCurrentDir(), "T:\\with space");
  EXPECT_EQ(ExpandFileName("U:loop"), "U:\\loop");
  // Failures change nothing.
  EXPECT_FALSE(SetCurrentDir("T:\\missing"));
  EXPECT_FALSE(SetCurrentDrive('Q'));
  EXPECT_FALSE(SetCurrentDrive('1'));
  EXPECT_EQ(GetCurrentDir(), "T:\\with space");
  // A folder entered through a link reads back by the link's path.
  ASSERT_TRUE(SetCurrentDir("T:\\sub\\loop\\loop"));
  EXPECT_EQ(GetCurrentDir(), "T:\\sub\\loop\\loop");
  // A removed current folder cannot be read.
  tree_->Folder("brief");
  ASSERT_TRUE(SetCurrentDir("T:\\brief"));
  rmdir(tree_->Path("brief").c_str());
  EXPECT_EQ(GetCurrentDir(), "");
}

TEST_F(FileSystemTest, SearchFindsTheKindsAskedFor) {
  const int dir = faDirectory, file = faArchive, link = faSymLink;
  const std::map<std::string, int> folders = {
      {"with space", dir}, {"Zażółć", dir}, {"bad\xff", dir}, {"a", dir},
      {"A", dir},          {"locked", dir}, {"gone", dir},    {"sub", dir}};
  EXPECT_EQ(Find("T:\\*.*", faDirectory), folders);
  std::map<std::string, int> all = folders;
  all.insert({{".hidden", dir | faHidden}, {"file.txt", file}, {"dangling", file | link}, {"filelink", file | link}});
  EXPECT_EQ(Find("T:\\", faAnyFile), all);
  EXPECT_EQ(Find("T:\\*", faArchive), (std::map<std::string, int>{{"file.txt", file}, {"dangling", file | link},
                                                                   {"filelink", file | link}}));
  EXPECT_EQ(Find("T:\\*SPACE", faDirectory), (std::map<std::string, int>{{"with space", dir}}));
  EXPECT_EQ(Find("T:\\?", faDirectory), (std::map<std::string, int>{{"a", dir}, {"A", dir}}));
  // A link to its own folder is reported with its target.
  EXPECT_EQ(Find("T:\\sub\\*.*", faDirectory), (std::map<std::string, int>{{"loop", dir | link}}));
  EXPECT_EQ(std::optional(TFolderSearch("T:\\sub\\*", faDirectory).Entry().Target), FileIdOf("T:\\sub"));
  EXPECT_NE(FileIdOf("T:\\sub"), FileIdOf("T:\\a"));
}

TEST_F(FileSystemTest, NamesOpenByTheirBytesAndAsShown) {
  struct Case {
    const char* path;
    const char* child;
  } cases[] = {
      {"T:\\bad\xff\\*.*", "kid"},   {"T:\\bad" FFFD "\\*.*", "kid"}, {"T:\\a\\*.*", "lower"},
      {"T:\\A\\*.*", "upper"},       {"T:/zAŻółć/*.*", "x"},           {"..\\with space\\*.*", "child"},
      {"T:..\\with SPACE\\*.*", "child"}, {"U:\\loop\\*", "loop"},
  };
  for (const Case& c : cases) {
    TFolderSearch s(c.path, faDirectory);
    ASSERT_TRUE(s.Found()) << c.path;
    EXPECT_EQ(s.Entry().Name, c.child) << c.path;
  }
  EXPECT_EQ(ResolveNativePath("T:\\bad" FFFD "\\kid"), tree_->Path("bad\xff/kid"));
  EXPECT_EQ(ResolveNativePath("T:\\NO\\kid"), tree_->Path("NO/kid"));
}

TEST_F(FileSystemTest, UnreadableAndRemovedFoldersFindNothing) {
  const auto unreadable = [] {
    TFolderSearch s("T:\\locked\\*.*", faAnyFile);
    return !s.Found() && s.Error() == EACCES;
  };
  if (geteuid() != 0) {
    EXPECT_TRUE(unreadable());
  } else {
    // Root reads any folder: the check runs in a child that gives root up.
    const pid_t child = fork();
    if (child == 0) {
      if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
      _exit(unreadable() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot give root up";
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  // Listed, then removed before it is read.
  {
    TFolderSearch listing("T:\\*.*", faDirectory);
    ASSERT_TRUE(listing.Found());
    ASSERT_EQ(rmdir(tree_->Path("gone").c_str()), 0);
    while (listing.Next()) {
    }
  }
  TFolderSearch s("T:\\gone\\*.*", faDirectory);
  EXPECT_FALSE(s.Found());
  EXPECT_EQ(s.Error(), ENOENT);
  EXPECT_FALSE(s.Next());
  tree_->Folder("gone");
}

}  // namespace
