#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/chart_brush.h"
#include "chart/chart_pen.h"
#include "chart/tee_canvas.h"
#include "chart/view_3d_options.h"
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/surface.h"

using namespace nitko;

namespace {

constexpr TColor kBack = 0x00F0E0D0;
constexpr TColor kInk = 0x000000FF;

// A window-like surface with its canvas, and the chart canvas attached to it.
struct Window {
  explicit Window(int w = 120, int h = 80) : surface(w, h), canvas(&surface) {
    surface.Fill(kBack);
    chart.SetOffscreenBuffer(false);
    chart.AttachSurface(&canvas);
  }
  int Count(TColor c) const {
    int n = 0;
    for (int y = 0; y < surface.Height(); ++y)
      for (int x = 0; x < surface.Width(); ++x) n += surface.Pixel(x, y) == c;
    return n;
  }
  TSurface surface;
  TCanvas canvas;
  TTeeCanvas3D chart;
};

bool SamePixels(const TSurface& a, const TSurface& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

// What a chart panel's paint does: copy the buffer when clean, else redraw.
struct Panel {
  Window window{100, 60};
  TView3DOptions options;
  TRect client{0, 0, 100, 60};
  int draws = 0;

  Panel() { window.chart.SetOffscreenBuffer(true); }
  void Paint() {
    if (window.chart.BlitIfClean()) return;
    ++draws;
    const TRect r = window.chart.BeginFrame(&window.canvas, &options, client, false);
    window.chart.Brush().SetColor(kInk);
    window.chart.FillArea({r.Left + 10, r.Top + 10, r.Left + 20, r.Top + 20});
    window.chart.EndFrame(&window.canvas, &window.canvas, client);
  }
};

TEST(ChartCanvasFrame, RepaintWithoutChangeIsOneCopy) {
  Panel p;
  p.Paint();
  ASSERT_EQ(p.draws, 1);
  EXPECT_EQ(p.window.surface.Pixel(15, 15), kInk);
  EXPECT_FALSE(p.window.chart.Dirty());

  // The window lost its pixels; a clean repaint restores them by copying.
  p.window.surface.Fill(kBack);
  p.Paint();
  EXPECT_EQ(p.draws, 1);
  EXPECT_EQ(p.window.surface.Pixel(15, 15), kInk);

  p.window.chart.MarkDirty();
  p.Paint();
  EXPECT_EQ(p.draws, 2);
}

TEST(ChartCanvasFrame, BufferFollowsSizeAndCanBeSwitchedOff) {
  Panel p;
  p.Paint();
  ASSERT_NE(p.window.chart.Buffer(), nullptr);
  EXPECT_EQ(p.window.chart.Buffer()->Width(), 100);

  p.client = {0, 0, 80, 50};
  p.window.chart.MarkDirty();
  p.Paint();
  EXPECT_EQ(p.window.chart.Buffer()->Width(), 80);
  EXPECT_EQ(p.window.chart.Buffer()->Height(), 50);
  // The frame that reallocated the buffer drew all of it.
  EXPECT_FALSE(p.window.chart.Dirty());

  p.window.chart.SetOffscreenBuffer(false);
  EXPECT_EQ(p.window.chart.Buffer(), nullptr);
  EXPECT_TRUE(p.window.chart.Dirty());
  const TRect r = p.window.chart.BeginFrame(&p.window.canvas, &p.options, {5, 6, 70, 40}, false);
  EXPECT_EQ(r.Left, 5);
  EXPECT_EQ(r.Bottom, 40);
  EXPECT_EQ(p.window.chart.Surface(), &p.window.canvas);
}

TEST(ChartCanvasFrame, RequestDuringAFrameOutlivesItsEndFrame) {
  Panel p;
  TTeeCanvas3D& chart = p.window.chart;
  chart.BeginFrame(&p.window.canvas, &p.options, p.client, false);
  chart.MarkDirty();  // e.g. a point added while this frame was drawn
  chart.EndFrame(&p.window.canvas, &p.window.canvas, p.client);
  EXPECT_TRUE(chart.Dirty());
  EXPECT_FALSE(chart.BlitIfClean());

  // The next paint redraws and, with no request meanwhile, is clean.
  p.Paint();
  EXPECT_EQ(p.draws, 1);
  EXPECT_FALSE(chart.Dirty());
  EXPECT_TRUE(chart.BlitIfClean());

  // A request before the frame begins is answered by that frame.
  chart.MarkDirty();
  chart.MarkDirty();
  p.Paint();
  EXPECT_EQ(p.draws, 2);
  EXPECT_FALSE(chart.Dirty());
}

TEST(ChartCanvasFrame, EndFrameCopiesToUserRectAndReattaches) {
  Window w;
  w.chart.SetOffscreenBuffer(true);
  TSurface other(10, 10);
  TCanvas owner(&other);
  const TRect user{30, 20, 60, 40};
  const TRect r = w.chart.BeginFrame(&w.canvas, nullptr, user, false);
  EXPECT_EQ(r.Left, 0);
  EXPECT_EQ(r.Right, 30);
  w.chart.Brush().SetColor(kInk);
  w.chart.FillArea({0, 0, 1, 1});
  EXPECT_EQ(w.surface.Pixel(30, 20), kBack);  // nothing reaches the window mid-frame
  w.chart.EndFrame(&w.canvas, &owner, user);
  EXPECT_EQ(w.surface.Pixel(30, 20), kInk);
  EXPECT_EQ(w.surface.Pixel(29, 20), kBack);
  EXPECT_EQ(w.chart.Surface(), &owner);
}

TEST(ChartCanvasFlat, ClipPlotAreaLeavesOutLeftTopAndBottomRow) {
  Window w(720, 300);
  w.chart.ClipPlotArea({50, 40, 700, 280}, 0, 0);
  w.chart.Brush().SetColor(kInk);
  w.chart.FillArea({0, 0, 720, 300});
  EXPECT_EQ(w.surface.Pixel(50, 100), kBack);
  EXPECT_EQ(w.surface.Pixel(51, 100), kInk);
  EXPECT_EQ(w.surface.Pixel(100, 40), kBack);
  EXPECT_EQ(w.surface.Pixel(100, 41), kInk);
  EXPECT_EQ(w.surface.Pixel(699, 278), kInk);
  EXPECT_EQ(w.surface.Pixel(700, 100), kBack);
  EXPECT_EQ(w.surface.Pixel(100, 279), kBack);

  w.chart.ClearClip();
  w.chart.FillArea({0, 0, 720, 300});
  EXPECT_EQ(w.surface.Pixel(0, 0), kInk);
}

TEST(ChartCanvasFlat, SetClipRectIntersects) {
  Window w;
  w.chart.SetClipRect({10, 10, 50, 50});
  w.chart.SetClipRect({30, 30, 80, 80});
  w.chart.Brush().SetColor(kInk);
  w.chart.FillArea({0, 0, 120, 80});
  EXPECT_EQ(w.Count(kInk), 20 * 20);
  EXPECT_EQ(w.surface.Pixel(30, 30), kInk);
}

TEST(ChartCanvasFlat, EllipseAtDepthIncludesItsLastColumnAndRow) {
  Window a(40, 40);
  Window b(40, 40);
  Window c(40, 40);
  for (Window* w : {&a, &b, &c}) w->chart.Brush().SetColor(kInk);
  a.chart.EllipseAtDepth(10, 10, 20, 20, 7);
  b.chart.DrawEllipse(10, 10, 21, 21);
  c.chart.DrawEllipse(10, 10, 20, 20);
  EXPECT_TRUE(SamePixels(a.surface, b.surface));
  EXPECT_FALSE(SamePixels(a.surface, c.surface));
  EXPECT_EQ(a.surface.Pixel(20, 15), clBlack);  // the outline reaches x = 20
  EXPECT_EQ(a.surface.Pixel(21, 15), kBack);
}

TEST(ChartCanvasFlat, DepthOperationsDrawAsTheirFlatCounterparts) {
  Window a;
  Window b;
  a.chart.StrokeLineZ(5, 5, 60, 30, 9);
  a.chart.HorizontalLineZ(5, 80, 50, 3);
  a.chart.RectangleAtDepth({70, 10, 100, 40}, 4);
  b.chart.StrokeLine(5, 5, 60, 30);
  b.chart.HorizontalLine(5, 80, 50);
  const TPoint quad[] = {{70, 10}, {100, 10}, {100, 40}, {70, 40}};
  b.chart.DrawPolygon(quad, 3);
  EXPECT_TRUE(SamePixels(a.surface, b.surface));
  EXPECT_EQ(a.surface.Pixel(80, 50), kBack);  // end pixel of a line not painted
}

TEST(ChartCanvasFlat, MeasuringText) {
  Window w;
  EXPECT_EQ(w.chart.MeasureTextWidth(""), 0);
  const int one = w.chart.MeasureTextWidth("W");
  EXPECT_GT(one, 0);
  EXPECT_GT(w.chart.MeasureTextWidth("WW"), one);
  EXPECT_GT(w.chart.LineHeight(), 0);
  EXPECT_EQ(w.chart.LineHeight(), w.canvas.TextHeight("W"));
  TTeeCanvas3D detached;
  EXPECT_GT(detached.MeasureTextWidth("W"), 0);
}

TEST(ChartCanvasFlat, RotatedText) {
  EXPECT_EQ(ReduceTextAngle(370), 10);
  EXPECT_EQ(ReduceTextAngle(720), 360);
  EXPECT_EQ(ReduceTextAngle(360), 360);
  EXPECT_EQ(ReduceTextAngle(90), 90);

  Window flat(200, 200);
  Window up(200, 200);
  flat.chart.Font().SetColor(kInk);
  up.chart.Font().SetColor(kInk);
  flat.chart.RotatedText(20, 100, 0, "WWWWWW");
  up.chart.RotatedText(100, 180, 90, "WWWWWW");
  auto extent = [](const Window& w, bool wide) {
    int lo = 1000, hi = -1;
    for (int y = 0; y < w.surface.Height(); ++y)
      for (int x = 0; x < w.surface.Width(); ++x)
        if (w.surface.Pixel(x, y) == kInk) {
          lo = std::min(lo, wide ? x : y);
          hi = std::max(hi, wide ? x : y);
        }
    return hi - lo;
  };
  EXPECT_GT(extent(flat, true), extent(flat, false));
  EXPECT_GT(extent(up, false), extent(up, true));
  // Text turned by 90 degrees climbs from its origin, glyph tops to the left.
  bool climbs = true;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x)
      if (up.surface.Pixel(x, y) == kInk && (x < 100 || y > 180)) climbs = false;
  EXPECT_TRUE(climbs);
  EXPECT_GT(up.Count(kInk), 0);
  EXPECT_EQ(up.chart.Brush().Style(), TBrushStyle::bsClear);

  Window ten(200, 200);
  Window tenMore(200, 200);
  ten.chart.RotatedText(50, 150, 10, "WWW");
  tenMore.chart.RotatedText(50, 150, 370, "WWW");
  EXPECT_TRUE(SamePixels(ten.surface, tenMore.surface));
}

TEST(ChartCanvasFlat, BevelFrame) {
  Window w;
  const TColor light = 0x00FFFFFF;
  const TColor dark = 0x00808080;
  w.chart.BevelFrame({10, 10, 30, 30}, light, dark, 2);
  EXPECT_EQ(w.surface.Pixel(10, 10), light);
  EXPECT_EQ(w.surface.Pixel(10, 28), light);
  EXPECT_EQ(w.surface.Pixel(29, 20), dark);
  EXPECT_EQ(w.surface.Pixel(10, 29), dark);   // the bottom runs one past the left
  EXPECT_EQ(w.surface.Pixel(11, 11), light);  // second ring
  EXPECT_EQ(w.surface.Pixel(28, 20), dark);
  EXPECT_EQ(w.surface.Pixel(30, 20), kBack);
  EXPECT_EQ(w.surface.Pixel(15, 15), kBack);
}

TEST(ChartCanvasFlat, FillGradientRunsFromStartToEnd) {
  Window w(20, 300);
  w.chart.Brush().SetColor(kInk);
  w.chart.FillGradient({0, 0, 20, 256}, clBlack, 0x000000FF, TGradientDirection::gdTopBottom);
  EXPECT_EQ(w.surface.Pixel(5, 0), clBlack);
  EXPECT_EQ(w.surface.Pixel(5, 255), TColor{0x0000FF});
  EXPECT_LT(w.surface.Pixel(5, 100), w.surface.Pixel(5, 200));
  EXPECT_EQ(w.surface.Pixel(5, 256), kBack);
  EXPECT_EQ(w.chart.Brush().Color(), kInk);  // the brush is given back

  w.chart.FillGradient({0, 0, 20, 256}, clBlack, 0x000000FF, TGradientDirection::gdBottomTop);
  EXPECT_EQ(w.surface.Pixel(5, 0), TColor{0x0000FF});
  EXPECT_EQ(w.surface.Pixel(5, 255), clBlack);
}

TEST(ChartCanvasFrame, MonochromeDiscardsTheBufferAndRepaints) {
  Panel p;
  int repaints = 0;
  p.options.OnRepaint = [&] { ++repaints; };
  p.Paint();
  ASSERT_FALSE(p.window.chart.Dirty());
  TTeeCanvas3D other;
  other.SetMonochrome(true);
  p.window.chart.AssignFrom(other);
  EXPECT_TRUE(p.window.chart.Monochrome());
  EXPECT_EQ(p.window.chart.Buffer(), nullptr);
  EXPECT_TRUE(p.window.chart.Dirty());
  EXPECT_EQ(repaints, 1);
  p.window.chart.SetMonochrome(true);
  EXPECT_EQ(repaints, 1);
}

TEST(ChartCanvasFrame, MonochromeFrameIsBlackAndWhite) {
  Window w(60, 20);
  w.chart.SetOffscreenBuffer(true);
  w.chart.SetMonochrome(true);
  const TRect user{0, 0, 60, 20};
  w.chart.BeginFrame(&w.canvas, nullptr, user, false);
  // Light and dark by luminance, not by the plain mean of the channels: pure
  // green is light and pure red dark, though both have the same mean.
  const TColor colors[] = {0x606060, 0xC0E0F0, 0x00FF00, 0x0000FF, 0x808080, 0x7F7F7F};
  for (int i = 0; i < 6; ++i) {
    w.chart.Brush().SetColor(colors[i]);
    w.chart.FillArea({i * 10, 0, i * 10 + 10, 10});
  }
  w.chart.EndFrame(&w.canvas, &w.canvas, user);
  const TColor expected[] = {clBlack, clWhite, clWhite, clBlack, clWhite, clBlack};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(w.surface.Pixel(i * 10 + 5, 5), expected[i]) << i;
  EXPECT_EQ(w.surface.Pixel(30, 15), clWhite);  // the buffer's own white
  EXPECT_EQ(w.Count(clBlack) + w.Count(clWhite), 60 * 20);

  // A clean repaint copies the same black-and-white picture.
  w.surface.Fill(kBack);
  w.chart.AttachSurface(&w.canvas);
  ASSERT_TRUE(w.chart.BlitIfClean());
  EXPECT_EQ(w.surface.Pixel(5, 5), clBlack);
  EXPECT_EQ(w.surface.Pixel(25, 5), clWhite);

  // Back in colour, the buffer keeps colours.
  w.chart.SetMonochrome(false);
  w.chart.BeginFrame(&w.canvas, nullptr, user, false);
  w.chart.Brush().SetColor(0x606060);
  w.chart.FillArea({0, 0, 10, 10});
  w.chart.EndFrame(&w.canvas, &w.canvas, user);
  EXPECT_EQ(w.surface.Pixel(5, 5), TColor{0x606060});
}

TEST(ChartCanvasFlat, ArrowHasAShaftAndAFilledHead) {
  Window w;
  w.chart.Brush().SetColor(kInk);
  w.chart.DrawArrow({10, 40}, {90, 40}, 20, 20, 5);
  EXPECT_EQ(w.surface.Pixel(20, 40), clBlack);
  EXPECT_EQ(w.surface.Pixel(78, 40), kInk);
  EXPECT_EQ(w.surface.Pixel(74, 45), kInk);
  EXPECT_EQ(w.surface.Pixel(78, 55), kBack);
  EXPECT_EQ(w.surface.Pixel(95, 40), kBack);
  EXPECT_EQ(w.surface.Pixel(20, 44), kBack);
}

// Orthogonal depth at 100 % zoom, centred on the window: (x, y, z) shows at
// (x + z, y - z).
void ShowDepth(Window& w, TView3DOptions& options) {
  const TRect all{0, 0, w.surface.Width(), w.surface.Height()};
  w.chart.BeginFrame(&w.canvas, &options, all, true);
  w.chart.SetProjectionCentre(0, all, all);
}

TEST(ChartCanvasSolids, ConeNarrowsFromItsBaseToItsTip) {
  Window pointed;
  pointed.chart.Brush().SetColor(kInk);
  pointed.chart.DrawCone({20, 10, 80, 70}, 0, 30, true, 0);
  EXPECT_EQ(pointed.surface.Pixel(50, 60), kInk);
  EXPECT_EQ(pointed.surface.Pixel(25, 65), kInk);  // the base is r's bottom
  EXPECT_EQ(pointed.surface.Pixel(50, 20), kInk);  // near the tip, the middle only
  EXPECT_EQ(pointed.surface.Pixel(40, 20), kBack);
  EXPECT_EQ(pointed.surface.Pixel(50, 8), kBack);
  EXPECT_EQ(pointed.surface.Pixel(50, 72), kBack);
  // Flat, a pointed cone covers the triangle of its base and tip (compared
  // without outlines, which may step differently along a slanted edge).
  Window cone;
  Window triangle;
  for (Window* w : {&cone, &triangle}) {
    w->chart.ApplyChartPen(TChartHiddenPen());
    w->chart.Brush().SetColor(kInk);
  }
  cone.chart.DrawCone({20, 10, 80, 70}, 0, 30, true, 0);
  triangle.chart.TriangleAtDepth({20, 70}, {80, 70}, {50, 10}, 0);
  EXPECT_TRUE(SamePixels(cone.surface, triangle.surface));

  Window halfTip;
  halfTip.chart.Brush().SetColor(kInk);
  halfTip.chart.DrawCone({20, 10, 80, 70}, 0, 30, true, 50);
  EXPECT_EQ(halfTip.surface.Pixel(38, 12), kInk);  // the tip is 30 of the 60 wide
  EXPECT_EQ(halfTip.surface.Pixel(30, 12), kBack);

  Window lying;
  lying.chart.Brush().SetColor(kInk);
  lying.chart.DrawCone({20, 10, 80, 70}, 0, 30, false, 0);
  EXPECT_EQ(lying.surface.Pixel(70, 40), kInk);  // the tip points right
  EXPECT_EQ(lying.surface.Pixel(70, 20), kBack);
  EXPECT_EQ(lying.surface.Pixel(25, 15), kInk);  // the base is r's left side
  EXPECT_EQ(lying.surface.Pixel(10, 40), kBack);
}

TEST(ChartCanvasSolids, CylinderIsItsRectangleFlatAndShowsItsNearEndInDepth) {
  Window cylinder;
  Window rectangle;
  for (Window* w : {&cylinder, &rectangle}) w->chart.Brush().SetColor(kInk);
  cylinder.chart.DrawCylinder({20, 10, 60, 70}, 0, 30, true);
  rectangle.chart.RectangleAtDepth({20, 10, 60, 70}, 0);
  EXPECT_TRUE(SamePixels(cylinder.surface, rectangle.surface));
  EXPECT_EQ(cylinder.surface.Pixel(40, 40), kInk);
  EXPECT_EQ(cylinder.surface.Pixel(40, 8), kBack);

  Window lying;
  lying.chart.Brush().SetColor(kInk);
  lying.chart.DrawCylinder({20, 10, 60, 70}, 0, 30, false);
  EXPECT_TRUE(SamePixels(lying.surface, rectangle.surface));

  // Upright in depth 0..20: the top end, centred at (40, 30, 10), shows
  // above r; its near edge passes (40, 30, 0). The bottom end faces away, so
  // its far edge through (40, 70, 20), shown at (60, 50), is not outlined.
  Window deep(120, 100);
  TView3DOptions options;
  ShowDepth(deep, options);
  deep.chart.Brush().SetColor(kInk);
  deep.chart.DrawCylinder({20, 30, 60, 70}, 0, 20, true);
  EXPECT_EQ(deep.surface.Pixel(50, 20), kInk);
  EXPECT_EQ(deep.surface.Pixel(50, 8), kBack);
  EXPECT_EQ(deep.surface.Pixel(40, 30), clBlack);
  EXPECT_EQ(deep.surface.Pixel(60, 50), kInk);
  EXPECT_EQ(deep.surface.Pixel(40, 75), kBack);
}

TEST(ChartCanvasSolids, Pie3DIsTheSliceCounterClockwiseFromItsStart) {
  Window quarter;
  quarter.chart.Brush().SetColor(kInk);
  quarter.chart.DrawPie3D(60, 40, 30, 20, 0, 10, 0, 90);
  EXPECT_EQ(quarter.surface.Pixel(70, 32), kInk);     // up and right
  EXPECT_EQ(quarter.surface.Pixel(50, 32), kBack);    // up and left
  EXPECT_EQ(quarter.surface.Pixel(70, 48), kBack);    // down and right
  EXPECT_EQ(quarter.surface.Pixel(85, 25), kBack);    // beyond the ellipse
  EXPECT_EQ(quarter.surface.Pixel(75, 40), clBlack);  // the edge at 0 degrees

  Window wrapped;  // from 270 round through 360 to 0: down and right
  wrapped.chart.Brush().SetColor(kInk);
  wrapped.chart.DrawPie3D(60, 40, 30, 20, 0, 10, 270, 0);
  EXPECT_EQ(wrapped.surface.Pixel(70, 48), kInk);
  EXPECT_EQ(wrapped.surface.Pixel(70, 32), kBack);
  EXPECT_EQ(wrapped.surface.Pixel(50, 48), kBack);

  Window whole;  // equal angles: all of it, no radius drawn
  whole.chart.Brush().SetColor(kInk);
  whole.chart.DrawPie3D(60, 40, 30, 20, 0, 10, 45, 45);
  for (TPoint p : {TPoint{70, 32}, TPoint{50, 32}, TPoint{50, 48}, TPoint{70, 48}})
    EXPECT_EQ(whole.surface.Pixel(p.X, p.Y), kInk) << p.X << "," << p.Y;
  EXPECT_EQ(whole.surface.Pixel(67, 33), kInk);

  // In depth the rounded side shows up and to the right of the near face,
  // which stays on top.
  Window deep(120, 100);
  TView3DOptions options;
  ShowDepth(deep, options);
  deep.chart.Brush().SetColor(kInk);
  deep.chart.DrawPie3D(50, 60, 30, 30, 0, 20, 0, 90);
  EXPECT_NE(deep.surface.Pixel(81, 29), kBack);  // between rim at 45 degrees and its far copy
  EXPECT_EQ(deep.surface.Pixel(60, 50), kInk);
  EXPECT_EQ(deep.surface.Pixel(65, 60), clBlack);
  EXPECT_EQ(deep.surface.Pixel(40, 50), kBack);
  EXPECT_EQ(deep.surface.Pixel(50, 70), kBack);
}

TEST(ChartCanvasSolids, ShadedTriangleBlendsItsCornerColours) {
  constexpr TColor red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000;
  auto channel = [](TColor c, int i) { return static_cast<int>((c >> (8 * i)) & 0xFF); };
  Window w;
  w.chart.ShadedTriangle({TPoint{10, 10}, TPoint{70, 10}, TPoint{10, 70}}, {red, green, blue});
  const TColor nearRed = w.surface.Pixel(10, 10);
  const TColor nearGreen = w.surface.Pixel(68, 10);
  const TColor nearBlue = w.surface.Pixel(10, 68);
  EXPECT_GE(channel(nearRed, 0), 245);
  EXPECT_LE(channel(nearRed, 1) + channel(nearRed, 2), 12);
  EXPECT_GE(channel(nearGreen, 1), 245);
  EXPECT_GE(channel(nearBlue, 2), 245);
  // Halfway along the red-green edge; about a third of each in the middle.
  const TColor edge = w.surface.Pixel(40, 10);
  EXPECT_NEAR(channel(edge, 0), 127, 8);
  EXPECT_NEAR(channel(edge, 1), 127, 8);
  EXPECT_LE(channel(edge, 2), 8);
  const TColor middle = w.surface.Pixel(29, 29);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(channel(middle, i), 85, 8) << i;
  // The long side runs where x + y = 80.
  EXPECT_NE(w.surface.Pixel(38, 38), kBack);
  EXPECT_EQ(w.surface.Pixel(41, 41), kBack);
  EXPECT_EQ(w.surface.Pixel(9, 30), kBack);
  EXPECT_EQ(w.Count(clBlack), 0);  // no outline

  // One colour fills exactly the pixels whose centres lie inside, whichever
  // way round the corners are given; the clip holds.
  Window a;
  Window b;
  a.chart.ShadedTriangle({TPoint{10, 10}, TPoint{70, 10}, TPoint{10, 70}}, {kInk, kInk, kInk});
  b.chart.ShadedTriangle({TPoint{10, 70}, TPoint{70, 10}, TPoint{10, 10}}, {kInk, kInk, kInk});
  EXPECT_EQ(a.Count(kInk), 60 * 61 / 2);
  EXPECT_TRUE(SamePixels(a.surface, b.surface));
  Window clipped;
  clipped.chart.SetClipRect({0, 0, 30, 80});
  clipped.chart.ShadedTriangle({TPoint{10, 10}, TPoint{70, 10}, TPoint{10, 70}},
                               {kInk, kInk, kInk});
  EXPECT_EQ(clipped.surface.Pixel(29, 12), kInk);
  EXPECT_EQ(clipped.surface.Pixel(30, 12), kBack);
}

TEST(ChartCanvasPen, HiddenPenFillsWithoutOutline) {
  Window w;
  TChartHiddenPen hidden;
  w.chart.ApplyChartPen(hidden);
  w.chart.Brush().SetColor(kInk);
  w.chart.DrawRect(10, 10, 30, 30);
  EXPECT_EQ(w.surface.Pixel(10, 10), kInk);
  EXPECT_EQ(w.surface.Pixel(20, 20), kInk);
  EXPECT_EQ(w.Count(clBlack), 0);
  w.chart.StrokeLine(40, 40, 80, 40);
  EXPECT_EQ(w.surface.Pixel(50, 40), kBack);
}

TEST(ChartCanvasPen, SmallDotsPaintEveryOtherPixelOfAHairline) {
  Window w;
  TChartPen pen;
  pen.SetSmallDots(true);
  w.chart.ApplyChartPen(pen);
  w.chart.HorizontalLine(10, 30, 5);
  for (int x = 10; x < 30; ++x)
    EXPECT_EQ(w.surface.Pixel(x, 5), (x - 10) % 2 == 0 ? clBlack : kBack) << x;
  EXPECT_EQ(w.surface.Pixel(30, 5), kBack);

  pen.SetWidth(2);
  w.chart.ApplyChartPen(pen);
  w.chart.HorizontalLine(10, 30, 40);
  int painted = 0;
  for (int x = 10; x < 30; ++x) painted += w.surface.Pixel(x, 40) == clBlack;
  EXPECT_EQ(painted, 20);
  EXPECT_EQ(w.chart.Pen().Width(), 2);
}

TEST(ChartCanvasPen, DefaultsCopyAndNotification) {
  TChartPen pen;
  EXPECT_TRUE(pen.Visible());
  EXPECT_FALSE(pen.SmallDots());
  EXPECT_EQ(pen.Color(), clBlack);
  EXPECT_FALSE(TChartHiddenPen().Visible());
  EXPECT_EQ(TDottedGrayPen().Style(), TPenStyle::psDot);
  EXPECT_EQ(TDottedGrayPen().Color(), TColor{0x808080});
  EXPECT_EQ(TDarkGrayPen().Style(), TPenStyle::psSolid);
  EXPECT_EQ(TChartAxisPen().Width(), 2);
  EXPECT_EQ(TChartArrowPen().Color(), TColor{0xFFFFFF});

  int changes = 0;
  pen.OnChange = [&] { ++changes; };
  pen.SetVisible(true);
  EXPECT_EQ(changes, 0);
  pen.SetSmallDots(true);
  EXPECT_EQ(changes, 1);
  TChartHiddenPen hidden;
  pen.Assign(hidden);
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(pen.Visible());
  EXPECT_FALSE(pen.SmallDots());
  pen.Assign(hidden);
  EXPECT_EQ(changes, 2);

  TChartBrush brush;
  EXPECT_EQ(brush.Color(), clDefault);
  EXPECT_FALSE(brush.HasPattern());
  TBitmap empty;
  brush.SetPattern(&empty);
  EXPECT_FALSE(brush.HasPattern());
  TBitmap pattern(8, 8);
  brush.SetPattern(&pattern);
  EXPECT_TRUE(brush.HasPattern());
}

TEST(ChartCanvasOptions, DefaultsAndNotifications) {
  TView3DOptions o;
  EXPECT_EQ(o.Elevation(), 345);
  EXPECT_EQ(o.Perspective(), 15);
  EXPECT_TRUE(o.Orthogonal());
  EXPECT_EQ(o.Zoom(), 100);
  int repaints = 0;
  std::vector<bool> scrolls;
  int zoomSeen = 0;
  int zoomStoredBefore = 0;
  o.OnRepaint = [&] { ++repaints; };
  o.OnScroll = [&](bool h) { scrolls.push_back(h); };
  o.OnZoom = [&](int z) {
    zoomSeen = z;
    zoomStoredBefore = o.Zoom();
  };
  o.SetElevation(345);
  EXPECT_EQ(repaints, 0);
  o.SetHorizOffset(5);
  o.SetVertOffset(-3);
  EXPECT_EQ(scrolls, (std::vector<bool>{true, false}));
  o.SetZoom(150);
  EXPECT_EQ(zoomSeen, 150);
  EXPECT_EQ(zoomStoredBefore, 100);
  EXPECT_EQ(repaints, 3);

  TView3DOptions copy;
  copy.Assign(o);
  EXPECT_EQ(copy.Zoom(), 150);
  EXPECT_EQ(copy.VertOffset(), -3);
}

TEST(ChartCanvasProjection, OrthogonalAndItsInverse) {
  TTeeCanvas3D c;
  TView3DOptions o;
  o.SetZoom(150);
  o.SetHorizOffset(7);
  TSurface s(10, 10);
  TCanvas target(&s);
  c.SetOffscreenBuffer(false);
  c.BeginFrame(&target, &o, {0, 0, 10, 10}, true);
  EXPECT_TRUE(c.IsOrthogonal);
  EXPECT_DOUBLE_EQ(c.ZoomFactor, 1.5);
  c.SetProjectionCentre(11, {0, 0, 10, 10}, {-5, 10, 100, 51});
  EXPECT_EQ(c.XCenter, 47);
  EXPECT_EQ(c.YCenter, 30);
  EXPECT_EQ(c.ZCenter, 5);
  EXPECT_EQ(c.XCenterOffset, 54);
  const TPoint p = c.ProjectToPoint(50, 40, 3);
  // x: round(1.5 * 6) + 54; y: round(7 * 1.5) = 10 (ties to even) + 30.
  EXPECT_EQ(p.X, 63);
  EXPECT_EQ(p.Y, 40);
  int x = p.X, y = p.Y;
  c.UnprojectPoint(x, y, 3);
  EXPECT_EQ(x, 50);
  EXPECT_EQ(y, 40);

  // Flat mode leaves points alone, and so does a flat plane inside 3D.
  c.BeginFrame(&target, &o, {0, 0, 10, 10}, false);
  EXPECT_FALSE(c.IsOrthogonal);
  EXPECT_DOUBLE_EQ(c.ZoomFactor, 1.0);
  EXPECT_EQ(c.ProjectToPoint(50, 40, 3).X, 50);
  x = 50;
  y = 40;
  c.UnprojectPoint(x, y, 3);
  EXPECT_EQ(y, 40);
}

TEST(ChartCanvasProjection, PerspectiveTurnsDepthIntoTheScreen) {
  TTeeCanvas3D c;
  TView3DOptions o;
  o.SetOrthogonal(false);
  o.SetElevation(330);
  o.SetRotation(330);
  TSurface s(10, 10);
  TCanvas target(&s);
  c.SetOffscreenBuffer(false);
  c.BeginFrame(&target, &o, {0, 0, 10, 10}, true);
  c.SetProjectionCentre(40, {0, 0, 200, 200}, {0, 0, 200, 200});
  const TPoint centre = c.ProjectToPoint(100, 100, 20);
  EXPECT_EQ(centre.X, 100);
  EXPECT_EQ(centre.Y, 100);
  EXPECT_NE(c.ProjectToPoint(100, 100, 40).X, c.ProjectToPoint(100, 100, 0).X);
  c.BeginFlatPlane();
  EXPECT_EQ(c.ProjectToPoint(10, 20, 40).X, 10);
  c.EndFlatPlane();
  EXPECT_TRUE(c.Is3D);
}

// Each projection set-up reads the perspective anew: a canvas that showed one
// perspective projects like a fresh canvas once the option changes, also to 0.
TEST(ChartCanvasProjection, PerspectiveFollowsTheOptionBothWays) {
  struct Case {
    int before, after;
  };
  const Case cases[] = {{15, 0}, {100, 0}, {0, 40}, {15, 60}, {30, -5}};
  TSurface s(10, 10);
  TCanvas target(&s);
  const TRect plot{0, 0, 200, 200};
  const auto setUp = [&](TTeeCanvas3D& c, TView3DOptions& o) {
    c.SetOffscreenBuffer(false);
    c.BeginFrame(&target, &o, plot, true);
    c.SetProjectionCentre(40, plot, plot);
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.before << " -> " << k.after);
    TView3DOptions o;
    o.SetOrthogonal(false);
    o.SetElevation(330);
    o.SetRotation(330);
    o.SetPerspective(k.before);
    TTeeCanvas3D reused;
    setUp(reused, o);
    o.SetPerspective(k.after);
    setUp(reused, o);
    TTeeCanvas3D fresh;
    setUp(fresh, o);
    EXPECT_EQ(reused.PerspectiveFactor, fresh.PerspectiveFactor);
    for (const int z : {0, 40})
      for (const TPoint p : {TPoint{10, 20}, TPoint{190, 170}}) {
        const TPoint a = reused.ProjectToPoint(p.X, p.Y, z);
        const TPoint b = fresh.ProjectToPoint(p.X, p.Y, z);
        EXPECT_EQ(a.X, b.X) << p.X << "," << p.Y << "," << z;
        EXPECT_EQ(a.Y, b.Y) << p.X << "," << p.Y << "," << z;
      }
  }
}

}  // namespace
