#include "framework/canvas.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <QGuiApplication>
#include <QImage>
#include <array>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/bitmap.h"
#include "framework/bmp_decoder.h"
#include "framework/qt_bridge.h"
#include "framework/surface.h"
#include "runtime/embedded_resource.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();  // the sanitizer's runtime
#endif

using namespace nitko;

namespace {

// Fonts need a GUI application; the offscreen platform needs no display.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[12] = "canvas_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};
const auto* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

constexpr TColor kBack = 0x00F0E0D0;  // a background no drawing colour equals

// A surface of one colour with a canvas on it.
struct Paper {
  explicit Paper(int w = 40, int h = 30, TColor back = kBack) : surface(w, h), canvas(&surface) {
    surface.Fill(back);
    canvas.Font().SetName("Liberation Sans");
    canvas.Font().SetHeight(-15);
    canvas.Font().SetColor(clBlack);
  }
  TColor At(int x, int y) const { return surface.Pixel(x, y); }
  // The smallest rectangle holding every pixel that is not `back`.
  TRect Ink(TColor back = kBack) const {
    TRect r{surface.Width(), surface.Height(), 0, 0};
    for (int y = 0; y < surface.Height(); ++y)
      for (int x = 0; x < surface.Width(); ++x)
        if (At(x, y) != back)
          r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
               std::max(r.Bottom, y + 1)};
    return r.IsEmpty() ? TRect{} : r;
  }
  std::set<TColor> Colours(const TRect& r) const {
    std::set<TColor> out;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) out.insert(At(x, y));
    return out;
  }
  bool SameAs(const Paper& other) const { return surface.Image() == other.surface.Image(); }
  TSurface surface;
  TCanvas canvas;
};

TEST(CanvasRaster, FillRectCoversLeftTopButNotRightBottom) {
  Paper p;
  p.canvas.Brush().SetColor(clRed);
  p.canvas.FillRect(Rect(5, 4, 12, 9));
  EXPECT_EQ(p.Ink(), Rect(5, 4, 12, 9));
  EXPECT_EQ(p.Colours(Rect(5, 4, 12, 9)), std::set<TColor>{clRed});
  // A clear brush fills nothing; an inverted rectangle is empty.
  p.canvas.Brush().SetStyle(TBrushStyle::bsClear);
  p.canvas.FillRect(Rect(20, 20, 30, 30));
  p.canvas.Brush().SetColor(clBlue);
  p.canvas.FillRect(Rect(30, 20, 20, 30));
  EXPECT_EQ(p.Ink(), Rect(5, 4, 12, 9));
}

TEST(CanvasRaster, RectangleAndEllipseLeaveOutRightColumnAndBottomRow) {
  Paper p;
  p.canvas.Pen().SetColor(clBlack);
  p.canvas.Brush().SetColor(clYellow);
  p.canvas.Rectangle(3, 2, 13, 10);
  EXPECT_EQ(p.Ink(), Rect(3, 2, 13, 10));
  EXPECT_EQ(p.At(3, 2), clBlack);
  EXPECT_EQ(p.At(12, 9), clBlack);
  EXPECT_EQ(p.At(12, 5), clBlack);
  EXPECT_EQ(p.Colours(Rect(4, 3, 12, 9)), std::set<TColor>{clYellow});

  // Without a pen the fill stops one pixel short, as on the platform.
  Paper q;
  q.canvas.Pen().SetStyle(TPenStyle::psClear);
  q.canvas.Brush().SetColor(clYellow);
  q.canvas.Rectangle(3, 2, 13, 10);
  EXPECT_EQ(q.Ink(), Rect(3, 2, 12, 9));

  Paper e;
  e.canvas.Brush().SetColor(clYellow);
  e.canvas.Ellipse(Rect(4, 3, 25, 17));
  EXPECT_EQ(e.Ink(), Rect(4, 3, 25, 17));
  EXPECT_EQ(e.At(14, 10), clYellow);
  EXPECT_EQ(e.At(4, 3), kBack);  // corners of the box stay empty
}

// Many rectangles in one call paint what Rectangle paints for each in turn,
// on the fast path and on the others (a polygon clip, a dashed pen).
TEST(CanvasRaster, RectanglesInOneCallEqualOneByOne) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> at(-8, 48), size(-3, 12);
  std::vector<TCanvas::TPaintedRect> rects;
  for (int i = 0; i < 300; ++i) {
    const int x = at(rng), y = at(rng);
    rects.push_back({{x, y, x + size(rng), y + size(rng)}, static_cast<TColor>(rng() & 0xFFFFFF),
                     static_cast<TColor>(rng() & 0xFFFFFF)});
  }
  const std::array<TPoint, 3> triangle{TPoint{0, 0}, TPoint{40, 5}, TPoint{10, 30}};
  const TPenStyle pens[] = {TPenStyle::psSolid, TPenStyle::psSolid, TPenStyle::psSolid,
                            TPenStyle::psClear, TPenStyle::psDash};
  for (int variant = 0; variant < 5; ++variant) {
    Paper batch, single;
    for (Paper* p : {&batch, &single}) {
      if (variant == 1) p->canvas.SetClipRect(Rect(3, 4, 33, 25));
      if (variant == 2) p->canvas.SetClipPolygon(triangle);
      p->canvas.Pen().SetStyle(pens[variant]);
    }
    batch.canvas.Rectangles(rects);
    for (const TCanvas::TPaintedRect& r : rects) {
      single.canvas.Pen().SetColor(r.pen);
      single.canvas.Brush().SetColor(r.brush);
      single.canvas.Rectangle(r.box);
    }
    EXPECT_TRUE(batch.SameAs(single)) << variant;
  }
}

