// The shortcuts a frame takes (cached text, straight lines and solid fills
// written in rows, the frozen axis mapping) against the ways they shortcut.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "chart/axis_pixel_map.h"
#include "framework/canvas.h"
#include "framework/qt_bridge.h"
#include "framework/surface.h"

using namespace nitko;

namespace {

constexpr TFontStyles Styles(TFontStyle s) { return static_cast<TFontStyles>(s); }
constexpr TFontStyles fsBold = Styles(TFontStyle::fsBold), fsItalic = Styles(TFontStyle::fsItalic),
                      fsUnderline = Styles(TFontStyle::fsUnderline),
                      fsStrikeOut = Styles(TFontStyle::fsStrikeOut);

constexpr int kW = 90, kH = 40;
constexpr TColor kBack = 0x00F0E0D0;

struct Paper {
  TSurface surface{kW, kH};
  TCanvas canvas{&surface};
  Paper() {
    surface.Fill(kBack);
    canvas.Font().SetName("Liberation Sans");
    canvas.Font().SetHeight(-15);
  }
};

// Counts differing pixels, leaving out those where skip says so.
template <class Skip>
int Differences(const TSurface& a, const TSurface& b, Skip skip) {
  int n = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (!skip(x, y) && a.Pixel(x, y) != b.Pixel(x, y)) ++n;
  return n;
}

// The canvas's text against a painter drawing it straight, as the canvas
// did before it kept texts: same pixels, same widths, first and second time.
TEST(RasterFastPaths, CachedTextEqualsPainterText) {
  struct Case {
    const char* text;
    TFontStyles style;
    TColor colour;
    TRect clip;  // empty: none
  };
  const std::array<Case, 5> cases{{
      {"0,25", 0, clBlack, {}},
      {"Wykres f(x, p+1)", fsBold, clRed, {}},
      {"Ćma żółw", fsItalic | fsUnderline, clNavy, {3, 2, 40, 14}},
      {"-1 234,5", fsStrikeOut, 0x00123456, {20, 0, 90, 40}},
      {"gjpq|", 0, clGreen, {0, 9, 90, 12}},
  }};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Paper paper;
    paper.canvas.Font().SetStyle(c.style);
    paper.canvas.Font().SetColor(c.colour);
    paper.canvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (!c.clip.IsEmpty()) paper.canvas.SetClipRect(c.clip);

    QImage expected(kW, kH, QImage::Format_RGB32);
    expected.fill(QColor::fromRgb(ColorToQRgb(kBack)));
    const QFont font = ToQFont(paper.canvas.Font());
    const QFontMetrics fm(font);
    {
      QPainter p(&expected);
      p.setRenderHint(QPainter::TextAntialiasing, false);
      if (!c.clip.IsEmpty()) p.setClipRect(QRect(c.clip.Left, c.clip.Top, c.clip.Width(), c.clip.Height()));
      p.setFont(font);
      p.setPen(ToQColor(c.colour));
      p.drawText(QPoint(4, 6 + fm.ascent()), QString::fromStdString(c.text));
    }
    EXPECT_EQ(paper.canvas.TextWidth(c.text), fm.horizontalAdvance(QString::fromStdString(c.text)));
    for (int round = 0; round < 2; ++round) {
      paper.surface.Fill(kBack);
      paper.canvas.TextOut(4, 6, c.text);
      int wrong = 0, inked = 0;
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          wrong += paper.surface.Image().pixel(x, y) != expected.pixel(x, y);
          inked += paper.surface.Pixel(x, y) != kBack;
        }
      EXPECT_EQ(wrong, 0) << "round " << round;
      EXPECT_GT(inked, 0);
    }
    // Another colour of the same text is another rendering.
    paper.canvas.Font().SetColor(clFuchsia);
    paper.canvas.TextOut(4, 6, c.text);
    EXPECT_NE(paper.surface.Pixel(0, 0), clFuchsia);
    bool fuchsia = false;
    for (int y = 0; y < kH && !fuchsia; ++y)
      for (int x = 0; x < kW && !fuchsia; ++x) fuchsia = paper.surface.Pixel(x, y) == clFuchsia;
    EXPECT_TRUE(fuchsia);
  }
}

