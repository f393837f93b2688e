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
  if (!Has(rbAutoRepeat)) return;
  if (repeat_timer_ == nullptr) {
    repeat_timer_ = new TTimer(this);
    repeat_timer_->SetEnabled(false);
  }
  repeat_timer_->OnTimer = [this](TComponent* sender) { TimerExpired(sender); };
  repeat_timer_->SetInterval(FirstRepeatDelay);
  repeat_timer_->SetEnabled(true);
}

void TTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  // The release click may raise: the repetition stops all the same.
  struct StopTimer {
    TTimer* timer;
    ~StopTimer() {
      if (timer != nullptr) timer->SetEnabled(false);
    }
  } stop{repeat_timer_};
  TSpeedButton::MouseUp(button, shift, x, y);
}

void TTimerSpeedButton::TimerExpired(TComponent*) {
  repeat_timer_->SetInterval(RepeatDelay);
  // Only while pressed under the pointer: dragged off, the button waits.
  if (State() != TButtonState::bsDown || !MouseCapture()) return;
  try {
    Click();
  } catch (...) {
    repeat_timer_->SetEnabled(false);
    throw;
  }
}

void TTimerSpeedButton::Paint() {
  TSpeedButton::Paint();
  if (!Has(rbFocusFrame)) return;
  TRect r = InflateRect(Rect(0, 0, Width(), Height()), -3, -3);
  if (State() == TButtonState::bsDown) r = OffsetRect(r, 1, 1);
  Canvas().DrawFocusRect(r);
}

}  // namespace nitko
