#pragma once

#include <algorithm>
#include <atomic>
#include <memory>

#include "chart/chart_gradient.h"
#include "chart/tee_canvas.h"
#include "chart/view_3d_options.h"
#include "chart/zoom_panning_record.h"
#include "framework/panel.h"
#include "framework/types.h"

namespace nitko {

class TBitmap;

inline constexpr const char* SChart3DPercent = "3D effect percent must be between %d and %d";
inline constexpr int kMinChart3DPercent = 1;
inline constexpr int kMaxChart3DPercent = 100;
inline constexpr int kMaxAnimatedZoomSteps = 64;

// The panel every chart paints on: its canvas with the off-screen buffer,
// the view options, the margins and the frame and plot rectangles. A paint
// with no repaint request since the last frame only copies that frame.
class TCustomTeePanel : public TCustomPanel {
 public:
  ~TCustomTeePanel() override;

  // The panel's own canvas, attached to the control's surface between frames
  // and to the off-screen buffer while a frame is drawn. (The control's
  // surface canvas is TCustomControl::Canvas().)
  TTeeCanvas3D& Canvas() { return *canvas_; }
  const TTeeCanvas3D& Canvas() const { return *canvas_; }

  TView3DOptions& View3DOptions() { return *view_3d_options_; }
  const TView3DOptions& View3DOptions() const { return *view_3d_options_; }
  bool View3D() const { return view_3d_; }
  void SetView3D(bool value);
  int Chart3DPercent() const { return chart_3d_percent_; }
  // Raises ChartException outside 1..100; the value is then not stored.
  void SetChart3DPercent(int value);

  // Percentages of the frame width (left, right) or height (top, bottom).
  int MarginLeft() const { return margin_left_; }
  void SetMarginLeft(int value);
  int MarginTop() const { return margin_top_; }
  void SetMarginTop(int value);
  int MarginRight() const { return margin_right_; }
  void SetMarginRight(int value);
  int MarginBottom() const { return margin_bottom_; }
  void SetMarginBottom(int value);
  // Margins of a printed page, in percent.
  const TRect& PrintMargins() const { return print_margins_; }

  // The frame being drawn (the canvas' drawing rectangle).
  const TRect& FrameRect() const { return frame_rect_; }
  // Walls, grid and series are drawn inside it; titles and axes around it.
  const TRect& PlotRect() const { return plot_rect_; }
  void SetPlotRect(const TRect& value) { plot_rect_ = value; }
  int PlotWidth() const { return plot_rect_.Width(); }
  int PlotHeight() const { return plot_rect_.Height(); }
  int PlotXCenter() const { return (plot_rect_.Left + plot_rect_.Right) / 2; }
  int PlotYCenter() const { return (plot_rect_.Top + plot_rect_.Bottom) / 2; }
  // Keeps PlotRect inside the frame and not inverted, and derives its
  // width, height and centre.
  void RecalcChartSize();

  bool Monochrome() const { return canvas_->Monochrome(); }
  void SetMonochrome(bool value);
  // Frames go through the off-screen buffer (default) or straight onto the
  // control's surface.
  bool BufferedDisplay() const { return canvas_->OffscreenBuffer(); }
  void SetBufferedDisplay(bool value);
  // While printing, paints do nothing and white label texts are drawn black.
  bool Printing() const { return printing_; }
  void SetPrinting(bool value) { printing_ = value; }
  // Off while the panel is being constructed: requests are then ignored.
  bool RepaintEnabled() const { return repaint_enabled_; }

  // The left-button drag that zooms and the right-button drag that scrolls.
  TZoomPanningRecord& ZoomDrag() { return zoom_; }
  const TZoomPanningRecord& ZoomDrag() const { return zoom_; }
  TDragRecord& ScrollDrag() { return scroll_; }
  const TDragRecord& ScrollDrag() const { return scroll_; }

  // Marks the cached frame stale and invalidates the control, so that the
  // next paint draws a new frame. The canvas side is safe from any thread;
  // the invalidation belongs to the GUI thread like every control call.
  virtual void RequestRepaint();
  // Requests honoured since construction.
  long long RepaintRequestCount() const { return repaint_requests_.load(); }
  // What every owned pen, brush, font and sub-object calls when it changes.
  virtual void AttributeChanged() { RequestRepaint(); }
  // The paint handler: a copy of the cached frame when nothing changed,
  // else a new frame drawn onto the control's surface.
  void PaintControl();
  // One complete frame onto surface, in userRect.
  virtual void DrawChart(TCanvas* surface, const TRect& userRect);
  // Everything that one frame shows, inside frameRect.
  virtual void DrawChartContent(const TRect& frameRect);

