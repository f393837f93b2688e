#include "framework/control.h"

#include <QScopedValueRollback>
#include <QWidget>
#include <algorithm>

#include "framework/canvas.h"
#include "framework/control_bridge.h"
#include "framework/exception_handling.h"
#include "framework/form.h"
#include "framework/qt_bridge.h"
#include "framework/surface.h"
#include "runtime/exception.h"

namespace nitko {

namespace {

// Widgets whose signal handlers are running, innermost last (GUI thread).
std::vector<const QWidget*> g_signalling;

Qt::CursorShape ToQtCursor(TCursor c) {
  switch (c) {
    case TCursor::crCross:
      return Qt::CrossCursor;
    case TCursor::crIBeam:
      return Qt::IBeamCursor;
    case TCursor::crSizeAll:
      return Qt::SizeAllCursor;
    case TCursor::crHandPoint:
      return Qt::PointingHandCursor;
    case TCursor::crHourGlass:
      return Qt::WaitCursor;
    case TCursor::crDrag:
      return Qt::DragMoveCursor;
    case TCursor::crNo:
      return Qt::ForbiddenCursor;
    case TCursor::crDefault:
    case TCursor::crArrow:
      break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

// ---- TControl

TControl::TControl(TComponent* owner, QWidget* widget) : TComponent(owner), widget_(widget) {
  if (widget_ == nullptr) {
    widget_ = new SurfaceWidget(*this);
    surface_ = std::make_unique<TSurface>();
    canvas_ = std::make_unique<TCanvas>(surface_.get());
  }
  widget_->hide();
  ControlEvents& events = *this;
  bridge_ = std::make_unique<ControlBridge>(*this, events);
  widget_->installEventFilter(bridge_.get());
  font_.OnChange = [this] {
    if (!applying_parent_font_) parent_font_ = false;
    FontChanged();
  };
  widget_->setFont(ToQFont(font_));
  ApplyPalette();
}

// Teardown, in the order the destructors run:
// 1. A subclass that must stop reacting to its own widget's signals (a memo,
//    a form ending its modal loop) marks itself destroying first.
// 2. ~TWinControl marks itself destroying and takes every child out: the
//    child's widget leaves ours, so deleting ours does not delete theirs, and
//    the child is flagged detaching meanwhile, so the focus it loses there is
//    no exit (the bridge asks InTeardown). Children owned by us die in step 4.
// 3. ~TControl marks itself destroying (the bridge then routes nothing),
//    stops the bridge, leaves its parent and deletes its widget; the bridge
//    and the surface go with the members.
// 4. ~TComponent deletes the owned components, newest first, and leaves the
//    owner.
// A handler that destroys its control gets here from inside an event; the
// bridge notices and eats the event (ControlBridge::DiesIn).
TControl::~TControl() {
  MarkDestroying();
  widget_->removeEventFilter(bridge_.get());
  if (parent_ != nullptr) parent_->RemoveControl(this);
  if (std::find(g_signalling.begin(), g_signalling.end(), widget_) != g_signalling.end()) {
    // Destroyed from one of its widget's own signals: the widget's code is
    // still running below us. The bridge, the signals' context, dies with the
    // members, so nothing reaches this control again.
    widget_->hide();
    widget_->setParent(nullptr);
    widget_->deleteLater();
  } else {
    delete widget_;
  }
}

QObject* TControl::SignalContext() const {
  return bridge_.get();
}

void TControl::RunWidgetSignal(const std::function<void()>& handler) {
  if (IsDestroying()) return;
  g_signalling.push_back(widget_);
  // Not a member: the handler may destroy the control.
  struct Pop {
    ~Pop() { g_signalling.pop_back(); }
  } pop;
  Guarded(handler);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  // No window or surface can be larger; the far edge stays within int.
  width = std::clamp(width, 0, kMaxSurfaceSide);
  height = std::clamp(height, 0, kMaxSurfaceSide);
  left = std::min(left, std::numeric_limits<int>::max() - width);
  top = std::min(top, std::numeric_limits<int>::max() - height);
  const bool resized = width != width_ || height != height_;
  if (!resized && left == left_ && top == top_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  ApplyGeometry();
  if (resized) {
    if (surface_) {
      surface_->SetSize(ClientWidth(), ClientHeight());
      Invalidate();
    }
    Resize();
  }
}

int TControl::ClientWidth() const {
  return std::max(0, width_ - margins_.Left - margins_.Right);
}

int TControl::ClientHeight() const {
  return std::max(0, height_ - margins_.Top - margins_.Bottom);
}

void TControl::SetClientMargins(const TRect& margins) {
  if (margins == margins_) return;
  const int w = ClientWidth(), h = ClientHeight();
  margins_ = margins;
  widget_->update();
  if (w == ClientWidth() && h == ClientHeight()) return;
  if (surface_) {
    surface_->SetSize(ClientWidth(), ClientHeight());
    Invalidate();
  }
  Resize();
}

void TControl::ApplyGeometry() {
  widget_->setGeometry(left_, top_, width_, height_);
}

TPoint TControl::ClientToScreen(TPoint p) const {
  QPoint q = widget_->mapToGlobal(QPoint(p.X + margins_.Left, p.Y + margins_.Top));
  return {q.x(), q.y()};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  QPoint q = widget_->mapFromGlobal(QPoint(p.X, p.Y));
  return {q.x() - margins_.Left, q.y() - margins_.Top};
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw Exception("A control cannot be its own parent");
  if (parent_ != nullptr) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_ != nullptr) {
    widget_->setParent(parent_->Widget());
    parent_->InsertControl(this);
    if (parent_font_) ParentFontChanged();
    if (parent_color_) ParentColorChanged();
    if (parent_bidi_mode_) bidi_mode_ = parent_->BiDiMode();
    ApplyGeometry();
    widget_->setVisible(visible_);
  } else {
    widget_->hide();
    widget_->setParent(nullptr);
  }
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* win = dynamic_cast<TWinControl*>(parent)) SetParent(win);
}

TCustomForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_ != nullptr) c = c->parent_;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  if (parent_ != nullptr || IsTopLevel()) widget_->setVisible(value);
}

bool TControl::Showing() const {
  for (const TControl* c = this; c != nullptr; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  widget_->setEnabled(value);
  EnabledChanged();
  Invalidate();
}

void TControl::SetColor(TColor value) {
  parent_color_ = false;
  if (value == color_) return;
  color_ = value;
  ColorChanged();
}

void TControl::SetParentColor(bool value) {
  if (value == parent_color_) return;
  parent_color_ = value;
  if (value && parent_ != nullptr) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parent_color_ || parent_ == nullptr || parent_->Color() == color_) return;
  color_ = parent_->Color();
  ColorChanged();
}

void TControl::ColorChanged() {
  ApplyPalette();
  Invalidate();
}

void TControl::SetParentFont(bool value) {
  if (value == parent_font_) return;
  parent_font_ = value;
  if (value && parent_ != nullptr) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parent_font_ || parent_ == nullptr) return;
  // The font's change handler tells a font that was set from one that
  // followed the parent.
  QScopedValueRollback<bool> following(applying_parent_font_, true);
  font_.Assign(parent_->Font());
}

