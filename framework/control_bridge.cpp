#include "framework/control_bridge.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "framework/control.h"
#include "framework/exception_handling.h"
#include "framework/form.h"
#include "framework/keys.h"
#include "framework/surface.h"
#include "runtime/text_encoding.h"

namespace nitko {

TShiftState ShiftFromQt(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
  TShiftState s = 0;
  if (m & Qt::ShiftModifier) s |= ssShift;
  if (m & Qt::AltModifier) s |= ssAlt;
  if (m & Qt::ControlModifier) s |= ssCtrl;
  if (b & Qt::LeftButton) s |= ssLeft;
  if (b & Qt::RightButton) s |= ssRight;
  if (b & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

uint16_t VirtualKeyFromQt(const QKeyEvent& e) {
  const int k = e.key();
  if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
    return static_cast<uint16_t>(k);  // the same ASCII codes
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return static_cast<uint16_t>(VK_F1 + (k - Qt::Key_F1));
  switch (k) {
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Shift:
      return VK_SHIFT;
    case Qt::Key_Control:
      return VK_CONTROL;
    case Qt::Key_Alt:
      return VK_MENU;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_PageUp:
      return VK_PRIOR;
    case Qt::Key_PageDown:
      return VK_NEXT;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Insert:
      return VK_INSERT;
    case Qt::Key_Delete:
      return VK_DELETE;
    default:
      return 0;
  }
}

namespace {

TMouseButton ButtonFromQt(Qt::MouseButton b) {
  if (b == Qt::RightButton) return TMouseButton::mbRight;
  if (b == Qt::MiddleButton) return TMouseButton::mbMiddle;
  return TMouseButton::mbLeft;
}

}  // namespace

ControlBridge::ControlBridge(TControl* control) : control_(control) {}

bool ControlBridge::eventFilter(QObject* watched, QEvent* event) {
  if (watched != control_->Widget() || control_->IsDestroying()) return false;
  bool eaten = false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      Guarded([&] { eaten = Mouse(static_cast<QMouseEvent*>(event)); });
      break;
    case QEvent::KeyPress:
      if (!resending_) Guarded([&] { eaten = KeyDown(static_cast<QKeyEvent*>(event)); });
      break;
    case QEvent::KeyRelease:
      Guarded([&] { eaten = KeyUp(static_cast<QKeyEvent*>(event)); });
      break;
    case QEvent::FocusIn:
      if (FocusFromTeardown()) break;
      if (auto* win = dynamic_cast<TWinControl*>(control_)) {
        win->focused_by_mouse_ = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
        Guarded([&] { win->DoEnter(); });
      }
      break;
    case QEvent::FocusOut:
      if (FocusFromTeardown()) break;
      if (auto* win = dynamic_cast<TWinControl*>(control_)) Guarded([&] { win->DoExit(); });
      break;
    case QEvent::UngrabMouse:
      if (control_->mouse_capture_) {
        control_->mouse_capture_ = false;
        Guarded([&] { control_->MouseCaptureLost(); });
      }
      break;
    case QEvent::Resize:
      // Only windows are resized by someone else than SetBounds, and their
      // widget holds the client area.
      if (auto* form = dynamic_cast<TCustomForm*>(control_);
          form && control_->Widget()->isWindow()) {
        const QSize s = control_->Widget()->size();
        Guarded([&] { form->WindowResized(s.width(), s.height()); });
      }
      break;
    default:
      break;
  }
  return eaten;
}

// A window being destroyed takes the focus from the control inside it; that
// is no enter or exit of the control, whose handlers may reach the dying
// window.
bool ControlBridge::FocusFromTeardown() const {
  for (const TControl* c = control_; c != nullptr; c = c->parent_)
    if (c->detaching_ || c->IsDestroying()) return true;
  return false;
}

bool ControlBridge::Mouse(QMouseEvent* e) {
  const int x = static_cast<int>(e->position().x());
  const int y = static_cast<int>(e->position().y());
  TShiftState shift = ShiftFromQt(e->modifiers(), e->buttons());
  const bool selfDrawn = control_->IsSelfDrawn();
  const bool owned =
      e->type() != QEvent::MouseMove && control_->OwnsMouseButton(ButtonFromQt(e->button()));
  switch (e->type()) {
    case QEvent::MouseButtonPress: {
      if (e->button() == Qt::LeftButton) left_pressed_ = true;
      QPointer<ControlBridge> alive(this);
      control_->MouseDown(ButtonFromQt(e->button()), shift, x, y);
      if (!alive) return true;
      break;
    }
    case QEvent::MouseButtonDblClick: {
      QPointer<ControlBridge> alive(this);
      control_->DblClick();
      if (!alive) return true;
      control_->MouseDown(ButtonFromQt(e->button()), shift | ssDouble, x, y);
      if (!alive) return true;
      break;
    }
    case QEvent::MouseButtonRelease: {
      QPointer<ControlBridge> alive(this);
      control_->MouseUp(ButtonFromQt(e->button()), shift, x, y);
      if (!alive) return true;  // the handler destroyed the control
      const bool click = e->button() == Qt::LeftButton && left_pressed_ &&
                         control_->ClientRect().Contains(Point(x, y));
      if (e->button() == Qt::LeftButton) left_pressed_ = false;
      // Standard controls click through their own widget's signal.
      if (click && selfDrawn && control_->ClickOnRelease() && !control_->IsDestroying())
        control_->Click();
      break;
    }
    case QEvent::MouseMove:
      control_->MouseMove(shift, x, y);
      break;
    default:
      break;
  }
  return selfDrawn || owned;
}

bool ControlBridge::PropagatedFromChild() const {
  // Qt hands a key a focused child left unused on to its parents; the child's
  // own bridge has already routed it.
  const QWidget* focus = QApplication::focusWidget();
  return focus != nullptr && focus != control_->Widget() &&
         control_->Widget()->isAncestorOf(focus) && focus->window() == control_->Widget()->window();
}

bool ControlBridge::KeyDown(QKeyEvent* e) {
  auto* win = dynamic_cast<TWinControl*>(control_);
  if (win == nullptr || PropagatedFromChild()) return false;
  QPointer<ControlBridge> alive(this);
  TCustomForm* form = control_->ParentForm();
  uint16_t key = VirtualKeyFromQt(*e);
  const TShiftState shift = ShiftFromQt(e->modifiers(), Qt::NoButton);
  if (key != 0) {
    if (form != nullptr && form != control_ && form->PreviewKeyDown(key, shift)) return true;
    if (!alive) return true;
    if (key != 0) win->KeyDown(key, shift);
    if (!alive || key == 0) return true;
    if (form != nullptr && form->DialogKey(key, shift)) return true;
  }

  // Backspace, Enter and Escape arrive as characters too, so character
  // filters can refuse them.
  int code = -1;
  if (!(shift & (ssAlt | ssCtrl)) && (key == VK_BACK || key == VK_RETURN || key == VK_ESCAPE)) {
    code = key;
  } else {
    const QString text = e->text();
    if (text.size() != 1 || !text[0].isPrint() || (e->modifiers() & Qt::ControlModifier))
      return false;
    code = EncodeWindows1250(text[0].unicode());
    if (code < 0) return false;  // no 8-bit code: the widget takes it as it is
  }
  char ch = static_cast<char>(code);
  if (form != nullptr && form != control_ && form->PreviewKeyPress(ch)) return true;
  if (ch != 0) win->KeyPress(ch);
  if (ch == 0) return true;
  if (ch == static_cast<char>(code)) return false;
  // The handler replaced the character: give the widget the new one.
  const QString replaced = QString::fromStdString(DecodeWindows1250(std::string(1, ch)));
  QKeyEvent again(QEvent::KeyPress, 0, e->modifiers(), replaced);
  resending_ = true;
  QApplication::sendEvent(control_->Widget(), &again);
  resending_ = false;
  return true;
}

bool ControlBridge::KeyUp(QKeyEvent* e) {
  auto* win = dynamic_cast<TWinControl*>(control_);
  if (win == nullptr || PropagatedFromChild()) return false;
  uint16_t key = VirtualKeyFromQt(*e);
  if (key == 0) return false;
  win->KeyUp(key, ShiftFromQt(e->modifiers(), Qt::NoButton));
  return key == 0;
}

SurfaceWidget::SurfaceWidget(TControl* control) : control_(control) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
  if (control_->IsDestroying()) return;
  if (control_->IsInvalid()) Guarded([&] { control_->PaintSurface(); });
  QPainter p(this);
  p.drawImage(0, 0, control_->Surface().Image());
}

}  // namespace nitko
