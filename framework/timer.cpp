#include "framework/timer.h"

#include <QTimer>
#include <algorithm>
#include <limits>

#include "framework/exception_handling.h"

namespace nitko {

namespace {

constexpr unsigned kLongestLeg = std::numeric_limits<int>::max();

}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner), timer_(std::make_unique<QTimer>()) {
  timer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer_.get(), &QTimer::timeout, [this] {
    if (after_leg_ > 0) {
      StartLeg(after_leg_);
      return;
    }
    if (interval_ > kLongestLeg) StartLeg(interval_);
    // The handler may destroy the timer: nothing touches it afterwards.
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

unsigned TTimer::Remaining() const {
  if (!timer_->isActive()) return 0;
  return after_leg_ + static_cast<unsigned>(std::max(timer_->remainingTime(), 0));
}

void TTimer::StartLeg(unsigned ms) {
  const unsigned leg = std::min(ms, kLongestLeg);
  after_leg_ = ms - leg;
  timer_->start(static_cast<int>(leg));
}

void TTimer::Apply() {
  // An interval of 0 means stopped, as does a disabled timer.
  if (enabled_ && interval_ > 0) {
    StartLeg(interval_);
  } else {
    after_leg_ = 0;
    timer_->stop();
  }
}

}  // namespace nitko
