#include "runtime/folder_search.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <vector>

#include "runtime/current_folder.h"
#include "runtime/file_name_case.h"
#include "runtime/path_resolution.h"
#include "runtime/system_path.h"
#include "runtime/utf8.h"

namespace nitko {

namespace {

std::u32string Folded(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const Utf8Char c = ReadUtf8Char(s, i);
    out += LowerCaseChar(c.code);
    i += static_cast<size_t>(c.length);
  }
  return out;
}

bool TakesEveryName(std::string_view mask) { return mask.empty() || mask == "*" || mask == "*.*"; }

// Glob with one backtracking point, the last '*' seen: linear for most masks.
bool Matches(const std::u32string& name, const std::u32string& mask) {
  size_t n = 0, m = 0, starM = std::u32string::npos, starN = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == U'?' || mask[m] == name[n])) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == U'*') {
      starM = m++;
      starN = n;
    } else if (starM != std::u32string::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == U'*') ++m;
  return m == mask.size();
}

TFileId IdOf(const struct stat& st) {
  return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
}

}  // namespace

struct TFolderSearch::State {
  DIR* dir = nullptr;
  int attr = 0;
  bool everyName = true;
  std::u32string mask;
};

TFolderSearch::TFolderSearch(std::string_view pathAndMask, int attr) : state_(std::make_unique<State>()) {
  size_t cut = pathAndMask.size();
  while (cut > 0 && !IsPathDelimiterChar(pathAndMask[cut - 1])) --cut;
  if (cut == 0 && PathDriveLetter(pathAndMask) != 0) cut = 2;
  const std::string_view mask = pathAndMask.substr(cut);
  const std::string_view folder = pathAndMask.substr(0, cut);
  state_->attr = attr;
  state_->everyName = TakesEveryName(mask);
  if (!state_->everyName) state_->mask = Folded(mask);
  const std::optional<std::string> native = ResolveNativePath(ExpandFileName(folder.empty() ? "." : folder));
  if (!native) {
    error_ = ENOENT;
    return;
  }
  state_->dir = opendir(native->c_str());
  if (state_->dir == nullptr) {
    error_ = errno;
    return;
  }
  Next();
}

TFolderSearch::~TFolderSearch() { Close(); }

void TFolderSearch::Close() {
  if (state_->dir != nullptr) closedir(state_->dir);
  state_->dir = nullptr;
  found_ = false;
}

bool TFolderSearch::Next() {
  State& s = *state_;
  found_ = false;
  if (s.dir == nullptr) return false;
  const int fd = dirfd(s.dir);
  for (;;) {
    errno = 0;
    const dirent* e = readdir(s.dir);
    if (e == nullptr) {
      if (errno != 0) error_ = errno;
      Close();
      return false;
    }
    const char* name = e->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    const bool hidden = name[0] == '.';
    if (hidden && (s.attr & faHidden) == 0) continue;
    if (!s.everyName && !Matches(Folded(name), s.mask)) continue;
    int attr = hidden ? faHidden : 0;
    TFileId target;
    unsigned char type = e->d_type;
    struct stat st;
    if (type == DT_UNKNOWN) {
      if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone meanwhile
      type = S_ISLNK(st.st_mode) ? DT_LNK : S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
    }
    if (type == DT_LNK) {
      attr |= faSymLink;
      if (fstatat(fd, name, &st, 0) == 0) {
        target = IdOf(st);
        if (S_ISDIR(st.st_mode)) type = DT_DIR;
      }
    }
    attr |= type == DT_DIR ? faDirectory : faArchive;
    if ((attr & (faDirectory | faArchive) & s.attr) == 0) continue;
    entry_.Name.assign(name);
    entry_.Attr = attr;
    entry_.Target = target;
    found_ = true;
    return true;
  }
}

bool MatchesFileMask(std::string_view name, std::string_view mask) {
  return TakesEveryName(mask) || Matches(Folded(name), Folded(mask));
}

std::optional<TFileId> FileIdOf(std::string_view path) {
  const std::optional<std::string> native = ResolveNativePath(ExpandFileName(path));
  struct stat st;
  if (!native || stat(native->c_str(), &st) != 0) return std::nullopt;
  return IdOf(st);
}

}  // namespace nitko
