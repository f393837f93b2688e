#include "framework/speed_button.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

#include "framework/bitmap.h"
#include "framework/canvas.h"

namespace nitko {

// Ends a held press when the release cannot come: the button (or its window)
// is hidden, or a modal window opens over its window and takes the mouse's
// release for itself. Qt tells the blocked window's widgets so at once.
class TSpeedButton::PressWatch : public QObject {
 public:
  explicit PressWatch(TSpeedButton* button) : button_(button) {}

  bool eventFilter(QObject*, QEvent* event) override {
    const auto type = event->type();
    if ((type == QEvent::Hide || type == QEvent::WindowBlocked) && button_->dragging_)
      button_->EndPress();
    return false;
  }

 private:
  TSpeedButton* button_;
};

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner),
      glyph_(std::make_unique<TBitmap>()),
      press_watch_(std::make_unique<PressWatch>(this)) {
  SetClickOnRelease(false);  // it clicks itself, on its own rule
  Widget()->installEventFilter(press_watch_.get());
  SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGlyph(const TBitmap& glyph) {
  glyph_->Assign(glyph);
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value) {
  value = value < 1 ? 1 : value > 4 ? 4 : value;
  if (value == num_glyphs_) return;
  num_glyphs_ = value;
  Invalidate();
}

void TSpeedButton::SetState(TButtonState state) {
  if (state == state_) return;
  state_ = state;
  Repaint();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || !Enabled()) return;
  dragging_ = true;
  SetMouseCapture(true);
  SetState(TButtonState::bsDown);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_) return;
  SetState(ClientRect().Contains(Point(x, y)) ? TButtonState::bsDown : TButtonState::bsUp);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  QPointer<QWidget> alive(Widget());
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!alive || button != TMouseButton::mbLeft || !dragging_) return;
  const bool inside = ClientRect().Contains(Point(x, y));
  EndPress();
  if (inside) Click();
}

void TSpeedButton::EndPress() {
  dragging_ = false;
  SetMouseCapture(false);
  SetState(Enabled() ? TButtonState::bsUp : TButtonState::bsDisabled);
}

bool TSpeedButton::ClickSurvives() {
  QPointer<QWidget> alive(Widget());
  Click();
  return !alive.isNull();
}

bool TSpeedButton::PressHeld() {
  if (dragging_ && QWidget::mouseGrabber() != Widget()) EndPress();
  return dragging_;
}

void TSpeedButton::MouseCaptureLost() {
  if (dragging_) EndPress();
}

void TSpeedButton::EnabledChanged() {
  // Disabled while held: no release click, and a move cannot put it down.
  if (dragging_ && !Enabled()) EndPress();
  SetState(Enabled() ? TButtonState::bsUp : TButtonState::bsDisabled);
}

void TSpeedButton::Paint() {
  TCanvas& c = Canvas();
  const int w = Width(), h = Height();
  const bool down = state_ == TButtonState::bsDown || state_ == TButtonState::bsExclusive;
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(clBtnFace);
  c.FillRect(ClientRect());
  // A raised or sunken edge of two one-pixel frames.
  auto frame = [&](TRect r, TColor topLeft, TColor bottomRight) {
    c.Pen().SetColor(topLeft);
    c.MoveTo(r.Left, r.Bottom - 1);
    c.LineTo(r.Left, r.Top);
    c.LineTo(r.Right - 1, r.Top);
    c.Pen().SetColor(bottomRight);
    c.LineTo(r.Right - 1, r.Bottom - 1);
    c.LineTo(r.Left - 1, r.Bottom - 1);
  };
  const TRect outer = ClientRect();
  const TRect inner = InflateRect(outer, -1, -1);
  if (down) {
    frame(outer, cl3DDkShadow, clBtnHighlight);
    frame(inner, clBtnShadow, cl3DLight);
  } else {
    frame(outer, clBtnHighlight, cl3DDkShadow);
    frame(inner, cl3DLight, clBtnShadow);
  }
  if (glyph_->Empty()) return;
  const int gw = glyph_->Width() / num_glyphs_, gh = glyph_->Height();
  const int offset = down ? 1 : 0;
  const int x = (w - gw) / 2 + offset, y = (h - gh) / 2 + offset;
  const TColor transparent = glyph_->Surface().Pixel(0, gh - 1);
  if (num_glyphs_ == 1) {
    c.DrawTransparent(x, y, *glyph_, transparent);
  } else {
    // The first image of the strip is the normal one.
    TBitmap first(gw, gh);
    first.Canvas().CopyRect(Rect(0, 0, gw, gh), glyph_->Canvas(), Rect(0, 0, gw, gh));
    c.DrawTransparent(x, y, first, transparent);
  }
}

}  // namespace nitko
