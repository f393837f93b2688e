// Drawing of the fast line and point series through a real chart, read back
// pixel by pixel from an off-screen surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>
#include <limits>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "chart/chart.h"
#include "chart/chart_axis.h"
#include "chart/chart_exceptions.h"
#include "chart/chart_legend.h"
#include "chart/chart_wall.h"
#include "chart/fast_line_series.h"
#include "chart/line_column_collapse.h"
#include "chart/point_series.h"
#include "chart/series_classes.h"
#include "chart/tee_canvas.h"
#include "framework/canvas.h"
#include "framework/class_registry.h"
#include "framework/gui_thread.h"
#include "framework/standard_classes.h"
#include "framework/surface.h"

using namespace nitko;

namespace {

constexpr int kW = 753, kH = 321;
constexpr TColor kBack = 0xFFFFFF;

// The way the drawing is specified: DrawPoint for every visible index.
struct PointByPointLine : TFastLineSeries {
  using TFastLineSeries::TFastLineSeries;
  void DrawAllPoints() override {
    TCanvas3D& c = ParentChart()->Canvas();
    c.ApplyChartPen(LinePen());
    c.Brush().SetStyle(TBrushStyle::bsClear);
    TChartSeries::DrawAllPoints();
  }
};
struct PointByPointMarkers : TPointSeries {
  using TPointSeries::TPointSeries;
  void DrawAllPoints() override { TChartSeries::DrawAllPoints(); }
};

struct Scene {
  TChart chart{nullptr};
  TSurface surface{kW, kH};
  TCanvas canvas{&surface};

  Scene() {
    chart.SetBounds(0, 0, kW, kH);
    chart.SetView3D(false);
    chart.Legend().SetVisible(false);
    chart.BackWall().Brush().SetColor(kBack);
  }
  template <class S>
  std::unique_ptr<S> Add() {
    auto s = std::make_unique<S>(nullptr);
    s->SetParentChart(&chart);
    return s;
  }
  void FixAxes(double x0, double x1, double y0, double y1) {
    chart.BottomAxis().SetRange(x0, x1);
    chart.LeftAxis().SetRange(y0, y1);
  }
  void Draw() { chart.DrawChart(&canvas, {0, 0, kW, kH}); }
  TColor At(int x, int y) const { return surface.Pixel(x, y); }
  int Count(TColor c, TRect r = {0, 0, kW, kH}) const {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += At(x, y) == c;
    return n;
  }
};

bool SamePixels(const TSurface& a, const TSurface& b) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

using Data = std::function<double(int i, std::mt19937& rng)>;
struct Shape {
  const char* name;
  Data y;
};
const Shape kShapes[] = {
    {"rising", [](int i, std::mt19937&) { return i * 0.004 - 50; }},
    {"falling", [](int i, std::mt19937&) { return 150 - i * 0.004; }},
    {"noisy", [](int, std::mt19937& g) { return std::uniform_real_distribution(-20.0, 120.0)(g); }},
    {"flat", [](int, std::mt19937&) { return 42.0; }},
    {"walk",
     [](int i, std::mt19937& g) {
       static double v = 50;
       if (i == 0) v = 50;
       return v += std::uniform_real_distribution(-1.5, 1.5)(g);
     }},
    // Stretches of NaN, and values with no place on the axis.
    {"holed",
     [](int i, std::mt19937&) {
       return i % 4000 < 300 ? std::numeric_limits<double>::quiet_NaN()
                             : 50 + 40 * std::sin(i * 1e-3);
     }},
    {"far",
     [](int i, std::mt19937&) {
       return i % 997 == 0 ? 1e300 : i % 991 == 0 ? -HUGE_VAL : 50 + 40 * std::cos(i * 7e-4);
     }},
};

template <class Fast, class Plain>
void ExpectSamePictures(int count, double xStep, const Shape& shape,
                        const std::function<void(Fast&, Plain&)>& setup = {}) {
  Scene a, b;
  auto fast = a.Add<Fast>();
  auto plain = b.Add<Plain>();
  for (auto* s : {static_cast<TChartSeries*>(fast.get()), static_cast<TChartSeries*>(plain.get())}) {
    std::mt19937 rng(7);
    s->SetSeriesColor(clRed);
    for (int i = 0; i < count; ++i) s->AddPoint(i * xStep, shape.y(i, rng), "", clDefault);
  }
  if (setup) setup(*fast, *plain);
  // Narrower than the data: points lie beyond every edge of the plot.
  for (Scene* s : {&a, &b}) {
    s->FixAxes(count * xStep * 0.1, count * xStep * 0.9, 0, 100);
    s->Draw();
  }
  EXPECT_TRUE(SamePixels(a.surface, b.surface)) << shape.name;
  EXPECT_GT(a.Count(clRed) + a.Count(clBlack), 50) << shape.name;
}

}  // namespace

