#include "framework/form.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>
#include <QScopedValueRollback>
#include <QWidget>
#include <algorithm>
#include <limits>
#include <utility>

#include "framework/button.h"
#include "framework/exception_handling.h"
#include "framework/keys.h"
#include "framework/screen.h"
#include "runtime/exception.h"

namespace nitko {

namespace {

// The top-level window: closing it goes through the form's rules.
class FormWidget : public QWidget {
 public:
  explicit FormWidget(TCustomForm* form) : form_(form) {}

 protected:
  void closeEvent(QCloseEvent* e) override {
    // A handler that raises keeps the window open.
    bool close = false;
    Guarded([&] { close = form_->CloseRequested(); });
    if (close)
      e->accept();
    else
      e->ignore();
  }

 private:
  TCustomForm* form_;
};

template <typename Pred>
TButton* FindButton(const TWinControl* parent, Pred pred) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (auto* b = dynamic_cast<TButton*>(c); b != nullptr && pred(b)) return b;
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (TButton* found = FindButton(w, pred)) return found;
  }
  return nullptr;
}

// Deletes a form when Qt deletes the reaper: deleteLater waits until the
// loop that asked is back in charge, after every handler has returned. A
// form that went another way meanwhile is left alone.
class FormReaper : public QObject {
 public:
  explicit FormReaper(TCustomForm* form) : form_(form), alive_(form->Widget()) {}
  ~FormReaper() override {
    if (alive_ && !form_->IsDestroying()) delete form_;
  }

 private:
  TCustomForm* form_;
  QPointer<QWidget> alive_;
};

// The outer size for a client size: the frame added without overflow, and
// SetBounds clamps the rest.
int OuterSize(int client, int frame) {
  return static_cast<int>(
      std::min<long long>(static_cast<long long>(client) + frame, std::numeric_limits<int>::max()));
}

}  // namespace

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner, new FormWidget(this)) {
  TControl::SetVisible(false);
  Widget()->setAttribute(Qt::WA_DeleteOnClose, false);
}

TCustomForm::~TCustomForm() {
  MarkDestroying();
  if (modal_loop_ != nullptr) modal_loop_->quit();
  // Whoever waits on a modeless dialog must hear that it is gone.
  if (auto closed = std::exchange(modeless_closed_, nullptr)) closed(mrCancel);
}

int TCustomForm::FrameWidth() const {
  switch (border_style_) {
    case TFormBorderStyle::bsNone: return 0;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin: return 4;
    default: return 3;
  }
}

int TCustomForm::CaptionHeight() const {
  switch (border_style_) {
    case TFormBorderStyle::bsNone: return 0;
    case TFormBorderStyle::bsToolWindow:
    case TFormBorderStyle::bsSizeToolWin: return 16;
    default: return 19;
  }
}

int TCustomForm::ClientWidth() const { return std::max(0, Width() - 2 * FrameWidth()); }

int TCustomForm::ClientHeight() const {
  return std::max(0, Height() - 2 * FrameWidth() - CaptionHeight());
}

int TCustomForm::OuterWidth(int clientWidth) const {
  return OuterSize(clientWidth, 2 * FrameWidth());
}

int TCustomForm::OuterHeight(int clientHeight) const {
  return OuterSize(clientHeight, 2 * FrameWidth() + CaptionHeight());
}

void TCustomForm::SetClientWidth(int value) { SetWidth(OuterWidth(value)); }

void TCustomForm::SetClientHeight(int value) { SetHeight(OuterHeight(value)); }

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (value == border_style_) return;
  // The client area keeps its size; the outer size follows the frame.
  const int cw = ClientWidth(), ch = ClientHeight();
  border_style_ = value;
  Qt::WindowFlags flags = Qt::Window;
  if (value == TFormBorderStyle::bsNone) flags |= Qt::FramelessWindowHint;
  if (value == TFormBorderStyle::bsDialog) flags = Qt::Dialog;
  if (value == TFormBorderStyle::bsToolWindow || value == TFormBorderStyle::bsSizeToolWin)
    flags = Qt::Tool;
  Widget()->setWindowFlags(flags);
  SetBounds(Left(), Top(), OuterWidth(cw), OuterHeight(ch));
}

void TCustomForm::ApplyGeometry() {
  if (in_resize_) return;
  QWidget* w = Widget();
  w->move(Left(), Top());
  const bool fixed = border_style_ != TFormBorderStyle::bsSizeable &&
                     border_style_ != TFormBorderStyle::bsSizeToolWin;
  if (fixed)
    w->setFixedSize(ClientWidth(), ClientHeight());
  else
    w->resize(ClientWidth(), ClientHeight());
}

void TCustomForm::WindowResized(int clientWidth, int clientHeight) {
  if (clientWidth == ClientWidth() && clientHeight == ClientHeight()) return;
  // OnResize may raise; the flag must not outlive the call.
  QScopedValueRollback<bool> resizing(in_resize_, true);
  SetBounds(Left(), Top(), OuterWidth(clientWidth), OuterHeight(clientHeight));
}

void TCustomForm::TextChanged() { Widget()->setWindowTitle(QString::fromStdString(GetText())); }

void TCustomForm::PlaceOnFirstShow() {
  if (placed_) return;
  placed_ = true;
  if (position_ == TPosition::poScreenCenter || position_ == TPosition::poDesktopCenter)
    SetBounds((ScreenWidth() - Width()) / 2, (ScreenHeight() - Height()) / 2, Width(), Height());
}

