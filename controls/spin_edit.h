#pragma once

#include <cstdint>

#include "framework/custom_edit.h"

namespace nitko {

class TCSpinButton;

// An edit for a whole number with a spin button at its right edge. The value
// lives in the text; MinValue and MaxValue limit it unless they are equal.
class TCSpinEdit : public TCustomEdit {
 public:
  explicit TCSpinEdit(TComponent* owner);
  ~TCSpinEdit() override;

  int32_t MinValue() const { return min_value_; }
  void SetMinValue(int32_t value) { min_value_ = value; }
  int32_t MaxValue() const { return max_value_; }
  void SetMaxValue(int32_t value) { max_value_ = value; }
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t value) { increment_ = value; }
  bool EditorEnabled() const { return editor_enabled_; }
  void SetEditorEnabled(bool value) { editor_enabled_ = value; }
  TCSpinButton* SpinButton() const { return spin_button_; }

  // Unreadable text is replaced by MinValue, which is returned.
  int32_t GetValue();
  // Reads the text without repairing it: false while it is no number.
  bool TryGetValue(int32_t& value) const;
  void SetValue(int32_t value);
  int32_t CheckValue(int32_t value) const;

  // The smallest height the control takes, from its font and the system's.
  int GetMinHeight() const;

  void SetBounds(int left, int top, int width, int height) override;

  virtual bool IsValidChar(char key) const;
  virtual void UpClick(TComponent* sender);
  virtual void DownClick(TComponent* sender);

 protected:
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  void PasteSelection() override;
  void DoEnter() override;
  void DoExit() override;
  void FontChanged() override;

 private:
  void PlaceSpinButton();
  bool EditingAllowed() const { return editor_enabled_ && !ReadOnly(); }

  int32_t min_value_ = 0;
  int32_t max_value_ = 0;
  int32_t increment_ = 1;
  TCSpinButton* spin_button_ = nullptr;
  bool editor_enabled_ = true;
};

}  // namespace nitko
