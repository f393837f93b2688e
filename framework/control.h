#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/colors.h"
#include "framework/component.h"
#include "framework/control_events.h"
#include "framework/cursors.h"
#include "framework/events.h"
#include "framework/font.h"
#include "framework/types.h"

class QObject;
class QWidget;

namespace nitko {

class TCanvas;
class TSurface;
class TWinControl;
class TCustomForm;
class ControlBridge;

// A visible element of a window. Behind every control stands a Qt widget:
// a standard one for the standard controls, or a plain one that shows the
// control's own surface for self-drawn controls. Only the GUI thread may
// touch a control.
// Right-to-left settings take effect only where the locale reads that way.
enum class TBiDiMode {
  bdLeftToRight,
  bdRightToLeft,
  bdRightToLeftNoAlign,
  bdRightToLeftReadingOnly
};

class TControl : public TComponent, private ControlEvents {
 public:
  ~TControl() override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  // The control less the margins its frame and scroll bars take.
  virtual int ClientWidth() const;
  virtual int ClientHeight() const;
  TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  void SetParentComponent(TComponent* parent) override;
  // The form the control sits on, or null.
  TCustomForm* ParentForm() const;

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and so are all its parents.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool value);
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { font_.Assign(font); }
  bool ParentFont() const { return parent_font_; }
  void SetParentFont(bool value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

  // Caption and Text are the same string.
  virtual std::string GetText() const { return text_; }
  virtual void SetText(const std::string& value);
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& value) { SetText(value); }

  TBiDiMode BiDiMode() const { return bidi_mode_; }
  void SetBiDiMode(TBiDiMode value);
  bool ParentBiDiMode() const { return parent_bidi_mode_; }
  void SetParentBiDiMode(bool value);

  int Tag() const { return tag_; }
  void SetTag(int value) { tag_ = value; }

  // Painting of self-drawn controls: Invalidate asks for Paint() at the next
  // paint cycle (requests merge), Repaint paints the surface now (the screen
  // copy follows in the next paint cycle), Update paints now only when
  // something is invalid (a control may give Update a meaning of its own).
  void Invalidate();
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }
  bool IsInvalid() const { return invalid_; }
  // For a control that knows which parts of its picture changed: asks for
  // PaintInvalidParts() at the next paint cycle instead of Paint(), and
  // refreshes area (client pixels) of the screen copy. A whole invalidation
  // pending covers it.
  void InvalidatePart(const TRect& area);
  // How many times Paint() has run: repaint rules are observable in tests.
  int PaintCount() const { return paint_count_; }

  bool MouseCapture() const { return mouse_capture_; }
  void SetMouseCapture(bool value);
  void BringToFront();

  virtual void Click();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMouseWheelEvent OnMouseWheel;
  TNotifyEvent OnMouseLeave;

  // Framework-internal: the widget behind the control.
  QWidget* Widget() const { return widget_; }

 protected:
  // widget null: a self-drawn control with its own surface.
  TControl(TComponent* owner, QWidget* widget);

  // For signals of the control's own widget (text changed, clicked): connect
  // them with this context, so that they stop when the control goes, and run
  // their handler through RunWidgetSignal. Qt is still inside the widget when
  // the handler returns, so a control the handler destroyed leaves its widget
  // to be deleted once Qt is out of it.
  QObject* SignalContext() const;
  void RunWidgetSignal(const std::function<void()>& handler);

  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseWheel(TShiftState shift, int wheelDelta, int x, int y);
  // The mouse left the control's client area.
  virtual void MouseLeave();
  virtual void DblClick();
  virtual void Resize();
  virtual void MouseCaptureLost() {}
  // A standard control's widget does not see presses of this button: the
  // control handles them itself in MouseDown/MouseUp.
  virtual bool OwnsMouseButton(TMouseButton) const { return false; }
  // Self-drawn controls draw their whole client area here.
  virtual void Paint() {}
  // Redraws what InvalidatePart asked for; Paint() covers it when it runs.
  virtual void PaintInvalidParts() {}
  virtual void FontChanged();
  virtual void ColorChanged();
  // A top-level window shows without a parent; other controls only inside one.
  virtual bool IsTopLevel() const { return false; }
  virtual void EnabledChanged() {}
  // Whether the widget paints the control's colour behind its contents.
  virtual bool FillsBackground() const { return surface_ == nullptr; }
  virtual void TextChanged() {}

  // Moves the widget to the bounds; forms size it to their client area.
  virtual void ApplyGeometry();

  bool IsSelfDrawn() const { return surface_ != nullptr; }
  // A frame or scroll bars around the client area of a self-drawn control,
  // in pixels from each edge (TRect's fields as the four widths). The
  // surface is the client area; the widget paints the rest itself.
  void SetClientMargins(const TRect& margins);
  const TRect& ClientMargins() const { return margins_; }
  // Self-drawn controls click when the left button is released over them;
  // controls with their own click rule turn that off.
  void SetClickOnRelease(bool value) { click_on_release_ = value; }
  bool ClickOnRelease() const { return click_on_release_; }
  // The canvas on the control's surface; only for self-drawn controls.
  TCanvas& SurfaceCanvas();
  TSurface& Surface();
  // Draws into the surface outside Paint() (a rubber band) and then shows it.
  void SurfaceChanged();

 private:
  // A parent links and unlinks its children.
  friend class TWinControl;

  // ControlEvents: what the Qt side delivers.
  bool DrawsItself() const override { return IsSelfDrawn(); }
  bool ClicksOnRelease() const override { return IsSelfDrawn() && click_on_release_; }
  bool KeepsMouseButton(TMouseButton button) const override { return OwnsMouseButton(button); }
  bool Windowed() const override { return false; }
  bool InTeardown() const override;
  TPoint ClientOrigin() const override { return {margins_.Left, margins_.Top}; }
  void DeliverMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void DeliverMouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DeliverMouseMove(TShiftState shift, int x, int y) override;
  void DeliverMouseWheel(TShiftState shift, int wheelDelta, int x, int y) override {
    MouseWheel(shift, wheelDelta, x, y);
  }
  void DeliverMouseLeave() override { MouseLeave(); }
  void DeliverDblClick() override { DblClick(); }
  void DeliverClick() override { Click(); }
  void DeliverCaptureLost() override;
  void DeliverKeyDown(uint16_t&, TShiftState) override {}
  void DeliverKeyUp(uint16_t&, TShiftState) override {}
  void DeliverKeyPress(char&) override {}
  void DeliverEnter(bool) override {}
  void DeliverExit() override {}
  void DeliverResize(int clientWidth, int clientHeight) override;
  void DeliverPaint() override;
  const QImage& SurfaceImage() override;

  void PaintSurface();
  void PaintParts();
  void ParentFontChanged();
  void ParentColorChanged();
  void ApplyPalette();

  QWidget* widget_;
  std::unique_ptr<ControlBridge> bridge_;
  std::unique_ptr<TSurface> surface_;
  std::unique_ptr<TCanvas> canvas_;
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clBtnFace;
  bool parent_color_ = true;
  TFont font_;
  bool parent_font_ = true;
  bool applying_parent_font_ = false;
  TCursor cursor_ = TCursor::crDefault;
  TBiDiMode bidi_mode_ = TBiDiMode::bdLeftToRight;
  bool parent_bidi_mode_ = true;
  std::string text_;
  int tag_ = 0;
  bool invalid_ = true;
  bool parts_invalid_ = false;
  TRect margins_;
  int paint_count_ = 0;
  bool click_on_release_ = true;
  bool mouse_capture_ = false;
  // Being taken out of a parent that is being destroyed.
  bool detaching_ = false;
};

