#pragma once

#include <memory>

#include "framework/component.h"
#include "framework/events.h"

class QTimer;

namespace nitko {

// Fires OnTimer every Interval milliseconds on the GUI thread while enabled.
class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  unsigned Interval() const { return interval_; }
  // A running timer starts its new interval from now.
  void SetInterval(unsigned ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // Milliseconds until the next OnTimer; 0 while stopped.
  unsigned Remaining() const;

  TNotifyEvent OnTimer;

 private:
  void Apply();
  void StartLeg(unsigned ms);
  std::unique_ptr<QTimer> timer_;
  unsigned interval_ = 1000;
  bool enabled_ = true;
  // Qt counts in int: an interval beyond it runs in legs, this much after the current one.
  unsigned after_leg_ = 0;
};

}  // namespace nitko
