#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "chart/chart_rounding.h"
#include "chart/tee_canvas.h"
#include "chart/view_3d_options.h"
#include "framework/bitmap.h"

namespace nitko {

// --- frame --------------------------------------------------------------

// Release: what the requester changed before asking is visible to the frame
// that sees the request (BeginFrame's acquire).
void TTeeCanvas3D::MarkDirty() {
  requests_.fetch_add(1, std::memory_order_release);
}

bool TTeeCanvas3D::Dirty() const {
  return requests_.load(std::memory_order_acquire) != cleanUpTo_.load(std::memory_order_acquire);
}

void TTeeCanvas3D::FreeBuffer() {
  buffer_.reset();
  previous_.reset();
  MarkDirty();
}

void TTeeCanvas3D::SetOffscreenBuffer(bool on) {
  offscreen_ = on;
  if (!on && buffer_) FreeBuffer();
}

void TTeeCanvas3D::SetMonochrome(bool on) {
  if (monochrome_ == on) return;
  monochrome_ = on;
  FreeBuffer();
  if (Options) Options->Repaint();
}

TRect TTeeCanvas3D::BeginFrame(TCanvas* surface, TView3DOptions* options, const TRect& userRect,
                               bool is3D) {
  // Requests up to here are answered by this frame; later ones are not.
  frameRequests_ = requests_.load(std::memory_order_acquire);
  Bounds = userRect;
  Options = options;
  Is3D = is3D;
  IsOrthogonal = false;
  ZoomFactor = 1.0;
  if (Is3D && Options) {
    IsOrthogonal = Options->Orthogonal();
    ZoomFactor = Options->Zoom() * 0.01;
    ZoomText = Options->ZoomText();
    if (!IsOrthogonal) ComputeCoefficients();
  }
  if (!offscreen_) {
    AttachSurface(surface);
    return userRect;
  }
  const int w = userRect.Width();
  const int h = userRect.Height();
  // Drawing into pixels the window shares would copy them first.
  const TBitmap* last = nullptr;
  if (buffer_ && buffer_->Surface().SharesPixels()) {
    std::swap(buffer_, previous_);
    last = previous_.get();
  }
  // Not FreeBuffer: this frame redraws the new buffer whole, so no request.
  if (buffer_ && (buffer_->Width() != w || buffer_->Height() != h)) buffer_.reset();
  if (!buffer_) buffer_ = std::make_unique<TBitmap>(w, h);
  // Drawing goes on with the pen, brush and font the last frame left.
  if (last != nullptr) buffer_->Canvas().AssignState(last->Canvas());
  // Drawing into the buffer is not a change anybody needs to hear about.
  buffer_->Canvas().OnChanging = nullptr;
  buffer_->Canvas().OnChange = nullptr;
  AttachSurface(&buffer_->Canvas());
  return {0, 0, w, h};
}

void TTeeCanvas3D::EndFrame(TCanvas* target, TCanvas* ownerSurface, const TRect& userRect) {
  if (offscreen_ && buffer_ && target) {
    // In the buffer itself, so that BlitIfClean copies the same picture.
    if (monochrome_) buffer_->Surface().ReduceToBlackAndWhite();
    const int w = buffer_->Width();
    const int h = buffer_->Height();
    const TCopyMode saved = target->CopyMode();
    target->SetCopyMode(TCopyMode::cmSrcCopy);
    target->CopyRect(nitko::Bounds(userRect.Left, userRect.Top, w, h), buffer_->Canvas(),
                     {0, 0, w, h});
    target->SetCopyMode(saved);
    cleanUpTo_.store(frameRequests_, std::memory_order_release);
  }
  AttachSurface(ownerSurface);
}

bool TTeeCanvas3D::BlitIfClean() {
  if (Dirty() || !buffer_) return false;
  if (Surface()) {
    const int w = buffer_->Width();
    const int h = buffer_->Height();
    const TCopyMode saved = Surface()->CopyMode();
    Surface()->SetCopyMode(TCopyMode::cmSrcCopy);
    Surface()->CopyRect({0, 0, w, h}, buffer_->Canvas(), {0, 0, w, h});
    Surface()->SetCopyMode(saved);
  }
  return true;
}

// --- projection ---------------------------------------------------------

void TTeeCanvas3D::ComputeCoefficients() {
  const double k = std::numbers::pi / 180.0;
  const double ex = Options->Elevation() * k;
  const double ry = Options->Rotation() * k;
  const double tz = Options->Tilt() * k;
  const double sx = std::sin(ex), cx = std::cos(ex);
  const double sy = std::sin(ry), cy = std::cos(ry);
  const double sz = std::sin(tz), cz = std::cos(tz);
  // Rotation about y (rotation), then x (elevation), then z (tilt).
  c1_ = cz * cy - sz * sx * sy;
  c2_ = -sz * cx;
  c3_ = cz * sy + sz * sx * cy;
  c4_ = sz * cy + cz * sx * sy;
  c5_ = cz * cx;
  c6_ = sz * sy - cz * sx * cy;
  c7_ = -cx * sy;
  c8_ = sx;
  c9_ = cx * cy;
}

void TTeeCanvas3D::SetProjectionCentre(int depth, const TRect&, const TRect& plotRect) {
  XCenter = (plotRect.Left + plotRect.Right) / 2;
  YCenter = (plotRect.Top + plotRect.Bottom) / 2;
  ZCenter = depth / 2;
  XCenterOffset = XCenter;
  YCenterOffset = YCenter;
  PerspectiveFactor = 0;  // a perspective set back to 0 must flatten the view
  if (Options) {
    XCenterOffset += Options->HorizOffset();
    YCenterOffset += Options->VertOffset();
    if (Options->Perspective() > 0) PerspectiveFactor = Options->Perspective() / 35000.0;
  }
}

void TTeeCanvas3D::ProjectPoint(int& x, int& y, int z) const {
  if (IsOrthogonal) {
    x = RoundEven(ZoomFactor * (x + z - XCenter)) + XCenterOffset;
    y = RoundEven((y - YCenter - z) * ZoomFactor) + YCenterOffset;
    return;
  }
  if (!Is3D) return;
  const double dx = x - XCenter;
  const double dy = y - YCenter;
  const double dz = z - ZCenter;
  const double px = c1_ * dx + c2_ * dy + c3_ * dz;
  const double py = c4_ * dx + c5_ * dy + c6_ * dz;
  const double pz = c7_ * dx + c8_ * dy + c9_ * dz;
  double scale = ZoomFactor;
  // Farther points shrink; the factor keeps the term small for chart depths.
  if (PerspectiveFactor > 0) scale /= std::max(0.1, 1.0 + PerspectiveFactor * pz);
  x = RoundEven(px * scale) + XCenterOffset;
  y = RoundEven(py * scale) + YCenterOffset;
}

TPoint TTeeCanvas3D::ProjectToPoint(int x, int y, int z) const {
  ProjectPoint(x, y, z);
  return {x, y};
}

void TTeeCanvas3D::UnprojectPoint(int& x, int& y, int z) const {
  if (ZoomFactor == 0 || !IsOrthogonal) return;
  x = RoundEven((x - XCenterOffset) / ZoomFactor) + XCenter - z;
  y = z + RoundEven((y - YCenterOffset) / ZoomFactor) + YCenter;
}

void TTeeCanvas3D::BeginFlatPlane() {
  SavedIs3D = Is3D;
  Is3D = false;
}

void TTeeCanvas3D::EndFlatPlane() {
  Is3D = SavedIs3D;
}

// --- clipping -----------------------------------------------------------

void TTeeCanvas3D::ClipPlotArea(const TRect& r, int z0, int z1) {
  if (!Surface()) return;
  if (!Is3D) {
    SetClipRect({r.Left + 1, r.Top + 1, r.Right, r.Bottom - 1});
    return;
  }
  if (Options && Options->Elevation() == 270 &&
      (Options->Rotation() == 270 || Options->Rotation() == 360)) {
    const TPoint a = ProjectToPoint(r.Left, r.Top, z0);
    const TPoint b = ProjectToPoint(r.Right, r.Top, z1);
    Surface()->SetClipRect(
        {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)});
    return;
  }
  const TPoint outline[] = {
      ProjectToPoint(r.Left, r.Bottom, z0),  ProjectToPoint(r.Left, r.Top, z0),
      ProjectToPoint(r.Left, r.Top, z1),     ProjectToPoint(r.Right, r.Top, z1),
      ProjectToPoint(r.Right, r.Bottom, z1), ProjectToPoint(r.Right, r.Bottom, z0)};
  Surface()->SetClipPolygon(outline);
}

