#pragma once

#include "framework/colors.h"
#include "framework/control.h"
#include "framework/types.h"

namespace nitko {

class TClassRegistry;

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A bevel of width pixels inside rect: topLeft on the left and top edges,
// bottomRight on the right and bottom ones; rect shrinks by width on every
// side. Draws with the canvas pen (width 1), whose colour it changes.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topLeft, TColor bottomRight, int width);

// A windowed, self-drawn control with an outer bevel, a border of the
// panel's colour and an inner bevel around its client area.
class TCustomPanel : public TCustomControl {
 public:
  TBevelCut BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TBevelCut value);
  TBevelCut BevelInner() const { return bevel_inner_; }
  void SetBevelInner(TBevelCut value);
  int BevelWidth() const { return bevel_width_; }
  // At least 1.
  void SetBevelWidth(int value);
  int BorderWidth() const { return border_width_; }
  // At least 0.
  void SetBorderWidth(int value);

  // Outer bevel, border in Color, inner bevel, each shrinking rect.
  void DrawBevels(TCanvas& canvas, TRect& rect) const;

 protected:
  explicit TCustomPanel(TComponent* owner);

  // A property of the frame changed; panels that cache their picture
  // override it to drop the cache too.
  virtual void FrameChanged() { Invalidate(); }
  void Paint() override;
  // The control paints its whole area itself.
  bool FillsBackground() const override { return false; }

 private:
  TBevelCut bevel_outer_ = TBevelCut::bvRaised;
  TBevelCut bevel_inner_ = TBevelCut::bvNone;
  int bevel_width_ = 1;
  int border_width_ = 0;
};

// Publishes TCustomPanel's properties; needs the standard classes.
void RegisterPanelClass(TClassRegistry& registry);

}  // namespace nitko
