// The chart panel: defaults and errors, the repaint/blit rule, the plot
// rectangle, and the program's chart loaded from its form description and
// painted pixel by pixel.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include <QImage>
#include <QTest>
#include <QWidget>

#include "chart/chart.h"
#include "chart/chart_axis.h"
#include "chart/chart_classes.h"
#include "chart/chart_exceptions.h"
#include "chart/chart_palette.h"
#include "chart/fast_line_series.h"
#include "chart/point_series.h"
#include "chart/series_classes.h"
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/class_registry.h"
#include "framework/form.h"
#include "framework/form_reader.h"
#include "framework/panel.h"
#include "framework/surface.h"
#include "framework/system_colors.h"

using namespace nitko;

namespace {

constexpr const char* kChart1Form = R"(object Form1: TForm
  Left = 0
  Top = 0
  Width = 780
  Height = 638
  object Chart1: TChart
    Left = 8
    Top = 8
    Width = 753
    Height = 321
    BackWall.Brush.Color = clWhite
    Title.Text.Strings = (
      'Wykres  badanej  funkcji  f(x,p)  oraz  f(x, p+1)')
    LeftAxis.ExactDateTime = False
    LeftAxis.Increment = 0.1
    Legend.Visible = False
    View3D = False
    View3DOptions.Elevation = 315
    View3DOptions.Orthogonal = False
    View3DOptions.Perspective = 0
    View3DOptions.Rotation = 360
    object Series1: TFastLineSeries
      SeriesColor = clRed
      LinePen.Color = clGreen
      Marks.ArrowLength = 8
      Marks.Visible = False
      XValues.Name = 'X'
      XValues.Order = loAscending
      YValues.Name = 'Y'
      YValues.Order = loNone
    end
    object Series2: TPointSeries
      ColorEachPoint = True
      SeriesColor = clGreen
      Marks.ArrowLength = 0
      Marks.Transparent = True
      Marks.Visible = False
      Pointer.HorizSize = 1
      Pointer.InflateMargins = True
      Pointer.Style = psRectangle
      Pointer.VertSize = 7
      Pointer.Visible = True
      XValues.Name = 'X'
      XValues.DateTime = True
      XValues.Order = loAscending
      YValues.Name = 'Y'
      YValues.Order = loNone
    end
  end
end
)";

double F(double x, double p) {
  return std::exp(-x) - std::cos(x) + p * x / 10;
}

TColor Rgb(TColor c) {
  return ColorToRGB(c);
}

QColor ToQColor(TColor c) {
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// The program's window part that holds the chart, loaded from the form
// description; frames counts the frames drawn (not copied).
struct Chart1Fixture : ::testing::Test {
  Chart1Fixture() {
    RegisterChartClasses();
    RegisterSeriesClasses(Classes());
    form.reset(static_cast<TForm*>(TFormReader().Create(kChart1Form, nullptr)));
    chart = static_cast<TChart*>(form->FindComponent("Chart1"));
    series1 = static_cast<TFastLineSeries*>(form->FindComponent("Series1"));
    series2 = static_cast<TPointSeries*>(form->FindComponent("Series2"));
    chart->OnAfterDraw = [this](TComponent*) { ++frames; };
  }

  void AddCurve1() {
    for (int i = 0; i <= 100; ++i) series1->AddPoint(i * 0.1, F(i * 0.1, 0), "", clDefault);
  }
  void AddCurves() {
    AddCurve1();
    // Worker 2 walks from x = 10 down to 0; the ascending x list sorts them.
    for (int i = 0; i <= 100; ++i) {
      const double x = 10 - i * 0.1;
      series2->AddPoint(x, F(x, 1), "", clDefault);
    }
  }

  TColor Pixel(int x, int y) { return static_cast<TCustomControl&>(*chart).Canvas().Pixel(x, y); }

  // Rows [top, bottom) and columns [left, right) where colour is found.
  TRect InkBox(const TRect& area, TColor colour) {
    TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x)
        if (Pixel(x, y) == colour)
          box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                 std::max(box.Bottom, y + 1)};
    return box;
  }

  int LineHeightOf(const TFont& font) {
    TBitmap probe(10, 10);
    probe.Canvas().Font().Assign(font);
    return probe.Canvas().TextHeight("W");
  }

  std::unique_ptr<TForm> form;
  TChart* chart = nullptr;
  TFastLineSeries* series1 = nullptr;
  TPointSeries* series2 = nullptr;
  int frames = 0;
};

}  // namespace

