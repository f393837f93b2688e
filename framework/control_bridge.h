#pragma once

// Framework-internal: the Qt side of a control.

#include <QObject>
#include <QWidget>

#include "framework/events.h"

class QKeyEvent;
class QMouseEvent;

namespace nitko {

class TControl;

// Turns the Qt events of a control's widget into the control's virtuals.
class ControlBridge : public QObject {
 public:
  explicit ControlBridge(TControl* control);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Mouse(QMouseEvent* e);
  bool KeyDown(QKeyEvent* e);
  bool KeyUp(QKeyEvent* e);
  bool PropagatedFromChild() const;
  bool FocusFromTeardown() const;

  TControl* control_;
  bool left_pressed_ = false;
  bool resending_ = false;
};

// The widget of a self-drawn control: it only copies the control's surface
// to the screen.
class SurfaceWidget : public QWidget {
 public:
  explicit SurfaceWidget(TControl* control);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TControl* control_;
};

TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
uint16_t VirtualKeyFromQt(const QKeyEvent& e);

}  // namespace nitko
