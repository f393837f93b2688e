#pragma once

#include <functional>

namespace nitko {

// The view angles, zoom and offsets of a chart panel. Every effective change
// asks the owning panel to repaint through OnRepaint.
class TView3DOptions {
 public:
  std::function<void()> OnRepaint;  // the owning panel's repaint
  std::function<void(bool horizontal)> OnScroll;
  std::function<void(int zoom)> OnZoom;

  int Elevation() const { return elevation_; }
  void SetElevation(int value) { Store(elevation_, value); }
  int Rotation() const { return rotation_; }
  void SetRotation(int value) { Store(rotation_, value); }
  int Perspective() const { return perspective_; }
  void SetPerspective(int value) { Store(perspective_, value); }
  int Tilt() const { return tilt_; }
  void SetTilt(int value) { Store(tilt_, value); }
  bool Orthogonal() const { return orthogonal_; }
  void SetOrthogonal(bool value) { Store(orthogonal_, value); }
  int Zoom() const { return zoom_; }
  void SetZoom(int value);
  bool ZoomText() const { return zoomText_; }
  void SetZoomText(bool value) { Store(zoomText_, value); }
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
  template <typename T>
  bool Store(T& field, T value) {
    if (field == value) return false;
    field = value;
    Repaint();
    return true;
  }

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