TEST(ChartPanel, DefaultsErrorsAndUnchangedValues) {
  TChart chart(nullptr);
  EXPECT_EQ(chart.Width(), 400);
  EXPECT_EQ(chart.Height(), 250);
  EXPECT_EQ(chart.Color(), clBtnFace);
  EXPECT_EQ(chart.BevelOuter(), TBevelCut::bvRaised);
  EXPECT_EQ(chart.BevelInner(), TBevelCut::bvNone);
  EXPECT_EQ(chart.BevelWidth(), 1);
  EXPECT_EQ(chart.BorderWidth(), 0);
  EXPECT_EQ((TRect{chart.MarginLeft(), chart.MarginTop(), chart.MarginRight(),
                   chart.MarginBottom()}),
            (TRect{3, 4, 3, 4}));
  EXPECT_TRUE(chart.View3D());
  EXPECT_EQ(chart.Chart3DPercent(), 15);
  EXPECT_TRUE(chart.ClipPoints() && chart.AxisVisible() && chart.View3DWalls());
  EXPECT_TRUE(chart.RepaintEnabled());
  EXPECT_EQ(chart.Title().Font().Name(), "Arial");
  EXPECT_EQ(chart.Title().Font().Size(), 8);
  EXPECT_EQ(chart.Title().Font().Color(), clBlue);
  EXPECT_EQ(chart.Title().Alignment(), TAlignment::taCenter);
  EXPECT_FALSE(chart.Title().Frame().Visible());
  EXPECT_EQ(chart.BackWall().Brush().Style(), TBrushStyle::bsClear);
  EXPECT_EQ(chart.BackWall().Color(), clDefault);
  EXPECT_EQ(chart.LeftWall().Color(), TColor{0x80FFFF});
  EXPECT_EQ(chart.BottomWall().Color(), TColor{0xFFFFFF});
  EXPECT_FALSE(chart.Gradient().Visible());
  EXPECT_EQ(chart.Gradient().EndColor(), TColor{0x00FFFF});
  EXPECT_TRUE(chart.Legend().Visible());
  EXPECT_EQ(chart.Legend().Alignment(), TLegendAlignment::laRight);
  EXPECT_EQ(chart.Axes().size(), 5u);

  struct Bad {
    const char* name;
    void (*set)(TChart&);
    const char* message;
  };
  const Bad bad[] = {
      {"3D percent 0", [](TChart& c) { c.SetChart3DPercent(0); },
       "3D effect percent must be between 1 and 100"},
      {"3D percent 101", [](TChart& c) { c.SetChart3DPercent(101); },
       "3D effect percent must be between 1 and 100"},
      {"negative page size", [](TChart& c) { c.SetMaxPointsPerPage(-1); },
       "MaxPointsPerPage must be >= 0"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.name);
    try {
      b.set(chart);
      ADD_FAILURE() << "no error";
    } catch (const ChartException& e) {
      EXPECT_EQ(e.Message(), b.message);
    }
  }
  EXPECT_EQ(chart.Chart3DPercent(), 15);
  EXPECT_EQ(chart.MaxPointsPerPage(), 0);
  chart.SetPage(7);
  EXPECT_EQ(chart.Page(), 1) << "no paging: one page";

  // Setting what is already there requests nothing; a real change does.
  struct Same {
    const char* name;
    void (*set)(TChart&, bool change);
  };
  const Same same[] = {
      {"Color", [](TChart& c, bool ch) { c.SetColor(ch ? clRed : clBtnFace); }},
      {"View3D", [](TChart& c, bool ch) { c.SetView3D(!ch); }},
      {"MarginTop", [](TChart& c, bool ch) { c.SetMarginTop(ch ? 9 : 4); }},
      {"Chart3DPercent", [](TChart& c, bool ch) { c.SetChart3DPercent(ch ? 30 : 15); }},
      {"ClipPoints", [](TChart& c, bool ch) { c.SetClipPoints(!ch); }},
      {"BevelOuter",
       [](TChart& c, bool ch) { c.SetBevelOuter(ch ? TBevelCut::bvLowered : TBevelCut::bvRaised); }},
      {"Title.Visible", [](TChart& c, bool ch) { c.Title().SetVisible(!ch); }},
      {"BackWall.Color", [](TChart& c, bool ch) { c.BackWall().SetColor(ch ? clRed : clDefault); }},
      {"Legend.TopPos", [](TChart& c, bool ch) { c.Legend().SetTopPos(ch ? 20 : 10); }},
      {"Gradient.Visible", [](TChart& c, bool ch) { c.Gradient().SetVisible(ch); }},
      {"View3DOptions.Zoom", [](TChart& c, bool ch) { c.View3DOptions().SetZoom(ch ? 50 : 100); }},
  };
  for (const Same& s : same) {
    SCOPED_TRACE(s.name);
    TChart fresh(nullptr);
    const long long before = fresh.RepaintRequestCount();
    s.set(fresh, false);
    EXPECT_EQ(fresh.RepaintRequestCount(), before);
    s.set(fresh, true);
    EXPECT_EQ(fresh.RepaintRequestCount(), before + 1);
    EXPECT_TRUE(fresh.Canvas().Dirty()) << "the request reaches the canvas";
  }
}

