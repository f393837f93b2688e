#include "framework/surface.h"

#include <QImage>
#include <QPainter>

#include "framework/qt_bridge.h"

namespace nitko {

TSurface::TSurface(int width, int height)
    : image_(std::make_unique<QImage>(std::max(width, 0), std::max(height, 0),
                                      QImage::Format_RGB32)) {
  image_->fill(Qt::white);
}

TSurface::~TSurface() = default;

int TSurface::Width() const { return image_->width(); }
int TSurface::Height() const { return image_->height(); }

void TSurface::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == Width() && height == Height()) return;
  auto next = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
  next->fill(Qt::white);
  if (!image_->isNull() && !next->isNull()) {
    QPainter p(next.get());
    p.drawImage(0, 0, *image_);
  }
  image_ = std::move(next);
}

TColor TSurface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return clNone;
  return RgbToColor(image_->pixel(x, y));
}

void TSurface::SetPixel(int x, int y, TColor rgb) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  image_->setPixel(x, y, ColorToQRgb(rgb));
}

void TSurface::Fill(TColor rgb) { image_->fill(QColor::fromRgb(ColorToQRgb(rgb))); }

void TSurface::ReduceToBlackAndWhite() {
  for (int y = 0; y < Height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image_->scanLine(y));
    for (int x = 0; x < Width(); ++x) {
      const QRgb c = row[x];
      const unsigned luma = 299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c);
      row[x] = luma * 2 >= 255 * 1000 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
  }
}

}  // namespace nitko
