#pragma once

#include <memory>

#include "framework/control.h"
#include "framework/scroll_style.h"
#include "framework/strings.h"

class QPlainTextEdit;

namespace nitko {

// A multi-line edit. Appending a line keeps the last line in view.
class TMemo : public TWinControl {
 public:
  explicit TMemo(TComponent* owner);
  ~TMemo() override;

  TStrings& Lines();
  const TStrings& Lines() const;
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle value);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool value);
  // Whether the last line is in the visible part of the memo.
  bool LastLineVisible() const;
  bool WantsReturns() const override { return true; }

  TNotifyEvent OnChange;

  QPlainTextEdit* Editor() const;

 private:
  class MemoLines;
  std::unique_ptr<MemoLines> lines_;
  TScrollStyle scroll_bars_ = TScrollStyle::ssNone;
  bool read_only_ = false;
};

}  // namespace nitko
