#include "framework/control_bridge.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QWheelEvent>

#include "framework/control.h"
#include "framework/exception_handling.h"
#include "framework/form.h"
#include "framework/keys.h"
#include "framework/virtual_keys.h"
#include "runtime/text_encoding.h"

namespace nitko {

namespace {

TMouseButton ButtonFromQt(Qt::MouseButton b) {
  if (b == Qt::RightButton) return TMouseButton::mbRight;
  if (b == Qt::MiddleButton) return TMouseButton::mbMiddle;
  return TMouseButton::mbLeft;
}

// The key event being re-sent with a character a handler replaced: the
// widget types it, the control does not see it a second time. Not a member:
// the re-sent key may destroy the control.
const QEvent* g_resent = nullptr;

}  // namespace

ControlBridge::ControlBridge(TControl& control, ControlEvents& events)
    : control_(control), events_(events) {}

template <typename Handler>
bool ControlBridge::DiesIn(Handler&& handler) {
  // The bridge dies with the control; a control that outlives its form is
  // taken out of it, and the rest of this event would reach the dead form.
  QPointer<ControlBridge> self(this);
  TCustomForm* form = control_.ParentForm();
  QPointer<QWidget> window(form != nullptr ? form->Widget() : nullptr);
  Guarded(handler);
  return self.isNull() || (form != nullptr && window.isNull());
}

bool ControlBridge::eventFilter(QObject* watched, QEvent* event) {
  if (watched != control_.Widget() || control_.IsDestroying()) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return Mouse(static_cast<QMouseEvent*>(event));
    case QEvent::Wheel:
      return Wheel(static_cast<QWheelEvent*>(event));
    case QEvent::Leave:
      return DiesIn([&] { events_.DeliverMouseLeave(); });
    case QEvent::KeyPress:
      return event != g_resent && KeyDown(static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
      return KeyUp(static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn: {
      // A window being destroyed takes the focus from the control inside
      // it; that is no enter or exit, whose handlers may reach the dying
      // window.
      if (events_.InTeardown()) return false;
      const bool byMouse = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
      return DiesIn([&] { events_.DeliverEnter(byMouse); });
    }
    case QEvent::FocusOut:
      if (events_.InTeardown()) return false;
      return DiesIn([&] { events_.DeliverExit(); });
    case QEvent::UngrabMouse:
      return DiesIn([&] { events_.DeliverCaptureLost(); });
    case QEvent::Resize: {
      const QSize s = static_cast<QResizeEvent*>(event)->size();
      return DiesIn([&] { events_.DeliverResize(s.width(), s.height()); });
    }
    case QEvent::Paint:
      return events_.DrawsItself() && DiesIn([&] { events_.DeliverPaint(); });
    default:
      return false;
  }
}

bool ControlBridge::Mouse(QMouseEvent* e) {
  const TPoint origin = events_.ClientOrigin();
  const int x = static_cast<int>(e->position().x()) - origin.X;
  const int y = static_cast<int>(e->position().y()) - origin.Y;
  const TShiftState shift = ShiftFromQt(e->modifiers(), e->buttons());
  const TMouseButton button = ButtonFromQt(e->button());
  const bool left = e->button() == Qt::LeftButton;
  // A self-drawn control takes the mouse itself; a standard control's widget
  // gets it unless the control keeps that button.
  const bool eaten = events_.DrawsItself() ||
                     (e->type() != QEvent::MouseMove && events_.KeepsMouseButton(button));
  switch (e->type()) {
    case QEvent::MouseButtonPress:
      if (left) left_pressed_ = true;
      if (DiesIn([&] { events_.DeliverMouseDown(button, shift, x, y); })) return true;
      break;
    case QEvent::MouseButtonDblClick:
      if (DiesIn([&] { events_.DeliverDblClick(); })) return true;
      if (DiesIn([&] { events_.DeliverMouseDown(button, shift | ssDouble, x, y); })) return true;
      break;
    case QEvent::MouseButtonRelease: {
      if (DiesIn([&] { events_.DeliverMouseUp(button, shift, x, y); })) return true;
      const bool click = left && left_pressed_ && control_.ClientRect().Contains(Point(x, y));
      if (left) left_pressed_ = false;
      // Standard controls click through their own widget's signal.
      if (click && events_.ClicksOnRelease() && DiesIn([&] { events_.DeliverClick(); }))
        return true;
      break;
    }
    default:
      if (DiesIn([&] { events_.DeliverMouseMove(shift, x, y); })) return true;
      break;
  }
  return eaten;
}

bool ControlBridge::Wheel(QWheelEvent* e) {
  // Only the vertical wheel; a tilt wheel's sideways turns are not notches.
  const int delta = e->angleDelta().y();
  if (delta == 0) return false;
  const TPoint origin = events_.ClientOrigin();
  const int x = static_cast<int>(e->position().x()) - origin.X;
  const int y = static_cast<int>(e->position().y()) - origin.Y;
  const TShiftState shift = ShiftFromQt(e->modifiers(), e->buttons());
  if (DiesIn([&] { events_.DeliverMouseWheel(shift, delta, x, y); })) return true;
  // A self-drawn control keeps its wheel; a standard widget scrolls too.
  return events_.DrawsItself();
}

bool ControlBridge::PropagatedFromChild() const {
  // Qt hands a key a focused child left unused on to its parents; the child's
  // own bridge has already routed it.
  const QWidget* focus = QApplication::focusWidget();
  const QWidget* own = control_.Widget();
  return focus != nullptr && focus != own && own->isAncestorOf(focus) &&
         focus->window() == own->window();
}

bool ControlBridge::KeyDown(QKeyEvent* e) {
  if (!events_.Windowed() || PropagatedFromChild()) return false;
  TCustomForm* form = control_.ParentForm();
  const bool preview = form != nullptr && form != &control_;
  uint16_t key = VirtualKeyFromQt(*e);
  const TShiftState shift = ShiftFromQt(e->modifiers(), Qt::NoButton);
  bool taken = false;
  if (key != 0) {
    if (preview && DiesIn([&] { taken = form->PreviewKeyDown(key, shift); })) return true;
    if (taken) return true;
    if (DiesIn([&] { events_.DeliverKeyDown(key, shift); })) return true;
    if (key == 0) return true;
    if (form != nullptr && DiesIn([&] { taken = form->DialogKey(key, shift); })) return true;
    if (taken) return true;
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
  if (preview && DiesIn([&] { taken = form->PreviewKeyPress(ch); })) return true;
  if (taken) return true;
  if (ch != 0 && DiesIn([&] { events_.DeliverKeyPress(ch); })) return true;
  if (ch == 0) return true;
  if (ch == static_cast<char>(code)) return false;
  // The handler replaced the character: give the widget the new one.
  QWidget* widget = control_.Widget();
  DiesIn([&] {
    const QString replaced = QString::fromStdString(DecodeWindows1250(std::string(1, ch)));
    QKeyEvent again(QEvent::KeyPress, 0, e->modifiers(), replaced);
    QScopedValueRollback<const QEvent*> resending(g_resent, &again);
    QApplication::sendEvent(widget, &again);
  });
  return true;
}

bool ControlBridge::KeyUp(QKeyEvent* e) {
  if (!events_.Windowed() || PropagatedFromChild()) return false;
  uint16_t key = VirtualKeyFromQt(*e);
  if (key == 0) return false;
  const TShiftState shift = ShiftFromQt(e->modifiers(), Qt::NoButton);
  if (DiesIn([&] { events_.DeliverKeyUp(key, shift); })) return true;
  return key == 0;
}

SurfaceWidget::SurfaceWidget(ControlEvents& control) : control_(control) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Moves without a button held reach the control too (hover cursors).
  setMouseTracking(true);
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
  if (control_.InTeardown()) return;
  QPainter p(this);
  if (frame_painter_) frame_painter_(p);
  const TPoint origin = control_.ClientOrigin();
  p.drawImage(origin.X, origin.Y, control_.SurfaceImage());
}

}  // namespace nitko
