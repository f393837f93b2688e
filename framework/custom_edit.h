#pragma once

#include <string>

#include "framework/control.h"

class QLineEdit;

namespace nitko {

// A single-line edit on a real line-edit widget.
class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* owner);

  std::string GetText() const override;
  void SetText(const std::string& value) override;
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool value);
  bool AutoSelect() const { return auto_select_; }
  void SetAutoSelect(bool value) { auto_select_ = value; }
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int value);
  void SelectAll();
  int SelStart() const;
  int SelLength() const;
  std::string SelText() const;
  void SetSelection(int start, int length);
  // The part of the client area text is laid out in; the rest stays free
  // (a spin edit keeps its buttons there).
  void SetFormattingRect(const TRect& rect);
  TRect FormattingRect() const { return formatting_rect_; }

  // Fires on every change of the text, by the user or by SetText.
  TNotifyEvent OnChange;

 protected:
  virtual void Change();
  // Cut and paste by keyboard come here; a subclass may refuse them.
  virtual void CutToClipboard();
  virtual void PasteFromClipboard();
  // The middle button pastes the window system's selection; it comes here
  // instead of reaching the line edit, so the same refusals apply.
  virtual void PasteSelection();
  bool OwnsMouseButton(TMouseButton button) const override {
    return button == TMouseButton::mbMiddle;
  }
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void DoEnter() override;
  QLineEdit* LineEdit() const;

 private:
  bool read_only_ = false;
  bool auto_select_ = true;
  int max_length_ = 0;
  TRect formatting_rect_{};
};

// The form's edit fields carry no edit mask: a plain edit with the name.
class TMaskEdit : public TCustomEdit {
 public:
  explicit TMaskEdit(TComponent* owner) : TCustomEdit(owner) {}
  const std::string& EditMask() const { return edit_mask_; }
  void SetEditMask(const std::string& value) { edit_mask_ = value; }

 private:
  std::string edit_mask_;
};

}  // namespace nitko
