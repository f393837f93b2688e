#pragma once

#include <functional>

#include "chart/tee_canvas.h"
#include "framework/colors.h"
#include "framework/persistent.h"
#include "framework/set_if_changed.h"

namespace nitko {

// A colour ramp that fills the chart's background instead of its colour
// while Visible.
class TChartGradient : public TPersistent {
 public:
  std::function<void()> OnChange;  // the owning panel's repaint

  bool Visible() const { return visible_; }
  void SetVisible(bool value) { Set(visible_, value); }
  TGradientDirection Direction() const { return direction_; }
  void SetDirection(TGradientDirection value) { Set(direction_, value); }
  TColor StartColor() const { return start_color_; }
  void SetStartColor(TColor value) { Set(start_color_, value); }
  TColor EndColor() const { return end_color_; }
  void SetEndColor(TColor value) { Set(end_color_, value); }

 private:
  template <class T>
  void Set(T& field, T value) {
    SetIfChanged(field, value, [this] {
      if (OnChange) OnChange();
    });
  }

  bool visible_ = false;
  TGradientDirection direction_ = TGradientDirection::gdTopBottom;
  TColor start_color_ = clWhite;
  TColor end_color_ = TColor{0x00FFFF};
};

}  // namespace nitko