TEST(CanvasRaster, CurvesStayInsideTheirBoxAndTouchItsSides) {
  for (int w = 1; w <= 30; ++w)
    for (int h = 1; h <= 30; h += 1 + w % 3) {
      Paper p(40, 40);
      p.canvas.Brush().SetColor(clYellow);
      const TRect box = Bounds(3, 4, w, h);
      p.canvas.Ellipse(box);
      const TRect ink = p.Ink();
      // Wide flat boxes may not reach their ends; the rest fill them.
      if (w <= 2 * h * h && h <= 2 * w * w) {
        EXPECT_EQ(ink, box) << w << " x " << h;
      } else {
        EXPECT_EQ(IntersectRect(ink, box), ink) << w << " x " << h;
      }
      p.canvas.Pie(box.Left, box.Top, box.Right, box.Bottom, box.Right, box.Top, box.Left, box.Top);
      p.canvas.RoundRect(box.Left, box.Top, box.Right, box.Bottom, 6, 6);
      EXPECT_EQ(p.Ink(), box) << w << " x " << h;  // a rounded rectangle reaches every side
    }
}

TEST(CanvasRaster, LineLeavesOutItsEndPixelInEveryDirection) {
  struct Case {
    TPoint from, to;
    TRect ink;
  };
  const Case cases[] = {
      {{2, 5}, {12, 5}, Rect(2, 5, 12, 6)},    // right
      {{12, 5}, {2, 5}, Rect(3, 5, 13, 6)},    // left
      {{7, 20}, {7, 3}, Rect(7, 4, 8, 21)},    // up
      {{3, 3}, {13, 23}, Rect(3, 3, 14, 23)},  // steep: (13, 22) is the last
      {{30, 25}, {10, 5}, Rect(11, 6, 31, 26)},
  };
  for (const Case& c : cases) {
    Paper p;
    p.canvas.MoveTo(c.from.X, c.from.Y);
    p.canvas.LineTo(c.to.X, c.to.Y);
    EXPECT_EQ(p.Ink(), c.ink) << c.from.X << "," << c.from.Y << " -> " << c.to.X << "," << c.to.Y;
    EXPECT_EQ(p.At(c.from.X, c.from.Y), clBlack);
    EXPECT_EQ(p.At(c.to.X, c.to.Y), kBack);
    EXPECT_EQ(p.canvas.PenPos(), c.to);
  }
  Paper dot;
  dot.canvas.MoveTo(5, 5);
  dot.canvas.LineTo(5, 5);
  EXPECT_EQ(dot.Ink(), TRect{});
}

TEST(CanvasRaster, FarOffCoordinatesStillReachTheSurface) {
  Paper p;
  p.canvas.MoveTo(-2000000000, 10);
  p.canvas.LineTo(2000000000, 10);
  EXPECT_EQ(p.Ink(), Rect(0, 10, 40, 11));
  const int far = 2147483000;
  p.canvas.Brush().SetColor(clRed);
  p.canvas.Rectangle(-far, 20, far, far);
  EXPECT_EQ(p.At(0, 20), clBlack);
  EXPECT_EQ(p.At(39, 29), clRed);
  p.canvas.DrawFocusRect(Rect(-far, -far, 5, far));
  EXPECT_EQ(p.At(4, 0), ~kBack & 0xFFFFFF);  // its right column, dotted
  EXPECT_EQ(p.At(4, 1), kBack);
}

TEST(CanvasRaster, PolylineJoinsArePaintedOnceAndItsLastPointNot) {
  Paper p;
  p.canvas.Pen().SetMode(TPenMode::pmXor);
  p.canvas.Pen().SetColor(clWhite);
  const std::array<TPoint, 4> path{TPoint{2, 2}, TPoint{20, 2}, TPoint{20, 15}, TPoint{5, 15}};
  p.canvas.Polyline(path);
  const TColor inverted = ~kBack & 0xFFFFFF;
  EXPECT_EQ(p.At(20, 2), inverted);  // xored once, not twice
  EXPECT_EQ(p.At(20, 15), inverted);
  EXPECT_EQ(p.At(5, 15), kBack);
  EXPECT_EQ(p.canvas.PenPos(), TPoint{});
}

TEST(CanvasRaster, PenModesCopyXorNotXor) {
  Paper p;
  p.canvas.Pen().SetColor(0x00123456);
  p.canvas.Brush().SetColor(0x00654321);
  p.canvas.Rectangle(2, 2, 20, 20);
  Paper before;
  before.canvas.CopyRect(Rect(0, 0, 40, 30), p.canvas, Rect(0, 0, 40, 30));

  // Xor: outline and fill each change their pixels exactly once.
  p.canvas.Pen().SetMode(TPenMode::pmXor);
  p.canvas.Pen().SetColor(0x000F0F0F);
  p.canvas.Brush().SetColor(0x00F0F0F0);
  p.canvas.Rectangle(10, 10, 30, 25);
  EXPECT_EQ(p.At(10, 10), 0x00654321u ^ 0x0F0F0F);  // outline over the first fill
  EXPECT_EQ(p.At(29, 24), kBack ^ 0x0F0F0F);
  EXPECT_EQ(p.At(15, 15), 0x00654321u ^ 0xF0F0F0);  // fill over fill
  EXPECT_EQ(p.At(19, 15), 0x00123456u ^ 0xF0F0F0);  // fill over the first outline
  EXPECT_EQ(p.At(25, 20), kBack ^ 0xF0F0F0);
  p.canvas.Rectangle(10, 10, 30, 25);
  EXPECT_TRUE(p.SameAs(before));

  // Wide and curved strokes in xor restore too.
  p.canvas.Pen().SetWidth(3);
  p.canvas.Ellipse(5, 5, 35, 28);
  p.canvas.MoveTo(0, 0);
  p.canvas.LineTo(39, 29);
  EXPECT_FALSE(p.SameAs(before));
  p.canvas.Ellipse(5, 5, 35, 28);
  p.canvas.MoveTo(0, 0);
  p.canvas.LineTo(39, 29);
  EXPECT_TRUE(p.SameAs(before));

  // A polygon's fill reaches its left edge, where the outline also lies.
  const std::array<TPoint, 3> triangle{TPoint{2, 2}, TPoint{2, 26}, TPoint{30, 26}};
  p.canvas.Pen().SetWidth(1);
  p.canvas.Polygon(triangle);
  EXPECT_EQ(p.At(2, 20), before.At(2, 20) ^ 0x0F0F0F);
  EXPECT_EQ(p.At(5, 22), before.At(5, 22) ^ 0xF0F0F0);
  p.canvas.Polygon(triangle);
  EXPECT_TRUE(p.SameAs(before));

  Paper n;
  n.canvas.Pen().SetMode(TPenMode::pmNotXor);
  n.canvas.Pen().SetColor(0x00102030);
  n.canvas.MoveTo(0, 3);
  n.canvas.LineTo(10, 3);
  EXPECT_EQ(n.At(4, 3), ~(kBack ^ 0x102030) & 0xFFFFFF);
}

