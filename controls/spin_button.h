#pragma once

#include "framework/control.h"
#include "framework/events.h"

namespace nitko {

class TBitmap;
class TTimerSpeedButton;

// Two stacked auto-repeating buttons, up and down, that report through
// OnUpClick and OnDownClick and answer the arrow keys and the space bar.
class TCSpinButton : public TWinControl {
 public:
  static constexpr int kMinWidth = 15;

  explicit TCSpinButton(TComponent* owner);

  void SetBounds(int left, int top, int width, int height) override;

  // The inner buttons' own glyphs; null loads the default arrow.
  TBitmap* GetUpGlyph();
  TBitmap* GetDownGlyph();
  void SetUpGlyph(const TBitmap* value);
  void SetDownGlyph(const TBitmap* value);

  TWinControl* FocusControl() const { return focus_control_; }
  // Not owned: cleared when that control is destroyed.
  void SetFocusControl(TWinControl* value);

  TTimerSpeedButton* UpButton() const { return up_button_; }
  TTimerSpeedButton* DownButton() const { return down_button_; }
  TTimerSpeedButton* FocusBtn() const { return focus_btn_; }

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

 protected:
  TTimerSpeedButton* CreateButton();
  // Raises W to the minimum width and places the buttons for W x H.
  void AdjustSize(int& w, int& h);
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void DoEnter() override;
  void DoExit() override;
  void BtnClick(TComponent* sender);
  void BtnMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
  void SetFocusBtn(TTimerSpeedButton* btn);

 private:
  void SetGlyph(TTimerSpeedButton* button, const TBitmap* value, const char* resource);

  TTimerSpeedButton* up_button_ = nullptr;
  TTimerSpeedButton* down_button_ = nullptr;
  TTimerSpeedButton* focus_btn_ = nullptr;
  TWinControl* focus_control_ = nullptr;
};

}  // namespace nitko
