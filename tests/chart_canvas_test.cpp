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

  p.window.chart.SetOffscreenBuffer(false);
  EXPECT_EQ(p.window.chart.Buffer(), nullptr);
  EXPECT_TRUE(p.window.chart.Dirty());
  const TRect r = p.window.chart.BeginFrame(&p.window.canvas, &p.options, {5, 6, 70, 40}, false);
  EXPECT_EQ(r.Left, 5);
  EXPECT_EQ(r.Bottom, 40);
  EXPECT_EQ(p.window.chart.Surface(), &p.window.canvas);
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

}  // namespace