TEST(CanvasCopy, CopyInvertAndBlackness) {
  TBitmap source(10, 10);
  source.Canvas().Brush().SetColor(0x00334455);
  source.Canvas().FillRect(Rect(0, 0, 10, 10));
  Paper p;
  p.canvas.Draw(5, 5, source);
  EXPECT_EQ(p.Ink(), Rect(5, 5, 15, 15));
  EXPECT_EQ(p.At(14, 14), 0x00334455u);

  p.canvas.SetCopyMode(TCopyMode::cmSrcInvert);
  p.canvas.Draw(10, 10, source);
  EXPECT_EQ(p.At(12, 12), 0u);                   // overlap: S ^ S
  EXPECT_EQ(p.At(17, 17), kBack ^ 0x00334455u);  // S ^ D
  p.canvas.Draw(10, 10, source);
  EXPECT_EQ(p.At(12, 12), 0x00334455u);
  EXPECT_EQ(p.At(17, 17), kBack);

  // Blackness needs no source: a copy of the canvas onto itself.
  p.canvas.SetCopyMode(TCopyMode::cmBlackness);
  p.canvas.CopyRect(Rect(0, 0, 40, 30), p.canvas, Rect(0, 0, 40, 30));
  EXPECT_EQ(p.Colours(Rect(0, 0, 40, 30)), std::set<TColor>{clBlack});
}

TEST(CanvasCopy, OverlappingCopyWithinOneSurfaceScrolls) {
  Paper p(20, 4);
  for (int x = 0; x < 20; ++x) p.surface.SetPixel(x, 1, static_cast<TColor>(x));
  p.canvas.CopyRect(Rect(0, 0, 17, 4), p.canvas, Rect(3, 0, 20, 4));
  for (int x = 0; x < 17; ++x) EXPECT_EQ(p.At(x, 1), static_cast<TColor>(x + 3));
  p.canvas.CopyRect(Rect(3, 0, 20, 4), p.canvas, Rect(0, 0, 17, 4));
  for (int x = 3; x < 20; ++x) EXPECT_EQ(p.At(x, 1), static_cast<TColor>(x));
}

// A move within one surface equals the copy from an untouched twin, in
// every direction, partly outside the surface and under a clip.
TEST(CanvasCopy, MoveWithinOneSurfaceEqualsCopyFromATwin) {
  const TRect moves[][2] = {{{0, 0, 17, 9}, {3, 2, 20, 11}},    {{3, 2, 20, 11}, {0, 0, 17, 9}},
                            {{0, 4, 20, 12}, {0, 0, 20, 8}},    {{-5, -3, 15, 7}, {2, 1, 22, 11}},
                            {{10, 0, 30, 12}, {-4, 0, 16, 12}}, {{2, 2, 12, 10}, {2, 2, 12, 10}}};
  for (int n = 0; n < 12; ++n) {
    const auto& [dest, source] = moves[n % 6];
    Paper moved(20, 12), copied(20, 12), twin(20, 12);
    for (int i = 0; i < 240; ++i)
      for (Paper* q : {&moved, &copied, &twin}) q->surface.SetPixel(i % 20, i / 20, i);
    if (n >= 6)  // the second round under a clip
      for (Paper* q : {&moved, &copied}) q->canvas.SetClipRect(Rect(1, 1, 15, 10));
    moved.canvas.CopyRect(dest, moved.canvas, source);
    copied.canvas.CopyRect(dest, twin.canvas, source);
    EXPECT_TRUE(moved.SameAs(copied)) << n;
  }
}

// A whole copy onto a surface without pixels of its own shares them; a
// write on either side parts them again.
TEST(CanvasCopy, AWholeCopySharesUntilEitherSideIsDrawnOn) {
  Paper from(6, 4);
  from.surface.SetPixel(2, 1, clRed);
  TSurface to(6, 4);
  TCanvas onto(&to);
  const TRect whole = Rect(0, 0, 6, 4);
  onto.CopyRect(whole, from.canvas, whole);
  EXPECT_TRUE(to.SharesPixels());
  to.SetPixel(0, 0, clBlue);
  from.canvas.Brush().SetColor(clLime);
  from.canvas.FillRect(Rect(3, 0, 6, 4));
  EXPECT_EQ(std::tuple(to.Pixel(0, 0), to.Pixel(2, 1), to.Pixel(4, 2), from.At(0, 0)),
            std::tuple(clBlue, clRed, kBack, kBack));
  // Pixels of its own are written over.
  onto.CopyRect(whole, from.canvas, whole);
  EXPECT_FALSE(to.SharesPixels());
  EXPECT_EQ(std::pair(to.Pixel(0, 0), to.Pixel(4, 2)), std::pair(kBack, clLime));
}

TEST(CanvasCopy, StretchAndTransparentColour) {
  TBitmap glyph(2, 2);
  glyph.Canvas().SetPixel(0, 0, clRed);
  glyph.Canvas().SetPixel(1, 0, clLime);
  glyph.Canvas().SetPixel(0, 1, clFuchsia);
  glyph.Canvas().SetPixel(1, 1, clBlue);
  Paper p;
  p.canvas.StretchDraw(Rect(0, 0, 8, 6), glyph);
  EXPECT_EQ(p.Colours(Rect(0, 0, 4, 3)), std::set<TColor>{clRed});
  EXPECT_EQ(p.Colours(Rect(4, 3, 8, 6)), std::set<TColor>{clBlue});

  // By default the bottom-left pixel is the transparent colour.
  glyph.SetTransparent(true);
  EXPECT_EQ(glyph.TransparentColor(), clFuchsia);
  p.canvas.Draw(20, 20, glyph);
  EXPECT_EQ(p.At(20, 21), kBack);
  EXPECT_EQ(p.At(21, 21), clBlue);
  p.canvas.DrawTransparent(30, 20, glyph, clRed);
  EXPECT_EQ(p.At(30, 20), kBack);
  EXPECT_EQ(p.At(30, 21), clFuchsia);
}

