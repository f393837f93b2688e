#pragma once

// Framework-internal: the calls a control's Qt side makes on it.

#include <cstdint>

#include "framework/events.h"
#include "framework/types.h"

class QImage;

namespace nitko {

// What ControlBridge and SurfaceWidget may ask of a control and nothing
// more. TControl implements it privately and windowed controls and forms
// override their part, so the Qt side needs no friendship and no casts.
class ControlEvents {
 public:
  // How the widget's events are routed.
  virtual bool DrawsItself() const = 0;
  virtual bool ClicksOnRelease() const = 0;
  virtual bool KeepsMouseButton(TMouseButton button) const = 0;
  // Windowed controls take keys and the focus.
  virtual bool Windowed() const = 0;
  // Being destroyed, or taken out of a parent that is: focus changes then
  // are no enter or exit.
  virtual bool InTeardown() const = 0;
  // Where the client area (what the surface shows) starts in the widget;
  // event positions are given relative to it.
  virtual TPoint ClientOrigin() const = 0;

  // The handlers; x and y are client coordinates.
  virtual void DeliverMouseDown(TMouseButton button, TShiftState shift, int x, int y) = 0;
  virtual void DeliverMouseUp(TMouseButton button, TShiftState shift, int x, int y) = 0;
  virtual void DeliverMouseMove(TShiftState shift, int x, int y) = 0;
  virtual void DeliverMouseWheel(TShiftState shift, int wheelDelta, int x, int y) = 0;
  virtual void DeliverMouseLeave() = 0;
  virtual void DeliverDblClick() = 0;
  virtual void DeliverClick() = 0;
  virtual void DeliverCaptureLost() = 0;
  virtual void DeliverKeyDown(uint16_t& key, TShiftState shift) = 0;
  virtual void DeliverKeyUp(uint16_t& key, TShiftState shift) = 0;
  virtual void DeliverKeyPress(char& key) = 0;
  virtual void DeliverEnter(bool byMouse) = 0;
  virtual void DeliverExit() = 0;
  // The widget has a size the control did not give it (the user resized
  // the window): the control follows.
  virtual void DeliverResize(int clientWidth, int clientHeight) = 0;
  // Paints the surface of a self-drawn control if it is invalid.
  virtual void DeliverPaint() = 0;
  // What a self-drawn control's widget shows.
  virtual const QImage& SurfaceImage() = 0;

 protected:
  ~ControlEvents() = default;
};

}  // namespace nitko