TEST(SeriesDrawing, CollapsedLineMatchesOneLinePerPoint) {
  for (const Shape& shape : kShapes) ExpectSamePictures<TFastLineSeries, PointByPointLine>(60000, 1, shape);
  // Few points per column, and the plain path a dashed pen keeps.
  ExpectSamePictures<TFastLineSeries, PointByPointLine>(3000, 1, kShapes[2]);
  ExpectSamePictures<TFastLineSeries, PointByPointLine>(
      5000, 1, kShapes[4], [](TFastLineSeries& f, PointByPointLine& p) {
        f.LinePen().SetStyle(TPenStyle::psDash);
        p.LinePen().SetStyle(TPenStyle::psDash);
      });
}

// Short random lines whose end lies inside the surface, so that the left-out
// last pixel of the whole line is seen.
TEST(SeriesDrawing, CollapsedColumnsKeepTheLastPixelRule) {
  std::mt19937 rng(3);
  for (int trial = 0; trial < 3000; ++trial) {
    std::vector<TPoint> pts{{2, 2 + static_cast<int>(rng() % 16)}};
    for (int n = 1 + rng() % 14; n > 0; --n)
      pts.push_back({pts.back().X + (rng() % 3 == 0), 2 + static_cast<int>(rng() % 16)});
    TSurface sa(24, 24), sb(24, 24);
    TCanvas ca(&sa), cb(&sb);
    TTeeCanvas3D a, b;
    for (auto [t, c, surf] : {std::tuple{&a, &ca, &sa}, std::tuple{&b, &cb, &sb}}) {
      surf->Fill(kBack);
      t->SetOffscreenBuffer(false);
      t->AttachSurface(c);
      t->PenMoveTo(pts[0].X, pts[0].Y);
    }
    TLineColumnCollapse line(b);
    line.Start(pts[0].X, pts[0].Y);
    for (size_t i = 1; i < pts.size(); ++i) {
      if (pts[i] != pts[i - 1]) a.PenLineTo(pts[i].X, pts[i].Y);
      line.LineTo(pts[i].X, pts[i].Y);
    }
    line.Finish();
    ASSERT_TRUE(SamePixels(sa, sb)) << "trial " << trial;
  }
}

TEST(SeriesDrawing, CulledMarkersMatchOneMarkerPerPoint) {
  using S = TSeriesPointerStyle;
  struct Case {
    S style;
    int h, v;
    bool clearPen, clearBrush;
  } cases[] = {{S::psRectangle, 1, 7, false, false}, {S::psRectangle, 4, 4, true, false},
               {S::psRectangle, 3, 2, false, true},  {S::psCircle, 4, 4, false, false},
               {S::psTriangle, 3, 5, false, false},  {S::psDownTriangle, 3, 5, false, false},
               {S::psCross, 2, 3, false, false},     {S::psDiagCross, 2, 3, false, false},
               {S::psStar, 4, 4, false, false},      {S::psDiamond, 4, 3, false, false},
               {S::psSmallDot, 1, 1, false, false}};
  for (const Case& c : cases) {
    auto setup = [&c](TPointSeries& f, PointByPointMarkers& p) {
      for (TPointSeries* s : {static_cast<TPointSeries*>(&f), static_cast<TPointSeries*>(&p)}) {
        s->SetColorEachPoint(true);
        s->Pointer().SetStyle(c.style);
        s->Pointer().SetHorizSize(c.h);
        s->Pointer().SetVertSize(c.v);
        if (c.clearPen) s->Pointer().Pen().SetVisible(false);
        if (c.clearBrush) s->Pointer().Brush().SetStyle(TBrushStyle::bsClear);
      }
    };
    for (int shape : {0, 2, 3})
      ExpectSamePictures<TPointSeries, PointByPointMarkers>(6000, 1, kShapes[shape], setup);
  }
}