TEST(CanvasClip, RectanglesIntersectAndClear) {
  Paper p;
  p.canvas.Brush().SetColor(clRed);
  EXPECT_EQ(p.canvas.ClipRect(), Rect(0, 0, 40, 30));
  p.canvas.SetClipRect(Rect(5, 5, 30, 20));
  p.canvas.IntersectClipRect(Rect(10, 0, 40, 15));
  EXPECT_EQ(p.canvas.ClipRect(), Rect(10, 5, 30, 15));
  p.canvas.FillRect(Rect(0, 0, 40, 30));
  p.canvas.MoveTo(0, 25);
  p.canvas.LineTo(40, 25);
  p.canvas.TextOut(0, 15, "Text");
  EXPECT_EQ(p.Ink(), Rect(10, 5, 30, 15));

  p.canvas.IntersectClipRect(Rect(0, 20, 40, 30));  // disjoint: nothing is open
  p.canvas.Brush().SetColor(clBlue);
  p.canvas.FillRect(Rect(0, 0, 40, 30));
  EXPECT_EQ(p.At(15, 10), clRed);
  EXPECT_EQ(p.canvas.ClipRect(), TRect{});

  p.canvas.ClearClip();
  p.canvas.FillRect(Rect(0, 0, 40, 30));
  EXPECT_EQ(p.Colours(Rect(0, 0, 40, 30)), std::set<TColor>{clBlue});
}

TEST(CanvasClip, PolygonClipKeepsPaintInside) {
  Paper p;
  const std::array<TPoint, 3> triangle{TPoint{0, 0}, TPoint{30, 0}, TPoint{0, 30}};
  p.canvas.SetClipPolygon(triangle);
  p.canvas.Brush().SetColor(clRed);
  p.canvas.Rectangle(0, 0, 40, 30);
  EXPECT_EQ(p.At(2, 2), clRed);
  EXPECT_EQ(p.At(0, 5), clBlack);  // the outline where it lies inside
  EXPECT_EQ(p.At(20, 20), kBack);
  EXPECT_EQ(p.At(39, 29), kBack);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      if (x + y > 31) {
        ASSERT_EQ(p.At(x, y), kBack) << x << "," << y;
      }
}

TEST(CanvasColour, ValuesAreBgrAndSystemColoursResolve) {
  Paper p;
  p.canvas.Brush().SetColor(0x00332211);
  p.canvas.FillRect(Rect(0, 0, 5, 5));
  EXPECT_EQ(p.At(1, 1), 0x00332211u);
  EXPECT_EQ(p.surface.Image().pixel(1, 1), qRgb(0x11, 0x22, 0x33));
  p.canvas.Pen().SetColor(clBtnFace);
  p.canvas.MoveTo(0, 10);
  p.canvas.LineTo(10, 10);
  EXPECT_EQ(p.At(3, 10), 0x00C8D0D4u);
  p.canvas.SetPixel(20, 20, clHighlight);
  EXPECT_EQ(p.canvas.Pixel(20, 20), 0x006A240Au);
  EXPECT_EQ(p.canvas.Pixel(-1, 0), clNone);
}

TEST(CanvasColour, NothingIsSmoothed) {
  Paper p(60, 40);
  p.canvas.Pen().SetColor(clBlue);
  p.canvas.MoveTo(1, 2);
  p.canvas.LineTo(57, 23);
  p.canvas.Pen().SetWidth(4);
  p.canvas.LineTo(5, 37);
  p.canvas.Brush().SetColor(clBlue);
  p.canvas.Ellipse(30, 20, 59, 39);
  p.canvas.Brush().SetStyle(TBrushStyle::bsClear);
  p.canvas.Font().SetHeight(-20);
  p.canvas.Font().SetColor(clRed);
  p.canvas.TextOut(2, 2, "Wavy g&%");
  EXPECT_EQ(p.Colours(Rect(0, 0, 60, 40)), (std::set<TColor>{kBack, clBlue, clRed}));
}

TEST(CanvasText, OpaqueFillsTheExtentTransparentDoesNot) {
  Paper p(80, 30);
  p.canvas.Brush().SetColor(clYellow);  // solid brush: opaque in its colour
  const TSize extent = p.canvas.TextExtent("Hi there");
  ASSERT_GT(extent.cx, 0);
  p.canvas.TextOut(5, 4, "Hi there");
  const TRect cell = Bounds(5, 4, extent.cx, extent.cy);
  EXPECT_EQ(p.Ink(), cell);
  EXPECT_EQ(p.Colours(cell), (std::set<TColor>{clYellow, clBlack}));

  Paper t(80, 30);
  t.canvas.Brush().SetStyle(TBrushStyle::bsClear);
  t.canvas.TextOut(5, 4, "Hi there");
  EXPECT_EQ(t.Colours(cell), (std::set<TColor>{kBack, clBlack}));
  const TRect ink = t.Ink();
  EXPECT_TRUE(ink.Left >= cell.Left && ink.Right <= cell.Right && ink.Top >= cell.Top &&
              ink.Bottom <= cell.Bottom);

  // An explicit background holds until the brush changes again.
  t.canvas.SetBackgroundMode(TBackgroundMode::bmOpaque);
  t.canvas.SetBackgroundColor(clAqua);
  EXPECT_EQ(t.canvas.BackgroundMode(), TBackgroundMode::bmOpaque);
  t.canvas.Brush().SetColor(clLime);
  EXPECT_EQ(t.canvas.BackgroundColor(), clLime);
  t.canvas.SetBackgroundMode(TBackgroundMode::bmTransparent);
  t.canvas.TextOut(5, 4, "Hi there");
  EXPECT_EQ(t.Colours(cell), (std::set<TColor>{kBack, clBlack}));
  // A brush chosen anew counts even when it ends as it was: a colour that
  // made the clear brush solid, then clear again (how axis labels are set
  // up after an opaque grid).
  t.canvas.Brush().SetStyle(TBrushStyle::bsClear);
  t.canvas.SetBackgroundMode(TBackgroundMode::bmOpaque);
  t.canvas.Brush().SetColor(clLime);
  t.canvas.Brush().SetStyle(TBrushStyle::bsClear);
  EXPECT_EQ(t.canvas.BackgroundMode(), TBackgroundMode::bmTransparent);

  // TextRect clips to its rectangle and an opaque one fills all of it.
  Paper r(80, 30);
  r.canvas.Brush().SetColor(clYellow);
  r.canvas.TextRect(Rect(10, 6, 30, 12), 0, 0, "Hi there");
  EXPECT_EQ(r.Ink(), Rect(10, 6, 30, 12));
  EXPECT_TRUE(r.Colours(Rect(10, 6, 30, 12)).count(clBlack));
}

