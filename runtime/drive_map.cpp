#include "runtime/drive_map.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <mutex>

#include "runtime/system_path.h"

namespace nitko {

namespace {

std::mutex gMutex;
bool gLoaded = false;
std::array<std::string, 26> gFolders;

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// Native names split at '/' alone: a backslash is an ordinary character there.
std::vector<std::string_view> NativeNames(std::string_view path) {
  std::vector<std::string_view> names;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/') continue;
    if (i > start) names.push_back(path.substr(start, i - start));
    start = i + 1;
  }
  return ResolveDotNames(names);
}

std::string NativeJoin(const std::vector<std::string_view>& names) {
  std::string out;
  for (std::string_view n : names) {
    out += '/';
    out.append(n);
  }
  return out.empty() ? "/" : out;
}

void LoadLocked() {
  if (gLoaded) return;
  gLoaded = true;
  gFolders['C' - 'A'].assign(1, '/');
  if (const char* setting = std::getenv(kDriveSettingVariable))
    for (const TDriveMapping& m : ParseDriveSetting(setting)) gFolders[m.drive - 'A'] = m.folder;
}

int DriveSlot(char drive) {
  const char d = DriveLetter(drive);
  return d == 0 ? -1 : d - 'A';
}

}  // namespace

std::vector<TDriveMapping> ParseDriveSetting(std::string_view setting) {
  std::vector<TDriveMapping> out;
  while (!setting.empty()) {
    const size_t end = setting.find(';');
    std::string_view entry = Trim(setting.substr(0, end));
    setting = end == std::string_view::npos ? std::string_view{} : setting.substr(end + 1);
    const int slot = entry.empty() ? -1 : DriveSlot(entry[0]);
    if (slot < 0) continue;
    entry.remove_prefix(1);
    if (!entry.empty() && entry.front() == ':') entry.remove_prefix(1);
    entry = Trim(entry);
    if (entry.empty() || entry.front() != '=') continue;
    const std::string_view folder = Trim(entry.substr(1));
    if (folder.empty() || folder.front() != '/') continue;
    out.push_back({static_cast<char>('A' + slot), NativeJoin(NativeNames(folder))});
  }
  return out;
}

bool MapDrive(char drive, std::string_view folder) {
  const int slot = DriveSlot(drive);
  if (slot < 0 || (!folder.empty() && folder.front() != '/')) return false;
  std::lock_guard<std::mutex> lock(gMutex);
  LoadLocked();
  gFolders[slot] = folder.empty() ? std::string() : NativeJoin(NativeNames(folder));
  return true;
}

std::string DriveFolder(char drive) {
  const int slot = DriveSlot(drive);
  if (slot < 0) return {};
  std::lock_guard<std::mutex> lock(gMutex);
  LoadLocked();
  return gFolders[slot];
}

std::optional<std::string> NativePathOf(std::string_view fullPath) {
  const char drive = PathDriveLetter(fullPath);
  if (drive == 0 || !IsPathDelimiter(fullPath, 2)) return std::nullopt;
  const std::string folder = DriveFolder(drive);
  if (folder.empty()) return std::nullopt;
  std::vector<std::string_view> names = NativeNames(folder);
  for (std::string_view n : ResolveDotNames(SplitPathNames(fullPath.substr(3)))) names.push_back(n);
  return NativeJoin(names);
}

std::string SystemPathOf(std::string_view nativePath, char preferredDrive) {
  if (nativePath.empty() || nativePath.front() != '/') return {};
  const std::vector<std::string_view> names = NativeNames(nativePath);
  std::array<std::string, 26> folders;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    LoadLocked();
    folders = gFolders;
  }
  const int preferred = DriveSlot(preferredDrive);
  int best = -1;
  size_t bestDepth = 0;
  for (int slot = 0; slot < 26; ++slot) {
    if (folders[slot].empty()) continue;
    const std::vector<std::string_view> f = NativeNames(folders[slot]);
    if (f.size() > names.size() || !std::equal(f.begin(), f.end(), names.begin())) continue;
    if (slot == preferred) {
      best = slot;
      bestDepth = f.size();
      break;
    }
    if (best < 0 || f.size() > bestDepth) {
      best = slot;
      bestDepth = f.size();
    }
  }
  if (best < 0) return {};
  const std::vector<std::string_view> rest(names.begin() + static_cast<long>(bestDepth), names.end());
  return JoinSystemPath(static_cast<char>('A' + best), rest, false);
}

}  // namespace nitko
