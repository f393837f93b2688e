#pragma once

#include "framework/pen.h"

namespace nitko {

// A framework pen that can also be hidden or drawn as small dots.
class TChartPen : public TPen {
 public:
  TChartPen() = default;

  bool Visible() const { return visible_; }
  void SetVisible(bool value) { Change(visible_, value); }
  bool SmallDots() const { return smallDots_; }
  void SetSmallDots(bool value) { Change(smallDots_, value); }
  void Assign(const TChartPen& other);

 protected:
  TChartPen(TColor color, int width, TPenStyle style, bool visible);

 private:
  bool visible_ = true;
  bool smallDots_ = false;
};

class TChartHiddenPen : public TChartPen {
 public:
  TChartHiddenPen() : TChartPen(clBlack, 1, TPenStyle::psSolid, false) {}
};

class TDottedGrayPen : public TChartPen {
 public:
  TDottedGrayPen() : TChartPen(TColor{0x808080}, 1, TPenStyle::psDot, true) {}
};

class TDarkGrayPen : public TChartPen {
 public:
  TDarkGrayPen() : TChartPen(TColor{0x808080}, 1, TPenStyle::psSolid, true) {}
};

class TChartAxisPen : public TChartPen {
 public:
  TChartAxisPen() : TChartPen(clBlack, 2, TPenStyle::psSolid, true) {}
};

class TChartArrowPen : public TChartPen {
 public:
  TChartArrowPen() : TChartPen(TColor{0xFFFFFF}, 1, TPenStyle::psSolid, true) {}
};

}  // namespace nitko
