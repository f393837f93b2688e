#pragma once

#include <memory>

#include "framework/control.h"

class QObject;

namespace nitko {

class TBitmap;

enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// A windowless push button with a glyph. A left press on the enabled button
// puts it into the down state and captures the mouse; while held it is down
// only with the pointer over it; releasing it over the button clicks. A held
// press also ends, without a click, when the button is disabled or hidden,
// loses the mouse, or a modal window blocks its own.
class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override;

  // The glyph's bottom-left pixel is its transparent colour.
  TBitmap& Glyph() { return *glyph_; }
  const TBitmap& Glyph() const { return *glyph_; }
  void SetGlyph(const TBitmap& glyph);
  // Call after changing Glyph() in place.
  void GlyphChanged() { Invalidate(); }
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int value);
  TButtonState State() const { return state_; }
  bool Dragging() const { return dragging_; }

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseCaptureLost() override;
  void EnabledChanged() override;
  void Paint() override;
  // Clicks; false when the click destroyed the button, which then must not
  // be touched.
  bool ClickSurvives();
  // Whether a press is still held. One whose mouse another widget has taken
  // ends here: nothing tells the button when that happens.
  bool PressHeld();

 private:
  class PressWatch;
  void SetState(TButtonState state);
  // Lets go of a held press: up (or disabled), the mouse released.
  void EndPress();
  std::unique_ptr<TBitmap> glyph_;
  std::unique_ptr<QObject> press_watch_;
  int num_glyphs_ = 1;
  TButtonState state_ = TButtonState::bsUp;
  bool dragging_ = false;
};

}  // namespace nitko
