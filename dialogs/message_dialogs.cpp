#include "dialogs/message_dialogs.h"

#include <memory>

namespace nitko {

TModalResult ShowMessageDialogPos(const std::string& message, MessageDialogKind kind,
                                  MessageDialogButtons buttons, int helpContext, int x, int y) {
  auto dialog = std::make_unique<TMessageForm>(message, kind, buttons);
  dialog->SetHelpContext(helpContext);
  if (x < 0 && y < 0) {
    dialog->SetPosition(TPosition::poScreenCenter);
  } else {
    dialog->SetPosition(TPosition::poDesigned);
    if (x >= 0) dialog->SetLeft(x);
    if (y >= 0) dialog->SetTop(y);
  }
  return dialog->ShowModal();
}

TModalResult ShowMessageDialog(const std::string& message, MessageDialogKind kind,
                               MessageDialogButtons buttons, int helpContext) {
  return ShowMessageDialogPos(message, kind, buttons, helpContext, -1, -1);
}

void ShowTextMessage(const std::string& message) {
  ShowMessageDialog(message, MessageDialogKind::mtCustom, {MessageDialogButton::mbOK}, 0);
}

}  // namespace nitko
