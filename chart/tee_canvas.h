#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "framework/canvas.h"
#include "framework/types.h"

namespace nitko {

class TBitmap;
class TChartPen;
class TView3DOptions;

enum class TGradientDirection {
  gdTopBottom,
  gdBottomTop,
  gdLeftRight,
  gdRightLeft,
  gdFromCenter,
  gdFromTopLeft,
  gdFromBottomLeft
};

// Angles above one turn come down by one turn, once: 370 is 10, 720 is 360.
constexpr int ReduceTextAngle(int angle) {
  return angle > 360 ? angle - 360 : angle;
}

// The chart's view of a framework canvas: the attached canvas's own pen,
// brush and font, and the flat drawing operations.
class TTeeCanvas {
 public:
  TTeeCanvas() = default;
  virtual ~TTeeCanvas() = default;
  TTeeCanvas(const TTeeCanvas&) = delete;
  TTeeCanvas& operator=(const TTeeCanvas&) = delete;

  TCanvas* Surface() const { return surface_; }
  TPen& Pen() { return *pen_; }
  TBrush& Brush() { return *brush_; }
  TFont& Font() { return *font_; }
  const TPen& Pen() const { return *pen_; }
  const TBrush& Brush() const { return *brush_; }
  const TFont& Font() const { return *font_; }

  void AttachSurface(TCanvas* surface);
  void RestoreDefaults();
  void ApplyChartPen(const TChartPen& chartPen);
  int LineHeight() { return MeasureTextHeight("W"); }

  virtual TColor BackgroundColor() const = 0;
  virtual TBackgroundMode BackgroundMode() const = 0;
  virtual TCanvas* SurfaceHandle() const = 0;
  virtual bool Monochrome() const = 0;
  virtual TTextAlign TextAlignment() const = 0;
  virtual bool OffscreenBuffer() const = 0;
  virtual void SetBackgroundColor(TColor color) = 0;
  virtual void SetBackgroundMode(TBackgroundMode mode) = 0;
  virtual void SetMonochrome(bool on) = 0;
  virtual void PlotPixel(int x, int y, TColor color) = 0;
  virtual void SetTextAlignment(TTextAlign flags) = 0;
  virtual void SetOffscreenBuffer(bool on) = 0;
  virtual void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void DrawGraphic(int x, int y, const TBitmap& graphic) = 0;
  virtual void DrawEllipse(int x0, int y0, int x1, int y1) = 0;
  virtual void FillArea(const TRect& r) = 0;
  virtual void BevelFrame(const TRect& r, TColor topLeft, TColor bottomRight, int width) = 0;
  virtual void PenLineTo(int x, int y) = 0;
  virtual void PenMoveTo(int x, int y) = 0;
  virtual void DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void DrawRect(int x0, int y0, int x1, int y1) = 0;
  virtual void DrawRoundRect(int x0, int y0, int x1, int y1, int w, int h) = 0;
  virtual void StretchGraphic(const TRect& r, const TBitmap& graphic) = 0;
  virtual void PaintText(int x, int y, const std::string& text) = 0;
  virtual int MeasureTextWidth(const std::string& text);
  virtual int MeasureTextHeight(const std::string& text);
  virtual void SetClipRect(const TRect& r) = 0;
  virtual void HorizontalLine(int x0, int x1, int y) = 0;
  virtual void DrawRectBounds(const TRect& r) = 0;
  virtual void VerticalLine(int x, int y0, int y1) = 0;
  virtual void EraseArea(const TRect& r) = 0;
  virtual void FillGradient(const TRect& r, TColor start, TColor end,
                            TGradientDirection direction) = 0;
  virtual void MarkDirty() = 0;
  virtual void StrokeLine(int x0, int y0, int x1, int y1) = 0;
  virtual void DrawPolygon(std::span<const TPoint> points, int highIndex) = 0;
  virtual void RotatedText(int x, int y, int angle, const std::string& text) = 0;
  virtual void ClearClip() = 0;

 protected:
  // Set by ApplyChartPen for a one-pixel small-dots pen: lines then paint
  // every other pixel.
  bool smallDots_ = false;

