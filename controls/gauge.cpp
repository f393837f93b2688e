#include "controls/gauge.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "controls/blt_bitmap.h"
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/set_if_changed.h"
#include "runtime/exception.h"
#include "runtime/extended.h"
#include "runtime/message_format.h"

namespace nitko {

namespace {

constexpr Extended kPi = std::numbers::pi_v<Extended>;

// Floors a computed coordinate or percentage; values beyond int saturate.
int FloorToInt(Extended v) {
  const Extended f = std::floor(v);
  constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
  if (!(f >= lo)) return lo;  // also NaN
  if (f > hi) return hi;
  return static_cast<int>(f);
}

}  // namespace

int PercentOfRange(long long part, long long whole) {
  if (whole == 0) return 0;
  // Extended precision holds part × 100 exactly, beyond 32 bits, so the
  // floor agrees with exact arithmetic.
  const double q =
      static_cast<double>(static_cast<Extended>(part) * 100.0L / static_cast<Extended>(whole));
  return FloorToInt(q);
}

int ScaleByPercent(int percent, int size) {
  // 0.01 as a double lies just above one hundredth, so whole percentages of
  // a size never come out one short.
  const double hundredth = 0.01;
  const double v =
      static_cast<double>(static_cast<Extended>(percent) * hundredth * static_cast<Extended>(size));
  return FloorToInt(v);
}

struct TCGauge::Layers {
  TBitmap image;
  TBltBitmap overlay, text;
};

namespace {

// A bitmap's canvas set back to how a new one starts.
TCanvas& Fresh(TBitmap& bitmap) {
  static const TCanvas fresh;
  bitmap.Canvas().AssignState(fresh);
  return bitmap.Canvas();
}

}  // namespace

TCGauge::~TCGauge() = default;

TCGauge::TCGauge(TComponent* owner) : TGraphicControl(owner), layers_(std::make_unique<Layers>()) {
  SetBounds(Left(), Top(), 100, 100);
}

int TCGauge::GetPercentDone() const {
  // Differences in 64 bits: a range wider than int stays a correct range.
  return PercentOfRange(static_cast<long long>(progress_) - min_value_,
                        static_cast<long long>(max_value_) - min_value_);
}

// A description sets one property after another: the gauge is drawn once
// it is read, not once per property, which a tall gauge feels.
void TCGauge::Changed() {
  if (IsLoading())
    Invalidate();
  else
    Repaint();
}

void TCGauge::SetProgress(int value) {
  const int before = GetPercentDone();
  value = std::clamp(value, min_value_, max_value_);
  if (value == progress_) return;
  progress_ = value;
  if (GetPercentDone() != before) Changed();
}

void TCGauge::AddProgress(int value) {
  // The sum saturates at the range instead of wrapping around int.
  const long long sum = static_cast<long long>(progress_) + value;
  SetProgress(static_cast<int>(std::clamp<long long>(sum, min_value_, max_value_)));
  Repaint();
}

void TCGauge::SetMinValue(int value) {
  if (value == min_value_) return;
  if (value > max_value_)
    throw Exception(
        FormatMessage(SGaugeOutOfRange, {-2147483647LL, static_cast<long long>(max_value_) - 1}));
  min_value_ = value;
  if (progress_ < value) progress_ = value;
  Changed();
}

void TCGauge::SetMaxValue(int value) {
  if (value == max_value_) return;
  if (value < min_value_)
    throw Exception(
        FormatMessage(SGaugeOutOfRange, {static_cast<long long>(min_value_) + 1, 2147483647LL}));
  max_value_ = value;
  if (progress_ > value) progress_ = value;
  Changed();
}

void TCGauge::SetKind(TCGaugeKind value) {
  SetIfChanged(kind_, value, [this] { Changed(); });
}

void TCGauge::SetShowText(bool value) {
  SetIfChanged(show_text_, value, [this] { Changed(); });
}

void TCGauge::SetBorderStyle(TFormBorderStyle value) {
  SetIfChanged(border_style_, value, [this] { Changed(); });
}

void TCGauge::SetForeColor(TColor value) {
  SetIfChanged(fore_color_, value, [this] { Changed(); });
}

void TCGauge::SetBackColor(TColor value) {
  SetIfChanged(back_color_, value, [this] { Changed(); });
}

// The drawing goes into a black image through an overlay combined by xor,
// so the ring left outside r stays black and is the frame; the text is then
// xor'ed on top, which inverts whatever lies beneath it.
void TCGauge::Paint() {
  TBitmap& image = layers_->image;
  image.SetSize(Width(), Height());
  Fresh(image);
  PaintBackground(image);
  TRect r = ClientRect();
  if (border_style_ == TFormBorderStyle::bsSingle) r = InflateRect(r, -1, -1);

  TBltBitmap& overlay = layers_->overlay;
  Fresh(overlay);
  overlay.SizeLike(image);
  PaintBackground(overlay);
  switch (kind_) {
    case TCGaugeKind::gkText:
      PaintAsNothing(overlay, r);
      break;
    case TCGaugeKind::gkHorizontalBar:
    case TCGaugeKind::gkVerticalBar:
      PaintAsBar(overlay, r);
      break;
    case TCGaugeKind::gkPie:
      PaintAsPie(overlay, r);
      break;
    case TCGaugeKind::gkNeedle:
      PaintAsNeedle(overlay, r);
      break;
  }
  TCanvas& ic = image.Canvas();
  ic.SetCopyMode(TCopyMode::cmSrcInvert);
  ic.Draw(0, 0, overlay);
  ic.SetCopyMode(TCopyMode::cmSrcCopy);

  if (show_text_) PaintAsText(image, r);

  Canvas().SetCopyMode(TCopyMode::cmSrcCopy);
  Canvas().Draw(0, 0, image);
}

void TCGauge::PaintBackground(TBitmap& bitmap) {
  TCanvas& c = bitmap.Canvas();
  const TRect all = Rect(0, 0, Width(), Height());
  c.SetCopyMode(TCopyMode::cmBlackness);
  c.CopyRect(all, c, all);
  c.SetCopyMode(TCopyMode::cmSrcCopy);
}

void TCGauge::PaintAsNothing(TBitmap& bitmap, const TRect& r) {
  TCanvas& c = bitmap.Canvas();
  c.Brush().SetColor(back_color_);
  c.FillRect(r);
}

void TCGauge::PaintAsBar(TBitmap& bitmap, const TRect& r) {
  TCanvas& c = bitmap.Canvas();
  const int w = r.Right - r.Left + 1;
  const int h = r.Bottom - r.Top + 1;
  c.Brush().SetColor(back_color_);
  c.FillRect(r);
  c.Pen().SetColor(fore_color_);
  c.Pen().SetWidth(1);
  c.Brush().SetColor(fore_color_);
  // The far edges are the sizes themselves, not offsets from r's corner:
  // with a frame that lands exactly on r, without one it overshoots by a
  // pixel that the bitmap clips.
  if (kind_ == TCGaugeKind::gkHorizontalBar) {
    int f = ScaleByPercent(GetPercentDone(), w);
    if (f > w) f = w;
    if (f > 0) c.FillRect(Rect(r.Left, r.Top, f, h));
  } else {
    int f = ScaleByPercent(GetPercentDone(), h);
    if (f >= h) f = h - 1;
    c.FillRect(Rect(r.Left, h - f, w, h));
  }
}

TSize TCGauge::PrepareDial(TCanvas& c, const TRect& r) const {
  // With a frame the dial reaches one pixel further right and down.
  const int grow = border_style_ == TFormBorderStyle::bsSingle ? 1 : 0;
  c.Brush().SetColor(Color());
  c.FillRect(r);
  c.Brush().SetColor(back_color_);
  c.Pen().SetColor(fore_color_);
  c.Pen().SetWidth(1);
  return {r.Right - r.Left + grow, r.Bottom - r.Top + grow};
}

void TCGauge::PaintAsPie(TBitmap& bitmap, const TRect& r) {
  TCanvas& c = bitmap.Canvas();
  const auto [w, h] = PrepareDial(c, r);
  c.Ellipse(r.Left, r.Top, w, h);
  const int p = GetPercentDone();
  if (p > 0) {
    c.Brush().SetColor(fore_color_);
    const int mx = w / 2;
    const int my = h / 2;
    // The pie runs counter-clockwise from the start radial back to twelve
    // o'clock, so the wedge grows clockwise from there.
    const double angle = static_cast<double>((p * 0.02L + 0.5L) * kPi);
    const Extended a = angle;
    c.Pie(r.Left, r.Top, w, h, FloorToInt(mx * (1 - std::cos(a))),
          FloorToInt(my * (1 - std::sin(a))), mx, 0);
  }
}

void TCGauge::PaintAsNeedle(TBitmap& bitmap, const TRect& r) {
  TCanvas& c = bitmap.Canvas();
  const int x = r.Left;
  const int y = r.Top;
  const auto [w, h] = PrepareDial(c, r);
  // The upper half of an ellipse twice as tall as r: the dial.
  c.Pie(x, y, w, 2 * h - 1, x + w, r.Bottom - 1, x, r.Bottom - 1);
  c.MoveTo(x, r.Bottom);
  c.LineTo(x + w, r.Bottom);
  const int p = GetPercentDone();
  if (p > 0) {
    c.Pen().SetColor(fore_color_);
    const int mx = Width() / 2;
    c.MoveTo(mx, r.Bottom - 1);
    const double angle = static_cast<double>(p * 0.01L * kPi);
    const Extended a = angle;
    c.LineTo(FloorToInt(mx * (1 - std::cos(a))), FloorToInt((r.Bottom - 1) * (1 - std::sin(a))));
  }
}

void TCGauge::PaintAsText(TBitmap& image, const TRect& r) {
  TBltBitmap& text = layers_->text;
  Fresh(text);
  text.SizeLike(image);
  PaintBackground(text);
  const std::string s = FormatMessage("%i%%", {GetPercentDone()});
  TCanvas& c = text.Canvas();
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Font().Assign(Font());
  c.Font().SetColor(clWhite);
  // Centred in r's size but not offset by its corner: the frame shifts the
  // text by nothing.
  const int x = (r.Right - r.Left + 1 - c.TextWidth(s)) / 2;
  const int y = (r.Bottom - r.Top + 1 - c.TextHeight(s)) / 2;
  c.TextRect(r, x, y, s);
  TCanvas& ic = image.Canvas();
  ic.SetCopyMode(TCopyMode::cmSrcInvert);
  ic.Draw(0, 0, text);
  ic.SetCopyMode(TCopyMode::cmSrcCopy);
}

}  // namespace nitko
