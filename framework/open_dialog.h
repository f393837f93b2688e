#pragma once

#include <string>

#include "framework/component.h"

namespace nitko {

// The desktop's dialog for choosing a file to open.
class TOpenDialog : public TComponent {
 public:
  explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value) { title_ = value; }
  // Pairs of a description and its patterns, all separated by "|":
  // "Text files (*.txt)|*.txt|All files|*". Patterns are separated by ";".
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& value) { filter_ = value; }
  const std::string& InitialDir() const { return initial_dir_; }
  void SetInitialDir(const std::string& value) { initial_dir_ = value; }
  // The file chosen last, or the one to start from.
  const std::string& FileName() const { return file_name_; }
  void SetFileName(const std::string& value) { file_name_ = value; }

  // Shows the dialog over the active window until the user chooses or
  // cancels; true, with FileName set, when a file was chosen.
  bool Execute();

 private:
  std::string title_;
  std::string filter_;
  std::string initial_dir_;
  std::string file_name_;
};

}  // namespace nitko
