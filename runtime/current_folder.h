#pragma once

#include <string>
#include <string_view>

namespace nitko {

// The process's current drive and folder in the system's form. Each drive
// keeps its own current folder, as the system does: leaving a drive remembers
// where the process was on it, and coming back returns there.
//
// The folder is kept as it was entered, like a shell's PWD: a folder reached
// through a symbolic link, or a drive whose folder is one, reads back by the
// path that was used, as long as the process is still in that folder.

// 'A'..'Z'. At first the drive whose folder holds the process's folder.
char GetCurrentDrive();

// Makes a drive current and goes to the folder last current on it (its root
// at first, or when that folder went). False, and nothing changes, for a
// drive that is not mapped or whose folder cannot be entered.
bool SetCurrentDrive(char drive);

// The current folder as a full system path ("C:\Work\Src"; a root is
// "C:\"); empty when it cannot be read (it was removed) or no drive holds it.
std::string GetCurrentDir();

// Goes to a folder, given in any form ExpandFileName takes; the current drive
// becomes its drive. False, and nothing changes, when it cannot be entered.
bool SetCurrentDir(std::string_view path);

// The current folder of a drive: for the current drive the process's own
// (the one last entered while it cannot be read), for another the one last
// current on it, else its root.
std::string DriveCurrentDir(char drive);

// The full path of a path: "C:\a\b" as it is, "\a" on the current drive,
// "D:a" against D:'s current folder, "a" against the current folder; "." and
// ".." resolved, either slash read as a delimiter, a delimiter at the end
// kept. Text only: nothing needs to exist. An empty path stays empty.
std::string ExpandFileName(std::string_view path);

}  // namespace nitko
