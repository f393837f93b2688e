#pragma once

#include "framework/control.h"
#include "framework/modal_result.h"

namespace nitko {

// A push button. "&" in the caption marks the mnemonic letter.
class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner);

  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult value) { modal_result_ = value; }

  // OnClick, then the modal result goes to the form.
  void Click() override;

 protected:
  void TextChanged() override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modal_result_ = mrNone;
};

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry,
                         bkIgnore, bkAll };

// A button that may carry a glyph; the program's buttons have none.
class TBitBtn : public TButton {
 public:
  explicit TBitBtn(TComponent* owner) : TButton(owner) {}
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind value) { kind_ = value; }

 private:
  TBitBtnKind kind_ = TBitBtnKind::bkCustom;
};

}  // namespace nitko
