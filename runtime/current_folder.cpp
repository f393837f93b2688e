#include "runtime/current_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <mutex>
#include <optional>

#include "runtime/drive_map.h"
#include "runtime/path_resolution.h"
#include "runtime/system_path.h"

namespace nitko {

namespace {

std::mutex gMutex;
char gDrive = 0;
// Where each drive's current folder was last seen, as full system paths.
std::array<std::string, 26> gRemembered;
// The native path the process last entered, while it still names the
// process's folder.
std::string gEntered;

std::string Root(char drive) { return std::string{drive, ':', '\\'}; }

bool SameFile(const char* a, const char* b) {
  struct stat sa, sb;
  return stat(a, &sa) == 0 && stat(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::string NativeCurrent() {
  if (!gEntered.empty() && SameFile(gEntered.c_str(), ".")) return gEntered;
  gEntered.clear();
  char* cwd = getcwd(nullptr, 0);
  if (cwd == nullptr) return {};
  std::string s(cwd);
  std::free(cwd);
  return s;
}

// The current folder; the current drive follows wherever the process is.
std::string CurrentLocked() {
  const std::string native = NativeCurrent();
  const std::string path = native.empty() ? std::string() : SystemPathOf(native, gDrive);
  if (!path.empty()) gDrive = path[0];
  if (gDrive == 0) gDrive = 'C';
  return path;
}

bool EnterLocked(const std::string& fullPath) {
  const std::optional<std::string> native = ResolveNativePath(fullPath);
  if (!native || chdir(native->c_str()) != 0) return false;
  gEntered = *native;
  const char drive = PathDriveLetter(fullPath);
  const std::string path = SystemPathOf(*native, drive);
  gDrive = drive;
  gRemembered[drive - 'A'] = path.empty() ? fullPath : path;
  return true;
}

void RememberLeavingLocked() {
  const std::string here = CurrentLocked();
  if (!here.empty()) gRemembered[here[0] - 'A'] = here;
}

}  // namespace

char GetCurrentDrive() {
  std::lock_guard<std::mutex> lock(gMutex);
  CurrentLocked();
  return gDrive;
}

std::string GetCurrentDir() {
  std::lock_guard<std::mutex> lock(gMutex);
  return CurrentLocked();
}

bool SetCurrentDrive(char drive) {
  const char d = DriveLetter(drive);
  if (d == 0 || DriveFolder(d).empty()) return false;
  std::lock_guard<std::mutex> lock(gMutex);
  RememberLeavingLocked();
  const std::string last = gRemembered[d - 'A'];
  return (!last.empty() && EnterLocked(last)) || EnterLocked(Root(d));
}

bool SetCurrentDir(std::string_view path) {
  const std::string full = ExpandFileName(path);
  if (full.empty()) return false;
  std::lock_guard<std::mutex> lock(gMutex);
  RememberLeavingLocked();
  return EnterLocked(full);
}

std::string DriveCurrentDir(char drive) {
  const char d = DriveLetter(drive);
  if (d == 0) return {};
  std::lock_guard<std::mutex> lock(gMutex);
  const std::string here = CurrentLocked();
  if (d == gDrive && !here.empty()) return here;
  const std::string& last = gRemembered[d - 'A'];
  return last.empty() ? Root(d) : last;
}

std::string ExpandFileName(std::string_view path) {
  if (path.empty()) return {};
  const char drive = PathDriveLetter(path);
  std::string_view rest = drive != 0 ? path.substr(2) : path;
  const char letter = drive != 0 ? path[0] : GetCurrentDrive();
  std::vector<std::string_view> names;
  std::string base;
  if (!IsPathDelimiter(rest, 0)) {
    base = DriveCurrentDir(letter);
    names = SplitPathNames(std::string_view(base).substr(3));
  }
  for (std::string_view n : SplitPathNames(rest)) names.push_back(n);
  return JoinSystemPath(letter, names, !rest.empty() && IsPathDelimiterChar(rest.back()));
}

}  // namespace nitko
