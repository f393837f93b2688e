#pragma once

#include <functional>

#include "framework/persistent.h"
#include "framework/set_if_changed.h"

namespace nitko {

// The view angles, zoom and offsets of a chart panel. Every effective change
// asks the owning panel to repaint through OnRepaint.
class TView3DOptions : public TPersistent {
 public:
  std::function<void()> OnRepaint;  // the owning panel's repaint
  std::function<void(bool horizontal)> OnScroll;
  std::function<void(int zoom)> OnZoom;

  int Elevation() const { return elevation_; }
  void SetElevation(int value) { SetIfChanged(elevation_, value, [this] { Repaint(); }); }
  int Rotation() const { return rotation_; }
  void SetRotation(int value) { SetIfChanged(rotation_, value, [this] { Repaint(); }); }
  int Perspective() const { return perspective_; }
  void SetPerspective(int value) { SetIfChanged(perspective_, value, [this] { Repaint(); }); }
  int Tilt() const { return tilt_; }
  void SetTilt(int value) { SetIfChanged(tilt_, value, [this] { Repaint(); }); }
  bool Orthogonal() const { return orthogonal_; }
  void SetOrthogonal(bool value) { SetIfChanged(orthogonal_, value, [this] { Repaint(); }); }
  int Zoom() const { return zoom_; }
  void SetZoom(int value);
  bool ZoomText() const { return zoomText_; }
  void SetZoomText(bool value) { SetIfChanged(zoomText_, value, [this] { Repaint(); }); }
  int HorizOffset() const { return horizOffset_; }
  void SetHorizOffset(int value);
  int VertOffset() const { return vertOffset_; }
  void SetVertOffset(int value);

  void Assign(const TView3DOptions& other);
  // Asks the owning panel to repaint.
  void Repaint() {
    if (OnRepaint) OnRepaint();
  }

 private:
  int elevation_ = 345;
  int rotation_ = 345;
  int perspective_ = 15;
  int tilt_ = 0;
  bool orthogonal_ = true;
  int zoom_ = 100;
  bool zoomText_ = true;
  int horizOffset_ = 0;
  int vertOffset_ = 0;
};

}  // namespace nitko
