#pragma once

#include "framework/control.h"

namespace nitko {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// Static text; "&" marks a mnemonic unless ShowAccelChar is off.
class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* owner);

  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool ShowAccelChar() const { return show_accel_char_; }
  void SetShowAccelChar(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

 protected:
  void TextChanged() override;
  bool FillsBackground() const override { return !transparent_; }

 private:
  void ApplyText();
  bool word_wrap_ = false;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool show_accel_char_ = true;
  bool transparent_ = false;
};

}  // namespace nitko
