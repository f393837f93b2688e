#pragma once

#include <memory>
#include <string>

#include "framework/form.h"

namespace nitko {

enum class MessageDialogKind { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum class MessageDialogButton { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll,
                                 mbNoToAll, mbYesToAll, mbHelp };
inline constexpr int kMessageDialogButtonCount = 11;

// A set of buttons: bit n stands for the n-th button.
class MessageDialogButtons {
 public:
  constexpr MessageDialogButtons() = default;
  constexpr MessageDialogButtons(std::initializer_list<MessageDialogButton> buttons) {
    for (MessageDialogButton b : buttons) bits_ |= 1u << static_cast<unsigned>(b);
  }
  constexpr bool Contains(MessageDialogButton b) const {
    return (bits_ & (1u << static_cast<unsigned>(b))) != 0;
  }
  constexpr int Count() const { return __builtin_popcount(bits_); }
  constexpr bool Empty() const { return bits_ == 0; }

 private:
  unsigned bits_ = 0;
};

// The caption a kind gives its dialog; mtCustom takes the application title.
std::string MessageDialogCaption(MessageDialogKind kind);
// A button's caption, with its "&" mnemonic marker.
std::string MessageDialogButtonCaption(MessageDialogButton button);

// The modal message window: an optional icon, the word-wrapped message and a
// row of buttons, laid out from the average character size of its font.
class TMessageForm : public TForm {
 public:
  // Builds and lays out the dialog; it is not shown yet.
  TMessageForm(const std::string& message, MessageDialogKind kind, MessageDialogButtons buttons);

  // The metrics the layout was computed from.
  struct Metrics {
    int averageWidth, averageHeight;
    int horzMargin, vertMargin, horzSpacing, vertSpacing;
    int buttonWidth, buttonHeight, buttonSpacing;
    int textWidth, textHeight;
  };
  const Metrics& LayoutMetrics() const { return metrics_; }
  const std::string& MessageText() const { return message_; }

  // What Ctrl+C puts on the clipboard.
  std::string ClipboardReport() const;

 protected:
  void KeyDown(uint16_t& key, TShiftState shift) override;

 private:
  std::string message_;
  MessageDialogButtons buttons_;
  Metrics metrics_{};
};

// Process-wide cache of measured button caption widths (caption + 8); -1
// for a button not measured yet.
int CachedButtonWidth(MessageDialogButton button);

}  // namespace nitko
