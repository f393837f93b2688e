// Mouse zoom and scroll on a real chart: real Qt mouse, wheel and leave
// events sent to the chart's widget, ranges read from the axes and pixels
// read from the chart's surface.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "chart/chart.h"
#include "chart/chart_axis.h"
#include "chart/chart_classes.h"
#include "chart/fast_line_series.h"
#include "chart/point_series.h"
#include "chart/series_classes.h"
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/class_registry.h"
#include "framework/form.h"
#include "framework/form_reader.h"

using namespace nitko;

namespace {

// The program's chart with the settings that matter here.
constexpr const char* kForm = R"(object Form1: TForm
  Width = 780
  Height = 638
  object Chart1: TChart
    Left = 8
    Top = 8
    Width = 753
    Height = 321
    Cursor = crCross
    BackWall.Brush.Color = clWhite
    Title.Text.Strings = (
      'Wykres  badanej  funkcji  f(x,p)  oraz  f(x, p+1)')
    LeftAxis.ExactDateTime = False
    LeftAxis.Increment = 0.1
    Legend.Visible = False
    View3D = False
    object Series1: TFastLineSeries
      LinePen.Color = clGreen
    end
    object Series2: TPointSeries
      SeriesColor = clFuchsia
      Pointer.Style = psRectangle
    end
  end
end
)";

using Pixels = std::vector<TColor>;

Pixels Snapshot(const TCanvas& c, int w, int h) {
  Pixels p;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.push_back(c.Pixel(x, y));
  return p;
}

int Differing(const Pixels& a, const Pixels& b) {
  int n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

struct Chart1 {
  explicit Chart1(const std::string& extra = "") {
    RegisterChartClasses();
    RegisterSeriesClasses(Classes());
    std::string text = kForm;
    text.insert(text.find("    object Series1"), extra);
    form.reset(static_cast<TForm*>(TFormReader().Create(text, nullptr)));
    chart = static_cast<TChart*>(form->FindComponent("Chart1"));
    line = static_cast<TFastLineSeries*>(form->FindComponent("Series1"));
    points = static_cast<TPointSeries*>(form->FindComponent("Series2"));
    for (int i = 0; i <= 100; ++i)
      line->AddPoint(i * 0.1, std::exp(-i * 0.1) - std::cos(i * 0.1), "", clDefault);
    form->Show();
    chart->Repaint();
  }

  void Send(QEvent&& e) { QApplication::sendEvent(chart->Widget(), &e); }
  void Mouse(QEvent::Type type, Qt::MouseButton b, int x, int y) {
    const QPointF at(x, y);
    const bool up = type == QEvent::MouseButtonRelease;
    Send(QMouseEvent(type, at, chart->Widget()->mapToGlobal(at),
                     type == QEvent::MouseMove ? Qt::NoButton : b,
                     up ? Qt::NoButton : Qt::MouseButtons(b), Qt::NoModifier));
  }
  void Press(Qt::MouseButton b, int x, int y) { Mouse(QEvent::MouseButtonPress, b, x, y); }
  void Move(Qt::MouseButton held, int x, int y) { Mouse(QEvent::MouseMove, held, x, y); }
  void Release(Qt::MouseButton b, int x, int y) { Mouse(QEvent::MouseButtonRelease, b, x, y); }
  void Drag(Qt::MouseButton b, TPoint from, TPoint to) {
    Press(b, from.X, from.Y);
    Move(b, (from.X + to.X) / 2, (from.Y + to.Y) / 2);
    Move(b, to.X, to.Y);
    Release(b, to.X, to.Y);
  }
  void Wheel(int delta) {
    const QPointF at(300, 150);
    Send(QWheelEvent(at, chart->Widget()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false));
  }
  void Leave() { Send(QEvent(QEvent::Leave)); }

  Pixels Shown() {
    return Snapshot(static_cast<TCustomControl&>(*chart).Canvas(), chart->ClientWidth(),
                    chart->ClientHeight());
  }
  Pixels Cached() {
    return Snapshot(chart->Canvas().Buffer()->Canvas(), chart->ClientWidth(),
                    chart->ClientHeight());
  }
  bool Shows(TColor colour) {
    const Pixels p = Shown();
    return std::find(p.begin(), p.end(), colour) != p.end();
  }
  TPoint TitleCentre() const {
    const TRect t = chart->Title().TitleRect();
    return {(t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2};
  }

  std::unique_ptr<TForm> form;
  TChart* chart = nullptr;
  TFastLineSeries* line = nullptr;
  TPointSeries* points = nullptr;
};

// Calls seen() each time the widget paints, i.e. copies its surface to the screen.
struct PaintWatch : QObject {
  PaintWatch(QWidget* w, std::function<void()> f) : seen(f) { w->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) seen();
    return false;
  }
  std::function<void()> seen;
};

// Minimum, Maximum and whether any end is automatic.
struct Range {
  double min, max;
  bool automatic;
};
Range RangeOf(const TCustomChartAxis& a) {
  return {a.Minimum(), a.Maximum(), a.Automatic() || a.AutomaticMinimum() || a.AutomaticMaximum()};
}

}  // namespace