 private:
  TCanvas* surface_ = nullptr;
  TCanvas spare_;  // keeps Pen/Brush/Font valid before the first attach
  TPen* pen_ = &spare_.Pen();
  TBrush* brush_ = &spare_.Brush();
  TFont* font_ = &spare_.Font();
};

// Adds depth: operations that take a z and project it, and the frame.
// Solids take z0 as their near depth and z1 as their far one.
class TCanvas3D : public TTeeCanvas {
 public:
  virtual void PixelAtDepth(int x, int y, TColor color, int z) = 0;
  virtual bool FullRotationCapable() const { return false; }
  virtual bool DepthMarksCapable() const { return false; }
  virtual void UnprojectPoint(int& x, int& y, int z) const = 0;
  virtual TPoint ProjectToPoint(int x, int y, int z) const = 0;
  virtual TRect BeginFrame(TCanvas* surface, TView3DOptions* options, const TRect& userRect,
                           bool is3D) = 0;
  virtual void AssignFrom(const TCanvas3D& other) { SetMonochrome(other.Monochrome()); }
  virtual void SetProjectionCentre(int depth, const TRect& frameRect, const TRect& plotRect) = 0;
  virtual void EndFrame(TCanvas* target, TCanvas* ownerSurface, const TRect& userRect) = 0;
  virtual bool BlitIfClean() = 0;
  // A shaft from `from` to the base of a filled head whose tip is at `to`.
  virtual void DrawArrow(TPoint from, TPoint to, int headWidth, int headLength, int z) = 0;
  virtual void ClipPlotArea(const TRect& r, int z0, int z1) = 0;
  // Turned about the axis through the middle of r and of z0..z1: the base
  // fills r's bottom (vertical) or left side, the tip's width is tipPercent
  // of the base's (0 a point, 100 a cylinder).
  virtual void DrawCone(const TRect& r, int z0, int z1, bool vertical, int tipPercent) = 0;
  virtual void DrawBox(const TRect& r, int z0, int z1) = 0;
  // A cone whose tip is as wide as its base.
  virtual void DrawCylinder(const TRect& r, int z0, int z1, bool vertical) = 0;
  virtual void HorizontalLineZ(int x0, int x1, int y, int z) = 0;
  virtual void VerticalLineZ(int x, int y0, int y1, int z) = 0;
  virtual void DepthLine(int x, int y, int z0, int z1) = 0;
  virtual void EllipseAtDepth(int x0, int y0, int x1, int y1, int z) = 0;
  virtual void BeginFlatPlane() = 0;
  virtual void EndFlatPlane() = 0;
  virtual void StrokeLineZ(int x0, int y0, int x1, int y1, int z) = 0;
  virtual void PenMoveToZ(int x, int y, int z) = 0;
  virtual void PenLineToZ(int x, int y, int z) = 0;
  // A slice of the ellipse around the centre, between z0 and z1. Angles in
  // degrees, counter-clockwise from three o'clock; the slice runs from
  // startAngle to endAngle the counter-clockwise way, a whole turn when the
  // two are equal.
  virtual void DrawPie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1,
                         double startAngle, double endAngle) = 0;
  virtual void PlaneBetweenDepths(TPoint p1, TPoint p2, int z0, int z1) = 0;
  virtual void PlaneAtDepth(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) = 0;
  virtual void QuadBetweenDepths(const std::array<TPoint, 4>& points, int z0, int z1) = 0;
  virtual void PolygonAtDepth(std::span<const TPoint> points, int z) = 0;
  // Apex at the middle of r's top, square base at r's bottom from z0 to z1.
  virtual void DrawPyramid(const TRect& r, int z0, int z1) = 0;
  virtual void RectangleAtDepth(const TRect& r, int z) = 0;
  virtual void DepthRectY(int x0, int x1, int y, int z0, int z1) = 0;
  virtual void DepthRectX(int x, int y0, int y1, int z0, int z1) = 0;
  virtual void RotatedTextAtDepth(int x, int y, int angle, const std::string& text, int z) = 0;
  virtual void DrawSphere(int x, int y, int z, int radius) = 0;
  virtual void DrawSurface() {}
  virtual void TextAtDepth(int x, int y, const std::string& text, int z) = 0;
  // The triangle at depth 0, each pixel in the corner colours weighted by
  // how near it lies to each corner; filled only, the pen draws nothing.
  virtual void ShadedTriangle(const std::array<TPoint, 3>& points,
                              const std::array<TColor, 3>& colors) = 0;
  virtual void TriangleAtDepth(TPoint p1, TPoint p2, TPoint p3, int z) = 0;
};

