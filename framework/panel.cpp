#include "framework/panel.h"

#include <algorithm>

#include "framework/canvas.h"
#include "framework/class_registry.h"
#include "framework/set_if_changed.h"

namespace nitko {

void Frame3D(TCanvas& canvas, TRect& rect, TColor topLeft, TColor bottomRight, int width) {
  canvas.Pen().SetWidth(1);
  // Corners of the ring being drawn, right and bottom inclusive.
  TRect r{rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1};
  for (int i = 0; i < width; ++i) {
    canvas.Pen().SetColor(topLeft);
    const TPoint light[] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
    canvas.Polyline(light);
    canvas.Pen().SetColor(bottomRight);
    const TPoint dark[] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
    canvas.Polyline(dark);
    r = InflateRect(r, -1, -1);
  }
  rect = {r.Left, r.Top, r.Right + 1, r.Bottom + 1};
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
  SetIfChanged(bevel_outer_, value, [this] { FrameChanged(); });
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
  SetIfChanged(bevel_inner_, value, [this] { FrameChanged(); });
}

void TCustomPanel::SetBevelWidth(int value) {
  SetIfChanged(bevel_width_, std::max(1, value), [this] { FrameChanged(); });
}

void TCustomPanel::SetBorderWidth(int value) {
  SetIfChanged(border_width_, std::max(0, value), [this] { FrameChanged(); });
}

namespace {

void DrawBevel(TCanvas& canvas, TRect& rect, TBevelCut cut, int width) {
  if (cut == TBevelCut::bvNone) return;
  TColor light = clBtnHighlight;
  TColor dark = clBtnShadow;
  if (cut == TBevelCut::bvLowered) std::swap(light, dark);
  // A space bevel takes its room without showing an edge.
  if (cut == TBevelCut::bvSpace) light = dark = clBtnFace;
  Frame3D(canvas, rect, light, dark, width);
}

}  // namespace

void TCustomPanel::DrawBevels(TCanvas& canvas, TRect& rect) const {
  DrawBevel(canvas, rect, bevel_outer_, bevel_width_);
  Frame3D(canvas, rect, Color(), Color(), border_width_);
  DrawBevel(canvas, rect, bevel_inner_, bevel_width_);
}

void TCustomPanel::Paint() {
  TCanvas& c = Canvas();
  c.Brush().SetColor(Color());
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  TRect r = ClientRect();
  c.FillRect(r);
  c.Pen().SetStyle(TPenStyle::psSolid);
  c.Pen().SetMode(TPenMode::pmCopy);
  DrawBevels(c, r);
}

void RegisterPanelClass(TClassRegistry& r) {
  const TIdentList<TBevelCut> cuts = {{"bvNone", TBevelCut::bvNone},
                                      {"bvLowered", TBevelCut::bvLowered},
                                      {"bvRaised", TBevelCut::bvRaised},
                                      {"bvSpace", TBevelCut::bvSpace}};
  r.Register<TCustomPanel>("TCustomPanel", "TCustomControl", nullptr)
      .Enum<TBevelCut>("BevelOuter", &TCustomPanel::SetBevelOuter, cuts)
      .Enum<TBevelCut>("BevelInner", &TCustomPanel::SetBevelInner, cuts)
      .Int("BevelWidth", &TCustomPanel::SetBevelWidth)
      .Int("BorderWidth", &TCustomPanel::SetBorderWidth);
}

}  // namespace nitko