// Straight lines and solid boxes in a plain rectangular clip take rows and
// columns directly; where the clip is not one rectangle they go pixel by
// pixel. Both must agree wherever both may paint.
TEST(RasterFastPaths, StraightLinesAndFillsEqualThePixelWalk) {
  struct Case {
    TPenStyle style;
    TPenMode mode;
    TBackgroundMode background;
  };
  const std::array<Case, 5> cases{{
      {TPenStyle::psSolid, TPenMode::pmCopy, TBackgroundMode::bmTransparent},
      {TPenStyle::psDot, TPenMode::pmCopy, TBackgroundMode::bmTransparent},
      {TPenStyle::psDash, TPenMode::pmCopy, TBackgroundMode::bmOpaque},
      {TPenStyle::psDashDotDot, TPenMode::pmXor, TBackgroundMode::bmOpaque},
      {TPenStyle::psSolid, TPenMode::pmNotXor, TBackgroundMode::bmTransparent},
  }};
  // The fast run is clipped to [2, 80) x [1, 37); the slow one to the same
  // box with a right edge stepping between 79 and 80 every two rows, which
  // makes it many rectangles wherever a shape comes near that edge.
  const TRect box{2, 1, 80, 37};
  std::vector<TPoint> stairs{{2, 1}};
  for (int y = 1; y < 36; y += 2) {
    const int x = (y / 2) % 2 == 0 ? 80 : 79;
    stairs.push_back({x, y});
    stairs.push_back({x, y + 2});
  }
  stairs.push_back({2, 37});
  const auto onStairs = [](int x, int) { return x >= 79; };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style) * 100 + static_cast<int>(c.mode));
    Paper fast, slow;
    slow.canvas.SetClipPolygon(stairs);
    fast.canvas.SetClipRect(box);
    for (Paper* p : {&fast, &slow}) {
      TCanvas& k = p->canvas;
      k.Pen().SetStyle(c.style);
      k.Pen().SetMode(c.mode);
      k.Pen().SetColor(clBlue);
      k.Brush().SetColor(clYellow);
      k.SetBackgroundMode(c.background);
      k.SetBackgroundColor(clLime);
      // Lines both ways running out of the clip, a polyline doubling back on
      // itself with its dashes running on, and boxes partly outside.
      k.MoveTo(-5, 3);
      k.LineTo(95, 3);
      k.MoveTo(85, 7);
      k.LineTo(0, 7);
      k.MoveTo(77, -4);
      k.LineTo(77, 50);
      k.MoveTo(78, 38);
      k.LineTo(78, 0);
      const std::array<TPoint, 6> zigzag{TPoint{76, 20}, TPoint{76, 10}, TPoint{76, 25},
                                         TPoint{30, 25}, TPoint{81, 25}, TPoint{81, 28}};
      k.Polyline(zigzag);
      k.Rectangle(75, 12, 78, 27);
      k.Rectangle(60, 29, 99, 34);
      k.Rectangle(-3, 30, 81, 33);
    }
    EXPECT_EQ(Differences(fast.surface, slow.surface, onStairs), 0);
    Paper blank;
    EXPECT_GT(Differences(fast.surface, blank.surface, [](int, int) { return false; }), 200);
  }
}

