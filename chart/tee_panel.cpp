#include "chart/tee_panel.h"

#include <algorithm>

#include "chart/chart_exceptions.h"
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/set_if_changed.h"
#include "framework/system_colors.h"
#include "runtime/message_format.h"

namespace nitko {

// --- TCustomTeePanel --------------------------------------------------------

TCustomTeePanel::TCustomTeePanel(TComponent* owner)
    : TCustomPanel(owner),
      view_3d_options_(std::make_unique<TView3DOptions>()),
      canvas_(std::make_unique<TTeeCanvas3D>()) {
  view_3d_options_->OnRepaint = [this] { RequestRepaint(); };
  canvas_->AttachSurface(&TCustomControl::Canvas());
  SetBounds(Left(), Top(), 400, 250);
  repaint_enabled_ = true;
}

TCustomTeePanel::~TCustomTeePanel() {
  MarkDestroying();
  repaint_enabled_ = false;
  canvas_.reset();
  view_3d_options_.reset();
}

void TCustomTeePanel::SetView3D(bool value) {
  SetIfChanged(view_3d_, value, [this] { RequestRepaint(); });
}

void TCustomTeePanel::SetChart3DPercent(int value) {
  if (value < kMinChart3DPercent || value > kMaxChart3DPercent)
    throw ChartException(FormatMessage(
        SChart3DPercent, {static_cast<long long>(kMinChart3DPercent),
                          static_cast<long long>(kMaxChart3DPercent)}));
  SetIfChanged(chart_3d_percent_, value, [this] { RequestRepaint(); });
}

// Margins are percents of the chart: held to a whole chart either way, a
// plot edge stays within int.
static int ClampPercent(int value) {
  return std::clamp(value, -100, 100);
}

void TCustomTeePanel::SetMarginLeft(int value) {
  SetIfChanged(margin_left_, ClampPercent(value), [this] { RequestRepaint(); });
}

void TCustomTeePanel::SetMarginTop(int value) {
  SetIfChanged(margin_top_, ClampPercent(value), [this] { RequestRepaint(); });
}

void TCustomTeePanel::SetMarginRight(int value) {
  SetIfChanged(margin_right_, ClampPercent(value), [this] { RequestRepaint(); });
}

void TCustomTeePanel::SetMarginBottom(int value) {
  SetIfChanged(margin_bottom_, ClampPercent(value), [this] { RequestRepaint(); });
}

void TCustomTeePanel::SetMonochrome(bool value) {
  if (value == canvas_->Monochrome()) return;
  canvas_->SetMonochrome(value);
  RequestRepaint();
}

void TCustomTeePanel::SetBufferedDisplay(bool value) {
  if (value == canvas_->OffscreenBuffer()) return;
  canvas_->SetOffscreenBuffer(value);
  RequestRepaint();
}

void TCustomTeePanel::RecalcChartSize() {
  TRect& p = plot_rect_;
  p.Left = std::max(p.Left, frame_rect_.Left);
  p.Top = std::max(p.Top, frame_rect_.Top);
  if (p.Right < p.Left)
    p.Right = p.Left + 1;
  else if (p.Right == p.Left)
    p.Right = p.Left + Width();
  if (p.Bottom < p.Top)
    p.Bottom = p.Top + 1;
  else if (p.Bottom == p.Top)
    p.Bottom = p.Top + Height();
}

void TCustomTeePanel::RequestRepaint() {
  if (!repaint_enabled_ || IsDestroying()) return;
  repaint_requests_.fetch_add(1, std::memory_order_relaxed);
  canvas_->MarkDirty();
  Invalidate();
}

void TCustomTeePanel::Resize() {
  // The cached frame has the old size: the next paint draws anew, and the
  // resized surface holds no rectangle to erase.
  if (canvas_) canvas_->MarkDirty();
  zoom_rect_shown_ = false;
  TCustomPanel::Resize();
}

void TCustomTeePanel::ColorChanged() {
  TCustomPanel::ColorChanged();
  RequestRepaint();
}

void TCustomTeePanel::PaintControl() {
  if (printing_) return;
  // A cached frame of another size is never shown, whatever the canvas says.
  const TBitmap* cached = canvas_->Buffer();
  const bool fits =
      cached != nullptr && cached->Width() == ClientWidth() && cached->Height() == ClientHeight();
  if (fits && canvas_->BlitIfClean()) {
    zoom_rect_shown_ = false;
  } else {
    try {
      DrawChart(&TCustomControl::Canvas(), ClientRect());
    } catch (...) {
      // Drawn straight onto the surface, the failed frame has painted over
      // the rectangle; a buffered one left the surface as it was.
      if (!canvas_->OffscreenBuffer()) zoom_rect_shown_ = false;
      throw;
    }
    zoom_rect_shown_ = false;
  }
  // A drag in progress keeps its rectangle over the new frame.
  if (zoom_.Active) ShowZoomRectangle();
}

void TCustomTeePanel::ShowZoomRectangle() {
  if (zoom_rect_shown_ || !zoom_.Active) return;
  zoom_rect_ = {zoom_.X0, zoom_.Y0, zoom_.X1, zoom_.Y1};
  DrawZoomRectangle(zoom_rect_);
  zoom_rect_shown_ = true;
}

void TCustomTeePanel::HideZoomRectangle() {
  if (!zoom_rect_shown_) return;
  DrawZoomRectangle(zoom_rect_);
  zoom_rect_shown_ = false;
}

void TCustomTeePanel::DrawZoomRectangle(const TRect& corners) {
  // Between frames the canvas draws on the control's own surface.
  TTeeCanvas3D& c = *canvas_;
  TColor rgb = ColorToRGB(Color());
  if (rgb == clWhite) rgb = clBlack;
  c.Pen().SetColor(rgb);
  c.Pen().SetMode(TPenMode::pmNotXor);
  c.Pen().SetStyle(TPenStyle::psSolid);
  c.Pen().SetWidth(1);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.DrawRect(corners.Left, corners.Top, corners.Right, corners.Bottom);
  c.Pen().SetMode(TPenMode::pmCopy);
}

void TCustomTeePanel::DrawChart(TCanvas* surface, const TRect& userRect) {
  TCanvas* own = &TCustomControl::Canvas();
  frame_rect_ = canvas_->BeginFrame(surface, view_3d_options_.get(), userRect, view_3d_);
  try {
    const int w = frame_rect_.Width();
    const int h = frame_rect_.Height();
    const int border = BorderWidth();
    plot_rect_ = {frame_rect_.Left + border + MulDiv(margin_left_, w, 100),
                  frame_rect_.Top + border + MulDiv(margin_top_, h, 100),
                  frame_rect_.Right - border - MulDiv(margin_right_, w, 100),
                  frame_rect_.Bottom - border - MulDiv(margin_bottom_, h, 100)};
    RecalcChartSize();
    DrawChartContent(frame_rect_);
  } catch (...) {
    // An event handler failed: the half-drawn frame is not declared clean.
    canvas_->AttachSurface(own);
    throw;
  }
  canvas_->EndFrame(surface, own, userRect);
}

void TCustomTeePanel::DrawChartContent(const TRect& frameRect) {
  PaintPanelBackground(frameRect);
}

void TCustomTeePanel::PaintPanelBackground(const TRect& rect) {
  FillPanelArea(rect);
  DrawBackImage(rect);
  if (!canvas_->FullRotationCapable()) DrawPanelBorder(rect);
}

void TCustomTeePanel::FillPanelArea(const TRect& rect) {
  canvas_->Brush().SetColor(Color());
  canvas_->Brush().SetStyle(TBrushStyle::bsSolid);
  canvas_->EraseArea(rect);
}

void TCustomTeePanel::DrawPanelBorder(const TRect& rect) {
  TCanvas* c = canvas_->Surface();
  if (c == nullptr) return;
  c->Pen().SetStyle(TPenStyle::psSolid);
  c->Pen().SetWidth(1);
  c->Pen().SetMode(TPenMode::pmCopy);
  c->Brush().SetStyle(TBrushStyle::bsClear);
  TRect r = rect;
  DrawBevels(*c, r);
}

void TCustomTeePanel::UseTitleFont(const TFont& font) {
  canvas_->Font().Assign(font);
}

// --- TCustomTeePanelExtended --------------------------------------------------

TCustomTeePanelExtended::TCustomTeePanelExtended(TComponent* owner)
    : TCustomTeePanel(owner),
      gradient_(std::make_unique<TChartGradient>()),
      back_image_(std::make_unique<TBitmap>()) {
  gradient_->OnChange = [this] { AttributeChanged(); };
}

TCustomTeePanelExtended::~TCustomTeePanelExtended() {
  MarkDestroying();
  gradient_.reset();
  back_image_.reset();
}

void TCustomTeePanelExtended::SetBackImageMode(TTeeBackImageMode value) {
  SetIfChanged(back_image_mode_, value, [this] { RequestRepaint(); });
}

void TCustomTeePanelExtended::SetBackImageInside(bool value) {
  SetIfChanged(back_image_inside_, value, [this] { RequestRepaint(); });
}

void TCustomTeePanelExtended::FillPanelArea(const TRect& rect) {
  if (!gradient_->Visible()) {
    TCustomTeePanel::FillPanelArea(rect);
    return;
  }
  Canvas().FillGradient(rect, gradient_->StartColor(), gradient_->EndColor(),
                        gradient_->Direction());
}

void TCustomTeePanelExtended::DrawBackImage(const TRect& rect) {
  if (!back_image_inside_) DrawImageInto(rect);
}

void TCustomTeePanelExtended::DrawImageInto(const TRect& rect) {
  const TBitmap& image = *back_image_;
  if (image.Empty()) return;
  TCanvas3D& c = Canvas();
  switch (back_image_mode_) {
    case TTeeBackImageMode::pbmStretch:
      c.StretchGraphic(rect, image);
      break;
    case TTeeBackImageMode::pbmCenter:
      c.DrawGraphic((rect.Left + rect.Right - image.Width()) / 2,
                    (rect.Top + rect.Bottom - image.Height()) / 2, image);
      break;
    case TTeeBackImageMode::pbmTile:
      c.SetClipRect(rect);
      for (int y = rect.Top; y < rect.Bottom; y += image.Height())
        for (int x = rect.Left; x < rect.Right; x += image.Width()) c.DrawGraphic(x, y, image);
      c.ClearClip();
      break;
  }
}

}  // namespace nitko
