#include "framework/custom_edit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <algorithm>

#include "framework/exception_handling.h"
#include "framework/keys.h"

namespace nitko {

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner, new QLineEdit()) {
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  // Cut and paste go through the keyboard hooks only.
  LineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
  LineEdit()->setAcceptDrops(false);
  QObject::connect(LineEdit(), &QLineEdit::textChanged, SignalContext(),
                   [this] { RunWidgetSignal([this] { Change(); }); });
}

QLineEdit* TCustomEdit::LineEdit() const {
  return static_cast<QLineEdit*>(Widget());
}

std::string TCustomEdit::GetText() const {
  return LineEdit()->text().toStdString();
}

void TCustomEdit::SetText(const std::string& value) {
  const QString text = QString::fromStdString(value);
  if (LineEdit()->text() != text) LineEdit()->setText(text);
}

void TCustomEdit::SetReadOnly(bool value) {
  read_only_ = value;
  LineEdit()->setReadOnly(value);
}

void TCustomEdit::SetMaxLength(int value) {
  max_length_ = value;
  LineEdit()->setMaxLength(value > 0 ? value : 32767);
}

void TCustomEdit::SelectAll() {
  LineEdit()->selectAll();
}

int TCustomEdit::SelStart() const {
  return LineEdit()->hasSelectedText() ? LineEdit()->selectionStart()
                                       : LineEdit()->cursorPosition();
}

int TCustomEdit::SelLength() const {
  return static_cast<int>(LineEdit()->selectedText().size());
}

std::string TCustomEdit::SelText() const {
  return LineEdit()->selectedText().toStdString();
}

void TCustomEdit::SetSelection(int start, int length) {
  LineEdit()->setSelection(start, length);
}

void TCustomEdit::SetFormattingRect(const TRect& rect) {
  formatting_rect_ = rect;
  LineEdit()->setTextMargins(rect.Left, rect.Top, std::max(0, ClientWidth() - rect.Right),
                             std::max(0, ClientHeight() - rect.Bottom));
}

void TCustomEdit::CutToClipboard() {
  if (!read_only_) LineEdit()->cut();
}

void TCustomEdit::PasteFromClipboard() {
  if (!read_only_) LineEdit()->paste();
}

void TCustomEdit::PasteSelection() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (read_only_ || !clipboard->supportsSelection()) return;
  LineEdit()->insert(clipboard->text(QClipboard::Selection));
}

void TCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbMiddle) PasteSelection();
  TWinControl::MouseUp(button, shift, x, y);
}

void TCustomEdit::KeyDown(uint16_t& key, TShiftState shift) {
  const TShiftState mods = shift & (ssShift | ssAlt | ssCtrl);
  const bool cut = (mods == ssCtrl && key == 'X') || (mods == ssShift && key == VK_DELETE);
  const bool paste = (mods == ssCtrl && key == 'V') || (mods == ssShift && key == VK_INSERT);
  QPointer<QObject> alive(SignalContext());
  TWinControl::KeyDown(key, shift);
  // OnKeyDown may have destroyed the edit.
  if (!alive || key == 0) return;
  if (cut) {
    CutToClipboard();
    key = 0;
  } else if (paste) {
    PasteFromClipboard();
    key = 0;
  }
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter() {
  // After Qt has placed the cursor for the click that gave the focus.
  if (auto_select_) QTimer::singleShot(0, LineEdit(), [this] { LineEdit()->selectAll(); });
  TWinControl::DoEnter();
}

}  // namespace nitko
