#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nitko {

// Drives A..Z stand for native folders. On first use C: is "/" and then the
// user's setting in this variable is applied, e.g. "D=/media/data;E=/mnt/usb"
// (it may map C: elsewhere too).
inline constexpr const char* kDriveSettingVariable = "NITKOGRAF_DRIVES";

struct TDriveMapping {
  char drive;  // 'A'..'Z'
  std::string folder;
};

// Entries are split at ';'. Each is a letter (either case, optionally
// followed by ':'), '=' and an absolute folder; spaces around the entry and
// around '=' are dropped. Any other entry is skipped, so one typing error
// costs that drive alone. A later entry for a letter wins.
std::vector<TDriveMapping> ParseDriveSetting(std::string_view setting);

// Maps a drive (either case) to an absolute native folder; an empty folder
// unmaps it. False, and nothing changes, for a letter outside A..Z or a
// relative folder. Folders are kept without "//", "." or a trailing '/'.
bool MapDrive(char drive, std::string_view folder);

// The folder a drive stands for; empty when it stands for none.
std::string DriveFolder(char drive);

// The native path of a full system path ("C:\a\b" -> "/a/b"), its names as
// written and its dots resolved. None when it has no drive or an unmapped one.
std::optional<std::string> NativePathOf(std::string_view fullPath);

// The full system path of an absolute native path: on preferredDrive when its
// folder holds the path, else on the drive with the longest folder that does;
// empty when no drive holds it.
std::string SystemPathOf(std::string_view nativePath, char preferredDrive = 0);

}  // namespace nitko