// --- depth-aware operations ---------------------------------------------

void TTeeCanvas3D::PixelAtDepth(int x, int y, TColor color, int z) {
  ProjectPoint(x, y, z);
  if (Pen().Width() == 1) {
    PlotPixel(x, y, color);
  } else {
    StrokeLine(x, y, x, y);
  }
}

void TTeeCanvas3D::PenMoveToZ(int x, int y, int z) {
  ProjectPoint(x, y, z);
  PenMoveTo(x, y);
}

void TTeeCanvas3D::PenLineToZ(int x, int y, int z) {
  ProjectPoint(x, y, z);
  PenLineTo(x, y);
}

void TTeeCanvas3D::StrokeLineZ(int x0, int y0, int x1, int y1, int z) {
  PenMoveToZ(x0, y0, z);
  PenLineToZ(x1, y1, z);
}

void TTeeCanvas3D::HorizontalLineZ(int x0, int x1, int y, int z) {
  StrokeLineZ(x0, y, x1, y, z);
}

void TTeeCanvas3D::VerticalLineZ(int x, int y0, int y1, int z) {
  StrokeLineZ(x, y0, x, y1, z);
}

void TTeeCanvas3D::DepthLine(int x, int y, int z0, int z1) {
  PenMoveToZ(x, y, z0);
  PenLineToZ(x, y, z1);
}

