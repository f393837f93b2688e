#pragma once

// A real folder tree under /tmp for the file-system and directory-outline
// tests, removed with everything in it when the object goes.

#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <string>

class TTempFolderTree {
 public:
  TTempFolderTree() {
    char pattern[] = "/tmp/nitko-fs-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    chmod(root_.c_str(), 0755);  // so that a check run as nobody can pass
  }
  ~TTempFolderTree() {
    Chmod("locked", 0755);
    nftw(root_.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
         FTW_DEPTH | FTW_PHYS);
  }
  TTempFolderTree(const TTempFolderTree&) = delete;
  TTempFolderTree& operator=(const TTempFolderTree&) = delete;

  const std::string& Root() const { return root_; }
  std::string Path(const std::string& rel) const { return root_ + "/" + rel; }
  void Folder(const std::string& rel) const { mkdir(Path(rel).c_str(), 0755); }
  void File(const std::string& rel) const { std::ofstream(Path(rel)) << "x"; }
  void Link(const std::string& rel, const std::string& target) const {
    if (symlink(target.c_str(), Path(rel).c_str()) != 0) throw std::runtime_error("symlink failed");
  }
  void Chmod(const std::string& rel, mode_t mode) const { chmod(Path(rel).c_str(), mode); }

  // Folders with spaces, non-ASCII and invalid UTF-8 names, case twins with a
  // child each, a dot-folder, a file, an unreadable folder, one to remove, and
  // a link in "sub" that points to "sub" itself; links to nowhere and to a file.
  void MakeSample() const {
    for (const char* f : {"with space", "with space/child", "Zażółć", "Zażółć/x", "bad\xff", "bad\xff/kid",
                          "a", "a/lower", "A", "A/upper", ".hidden", ".hidden/h", "locked", "locked/inner",
                          "gone", "sub"})
      Folder(f);
    File("file.txt");
    Link("sub/loop", Path("sub"));
    Link("dangling", Path("nowhere"));
    Link("filelink", "file.txt");
    Chmod("locked", 0);
  }

 private:
  std::string root_;
};
