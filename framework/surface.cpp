#include "framework/surface.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "framework/qt_bridge.h"

namespace nitko {

namespace {

int ClampSide(int side) { return std::clamp(side, 0, kMaxSurfaceSide); }

std::unique_ptr<QImage> WhiteImage(int width, int height, int ratio) {
  auto image = std::make_unique<QImage>(width * ratio, height * ratio, QImage::Format_RGB32);
  image->setDevicePixelRatio(ratio);
  image->fill(Qt::white);
  return image;
}

}  // namespace

int DeviceRatio() {
  const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  return app != nullptr ? std::max(1, qRound(app->devicePixelRatio())) : 1;
}

TSurface::TSurface(int width, int height)
    : width_(ClampSide(width)), height_(ClampSide(height)), ratio_(DeviceRatio()) {}

TSurface::~TSurface() = default;

// Whoever assigns a whole image through Image() sets the size and the ratio
// with it. An empty image keeps no ratio, so the surface's own stays.
int TSurface::Ratio() const {
  return image_ && !image_->isNull() ? std::max(1, qRound(image_->devicePixelRatio())) : ratio_;
}
int TSurface::Width() const { return image_ ? image_->width() / Ratio() : width_; }
int TSurface::Height() const { return image_ ? image_->height() / Ratio() : height_; }

void TSurface::SetSize(int width, int height) {
  width = ClampSide(width);
  height = ClampSide(height);
  if (width == Width() && height == Height()) return;
  width_ = width;
  height_ = height;
  if (!image_) return;
  ratio_ = Ratio();
  auto next = WhiteImage(width, height, ratio_);
  if (image_->format() == QImage::Format_RGB32) {
    // Row by row: a painter would scale between the device pixels.
    const int w = std::min(image_->width(), next->width());
    for (int y = 0; y < std::min(image_->height(), next->height()); ++y)
      std::memcpy(next->scanLine(y), image_->constScanLine(y), static_cast<size_t>(w) * 4);
  } else if (!image_->isNull() && !next->isNull()) {
    QPainter p(next.get());
    p.drawImage(0, 0, *image_);
  }
  image_ = std::move(next);
}

QImage& TSurface::Image() {
  if (!image_) image_ = WhiteImage(width_, height_, ratio_);
  return *image_;
}

const QImage& TSurface::Image() const {
  if (!image_) image_ = WhiteImage(width_, height_, ratio_);
  return *image_;
}

bool TSurface::ShareFrom(const TSurface& source) {
  if (&source == this || source.Width() != Width() || source.Height() != Height() ||
      source.Ratio() != Ratio())
    return false;
  if (image_)
    *image_ = source.Image();
  else
    image_ = std::make_unique<QImage>(source.Image());
  return true;
}

bool TSurface::SharesPixels() const { return image_ && !image_->isDetached(); }

bool TSurface::CopyPartsFrom(const TSurface& source, std::span<const TRect> parts) {
  if (&source == this || source.Width() != Width() || source.Height() != Height() ||
      source.Ratio() != Ratio())
    return false;
  const QImage& from = source.Image();
  QImage& to = Image();
  const int k = Ratio();
  const int w = to.width(), h = to.height();
  auto* dst = reinterpret_cast<QRgb*>(to.bits());
  const auto* src = reinterpret_cast<const QRgb*>(from.constBits());
  const ptrdiff_t dst_stride = to.bytesPerLine() / 4, src_stride = from.bytesPerLine() / 4;
  for (const TRect& r : parts) {
    const int l = std::clamp(r.Left * k, 0, w), right = std::clamp(r.Right * k, 0, w);
    const int t = std::clamp(r.Top * k, 0, h), b = std::clamp(r.Bottom * k, 0, h);
    if (l >= right) continue;
    for (int y = t; y < b; ++y)
      std::memcpy(dst + y * dst_stride + l, src + y * src_stride + l,
                  static_cast<size_t>(right - l) * sizeof(QRgb));
  }
  return true;
}

long long TSurface::PixelsKey() const { return image_ ? image_->cacheKey() : 0; }

TColor TSurface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return clNone;
  if (!image_) return clWhite;
  const int r = Ratio();
  return RgbToColor(image_->pixel(x * r, y * r));
}

void TSurface::SetPixel(int x, int y, TColor rgb) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  QImage& image = Image();
  const int r = Ratio();
  for (int dy = 0; dy < r; ++dy)
    for (int dx = 0; dx < r; ++dx) image.setPixel(x * r + dx, y * r + dy, ColorToQRgb(rgb));
}

void TSurface::Fill(TColor rgb) { Image().fill(QColor::fromRgb(ColorToQRgb(rgb))); }

void TSurface::ReduceToBlackAndWhite() {
  if (!image_) return;  // white stays white
  for (int y = 0; y < image_->height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image_->scanLine(y));
    for (int x = 0; x < image_->width(); ++x) {
      const QRgb c = row[x];
      const unsigned luma = 299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c);
      row[x] = luma * 2 >= 255 * 1000 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
  }
}

}  // namespace nitko
