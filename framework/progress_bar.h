#pragma once

#include "framework/control.h"

namespace nitko {

class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* owner);

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  int Step() const { return step_; }
  void SetMin(int value) { SetRange(value, max_); }
  void SetMax(int value) { SetRange(min_, value); }
  void SetRange(int min, int max);
  // Clamped into Min..Max.
  void SetPosition(int value);
  void SetStep(int value) { step_ = value; }
  void StepIt() { SetPosition(position_ + step_); }
  void StepBy(int delta) { SetPosition(position_ + delta); }

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int step_ = 10;
};

}  // namespace nitko
