#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/control_classes.h"
#include "controls/spin_button.h"
#include "controls/spin_edit.h"
#include "controls/timer_speed_button.h"
#include "dialogs/message_dialogs.h"
#include "framework/bitmap.h"
#include "framework/custom_edit.h"
#include "framework/exception_handling.h"
#include "framework/form.h"
#include "framework/form_reader.h"
#include "framework/keys.h"
#include "framework/screen.h"
#include "framework/system_colors.h"
#include "framework/timer.h"
#include "runtime/exception.h"
#include "runtime/locale_chars.h"

using namespace nitko;

namespace {

// A shown, active form, so that presses reach the widgets and focus is real.
std::unique_ptr<TForm> MakeForm() {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(10, 10, 300, 200);
  form->Show();
  form->Widget()->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
  return form;
}

template <class C>
C* Place(TForm& form, int left, int top, int width, int height) {
  auto* c = new C(&form);
  c->SetParent(&form);
  c->SetBounds(left, top, width, height);
  return c;
}

QPoint Middle(TControl* c) {
  return QPoint(c->Width() / 2, c->Height() / 2);
}
void Press(TControl* c, QPoint p) {
  QTest::mousePress(c->Widget(), Qt::LeftButton, {}, p);
}
void Release(TControl* c, QPoint p) {
  QTest::mouseRelease(c->Widget(), Qt::LeftButton, {}, p);
}
void MoveTo(TControl* c, QPoint p) {
  QTest::mouseMove(c->Widget(), p);
}

// One character as a keyboard with that key types it.
void TypeChar(TControl* c, const QString& ch) {
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, ch);
  QApplication::sendEvent(c->Widget(), &press);
  QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, ch);
  QApplication::sendEvent(c->Widget(), &release);
}

struct Clicks {
  int up = 0, down = 0;
  void Count(TCSpinButton* spin) {
    spin->OnUpClick = [this](TComponent*) { ++up; };
    spin->OnDownClick = [this](TComponent*) { ++down; };
  }
};

}  // namespace

// ---- Free notification

namespace {

// Logs what it is told; may destroy another component when told.
class Watcher : public TComponent {
 public:
  Watcher(std::vector<std::string>& log, const std::string& name) : TComponent(nullptr), log_(log) {
    SetName(name);
  }
  Watcher* destroyWhenTold = nullptr;

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    if (operation != TOperation::opRemove) return;
    log_.push_back(Name() + ":" + component->Name());
    if (destroyWhenTold != nullptr) delete std::exchange(destroyWhenTold, nullptr);
  }

 private:
  std::vector<std::string>& log_;
};

}  // namespace