// Heap bytes in use, as the build's allocator counts them.
long long HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
  return static_cast<long long>(mallinfo2().uordblks + mallinfo2().hblkhd);
#endif
}

// The canvas keeps the texts it draws within a byte budget, and only those
// that fit on its surface: long texts at a large size do not pile up.
TEST(CanvasText, KeptTextsStayWithinABudget) {
  std::string words;
  while (words.size() < 300) words += " Wavy g&%";
  // Texts wider than the surface, then many that fit.
  for (auto [count, length] : {std::pair{60, 300}, std::pair{1000, 20}}) {
    Paper p(800, 300);
    p.canvas.Font().SetHeight(-60);
    p.canvas.Brush().SetStyle(TBrushStyle::bsClear);
    const long long before = HeapInUse();
    for (int i = 0; i < 2 * count; ++i)  // each twice: a text is kept when met again
      p.canvas.TextOut(0, 100, std::to_string(i / 2) + words.substr(0, length));
    EXPECT_LT(HeapInUse() - before, 8LL << 20) << length;
  }
}

// A canvas keeps the fonts it met last: going back and forth among more of
// them than it keeps, each text comes out as on a canvas new to the font.
TEST(CanvasText, SwitchingAmongManyFontsDrawsEachAsItsOwn) {
  Paper used(120, 40);
  for (int step = 0; step < 40; ++step) {
    // One font met again and again among ten others that come and go.
    const int k = step % 3 == 0 ? 0 : step % 11;
    const auto setFont = [k](TFont& f) {
      f.SetName(k % 3 == 0 ? "DejaVu Sans" : "Liberation Sans");
      f.SetHeight(-(9 + k));
      f.SetStyle(k % 2 ? 0 : static_cast<TFontStyles>(TFontStyle::fsBold));
    };
    Paper fresh(120, 40);
    setFont(used.canvas.Font());
    setFont(fresh.canvas.Font());
    used.surface.Fill(kBack);
    const std::string text = "Wykres " + std::to_string(k);
    ASSERT_EQ(used.canvas.TextWidth(text), fresh.canvas.TextWidth(text)) << k;
    used.canvas.TextOut(2, 2, text);
    fresh.canvas.TextOut(2, 2, text);
    ASSERT_TRUE(used.SameAs(fresh)) << "step " << step << " font " << k;
  }
}

TEST(CanvasText, AlignmentMovesTheCellByItsOwnExtent) {
  const std::string text = "Align H";
  Paper ref(90, 60);
  ref.canvas.Brush().SetColor(clYellow);
  const int w = ref.canvas.TextWidth(text), h = ref.canvas.TextHeight(text);
  ref.canvas.TextOut(10, 8, text);

  Paper right(90, 60);
  right.canvas.Brush().SetColor(clYellow);
  right.canvas.SetTextAlign(taRight | taBottom);
  right.canvas.TextOut(10 + w, 8 + h, text);
  EXPECT_TRUE(right.SameAs(ref));

  Paper centre(90, 60);
  centre.canvas.Brush().SetColor(clYellow);
  centre.canvas.SetTextAlign(taCenter | taTop);
  centre.canvas.TextOut(10 + w / 2, 8, text);
  EXPECT_TRUE(centre.SameAs(ref));

  // On the baseline, "H" stands on the row above it; the cell reaches below.
  Paper base(90, 60);
  base.canvas.Brush().SetStyle(TBrushStyle::bsClear);
  base.canvas.SetTextAlign(taLeft | taBaseline);
  base.canvas.TextOut(10, 40, "H");
  EXPECT_EQ(base.Ink().Bottom, 40);
  base.canvas.Brush().SetColor(clYellow);
  base.canvas.TextOut(30, 40, "H");
  const TRect cell = base.Ink();
  EXPECT_EQ(cell.Height(), h);
  EXPECT_LT(cell.Top, 40 - h / 2);
  EXPECT_GT(cell.Bottom, 40);

  // Update-current-position starts at PenPos and moves it by the width.
  Paper cp(90, 60);
  cp.canvas.SetTextAlign(taUpdateCP);
  cp.canvas.MoveTo(4, 4);
  cp.canvas.TextOut(0, 0, "ab");
  cp.canvas.TextOut(0, 0, "cd");
  EXPECT_EQ(cp.canvas.PenPos(),
            (TPoint{4 + cp.canvas.TextWidth("ab") + cp.canvas.TextWidth("cd"), 4}));
}