void Refill(TChartSeries& s, const Shape& shape, TChartListOrder order, double xStep = 1) {
  s.ClearPoints();
  s.XValues().SetOrder(order);
  std::mt19937 rng(7);
  std::vector<double> y;
  for (int i = 0; i < 60000; ++i) y.push_back(shape.y(i, rng));
  for (int i = 59999; i >= 0; --i) s.AddPoint(i * xStep, y[size_t(i)], "", clDefault);
}

// Tens of points to a pixel column: each column's run is found by halving,
// and the line's rows by the run's extremes, the markers' by their values,
// whatever the order of the axes and of the stored values.
TEST(SeriesDrawing, CrowdedColumnsMatchOnePointAtATime) {
  const std::function<void(TChartSeries&, const Shape&)> variants[] = {
      [](TChartSeries&, const Shape&) {},
      [](TChartSeries& s, const Shape&) {
        s.GetHorizAxis()->SetInverted(true);
        s.GetVertAxis()->SetInverted(true);
      },
      [](TChartSeries& s, const Shape&) {
        s.XValues().SetMultiplier(2);
        s.YValues().SetMultiplier(0.5);
      },
      // Added from the right, stored rising and stored falling.
      [](TChartSeries& s, const Shape& shape) { Refill(s, shape, TChartListOrder::loAscending); },
      [](TChartSeries& s, const Shape& shape) { Refill(s, shape, TChartListOrder::loDescending); },
      // Ends inside the plot, where the line's last pixel shows.
      [](TChartSeries& s, const Shape& shape) {
        Refill(s, shape, TChartListOrder::loAscending, 0.5);
      },
  };
  for (const Shape& shape : kShapes)
    for (const auto& vary : variants) {
      ExpectSamePictures<TFastLineSeries, PointByPointLine>(
          60000, 1, shape,
          [&](TFastLineSeries& f, PointByPointLine& p) { vary(f, shape), vary(p, shape); });
      ExpectSamePictures<
          TPointSeries,
          PointByPointMarkers>(60000, 1, shape, [&](TPointSeries& f, PointByPointMarkers& p) {
        for (TPointSeries* s : {static_cast<TPointSeries*>(&f), static_cast<TPointSeries*>(&p)}) {
          s->SetColorEachPoint(true);
          s->Pointer().SetHorizSize(1);
          s->Pointer().SetVertSize(7);
          vary(*s, shape);
        }
      });
    }
}

// Frames that start from the kept background equal frames drawn whole,
// while the data, the axes and the properties change between them.
TEST(SeriesDrawing, FramesFromTheKeptBackgroundEqualFramesDrawnWhole) {
  const Shape holed{"holed", [](int i, std::mt19937&) {
                      return i % 7 == 3 ? std::numeric_limits<double>::quiet_NaN() : i % 13;
                    }};
  std::vector<Shape> shapes(std::begin(kShapes), std::end(kShapes));
  shapes.push_back(holed);
  const std::function<void(TChart&)> changes[] = {
      [](TChart&) {},                                                 // nothing
      [](TChart& c) { c.SeriesAt(0)->AddPoint(50, 40, "", clDefault); },  // inside the axes
      [](TChart& c) { c.SeriesAt(1)->AddPoint(500, 1e3, "", clDefault); },  // widens them
      [](TChart& c) { c.Title().Text().SetText("Other"); },
      [](TChart& c) { c.BottomAxis().SetRange(10, 60); },
      [](TChart& c) { c.BackWall().Brush().SetColor(clYellow); },
  };
  for (const Shape& shape : shapes) {
    Scene kept, whole;
    whole.chart.SetKeepBackground(false);
    for (Scene* s : {&kept, &whole}) {
      s->chart.Title().Text().SetText("Title");
      auto* line = new TFastLineSeries(&s->chart);
      auto* points = new TPointSeries(&s->chart);
      for (TChartSeries* series : {static_cast<TChartSeries*>(line), static_cast<TChartSeries*>(points)}) {
        series->SetParentChart(&s->chart);
        std::mt19937 rng(3);
        for (int i = 0; i < 100; ++i) series->AddPoint(i, shape.y(i, rng), "", clDefault);
      }
    }
    long long reused = 0;
    for (size_t step = 0; step < std::size(changes) * 4; ++step) {
      if (step % 4 == 0) reused = kept.chart.Background().Reused();
      for (Scene* s : {&kept, &whole}) {
        if (step % 4 == 0) changes[step / 4](s->chart);
        s->Draw();
      }
      ASSERT_TRUE(SamePixels(kept.surface, whole.surface)) << shape.name << " step " << step;
      // Two frames alike are kept, and the third starts from them (past the
      // first frames, whose buffers start with a fresh pen and font).
      if (step % 4 == 2 && step > 2) {
        EXPECT_GT(kept.chart.Background().Reused(), reused) << shape.name << " step " << step;
      }
    }
    // The fourth takes back only what the series changed on its buffer.
    EXPECT_GT(kept.chart.Background().ReusedInParts(), 0) << shape.name;
  }
}

