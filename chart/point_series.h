#pragma once

#include "chart/custom_series.h"

namespace nitko {

// Every visible point as a marker in the point's own colour, no line.
class TPointSeries : public TCustomSeries {
 public:
  explicit TPointSeries(TComponent* owner);

  // Turning it on also lets each marker take its point's colour.
  void SetColorEachPoint(bool value) override;
  bool PixelsFromValueLists() const override { return true; }
};

}  // namespace nitko
