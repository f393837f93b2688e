#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "framework/file_stream.h"
#include "framework/memory_stream.h"
#include "framework/strings.h"
#include "tests/temp_folder_tree.h"

using namespace nitko;

namespace {

TEST(MemoryStream, ReadsWritesAndSeeksPastTheEnd) {
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  EXPECT_EQ(m.Seek(2, TSeekOrigin::soEnd), 7);
  m.WriteBuffer("!", 1);  // the gap reads as zeros
  EXPECT_EQ(std::string(m.Memory(), 8), std::string("hello\0\0!", 8));
  m.SetPosition(3);
  char got[8] = {};
  EXPECT_EQ(m.Read(got, 8), 5);
  EXPECT_EQ(m.Read(got, 8), 0);
  m.SetPosition(6);
  try {
    m.ReadBuffer(got, 3);
    FAIL() << "no exception";
  } catch (const EStreamError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
  EXPECT_THROW(m.Seek(-9, TSeekOrigin::soCurrent), EStreamError);
  m.SetSize(4);
  EXPECT_EQ(m.Position(), 4);
  TMemoryStream copy;
  EXPECT_EQ(copy.CopyFrom(m, 0), 4);
  EXPECT_EQ(std::string(copy.Memory(), 4), "hell");
}

TEST(FileStream, FailuresNameTheFileAndTheReason) {
  TTempFolderTree tree;
  tree.Folder("folder");
  struct Case {
    std::string name;
    unsigned mode;
    std::function<void(TFileStream&)> use;
    std::string message;
  } cases[] = {
      {tree.Path("missing"), fmOpenRead, nullptr,
       "Cannot open file \"" + tree.Path("missing") + "\". No such file or directory"},
      {tree.Path("no/such"), fmCreate, nullptr,
       "Cannot create file \"" + tree.Path("no/such") + "\". No such file or directory"},
      {tree.Path("folder"), fmOpenRead, nullptr, "Cannot open file \"" + tree.Path("folder") + "\". Is a directory"},
      {tree.Path("bad\xff"), fmOpenReadWrite, nullptr,
       "Cannot open file \"" + tree.Path("bad\xEF\xBF\xBD") + "\". No such file or directory"},
      {"/dev/full", fmOpenWrite, [](TFileStream& f) { f.WriteBuffer("x", 1); },
       "Cannot write file \"/dev/full\". No space left on device"},
  };
  for (const Case& c : cases) {
    try {
      TFileStream f(c.name, c.mode);
      if (c.use) c.use(f);
      ADD_FAILURE() << "no exception for " << c.name;
    } catch (const EStreamError& e) {
      EXPECT_EQ(e.Message(), c.message);
      EXPECT_EQ(dynamic_cast<const EFOpenError*>(&e) != nullptr, c.message.rfind("Cannot open", 0) == 0);
      EXPECT_EQ(dynamic_cast<const EFCreateError*>(&e) != nullptr, c.message.rfind("Cannot create", 0) == 0);
    }
  }
}

TEST(StringsStreams, LongLinesRoundTripWholeThroughFilesAndStreams) {
  TTempFolderTree tree;
  const std::string longLine(10000, 'w');
  TStringList lines;
  lines.Assign({"first", longLine, "", "\tżółw", "last"});
  const std::string file = tree.Path("lines.txt");
  lines.SaveToFile(file);
  std::stringstream bytes;
  bytes << std::ifstream(file).rdbuf();
  EXPECT_EQ(bytes.str(), "first\r\n" + longLine + "\r\n\r\n\tżółw\r\nlast\r\n");
  TStringList back;
  back.LoadFromFile(file);
  EXPECT_EQ(back.ToVector(), lines.ToVector());
  // At a stream's position: after what is there, and from where it is.
  TMemoryStream m;
  m.WriteBuffer("head", 4);
  lines.SaveToStream(m);
  m.SetPosition(4);
  back.LoadFromStream(m);
  EXPECT_EQ(back.ToVector(), lines.ToVector());
  // Rewriting a longer file leaves nothing of it behind.
  back.Assign({"x"});
  back.SaveToFile(file);
  lines.LoadFromFile(file);
  EXPECT_EQ(lines.ToVector(), std::vector<std::string>{"x"});
}

}  // namespace