TEST(SeriesDrawing, LineEdgeCases) {
  // Points (x, y) on axes 0..10; expected: whether any line pixel shows.
  struct Case {
    const char* name;
    std::vector<std::pair<double, double>> points;
    bool visiblePen;
    bool inked;
  } cases[] = {{"empty", {}, true, false},
               {"one point", {{5, 5}}, true, false},
               {"two points", {{2, 2}, {8, 8}}, true, true},
               {"invisible pen", {{2, 2}, {8, 8}}, false, false},
               {"all beyond the right edge", {{11, 1}, {12, 9}}, true, false}};
  for (const Case& c : cases) {
    Scene s;
    auto line = s.Add<TFastLineSeries>();
    line->SetSeriesColor(clRed);
    line->LinePen().SetVisible(c.visiblePen);
    for (auto [x, y] : c.points) line->AddPoint(x, y, "", clDefault);
    s.FixAxes(0, 10, 0, 10);
    s.Draw();
    EXPECT_EQ(s.Count(clRed) > 0, c.inked) << c.name;
  }
}

TEST(SeriesDrawing, LineRunsToThePlotEdgeAndRestartsAfterClear) {
  Scene s;
  auto line = s.Add<TFastLineSeries>();
  line->SetSeriesColor(clRed);
  for (double x : {-5.0, 5.0, 15.0}) line->AddPoint(x, 5, "", clDefault);
  s.FixAxes(0, 10, 0, 10);
  s.Draw();
  const TRect plot = s.chart.PlotRect();
  const int y = line->PixelY(1);
  // Both segments reach the plot edges, and nothing is drawn past them.
  EXPECT_EQ(s.At(plot.Left + 1, y), clRed);
  EXPECT_EQ(s.At(plot.Right - 2, y), clRed);
  EXPECT_NE(s.At(plot.Right + 2, y), clRed);

  line->ClearPoints();
  line->AddPoint(6, 2, "", clDefault);
  line->AddPoint(8, 2, "", clDefault);
  s.Draw();
  EXPECT_NE(s.At(line->PixelX(0) - 5, y), clRed);  // the old line is gone
  const int y2 = line->PixelY(0);
  EXPECT_EQ(s.Count(clRed, {plot.Left, y2, plot.Right, y2 + 1}), line->PixelX(1) - line->PixelX(0));
  EXPECT_EQ(s.Count(clRed), line->PixelX(1) - line->PixelX(0));  // a move, no segment from the left
}