// The canvas every chart draws through: flat when not 3D, an off-screen
// buffer that turns each repaint into one copy.
class TTeeCanvas3D : public TCanvas3D {
 public:
  TTeeCanvas3D();
  ~TTeeCanvas3D() override;

  // Frame and projection state, read by the panel.
  int XCenter = 0;
  int YCenter = 0;
  int ZCenter = 0;
  int XCenterOffset = 0;
  int YCenterOffset = 0;
  bool Is3D = false;
  bool SavedIs3D = false;
  bool IsOrthogonal = false;
  double ZoomFactor = 1.0;
  double PerspectiveFactor = 0.0;
  bool ZoomText = true;
  bool Metafiling = false;
  TRect Bounds;
  TView3DOptions* Options = nullptr;

  TBitmap* Buffer() const { return buffer_.get(); }
  // True until a frame has been copied out with no repaint request since
  // that frame began. Safe to read from any thread.
  bool Dirty() const;

  // Projects (x, y, z) onto the screen in place.
  void ProjectPoint(int& x, int& y, int z) const;

  TColor BackgroundColor() const override;
  TBackgroundMode BackgroundMode() const override;
  TCanvas* SurfaceHandle() const override { return Surface(); }
  bool Monochrome() const override { return monochrome_; }
  TTextAlign TextAlignment() const override;
  bool OffscreenBuffer() const override { return offscreen_; }
  void SetBackgroundColor(TColor color) override;
  void SetBackgroundMode(TBackgroundMode mode) override;
  void SetMonochrome(bool on) override;
  void PlotPixel(int x, int y, TColor color) override;
  void SetTextAlignment(TTextAlign flags) override;
  void SetOffscreenBuffer(bool on) override;
  void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawGraphic(int x, int y, const TBitmap& graphic) override;
  void DrawEllipse(int x0, int y0, int x1, int y1) override;
  void FillArea(const TRect& r) override;
  void BevelFrame(const TRect& r, TColor topLeft, TColor bottomRight, int width) override;
  void PenLineTo(int x, int y) override;
  void PenMoveTo(int x, int y) override;
  void DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawRect(int x0, int y0, int x1, int y1) override;
  void DrawRoundRect(int x0, int y0, int x1, int y1, int w, int h) override;
  void StretchGraphic(const TRect& r, const TBitmap& graphic) override;
  void PaintText(int x, int y, const std::string& text) override;
  void SetClipRect(const TRect& r) override;
  void HorizontalLine(int x0, int x1, int y) override { StrokeLine(x0, y, x1, y); }
  void DrawRectBounds(const TRect& r) override { DrawRect(r.Left, r.Top, r.Right, r.Bottom); }
  void VerticalLine(int x, int y0, int y1) override { StrokeLine(x, y0, x, y1); }
  void EraseArea(const TRect& r) override { FillArea(r); }
  void FillGradient(const TRect& r, TColor start, TColor end,
                    TGradientDirection direction) override;
  // May be called from any thread, also while a frame is being drawn.
  void MarkDirty() override;
  void StrokeLine(int x0, int y0, int x1, int y1) override;
  void DrawPolygon(std::span<const TPoint> points, int highIndex) override;
  void RotatedText(int x, int y, int angle, const std::string& text) override;
  void ClearClip() override;

