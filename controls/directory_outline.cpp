#include "controls/directory_outline.h"

#include <algorithm>
#include <optional>

#include "runtime/current_folder.h"
#include "runtime/file_name_case.h"
#include "runtime/file_name_order.h"
#include "runtime/system_path.h"

namespace nitko {

namespace {

char kReadMarker;

// Nested updates show their changes once, at the outermost end.
class UpdateBlock {
 public:
  explicit UpdateBlock(TCustomOutline& o) : o_(o) { o_.BeginUpdate(); }
  ~UpdateBlock() { o_.EndUpdate(); }
  UpdateBlock(const UpdateBlock&) = delete;
  UpdateBlock& operator=(const UpdateBlock&) = delete;

 private:
  TCustomOutline& o_;
};

}  // namespace

void* const TCDirectoryOutline::APointer = &kReadMarker;

TCDirectoryOutline::TCDirectoryOutline(TComponent* owner) : TCustomOutline(owner) {
  SetLook(TOutlineLook::lkTreePictureText);
  SetOptions(TOutlineOption::ooDrawFocusRect | TOutlineOption::ooStretchBitmaps);
  // Folders without sub-folders show closed.
  SetPicture(kPictureLeaf, &Picture(kPictureClosed));
  AssignCaseProc();
}

TCDirectoryOutline::~TCDirectoryOutline() = default;

std::string TCDirectoryOutline::ForceCase(const std::string& s) const {
  return case_function_ != nullptr ? case_function_(s) : s;
}

void TCDirectoryOutline::AssignCaseProc() {
  switch (text_case_) {
    case TTextCase::tcLowerCase: case_function_ = &LowerCaseFileName; break;
    case TTextCase::tcUpperCase: case_function_ = &UpperCaseFileName; break;
    case TTextCase::tcAsIs: case_function_ = nullptr; break;
  }
}

std::string TCDirectoryOutline::CurDir() { return GetCurrentDir(); }

int TCDirectoryOutline::DriveToInt(char c) {
  const char u = (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
  return u - 'A';
}

const TCDirectoryOutline::Entry* TCDirectoryOutline::EntryOf(const TOutlineNode* node) const {
  const auto it = entries_.find(node);
  // An item whose text was changed, or a node that took a removed one's
  // place, no longer stands for the entry.
  if (it == entries_.end() || it->second.text != node->Text()) return nullptr;
  return &it->second;
}

std::string TCDirectoryOutline::FolderPathOf(const TOutlineNode* node) const {
  std::vector<const TOutlineNode*> chain;
  for (const TOutlineNode* n = node; n != nullptr && n->Level() > 1; n = n->Parent()) chain.push_back(n);
  std::string path = drive_ != 0 ? std::string(1, drive_) + ":" : std::string();
  if (drive_ == 0) {
    const TOutlineNode* top = node;
    while (top->Level() > 1) top = top->Parent();
    path = top->Text();
  }
  path += '\\';
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    const Entry* e = EntryOf(*it);
    path += e != nullptr ? e->raw : (*it)->Text();
    if (it + 1 != chain.rend()) path += '\\';
  }
  return path;
}

std::string TCDirectoryOutline::FolderPathOf(int index) { return FolderPathOf(ItemAt(index)); }

void TCDirectoryOutline::BuildOneLevel(long index) {
  TOutlineNode* node = ItemAt(static_cast<int>(index));
  if (node->Data() == APointer) return;  // one read per folder
  std::string path = FolderPathOf(node);
  if (!IsPathDelimiter(path, path.size() - 1)) path += '\\';
  path += "*.*";
  std::vector<Entry> found;
  for (TFolderSearch s(path, faDirectory); s.Found(); s.Next()) {
    const TSearchRec& e = s.Entry();
    if (!e.IsDirectory() || e.Name.empty() || e.Name[0] == '.') continue;
    found.push_back({ForceCase(DisplayFileName(e.Name)), e.Name, e.IsLink(), e.Target});
  }
  node->SetData(APointer);
  if (found.empty()) return;

  const UpdateBlock update(*this);
  const auto add = [&](Entry& f, int before) {
    const int n = before > 0 ? InsertBefore(before, f.text) : AppendChild(static_cast<int>(index), f.text);
    if (n == 0) return;
    const TOutlineNode* child = before > 0 ? ItemAt(n) : node->Child(node->ChildCount() - 1);
    entries_[child] = std::move(f);
  };
  if (node->HasChildren()) {
    // Among children given by other means: each before the first not less.
    for (Entry& f : found) {
      int before = 0;
      for (int i = 0; i < node->ChildCount() && before == 0; ++i)
        if (CompareFileNames(node->Child(i)->Text(), f.text) >= 0) before = node->Child(i)->Index();
      add(f, before);
    }
    return;
  }
  std::vector<std::string> texts;
  texts.reserve(found.size());
  for (const Entry& f : found) texts.push_back(f.text);
  std::vector<size_t> order = FileNameInsertionOrder(texts);
  // Names shown alike (case twins shown in one case) would follow the
  // folder's listing order, which differs between file systems: order them
  // by their stored bytes instead.
  for (size_t i = 0; i < order.size();) {
    size_t j = i + 1;
    while (j < order.size() && texts[order[j]] == texts[order[i]]) ++j;
    if (j - i > 1)
      std::sort(order.begin() + static_cast<long>(i), order.begin() + static_cast<long>(j),
                [&](size_t a, size_t b) { return found[a].raw < found[b].raw; });
    i = j;
  }
  entries_.reserve(entries_.size() + found.size());
  for (size_t k : order) add(found[k], 0);
}

void TCDirectoryOutline::Expand(int index) {
  if (ItemAt(index)->Data() == nullptr) BuildOneLevel(index);
  TCustomOutline::Expand(index);
}

void TCDirectoryOutline::BuildSubTree(long index) {
  TOutlineNode* node = ItemAt(static_cast<int>(index));
  std::vector<TFileId> onPath;
  for (const TOutlineNode* n = node; n != nullptr && n->Level() >= 1; n = n->Parent())
    if (const auto id = FileIdOf(FolderPathOf(n))) onPath.push_back(*id);
  BuildSubTreeOnPath(node, onPath);
}

void TCDirectoryOutline::BuildSubTreeOnPath(TOutlineNode* node, std::vector<TFileId>& onPath) {
  BuildOneLevel(node->Index());
  for (int i = 0; i < node->ChildCount(); ++i) {
    TOutlineNode* child = node->Child(i);
    const Entry* e = EntryOf(child);
    std::optional<TFileId> id;
    if (e != nullptr && e->link) {
      if (e->target != TFileId{}) id = e->target;
    } else {
      id = FileIdOf(FolderPathOf(child));
    }
    // Gone, or a folder the walk is already inside: entering it would not end.
    if (!id || std::find(onPath.begin(), onPath.end(), *id) != onPath.end()) continue;
    onPath.push_back(*id);
    BuildSubTreeOnPath(child, onPath);
    onPath.pop_back();
  }
}

void TCDirectoryOutline::BuildTree() {
  Clear();
  entries_.clear();
  if (drive_ == 0) CreateWnd();
  if (drive_ != 0) {
    AppendChild(0, ForceCase(std::string(1, drive_) + ":"));
    WalkTree(exact_directory_);
  }
  Change();
}

void TCDirectoryOutline::WalkTree(const std::string& path) {
  // The path as given, not case-forced: its names are matched against the
  // stored ones first, so a case twin reaches its own item.
  std::string_view s = path;
  const size_t colon = s.find(':');
  if (colon != std::string_view::npos) {
    s.remove_prefix(colon + 1);
    if (!s.empty() && IsPathDelimiterChar(s.front())) s.remove_prefix(1);
  }
  long current = 1;
  for (std::string_view name : SplitPathNames(s)) current = GetChildNamed(std::string(name), current);
  SetSelectedIndex(static_cast<int>(current));
}

long TCDirectoryOutline::GetChildNamed(const std::string& name, long parentIndex) {
  if (parentIndex < 0) throw EOutlineError(SOutlineIndexError);
  TOutlineNode* parent = ItemAt(static_cast<int>(parentIndex));
  if (parent->Data() == nullptr) BuildOneLevel(parentIndex);
  parent->Expand();
  const std::string wanted = UpperCaseFileName(DisplayFileName(name));
  TOutlineNode* byText = nullptr;
  for (int i = 0; i < parent->ChildCount(); ++i) {
    TOutlineNode* c = parent->Child(i);
    const Entry* e = EntryOf(c);
    if (e != nullptr && e->raw == name) return c->Index();
    if (byText == nullptr && UpperCaseFileName(c->Text()) == wanted) byText = c;
  }
  return byText != nullptr ? byText->Index() : -1;
}

void TCDirectoryOutline::SetDirectory(const std::string& newDir) {
  if (newDir.empty()) return;
  std::string exact = ExpandFileName(newDir);
  if (exact.size() > 3 && IsPathDelimiter(exact, exact.size() - 1)) exact.pop_back();
  const std::string path = ForceCase(exact);
  // Case twins force to the same text: the stored names tell them apart.
  if (path == directory_ && exact == exact_directory_) return;
  directory_ = path;
  exact_directory_ = exact;
  SetCurrentDir(exact);  // a folder that cannot be entered is still shown
  if (drive_ != 0 && DriveLetter(path[0]) == drive_) {
    if (ItemCount() == 0) {  // the drive came from the process, no tree yet
      BuildTree();
      return;
    }
    WalkTree(exact);
    Change();
  } else {
    SetDrive(path[0]);
  }
}

void TCDirectoryOutline::SetDrive(char c) {
  const char d = DriveLetter(c);
  if (d == 0 || d == drive_) return;
  if (!SetCurrentDrive(d)) return;  // an unmapped drive has no folders to show
  drive_ = d;
  exact_directory_ = CurDir();
  directory_ = ForceCase(exact_directory_);
  if (!IsLoading()) BuildTree();
}

void TCDirectoryOutline::SetTextCase(TTextCase value) {
  if (value == text_case_) return;
  text_case_ = value;
  AssignCaseProc();
  if (value == TTextCase::tcAsIs) {
    const std::string p = CurDir();
    exact_directory_ = p;
    if (!p.empty()) drive_ = DriveLetter(p[0]);
  }
  directory_ = ForceCase(exact_directory_);
  if (!IsLoading()) BuildTree();
}

void TCDirectoryOutline::Click() {
  TCustomOutline::Click();
  const int i = SelectedIndex();
  if (i > 0) SetDirectory(FolderPathOf(i));
}

void TCDirectoryOutline::SetParent(TWinControl* parent) {
  TCustomOutline::SetParent(parent);
  if (parent != nullptr) CreateWnd();
}

void TCDirectoryOutline::CreateWnd() {
  if (drive_ != 0) return;
  const std::string p = CurDir();
  if (p.empty()) return;
  drive_ = DriveLetter(p[0]);
  exact_directory_ = p;
  directory_ = ForceCase(p);
}

void TCDirectoryOutline::Loaded() {
  TCustomOutline::Loaded();
  AssignCaseProc();
  BuildTree();
}

void TCDirectoryOutline::Change() {
  if (OnChange) OnChange(this);
}

}  // namespace nitko
