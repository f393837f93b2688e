#pragma once

#include <string>

#include "dialogs/message_form.h"
#include "framework/modal_result.h"

namespace nitko {

// Builds the dialog, centres it on the screen, shows it modally and returns
// the modal result of the button that closed it. The dialog is gone when
// this returns, also when showing it failed.
TModalResult ShowMessageDialog(const std::string& message, MessageDialogKind kind,
                               MessageDialogButtons buttons, int helpContext);

// The same at a position: x or y >= 0 sets that edge; only when both are
// negative is the dialog centred.
TModalResult ShowMessageDialogPos(const std::string& message, MessageDialogKind kind,
                                  MessageDialogButtons buttons, int helpContext, int x, int y);

// The message in a dialog with the application title and one OK button.
void ShowTextMessage(const std::string& message);

}  // namespace nitko