  void PixelAtDepth(int x, int y, TColor color, int z) override;
  void UnprojectPoint(int& x, int& y, int z) const override;
  TPoint ProjectToPoint(int x, int y, int z) const override;
  TRect BeginFrame(TCanvas* surface, TView3DOptions* options, const TRect& userRect,
                   bool is3D) override;
  void SetProjectionCentre(int depth, const TRect& frameRect, const TRect& plotRect) override;
  void EndFrame(TCanvas* target, TCanvas* ownerSurface, const TRect& userRect) override;
  bool BlitIfClean() override;
  void DrawArrow(TPoint from, TPoint to, int headWidth, int headLength, int z) override;
  void ClipPlotArea(const TRect& r, int z0, int z1) override;
  void DrawCone(const TRect& r, int z0, int z1, bool vertical, int tipPercent) override;
  void DrawBox(const TRect& r, int z0, int z1) override;
  void DrawCylinder(const TRect& r, int z0, int z1, bool vertical) override;
  void HorizontalLineZ(int x0, int x1, int y, int z) override;
  void VerticalLineZ(int x, int y0, int y1, int z) override;
  void DepthLine(int x, int y, int z0, int z1) override;
  void EllipseAtDepth(int x0, int y0, int x1, int y1, int z) override;
  void BeginFlatPlane() override;
  void EndFlatPlane() override;
  void StrokeLineZ(int x0, int y0, int x1, int y1, int z) override;
  void PenMoveToZ(int x, int y, int z) override;
  void PenLineToZ(int x, int y, int z) override;
  void DrawPie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1,
                 double startAngle, double endAngle) override;
  void PlaneBetweenDepths(TPoint p1, TPoint p2, int z0, int z1) override;
  void PlaneAtDepth(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) override;
  void QuadBetweenDepths(const std::array<TPoint, 4>& points, int z0, int z1) override;
  void PolygonAtDepth(std::span<const TPoint> points, int z) override;
  void DrawPyramid(const TRect& r, int z0, int z1) override;
  void RectangleAtDepth(const TRect& r, int z) override;
  void DepthRectY(int x0, int x1, int y, int z0, int z1) override;
  void DepthRectX(int x, int y0, int y1, int z0, int z1) override;
  void RotatedTextAtDepth(int x, int y, int angle, const std::string& text, int z) override;
  void DrawSphere(int x, int y, int z, int radius) override;
  void TextAtDepth(int x, int y, const std::string& text, int z) override;
  void ShadedTriangle(const std::array<TPoint, 3>& points,
                      const std::array<TColor, 3>& colors) override;
  void TriangleAtDepth(TPoint p1, TPoint p2, TPoint p3, int z) override;

 private:
  void FreeBuffer();
  void ComputeCoefficients();
  // The font height for size scaled by the zoom, as TFont::Height wants it.
  int ZoomedFontHeight() const;
  bool ScalesText() const { return ZoomText && ZoomFactor != 1.0; }
  void DottedLine(int x0, int y0, int x1, int y1);
  void ProjectedPolygon(std::span<const TPoint> points, int z);
  // Solids: the polygon of already projected points, drawn only when it
  // faces the viewer (which a flat, zero-area face never does).
  void FacingPolygon(std::span<const TPoint> projected);
  // The wall above the edge from -> to between z0 and z1; edges taken in
  // counter-clockwise order around a face give walls facing outwards.
  void FacingWall(TPoint from, TPoint to, int z0, int z1);
  // Cone and cylinder: tipScale is the tip's width over the base's.
  void TurnedSolid(const TRect& r, int z0, int z1, bool vertical, double tipScale);

  std::unique_ptr<TBitmap> buffer_;
  // The frame before: the window may still share buffer_'s pixels, so the
  // next frame is drawn here and the two change places.
  std::unique_ptr<TBitmap> previous_;
  bool offscreen_ = true;
  // Turns the buffer black and white at EndFrame; without a buffer the
  // canvas draws on the window in colour.
  bool monochrome_ = false;
  // Repaint requests are counted rather than flagged: a frame notes the count
  // it started from and, once copied out, declares only that count clean, so
  // a request arriving mid-frame stays pending. Starts dirty (1 vs 0).
  std::atomic<std::uint64_t> requests_{1};
  std::atomic<std::uint64_t> cleanUpTo_{0};
  std::uint64_t frameRequests_ = 0;  // GUI thread only
  // Rows of the rotation that depth projection applies.
  double c1_ = 1, c2_ = 0, c3_ = 0, c4_ = 0, c5_ = 1, c6_ = 0, c7_ = 0, c8_ = 0, c9_ = 1;
  std::array<TPoint, 4> quadPoints_{};
};

}  // namespace nitko
