#include "controls/timer_speed_button.h"

#include "framework/canvas.h"
#include "framework/timer.h"

namespace nitko {

TTimerSpeedButton::TTimerSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

TTimerSpeedButton::~TTimerSpeedButton() {
  delete repeat_timer_;
  repeat_timer_ = nullptr;
}

void TTimerSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TSpeedButton::MouseDown(button, shift, x, y);
  // Only a press the button took (left, enabled) repeats.
  if (!Has(rbAutoRepeat) || !Dragging()) return;
  if (repeat_timer_ == nullptr) {
    repeat_timer_ = new TTimer(this);
    repeat_timer_->SetEnabled(false);
  }
  repeat_timer_->OnTimer = [this](TComponent* sender) { TimerExpired(sender); };
  repeat_timer_->SetInterval(FirstRepeatDelay);
  repeat_timer_->SetEnabled(true);
}

void TTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  // Stopped before the release click, which may raise or destroy the button.
  if (button == TMouseButton::mbLeft && repeat_timer_ != nullptr) repeat_timer_->SetEnabled(false);
  TSpeedButton::MouseUp(button, shift, x, y);
}

void TTimerSpeedButton::TimerExpired(TComponent*) {
  // The press ended without a release: lost mouse, hidden, disabled, modal.
  if (!PressHeld()) {
    repeat_timer_->SetEnabled(false);
    return;
  }
  repeat_timer_->SetInterval(RepeatDelay);
  // Only while pressed under the pointer: dragged off, the button waits.
  if (State() != TButtonState::bsDown) return;
  // Paused while the click runs, so that a loop it runs sees no repeats; a
  // click that raises leaves it stopped, one that ends the press too.
  repeat_timer_->SetEnabled(false);
  if (ClickSurvives() && Dragging()) repeat_timer_->SetEnabled(true);
}

void TTimerSpeedButton::Paint() {
  TSpeedButton::Paint();
  if (!Has(rbFocusFrame)) return;
  TRect r = InflateRect(Rect(0, 0, Width(), Height()), -3, -3);
  if (State() == TButtonState::bsDown) r = OffsetRect(r, 1, 1);
  Canvas().DrawFocusRect(r);
}

}  // namespace nitko