TEST(CanvasText, DrawTextCalcRectWrapsInsideTheWidth) {
  Paper p(200, 200);
  const std::string message =
      "The quick brown fox jumps over the lazy dog and keeps on running far";
  const int lineHeight = p.canvas.TextHeight("W");
  const int width = p.canvas.TextWidth(message) / 3;
  TRect calc = Rect(10, 10, 10 + width, 10);
  const int height = p.canvas.DrawText(calc, message, dtCalcRect | dtWordBreak);
  EXPECT_EQ(height, calc.Height());
  EXPECT_EQ(calc.Height() % lineHeight, 0);
  EXPECT_GE(calc.Height() / lineHeight, 3);
  EXPECT_LE(calc.Width(), width);
  EXPECT_GT(calc.Width(), width / 2);
  EXPECT_EQ(p.Ink(), TRect{});  // measuring draws nothing

  p.canvas.Brush().SetStyle(TBrushStyle::bsClear);
  TRect box = calc;
  p.canvas.DrawText(box, message, dtWordBreak);
  const TRect ink = p.Ink();
  EXPECT_TRUE(ink.Left >= calc.Left && ink.Right <= calc.Right && ink.Top >= calc.Top &&
              ink.Bottom <= calc.Bottom);
  EXPECT_GT(ink.Bottom, calc.Bottom - lineHeight);  // the last line is used

  // A word wider than the width keeps its line and widens the rectangle.
  TRect narrow = Rect(0, 0, 5, 0);
  p.canvas.DrawText(narrow, "Incomprehensibilities now", dtCalcRect | dtWordBreak);
  EXPECT_EQ(narrow.Width(), p.canvas.TextWidth("Incomprehensibilities"));
  EXPECT_EQ(narrow.Height(), 2 * lineHeight);

  // Line feeds break lines; a single line keeps everything on one.
  TRect lines = Rect(0, 0, 1000, 0);
  p.canvas.DrawText(lines, "one\r\ntwo\nthree", dtCalcRect);
  EXPECT_EQ(lines.Height(), 3 * lineHeight);
  EXPECT_EQ(lines.Width(), p.canvas.TextWidth("three"));
  p.canvas.DrawText(lines, "one\ntwo", dtCalcRect | dtSingleLine);
  EXPECT_EQ(lines.Height(), lineHeight);
}

TEST(CanvasText, DrawTextPrefixAndAlignment) {
  Paper p(120, 40);
  TRect r = Rect(0, 0, 120, 40);
  p.canvas.DrawText(r, "&File && more", dtCalcRect | dtSingleLine);
  EXPECT_EQ(r.Width(), p.canvas.TextWidth("File & more"));
  p.canvas.DrawText(r, "&File", dtCalcRect | dtSingleLine | dtNoPrefix);
  EXPECT_EQ(r.Width(), p.canvas.TextWidth("&File"));

  // The mnemonic adds an underline below the plain text.
  Paper plain(120, 40), marked(120, 40);
  for (Paper* q : {&plain, &marked}) q->canvas.Brush().SetStyle(TBrushStyle::bsClear);
  TRect a = Rect(0, 0, 120, 40), b = a;
  plain.canvas.DrawText(a, "File", dtSingleLine | dtNoPrefix);
  marked.canvas.DrawText(b, "&File", dtSingleLine);
  const TRect plainInk = plain.Ink();
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x)
      if (y < plainInk.Bottom) {
        ASSERT_EQ(marked.At(x, y), plain.At(x, y)) << x << "," << y;
      }
  // The underline is under the "F" only.
  const int f = p.canvas.TextWidth("F");
  EXPECT_TRUE(marked.Colours(Rect(0, plainInk.Bottom, f, 40)).count(clBlack));
  EXPECT_EQ(marked.Colours(Rect(f, plainInk.Bottom, 120, 40)), std::set<TColor>{kBack});

  // Right and bottom alignment put the text against those edges.
  Paper aligned(120, 40);
  aligned.canvas.Brush().SetColor(clYellow);
  TRect box = Rect(10, 5, 110, 35);
  aligned.canvas.DrawText(box, "Edge", dtSingleLine | dtRight | dtBottom);
  EXPECT_EQ(aligned.Ink(), Rect(110 - aligned.canvas.TextWidth("Edge"),
                                35 - aligned.canvas.TextHeight("Edge"), 110, 35));
}

TEST(CanvasShapes, FocusRectTwiceRestores) {
  Paper p;
  p.canvas.Brush().SetColor(clNavy);
  p.canvas.FillRect(Rect(0, 0, 20, 30));
  Paper before;
  before.canvas.CopyRect(Rect(0, 0, 40, 30), p.canvas, Rect(0, 0, 40, 30));
  p.canvas.DrawFocusRect(Rect(5, 5, 30, 20));
  EXPECT_FALSE(p.SameAs(before));
  EXPECT_EQ(p.Ink(kBack).Right, 30);
  EXPECT_EQ(p.At(10, 10), clNavy);  // the inside is untouched
  EXPECT_NE(p.At(5, 5), before.At(5, 5));
  EXPECT_EQ(p.At(6, 5), before.At(6, 5));  // dotted
  p.canvas.DrawFocusRect(Rect(5, 5, 30, 20));
  EXPECT_TRUE(p.SameAs(before));
}

TEST(CanvasShapes, PieFillsCounterClockwiseFromStartToEndRadial) {
  Paper p(41, 41);
  p.canvas.Brush().SetColor(clRed);
  // From three o'clock round to twelve: the upper right quarter.
  p.canvas.Pie(0, 0, 41, 41, 40, 20, 20, 0);
  EXPECT_EQ(p.At(30, 10), clRed);
  EXPECT_EQ(p.At(10, 10), kBack);
  EXPECT_EQ(p.At(10, 30), kBack);
  EXPECT_EQ(p.At(30, 30), kBack);
  // Swapped radials: everything but that quarter.
  Paper q(41, 41);
  q.canvas.Brush().SetColor(clRed);
  q.canvas.Pie(0, 0, 41, 41, 20, 0, 40, 20);
  EXPECT_EQ(q.At(30, 10), kBack);
  EXPECT_EQ(q.At(10, 10), clRed);
  EXPECT_EQ(q.At(30, 30), clRed);
}

