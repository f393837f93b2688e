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
