#include "framework/label.h"

#include <QLabel>

namespace nitko {

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner, new QLabel()) {
  auto* label = static_cast<QLabel*>(Widget());
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setContentsMargins(0, 0, 0, 0);
  label->setMargin(0);
  label->setIndent(0);
}

void TLabel::SetWordWrap(bool value) {
  word_wrap_ = value;
  static_cast<QLabel*>(Widget())->setWordWrap(value);
}

void TLabel::SetAlignment(TAlignment value) {
  alignment_ = value;
  Qt::Alignment h = value == TAlignment::taCenter        ? Qt::AlignHCenter
                    : value == TAlignment::taRightJustify ? Qt::AlignRight
                                                          : Qt::AlignLeft;
  static_cast<QLabel*>(Widget())->setAlignment(h | Qt::AlignTop);
}

void TLabel::SetShowAccelChar(bool value) {
  show_accel_char_ = value;
  ApplyText();
}

void TLabel::SetTransparent(bool value) {
  transparent_ = value;
  Widget()->setAutoFillBackground(FillsBackground());
}

void TLabel::TextChanged() { ApplyText(); }

void TLabel::ApplyText() {
  // Plain text shows "&" verbatim, so the mnemonic marker is removed here
  // ("&&" stands for one "&").
  std::string shown;
  const std::string text = GetText();
  for (size_t i = 0; i < text.size(); ++i) {
    if (show_accel_char_ && text[i] == '&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  auto* label = static_cast<QLabel*>(Widget());
  label->setTextFormat(Qt::PlainText);
  label->setText(QString::fromStdString(shown));
}

}  // namespace nitko
