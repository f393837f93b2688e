#pragma once

#include <functional>

#include "framework/persistent.h"

namespace nitko {

// A pen, brush or font: tells its owner when one of its properties changed.
class TGraphicsObject : public TPersistent {
 public:
  std::function<void()> OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange();
  }
  // Stores value and notifies only when it differs.
  template <typename T>
  void Change(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Changed();
  }
};

}  // namespace nitko
