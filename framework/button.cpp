#include "framework/button.h"

#include <QPointer>
#include <QPushButton>
#include <QStyleOptionButton>

#include "framework/exception_handling.h"
#include "framework/form.h"
#include "framework/shared_palette.h"

namespace nitko {

namespace {

// Drawn through a shared palette, so that buttons made again and again (a
// message form's) reuse the style's cached pictures.
class ButtonWidget : public QPushButton {
 protected:
  void initStyleOption(QStyleOptionButton* option) const override {
    QPushButton::initStyleOption(option);
    option->palette = SharedPalette(option->palette);
  }
};

}  // namespace

TButton::TButton(TComponent* owner) : TWinControl(owner, new ButtonWidget()) {
  SetTabStop(true);
  auto* button = static_cast<QPushButton*>(Widget());
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, SignalContext(),
                   [this] { RunWidgetSignal([this] { Click(); }); });
}

void TButton::SetDefault(bool value) {
  default_ = value;
  static_cast<QPushButton*>(Widget())->setDefault(value);
}

void TButton::TextChanged() {
  static_cast<QPushButton*>(Widget())->setText(QString::fromStdString(GetText()));
}

void TButton::Click() {
  // The widget may outlive the button for a moment; the context does not.
  QPointer<QObject> alive(SignalContext());
  TWinControl::Click();
  // OnClick may have destroyed the button.
  if (!alive || modal_result_ == mrNone || IsDestroying()) return;
  if (TCustomForm* form = ParentForm()) form->SetModalResult(modal_result_);
}

}  // namespace nitko
