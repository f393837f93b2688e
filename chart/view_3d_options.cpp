#include "chart/view_3d_options.h"

#include <algorithm>

#include "framework/surface.h"

namespace nitko {

// Zoom (a percent) and offsets held to a surface's side: projected points
// then stay far within int.
static int Held(int value) {
  return std::clamp(value, -kMaxSurfaceSide, kMaxSurfaceSide);
}

void TView3DOptions::SetZoom(int value) {
  value = Held(value);
  if (zoom_ == value) return;
  // The listener sees the new zoom before it is stored.
  if (OnZoom) OnZoom(value);
  zoom_ = value;
  Repaint();
}

void TView3DOptions::SetHorizOffset(int value) {
  value = Held(value);
  if (horizOffset_ == value) return;
  horizOffset_ = value;
  if (OnScroll) OnScroll(true);
  Repaint();
}

void TView3DOptions::SetVertOffset(int value) {
  value = Held(value);
  if (vertOffset_ == value) return;
  vertOffset_ = value;
  if (OnScroll) OnScroll(false);
  Repaint();
}

void TView3DOptions::Assign(const TView3DOptions& other) {
  elevation_ = other.elevation_;
  rotation_ = other.rotation_;
  perspective_ = other.perspective_;
  tilt_ = other.tilt_;
  orthogonal_ = other.orthogonal_;
  zoom_ = other.zoom_;
  zoomText_ = other.zoomText_;
  horizOffset_ = other.horizOffset_;
  vertOffset_ = other.vertOffset_;
  Repaint();
}

}  // namespace nitko
