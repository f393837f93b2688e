#pragma once

// Framework-internal: the Qt side of a control.

#include <QObject>
#include <QWidget>
#include <functional>

class QKeyEvent;
class QPainter;
class QMouseEvent;
class QWheelEvent;

namespace nitko {

class ControlEvents;
class TControl;

// Turns the Qt events of a control's widget into the control's handlers.
// Every handler runs through DiesIn: a handler may destroy the control or
// its window, and then nothing is touched any more and the event is eaten.
class ControlBridge : public QObject {
 public:
  ControlBridge(TControl& control, ControlEvents& events);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Runs the handler inside the exception guard; true when the control, its
  // widget or its form did not survive it.
  template <typename Handler>
  bool DiesIn(Handler&& handler);

  // Each returns whether the event is eaten.
  bool Mouse(QMouseEvent* e);
  bool Wheel(QWheelEvent* e);
  bool KeyDown(QKeyEvent* e);
  bool KeyUp(QKeyEvent* e);
  bool PropagatedFromChild() const;

  TControl& control_;
  ControlEvents& events_;
  bool left_pressed_ = false;
};

// The widget of a self-drawn control: it only copies the control's surface
// to the screen (the bridge has painted it before).
class SurfaceWidget : public QWidget {
 public:
  explicit SurfaceWidget(ControlEvents& control);

  // Paints what lies outside the client area (a frame) before the surface.
  void SetFramePainter(std::function<void(QPainter&)> painter) {
    frame_painter_ = std::move(painter);
  }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ControlEvents& control_;
  std::function<void(QPainter&)> frame_painter_;
};

}  // namespace nitko
