#include "controls/spin_edit.h"

#include <algorithm>

#include "controls/spin_button.h"
#include "framework/keys.h"
#include "framework/screen.h"
#include "runtime/exception.h"
#include "runtime/integer_text.h"
#include "runtime/locale_chars.h"

namespace nitko {

TCSpinEdit::TCSpinEdit(TComponent* owner) : TCustomEdit(owner) {
  spin_button_ = new TCSpinButton(this);
  spin_button_->SetBounds(0, 0, 15, 17);
  spin_button_->SetVisible(true);
  spin_button_->SetParent(this);
  spin_button_->SetFocusControl(this);
  spin_button_->SetCursor(TCursor::crArrow);  // not the edit's text cursor
  spin_button_->OnUpClick = [this](TComponent* sender) { UpClick(sender); };
  spin_button_->OnDownClick = [this](TComponent* sender) { DownClick(sender); };
  SetText("0");
  // The size rule applies from the start: at least the minimum height.
  SetBounds(Left(), Top(), Width(), Height());
}

TCSpinEdit::~TCSpinEdit() {
  // Resizes during teardown must not reach the button.
  spin_button_ = nullptr;
}

int32_t TCSpinEdit::CheckValue(int32_t value) const {
  if (max_value_ == min_value_) return value;
  if (value < min_value_) return min_value_;
  if (value > max_value_) return max_value_;
  return value;
}

bool TCSpinEdit::TryGetValue(int32_t& value) const {
  try {
    value = StrToInt(GetText());
    return true;
  } catch (const EConvertError&) {
    return false;
  }
}

int32_t TCSpinEdit::GetValue() {
  int32_t value = 0;
  if (TryGetValue(value)) return value;
  SetText(IntToStr(min_value_));
  return min_value_;
}

void TCSpinEdit::SetValue(int32_t value) {
  SetText(IntToStr(CheckValue(value)));
}

void TCSpinEdit::UpClick(TComponent*) {
  if (ReadOnly()) {
    Beep();
    return;
  }
  // Wraps like the 32-bit arithmetic it stands for.
  SetValue(
      static_cast<int32_t>(static_cast<uint32_t>(GetValue()) + static_cast<uint32_t>(increment_)));
}

void TCSpinEdit::DownClick(TComponent*) {
  if (ReadOnly()) {
    Beep();
    return;
  }
  SetValue(
      static_cast<int32_t>(static_cast<uint32_t>(GetValue()) - static_cast<uint32_t>(increment_)));
}

void TCSpinEdit::KeyDown(uint16_t& key, TShiftState shift) {
  if (key == VK_UP)
    UpClick(this);
  else if (key == VK_DOWN)
    DownClick(this);
  TCustomEdit::KeyDown(key, shift);
}

void TCSpinEdit::KeyPress(char& key) {
  if (!IsValidChar(key)) {
    key = 0;
    Beep();
  }
  if (key != 0) TCustomEdit::KeyPress(key);
}

bool TCSpinEdit::IsValidChar(char key) const {
  // Codes compare as signed bytes: 0x80-0xFF fall below every limit.
  // 0x32 is meant, the digit '2', not 32, the blank: the control's character
  // set is every code below '2' (blank, the marks 0x21-0x2F, '0', '1') plus
  // the digits and signs, so a disabled editor still takes '0' and '1' but
  // not '2' to '9'. Changing it to 32 would refuse blank and the marks.
  const signed char k = static_cast<signed char>(key);
  bool valid = key == LocaleDecimalChar() || key == '+' || key == '-' ||
               (key >= '0' && key <= '9') || (k < 0x32 && k != 13);
  if (!editor_enabled_ && valid && (k >= 0x32 || k == 8 || k == 0x2E)) valid = false;
  return valid;
}

void TCSpinEdit::CutToClipboard() {
  if (EditingAllowed()) TCustomEdit::CutToClipboard();
}

void TCSpinEdit::PasteFromClipboard() {
  if (EditingAllowed()) TCustomEdit::PasteFromClipboard();
}

void TCSpinEdit::PasteSelection() {
  if (EditingAllowed()) TCustomEdit::PasteSelection();
}

int TCSpinEdit::GetMinHeight() const {
  const int sysHeight = SystemFontHeight();
  const int fontHeight = FontHeight(Font());
  const int i = std::min(sysHeight, fontHeight);
  return fontHeight + i / 4 + 4 * kSystemBorderHeight + 2;
}

void TCSpinEdit::SetBounds(int left, int top, int width, int height) {
  height = std::max(height, GetMinHeight());
  TCustomEdit::SetBounds(left, top, width, height);
  PlaceSpinButton();
}

void TCSpinEdit::PlaceSpinButton() {
  if (spin_button_ == nullptr) return;
  spin_button_->SetBounds(Width() - spin_button_->Width() - 5, 0, spin_button_->Width(),
                          Height() - 5);
  // Typed text never runs under the button.
  SetFormattingRect(Rect(0, 0, ClientWidth() - spin_button_->Width() - 2, ClientHeight() + 1));
}

void TCSpinEdit::FontChanged() {
  TCustomEdit::FontChanged();
  if (spin_button_ != nullptr) SetBounds(Left(), Top(), Width(), Height());
}

void TCSpinEdit::DoEnter() {
  // A click places the cursor; only a keyboard or program focus selects.
  if (AutoSelect() && !FocusedByMouse()) SelectAll();
  TWinControl::DoEnter();
}

void TCSpinEdit::DoExit() {
  const int32_t value = GetValue();
  if (CheckValue(value) != value) SetValue(value);
  TWinControl::DoExit();
}

}  // namespace nitko