TEST(SeriesDrawing, FormPropertiesAndColourCoupling) {
  RegisterStandardClasses();
  TClassRegistry& r = Classes();
  RegisterSeriesClasses(r);
  auto set = [&r](TPersistent& target, const std::string& cls, const std::string& path,
                  TPropertyValue v) {
    TPersistent* obj = &target;
    const TClassInfo* info = r.Find(cls);
    std::string rest = path;
    for (size_t dot; (dot = rest.find('.')) != std::string::npos; rest = rest.substr(dot + 1)) {
      const TPropertyInfo* p = info->FindProperty(rest.substr(0, dot));
      ASSERT_NE(p, nullptr) << path;
      obj = p->get(*obj);
      info = r.Find(p->object_class);
    }
    const TPropertyInfo* p = info->FindProperty(rest);
    ASSERT_NE(p, nullptr) << path;
    p->set(*obj, v);
  };
  Scene s;
  auto line = s.Add<TFastLineSeries>();
  set(*line, "TFastLineSeries", "SeriesColor", (long long)clRed);
  set(*line, "TFastLineSeries", "LinePen.Color", (long long)clGreen);
  set(*line, "TFastLineSeries", "XValues.DateTime", false);
  auto points = s.Add<TPointSeries>();
  set(*points, "TPointSeries", "Pointer.HorizSize", 1LL);
  set(*points, "TPointSeries", "Pointer.VertSize", 7LL);
  set(*points, "TPointSeries", "Pointer.Style", (long long)TSeriesPointerStyle::psRectangle);
  set(*points, "TPointSeries", "XValues.DateTime", true);
  EXPECT_EQ(points->Pointer().VertSize(), 7);
  EXPECT_TRUE(points->XValues().DateTime());

  EXPECT_EQ(line->SeriesColor(), clRed);
  line->AddPoint(1, 1, "", clDefault);
  line->AddPoint(9, 9, "", clDefault);
  s.FixAxes(0, 10, 0, 10);
  s.Draw();
  EXPECT_GT(s.Count(clGreen), 100);
  EXPECT_EQ(s.Count(clRed), 0);

  TChartPen blue;
  blue.SetColor(0xFF0000);
  line->SetLinePen(blue);
  EXPECT_EQ(line->SeriesColor(), 0xFF0000u);
  line->SetSeriesColor(clNavy);
  EXPECT_EQ(line->LinePen().Color(), clNavy);
}

TEST(SeriesDrawing, MarkerShapes) {
  using S = TSeriesPointerStyle;
  constexpr TColor kFill = 0x00A0B0C0;
  // Expected bounding box relative to the point, and pixels in the fill
  // colour (-1: not checked).
  struct Case {
    S style;
    int h, v;
    TRect box;
    int fill;
  } cases[] = {{S::psRectangle, 1, 7, {-1, -7, 2, 8}, 13},  {S::psRectangle, 4, 4, {-4, -4, 5, 5}, 49},
               {S::psCircle, 4, 4, {-4, -4, 4, 4}, -1},    {S::psCross, 4, 4, {-4, -4, 5, 5}, 17},
               {S::psDiagCross, 4, 4, {-4, -4, 5, 5}, 17}, {S::psStar, 4, 4, {-4, -4, 5, 5}, 33},
               {S::psSmallDot, 4, 4, {0, 0, 1, 1}, 1},     {S::psTriangle, 4, 4, {-4, -4, 5, 5}, -1},
               {S::psDiamond, 4, 4, {-4, -4, 5, 5}, -1}};
  for (const Case& c : cases) {
    // Ink: what differs from the same chart with the marker hidden.
    Scene s, bare;
    auto points = s.Add<TPointSeries>();
    auto hidden = bare.Add<TPointSeries>();
    for (TPointSeries* p : {points.get(), hidden.get()}) {
      p->Pointer().SetStyle(c.style);
      p->Pointer().SetHorizSize(c.h);
      p->Pointer().SetVertSize(c.v);
      p->AddPoint(5, 5, "", kFill);
    }
    hidden->Pointer().SetVisible(false);
    for (Scene* sc : {&s, &bare}) {
      sc->FixAxes(0, 10, 0, 10);
      sc->Draw();
    }
    const int x = points->PixelX(0), y = points->PixelY(0);
    TRect ink{1 << 20, 1 << 20, -1, -1};
    for (int py = y - 10; py <= y + 10; ++py)
      for (int px = x - 10; px <= x + 10; ++px)
        if (s.At(px, py) != bare.At(px, py)) {
          ink = {std::min(ink.Left, px - x), std::min(ink.Top, py - y),
                 std::max(ink.Right, px - x + 1), std::max(ink.Bottom, py - y + 1)};
        }
    const int name = static_cast<int>(c.style);
    if (c.style == S::psTriangle || c.style == S::psDiamond) {
      EXPECT_GE(ink.Left, -4) << name;  // inside the marker's box
      EXPECT_LE(ink.Bottom, 5) << name;
      EXPECT_GT(s.Count(kFill), 0) << name;
      EXPECT_GT(s.Count(clBlack, {x - 5, y - 5, x + 6, y + 6}), 0) << name;
    } else {
      EXPECT_EQ(ink, c.box) << name;
    }
    if (c.fill >= 0) {
      EXPECT_EQ(s.Count(kFill), c.fill) << name;
    }
  }
}