void TTeeCanvas3D::EllipseAtDepth(int x0, int y0, int x1, int y1, int z) {
  ProjectPoint(x0, y0, z);
  ProjectPoint(x1, y1, z);
  // The box includes (x1, y1) here, unlike DrawEllipse.
  DrawEllipse(x0, y0, x1 + 1, y1 + 1);
}

void TTeeCanvas3D::ProjectedPolygon(std::span<const TPoint> points, int z) {
  if (points.empty()) return;
  std::vector<TPoint> projected(points.begin(), points.end());
  for (TPoint& p : projected) ProjectPoint(p.X, p.Y, z);
  DrawPolygon(projected, static_cast<int>(projected.size()) - 1);
}

void TTeeCanvas3D::PolygonAtDepth(std::span<const TPoint> points, int z) {
  ProjectedPolygon(points, z);
}

void TTeeCanvas3D::PlaneAtDepth(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) {
  quadPoints_ = {p1, p2, p3, p4};
  ProjectedPolygon(quadPoints_, z);
}

void TTeeCanvas3D::TriangleAtDepth(TPoint p1, TPoint p2, TPoint p3, int z) {
  const TPoint points[] = {p1, p2, p3};
  ProjectedPolygon(points, z);
}

void TTeeCanvas3D::RectangleAtDepth(const TRect& r, int z) {
  PlaneAtDepth({r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}, z);
}

int TTeeCanvas3D::ZoomedFontHeight() const {
  const int size = std::max(1, RoundEven(Font().Size() * ZoomFactor));
  return -MulDiv(size, kScreenPixelsPerInch, 72);
}

void TTeeCanvas3D::TextAtDepth(int x, int y, const std::string& text, int z) {
  ProjectPoint(x, y, z);
  if (!ScalesText()) {
    PaintText(x, y, text);
    return;
  }
  const int saved = Font().Height();
  Font().SetHeight(ZoomedFontHeight());
  PaintText(x, y, text);
  Font().SetHeight(saved);
}

void TTeeCanvas3D::RotatedTextAtDepth(int x, int y, int angle, const std::string& text, int z) {
  ProjectPoint(x, y, z);
  RotatedText(x, y, angle, text);
}

}  // namespace nitko
