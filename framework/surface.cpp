#include "framework/surface.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "framework/qt_bridge.h"

namespace nitko {

namespace {

int ClampSide(int side) { return std::clamp(side, 0, kMaxSurfaceSide); }

std::unique_ptr<QImage> WhiteImage(int width, int height) {
  auto image = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
  image->fill(Qt::white);
  return image;
}

}  // namespace

TSurface::TSurface(int width, int height) : width_(ClampSide(width)), height_(ClampSide(height)) {}

TSurface::~TSurface() = default;

// Whoever assigns a whole image through Image() sets the size with it.
int TSurface::Width() const { return image_ ? image_->width() : width_; }
int TSurface::Height() const { return image_ ? image_->height() : height_; }

void TSurface::SetSize(int width, int height) {
  width = ClampSide(width);
  height = ClampSide(height);
  if (width == Width() && height == Height()) return;
  width_ = width;
  height_ = height;
  if (!image_) return;
  auto next = WhiteImage(width, height);
  if (!image_->isNull() && !next->isNull()) {
    QPainter p(next.get());
    p.drawImage(0, 0, *image_);
  }
  image_ = std::move(next);
}

QImage& TSurface::Image() {
  if (!image_) image_ = WhiteImage(width_, height_);
  return *image_;
}

const QImage& TSurface::Image() const {
  if (!image_) image_ = WhiteImage(width_, height_);
  return *image_;
}

TColor TSurface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return clNone;
  if (!image_) return clWhite;
  return RgbToColor(image_->pixel(x, y));
}

void TSurface::SetPixel(int x, int y, TColor rgb) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  Image().setPixel(x, y, ColorToQRgb(rgb));
}

void TSurface::Fill(TColor rgb) { Image().fill(QColor::fromRgb(ColorToQRgb(rgb))); }

void TSurface::ReduceToBlackAndWhite() {
  if (!image_) return;  // white stays white
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
