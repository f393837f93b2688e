#include "framework/progress_bar.h"

#include <algorithm>

#include <QProgressBar>

namespace nitko {

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner, new QProgressBar()) {
  auto* bar = static_cast<QProgressBar*>(Widget());
  bar->setRange(min_, max_);
  bar->setValue(position_);
  bar->setTextVisible(false);
}

void TProgressBar::SetRange(int min, int max) {
  if (max < min) max = min;
  min_ = min;
  max_ = max;
  static_cast<QProgressBar*>(Widget())->setRange(min, max);
  SetPosition(position_);
}

void TProgressBar::SetPosition(int value) {
  value = std::clamp(value, min_, max_);
  if (value == position_ && static_cast<QProgressBar*>(Widget())->value() == value) return;
  position_ = value;
  static_cast<QProgressBar*>(Widget())->setValue(value);
}

}  // namespace nitko
