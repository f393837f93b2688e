#include "controls/spin_button.h"

#include "controls/timer_speed_button.h"
#include "framework/bitmap.h"
#include "framework/keys.h"

namespace nitko {

TCSpinButton::TCSpinButton(TComponent* owner) : TWinControl(owner, nullptr) {
  // Presses place the focus themselves (BtnMouseDown).
  SetFocusOnClick(false);
  up_button_ = CreateButton();
  down_button_ = CreateButton();
  SetUpGlyph(nullptr);
  SetDownGlyph(nullptr);
  SetBounds(Left(), Top(), 20, 25);
  focus_btn_ = up_button_;
}

TTimerSpeedButton* TCSpinButton::CreateButton() {
  auto* b = new TTimerSpeedButton(this);
  b->OnClick = [this](TComponent* sender) { BtnClick(sender); };
  b->OnMouseDown = [this](TComponent* sender, TMouseButton button, TShiftState shift, int x, int y) {
    BtnMouseDown(sender, button, shift, x, y);
  };
  b->SetVisible(true);
  b->SetEnabled(true);
  b->Include(rbAutoRepeat);
  b->SetNumGlyphs(1);
  b->SetParent(this);
  return b;
}

void TCSpinButton::AdjustSize(int& w, int& h) {
  if (up_button_ == nullptr) return;
  if (w < kMinWidth) w = kMinWidth;
  up_button_->SetBounds(0, 0, w, h / 2);
  // The two share one pixel row; an odd height makes the lower one taller.
  down_button_->SetBounds(0, up_button_->Height() - 1, w, h - up_button_->Height() + 1);
}

void TCSpinButton::SetBounds(int left, int top, int width, int height) {
  AdjustSize(width, height);
  TWinControl::SetBounds(left, top, width, height);
}

void TCSpinButton::Loaded() {
  TWinControl::Loaded();
  int w = Width(), h = Height();
  AdjustSize(w, h);
  if (w != Width() || h != Height()) TWinControl::SetBounds(Left(), Top(), w, h);
}

void TCSpinButton::SetFocusControl(TWinControl* value) {
  if (value == focus_control_) return;
  RemoveFreeNotification(focus_control_);
  focus_control_ = value;
  FreeNotification(value);
}

void TCSpinButton::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == focus_control_) focus_control_ = nullptr;
}

void TCSpinButton::KeyDown(uint16_t& key, TShiftState) {
  switch (key) {
    case VK_UP:
      SetFocusBtn(up_button_);
      up_button_->Click();
      break;
    case VK_DOWN:
      SetFocusBtn(down_button_);
      down_button_->Click();
      break;
    case VK_SPACE:
      focus_btn_->Click();
      break;
    default:
      return;
  }
  key = 0;  // the arrows are ours, not the dialog's
}

void TCSpinButton::BtnClick(TComponent* sender) {
  if (sender == up_button_) {
    if (OnUpClick) OnUpClick(this);
  } else if (OnDownClick) {
    OnDownClick(this);
  }
}

void TCSpinButton::BtnMouseDown(TComponent* sender, TMouseButton button, TShiftState, int, int) {
  if (button != TMouseButton::mbLeft) return;
  SetFocusBtn(static_cast<TTimerSpeedButton*>(sender));
  if (focus_control_ != nullptr && focus_control_->TabStop() && focus_control_->CanFocus() &&
      !focus_control_->Focused())
    focus_control_->SetFocus();
  else if (TabStop() && !Focused() && CanFocus())
    SetFocus();
}

void TCSpinButton::SetFocusBtn(TTimerSpeedButton* btn) {
  if (!TabStop() || !CanFocus() || btn == focus_btn_) return;
  focus_btn_->Exclude(rbFocusFrame);
  focus_btn_->Invalidate();
  focus_btn_ = btn;
  if (Focused()) {
    focus_btn_->Include(rbFocusFrame);
    focus_btn_->Invalidate();
    Invalidate();
  }
}

void TCSpinButton::DoEnter() {
  focus_btn_->Include(rbFocusFrame);
  focus_btn_->Invalidate();
  TWinControl::DoEnter();
}

void TCSpinButton::DoExit() {
  focus_btn_->Exclude(rbFocusFrame);
  focus_btn_->Invalidate();
  TWinControl::DoExit();
}

TBitmap* TCSpinButton::GetUpGlyph() { return &up_button_->Glyph(); }

TBitmap* TCSpinButton::GetDownGlyph() { return &down_button_->Glyph(); }

void TCSpinButton::SetUpGlyph(const TBitmap* value) { SetGlyph(up_button_, value, "SpinUp"); }

void TCSpinButton::SetDownGlyph(const TBitmap* value) { SetGlyph(down_button_, value, "SpinDown"); }

void TCSpinButton::SetGlyph(TTimerSpeedButton* button, const TBitmap* value, const char* resource) {
  if (value != nullptr) {
    button->SetGlyph(*value);
    return;
  }
  // A missing resource leaves the glyph empty.
  button->Glyph().LoadFromResourceName(resource);
  button->SetNumGlyphs(1);
  button->Invalidate();
}

}  // namespace nitko
