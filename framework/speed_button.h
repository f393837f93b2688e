#pragma once

#include <memory>

#include "framework/control.h"

namespace nitko {

class TBitmap;

enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// A windowless push button with a glyph. A left press puts it into the down
// state and captures the mouse; while held it is down only with the pointer
// over it; releasing it over the button clicks.
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

 private:
  void SetState(TButtonState state);
  std::unique_ptr<TBitmap> glyph_;
  int num_glyphs_ = 1;
  TButtonState state_ = TButtonState::bsUp;
  bool dragging_ = false;
};

}  // namespace nitko