// The old mapping: the same expression rounded by the library.
int ReferencePixel(const TAxisPixelMap& m, double v) {
  if (m.range_span == 0) return m.pixel_center;
  const double t = (v - m.range_min) * m.pixel_length / m.range_span;
  if (!(std::fabs(t) < 2147483647.0)) return m.pixel_center;
  const long long rt = static_cast<long long>(std::nearbyint(t));
  const long long p = m.horizontal ? (m.inverted ? m.pixel_end - rt : m.pixel_start + rt)
                                   : (m.inverted ? m.pixel_start + rt : m.pixel_end - rt);
  return p > INT_MAX || p < INT_MIN ? m.pixel_center : static_cast<int>(p);
}

TEST(RasterFastPaths, AxisMappingRoundsHalvesToEvenLikeTheLibrary) {
  TAxisPixelMap m;
  m.range_min = 0;
  m.range_span = 10;
  m.pixel_start = 30;
  m.pixel_end = 50;
  m.pixel_length = 20;
  m.pixel_center = 40;
  m.Prepare();
  // t = 2v: halves on both sides of zero, values just off them, the limits.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::array<double, 16> values{0.25, 0.75, 1.25, -0.25, -0.75, -1.25, 0.2499999999999999,
                                      0.2500000000000001, 1e-300, -1e-300, 1073741823.25,
                                      -1073741823.25, 1073741824.0, 2e9, nan, 3.0};
  for (int variant = 0; variant < 4; ++variant) {
    m.horizontal = variant % 2 == 0;
    m.inverted = variant >= 2;
    for (double v : values) EXPECT_EQ(m.Map(v), ReferencePixel(m, v)) << v << " " << variant;
  }
  // The product by the reciprocal gives the quotient's pixel on random axes,
  // halves and their neighbours included.
  std::mt19937 rng(11);
  for (int n = 0; n < 200000; ++n) {
    m.range_min = std::uniform_real_distribution(-1e3, 1e3)(rng);
    m.range_span = std::pow(10.0, std::uniform_real_distribution(-6.0, 6.0)(rng));
    m.pixel_length = std::uniform_int_distribution(1, 4000)(rng);
    m.Prepare();
    const double at = std::uniform_int_distribution(-9000, 9000)(rng) * 0.5 / m.pixel_length;
    const double half = m.range_min + at * m.range_span;
    const double v = n % 4 == 0   ? half
                     : n % 4 == 3 ? half + std::uniform_real_distribution(-1.0, 1.0)(rng) * m.range_span
                                  : std::nextafter(half, n % 4 == 1 ? 1e9 : -1e9);
    ASSERT_EQ(m.Map(v), ReferencePixel(m, v)) << v << " " << m.range_min << " " << m.range_span;
    // Four lanes, two lanes and one: every width of the pass.
    int all[7];
    const double several[7] = {v, -v, 2 * v, half, -half, v + 1, v / 2};
    m.MapAll(several, 1, all);
    for (int k = 0; k < 7; ++k) ASSERT_EQ(all[k], m.Map(several[k])) << several[k];
    // The values sharing v's pixel end exactly where the pixel does.
    double low, high;
    if (n % 8 != 0) continue;
    ASSERT_TRUE(m.Band(v, low, high)) << v;
    ASSERT_EQ(std::pair(m.Map(low), m.Map(high)), std::pair(m.Map(v), m.Map(v))) << v;
    ASSERT_NE(m.Map(std::nextafter(low, -HUGE_VAL)), m.Map(v)) << v;
    ASSERT_NE(m.Map(std::nextafter(high, HUGE_VAL)), m.Map(v)) << v;
  }
  m.range_min = 0;
  m.scale = 0;
  // Every tie between 0 and 2^20 lands on the even neighbour.
  m.range_span = 1;
  m.pixel_length = 1;
  m.horizontal = true;
  m.inverted = false;
  m.pixel_start = 0;
  for (int i = -(1 << 20); i < (1 << 20); i += 977) {
    const double v = i + 0.5;
    EXPECT_EQ(m.Map(v), ReferencePixel(m, v)) << v;
    EXPECT_EQ(m.Map(v) % 2, 0) << v;
  }
}

}  // namespace
