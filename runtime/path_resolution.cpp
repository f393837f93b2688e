#include "runtime/path_resolution.h"

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

#include "runtime/drive_map.h"
#include "runtime/file_name_case.h"
#include "runtime/system_path.h"

namespace nitko {

namespace {

bool Exists(const std::string& native) {
  struct stat st;
  return lstat(native.c_str(), &st) == 0;
}

// The entry of a folder that a shown name stands for.
std::optional<std::string> EntryShownAs(const std::string& folder, std::string_view shown) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return std::nullopt;
  const std::string wanted = LowerCaseFileName(shown);
  std::optional<std::string> best;
  bool bestExact = false;
  while (const dirent* e = readdir(dir)) {
    const std::string_view name(e->d_name);
    const std::string display = DisplayFileName(name);
    if (LowerCaseFileName(display) != wanted) continue;
    const bool exact = display == shown;
    if (!best || (exact && !bestExact) || (exact == bestExact && name < *best)) {
      best = std::string(name);
      bestExact = exact;
    }
  }
  closedir(dir);
  return best;
}

}  // namespace

std::optional<std::string> ResolveNativePath(std::string_view fullPath) {
  std::optional<std::string> exact = NativePathOf(fullPath);
  if (!exact || Exists(*exact)) return exact;
  std::string native = DriveFolder(PathDriveLetter(fullPath));
  if (native == "/") native.clear();
  bool matching = true;
  for (std::string_view name : ResolveDotNames(SplitPathNames(fullPath.substr(3)))) {
    std::string next = native + '/';
    next.append(name);
    if (matching && !Exists(next)) {
      const std::optional<std::string> entry = EntryShownAs(native.empty() ? "/" : native, name);
      if (entry) {
        next = native + '/' + *entry;
      } else {
        matching = false;
      }
    }
    native = std::move(next);
  }
  return native.empty() ? "/" : native;
}

}  // namespace nitko
