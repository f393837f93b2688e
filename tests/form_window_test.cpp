// Forms as windows meet them: closed from the title bar, resized by the
// user, built from descriptions with extreme sizes; and timers whose
// interval Qt's int cannot hold.

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <stdexcept>
#include <string>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "event_loop_support.h"
#include "framework/application.h"
#include "framework/class_registry.h"
#include "framework/exception_handling.h"
#include "framework/form.h"
#include "framework/form_reader.h"
#include "framework/image.h"
#include "framework/standard_classes.h"
#include "framework/surface.h"
#include "framework/timer.h"

using namespace nitko;

namespace {

// Counts the exceptions that reach the application's display.
class ReportedExceptions {
 public:
  ReportedExceptions() {
    SetEventExceptionHandler([this](std::exception_ptr) { ++count; });
  }
  ~ReportedExceptions() { SetEventExceptionHandler(nullptr); }
  int count = 0;
};

// Lets Qt deliver what the platform posted until pred holds; the bound only
// keeps a fault from hanging the suite.
template <class Pred>
bool ProcessUntil(Pred pred) {
  for (int i = 0; i < 200 && !pred(); ++i) QTest::qWait(5);
  return pred();
}

TForm* ShownForm() {
  auto* form = new TForm(nullptr);
  form->SetBounds(40, 40, 300, 200);
  form->Show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(form->Widget()));
  return form;
}

// A TImage whose surface the test may look at.
class TProbeImage : public TImage {
 public:
  explicit TProbeImage(TComponent* owner) : TImage(owner) {}
  using TImage::Surface;
};

}  // namespace