// Left drags: the 16-pixel threshold, the direction deciding zoom or undo,
// and a press on the title that starts nothing.
TEST(ChartZoom, LeftDragZoomsUndoesOrDoesNothing) {
  const TPoint kTitle{-1, -1};
  struct Case {
    const char* name;
    bool zoomFirst;
    TPoint from, to;
    bool zooms;
    int zoomEvents, undoEvents;
  } const cases[] = {
      {"to the lower right", false, {100, 100}, {300, 200}, true, 1, 0},
      {"17 by 17 pixels", false, {100, 100}, {117, 117}, true, 1, 0},
      {"16 pixels across", false, {110, 100}, {120, 300}, false, 0, 0},
      {"16 by 16 pixels", false, {100, 100}, {116, 116}, false, 0, 0},
      {"to the upper left undoes", true, {300, 200}, {100, 100}, false, 1, 1},
      {"to the upper right undoes", true, {100, 200}, {300, 100}, false, 1, 1},
      {"from the title", false, kTitle, {600, 300}, false, 0, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Chart1 c;
    int zooms = 0, undos = 0;
    c.chart->OnZoom = [&](TComponent*) { ++zooms; };
    // An undo counts when its event still sees the zoom it undoes.
    c.chart->OnUndoZoom = [&](TComponent*) { undos += c.chart->IsZoomed(); };
    const TCustomChartAxis& b = c.chart->BottomAxis();
    const TCustomChartAxis& l = c.chart->LeftAxis();
    const Range b0 = RangeOf(b), l0 = RangeOf(l);
    if (k.zoomFirst) {
      c.Drag(Qt::LeftButton, {150, 120}, {400, 250});
      c.chart->Repaint();
    }
    const TPoint from = k.from == kTitle ? c.TitleCentre() : k.from;
    const double x0 = b.ValueAtPixel(from.X), x1 = b.ValueAtPixel(k.to.X);
    const double yTop = l.ValueAtPixel(from.Y), yBottom = l.ValueAtPixel(k.to.Y);

    c.Press(Qt::LeftButton, from.X, from.Y);
    EXPECT_EQ(c.chart->ZoomDrag().Active, k.from != kTitle);
    EXPECT_FALSE(c.chart->ScrollDrag().Active);
    c.Move(Qt::LeftButton, k.to.X, k.to.Y);
    c.Release(Qt::LeftButton, k.to.X, k.to.Y);
    c.chart->Repaint();
    EXPECT_FALSE(c.chart->ZoomDrag().Active);
    EXPECT_EQ(zooms, k.zoomEvents);
    EXPECT_EQ(undos, k.undoEvents);
    EXPECT_EQ(c.chart->IsZoomed(), k.zooms);
    const Range bottom = RangeOf(b), left = RangeOf(l);
    EXPECT_EQ(bottom.automatic && left.automatic, !k.zooms);
    if (k.zooms) {
      EXPECT_DOUBLE_EQ(bottom.min, x0);
      EXPECT_DOUBLE_EQ(bottom.max, x1);
      EXPECT_DOUBLE_EQ(left.min, yBottom);
      EXPECT_DOUBLE_EQ(left.max, yTop);
    } else {
      EXPECT_TRUE(c.chart->ScalesRestored());
      EXPECT_EQ(bottom.min, b0.min);
      EXPECT_EQ(bottom.max, b0.max);
      EXPECT_EQ(left.min, l0.min);
      EXPECT_EQ(left.max, l0.max);
    }
  }
}

// Two zooms and one undo; meanwhile points outside the zoomed ranges are
// not drawn, and after the undo the axes follow the data again.
TEST(ChartZoom, UndoReturnsToFollowingTheData) {
  Chart1 c;
  c.points->AddPoint(5, 0, "", clDefault);
  c.chart->Repaint();
  ASSERT_TRUE(c.Shows(clFuchsia));
  const double min0 = c.chart->BottomAxis().Minimum();
  const TRect p = c.chart->PlotRect();
  c.Drag(Qt::LeftButton, {p.Left + 20, p.Top + 20}, {p.Left + p.Width() / 3, p.Bottom - 20});
  c.chart->Repaint();
  const double max1 = c.chart->BottomAxis().Maximum();
  ASSERT_LT(max1, 5);
  c.Drag(Qt::LeftButton, {100, 100}, {400, 200});
  c.points->AddPoint(4.9, 0.2, "", clDefault);
  c.points->AddPoint(20, 3, "", clDefault);
  c.chart->Repaint();
  EXPECT_LT(c.chart->BottomAxis().Maximum(), max1);
  EXPECT_FALSE(c.Shows(clFuchsia));

  c.Drag(Qt::LeftButton, {400, 200}, {100, 100});
  c.chart->Repaint();
  EXPECT_FALSE(c.chart->IsZoomed());
  EXPECT_TRUE(RangeOf(c.chart->BottomAxis()).automatic && RangeOf(c.chart->LeftAxis()).automatic);
  EXPECT_EQ(c.chart->BottomAxis().Minimum(), min0);
  EXPECT_EQ(c.chart->BottomAxis().Maximum(), 20);
  EXPECT_EQ(c.chart->LeftAxis().Maximum(), 3);
  EXPECT_TRUE(c.Shows(clFuchsia));
}

// The right button scrolls and the content follows the mouse both ways; a
// drag that leaves the plot rectangle stops for good; OnAllowScroll,
// AllowPanning and leaving the chart.
TEST(ChartZoom, RightDragScrollsUntilItLeavesThePlot) {
  Chart1 c;
  int scrolls = 0;
  c.chart->OnScroll = [&](TComponent*) { ++scrolls; };
  const TCustomChartAxis& b = c.chart->BottomAxis();
  const TCustomChartAxis& l = c.chart->LeftAxis();
  const Range b0 = RangeOf(b), l0 = RangeOf(l);
  const double px = b.ValueAtPixel(350) - b.ValueAtPixel(300);  // 50 pixels
  ASSERT_GT(px, 0);
  struct Step {
    int x;
    double shift;  // of the bottom range from the start, in units of px
    int scrolls;
  } const steps[] = {{325, -0.5, 1}, {350, -1, 2},  {350, -1, 2}, {325, -0.5, 3},
                     {300, 0, 4},    {275, 0.5, 5}, {250, 1, 6}};
  c.Press(Qt::RightButton, 300, 150);
  EXPECT_TRUE(c.chart->ScrollDrag().Active && !c.chart->ZoomDrag().Active);
  for (const Step& s : steps) {
    SCOPED_TRACE(s.x);
    c.Move(Qt::RightButton, s.x, 150);
    EXPECT_NEAR(b.Minimum(), b0.min + s.shift * px, 1e-9);
    EXPECT_NEAR(b.Maximum(), b0.max + s.shift * px, 1e-9);
    EXPECT_FALSE(RangeOf(b).automatic);
    EXPECT_EQ(scrolls, s.scrolls);
  }
  EXPECT_EQ(l.Minimum(), l0.min);

  const double min1 = b.Minimum();
  c.Move(Qt::RightButton, c.chart->PlotRect().Right + 5, 150);
  EXPECT_FALSE(c.chart->ScrollDrag().Active);
  c.Move(Qt::RightButton, 200, 100);
  c.Release(Qt::RightButton, 200, 100);
  EXPECT_EQ(b.Minimum(), min1);
  EXPECT_EQ(l.Minimum(), l0.min);
  EXPECT_EQ(scrolls, 6);

  // Refused everywhere, a scroll is still noted.
  c.chart->OnAllowScroll = [](TCustomChartAxis*, double&, bool& allow, double&) { allow = false; };
  c.Drag(Qt::RightButton, {300, 150}, {320, 170});
  EXPECT_EQ(scrolls, 8);
  EXPECT_EQ(b.Minimum(), min1);
  c.chart->OnAllowScroll = nullptr;
  c.chart->SetAllowPanning(TPanningMode::pmHorizontal);
  c.Press(Qt::RightButton, 300, 150);
  c.Move(Qt::RightButton, 300, 170);
  EXPECT_EQ(scrolls, 8);
  EXPECT_EQ(l.Minimum(), l0.min);
  c.Leave();
  EXPECT_FALSE(c.chart->ScrollDrag().Active);
  c.Release(Qt::RightButton, 300, 170);

  c.Drag(Qt::LeftButton, {400, 200}, {100, 100});
  c.chart->Repaint();
  EXPECT_TRUE(RangeOf(b).automatic);
  EXPECT_EQ(b.Minimum(), b0.min);
}

// The wheel moves the vertical axes by 3 % of their span per notch; an undo
// brings them back to the data.
TEST(ChartZoom, WheelNotchesScrollTheVerticalAxes) {
  struct Case {
    const char* name;
    std::vector<int> deltas;
    double min, max;
  } const cases[] = {
      {"one notch down", {-120}, -0.94, 1.06},
      {"one notch up", {120}, -1.06, 0.94},
      {"two half notches down", {-60, -60}, -0.94, 1.06},
      {"half a notch", {-60}, -1, 1},
      {"273 notches in one fast turn", {-32767}, 15.38, 17.38},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Chart1 c;
    c.line->ClearPoints();
    c.line->AddPoint(0, -1, "", clDefault);
    c.line->AddPoint(10, 1, "", clDefault);
    c.chart->Repaint();
    const TCustomChartAxis& l = c.chart->LeftAxis();
    ASSERT_EQ(l.Minimum(), -1);
    ASSERT_EQ(l.Maximum(), 1);
    for (int d : k.deltas) c.Wheel(d);
    EXPECT_NEAR(l.Minimum(), k.min, 1e-12);
    EXPECT_NEAR(l.Maximum(), k.max, 1e-12);
    EXPECT_EQ(RangeOf(l).automatic, k.min == -1);
    EXPECT_TRUE(RangeOf(c.chart->BottomAxis()).automatic);
    c.Drag(Qt::LeftButton, {400, 200}, {100, 100});
    c.chart->Repaint();
    EXPECT_TRUE(RangeOf(l).automatic);
    EXPECT_EQ(l.Minimum(), -1);
  }
}

// The rectangle is on the surface only: after the release the surface shows
// the chart's last frame, also when frames were drawn or copied mid-drag.
TEST(ChartZoom, ZoomRectangleLeavesNoTrace) {
  Chart1 c;
  const Pixels before = c.Shown();
  const int w = c.chart->ClientWidth();
  const auto at = [w](const Pixels& p, int x, int y) { return p[static_cast<size_t>(y) * w + x]; };
  c.Press(Qt::LeftButton, 100, 100);
  c.Move(Qt::LeftButton, 160, 140);
  const Pixels dragging = c.Shown();
  EXPECT_NE(at(dragging, 100, 100), at(before, 100, 100));
  EXPECT_NE(at(dragging, 159, 139), at(before, 159, 139));
  EXPECT_EQ(at(dragging, 130, 120), at(before, 130, 120));
  const int outline = Differing(before, dragging);
  EXPECT_EQ(outline, 2 * 60 + 2 * 40 - 4);
  c.Move(Qt::LeftButton, 110, 112);
  c.Release(Qt::LeftButton, 110, 112);
  EXPECT_EQ(Differing(before, c.Shown()), 0);

  // A worker's point mid-drag brings a new frame, with the rectangle on it.
  c.Press(Qt::LeftButton, 100, 100);
  c.Move(Qt::LeftButton, 160, 140);
  c.points->AddPoint(3, 0.5, "", clDefault);
  c.chart->Update();
  const Pixels frame = c.Cached();
  EXPECT_NE(Differing(before, frame), 0);
  EXPECT_EQ(Differing(c.Shown(), frame), outline);
  c.Move(Qt::LeftButton, 200, 180);
  c.chart->Invalidate();  // a copy of the cached frame mid-drag
  c.chart->Update();
  EXPECT_EQ(c.Cached(), frame);
  EXPECT_EQ(Differing(c.Shown(), frame), 2 * 100 + 2 * 80 - 4);
  c.Move(Qt::LeftButton, 110, 110);
  c.Release(Qt::LeftButton, 110, 110);
  EXPECT_EQ(c.Shown(), frame);
  c.chart->Invalidate();
  c.chart->Update();
  EXPECT_EQ(c.Shown(), frame);

  // A release that went elsewhere: the next move without the button ends
  // the drag and takes the rectangle away.
  c.Press(Qt::LeftButton, 100, 100);
  c.Move(Qt::LeftButton, 300, 200);
  c.Move(Qt::NoButton, 310, 210);
  EXPECT_FALSE(c.chart->ZoomDrag().Active);
  EXPECT_EQ(c.Shown(), frame);
  c.Release(Qt::LeftButton, 310, 210);
  EXPECT_FALSE(c.chart->IsZoomed());
}

// What a press hits, in order, and which click events run before a drag;
// the hover cursor of a series.
TEST(ChartZoom, PressesReachTheirPartInOrder) {
  enum Target { title, plot, lineSeries, bottomAxis, outside };
  struct Case {
    const char* name;
    Target target;
    bool handlersCancel;  // handlers leave CancelMouse set
    bool allowZoom;
    const char* log;
    bool drags;
  } const cases[] = {
      {"title", title, false, true, "background ", false},
      {"outside every part", outside, false, true, "background ", false},
      {"plot area", plot, false, true, "background ", true},
      {"plot area, cancelled", plot, true, true, "background ", false},
      {"plot area, no zoom", plot, false, false, "background background ", false},
      {"series", lineSeries, false, true, "series.click chart.series ", true},
      {"series, cancelled", lineSeries, true, true, "series.click ", false},
      {"axis", bottomAxis, false, true, "axis ", true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Chart1 c;
    std::string log;
    const auto note = [&](const char* what) {
      log += std::string(what) + " ";
      if (!k.handlersCancel) c.chart->SetCancelMouse(false);
    };
    c.chart->SetAllowZoom(k.allowZoom);
    c.chart->OnClickBackground = [&](TCustomChart*, TMouseButton, TShiftState, int, int) {
      note("background");
    };
    c.chart->OnClickAxis = [&](TCustomChart*, TCustomChartAxis* a, TMouseButton, TShiftState, int,
                               int) {
      EXPECT_EQ(a, &c.chart->BottomAxis());
      note("axis");
    };
    c.chart->OnClickSeries = [&](TCustomChart*, TChartSeries* s, int index, TMouseButton,
                                 TShiftState, int, int) {
      EXPECT_EQ(s, c.line);
      EXPECT_EQ(index, 40);
      note("chart.series");
    };
    c.line->OnClick = [&](TChartSeries*, int, TMouseButton, TShiftState, int, int) {
      note("series.click");
    };
    const TRect p = c.chart->PlotRect();
    const TPoint targets[] = {c.TitleCentre(),
                              {p.Left + 10, p.Top + 10},
                              {c.line->PixelX(40), c.line->PixelY(40)},
                              {300, c.chart->BottomAxis().AxisLinePos},
                              {1, 1}};
    const TPoint at = targets[k.target];
    c.Press(Qt::LeftButton, at.X, at.Y);
    EXPECT_EQ(log, k.log);
    EXPECT_EQ(c.chart->ZoomDrag().Active, k.drags);
    EXPECT_FALSE(c.chart->CancelMouse());
    c.Release(Qt::LeftButton, at.X, at.Y);
  }

  // A press that the mouse-down handler cancels is ignored.
  Chart1 c;
  c.chart->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) {
    c.chart->SetCancelMouse(true);
  };
  c.Press(Qt::LeftButton, 300, 150);
  EXPECT_FALSE(c.chart->ZoomDrag().Active || c.chart->CancelMouse());
  c.Release(Qt::LeftButton, 300, 150);

  // The cursor: the series' own over its points, the loaded one elsewhere
  // and after leaving, the arrow while dragging.
  EXPECT_EQ(c.chart->LoadedCursor(), TCursor::crCross);
  c.points->AddPoint(c.line->XOf(30), c.line->YOf(30), "", clDefault);
  c.chart->Repaint();
  c.points->OnClickPointer = [](TCustomSeries*, int, int, int) { ADD_FAILURE() << "hover clicks"; };
  c.points->SetCursor(TCursor::crHandPoint);
  const int x = c.line->PixelX(30), y = c.line->PixelY(30);
  c.Move(Qt::NoButton, x, y);
  EXPECT_EQ(c.chart->Cursor(), TCursor::crHandPoint);
  c.Move(Qt::NoButton, x, c.chart->PlotRect().Top + 2);
  EXPECT_EQ(c.chart->Cursor(), TCursor::crCross);
  c.Move(Qt::NoButton, x, y);
  c.Leave();
  EXPECT_EQ(c.chart->Cursor(), TCursor::crCross);
  c.chart->OnMouseDown = nullptr;
  c.Press(Qt::LeftButton, 300, 100);
  EXPECT_EQ(c.chart->Cursor(), TCursor::crDefault);
  c.Release(Qt::LeftButton, 300, 100);
  // A handler that frees its series takes the press with it (ASan watches).
  c.points->OnClickPointer = [&](TCustomSeries*, int, int, int) { delete c.points; };
  c.Press(Qt::LeftButton, x, y);
  EXPECT_FALSE(c.chart->ZoomDrag().Active);
}

// The settings come from the form description; an animated zoom draws its
// steps and ends on the same ranges as a plain one.
TEST(ChartZoom, PublishedSettingsAndAnimatedZoom) {
  Chart1 plain;
  EXPECT_TRUE(plain.chart->AllowZoom() && !plain.chart->AnimatedZoom());
  EXPECT_EQ(plain.chart->AllowPanning(), TPanningMode::pmBoth);
  EXPECT_EQ(plain.chart->AnimatedZoomSteps(), 8);
  Chart1 c("    AnimatedZoom = True\n    AnimatedZoomSteps = 4\n    AllowPanning = pmNone\n");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(c.form->Widget()));
  EXPECT_TRUE(c.chart->AnimatedZoom());
  EXPECT_EQ(c.chart->AnimatedZoomSteps(), 4);
  int frames = 0;
  c.chart->OnAfterDraw = [&](TComponent*) { ++frames; };
  std::set<int> shown;  // frames the widget copied to the screen
  PaintWatch watch(c.chart->Widget(), [&] { shown.insert(c.chart->PaintCount()); });
  plain.Drag(Qt::LeftButton, {100, 100}, {300, 200});
  c.Drag(Qt::LeftButton, {100, 100}, {300, 200});
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(shown.size(), 4u) << "the frame before and every step";
  EXPECT_DOUBLE_EQ(c.chart->BottomAxis().Minimum(), plain.chart->BottomAxis().Minimum());
  EXPECT_DOUBLE_EQ(c.chart->LeftAxis().Maximum(), plain.chart->LeftAxis().Maximum());
  c.Press(Qt::RightButton, 300, 150);
  EXPECT_FALSE(c.chart->ScrollDrag().Active);
  c.chart->SetAnimatedZoomSteps(2000);  // each step holds the GUI thread
  EXPECT_EQ(c.chart->AnimatedZoomSteps(), kMaxAnimatedZoomSteps);
}