// A paint copies the cached frame unless something asked for a repaint
// since that frame began, or the size changed.
TEST(ChartPanel, PaintCopiesUnlessARequestOrResizeCameBetween) {
  struct Case {
    const char* name;
    void (*between)(TChart&);
    int frames_after_three_paints;
  };
  const Case cases[] = {
      {"nothing", [](TChart&) {}, 1},
      {"request", [](TChart& c) { c.RequestRepaint(); }, 2},
      {"same colour", [](TChart& c) { c.SetColor(c.Color()); }, 1},
      {"title text", [](TChart& c) { c.Title().Text().Add("x"); }, 2},
      {"axis setting", [](TChart& c) { c.LeftAxis().SetIncrement(0.5); }, 2},
      {"resize", [](TChart& c) { c.SetBounds(0, 0, 300, 200); }, 2},
      {"added point",
       [](TChart& c) { c.SeriesAt(0)->AddPoint(1, 1, "", clDefault); }, 2},
      {"sizes no surface has",
       [](TChart& c) {
         c.SetMarginLeft(INT_MAX);
         c.Legend().SetColorWidth(INT_MAX);
         c.Legend().SetShadowSize(INT_MAX);
         c.LeftAxis().SetTickLength(INT_MAX);
         c.BackWall().SetSize(INT_MAX);
         c.View3DOptions().SetHorizOffset(INT_MAX);
         c.SeriesAt(0)->SetZOrder(INT_MAX - 1);
       },
       2},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TChart chart(nullptr);
    chart.AddSeries(new TChartSeries(&chart));
    int frames = 0;
    chart.OnAfterDraw = [&](TComponent*) { ++frames; };
    chart.Repaint();
    k.between(chart);
    chart.Repaint();
    chart.Repaint();
    EXPECT_EQ(frames, k.frames_after_three_paints);
    const TBitmap* buffer = chart.Canvas().Buffer();
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->Width(), chart.ClientWidth());
    EXPECT_EQ(buffer->Height(), chart.ClientHeight());
  }

  // A request made while a frame is drawn is not swallowed by that frame.
  TChart chart(nullptr);
  int frames = 0;
  chart.OnBeforeDrawSeries = [&](TComponent*) {
    if (frames == 0) chart.RequestRepaint();
  };
  chart.OnAfterDraw = [&](TComponent*) { ++frames; };
  chart.Repaint();
  chart.Repaint();
  chart.Repaint();
  EXPECT_EQ(frames, 2);

  // A copied frame is the drawn one: the surface keeps its pixels.
  chart.SetColor(clRed);
  chart.Repaint();
  TCanvas& surface = static_cast<TCustomControl&>(chart).Canvas();
  ASSERT_EQ(surface.Pixel(100, 100), clRed);
  surface.SetPixel(100, 100, clBlack);
  chart.Repaint();
  EXPECT_EQ(surface.Pixel(100, 100), clRed);
}

