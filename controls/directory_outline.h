#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "controls/outline.h"
#include "framework/events.h"
#include "runtime/folder_search.h"

namespace nitko {

enum class TTextCase : uint8_t { tcLowerCase, tcUpperCase, tcAsIs };

// The folder tree of one drive: item 1 is the drive ("c:"), each item's
// children are its folder's sub-folders, read on the first expansion and
// kept in case-insensitive order. Follows the clicked folder and moves the
// process's current drive and folder with it.
//
// Each item keeps the folder's name as stored beside the text it shows, so
// paths built from items open the exact entry even where two names show
// alike (case twins, undecodable bytes).
class TCDirectoryOutline : public TCustomOutline {
 public:
  explicit TCDirectoryOutline(TComponent* owner);
  ~TCDirectoryOutline() override;

  // Data of an item whose sub-folders have been read.
  static void* const APointer;

  char Drive() const { return drive_; }
  // Full path without a trailing delimiter (a root keeps its own).
  const std::string& Directory() const { return directory_; }
  TTextCase TextCase() const { return text_case_; }

  void SetDirectory(const std::string& newDir);
  void SetDrive(char c);
  void SetTextCase(TTextCase value);
  std::string ForceCase(const std::string& s) const;
  static int DriveToInt(char c);
  // Expands the parent and returns the first child of that name (the stored
  // name exactly, else the shown text ignoring case); -1 when none.
  long GetChildNamed(const std::string& name, long parentIndex);
  // Expands the tree along the path and selects its last folder.
  void WalkTree(const std::string& path);
  void AssignCaseProc();
  static std::string CurDir();

  // The path that opens the item's folder, built from the stored names.
  std::string FolderPathOf(int index);

  virtual void BuildOneLevel(long index);
  virtual void BuildTree();
  // Reads the whole subtree; a link into a folder already on the path is
  // listed but not entered, so the walk ends.
  virtual void BuildSubTree(long index);

  void Click() override;
  void SetParent(TWinControl* parent) override;

  TNotifyEvent OnChange;

 protected:
  virtual void Change();
  void Expand(int index) override;
  // The control gets its window: drive and folder come from the process.
  virtual void CreateWnd();
  void Loaded() override;

 private:
  struct Entry {
    std::string text;  // the text the item was given
    std::string raw;   // the name as the folder stores it
    bool link = false;
    TFileId target;
  };
  const Entry* EntryOf(const TOutlineNode* node) const;
  std::string FolderPathOf(const TOutlineNode* node) const;
  void BuildSubTreeOnPath(TOutlineNode* node, std::vector<TFileId>& onPath);

  char drive_ = 0;
  std::string directory_;
  // The directory as given, before its case was forced: what the walk and
  // the process's folder use.
  std::string exact_directory_;
  TTextCase text_case_ = TTextCase::tcLowerCase;
  std::string (*case_function_)(std::string_view) = nullptr;
  std::unordered_map<const TOutlineNode*, Entry> entries_;
};

}  // namespace nitko