TEST(SeriesDrawing, PointerSizesMarginsAndColours) {
  Scene s;
  auto points = s.Add<TPointSeries>();
  points->Pointer().SetHorizSize(1);
  points->Pointer().SetVertSize(7);
  try {
    points->Pointer().SetHorizSize(0);
    ADD_FAILURE() << "no error";
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Pointer size must be greater than zero");
  }
  EXPECT_EQ(points->Pointer().HorizSize(), 1);
  struct Margins {
    bool visible, inflate;
    int l, r, t, b;
  } cases[] = {{true, true, 2, 2, 8, 8}, {true, false, 0, 0, 0, 0}, {false, true, 0, 0, 0, 0}};
  for (const Margins& m : cases) {
    points->Pointer().SetVisible(m.visible);
    points->Pointer().SetInflateMargins(m.inflate);
    int l = -1, r = -1, t = -1, b = -1;
    points->CalcHorizMargins(l, r);
    points->CalcVerticalMargins(t, b);
    EXPECT_EQ((std::vector{l, r, t, b}), (std::vector{m.l, m.r, m.t, m.b}));
  }
  points->Pointer().SetVisible(true);

  // Each marker in its own palette colour; a clDefault pen outlines in it.
  points->SetColorEachPoint(true);
  for (int i = 0; i < 20; ++i) points->AddPoint(i, i % 5, "", clDefault);
  s.FixAxes(-1, 20, -1, 5);
  s.Draw();
  auto centre = [&](int i) { return s.At(points->PixelX(i), points->PixelY(i)); };
  EXPECT_EQ(centre(0), points->PointColor(0));
  EXPECT_EQ(centre(16), centre(0));
  EXPECT_NE(centre(1), centre(0));
  EXPECT_EQ(s.At(points->PixelX(3), points->PixelY(3) - 7), clBlack);
  points->Pointer().Pen().SetColor(clDefault);
  s.Draw();
  EXPECT_EQ(s.At(points->PixelX(3), points->PixelY(3) - 7), points->PointColor(3));
}

// Sizes past every surface are held at a bound no marker can outgrow: the
// sums stay ints, and one marker fills the whole plot area.
TEST(SeriesDrawing, HugePointersFillThePlotArea) {
  for (TSeriesPointerStyle style :
       {TSeriesPointerStyle::psRectangle, TSeriesPointerStyle::psCircle}) {
    Scene s;
    auto points = s.Add<TPointSeries>();
    points->Pointer().SetStyle(style);
    points->Pointer().SetHorizSize(INT_MAX);
    points->Pointer().SetVertSize(INT_MAX);
    EXPECT_EQ(points->Pointer().HorizSize(), kMaxPointerSize);
    for (int i = 0; i < 3; ++i) points->AddPoint(i, i, "", clTeal);
    s.Draw();
    const TRect p = s.chart.PlotRect();
    EXPECT_EQ(s.Count(clTeal, {p.Left + 1, p.Top + 1, p.Right, p.Bottom - 1}),
              (p.Width() - 1) * (p.Height() - 2))
        << static_cast<int>(style);
  }
}

