#include "framework/timer.h"

#include <QTimer>

#include "framework/exception_handling.h"

namespace nitko {

TTimer::TTimer(TComponent* owner) : TComponent(owner), timer_(std::make_unique<QTimer>()) {
  timer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer_.get(), &QTimer::timeout, [this] {
    if (OnTimer && !IsDestroying()) Guarded([this] { OnTimer(this); });
  });
  Apply();
}

TTimer::~TTimer() {
  MarkDestroying();
  timer_->stop();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Apply();
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Apply();
}

void TTimer::Apply() {
  // An interval of 0 means stopped, as does a disabled timer.
  if (enabled_ && interval_ > 0)
    timer_->start(static_cast<int>(interval_));
  else
    timer_->stop();
}

}  // namespace nitko