void TCustomForm::SetVisible(bool value) {
  if (value == Visible()) return;
  if (value) PlaceOnFirstShow();
  TControl::SetVisible(value);
  if (value) {
    Widget()->raise();
    Widget()->activateWindow();
    if (OnShow) OnShow(this);
  } else if (OnHide) {
    OnHide(this);
  }
}

TWinControl* TCustomForm::ActiveControl() const {
  QWidget* focus = Widget()->focusWidget();
  if (focus == nullptr) return nullptr;
  std::function<TWinControl*(const TWinControl*)> find = [&](const TWinControl* w) -> TWinControl* {
    for (int i = 0; i < w->ControlCount(); ++i) {
      auto* c = dynamic_cast<TWinControl*>(w->Controls(i));
      if (c == nullptr) continue;
      if (c->Widget() == focus) return c;
      if (TWinControl* inner = find(c)) return inner;
    }
    return nullptr;
  };
  return find(this);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control != nullptr) control->Widget()->setFocus(Qt::OtherFocusReason);
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || IsModal()) throw Exception("Cannot make a visible window modal");
  modal_result_ = mrNone;
  QEventLoop loop;
  modal_loop_ = &loop;
  Widget()->setWindowModality(Qt::ApplicationModal);
  // A handler may destroy the form while its loop runs.
  QPointer<QWidget> alive(Widget());
  try {
    Show();
    if (modal_result_ == mrNone) loop.exec();
  } catch (...) {
    if (alive) {
      modal_loop_ = nullptr;
      // No loop is left to close a modal window that stays up.
      Hide();
      Widget()->setWindowModality(Qt::NonModal);
    }
    throw;
  }
  if (!alive) return mrCancel;
  modal_loop_ = nullptr;
  Hide();
  Widget()->setWindowModality(Qt::NonModal);
  return modal_result_;
}

void TCustomForm::SetModalResult(TModalResult value) {
  modal_result_ = value;
  if (value != mrNone && modal_loop_ != nullptr) modal_loop_->quit();
  if (value != mrNone && modeless_closed_) EndModeless();
}

void TCustomForm::ShowModeless(std::function<void(TModalResult)> closed) {
  if (Visible() || IsModal()) throw Exception("Cannot make a visible window modal");
  modal_result_ = mrNone;
  Widget()->setWindowModality(Qt::NonModal);
  modeless_closed_ = std::move(closed);
  try {
    Show();
  } catch (...) {
    modeless_closed_ = nullptr;
    throw;
  }
}

void TCustomForm::EndModeless() {
  auto closed = std::exchange(modeless_closed_, nullptr);
  // The waiter hears of the end even when hiding raises; closed may free the form.
  try {
    Hide();
  } catch (...) {
    closed(modal_result_);
    throw;
  }
  closed(modal_result_);
}

bool TCustomForm::CloseRequested() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  if (!canClose) return false;
  TCloseAction action = TCloseAction::caHide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return false;
  if (action == TCloseAction::caMinimize && !IsModal()) {
    // Not closed: the window goes to the task bar and stays visible.
    Widget()->showMinimized();
    return false;
  }
  // Freed once the event loop is back where it was when asked, so that no
  // handler still running up the stack meets a deleted form.
  if (action == TCloseAction::caFree) ReleaseLater();
  try {
    if (IsModal()) {
      if (modal_result_ == mrNone) SetModalResult(mrCancel);
    } else if (modeless_closed_) {
      SetModalResult(mrCancel);
    } else {
      Hide();
    }
  } catch (...) {
    // The window is gone either way: whoever waits for it must hear so.
    if (OnClosed) OnClosed();
    throw;
  }
  if (OnClosed) OnClosed();
  return true;
}

void TCustomForm::ReleaseLater() { (new FormReaper(this))->deleteLater(); }

void TCustomForm::Close() {
  if (CloseRequested()) Widget()->hide();
}

TButton* TCustomForm::DefaultButton() const {
  return FindButton(this, [](TButton* b) { return b->Default() && b->Showing() && b->Enabled(); });
}

TButton* TCustomForm::CancelButton() const {
  return FindButton(this, [](TButton* b) { return b->Cancel() && b->Showing() && b->Enabled(); });
}

bool TCustomForm::PreviewKeyDown(uint16_t& key, TShiftState shift) {
  if (!key_preview_) return false;
  KeyDown(key, shift);
  return key == 0;
}

bool TCustomForm::PreviewKeyPress(char& key) {
  if (!key_preview_) return false;
  KeyPress(key);
  return key == 0;
}

bool TCustomForm::DialogKey(uint16_t key, TShiftState shift) {
  if (shift & (ssAlt | ssCtrl)) return false;
  TButton* target = nullptr;
  if (key == VK_RETURN) {
    // A focused button takes Enter itself.
    TWinControl* active = ActiveControl();
    if (active != nullptr && active->WantsReturns()) return false;
    target = dynamic_cast<TButton*>(active);
    if (target == nullptr) target = DefaultButton();
  } else if (key == VK_ESCAPE) {
    target = CancelButton();
  }
  if (target == nullptr) return false;
  target->Click();
  return true;
}

}  // namespace nitko