// A handler that destroys the chart ends the mouse handling there: nothing
// touches the dead chart afterwards (ASan watches).
TEST(ChartZoom, AHandlerThatDestroysTheChartEndsTheMouseHandling) {
  using Hook = void (*)(Chart1&, const std::function<void()>& destroy);
  const struct {
    const char* name;
    Hook hook;
    Qt::MouseButton button;
    TPoint from, to;
  } cases[] = {
      {"OnMouseDown",
       [](Chart1& c, const std::function<void()>& d) {
         c.chart->OnMouseDown = [d](TComponent*, TMouseButton, TShiftState, int, int) { d(); };
       },
       Qt::LeftButton, {300, 150}, {300, 150}},
      {"OnClickBackground",
       [](Chart1& c, const std::function<void()>& d) {
         c.chart->OnClickBackground = [d](TCustomChart*, TMouseButton, TShiftState, int, int) { d(); };
       },
       Qt::LeftButton, {300, 150}, {300, 150}},
      {"OnMouseUp",
       [](Chart1& c, const std::function<void()>& d) {
         c.chart->OnMouseUp = [d](TComponent*, TMouseButton, TShiftState, int, int) { d(); };
       },
       Qt::LeftButton, {100, 100}, {300, 200}},
      {"OnZoom", [](Chart1& c, const std::function<void()>& d) { c.chart->OnZoom = [d](TComponent*) { d(); }; },
       Qt::LeftButton, {100, 100}, {300, 200}},
      {"OnUndoZoom",
       [](Chart1& c, const std::function<void()>& d) { c.chart->OnUndoZoom = [d](TComponent*) { d(); }; },
       Qt::LeftButton, {300, 200}, {100, 100}},
      {"OnScroll",
       [](Chart1& c, const std::function<void()>& d) { c.chart->OnScroll = [d](TComponent*) { d(); }; },
       Qt::RightButton, {300, 150}, {250, 150}},
      {"OnAllowScroll",
       [](Chart1& c, const std::function<void()>& d) {
         c.chart->OnAllowScroll = [d](TCustomChartAxis*, double&, bool&, double&) { d(); };
       },
       Qt::RightButton, {300, 150}, {250, 150}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    Chart1 c;
    QPointer<QWidget> widget(c.chart->Widget());
    int runs = 0;
    k.hook(c, [&] {
      if (runs++ == 0) delete c.chart;
    });
    const auto send = [&](QEvent::Type type, Qt::MouseButtons held, TPoint at) {
      if (widget.isNull()) return;
      const QPointF p(at.X, at.Y);
      QMouseEvent e(type, p, widget->mapToGlobal(p), type == QEvent::MouseMove ? Qt::NoButton : k.button,
                    held, Qt::NoModifier);
      QApplication::sendEvent(widget, &e);
    };
    send(QEvent::MouseButtonPress, k.button, k.from);
    send(QEvent::MouseMove, k.button, {(k.from.X + k.to.X) / 2, (k.from.Y + k.to.Y) / 2});
    send(QEvent::MouseMove, k.button, k.to);
    send(QEvent::MouseButtonRelease, Qt::NoButton, k.to);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(widget.isNull());
    EXPECT_EQ(c.form->FindComponent("Chart1"), nullptr);
  }
}
