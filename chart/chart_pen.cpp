#include "chart/chart_pen.h"

namespace nitko {

TChartPen::TChartPen(TColor color, int width, TPenStyle style, bool visible) : visible_(visible) {
  // Construction defaults: nobody listens yet, so no notification matters.
  SetColor(color);
  SetWidth(width);
  SetStyle(style);
}

void TChartPen::Assign(const TChartPen& other) {
  const bool penDiffers = Color() != other.Color() || Width() != other.Width() ||
                          Style() != other.Style() || Mode() != other.Mode();
  const bool extraDiffers = visible_ != other.visible_ || smallDots_ != other.smallDots_;
  visible_ = other.visible_;
  smallDots_ = other.smallDots_;
  TPen::Assign(other);  // notifies by itself when a framework attribute differed
  if (extraDiffers && !penDiffers) Changed();
}

}  // namespace nitko