TEST(FreeNotification, TheSurvivorIsToldOnceWhicheverGoesFirst) {
  struct Case {
    const char* name;
    std::function<void(Watcher*& a, Watcher*& b, Watcher*& c)> act;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {"both linked to the one that goes",
       [](Watcher*& a, Watcher*& b, Watcher*& c) {
         a->FreeNotification(b);
         c->FreeNotification(a);
         delete std::exchange(a, nullptr);
       },
       {"c:a", "b:a"}},
      {"the watcher goes first",
       [](Watcher*& a, Watcher*& b, Watcher*&) {
         b->FreeNotification(a);
         delete std::exchange(b, nullptr);
         delete std::exchange(a, nullptr);
       },
       {"a:b"}},
      {"unlinked", [](Watcher*& a, Watcher*& b, Watcher*&) {
         a->FreeNotification(b);
         b->RemoveFreeNotification(a);
         delete std::exchange(a, nullptr);
       },
       {}},
      {"told, it destroys the next one to be told",
       [](Watcher*& a, Watcher*& b, Watcher*& c) {
         a->FreeNotification(b);
         a->FreeNotification(c);
         c->destroyWhenTold = b;
         b = nullptr;
         delete std::exchange(a, nullptr);
       },
       {"c:a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> log;
    auto* a = new Watcher(log, "a");
    auto* b = new Watcher(log, "b");
    auto* w = new Watcher(log, "c");
    c.act(a, b, w);
    const std::vector<std::string> told = log;
    delete a;
    delete b;
    delete w;
    EXPECT_EQ(told, c.log);
    // What is left goes without telling the dead.
    EXPECT_EQ(log, c.log);
  }
}

// ---- Spin button

TEST(SpinButton, SizeRuleSharesTheMiddleRowAndKeepsAMinimumWidth) {
  TCSpinButton spin(nullptr);
  EXPECT_EQ(spin.BoundsRect(), Bounds(0, 0, 20, 25));
  EXPECT_FALSE(spin.TabStop());
  EXPECT_EQ(spin.UpButton()->BoundsRect(), Bounds(0, 0, 20, 12));
  EXPECT_EQ(spin.DownButton()->BoundsRect(), Bounds(0, 11, 20, 14));
  EXPECT_EQ(spin.FocusBtn(), spin.UpButton());
  spin.SetBounds(3, 4, 10, 17);
  EXPECT_EQ(spin.BoundsRect(), Bounds(3, 4, 15, 17));
  EXPECT_EQ(spin.UpButton()->BoundsRect(), Bounds(0, 0, 15, 8));
  EXPECT_EQ(spin.DownButton()->BoundsRect(), Bounds(0, 7, 15, 10));
}

TEST(SpinButton, DefaultGlyphsAreTheArrowsOnATransparentOliveGround) {
  // Black columns per row, top to bottom.
  const int up[6][2] = {{9, 0}, {4, 4}, {3, 5}, {2, 6}, {1, 7}, {9, 0}};
  const int down[6][2] = {{9, 0}, {1, 7}, {2, 6}, {3, 5}, {4, 4}, {9, 0}};
  TCSpinButton spin(nullptr);
  for (auto [glyph, rows] :
       {std::pair{spin.GetUpGlyph(), up}, std::pair{spin.GetDownGlyph(), down}}) {
    ASSERT_EQ(glyph->Width(), 9);
    ASSERT_EQ(glyph->Height(), 6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 9; ++x)
        EXPECT_EQ(glyph->Surface().Pixel(x, y),
                  x >= rows[y][0] && x <= rows[y][1] ? 0x000000 : 0x008080)
            << x << "," << y;
  }
  EXPECT_EQ(spin.UpButton()->NumGlyphs(), 1);

  // Drawn centred, the olive ground left out: up is 20 x 12, the glyph at (5, 3).
  spin.UpButton()->Repaint();
  TCanvas& c = spin.UpButton()->Canvas();
  const TColor face = ColorToRGB(clBtnFace);
  EXPECT_EQ(c.Pixel(5 + 4, 3 + 1), 0x000000);
  EXPECT_EQ(c.Pixel(5 + 1, 3 + 4), 0x000000);
  EXPECT_EQ(c.Pixel(5 + 0, 3 + 0), face);
  EXPECT_EQ(c.Pixel(5 + 3, 3 + 1), face);

  // A glyph of one's own is copied; none brings the arrow back.
  TBitmap own(4, 3);
  spin.SetUpGlyph(&own);
  own.SetSize(7, 7);
  EXPECT_EQ(spin.GetUpGlyph()->Width(), 4);
  spin.SetUpGlyph(nullptr);
  EXPECT_EQ(spin.GetUpGlyph()->Width(), 9);
  EXPECT_EQ(spin.GetUpGlyph()->Surface().Pixel(4, 1), 0x000000);
}

TEST(SpinButton, HeldButtonRepeatsAfter400msThenEvery100ms) {
  auto form = MakeForm();
  auto* spin = Place<TCSpinButton>(*form, 10, 10, 20, 25);
  Clicks clicks;
  clicks.Count(spin);
  TTimerSpeedButton* up = spin->UpButton();
  EXPECT_EQ(up->RepeatTimer(), nullptr);

  // Released before the first repeat: only the release click.
  Press(up, Middle(up));
  QTest::qWait(150);
  EXPECT_EQ(clicks.up, 0);
  Release(up, Middle(up));
  EXPECT_EQ(clicks.up, 1);
  ASSERT_NE(up->RepeatTimer(), nullptr);
  EXPECT_FALSE(up->RepeatTimer()->Enabled());
  QTest::qWait(450);
  EXPECT_EQ(clicks.up, 1);

  // About one second: 400, 500, ... 1000 ms, then the release click.
  clicks.up = 0;
  QElapsedTimer held;
  held.start();
  Press(up, Middle(up));
  QTest::qWait(1050);
  const int repeats = clicks.up;
  // Never more than the clock allows; a starved machine may deliver fewer.
  EXPECT_LE(repeats, (held.elapsed() - 400) / 100 + 1);
  EXPECT_GE(repeats, 4);
  EXPECT_EQ(up->RepeatTimer()->Interval(), 100u);
  Release(up, Middle(up));
  EXPECT_EQ(clicks.up, repeats + 1);
  EXPECT_EQ(clicks.down, 0);
}

TEST(SpinButton, NoRepeatsWhileThePointerIsOffTheHeldButton) {
  auto form = MakeForm();
  auto* spin = Place<TCSpinButton>(*form, 10, 10, 20, 25);
  Clicks clicks;
  clicks.Count(spin);
  TTimerSpeedButton* down = spin->DownButton();
  Press(down, Middle(down));
  MoveTo(down, QPoint(60, 60));
  EXPECT_EQ(down->State(), TButtonState::bsUp);
  QTest::qWait(700);
  EXPECT_EQ(clicks.down, 0);
  // Back over it, still captured: the repeats go on at once.
  MoveTo(down, Middle(down));
  EXPECT_EQ(down->State(), TButtonState::bsDown);
  QTest::qWait(350);
  EXPECT_GE(clicks.down, 2);
  const int held = clicks.down;
  // Released off the button: no release click.
  MoveTo(down, QPoint(60, 60));
  Release(down, QPoint(60, 60));
  EXPECT_EQ(clicks.down, held);
  EXPECT_EQ(clicks.up, 0);
}

TEST(SpinButton, AFailingRepeatStopsTheTimerAndReachesTheHandler) {
  auto form = MakeForm();
  auto* spin = Place<TCSpinButton>(*form, 10, 10, 20, 25);
  std::vector<std::string> shown;
  SetEventExceptionHandler([&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const Exception& x) {
      shown.push_back(x.what());
    }
  });
  int calls = 0;
  spin->OnUpClick = [&](TComponent*) {
    ++calls;
    throw Exception("Zero divide");
  };
  TTimerSpeedButton* up = spin->UpButton();
  Press(up, Middle(up));
  QTest::qWait(750);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(up->RepeatTimer()->Enabled());
  Release(up, Middle(up));
  SetEventExceptionHandler(nullptr);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(shown, (std::vector<std::string>{"Zero divide", "Zero divide"}));
}

// ---- How a held press ends

namespace {

// Plays the user while a modal window is up: lets go of the mouse over the
// window it blocks, then closes it.
class ModalUser {
 public:
  explicit ModalUser(TForm& blocked) {
    poll_.setInterval(20);
    QObject::connect(&poll_, &QTimer::timeout, [this, &blocked] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal == blocked.Widget()) {
        seen_ = nullptr;
        return;
      }
      if (modal != seen_) {
        seen_ = modal;
        age_.start();
        released_ = false;
        ++dialogs;
      }
      if (!released_ && age_.elapsed() >= 100) {
        released_ = true;
        QTest::mouseRelease(blocked.Widget()->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
      }
      if (age_.elapsed() >= 250) modal->close();
    });
    poll_.start();
  }
  int dialogs = 0;

 private:
  QTimer poll_;
  QWidget* seen_ = nullptr;
  QElapsedTimer age_;
  bool released_ = false;
};

}  // namespace

