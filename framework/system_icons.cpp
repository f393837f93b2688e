#include "framework/system_icons.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include "framework/bitmap.h"
#include "framework/qt_bridge.h"
#include "framework/surface.h"

namespace nitko {

void LoadSystemIcon(TBitmap& bitmap, TSystemIcon icon, TColor background) {
  constexpr int kSize = 32;
  bitmap.SetSize(kSize, kSize);
  QImage& image = bitmap.Surface().Image();
  image.fill(ToQColor(background));
  QStyle::StandardPixmap which = QStyle::SP_MessageBoxInformation;
  switch (icon) {
    case TSystemIcon::siHand: which = QStyle::SP_MessageBoxCritical; break;
    case TSystemIcon::siQuestion: which = QStyle::SP_MessageBoxQuestion; break;
    case TSystemIcon::siExclamation: which = QStyle::SP_MessageBoxWarning; break;
    case TSystemIcon::siAsterisk: which = QStyle::SP_MessageBoxInformation; break;
  }
  // At the bitmap's device pixels, where the icon has them.
  const QPixmap pixmap = QApplication::style()->standardIcon(which).pixmap(
      QSize(kSize, kSize), bitmap.Surface().Ratio());
  QPainter p(&image);
  p.drawPixmap(QRect(0, 0, kSize, kSize), pixmap);
}

}  // namespace nitko