TEST(SeriesDrawing, ClickTests) {
  Scene s;
  auto line = s.Add<TFastLineSeries>();
  auto points = s.Add<TPointSeries>();
  for (double x : {2.0, 5.0, 8.0}) {
    line->AddPoint(x, x, "", clDefault);
    points->AddPoint(x, 10 - x, "", clDefault);
  }
  points->Pointer().SetHorizSize(2);
  points->Pointer().SetVertSize(3);
  int clicked = -1;
  points->OnClickPointer = [&clicked](TCustomSeries*, int i, int, int) { clicked = i; };
  s.FixAxes(0, 10, 0, 10);
  s.Draw();
  const int x1 = line->PixelX(1), y1 = line->PixelY(1);
  const int xm = (line->PixelX(1) + line->PixelX(2)) / 2, ym = (line->PixelY(1) + line->PixelY(2)) / 2;
  EXPECT_EQ(line->Clicked(x1, y1), 1);
  EXPECT_EQ(line->Clicked(xm, ym), 1);
  EXPECT_EQ(line->Clicked(xm, ym - 20), -1);
  const int px = points->PixelX(2), py = points->PixelY(2);
  EXPECT_EQ(points->Clicked(px + 1, py - 2), 2);
  EXPECT_EQ(clicked, 2);
  EXPECT_EQ(points->Clicked(px + 2, py), -1);  // |dx| must stay below HorizSize

  // Zoomed in until segment 1-2 spans 3e9 pixels, and a marker 2^31 pixels above the pixel asked.
  s.FixAxes(4, 9, 6.5 - kH * 5e-10, 6.5 + kH * 5e-10);
  s.Draw();
  const double ax = line->PixelX(1), ay = line->PixelY(1), dy = line->PixelY(2) - ay;
  ASSERT_LT(dy, -2.5e9);
  EXPECT_EQ(line->Clicked(int(ax + (kH / 2 - ay) * (line->PixelX(2) - ax) / dy), kH / 2), 1);
  const int m = points->AddPoint(6, s.chart.LeftAxis().ValueAtPixel(kH + INT_MIN), "", clDefault);
  s.Draw();
  ASSERT_EQ(points->PixelY(m), kH + INT_MIN);
  EXPECT_EQ(points->Clicked(points->PixelX(m), kH), -1);
}

TEST(SeriesDrawing, LegendSymbols) {
  Scene s;
  auto line = s.Add<TFastLineSeries>();
  auto points = s.Add<TPointSeries>();
  line->SetSeriesColor(clRed);
  points->Pointer().SetHorizSize(10);
  points->Pointer().SetVertSize(10);
  TTeeCanvas3D& c = s.chart.Canvas();
  c.AttachSurface(&s.canvas);
  s.surface.Fill(kBack);
  line->DrawLegendShape(clRed, {10, 10, 30, 21});
  EXPECT_EQ(s.Count(clRed), 20);
  EXPECT_EQ(s.Count(clRed, {10, 15, 30, 16}), 20);
  // Limited to a third of 30 x 12: a 2*10+1 by 2*4+1 rectangle.
  points->DrawLegendShape(clGreen, {100, 10, 130, 22});
  EXPECT_EQ(s.Count(clGreen) + s.Count(clBlack), 21 * 9);
}

TEST(SeriesDrawing, IncrementalLineDrawsAtOnceAndSurvivesTheNextPaint) {
  InitGuiThread();
  Scene s;
  auto line = s.Add<TFastLineSeries>();
  line->SetSeriesColor(clRed);
  line->AddPoint(1, 1, "", clDefault);
  line->AddPoint(3, 3, "", clDefault);
  s.FixAxes(0, 10, 0, 10);
  s.chart.PaintControl();
  line->SetAutoRepaint(false);
  const long long requests = s.chart.RepaintRequestCount();
  line->AddPoint(6, 3, "", clDefault);
  EXPECT_EQ(s.chart.RepaintRequestCount(), requests);
  const int y = line->PixelY(2);
  const int x = (line->PixelX(1) + line->PixelX(2)) / 2;
  EXPECT_EQ(s.chart.Canvas().Surface()->Pixel(x, y), clRed);
  s.chart.PaintControl();  // a copy of the cached frame
  EXPECT_EQ(s.chart.Canvas().Surface()->Pixel(x, y), clRed);
  ShutdownGuiThread();
}
