#include "dialogs/message_form.h"

#include <algorithm>
#include <array>

#include "framework/application.h"
#include "framework/bitmap.h"
#include "framework/button.h"
#include "framework/canvas.h"
#include "framework/image.h"
#include "framework/keys.h"
#include "framework/label.h"
#include "framework/screen.h"
#include "framework/system_icons.h"
#include "runtime/message_format.h"
#include "runtime/string_table.h"

namespace nitko {

namespace {

constexpr const char* kStrings = "dialogs.strings";

struct ButtonInfo {
  const char* name;
  const char* captionId;
  TModalResult result;
};

constexpr std::array<ButtonInfo, kMessageDialogButtonCount> kButtons = {{
    {"Yes", "SMsgDlgYes", mrYes},
    {"No", "SMsgDlgNo", mrNo},
    {"OK", "SMsgDlgOK", mrOk},
    {"Cancel", "SMsgDlgCancel", mrCancel},
    {"Abort", "SMsgDlgAbort", mrAbort},
    {"Retry", "SMsgDlgRetry", mrRetry},
    {"Ignore", "SMsgDlgIgnore", mrIgnore},
    {"All", "SMsgDlgAll", mrAll},
    {"NoToAll", "SMsgDlgNoToAll", mrNoToAll},
    {"YesToAll", "SMsgDlgYesToAll", mrYesToAll},
    {"Help", "SMsgDlgHelp", mrNone},
}};

std::array<int, kMessageDialogButtonCount>& WidthCache() {
  static std::array<int, kMessageDialogButtonCount> cache = [] {
    std::array<int, kMessageDialogButtonCount> c;
    c.fill(-1);
    return c;
  }();
  return cache;
}

bool HasIcon(MessageDialogKind kind) { return kind != MessageDialogKind::mtCustom; }

TSystemIcon IconOf(MessageDialogKind kind) {
  switch (kind) {
    case MessageDialogKind::mtWarning: return TSystemIcon::siExclamation;
    case MessageDialogKind::mtError: return TSystemIcon::siHand;
    case MessageDialogKind::mtConfirmation: return TSystemIcon::siQuestion;
    default: return TSystemIcon::siAsterisk;
  }
}

std::string WithoutAmpersands(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
  return s;
}

constexpr int kIconSize = 32;

}  // namespace

std::string MessageDialogCaption(MessageDialogKind kind) {
  switch (kind) {
    case MessageDialogKind::mtWarning: return LoadResourceString(kStrings, "SMsgDlgWarning");
    case MessageDialogKind::mtError: return LoadResourceString(kStrings, "SMsgDlgError");
    case MessageDialogKind::mtInformation:
      return LoadResourceString(kStrings, "SMsgDlgInformation");
    case MessageDialogKind::mtConfirmation: return LoadResourceString(kStrings, "SMsgDlgConfirm");
    case MessageDialogKind::mtCustom: break;
  }
  return Application() != nullptr ? Application()->Title() : std::string();
}

std::string MessageDialogButtonCaption(MessageDialogButton button) {
  return LoadResourceString(kStrings, kButtons[static_cast<size_t>(button)].captionId);
}

int CachedButtonWidth(MessageDialogButton button) {
  return WidthCache()[static_cast<size_t>(button)];
}

TMessageForm::TMessageForm(const std::string& message, MessageDialogKind kind,
                           MessageDialogButtons buttons)
    : TForm(nullptr), message_(message), buttons_(buttons) {
  ReadSystemMessageFont(Font());
  if (Application() != nullptr) SetBiDiMode(Application()->BiDiMode());
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetKeyPreview(true);
  TCanvas canvas;
  canvas.Font().Assign(Font());

  Metrics& m = metrics_;
  const TSize avg = canvas.TextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  m.averageWidth = avg.cx / 52;
  m.averageHeight = avg.cy;
  const int w = m.averageWidth, h = m.averageHeight;
  m.horzMargin = MulDiv(8, w, 4);
  m.vertMargin = MulDiv(8, h, 8);
  m.horzSpacing = MulDiv(10, w, 4);
  m.vertSpacing = MulDiv(10, h, 8);
  m.buttonWidth = MulDiv(50, w, 4);
  for (int b = 0; b < kMessageDialogButtonCount; ++b) {
    if (!buttons.Contains(static_cast<MessageDialogButton>(b))) continue;
    int& cached = WidthCache()[static_cast<size_t>(b)];
    if (cached < 0) {
      TRect r = Rect(0, 0, 0, 0);
      canvas.DrawText(r, MessageDialogButtonCaption(static_cast<MessageDialogButton>(b)),
                      dtCalcRect | dtLeft | dtSingleLine);
      cached = r.Right - r.Left + 8;
    }
    m.buttonWidth = std::max(m.buttonWidth, cached);
  }
  m.buttonHeight = MulDiv(14, h, 8);
  m.buttonSpacing = MulDiv(4, w, 4);

  TRect text = Rect(0, 0, ScreenWidth() / 2, 0);
  // The label shows "&" as it is, so it is measured as it is.
  canvas.DrawText(text, message, dtCalcRect | dtWordBreak | dtExpandTabs | dtNoPrefix);
  m.textWidth = message.empty() ? 0 : text.Right;
  m.textHeight = text.Bottom;

  int blockWidth = m.textWidth, blockHeight = m.textHeight;
  if (HasIcon(kind)) {
    blockWidth += m.horzSpacing + kIconSize;
    blockHeight = std::max(blockHeight, kIconSize);
  }
  const int count = buttons.Count();
  const int rowWidth = count == 0 ? 0 : m.buttonWidth * count + m.buttonSpacing * (count - 1);
  SetClientWidth(std::max(blockWidth, rowWidth) + 2 * m.horzMargin);
  SetClientHeight(blockHeight + m.buttonHeight + m.vertSpacing + 2 * m.vertMargin);
  SetCaption(MessageDialogCaption(kind));

  if (HasIcon(kind)) {
    auto* image = new TImage(this);
    image->SetName("Image");
    image->SetParent(this);
    image->SetBounds(m.horzMargin, m.vertMargin, kIconSize, kIconSize);
    LoadSystemIcon(image->Picture(), IconOf(kind), Color());
    image->PictureChanged();
  }

  auto* label = new TLabel(this);
  label->SetName("Message");
  label->SetParent(this);
  label->SetWordWrap(true);
  label->SetShowAccelChar(false);
  label->SetCaption(message);
  int left = blockWidth - m.textWidth + m.horzMargin;
  const bool rightToLeft = BiDiMode() == TBiDiMode::bdRightToLeft;
  if (rightToLeft) {
    label->SetAlignment(TAlignment::taRightJustify);
    left = ClientWidth() - left - m.textWidth;
  }
  label->SetBounds(left, m.vertMargin, m.textWidth, m.textHeight);

  auto in = [&](MessageDialogButton b) { return buttons.Contains(b); };
  using B = MessageDialogButton;
  const B defaultButton = in(B::mbOK) ? B::mbOK : in(B::mbYes) ? B::mbYes : B::mbRetry;
  const B cancelButton = in(B::mbCancel) ? B::mbCancel : in(B::mbNo) ? B::mbNo : B::mbOK;
  int x = (ClientWidth() - rowWidth) / 2;
  for (int b = 0; b < kMessageDialogButtonCount; ++b) {
    const auto which = static_cast<MessageDialogButton>(b);
    if (!in(which)) continue;
    const ButtonInfo& info = kButtons[static_cast<size_t>(b)];
    auto* button = new TButton(this);
    button->SetName(info.name);
    button->SetParent(this);
    button->SetCaption(MessageDialogButtonCaption(which));
    button->SetModalResult(info.result);
    button->SetDefault(which == defaultButton);
    button->SetCancel(which == cancelButton);
    button->SetBounds(x, blockHeight + m.vertMargin + m.vertSpacing, m.buttonWidth, m.buttonHeight);
    if (which == MessageDialogButton::mbHelp)
      button->OnClick = [this](TComponent*) {
        if (Application() != nullptr && Application()->OnHelp) Application()->OnHelp(HelpContext());
      };
    x += m.buttonWidth + m.buttonSpacing;
  }
}

std::string TMessageForm::ClipboardReport() const {
  const std::string divider = std::string(27, '-') + "\n";
  std::string captions;
  for (int b = 0; b < kMessageDialogButtonCount; ++b)
    if (buttons_.Contains(static_cast<MessageDialogButton>(b)))
      captions += "   " + WithoutAmpersands(MessageDialogButtonCaption(static_cast<MessageDialogButton>(b)));
  return FormatMessage("%s%s%s%s%s%s%s%s%s%s", {divider, GetText(), "\n", divider, message_, "\n",
                                                divider, captions, "\n", divider});
}

void TMessageForm::KeyDown(uint16_t& key, TShiftState shift) {
  if ((shift & (ssShift | ssAlt | ssCtrl)) == ssCtrl && key == 'C') {
    Beep();
    SetClipboardText(ClipboardReport());
    key = 0;
    return;
  }
  TForm::KeyDown(key, shift);
}

}  // namespace nitko
