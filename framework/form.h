#pragma once

#include <functional>
#include <string>

#include "framework/control.h"
#include "framework/modal_result.h"

class QEventLoop;

namespace nitko {

class TButton;

enum class TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TComponent* sender, bool& canClose)>;

// A top-level window. Width and Height are its outer size, frame and caption
// included, as on the desktop the program was designed for; the Qt window
// behind it gets the client area.
class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientWidth(int value);
  void SetClientHeight(int value);
  // Pixels of frame and caption around the client area for the border style.
  int FrameWidth() const;
  int CaptionHeight() const;

  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle value);
  bool KeyPreview() const { return key_preview_; }
  void SetKeyPreview(bool value) { key_preview_ = value; }
  int HelpContext() const { return help_context_; }
  void SetHelpContext(int value) { help_context_ = value; }
  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* control);

  // Shows the window and runs a nested message loop until ModalResult is
  // set or the window is closed; returns the modal result.
  TModalResult ShowModal();
  bool IsModal() const { return modal_loop_ != nullptr; }
  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult value);
  // Shows the window beside the others, blocking none of them, and returns
  // at once: for a dialog that a worker thread, not the user's window, waits
  // on. The first modal result set, a close (mrCancel) or the form's
  // destruction (mrCancel) hides it and calls closed once with the result.
  void ShowModeless(std::function<void(TModalResult)> closed);
  // Asks OnCloseQuery, then runs OnClose and does its action: caHide hides
  // the window, caFree hides it and deletes the form from the event loop
  // later (so the form must have been made with new), caMinimize minimises
  // it, caNone keeps it. A modal form ends its loop for all but caNone.
  void Close();

  // The buttons Enter and Escape press.
  TButton* DefaultButton() const;
  TButton* CancelButton() const;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  // Framework hook: the window was closed (the application ends its loop
  // when this is its main form).
  std::function<void()> OnClosed;

  // Framework-internal key routing.
  bool PreviewKeyDown(uint16_t& key, TShiftState shift);
  bool PreviewKeyPress(char& key);
  bool DialogKey(uint16_t key, TShiftState shift);
  void WindowResized(int clientWidth, int clientHeight);
  bool CloseRequested();

 protected:
  void SetVisible(bool value) override;
  void TextChanged() override;
  void ApplyGeometry() override;
  bool IsTopLevel() const override { return true; }

 private:
  void DeliverResize(int clientWidth, int clientHeight) override {
    WindowResized(clientWidth, clientHeight);
  }
  void PlaceOnFirstShow();
  int OuterWidth(int clientWidth) const;
  int OuterHeight(int clientHeight) const;
  // caFree: deletes the form from the event loop, later.
  void ReleaseLater();
  void EndModeless();

  TPosition position_ = TPosition::poDesigned;
  TFormBorderStyle border_style_ = TFormBorderStyle::bsSizeable;
  bool key_preview_ = false;
  int help_context_ = 0;
  TModalResult modal_result_ = mrNone;
  QEventLoop* modal_loop_ = nullptr;
  std::function<void(TModalResult)> modeless_closed_;
  bool placed_ = false;
  bool in_resize_ = false;
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

}  // namespace nitko