TEST(CanvasShapes, DashesAndHatchesUseTheBackgroundWhenOpaque) {
  Paper p(60, 20);
  p.canvas.Pen().SetStyle(TPenStyle::psDot);
  p.canvas.SetBackgroundMode(TBackgroundMode::bmTransparent);
  p.canvas.MoveTo(0, 2);
  p.canvas.LineTo(60, 2);
  EXPECT_EQ(p.Colours(Rect(0, 2, 60, 3)), (std::set<TColor>{kBack, clBlack}));
  p.canvas.SetBackgroundMode(TBackgroundMode::bmOpaque);
  p.canvas.SetBackgroundColor(clYellow);
  p.canvas.MoveTo(0, 4);
  p.canvas.LineTo(60, 4);
  EXPECT_EQ(p.Colours(Rect(0, 4, 60, 5)), (std::set<TColor>{clYellow, clBlack}));

  // A hatched brush leaves its gaps alone (it sets the background transparent).
  p.canvas.Brush().SetColor(clBlue);
  p.canvas.Brush().SetStyle(TBrushStyle::bsCross);
  p.canvas.FillRect(Rect(0, 8, 30, 20));
  EXPECT_EQ(p.Colours(Rect(0, 8, 30, 20)), (std::set<TColor>{kBack, clBlue}));
  p.canvas.SetBackgroundMode(TBackgroundMode::bmOpaque);
  p.canvas.FillRect(Rect(30, 8, 60, 20));
  EXPECT_EQ(p.Colours(Rect(30, 8, 60, 20)), (std::set<TColor>{clYellow, clBlue}));
  // The pattern is anchored to the surface, whatever the pen mode.
  Paper copy(60, 20), xored(60, 20, clBlack);
  for (Paper* q : {&copy, &xored}) {
    q->canvas.Brush().SetColor(clWhite);
    q->canvas.Brush().SetStyle(TBrushStyle::bsDiagCross);
    q->canvas.Pen().SetStyle(TPenStyle::psClear);
  }
  xored.canvas.Pen().SetMode(TPenMode::pmXor);
  copy.canvas.Rectangle(7, 3, 50, 18);
  xored.canvas.Rectangle(7, 3, 50, 18);
  for (int y = 3; y < 17; ++y)
    for (int x = 7; x < 49; ++x)
      ASSERT_EQ(copy.At(x, y) == clWhite, xored.At(x, y) == clWhite) << x << "," << y;
}

TEST(CanvasSurface, WithoutASurfaceDrawingIsIgnoredAndTextMeasured) {
  TCanvas canvas;
  int changes = 0;
  canvas.OnChange = [&] { ++changes; };
  canvas.Font().SetName("Liberation Sans");
  canvas.FillRect(Rect(0, 0, 10, 10));
  canvas.LineTo(5, 5);
  canvas.TextOut(0, 0, "x");
  EXPECT_EQ(canvas.PenPos(), (TPoint{5, 5}));
  EXPECT_GT(canvas.TextWidth("Wide text"), canvas.TextWidth("W"));
  EXPECT_EQ(canvas.TextWidth(""), 0);
  EXPECT_GT(canvas.TextHeight("x"), 0);
  // What sizes a column to many texts is never narrower than the shaped text.
  for (const char* s : {"AVAVA Te", "Wąż żółć", "fi ffl", "iiii", "\xff\xfe bad", ""})
    EXPECT_GE(canvas.SumOfCharWidths(s), canvas.TextWidth(s)) << s;
  EXPECT_EQ(changes, 0);

  Paper p;
  p.canvas.OnChange = [&] { ++changes; };
  p.canvas.FillRect(Rect(0, 0, 10, 10));
  p.canvas.LineTo(5, 5);
  EXPECT_EQ(changes, 2);
}

TEST(Bitmap, SizeKeepsContentAndCanvasFollows) {
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  bitmap.SetWidth(10);
  EXPECT_TRUE(bitmap.Empty());
  bitmap.SetHeight(8);
  EXPECT_FALSE(bitmap.Empty());
  bitmap.Canvas().Brush().SetColor(clRed);
  bitmap.Canvas().FillRect(Rect(0, 0, 10, 8));
  bitmap.SetSize(12, 9);
  EXPECT_EQ(bitmap.Surface().Pixel(9, 7), clRed);
  EXPECT_EQ(bitmap.Surface().Pixel(11, 8), clWhite);
  bitmap.Canvas().FillRect(Rect(0, 0, 12, 9));
  EXPECT_EQ(bitmap.Surface().Pixel(11, 8), clRed);
  TBitmap copy;
  copy.Assign(bitmap);
  EXPECT_EQ(copy.Width(), 12);
  EXPECT_EQ(copy.Surface().Pixel(11, 8), clRed);
}

// Text drawn white on black and combined by xor shows the complement of
// whatever lies beneath it, as the progress gauge composes it.
TEST(CanvasCopy, XorTextOverABar) {
  TBitmap image(60, 20);
  image.Canvas().Brush().SetColor(clWhite);
  image.Canvas().FillRect(Rect(0, 0, 60, 20));
  image.Canvas().Brush().SetColor(clBlack);
  image.Canvas().FillRect(Rect(0, 0, 30, 20));
  TBitmap text(60, 20);
  text.Canvas().SetCopyMode(TCopyMode::cmBlackness);
  text.Canvas().CopyRect(Rect(0, 0, 60, 20), text.Canvas(), Rect(0, 0, 60, 20));
  text.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
  text.Canvas().Font().SetName("Liberation Sans");
  text.Canvas().Font().SetHeight(-16);
  text.Canvas().Font().SetColor(clWhite);
  text.Canvas().TextRect(Rect(0, 0, 60, 20), 15, 1, "MMMM");
  image.Canvas().SetCopyMode(TCopyMode::cmSrcInvert);
  image.Canvas().Draw(0, 0, text);
  int whiteOnBar = 0, blackOnBack = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) {
      if (text.Surface().Pixel(x, y) != clWhite) continue;
      const TColor got = image.Surface().Pixel(x, y);
      EXPECT_EQ(got, x < 30 ? clWhite : clBlack);
      (x < 30 ? whiteOnBar : blackOnBack)++;
    }
  EXPECT_GT(whiteOnBar, 0);
  EXPECT_GT(blackOnBack, 0);
}

}  // namespace

