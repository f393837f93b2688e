// The program's window as a user meets it: built from its description, its
// texts and first curve, and the six buttons and the spin edit driving the
// two workers through real clicks, real threads and real clocks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/formularz.h"
#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/point_series.h"
#include "controls/gauge.h"
#include "controls/spin_edit.h"
#include "core/run_state.h"
#include "dialogs/message_form.h"
#include "event_loop_support.h"
#include "framework/button.h"
#include "framework/canvas.h"
#include "framework/surface.h"
#include "framework/custom_edit.h"
#include "framework/gui_thread.h"
#include "framework/label.h"
#include "framework/memo.h"
#include "framework/progress_bar.h"
#include "runtime/locale_chars.h"
#include "runtime/threads.h"
#include "workers/worker_procs.h"
#include "workers/worker_view.h"

using namespace nitko;
using namespace std::chrono_literals;

using nitko::testing::SpinFor;
using nitko::testing::SpinUntil;

namespace {

void ClickOn(TControl& control) {
  QTest::mouseClick(control.Widget(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(control.Width() / 2, control.Height() / 2));
}

class MainWindow : public ::testing::Test {
 public:
  static void SetUpTestSuite() {
    RegisterFormularzClasses();
    InitGuiThread();
  }
  static void TearDownTestSuite() { ShutdownGuiThread(); }

  void SetUp() override {
    RunState& s = TheRunState();
    s.p = 0;
    s.x1 = 0;
    s.x2 = 0;
    SetFormularzWorkerPause(1ms);
    Formularz = new TFormularz(nullptr);
    Formularz->Show();
    QApplication::processEvents();
  }
  void TearDown() override {
    delete Formularz;
    EXPECT_EQ(Formularz, nullptr);
    EXPECT_EQ(RunningThreadCount(), 0);
    SetFormularzWorkerPause(100ms);
  }
  TFormularz& F() { return *Formularz; }
  bool Idle() {
    RunState& s = TheRunState();
    // A thread that ended may still have its last updates in the hand-over.
    return !ThreadRunning(s.thread1.load()) && !ThreadRunning(s.thread2.load()) &&
           PendingPostedCalls() == 0;
  }
};

}  // namespace

TEST_F(MainWindow, FirstDisplayShowsTheDescribedWindowWithTheFirstCurve) {
  EXPECT_EQ(F().Caption(),
            "Dwa wątki: 1. Wykreslanie przebiegu funkcji   f(x,p)=exp(-x)-cos(x)-p*x/10 = 0  dla "
            "x = [a, b] .  2. Wykreslanie f(x, p+1).");
  EXPECT_EQ(F().Width(), 780);
  EXPECT_EQ(F().Height(), 638);
  const struct {
    TControl* control;
    const char* text;
  } texts[] = {
      {F().Label1, "a ="},          {F().Label2, "b ="},
      {F().Label4, "p ="},          {F().ME2, "0"},
      {F().ME3, "10"},              {F().BitBtn3, "Uruchom 1 watek"},
      {F().BitBtn4, "Zatrzymaj watek 1"}, {F().BitBtn5, "Wznow watek 1"},
      {F().BitBtn6, "Uruchom watek 2"},   {F().BitBtn7, "Zatrzymaj watek 2"},
      {F().BitBtn8, "Wznow watek 2"},
  };
  for (const auto& t : texts) EXPECT_EQ(t.control->GetText(), t.text) << t.control->Name();
  ASSERT_EQ(F().Memo1->Lines().Count(), 1);
  EXPECT_EQ(F().Memo1->Lines()[0], "Wyniki obliczeń x, f(x)");
  ASSERT_EQ(F().Chart1->Title().Text().Count(), 1);
  EXPECT_EQ(F().Chart1->Title().Text()[0], "Wykres  badanej  funkcji  f(x,p)  oraz  f(x, p+1)");

  ASSERT_EQ(F().Series1->PointCount(), 101);
  EXPECT_EQ(F().Series1->XValues().ValueAt(0), 0.0);
  EXPECT_NEAR(F().Series1->XValues().ValueAt(100), 10.0, 1e-9);
  EXPECT_NEAR(F().Series1->YValues().ValueAt(30), std::exp(-3.0) - std::cos(3.0), 1e-12);
  EXPECT_EQ(F().Series2->PointCount(), 0);
  EXPECT_EQ(F().CGauge1->Progress(), 0);
  EXPECT_EQ(F().ProgressBar1->Position(), 0);
  EXPECT_EQ(F().CSpinEdit1->GetValue(), 0);

  // What the screen shows: the chart's frame with its green line in a
  // white back wall, the silver edit fields, the navy "p =".
  const QImage chart = F().Chart1->Widget()->grab().toImage();
  int green = 0, white = 0;
  for (int y = 0; y < chart.height(); ++y)
    for (int x = 0; x < chart.width(); ++x) {
      green += chart.pixelColor(x, y) == QColor(0, 0x80, 0) ? 1 : 0;
      white += chart.pixelColor(x, y) == QColor(0xFF, 0xFF, 0xFF) ? 1 : 0;
    }
  EXPECT_GT(green, 600);  // about one pixel per column of a 707-pixel plot
  // The back wall is an outline: the panel's colour shows inside it.
  EXPECT_LT(white, 20000);
  // The left axis' labels are black on the panel, in no box of their own.
  int labelWhite = 0, labelInk = 0;
  const TRect plot = F().Chart1->PlotRect();
  for (int y = plot.Top; y < plot.Bottom; ++y)
    for (int x = 2; x < plot.Left - 6; ++x) {
      labelWhite += chart.pixelColor(x, y) == QColor(0xFF, 0xFF, 0xFF) ? 1 : 0;
      labelInk += chart.pixelColor(x, y) == QColor(0, 0, 0) ? 1 : 0;
    }
  EXPECT_EQ(labelWhite, 0);
  EXPECT_GT(labelInk, 100);
  const QImage edit = F().ME2->Widget()->grab().toImage();
  EXPECT_EQ(edit.pixelColor(edit.width() - 6, edit.height() / 2), QColor(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(F().Label4->Font().Color(), 0x800000);
}

// The first frame is laid out from the chart's state alone, not from a frame
// before it: a zoom drag and an undo drag bring back every pixel of it.
TEST_F(MainWindow, FirstFrameIsTheFrameAfterAZoomAndItsUndo) {
  TChart& chart = *F().Chart1;
  const auto frame = [&] {
    chart.Update();
    return static_cast<TCustomControl&>(chart).Canvas().Surface()->Image().copy();
  };
  const auto drag = [&](QPoint from, QPoint to) {
    QTest::mousePress(chart.Widget(), Qt::LeftButton, {}, from);
    QTest::mouseMove(chart.Widget(), to);
    QTest::mouseRelease(chart.Widget(), Qt::LeftButton, {}, to);
    frame();
  };
  const QImage first = frame();
  drag({250, 80}, {500, 250});
  ASSERT_TRUE(chart.IsZoomed());
  drag({500, 250}, {250, 80});
  ASSERT_FALSE(chart.IsZoomed());
  EXPECT_TRUE(frame() == first) << "the frames differ";
}

TEST_F(MainWindow, ButtonsRunBothWorkersIntoTheWindowWithPFromTheSpinEdit) {
  F().CSpinEdit1->SetValue(3);
  ClickOn(*F().BitBtn3);
  ClickOn(*F().BitBtn6);
  RunState& s = TheRunState();
  ASSERT_TRUE(SpinUntil([&] {
    return !ThreadRunning(s.thread1.load()) && PendingPostedCalls() == 0 &&
           F().Workers().messages.Open().size() == 1;
  }));
  // Worker 1 tabulated f(x, 3) into the cleared series, worker 2 f(x, 4).
  ASSERT_EQ(F().Series1->PointCount(), 101);
  ASSERT_EQ(F().Series2->PointCount(), 101);
  EXPECT_NEAR(F().Series1->YValues().ValueAt(10), std::exp(-1.0) - std::cos(1.0) + 0.3, 1e-12);
  EXPECT_NEAR(F().Series2->YValues().ValueAt(100), std::exp(-10.0) - std::cos(10.0) + 4.0, 1e-12);
  EXPECT_EQ(F().CGauge1->Progress(), 100);
  EXPECT_EQ(F().ProgressBar1->Position(), 100);
  ASSERT_EQ(F().Memo1->Lines().Count(), 102);
  EXPECT_EQ(F().Memo1->Lines()[1], "  f(0) = 0");

  // Worker 2 waits on its message while the window's buttons still work.
  TMessageForm* message = F().Workers().messages.Open()[0];
  EXPECT_EQ(message->MessageText().rfind(" Czas trwania watku 2 wg. czasu systemowego [msek] = ", 0),
            0u);
  EXPECT_TRUE(ThreadRunning(s.thread2.load()));
  ClickOn(*F().BitBtn3);
  ASSERT_TRUE(
      SpinUntil([&] { return !ThreadRunning(s.thread1.load()) && PendingPostedCalls() == 0; }));
  EXPECT_EQ(F().Memo1->Lines().Count(), 203);
  ClickOn(*message->DefaultButton());
  ASSERT_TRUE(SpinUntil([&] { return Idle(); }));
  EXPECT_TRUE(F().Workers().messages.Open().empty());
}

// Text that is no number yet stays as typed and keeps p; leaving repairs it.
TEST_F(MainWindow, TypingIntoThePFieldKeepsTheTextAndPFollowsEachNumber) {
  const struct { const char *keys, *text; int32_t p; } steps[] = {
      {"-5", "-5", -5}, {"\b", "", -5}, {"\t", "0", 0}};
  ClickOn(*F().CSpinEdit1);
  for (const auto& step : steps) {
    QTest::keyClick(F().CSpinEdit1->Widget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(F().CSpinEdit1->Widget(), step.keys);
    EXPECT_EQ(F().CSpinEdit1->GetText(), step.text) << step.keys;
    EXPECT_EQ(TheRunState().p.load(), step.p) << step.keys;
  }
}

TEST_F(MainWindow, SuspendAndResumeButtonsHoldAndReleaseTheOutput) {
  ClickOn(*F().BitBtn4);  // before any start: nothing happens
  ClickOn(*F().BitBtn3);
  ASSERT_TRUE(SpinUntil([&] { return F().Series1->PointCount() >= 5; }));
  ClickOn(*F().BitBtn4);
  ClickOn(*F().BitBtn4);
  // Output stops at the next safe point, at most one pass later.
  SpinFor(50ms);
  const int held = F().Series1->PointCount();
  SpinFor(100ms);
  EXPECT_EQ(F().Series1->PointCount(), held);
  ClickOn(*F().BitBtn5);
  SpinFor(100ms);
  EXPECT_EQ(F().Series1->PointCount(), held);  // still suspended once
  ClickOn(*F().BitBtn5);
  ASSERT_TRUE(SpinUntil([&] { return Idle(); }));
  EXPECT_EQ(F().Series1->PointCount(), 101);
  EXPECT_EQ(F().Memo1->Lines().Count(), 102);
}

// Closing the window in every state the workers can be in ends them: the
// fixture's TearDown checks that no thread is left.
TEST_F(MainWindow, ClosingStopsWorkersRunningSuspendedOrWaitingOnTheMessage) {
  const struct {
    const char* state;
    std::function<void(MainWindow&)> reach;
  } cases[] = {
      {"running", [](MainWindow& t) { ClickOn(*t.F().BitBtn3); ClickOn(*t.F().BitBtn6); }},
      {"suspended",
       [](MainWindow& t) {
         ClickOn(*t.F().BitBtn3);
         ClickOn(*t.F().BitBtn4);
       }},
      {"message open",
       [](MainWindow& t) {
         ClickOn(*t.F().BitBtn6);
         SpinUntil([&] { return t.F().Workers().messages.Open().size() == 1; });
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    c.reach(*this);
    EXPECT_GT(RunningThreadCount(), 0);
    F().Close();
    EXPECT_FALSE(F().Visible());
    EXPECT_EQ(RunningThreadCount(), 0);
    EXPECT_TRUE(F().Workers().messages.Open().empty());
    F().Show();
  }
}

// A Polish user reads worker 1's lines with the decimal comma.
TEST(MainWindowLocale, PolishNumericLocaleGivesTheDecimalCommaInTheMemo) {
  const LocaleChars saved = CurrentLocaleChars();
  setenv("LC_NUMERIC", "pl_PL.UTF-8", 1);
  ReadLocaleChars();
  const bool polish = CurrentLocaleChars().decimal == ',';
  const std::string line = Worker1Line(0.1, -0.0901667472420662);
  unsetenv("LC_NUMERIC");
  SetLocaleChars(saved);
  if (!polish) GTEST_SKIP() << "pl_PL.UTF-8 is not generated here";
  EXPECT_EQ(line, "  f(0,1) = -0,0901667472420662");
}