TEST(SpinButtonHeld, AModalLoopALostCaptureOrAHiddenWindowEndsTheRepetition) {
  struct Scene {
    TForm& form;
    TCSpinEdit& spin;
    TMaskEdit& other;
  };
  struct Case {
    const char* name;
    std::function<void(Scene&)> firstChange;  // what the first repeat's OnChange does
  };
  const Case cases[] = {
      {"a message", [](Scene&) { ShowTextMessage("Value changed"); }},
      {"the mouse taken",
       [](Scene& s) {
         s.other.Widget()->grabMouse();
         s.other.Widget()->releaseMouse();
       }},
      {"the window hidden",
       [](Scene& s) {
         s.form.Hide();
         QTimer::singleShot(150, s.form.Widget(), [&form = s.form] { form.Show(); });
       }},
      {"the control hidden",
       [](Scene& s) {
         s.spin.Hide();
         QTimer::singleShot(150, s.form.Widget(), [&spin = s.spin] { spin.Show(); });
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto form = MakeForm();
    auto* spin = Place<TCSpinEdit>(*form, 10, 10, 97, 22);
    auto* other = Place<TMaskEdit>(*form, 10, 50, 80, 21);
    Scene scene{*form, *spin, *other};
    ModalUser user(*form);
    int changes = 0;
    spin->OnChange = [&](TComponent*) {
      if (++changes == 1) c.firstChange(scene);
    };
    TTimerSpeedButton* up = spin->SpinButton()->UpButton();
    Press(up, Middle(up));
    QTest::qWait(1100);
    // One repeat, and nothing after it: not inside the dialog, not after it.
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(spin->GetText(), "1");
    EXPECT_EQ(user.dialogs, c.name == cases[0].name ? 1 : 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(up->State(), TButtonState::bsUp);
    EXPECT_FALSE(up->MouseCapture());
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_FALSE(up->RepeatTimer()->Enabled());
    // The button is not stuck: the next click steps once.
    Press(up, Middle(up));
    Release(up, Middle(up));
    EXPECT_EQ(spin->GetText(), "2");
  }
}

TEST(SpinButtonHeld, OnlyAnEnabledLeftPressRepeatsAndDisablingEndsIt) {
  struct Case {
    const char* name;
    Qt::MouseButton button;
    bool disabledFirst;
    bool disableOnFirstClick;
    int clicks;
    TButtonState state;
  };
  const Case cases[] = {
      {"right button", Qt::RightButton, false, false, 0, TButtonState::bsUp},
      {"disabled button", Qt::LeftButton, true, false, 0, TButtonState::bsDisabled},
      {"disabled while held", Qt::LeftButton, false, true, 1, TButtonState::bsDisabled},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto form = MakeForm();
    auto* spin = Place<TCSpinButton>(*form, 10, 10, 20, 25);
    TTimerSpeedButton* up = spin->UpButton();
    int clicks = 0;
    spin->OnUpClick = [&](TComponent*) {
      if (++clicks == 1 && c.disableOnFirstClick) up->SetEnabled(false);
    };
    if (c.disabledFirst) up->SetEnabled(false);
    QTest::mousePress(up->Widget(), c.button, {}, Middle(up));
    QTest::qWait(600);
    EXPECT_TRUE(up->RepeatTimer() == nullptr || !up->RepeatTimer()->Enabled());
    EXPECT_EQ(up->State(), c.state);
    // Off the button and back, as a hand does: it must not go down again.
    MoveTo(up, QPoint(60, 60));
    MoveTo(up, Middle(up));
    EXPECT_EQ(up->State(), c.state);
    QTest::qWait(300);
    QTest::mouseRelease(up->Widget(), c.button, {}, Middle(up));
    EXPECT_EQ(clicks, c.clicks);  // no release click either
    EXPECT_EQ(up->State(), c.state);
    EXPECT_FALSE(up->MouseCapture());
  }
}

TEST(SpinButtonHeld, AClickThatDestroysTheButtonIsItsLast) {
  struct Case {
    const char* name;
    int holdMs;  // released before the first repeat, or held past it
  };
  for (const Case& c : {Case{"release click", 100}, Case{"repeated click", 600}}) {
    SCOPED_TRACE(c.name);
    auto form = MakeForm();
    auto* spin = Place<TCSpinButton>(*form, 10, 10, 20, 25);
    int clicks = 0;
    spin->OnUpClick = [&](TComponent*) {
      ++clicks;
      delete std::exchange(spin, nullptr);  // this handler goes with it
    };
    TTimerSpeedButton* up = spin->UpButton();
    const QPoint at = Middle(up);
    Press(up, at);
    QTest::qWait(c.holdMs);
    if (spin != nullptr) Release(up, at);
    QTest::mouseRelease(form->Widget(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::qWait(250);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(spin, nullptr);
    EXPECT_EQ(form->ComponentCount(), 0);
  }
}

TEST(SpinButton, FocusControlAndSpinButtonMayGoInEitherOrder) {
  struct Case {
    const char* name;
    bool editFirst;
    bool switched;  // FocusControl moved to another edit before
  };
  const Case cases[] = {
      {"edit destroyed first", true, false},
      {"spin button destroyed first", false, false},
      {"edit destroyed after the switch", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto form = MakeForm();
    auto* spin = Place<TCSpinButton>(*form, 10, 10, 20, 25);
    auto* edit = Place<TMaskEdit>(*form, 50, 10, 80, 21);
    auto* second = Place<TMaskEdit>(*form, 50, 40, 80, 21);
    spin->SetFocusControl(edit);
    spin->SetFocusControl(edit);  // linking twice is linking once
    if (c.switched) spin->SetFocusControl(second);
    if (c.editFirst) {
      delete edit;
      EXPECT_EQ(spin->FocusControl(), c.switched ? second : nullptr);
      // The press after it finds no dead control to focus.
      Press(spin->DownButton(), Middle(spin->DownButton()));
      Release(spin->DownButton(), Middle(spin->DownButton()));
      EXPECT_EQ(second->Focused(), c.switched);
      delete spin;
    } else {
      delete spin;
      delete edit;  // tells no dead spin button
    }
    EXPECT_EQ(form->ComponentCount(), 1);
  }
}

TEST(SpinButton, KeysWithTheFocusAndTheFocusFrame) {
  auto form = MakeForm();
  auto* spin = Place<TCSpinButton>(*form, 10, 10, 20, 25);
  auto* other = Place<TMaskEdit>(*form, 50, 10, 80, 21);
  spin->SetTabStop(true);
  Clicks clicks;
  clicks.Count(spin);
  int keyDowns = 0;
  spin->OnKeyDown = [&](TComponent*, uint16_t&, TShiftState) { ++keyDowns; };
  TTimerSpeedButton *up = spin->UpButton(), *down = spin->DownButton();
  const TColor face = ColorToRGB(clBtnFace);

  spin->SetFocus();
  ASSERT_TRUE(spin->Focused());
  EXPECT_TRUE(up->ButtonFlags() & rbFocusFrame);
  up->Repaint();
  // The dotted frame 3 pixels in: every other pixel inverted.
  EXPECT_EQ(up->Canvas().Pixel(3, 3), face ^ 0xFFFFFF);
  EXPECT_EQ(up->Canvas().Pixel(4, 3), face);

  QTest::keyClick(spin->Widget(), Qt::Key_Space);
  EXPECT_EQ(clicks.up, 1);
  QTest::keyClick(spin->Widget(), Qt::Key_Down);
  EXPECT_EQ(clicks.down, 1);
  EXPECT_EQ(spin->FocusBtn(), down);
  EXPECT_TRUE(down->ButtonFlags() & rbFocusFrame);
  EXPECT_FALSE(up->ButtonFlags() & rbFocusFrame);
  QTest::keyClick(spin->Widget(), Qt::Key_Space);
  EXPECT_EQ(clicks.down, 2);
  QTest::keyClick(spin->Widget(), Qt::Key_Up);
  EXPECT_EQ(clicks.up, 2);
  EXPECT_EQ(spin->FocusBtn(), up);
  QTest::keyClick(spin->Widget(), Qt::Key_Left);
  EXPECT_EQ(clicks.up + clicks.down, 4);
  EXPECT_EQ(keyDowns, 0);        // no key is passed on
  EXPECT_TRUE(spin->Focused());  // the arrows do not move the focus

  other->SetFocus();
  EXPECT_FALSE(up->ButtonFlags() & rbFocusFrame);

  // Held down with the focus: the frame moves with the face.
  Press(down, Middle(down));
  EXPECT_TRUE(spin->Focused());
  EXPECT_EQ(spin->FocusBtn(), down);
  down->Repaint();
  EXPECT_EQ(down->Canvas().Pixel(4, 4), face ^ 0xFFFFFF);
  EXPECT_EQ(down->Canvas().Pixel(3, 3), face);
  Release(down, Middle(down));
}

TEST(SpinButton, APressSendsTheFocusToFocusControlNeverToItselfWithoutTabStop) {
  auto form = MakeForm();
  auto* spin = Place<TCSpinButton>(*form, 10, 10, 20, 25);
  auto* edit = Place<TMaskEdit>(*form, 50, 10, 80, 21);
  auto* other = Place<TMaskEdit>(*form, 50, 40, 80, 21);
  other->SetFocus();
  spin->SetFocusControl(edit);
  Press(spin->DownButton(), Middle(spin->DownButton()));
  Release(spin->DownButton(), Middle(spin->DownButton()));
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(spin->FocusBtn(), spin->UpButton());  // moves only with TabStop

  spin->SetFocusControl(nullptr);
  Press(spin->UpButton(), Middle(spin->UpButton()));
  Release(spin->UpButton(), Middle(spin->UpButton()));
  EXPECT_FALSE(spin->Focused());

  spin->SetTabStop(true);
  Press(spin->DownButton(), Middle(spin->DownButton()));
  Release(spin->DownButton(), Middle(spin->DownButton()));
  EXPECT_TRUE(spin->Focused());
  EXPECT_EQ(spin->FocusBtn(), spin->DownButton());
  EXPECT_TRUE(spin->DownButton()->ButtonFlags() & rbFocusFrame);
}

// ---- Spin edit

class SpinEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeForm();
    spin = Place<TCSpinEdit>(*form, 152, 44, 97, 22);
    other = Place<TMaskEdit>(*form, 10, 10, 80, 21);
    spin->OnChange = [this](TComponent*) { changes.push_back(spin->GetText()); };
  }
  void Type(const char* keys) { QTest::keyClicks(spin->Widget(), keys); }
  int Beeps(const std::function<void()>& action) {
    const int before = BeepCount();
    action();
    return BeepCount() - before;
  }

  std::vector<std::string> changes;  // outlives the form
  std::unique_ptr<TForm> form;
  TCSpinEdit* spin = nullptr;
  TMaskEdit* other = nullptr;
};

TEST_F(SpinEdit, ValueStepsWrapsWhenUnlimitedAndStopsAtTheLimits) {
  EXPECT_EQ(spin->GetText(), "0");
  EXPECT_EQ(spin->Increment(), 1);
  EXPECT_TRUE(spin->EditorEnabled());
  spin->SetFocus();
  spin->SetText("2147483647");
  QTest::keyClick(spin->Widget(), Qt::Key_Up);
  EXPECT_EQ(spin->GetText(), "-2147483648");
  QTest::keyClick(spin->Widget(), Qt::Key_Down);
  EXPECT_EQ(spin->GetValue(), 2147483647);

  spin->SetMaxValue(10);
  spin->SetText("10");
  TTimerSpeedButton* up = spin->SpinButton()->UpButton();
  Press(up, Middle(up));
  Release(up, Middle(up));
  EXPECT_EQ(spin->GetText(), "10");
  spin->SetText("0");
  QTest::keyClick(spin->Widget(), Qt::Key_Down);
  EXPECT_EQ(spin->GetText(), "0");
  spin->SetIncrement(4);
  QTest::keyClick(spin->Widget(), Qt::Key_Up);
  EXPECT_EQ(spin->GetText(), "4");

  // Crossed limits: below MinValue gives MinValue, anything else MaxValue.
  spin->SetMinValue(5);
  spin->SetMaxValue(1);
  spin->SetValue(3);
  EXPECT_EQ(spin->GetText(), "5");
  spin->SetValue(7);
  EXPECT_EQ(spin->GetText(), "1");
}

TEST_F(SpinEdit, TextThatIsNoNumberBecomesMinValue) {
  spin->SetMinValue(3);
  spin->SetMaxValue(9);
  spin->SetText("");
  Type("+-");  // passes the filter, reads as no number
  EXPECT_EQ(spin->GetText(), "+-");
  EXPECT_EQ(spin->GetValue(), 3);
  EXPECT_EQ(spin->GetText(), "3");
  spin->SetText("");
  EXPECT_EQ(spin->GetValue(), 3);
  EXPECT_EQ(spin->GetText(), "3");
  spin->SetText("  12");  // leading blanks read; no limits applied here
  EXPECT_EQ(spin->GetValue(), 12);
}

TEST_F(SpinEdit, LeavingPullsTypedTextIntoRange) {
  spin->SetMaxValue(10);
  spin->SetFocus();
  Type("25");  // the focus selected the 0, typing replaces it
  EXPECT_EQ(spin->GetText(), "25");
  QTest::keyClick(spin->Widget(), Qt::Key_Tab);
  EXPECT_TRUE(other->Focused());
  EXPECT_EQ(spin->GetText(), "10");

  spin->SetFocus();
  Type("-3");
  other->SetFocus();
  EXPECT_EQ(spin->GetText(), "0");

  spin->SetFocus();
  Type("x,,");
  other->SetFocus();
  EXPECT_EQ(spin->GetText(), "0");
}

TEST_F(SpinEdit, FocusSelectsAllUnlessAPressOnTheEditGaveIt) {
  spin->SetText("123");
  spin->SetFocus();
  EXPECT_EQ(spin->SelLength(), 3);
  other->SetFocus();
  QTest::mouseClick(spin->Widget(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(spin->Focused());
  EXPECT_EQ(spin->SelLength(), 0);
  other->SetFocus();
  spin->SetAutoSelect(false);
  spin->SetFocus();
  EXPECT_EQ(spin->SelLength(), 0);
}

TEST_F(SpinEdit, FilterRefusesLettersAndEnterWithABeep) {
  spin->SetText("");
  EXPECT_EQ(Beeps([&] { Type("a"); }), 1);
  EXPECT_EQ(Beeps([&] { QTest::keyClick(spin->Widget(), Qt::Key_Return); }), 1);
  EXPECT_EQ(Beeps([&] { Type(" /1"); }), 0);
  EXPECT_EQ(Beeps([&] { TypeChar(spin, "ą"); }), 0);  // code 0xB9: below 0x32 as signed
  EXPECT_EQ(spin->GetText(), " /1ą");
  EXPECT_EQ(Beeps([&] { QTest::keyClick(spin->Widget(), Qt::Key_Backspace); }), 0);
  EXPECT_EQ(spin->GetText(), " /1");

  // A decimal separator is accepted wherever it lies.
  const char decimal = LocaleDecimalChar();
  SetLocaleDecimalChar(';');
  EXPECT_EQ(Beeps([&] { Type(";"); }), 0);
  spin->SetEditorEnabled(false);
  EXPECT_EQ(Beeps([&] { Type(";"); }), 1);
  SetLocaleDecimalChar(decimal);
  EXPECT_EQ(spin->GetText(), " /1;");
}

TEST_F(SpinEdit, WithTheEditorDisabledOnlyLowCodesPassAndTheButtonsStillStep) {
  spin->SetEditorEnabled(false);
  spin->SetText("");
  EXPECT_EQ(Beeps([&] { Type("5"); }), 1);
  EXPECT_EQ(Beeps([&] { Type("."); }), 1);
  EXPECT_EQ(Beeps([&] { Type("-1"); }), 0);
  EXPECT_EQ(Beeps([&] { TypeChar(spin, "ą"); }), 0);
  EXPECT_EQ(Beeps([&] { QTest::keyClick(spin->Widget(), Qt::Key_Backspace); }), 1);
  EXPECT_EQ(spin->GetText(), "-1ą");

  spin->SetText("-1");
  spin->SetFocus();
  QTest::keyClick(spin->Widget(), Qt::Key_Up);
  EXPECT_EQ(spin->GetText(), "0");
  TTimerSpeedButton* up = spin->SpinButton()->UpButton();
  Press(up, Middle(up));
  Release(up, Middle(up));
  EXPECT_EQ(spin->GetText(), "1");
}

TEST_F(SpinEdit, CutAndPasteOnlyWhenTheEditorIsEnabledAndWritable) {
  auto tryCutAndPaste = [&] {
    spin->SetText("12");
    SetClipboardText("7");
    spin->SelectAll();
    QTest::keyClick(spin->Widget(), Qt::Key_X, Qt::ControlModifier);
    const std::string afterCut = spin->GetText() + "|" + ClipboardText();
    spin->SetText("12");
    SetClipboardText("7");
    spin->SelectAll();
    QTest::keyClick(spin->Widget(), Qt::Key_V, Qt::ControlModifier);
    return afterCut + "|" + spin->GetText();
  };
  spin->SetFocus();
  EXPECT_EQ(tryCutAndPaste(), "|12|7");
  spin->SetEditorEnabled(false);
  EXPECT_EQ(tryCutAndPaste(), "12|7|12");
  spin->SetEditorEnabled(true);
  spin->SetReadOnly(true);
  EXPECT_EQ(tryCutAndPaste(), "12|7|12");
}

// Counts the selection pastes a middle click asks for.
class CountingSpinEdit : public TCSpinEdit {
 public:
  using TCSpinEdit::TCSpinEdit;
  int pastes = 0;

 protected:
  void PasteSelection() override {
    ++pastes;
    TCSpinEdit::PasteSelection();
  }
};

TEST_F(SpinEdit, MiddleClickPasteGoesThroughTheSameRefusal) {
  auto* counting = Place<CountingSpinEdit>(*form, 152, 80, 97, 22);
  counting->SetText("12");
  counting->SetEditorEnabled(false);
  QTest::mouseClick(counting->Widget(), Qt::MiddleButton, {}, QPoint(10, 10));
  EXPECT_EQ(counting->pastes, 1);
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard->supportsSelection()) {  // window systems with a selection
    clipboard->setText("7", QClipboard::Selection);
    QTest::mouseClick(counting->Widget(), Qt::MiddleButton, {}, QPoint(10, 10));
    EXPECT_EQ(counting->GetText(), "12");
    counting->SetEditorEnabled(true);
    QTest::mouseClick(counting->Widget(), Qt::MiddleButton, {}, QPoint(10, 10));
    EXPECT_NE(counting->GetText(), "12");
  }
}

TEST_F(SpinEdit, ReadOnlyButtonsAndArrowsBeepAndKeepTheValue) {
  spin->SetReadOnly(true);
  spin->SetText("4");
  spin->SetFocus();
  TTimerSpeedButton* down = spin->SpinButton()->DownButton();
  EXPECT_EQ(Beeps([&] {
              QTest::keyClick(spin->Widget(), Qt::Key_Up);
              Press(down, Middle(down));
              Release(down, Middle(down));
            }),
            2);
  EXPECT_EQ(spin->GetText(), "4");
}

TEST_F(SpinEdit, MinimumHeightAndTheButtonAtTheRightEdge) {
  const int minHeight = spin->GetMinHeight();
  const int fontHeight = FontHeight(spin->Font());
  EXPECT_EQ(minHeight, fontHeight + std::min(SystemFontHeight(), fontHeight) / 4 + 4 + 2);
  const int height = std::max(22, minHeight);
  EXPECT_EQ(spin->BoundsRect(), Bounds(152, 44, 97, height));
  EXPECT_EQ(spin->SpinButton()->BoundsRect(), Bounds(77, 0, 15, height - 5));
  EXPECT_EQ(spin->SpinButton()->Parent(), spin);
  EXPECT_EQ(spin->FormattingRect().Right, 97 - 15 - 2);

  spin->SetHeight(10);
  EXPECT_EQ(spin->Height(), minHeight);
  EXPECT_EQ(spin->SpinButton()->Height(), minHeight - 5);
  spin->Font().SetHeight(-30);
  EXPECT_GT(spin->GetMinHeight(), minHeight);
  spin->SetBounds(0, 0, 120, 60);
  EXPECT_EQ(spin->SpinButton()->BoundsRect(), Bounds(100, 0, 15, 55));
}

TEST_F(SpinEdit, APressOnItsButtonFocusesTheEditAndNotTheButton) {
  other->SetFocus();
  TTimerSpeedButton* up = spin->SpinButton()->UpButton();
  Press(up, Middle(up));
  EXPECT_TRUE(spin->Focused());
  EXPECT_FALSE(spin->SpinButton()->Focused());
  Release(up, Middle(up));
  EXPECT_EQ(spin->GetText(), "1");
}

TEST_F(SpinEdit, EveryChangeOfTheTextIsReported) {
  spin->SetMinValue(2);
  spin->SetMaxValue(5);
  spin->SetFocus();
  Type("9");            // typed over the selection
  other->SetFocus();    // limited on leaving
  spin->SetValue(3);    // set
  spin->UpClick(spin);  // stepped
  spin->SetText("q");
  spin->GetValue();  // repaired
  EXPECT_EQ(changes, (std::vector<std::string>{"9", "5", "3", "4", "q", "2"}));
}

TEST_F(SpinEdit, DestroyingItsFormIsNoExit) {
  spin->SetMaxValue(10);
  spin->SetFocus();
  Type("25");
  int calls = 0;
  spin->OnChange = [&](TComponent*) { ++calls; };
  form.reset();
  EXPECT_EQ(calls, 0);
}

TEST(SpinControlsFromAForm, BothAreCreatedAndSetFromTheDescription) {
  RegisterControlClasses();
  THandlerTable handlers;
  std::vector<std::string> log;
  handlers.Add("SpinChange",
               [&](TComponent* sender) { log.push_back("change " + sender->Name()); });
  handlers.Add("SpinUp", [&](TComponent* sender) { log.push_back("up " + sender->Name()); });
  std::unique_ptr<TComponent> root(TFormReader(&handlers).Create(R"(
object Main: TForm
  object CSpinEdit1: TCSpinEdit
    Left = 152
    Top = 344
    Width = 97
    Height = 22
    MaxValue = 10
    MinValue = 1
    Value = 25
    EditorEnabled = False
    AutoSelect = False
    OnChange = SpinChange
  end
  object CSpinButton1: TCSpinButton
    Width = 10
    Height = 17
    TabStop = True
    OnUpClick = SpinUp
  end
end
)",
                                                                 nullptr));
  auto* form = dynamic_cast<TForm*>(root.get());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->ComponentCount(), 2);  // the embedded button is not described
  auto* edit = dynamic_cast<TCSpinEdit*>(form->FindComponent("CSpinEdit1"));
  auto* button = dynamic_cast<TCSpinButton*>(form->FindComponent("CSpinButton1"));
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(edit->GetText(), "10");
  EXPECT_EQ(edit->MinValue(), 1);
  EXPECT_FALSE(edit->EditorEnabled());
  EXPECT_FALSE(edit->AutoSelect());
  EXPECT_EQ(edit->Left(), 152);
  EXPECT_EQ(edit->SpinButton()->Left(), 77 + edit->Width() - 97);
  EXPECT_EQ(button->BoundsRect(), Bounds(0, 0, 15, 17));
  EXPECT_TRUE(button->TabStop());
  edit->DownClick(edit);
  button->UpButton()->Click();
  EXPECT_EQ(log, (std::vector<std::string>{"change CSpinEdit1", "up CSpinButton1"}));
}