// A description may give a pen any width: the widest covers the surface
// around a stroke, and a closed shape's own area.
TEST(CanvasRaster, APenOfTheLargestWidthCoversWithoutOverflow) {
  struct Case {
    const char* name;
    void (*draw)(TCanvas&);
    TRect ink;    // the pixels drawn
    TRect solid;  // all of them in the pen colour
  };
  const Case cases[] = {
      {"line", [](TCanvas& c) { c.MoveTo(10, 10), c.LineTo(20, 12); }, Rect(0, 0, 40, 30),
       Rect(0, 0, 40, 30)},
      {"polyline",
       [](TCanvas& c) {
         const std::array<TPoint, 3> pts{TPoint{3, 3}, TPoint{30, 5}, TPoint{8, 20}};
         c.Polyline(pts);
       },
       Rect(0, 0, 40, 30), Rect(0, 0, 40, 30)},
      {"polygon",
       [](TCanvas& c) {
         const std::array<TPoint, 3> pts{TPoint{3, 3}, TPoint{30, 5}, TPoint{8, 20}};
         c.Polygon(pts);
       },
       Rect(0, 0, 40, 30), Rect(0, 0, 40, 30)},
      {"rectangle", [](TCanvas& c) { c.Rectangle(5, 6, 25, 18); }, Rect(5, 6, 25, 18),
       Rect(5, 6, 25, 18)},
      {"ellipse", [](TCanvas& c) { c.Ellipse(5, 6, 25, 18); }, Rect(5, 6, 25, 18),
       Rect(9, 8, 21, 16)},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Paper p;
    p.canvas.Pen().SetColor(clRed);
    p.canvas.Pen().SetWidth(std::numeric_limits<int>::max());
    p.canvas.Brush().SetColor(clBlue);
    k.draw(p.canvas);
    EXPECT_EQ(p.Ink(), k.ink);
    EXPECT_EQ(p.Colours(k.solid), std::set<TColor>{clRed});
  }
}

namespace {

// A BMP file of `bits` a pixel: the palette's first `colours` entries (0 for
// all), pixels from `pixel(x, y)`, rows from the top when height < 0.
std::vector<uint8_t> MakeBmp(int bits, int width, int height, int colours, std::mt19937& rng,
                             const std::function<uint32_t(int, int)>& pixel) {
  const int stride = (width * bits + 31) / 32 * 4, rows = std::abs(height);
  const int entries = bits == 24 ? 0 : colours == 0 ? 1 << bits : colours;
  const int data_at = 54 + 4 * entries;
  std::vector<uint8_t> b(static_cast<size_t>(data_at + stride * rows));
  const auto put = [&b](size_t at, uint32_t v, int n) {
    for (int k = 0; k < n; ++k) b[at + size_t(k)] = static_cast<uint8_t>(v >> (8 * k));
  };
  b[0] = 'B', b[1] = 'M';
  put(2, uint32_t(b.size()), 4), put(10, uint32_t(data_at), 4), put(14, 40, 4);
  put(18, uint32_t(width), 4), put(22, uint32_t(height), 4), put(26, 1, 2),
      put(28, uint32_t(bits), 2);
  put(46, uint32_t(colours), 4);
  for (int i = 0; i < entries; ++i) put(54 + 4 * size_t(i), rng() & 0xFFFFFF, 4);
  for (int row = 0; row < rows; ++row)
    for (int x = 0; x < width; ++x) {
      const uint32_t v = pixel(x, height > 0 ? rows - 1 - row : row);
      const size_t at = size_t(data_at + row * stride);
      if (bits == 24) {
        put(at + 3 * size_t(x), v, 3);
      } else {
        const int per_byte = 8 / bits, shift = (per_byte - 1 - x % per_byte) * bits;
        b[at + size_t(x / per_byte)] |= static_cast<uint8_t>(v << shift);
      }
    }
  return b;
}

}  // namespace

// Our own reading of plain pictures gives Qt's pixels; what it leaves to Qt
// (a palette index past the palette, compression, 32 bits, a short file)
// loads as Qt loads it.
TEST(Bitmap, PicturesReadAsQtReadsThem) {
  std::mt19937 rng(5);
  std::vector<std::vector<uint8_t>> files;
  for (const EmbeddedResource& r : EmbeddedResources())
    if (std::string_view(r.name).ends_with(".bmp")) files.emplace_back(r.data, r.data + r.size);
  for (int n = 0; n < 400; ++n) {
    const int bits = std::array{1, 4, 8, 24}[size_t(n % 4)];
    const int colours = bits == 24 || n % 3 == 0 ? 0 : 1 + int(rng() % (1u << bits));
    const int limit = bits == 24 ? 1 << 24 : colours == 0 ? 1 << bits : colours;
    const bool past = n % 10 == 9 && bits < 8;  // an index past the palette
    files.push_back(MakeBmp(
        bits, 1 + int(rng() % 19), (n % 2 ? -1 : 1) * (1 + int(rng() % 7)), colours, rng,
        [&](int, int) { return past ? (1u << bits) - 1 : uint32_t(rng() % uint32_t(limit)); }));
  }
  // Compressed, and cut short: their pixels are Qt's business, and a short
  // file may leave some unset.
  const size_t whole = files.size();
  size_t decoded = 0;
  files.push_back(files[3]), files.back()[30] = 1;
  files.push_back(files[5]), files.back().resize(files.back().size() - 1);
  for (size_t i = 0; i < files.size(); ++i) {
    const std::vector<uint8_t>& f = files[i];
    QImage qt;
    const bool qt_read = qt.loadFromData(f.data(), int(f.size()), "BMP");
    QImage ours;
    if (DecodePlainBmp(f, ours)) {
      ++decoded;
      ASSERT_TRUE(qt_read) << i;
      ASSERT_EQ(ours, qt.convertToFormat(QImage::Format_RGB32)) << i;
    }
    TBitmap bitmap;
    ASSERT_EQ(bitmap.LoadFromBytes(f), qt_read) << i;
    if (qt_read && i < whole) {
      const QImage rgb = qt.convertToFormat(QImage::Format_RGB32);
      ASSERT_EQ(bitmap.Canvas().Pixel(0, 0), RgbToColor(rgb.pixel(0, 0))) << i;
    }
  }
  // All but the ones with an index past their palette are ours to read.
  EXPECT_GT(decoded, whole * 9 / 10);
}