void TControl::FontChanged() {
  widget_->setFont(ToQFont(font_));
  ApplyPalette();
  Invalidate();
}

void TControl::ApplyPalette() {
  QPalette pal = widget_->palette();
  const QColor back = ToQColor(color_);
  const QColor text = ToQColor(font_.Color());
  for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) pal.setColor(role, back);
  // Disabled text keeps the style's grey, so a disabled control looks it.
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    for (auto group : {QPalette::Active, QPalette::Inactive}) pal.setColor(group, role, text);
  widget_->setPalette(pal);
  widget_->setAutoFillBackground(FillsBackground());
}

void TControl::SetCursor(TCursor value) {
  if (value == cursor_) return;
  cursor_ = value;
  widget_->setCursor(ToQtCursor(value));
}

void TControl::SetBiDiMode(TBiDiMode value) {
  parent_bidi_mode_ = false;
  bidi_mode_ = value;
}

void TControl::SetParentBiDiMode(bool value) {
  parent_bidi_mode_ = value;
  if (value && parent_ != nullptr) bidi_mode_ = parent_->BiDiMode();
}

void TControl::SetText(const std::string& value) {
  if (value == text_) return;
  text_ = value;
  TextChanged();
  Invalidate();
}

void TControl::Invalidate() {
  invalid_ = true;
  widget_->update();
}

void TControl::InvalidatePart(const TRect& area) {
  if (invalid_) return;
  parts_invalid_ = true;
  widget_->update(ToQRect(OffsetRect(area, margins_.Left, margins_.Top)));
}

void TControl::Update() {
  if (invalid_) {
    Repaint();
  } else if (parts_invalid_) {
    PaintParts();
    if (widget_->isVisible()) widget_->update();
  }
}

void TControl::Repaint() {
  invalid_ = true;
  PaintSurface();
  // The surface is drawn now; its copy to the screen joins the next paint
  // cycle. Qt's immediate repaint would also flush every other pending
  // request of the window, so a gauge's step would draw the whole chart
  // again each time.
  if (widget_->isVisible()) widget_->update();
}

void TControl::PaintSurface() {
  invalid_ = false;
  parts_invalid_ = false;
  if (!surface_) return;
  if (surface_->Width() != ClientWidth() || surface_->Height() != ClientHeight())
    surface_->SetSize(ClientWidth(), ClientHeight());
  ++paint_count_;
  Paint();
}

void TControl::PaintParts() {
  parts_invalid_ = false;
  if (surface_) PaintInvalidParts();
}

void TControl::SurfaceChanged() {
  if (widget_->isVisible()) widget_->repaint();
}

TCanvas& TControl::SurfaceCanvas() {
  if (!canvas_) throw Exception("Control has no canvas of its own");
  return *canvas_;
}

TSurface& TControl::Surface() {
  if (!surface_) throw Exception("Control has no surface of its own");
  return *surface_;
}

