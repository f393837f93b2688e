#pragma once

#include "framework/bitmap.h"
#include "framework/brush.h"
#include "framework/colors.h"

namespace nitko {

// A framework brush that starts with no colour chosen (clDefault) and may
// carry a pattern bitmap.
class TChartBrush : public TBrush {
 public:
  TChartBrush() { SetColor(clDefault); }

  // Not owned: the pattern belongs to whoever assigned it.
  const TBitmap* Pattern() const { return pattern_; }
  void SetPattern(const TBitmap* value) {
    if (pattern_ == value) return;
    pattern_ = value;
    Changed();
  }
  bool HasPattern() const { return pattern_ && !pattern_->Empty(); }

 private:
  const TBitmap* pattern_ = nullptr;
};

}  // namespace nitko