TEST(FormWindow, ClosingFromTheTitleBarFollowsTheHandlers) {
  enum class Then { kOpen, kClosed, kMinimised, kFreed };
  struct Case {
    const char* name;
    bool queryRaises;
    bool queryRefuses;
    bool closeRaises;
    TCloseAction action;
    Then then;
    int reported;
  };
  const Case cases[] = {
      {"query raises", true, false, false, TCloseAction::caHide, Then::kOpen, 1},
      {"query refuses", false, true, false, TCloseAction::caHide, Then::kOpen, 0},
      {"OnClose raises", false, false, true, TCloseAction::caHide, Then::kOpen, 1},
      {"caNone", false, false, false, TCloseAction::caNone, Then::kOpen, 0},
      {"caHide", false, false, false, TCloseAction::caHide, Then::kClosed, 0},
      {"caMinimize", false, false, false, TCloseAction::caMinimize, Then::kMinimised, 0},
      {"caFree", false, false, false, TCloseAction::caFree, Then::kFreed, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ReportedExceptions reported;
    TForm* form = ShownForm();
    QPointer<QWidget> window(form->Widget());
    int closed = 0;
    form->OnCloseQuery = [&](TComponent*, bool& canClose) {
      if (k.queryRaises) throw std::runtime_error("not now");
      canClose = !k.queryRefuses;
    };
    form->OnClose = [&](TComponent*, TCloseAction& action) {
      if (k.closeRaises) throw std::runtime_error("no");
      action = k.action;
    };
    form->OnClosed = [&] { ++closed; };

    window->windowHandle()->close();  // what the window manager's close button sends
    ASSERT_FALSE(window.isNull()) << "freed from inside its own close";
    EXPECT_EQ(reported.count, k.reported);
    EXPECT_EQ(closed, k.then == Then::kClosed || k.then == Then::kFreed ? 1 : 0);
    const bool open = k.then == Then::kOpen || k.then == Then::kMinimised;
    EXPECT_EQ(window->isVisible(), open);
    EXPECT_EQ(form->Visible(), open);
    if (k.then == Then::kMinimised) ProcessUntil([&] { return window->isMinimized(); });
    EXPECT_EQ(window->isMinimized(), k.then == Then::kMinimised);

    // The event loop, back in charge, frees what asked to be freed.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.isNull(), k.then == Then::kFreed);
    if (!window.isNull()) delete form;
  }
}

TEST(FormWindow, CloseFreesTheFormOnlyAfterItsHandlersReturn) {
  TForm* form = ShownForm();
  QPointer<QWidget> window(form->Widget());
  form->OnClose = [&](TComponent*, TCloseAction& action) { action = TCloseAction::caFree; };
  form->OnHide = [&](TComponent* sender) {
    static_cast<TForm*>(sender)->Close();  // closing again from inside the first close
  };
  form->Close();
  ASSERT_FALSE(window.isNull());
  EXPECT_FALSE(form->Visible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

TEST(FormWindow, AMainFormFreedOnCloseEndsTheProgram) {
  QPointer<QWidget> window;
  int argc = 1;
  char name[] = "Nitkograf";
  char* argv[] = {name, nullptr};
  const int code = RunProgram(argc, argv, [&](TApplication& app) {
    TForm* form = nullptr;
    app.CreateForm(form);
    window = form->Widget();
    form->OnClose = [](TComponent*, TCloseAction& action) { action = TCloseAction::caFree; };
    QTimer::singleShot(0, [&] { window->windowHandle()->close(); });
  });
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(window.isNull());
}

TEST(FormWindow, ARaisingOnResizeLeavesTheGeometryFollowingTheForm) {
  ReportedExceptions reported;
  std::unique_ptr<TForm> form(ShownForm());
  int resizes = 0;
  form->OnResize = [&](TComponent*) {
    if (++resizes == 1) throw std::runtime_error("resize");
  };
  form->Widget()->resize(250, 150);  // as the user drags the frame
  ASSERT_TRUE(ProcessUntil([&] { return form->ClientWidth() == 250; }));
  EXPECT_EQ(reported.count, 1);
  // The program sets a new size: the window must take it.
  form->SetClientWidth(200);
  form->SetClientHeight(120);
  ProcessUntil([&] { return form->Widget()->width() == 200; });
  EXPECT_EQ(form->Widget()->size(), QSize(200, 120));
  EXPECT_EQ(form->ClientWidth(), 200);
}

TEST(FormWindow, DescribedSizesAreClampedAndSurfacesWaitForPaint) {
  RegisterStandardClasses();
  if (Classes().Find("TProbeImage") == nullptr)
    Classes().Register<TProbeImage>("TProbeImage", "TImage");
  const int side = kMaxSurfaceSide;
  struct Case {
    const char* name;
    const char* properties;
    int width, height;  // the form's outer size afterwards
  };
  const Case cases[] = {
      {"client width", "ClientWidth = 2147483647", side, 300},
      {"client height", "ClientHeight = 2147483647", 300, side},
      // bsNone keeps the 292 pixels of client width; bsSingle adds 2 x 3.
      {"frame added by a later border",
       "BorderStyle = bsNone\n Height = 2147483647\n BorderStyle = bsSingle", 292 + 6, side},
      {"outer size", "Width = 100000\n Height = -5", side, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 300);
    TFormReader().Read(form, std::string("object Form1: TForm\n ") + k.properties + "\nend\n");
    EXPECT_EQ(form.Width(), k.width);
    EXPECT_EQ(form.Height(), k.height);
    EXPECT_LE(form.ClientWidth(), form.Width());
    EXPECT_LE(form.ClientHeight(), form.Height());
  }

  TForm form(nullptr);
  TFormReader().Read(form,
                     "object Form1: TForm\n"
                     "  object Image1: TProbeImage\n"
                     "    Left = 2147483647\n"
                     "    Width = 100000\n"
                     "    Height = 100000\n"
                     "  end\n"
                     "end\n");
  auto* image = dynamic_cast<TProbeImage*>(form.FindComponent("Image1"));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), side);
  EXPECT_EQ(image->Height(), side);
  EXPECT_EQ(image->BoundsRect().Right, INT_MAX);  // the far edge still an int
  EXPECT_EQ(image->Surface().Width(), side);
  EXPECT_FALSE(image->Surface().Allocated());
}

TEST(SurfacePixels, AllocatedOnFirstDrawAndKeptOnResize) {
  TSurface s(3000, 2000);
  EXPECT_FALSE(s.Allocated());
  EXPECT_EQ(s.Pixel(2999, 1999), clWhite);
  EXPECT_EQ(s.Pixel(3000, 0), clNone);
  s.SetSize(100, 40000);
  EXPECT_FALSE(s.Allocated());
  EXPECT_EQ(s.Height(), kMaxSurfaceSide);
  s.SetSize(100, 50);
  s.SetPixel(99, 49, clRed);
  EXPECT_TRUE(s.Allocated());
  s.SetSize(120, 60);
  EXPECT_EQ(s.Pixel(99, 49), clRed);
  EXPECT_EQ(s.Pixel(119, 59), clWhite);
}

TEST(Timers, EveryIntervalReachesQtWhole) {
  const unsigned intervals[] = {1, 60000, INT_MAX, 1u + INT_MAX, 3000000000u, UINT_MAX};
  for (unsigned ms : intervals) {
    SCOPED_TRACE(ms);
    TTimer timer(nullptr);
    timer.SetInterval(ms);
    const unsigned left = timer.Remaining();
    EXPECT_GT(left, 0u);
    EXPECT_LE(left, ms);
    // Time passes between start and look; a whole second is generous.
    EXPECT_GE(left + 1000ull, ms);
    timer.SetEnabled(false);
    EXPECT_EQ(timer.Remaining(), 0u);
    timer.SetEnabled(true);
    EXPECT_GT(timer.Remaining(), 0u);
  }
}

TEST(Timers, AShortIntervalFiresAgainAndAgain) {
  TTimer timer(nullptr);
  timer.SetInterval(3);
  QEventLoop loop;
  int fired = 0;
  timer.OnTimer = [&](TComponent*) {
    if (++fired == 3) loop.quit();
  };
  ASSERT_TRUE(nitko::testing::RunUntilQuit(loop));
  EXPECT_EQ(fired, 3);
}