void TControl::SetMouseCapture(bool value) {
  if (value == mouse_capture_) return;
  mouse_capture_ = value;
  if (value)
    widget_->grabMouse();
  else
    widget_->releaseMouse();
}

void TControl::BringToFront() {
  widget_->raise();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseWheel(TShiftState shift, int wheelDelta, int x, int y) {
  if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, x, y);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

bool TControl::InTeardown() const {
  for (const TControl* c = this; c != nullptr; c = c->parent_)
    if (c->detaching_ || c->IsDestroying()) return true;
  return false;
}

void TControl::DeliverMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  MouseDown(button, shift, x, y);
}

void TControl::DeliverMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  MouseUp(button, shift, x, y);
}

void TControl::DeliverMouseMove(TShiftState shift, int x, int y) {
  MouseMove(shift, x, y);
}

void TControl::DeliverCaptureLost() {
  if (!mouse_capture_) return;
  mouse_capture_ = false;
  MouseCaptureLost();
}

void TControl::DeliverResize(int clientWidth, int clientHeight) {
  // Outside a window the client area is the whole control.
  if (clientWidth != width_ || clientHeight != height_)
    SetBounds(left_, top_, clientWidth, clientHeight);
}

void TControl::DeliverPaint() {
  if (invalid_)
    PaintSurface();
  else if (parts_invalid_)
    PaintParts();
}

const QImage& TControl::SurfaceImage() {
  return Surface().Image();
}

// ---- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner, QWidget* widget) : TControl(owner, widget) {
  Widget()->setFocusPolicy(Qt::NoFocus);
}

// ---- TWinControl

TWinControl::TWinControl(TComponent* owner, QWidget* widget) : TControl(owner, widget) {
  Widget()->setFocusPolicy(Qt::ClickFocus);
}

TWinControl::~TWinControl() {
  MarkDestroying();
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    QScopedValueRollback<bool> detaching(child->detaching_, true);
    child->SetParent(nullptr);
  }
}

TControl* TWinControl::Controls(int index) const {
  CheckListIndex(index, ControlCount());
  return controls_[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    tab_list_.push_back(win);
    ApplyTabOrder();
  }
}

void TWinControl::RemoveControl(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  tab_list_.erase(std::remove(tab_list_.begin(), tab_list_.end(), control), tab_list_.end());
}

void TWinControl::SetTabStop(bool value) {
  if (value == tab_stop_) return;
  tab_stop_ = value;
  ApplyFocusPolicy();
}

void TWinControl::SetFocusOnClick(bool value) {
  if (value == focus_on_click_) return;
  focus_on_click_ = value;
  ApplyFocusPolicy();
}

void TWinControl::ApplyFocusPolicy() {
  if (focus_on_click_)
    Widget()->setFocusPolicy(tab_stop_ ? Qt::StrongFocus : Qt::ClickFocus);
  else
    Widget()->setFocusPolicy(tab_stop_ ? Qt::TabFocus : Qt::NoFocus);
}

int TWinControl::TabOrder() const {
  if (Parent() == nullptr) return -1;
  const auto& list = Parent()->tab_list_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  // While a form is read, later siblings do not exist yet: an order past the
  // ones created so far would be clamped, so it waits for Loaded.
  if (IsLoading()) {
    pending_tab_order_ = std::max(value, 0);
    return;
  }
  MoveInTabList(value);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  ApplyPendingTabOrders();
  if (pending_tab_order_ >= 0 && Parent() != nullptr) Parent()->ApplyPendingTabOrders();
}

void TWinControl::ApplyPendingTabOrders() {
  std::vector<TWinControl*> pending;
  for (TWinControl* c : tab_list_)
    if (c->pending_tab_order_ >= 0) pending.push_back(c);
  // In ascending order each move lands after the ones already placed.
  std::stable_sort(pending.begin(), pending.end(), [](TWinControl* a, TWinControl* b) {
    return a->pending_tab_order_ < b->pending_tab_order_;
  });
  for (TWinControl* c : pending) {
    const int value = c->pending_tab_order_;
    c->pending_tab_order_ = -1;
    c->MoveInTabList(value);
  }
}

void TWinControl::MoveInTabList(int value) {
  if (Parent() == nullptr) return;
  auto& list = Parent()->tab_list_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  value = std::clamp(value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + value, this);
  Parent()->ApplyTabOrder();
}

void TWinControl::ApplyTabOrder() {
  for (size_t i = 1; i < tab_list_.size(); ++i)
    QWidget::setTabOrder(tab_list_[i - 1]->Widget(), tab_list_[i]->Widget());
}

bool TWinControl::Focused() const {
  return Widget()->hasFocus();
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c != nullptr; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
  Widget()->setFocus(Qt::OtherFocusReason);
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::DeliverEnter(bool byMouse) {
  focused_by_mouse_ = byMouse;
  DoEnter();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  for (TControl* c : controls_) c->ParentColorChanged();
}

// ---- TCustomControl

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner, nullptr) {}

}  // namespace nitko
