#include "chart/custom_chart.h"

#include <algorithm>
#include <string>
#include <vector>

#include "chart/chart_axis.h"
#include "chart/chart_series.h"
#include "chart/tee_canvas.h"

namespace nitko {

TCustomChart::TCustomChart(TComponent* owner) : TCustomAxisPanel(owner) {
  const auto changed = [this] { AttributeChanged(); };
  title_ = std::make_unique<TChartTitle>(changed);
  foot_ = std::make_unique<TChartTitle>(changed);
  back_wall_ = std::make_unique<TChartWall>(changed, clDefault);
  back_wall_->Brush().SetStyle(TBrushStyle::bsClear);
  left_wall_ = std::make_unique<TChartWall>(changed, TColor{0x80FFFF});
  legend_ = std::make_unique<TChartLegend>(changed);
  bottom_wall_ = std::make_unique<TChartWall>(changed, clWhite);
}

TCustomChart::~TCustomChart() {
  MarkDestroying();
  title_.reset();
  foot_.reset();
  back_wall_.reset();
  left_wall_.reset();
  bottom_wall_.reset();
  legend_.reset();
}

int TCustomChart::AxisWallSize(const TCustomChartAxis& axis) const {
  if (!View3D() || !View3DWalls()) return 0;
  if (&axis == &LeftAxis()) return left_wall_->Size();
  if (&axis == &BottomAxis()) return bottom_wall_->Size();
  return 0;
}

// --- titles -----------------------------------------------------------------

void TCustomChart::DrawTitles() {
  TCanvas3D& c = Canvas();
  c.BeginFlatPlane();
  legend_rect_ = {};
  const bool with_legend = legend_->Visible() && LegendItemCount() > 0;
  if (with_legend && legend_->Vertical()) DrawLegend();
  if (title_->Visible()) DrawTitle(*title_, true);
  if (foot_->Visible()) DrawTitle(*foot_, false);
  if (with_legend && !legend_->Vertical()) DrawLegend();
  c.EndFlatPlane();
}

namespace {

// The canvas brush behind a title. A default-coloured title over a solid
// brush of its own colour fills in that colour; the title's Color stays as
// it is, so painting changes no property.
void PrepareTitleBrush(TCanvas3D& c, const TChartTitle& title) {
  const TChartBrush& brush = title.Brush();
  const bool solid = brush.Style() == TBrushStyle::bsSolid;
  TColor color = title.Color();
  if (color == clDefault && solid) color = brush.Color();
  if (color == clDefault) {
    if (solid) {
      c.Brush().SetStyle(TBrushStyle::bsClear);
    } else {
      c.Brush().Assign(brush);
      c.SetBackgroundMode(TBackgroundMode::bmTransparent);
    }
  } else if (!solid) {
    c.Brush().Assign(brush);
    c.SetBackgroundMode(TBackgroundMode::bmOpaque);
    c.SetBackgroundColor(color);
  } else {
    c.Brush().SetColor(color);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
  }
}

// The box narrowed to width, keeping its side or centre by alignment.
void FitTitleBox(TRect& box, TAlignment alignment, int width) {
  switch (alignment) {
    case TAlignment::taLeftJustify:
      box.Right = box.Left + width;
      break;
    case TAlignment::taRightJustify:
      box.Left = box.Right - width;
      break;
    case TAlignment::taCenter: {
      const int centre = (box.Left + box.Right) / 2;
      box.Left = centre - width / 2;
      box.Right = centre + width / 2;
      break;
    }
  }
}

// Where a line of the given width starts between left and right; wW is
// the width of a "W", half of which keeps a justified line off the side.
int TitleLineX(TAlignment alignment, int left, int right, int width, int wW) {
  switch (alignment) {
    case TAlignment::taLeftJustify:
      return left + wW / 2;
    case TAlignment::taRightJustify:
      return right - width - wW / 2;
    case TAlignment::taCenter:
      break;
  }
  return (left + right) / 2 - width / 2;
}

}  // namespace

void TCustomChart::DrawTitle(TChartTitle& title, bool onTop) {
  TCanvas3D& c = Canvas();
  UseTitleFont(title.Font());
  const int lineH = c.LineHeight();
  PrepareTitleBrush(c, title);
  const TChartPen& frame = title.Frame();
  const bool has_frame = frame.Visible() && frame.Color() != clDefault;
  const int fw = has_frame ? frame.Width() : 0;
  if (has_frame)
    c.Pen().Assign(frame);
  else
    c.Pen().SetStyle(TPenStyle::psClear);

  const TStrings& text = title.Text();
  const int n = text.Count();
  TRect plot = PlotRect();
  const int left = plot.Left + fw;
  const int right = plot.Right - fw;
  // The lines lie inside the frame against the plot area's edge.
  const int top = onTop ? plot.Top + fw : plot.Bottom - fw - n * lineH;
  std::vector<int> widths(n);
  for (int i = 0; i < n; ++i) widths[i] = c.MeasureTextWidth(text[i]);
  const int wW = c.MeasureTextWidth("W");
  TRect box{plot.Left, top - fw, plot.Right, top + n * lineH + fw};
  if (has_frame || c.Brush().Style() != TBrushStyle::bsClear) {
    const int widest = n > 0 ? *std::max_element(widths.begin(), widths.end()) : 0;
    if (title.AdjustFrame()) FitTitleBox(box, title.Alignment(), wW + widest);
    c.DrawRectBounds(box);
  }
  c.SetBackgroundMode(TBackgroundMode::bmTransparent);
  c.SetTextAlignment(taLeft | taTop);
  // A bottom title is laid from its last line up.
  for (int k = 0; k < n; ++k) {
    const int i = onTop ? k : n - 1 - k;
    const int x = TitleLineX(title.Alignment(), left, right, widths[i], wW);
    if (c.FullRotationCapable())
      c.TextAtDepth(x, top + i * lineH, text[i], 0);
    else
      c.PaintText(x, top + i * lineH, text[i]);
  }
  title.SetTitleRect(box);
  // The room taken: the frame, and the lines with the gap after them.
  const int taken = 2 * fw + (n > 0 ? n * lineH + kTitleDistance : 0);
  if (onTop)
    plot.Top += taken;
  else
    plot.Bottom -= taken;
  SetPlotRect(plot);
  RecalcChartSize();
}

// --- legend -----------------------------------------------------------------

int TCustomChart::LegendItemCount() const {
  int n = 0;
  for (const TChartSeries* s : SeriesList())
    if (s->Active() && s->ShowInLegend()) ++n;
  return n;
}

void TCustomChart::DrawLegend() {
  TCanvas3D& c = Canvas();
  c.Font().Assign(legend_->Font());
  std::vector<const TChartSeries*> items;
  for (const TChartSeries* s : SeriesList())
    if (s->Active() && s->ShowInLegend()) items.push_back(s);
  std::vector<std::string> texts;
  int widest = 0;
  for (const TChartSeries* s : items) {
    texts.push_back(s->Title().empty() ? s->Name() : s->Title());
    widest = std::max(widest, c.MeasureTextWidth(texts.back()));
  }
  const int lineH = c.LineHeight();
  const int gap = 4;
  const int itemW = legend_->ColorWidth() + gap + widest + gap;
  const int n = static_cast<int>(items.size());
  const bool vertical = legend_->Vertical();
  const int w = gap + (vertical ? itemW : n * itemW);
  const int h = gap + (vertical ? n * lineH : lineH) + gap;

  TRect plot = PlotRect();
  TRect box;
  const int top = plot.Top + MulDiv(legend_->TopPos(), plot.Height(), 100);
  const int left = (plot.Left + plot.Right - w) / 2;
  switch (legend_->Alignment()) {
    case TLegendAlignment::laRight:
      box = Bounds(plot.Right - w, top, w, h);
      if (legend_->ResizeChart()) plot.Right = box.Left - 2 * kTitleDistance;
      break;
    case TLegendAlignment::laLeft:
      box = Bounds(plot.Left, top, w, h);
      if (legend_->ResizeChart()) plot.Left = box.Right + 2 * kTitleDistance;
      break;
    case TLegendAlignment::laTop:
      box = Bounds(left, plot.Top, w, h);
      if (legend_->ResizeChart()) plot.Top = box.Bottom + kTitleDistance;
      break;
    case TLegendAlignment::laBottom:
      box = Bounds(left, plot.Bottom - h, w, h);
      if (legend_->ResizeChart()) plot.Bottom = box.Top - kTitleDistance;
      break;
  }

  c.Pen().SetStyle(TPenStyle::psClear);
  const int shadow = legend_->ShadowSize();
  if (shadow > 0) {
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(legend_->ShadowColor());
    c.FillArea(OffsetRect(box, shadow, shadow));
  }
  c.ApplyChartPen(legend_->Frame());
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(legend_->Color());
  c.DrawRectBounds(box);
  c.SetBackgroundMode(TBackgroundMode::bmTransparent);
  c.SetTextAlignment(taLeft | taTop);
  for (int i = 0; i < n; ++i) {
    const int x = box.Left + gap + (vertical ? 0 : i * itemW);
    const int y = box.Top + gap + (vertical ? i * lineH : 0);
    c.Pen().SetStyle(TPenStyle::psSolid);
    c.Pen().SetColor(clBlack);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(items[i]->SeriesColor());
    c.DrawRect(x, y + 2, x + legend_->ColorWidth(), y + lineH - 2);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.PaintText(x + legend_->ColorWidth() + gap, y, texts[i]);
  }
  legend_rect_ = box;
  SetPlotRect(plot);
  RecalcChartSize();
}

// --- walls ------------------------------------------------------------------

void TCustomChart::PrepareWall(const TChartWall& wall) {
  TCanvas3D& c = Canvas();
  c.ApplyChartPen(wall.Pen());
  const TChartBrush& brush = wall.Brush();
  // Framework brushes carry no bitmap: a patterned wall fills in the
  // pattern brush's own colour and style.
  if (brush.HasPattern()) {
    c.Brush().Assign(brush);
    return;
  }
  if (wall.Color() == clDefault && brush.Style() == TBrushStyle::bsSolid) {
    c.Brush().SetStyle(TBrushStyle::bsClear);
    return;
  }
  c.Brush().SetColor(wall.Color());
  c.Brush().SetStyle(brush.Style());
  if (brush.Style() == TBrushStyle::bsSolid) {
    c.SetBackgroundMode(TBackgroundMode::bmTransparent);
    return;
  }
  const TColor back = brush.Color();
  c.SetBackgroundMode(TBackgroundMode::bmOpaque);
  c.SetBackgroundColor(back);
  // A hatch in its own background colour would vanish. A colour makes a
  // clear brush solid, so the style goes back on after it.
  if (wall.Color() == back) {
    c.Brush().SetColor(back == clBlack ? clWhite : clBlack);
    c.Brush().SetStyle(brush.Style());
  }
}

void TCustomChart::DrawWallSet() {
  TCanvas3D& c = Canvas();
  const TRect plot = PlotRect();
  PrepareWall(*back_wall_);
  if (!View3D()) {
    c.DrawRect(plot.Left, plot.Top, plot.Right + 1, plot.Bottom + 1);
  } else if (View3DWalls()) {
    if (back_wall_->Size() >= 1)
      c.DrawBox(plot, Width3D(), Width3D() + back_wall_->Size());
    else
      c.RectangleAtDepth(plot, Width3D());
  }
  if (BackImageInside()) {
    TRect inside = plot;
    if (back_wall_->Pen().Visible()) {
      ++inside.Top;
      --inside.Bottom;
    }
    DrawImageInto(inside);
  }
  if (!View3D() || !View3DWalls()) return;
  PrepareWall(*left_wall_);
  if (left_wall_->Size() >= 1)
    c.DrawBox({plot.Left - left_wall_->Size(), plot.Top, plot.Left, plot.Bottom}, 0, Width3D());
  else
    c.DepthRectX(plot.Left, plot.Top, plot.Bottom, 0, Width3D());
  PrepareWall(*bottom_wall_);
  if (bottom_wall_->Size() >= 1)
    c.DrawBox({plot.Left, plot.Bottom, plot.Right, plot.Bottom + bottom_wall_->Size()}, 0,
              Width3D());
  else
    c.DepthRectY(plot.Left, plot.Right, plot.Bottom, 0, Width3D());
}

}  // namespace nitko