// PlotRect before the axes take room: margins of the frame, then the room of
// a title or foot with text. Axes hidden so that nothing else moves it.
TEST_F(Chart1Fixture, PlotRectFollowsMarginsAndTitles) {
  const int lineH = LineHeightOf(chart->Title().Font());
  struct Case {
    const char* name;
    int width, height;
    bool title, foot_text;
    TRect expected;
  };
  const Case cases[] = {
      {"Chart1 without titles", 753, 321, false, false, {23, 13, 730, 308}},
      {"Chart1 with its title", 753, 321, true, false, {23, 13 + lineH + 5, 730, 308}},
      {"title and a foot line", 753, 321, true, true, {23, 13 + lineH + 5, 730, 308 - lineH - 5}},
      {"resized", 400, 250, false, false, {12, 10, 388, 240}},
      // The title pushes Top past Bottom, the foot Bottom past Top: each
      // time Bottom becomes Top + 1.
      {"too small for its titles", 20, 12, true, true, {1, lineH + 5, 19, lineH + 6}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    chart->SetBounds(0, 0, k.width, k.height);
    chart->SetAxisVisible(false);
    chart->Title().SetVisible(k.title);
    chart->Foot().Text().Clear();
    if (k.foot_text) chart->Foot().Text().Add("foot");
    chart->Repaint();
    const TRect& expected = k.expected;
    EXPECT_EQ(chart->PlotRect(), expected);
    EXPECT_EQ(chart->PlotWidth(), expected.Width());
    EXPECT_EQ(chart->PlotXCenter(), (expected.Left + expected.Right) / 2);
  }
}

TEST_F(Chart1Fixture, FormDescriptionSetsTheChart) {
  EXPECT_EQ(chart->Parent(), form.get());
  EXPECT_EQ(chart->BoundsRect(), Bounds(8, 8, 753, 321));
  EXPECT_EQ(chart->BackWall().Brush().Color(), clWhite);
  EXPECT_EQ(chart->BackWall().Brush().Style(), TBrushStyle::bsSolid);
  EXPECT_EQ(chart->BackWall().Color(), clDefault);
  ASSERT_EQ(chart->Title().Text().Count(), 1);
  EXPECT_EQ(chart->Title().Text()[0], "Wykres  badanej  funkcji  f(x,p)  oraz  f(x, p+1)");
  EXPECT_FALSE(chart->LeftAxis().ExactDateTime());
  EXPECT_DOUBLE_EQ(chart->LeftAxis().Increment(), 0.1);
  EXPECT_FALSE(chart->Legend().Visible());
  EXPECT_FALSE(chart->View3D());
  const TView3DOptions& v = chart->View3DOptions();
  EXPECT_EQ((TRect{v.Elevation(), v.Perspective(), v.Rotation(), v.Orthogonal()}),
            (TRect{315, 0, 360, 0}));
  ASSERT_EQ(chart->SeriesCount(), 2);
  EXPECT_EQ(chart->SeriesAt(0), series1);
  EXPECT_EQ(chart->SeriesAt(1), series2);
  EXPECT_EQ(series1->SeriesColor(), clRed);
  EXPECT_EQ(series1->LinePen().Color(), clGreen);
}

// The frame of the program's chart with both curves: bevel, title, wall,
// grid, labels, the green line and the point markers on top of it.
TEST_F(Chart1Fixture, PaintsTheProgramsChart) {
  AddCurves();
  chart->Repaint();
  ASSERT_EQ(frames, 1);
  const TRect plot = chart->PlotRect();
  const int lineH = LineHeightOf(chart->Title().Font());

  // Raised one-pixel bevel, the panel colour inside it.
  EXPECT_EQ(Pixel(0, 0), Rgb(clBtnHighlight));
  EXPECT_EQ(Pixel(0, 319), Rgb(clBtnHighlight));
  EXPECT_EQ(Pixel(751, 0), Rgb(clBtnHighlight));
  EXPECT_EQ(Pixel(752, 0), Rgb(clBtnShadow));
  EXPECT_EQ(Pixel(0, 320), Rgb(clBtnShadow));
  EXPECT_EQ(Pixel(752, 320), Rgb(clBtnShadow));
  EXPECT_EQ(Pixel(1, 1), Rgb(clBtnFace));

  // Title: blue, one line at y = 13, centred between 23 and 730.
  TBitmap probe(10, 10);
  probe.Canvas().Font().Assign(chart->Title().Font());
  const int textW = probe.Canvas().TextWidth(chart->Title().Text()[0]);
  const TRect ink = InkBox({0, 0, 753, plot.Top}, clBlue);
  const int x0 = (23 + 730) / 2 - textW / 2;
  EXPECT_GE(ink.Left, x0);
  EXPECT_LE(ink.Right, x0 + textW);
  EXPECT_GT(ink.Width(), textW * 3 / 4);
  EXPECT_GE(ink.Top, 13);
  EXPECT_LE(ink.Bottom, 13 + lineH);
  EXPECT_GE(plot.Top, 13 + lineH + 5) << "the title's room is below it";

  // Unfilled black back wall: its outline on the plot rectangle's edges,
  // the panel colour inside where nothing else is drawn.
  const int midX = chart->BottomAxis().PixelOf(9.95);
  EXPECT_EQ(Pixel(midX, plot.Top), clBlack);
  EXPECT_EQ(Pixel(plot.Right, (plot.Top + plot.Bottom) / 2), clBlack);
  int face = 0;
  for (int y = plot.Top + 1; y < plot.Bottom; ++y)
    for (int x = plot.Left + 1; x < plot.Right; ++x) face += Pixel(x, y) == Rgb(clBtnFace);
  EXPECT_GT(face, (plot.Width() - 1) * (plot.Height() - 1) * 9 / 10);

  // Grey dotted grid of the bottom axis at x = 5: every other pixel.
  const int gx = chart->BottomAxis().PixelOf(5);
  int grey = 0, rows = 0;
  for (int y = plot.Top + 1; y < plot.Bottom; ++y, ++rows)
    if (Pixel(gx, y) == TColor{0x808080}) ++grey;
  EXPECT_GT(grey, rows * 2 / 5);
  EXPECT_LT(grey, rows * 3 / 5 + 1);

  // Number labels left of the plot area, in black.
  const TRect labels = InkBox({2, plot.Top - lineH, plot.Left - 4, plot.Bottom + lineH}, clBlack);
  EXPECT_FALSE(labels.IsEmpty());

  // The line is green although Series1's colour reads red; red appears only
  // where a marker has palette colour 0.
  EXPECT_EQ(series1->SeriesColor(), clRed);
  const int px = series1->PixelX(30), py = series1->PixelY(30);
  EXPECT_EQ(Pixel(px, py), clGreen);

  // Markers 3 x 15 in palette order, drawn after the line: the first one
  // sits on the line's start at (0, 0).
  for (int i : {0, 1, 17, 50, 100}) {
    SCOPED_TRACE(i);
    const int x = series2->PixelX(i), y = series2->PixelY(i);
    EXPECT_EQ(Pixel(x, y), Rgb(series2->PointColor(i)));
    EXPECT_EQ(series2->PointColor(i), PaletteColor(i));
    EXPECT_EQ(Pixel(x, y - 6), Rgb(series2->PointColor(i)));
    EXPECT_EQ(Pixel(x, y - 7), clBlack) << "marker outline";
    EXPECT_NE(Pixel(x, y - 8), Rgb(series2->PointColor(i)));
  }

  if (const char* path = std::getenv("NITKO_CHART1_PNG")) {
    EXPECT_TRUE(chart->Canvas().Buffer()->Surface().Image().save(path, "PNG"));
  }
}

// Series a user can meet: none with points, a range that shows none of
// them, a cleared series that fills again.
TEST_F(Chart1Fixture, SeriesWithoutVisiblePointsAreSkipped) {
  int before = 0, after = 0;
  series1->BeforeDrawValues = [&](TComponent*) { ++before; };
  series1->AfterDrawValues = [&](TComponent*) { ++after; };
  struct Case {
    const char* name;
    void (*setup)(Chart1Fixture&);
    int notifications;
    bool green;
  };
  const Case cases[] = {
      {"empty", [](Chart1Fixture&) {}, 0, false},
      {"all outside the range",
       [](Chart1Fixture& f) {
         f.AddCurve1();
         f.chart->BottomAxis().SetRange(20, 30);
       },
       0, false},
      {"cleared",
       [](Chart1Fixture& f) {
         f.AddCurve1();
         f.series1->ClearPoints();
       },
       0, false},
      {"cleared, then new points",
       [](Chart1Fixture& f) {
         f.AddCurve1();
         f.series1->ClearPoints();
         for (int i = 0; i <= 20; ++i) f.series1->AddPoint(i * 0.5, F(i * 0.5, 0), "", clDefault);
       },
       1, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    series1->ClearPoints();
    series2->ClearPoints();
    chart->BottomAxis().SetAutomatic(true);
    before = after = 0;
    k.setup(*this);
    chart->Repaint();
    EXPECT_EQ(before, k.notifications);
    EXPECT_EQ(after, k.notifications);
    const TRect plot = chart->PlotRect();
    // Title and wall are there in every case.
    EXPECT_FALSE(InkBox({0, 0, 753, plot.Top}, clBlue).IsEmpty());
    EXPECT_EQ(Pixel((plot.Left + plot.Right) / 2 + 3, plot.Top), clBlack);
    EXPECT_EQ(InkBox(plot, clGreen).IsEmpty(), !k.green);
  }
}

// A notification may free a series while the frame walks them, the next
// one or its own: the frame goes on with those that are left.
TEST_F(Chart1Fixture, SeriesFreedByNotificationsLeaveTheFrame) {
  AddCurves();
  series1->AfterDrawValues = [&](TComponent*) { delete series2; };
  chart->Repaint();
  EXPECT_EQ(chart->SeriesCount(), 1);
  EXPECT_FALSE(InkBox(chart->PlotRect(), clGreen).IsEmpty());
  series1->BeforeDrawValues = [&](TComponent*) { delete series1; };
  chart->Repaint();
  EXPECT_EQ(chart->SeriesCount(), 0);
  EXPECT_EQ(frames, 2);
}

// On a shown form the window shows the chart's surface, and a request from
// the series reaches the screen through the event loop alone.
TEST_F(Chart1Fixture, TheWindowShowsTheChartAndFollowsRequests) {
  form->Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Widget()));
  for (int i = 0; i < 100 && frames == 0; ++i) QTest::qWait(5);
  ASSERT_EQ(frames, 1);
  for (int i = 0; i <= 100; ++i) series1->AddPoint(i * 0.1, F(i * 0.1, 0), "", clDefault);
  for (int i = 0; i < 100 && frames == 1; ++i) QTest::qWait(5);
  EXPECT_EQ(frames, 2) << "the additions merge into one new frame";
  const QImage shown = chart->Widget()->grab().toImage();
  const int x = series1->PixelX(30), y = series1->PixelY(30);
  EXPECT_EQ(shown.pixelColor(x, y), ToQColor(clGreen));
  EXPECT_EQ(shown.pixelColor(0, 0), ToQColor(Pixel(0, 0)));
  EXPECT_EQ(Pixel(0, 0), Rgb(clBtnHighlight));
  // Resizing redraws at the new size.
  chart->SetBounds(8, 8, 500, 300);
  for (int i = 0; i < 100 && frames == 2; ++i) QTest::qWait(5);
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(chart->Canvas().Buffer()->Width(), 500);
}