 protected:
  explicit TCustomTeePanel(TComponent* owner);

  void Paint() override { PaintControl(); }
  void Resize() override;
  void ColorChanged() override;
  void FrameChanged() override { RequestRepaint(); }

  virtual void DrawPanelBorder(const TRect& rect);
  virtual void UseTitleFont(const TFont& font);
  virtual void DrawBackImage(const TRect&) {}
  virtual void FillPanelArea(const TRect& rect);
  virtual void PaintPanelBackground(const TRect& rect);

  // The zoom rectangle lives on the control's surface only, never in the
  // cached frame: every frame or copy that lands on the surface wipes it,
  // and PaintControl draws it again at the drag's corners. Show draws it at
  // ZoomDrag's corners unless it is there already; Hide draws it once more
  // where it was shown (not-xor twice restores the pixels). Neither shows
  // the surface on screen: SurfaceChanged does.
  void ShowZoomRectangle();
  void HideZoomRectangle();

 private:
  void DrawZoomRectangle(const TRect& corners);

  std::unique_ptr<TView3DOptions> view_3d_options_;
  std::unique_ptr<TTeeCanvas3D> canvas_;
  bool view_3d_ = true;
  int chart_3d_percent_ = 15;
  int margin_left_ = 3, margin_top_ = 4, margin_right_ = 3, margin_bottom_ = 4;
  TRect print_margins_{15, 15, 15, 15};
  TRect frame_rect_;
  TRect plot_rect_;
  bool printing_ = false;
  bool repaint_enabled_ = false;
  std::atomic<long long> repaint_requests_{0};
  TZoomPanningRecord zoom_;
  TDragRecord scroll_;
  bool zoom_rect_shown_ = false;
  TRect zoom_rect_;  // corners of the shown rectangle
};

enum class TTeeBackImageMode { pbmStretch, pbmTile, pbmCenter };
enum class TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

// Adds the background gradient and image, and the zoom and scroll settings.
class TCustomTeePanelExtended : public TCustomTeePanel {
 public:
  ~TCustomTeePanelExtended() override;

  TChartGradient& Gradient() { return *gradient_; }
  const TChartGradient& Gradient() const { return *gradient_; }
  // Empty unless something is loaded into it; drawn only when not empty.
  TBitmap& BackImage() { return *back_image_; }
  TTeeBackImageMode BackImageMode() const { return back_image_mode_; }
  void SetBackImageMode(TTeeBackImageMode value);
  // Inside the plot area instead of behind the whole chart.
  bool BackImageInside() const { return back_image_inside_; }
  void SetBackImageInside(bool value);
  // A zoom then moves there in AnimatedZoomSteps frames, held to
  // 1..kMaxAnimatedZoomSteps: each frame is drawn and shown while the GUI
  // thread waits, and with each going a third of the remaining way, frames
  // past a few dozen move nothing by a pixel.
  bool AnimatedZoom() const { return animated_zoom_; }
  void SetAnimatedZoom(bool value) { animated_zoom_ = value; }
  int AnimatedZoomSteps() const { return animated_zoom_steps_; }
  void SetAnimatedZoomSteps(int value) {
    animated_zoom_steps_ = std::clamp(value, 1, kMaxAnimatedZoomSteps);
  }
  bool AllowZoom() const { return allow_zoom_; }
  void SetAllowZoom(bool value) { allow_zoom_ = value; }
  TPanningMode AllowPanning() const { return allow_panning_; }
  void SetAllowPanning(TPanningMode value) { allow_panning_ = value; }

 protected:
  explicit TCustomTeePanelExtended(TComponent* owner);

  void FillPanelArea(const TRect& rect) override;
  void DrawBackImage(const TRect& rect) override;
  // The image into rect by BackImageMode.
  void DrawImageInto(const TRect& rect);

 private:
  std::unique_ptr<TChartGradient> gradient_;
  std::unique_ptr<TBitmap> back_image_;
  TTeeBackImageMode back_image_mode_ = TTeeBackImageMode::pbmStretch;
  bool back_image_inside_ = false;
  bool animated_zoom_ = false;
  int animated_zoom_steps_ = 8;
  bool allow_zoom_ = true;
  TPanningMode allow_panning_ = TPanningMode::pmBoth;
};

}  // namespace nitko