// A control without a window of its own: it cannot take the focus.
class TGraphicControl : public TControl {
 public:
  TCanvas& Canvas() { return SurfaceCanvas(); }

 protected:
  explicit TGraphicControl(TComponent* owner, QWidget* widget = nullptr);
};

// A control that can hold other controls and take the keyboard focus.
class TWinControl : public TControl {
 public:
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const;

  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool value);
  int TabOrder() const;
  void SetTabOrder(int value);
  bool Focused() const;
  // Whether the focus last came with a left-button press on this control.
  bool FocusedByMouse() const { return focused_by_mouse_; }
  virtual bool CanFocus() const;
  // Controls that take Enter themselves (a memo) keep it from the default
  // button.
  virtual bool WantsReturns() const { return false; }
  void SetFocus();

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  explicit TWinControl(TComponent* owner, QWidget* widget = nullptr);

  // Key virtuals: a handler that sets key to 0 consumes it.
  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char& key);
  virtual void DoEnter();
  virtual void DoExit();
  // Tab orders read with a form are applied once all its controls exist.
  void Loaded() override;
  // Children that follow the parent's font or colour follow the change.
  void FontChanged() override;
  void ColorChanged() override;

  // Off: a click neither on the control nor on a child gives it the focus
  // (Tab and SetFocus still do); such a control decides itself where a press
  // sends the focus.
  void SetFocusOnClick(bool value);

 private:
  friend class TControl;

  bool Windowed() const override { return true; }
  void DeliverKeyDown(uint16_t& key, TShiftState shift) override { KeyDown(key, shift); }
  void DeliverKeyUp(uint16_t& key, TShiftState shift) override { KeyUp(key, shift); }
  void DeliverKeyPress(char& key) override { KeyPress(key); }
  void DeliverEnter(bool byMouse) override;
  void DeliverExit() override { DoExit(); }

  void ApplyFocusPolicy();

  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void ApplyTabOrder();
  void MoveInTabList(int value);
  void ApplyPendingTabOrders();

  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tab_list_;
  bool tab_stop_ = false;
  int pending_tab_order_ = -1;  // read while loading, not yet applied
  bool focus_on_click_ = true;
  bool focused_by_mouse_ = false;
};

// A windowed control that draws itself.
class TCustomControl : public TWinControl {
 public:
  TCanvas& Canvas() { return SurfaceCanvas(); }

 protected:
  explicit TCustomControl(TComponent* owner);
};

}  // namespace nitko
