#pragma once

#include <cstdint>
#include <memory>

#include "framework/colors.h"
#include "framework/control.h"
#include "framework/form.h"
#include "framework/types.h"

namespace nitko {

class TBitmap;

enum class TCGaugeKind : uint8_t { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

inline constexpr const char* SGaugeOutOfRange = "Value must be between %d and %d";

// ⌊part × 100 / whole⌋ through extended precision; 0 when whole is 0.
int PercentOfRange(long long part, long long whole);
// ⌊percent × 0.01 × size⌋ through extended precision, 0.01 taken as a double.
int ScaleByPercent(int percent, int size);

// Shows how far Progress has come from MinValue to MaxValue, as a bar, a
// pie, a needle or the bare percentage, with the percentage printed over it
// in the inverse of what lies beneath. Each paint composes the picture in
// off-screen bitmaps and copies it to the control once, so it never flickers.
//
// Like every control it belongs to the GUI thread. Another thread reports
// progress by handing the call over: PostToGuiThread([g, v] { g->SetProgress(v); }).
// The gauge takes no lock; the queue keeps the calls in order, so the shown
// percentage follows the last value posted.
class TCGauge : public TGraphicControl {
 public:
  explicit TCGauge(TComponent* owner);
  ~TCGauge() override;

  int MinValue() const { return min_value_; }
  int MaxValue() const { return max_value_; }
  int Progress() const { return progress_; }
  TCGaugeKind Kind() const { return kind_; }
  bool ShowText() const { return show_text_; }
  TFormBorderStyle BorderStyle() const { return border_style_; }
  TColor ForeColor() const { return fore_color_; }
  TColor BackColor() const { return back_color_; }

  // Raise Exception (SGaugeOutOfRange) when the range would turn over; the
  // gauge is then left as it was. Progress is pulled into the new range.
  void SetMinValue(int value);
  void SetMaxValue(int value);
  // Clamped to the range; repaints only when the whole percentage changes,
  // so progress may be reported in fine steps.
  void SetProgress(int value);
  // Adds to Progress and always repaints.
  void AddProgress(int value);
  // These repaint only on a real change.
  void SetKind(TCGaugeKind value);
  void SetShowText(bool value);
  void SetBorderStyle(TFormBorderStyle value);
  void SetForeColor(TColor value);
  void SetBackColor(TColor value);

  // 0..100; 0 for an empty range.
  int GetPercentDone() const;

 protected:
  void Paint() override;
  // The steps of Paint; r is the area inside the frame.
  void PaintBackground(TBitmap& bitmap);
  void PaintAsNothing(TBitmap& bitmap, const TRect& r);
  void PaintAsBar(TBitmap& bitmap, const TRect& r);
  // Fills r with Color, sets the dial's brush and pen; returns its width
  // and height.
  TSize PrepareDial(TCanvas& canvas, const TRect& r) const;
  void PaintAsPie(TBitmap& bitmap, const TRect& r);
  void PaintAsNeedle(TBitmap& bitmap, const TRect& r);
  void PaintAsText(TBitmap& image, const TRect& r);

 private:
  // Repaints now, or once the description is read.
  void Changed();

  // The paint's bitmaps, kept between paints with their fonts resolved;
  // each paint starts them from a fresh canvas's state.
  struct Layers;
  std::unique_ptr<Layers> layers_;

  int min_value_ = 0;
  int max_value_ = 100;
  int progress_ = 0;
  TCGaugeKind kind_ = TCGaugeKind::gkHorizontalBar;
  bool show_text_ = true;
  TFormBorderStyle border_style_ = TFormBorderStyle::bsSingle;
  TColor fore_color_ = clBlack;
  TColor back_color_ = clWhite;
};

}  // namespace nitko
