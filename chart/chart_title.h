#pragma once

#include <functional>

#include "chart/chart_brush.h"
#include "chart/chart_pen.h"
#include "framework/colors.h"
#include "framework/font.h"
#include "framework/label.h"
#include "framework/persistent.h"
#include "framework/strings.h"
#include "framework/types.h"

namespace nitko {

// Lines of text above (title) or below (foot) the plot area. Every change
// to its settings, lines, font, brush or frame calls the change handler.
class TChartTitle : public TPersistent {
 public:
  explicit TChartTitle(std::function<void()> changed);
  TChartTitle(const TChartTitle&) = delete;
  TChartTitle& operator=(const TChartTitle&) = delete;

  TStringList& Text() { return text_; }
  const TStringList& Text() const { return text_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // With a frame or a filled background: the box hugs the text.
  bool AdjustFrame() const { return adjust_frame_; }
  void SetAdjustFrame(bool value);
  // clDefault: the brush decides the background.
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TChartBrush& Brush() { return brush_; }
  const TChartBrush& Brush() const { return brush_; }
  TChartHiddenPen& Frame() { return frame_; }
  const TChartHiddenPen& Frame() const { return frame_; }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }

  // Where the title was drawn in the last frame.
  const TRect& TitleRect() const { return title_rect_; }
  void SetTitleRect(const TRect& r) { title_rect_ = r; }

 private:
  void Changed() {
    if (changed_) changed_();
  }

  std::function<void()> changed_;
  TStringList text_;
  bool visible_ = true;
  TAlignment alignment_ = TAlignment::taCenter;
  bool adjust_frame_ = true;
  TColor color_ = clDefault;
  TChartBrush brush_;
  TChartHiddenPen frame_;
  TFont font_;
  TRect title_rect_;
};

// The font every chart text starts from.
void ApplyChartDefaultFont(TFont& font);

}  // namespace nitko
