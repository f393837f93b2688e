#pragma once

#include <cstdint>

#include "framework/speed_button.h"

namespace nitko {

class TTimer;

enum TRepeatButtonFlag : uint8_t { rbFocusFrame = 1, rbAutoRepeat = 2 };
using TRepeatButtonFlags = uint8_t;

// A speed button that keeps clicking while held down and can show a focus
// rectangle on its face.
class TTimerSpeedButton : public TSpeedButton {
 public:
  static constexpr unsigned FirstRepeatDelay = 400;
  static constexpr unsigned RepeatDelay = 100;

  explicit TTimerSpeedButton(TComponent* owner);
  ~TTimerSpeedButton() override;

  TRepeatButtonFlags ButtonFlags() const { return flags_; }
  void SetButtonFlags(TRepeatButtonFlags value) { flags_ = value; }
  void Include(TRepeatButtonFlag flag) { flags_ |= flag; }
  void Exclude(TRepeatButtonFlag flag) { flags_ &= static_cast<TRepeatButtonFlags>(~flag); }
  bool Has(TRepeatButtonFlag flag) const { return (flags_ & flag) != 0; }
  // Null until the first auto-repeating press.
  TTimer* RepeatTimer() const { return repeat_timer_; }

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Paint() override;
  void TimerExpired(TComponent* sender);

 private:
  TTimer* repeat_timer_ = nullptr;
  TRepeatButtonFlags flags_ = 0;
};

}  // namespace nitko
