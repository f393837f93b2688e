#include "framework/button.h"

#include <QPointer>
#include <QPushButton>

#include "framework/exception_handling.h"
#include "framework/form.h"

namespace nitko {

TButton::TButton(TComponent* owner) : TWinControl(owner, new QPushButton()) {
  SetTabStop(true);
  auto* button = static_cast<QPushButton*>(Widget());
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, [this] { Guarded([this] { Click(); }); });
}

void TButton::SetDefault(bool value) {
  default_ = value;
  static_cast<QPushButton*>(Widget())->setDefault(value);
}

void TButton::TextChanged() {
  static_cast<QPushButton*>(Widget())->setText(QString::fromStdString(GetText()));
}

void TButton::Click() {
  QPointer<QWidget> alive(Widget());
  TWinControl::Click();
  // OnClick may have destroyed the button.
  if (!alive || modal_result_ == mrNone || IsDestroying()) return;
  if (TCustomForm* form = ParentForm()) form->SetModalResult(modal_result_);
}

}  // namespace nitko
