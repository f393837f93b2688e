#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace nitko {

// Entry attributes, and the kinds of entry a search asks for.
inline constexpr int faHidden = 0x02;     // the name begins with '.'
inline constexpr int faDirectory = 0x10;  // a folder, or a link to one
inline constexpr int faArchive = 0x20;    // any other entry: a file
inline constexpr int faSymLink = 0x400;   // reported on links, never asked for
inline constexpr int faAnyFile = faHidden | faDirectory | faArchive;

// What a file or folder is, apart from the path that reached it.
struct TFileId {
  unsigned long long device = 0;
  unsigned long long inode = 0;
  bool operator==(const TFileId&) const = default;
};

struct TSearchRec {
  // The entry's bytes as the folder stores them: what opens it, even when
  // they are not UTF-8 (DisplayFileName gives what to show).
  std::string Name;
  int Attr = 0;
  // For a link, what it points to (zero when it points nowhere), so a caller
  // can refuse to follow a link into a folder it is already inside.
  TFileId Target;

  bool IsDirectory() const { return (Attr & faDirectory) != 0; }
  bool IsLink() const { return (Attr & faSymLink) != 0; }
};

// The entries of one folder, found one at a time (first, next, close).
// Entry kinds come from the folder listing itself; only links and entries of
// a kind the file system does not report cost a stat.
class TFolderSearch {
 public:
  // pathAndMask is a folder, in any form ExpandFileName takes, followed by a
  // mask of '*' and '?' compared ignoring case ("C:\Work\*.*"; "*.*" and a
  // missing mask take every name). A folder is found when attr has
  // faDirectory, any other entry when it has faArchive, and a name beginning
  // with '.' only when it also has faHidden; "." and ".." never are. A folder
  // that cannot be read finds nothing and keeps the reason in Error().
  TFolderSearch(std::string_view pathAndMask, int attr);
  ~TFolderSearch();
  TFolderSearch(const TFolderSearch&) = delete;
  TFolderSearch& operator=(const TFolderSearch&) = delete;

  bool Found() const { return found_; }
  // The current entry; valid while Found().
  const TSearchRec& Entry() const { return entry_; }
  // Moves to the next entry; false, and Found() false, at the end.
  bool Next();
  // Ends the search early (the destructor does it too).
  void Close();
  // 0, or the errno that kept the folder from being read.
  int Error() const { return error_; }

 private:
  struct State;
  std::unique_ptr<State> state_;
  TSearchRec entry_;
  bool found_ = false;
  int error_ = 0;
};

// The name fits a mask of '*' (any run) and '?' (one character), compared
// ignoring case; "*.*" fits every name.
bool MatchesFileMask(std::string_view name, std::string_view mask);

// What a path (any form ExpandFileName takes; links followed) names; none
// when it cannot be reached.
std::optional<TFileId> FileIdOf(std::string_view path);

}  // namespace nitko
