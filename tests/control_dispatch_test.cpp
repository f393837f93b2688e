// A handler may destroy its control, or the window the control sits on, from
// any event: nothing may touch them afterwards and the event must not reach
// the dead widget.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QWidget>

#include "framework/button.h"
#include "framework/custom_edit.h"
#include "framework/memo.h"
#include "framework/form.h"
#include "runtime/exception.h"

using namespace nitko;

namespace {

// A self-drawn windowed control with a paint hook, as the chart's panels are.
class PaintedControl : public TCustomControl {
 public:
  explicit PaintedControl(TComponent* owner) : TCustomControl(owner) {}
  std::function<void()> OnPaint;

 protected:
  void Paint() override {
    if (OnPaint) OnPaint();
  }
};

enum class Kind { standard, selfDrawn };
enum class Victim { control, window };

using Destroy = std::function<void()>;
// Makes the handler of the row's kind call destroy.
using Hook = void (*)(TWinControl&, const Destroy& destroy);
// Sends the row's events to the widget; returns whether the last one was eaten.
using Trigger = bool (*)(QWidget*);

struct Row {
  const char* name;
  Hook hook;
  Trigger trigger;
  bool selfDrawnOnly;
};

bool Send(QWidget* w, QEvent&& e) { return QApplication::sendEvent(w, &e); }

bool SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button) {
  const QPointF at(5, 5);
  const Qt::MouseButtons held =
      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  const Qt::MouseButton changed = type == QEvent::MouseMove ? Qt::NoButton : button;
  return Send(w, QMouseEvent(type, at, w->mapToGlobal(at), changed, held, Qt::NoModifier));
}

bool SendKey(QWidget* w, QEvent::Type type, int key, const QString& text,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  return Send(w, QKeyEvent(type, key, modifiers, text));
}

const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = {
      {"MouseDown",
       [](TWinControl& c, const Destroy& destroy) {
         c.OnMouseDown = [&destroy](TComponent*, TMouseButton, TShiftState, int, int) { destroy(); };
       },
       [](QWidget* w) { return SendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton); }, false},
      {"MouseMove",
       [](TWinControl& c, const Destroy& destroy) {
         c.OnMouseMove = [&destroy](TComponent*, TShiftState, int, int) { destroy(); };
       },
       // A drag: without a button held Qt drops moves before any filter sees them.
       [](QWidget* w) { return SendMouse(w, QEvent::MouseMove, Qt::LeftButton); }, false},
      {"MouseUp",
       [](TWinControl& c, const Destroy& destroy) {
         c.OnMouseUp = [&destroy](TComponent*, TMouseButton, TShiftState, int, int) { destroy(); };
       },
       [](QWidget* w) { return SendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton); }, false},
      {"MouseWheel",
       [](TWinControl& c, const Destroy& destroy) {
         c.OnMouseWheel = [&destroy](TComponent*, TShiftState, int, int, int) { destroy(); };
       },
       [](QWidget* w) {
         const QPointF at(5, 5);
         return Send(w, QWheelEvent(at, w->mapToGlobal(at), QPoint(), QPoint(0, -120),
                                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false));
       },
       false},
      {"MouseLeave",
       [](TWinControl& c, const Destroy& destroy) {
         c.OnMouseLeave = [&destroy](TComponent*) { destroy(); };
       },
       [](QWidget* w) { return Send(w, QEvent(QEvent::Leave)); }, false},
      {"DoubleClick",
       [](TWinControl& c, const Destroy& destroy) { c.OnDblClick = [&destroy](TComponent*) { destroy(); }; },
       [](QWidget* w) { return SendMouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton); }, false},
      {"Click",
       [](TWinControl& c, const Destroy& destroy) { c.OnClick = [&destroy](TComponent*) { destroy(); }; },
       [](QWidget* w) {
         SendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton);
         return SendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton);
       },
       false},
      {"KeyDown",
       [](TWinControl& c, const Destroy& destroy) {
         c.OnKeyDown = [&destroy](TComponent*, uint16_t&, TShiftState) { destroy(); };
       },
       [](QWidget* w) { return SendKey(w, QEvent::KeyPress, Qt::Key_F2, {}); }, false},
      {"KeyPress",
       [](TWinControl& c, const Destroy& destroy) {
         c.OnKeyPress = [&destroy](TComponent*, char&) { destroy(); };
       },
       [](QWidget* w) { return SendKey(w, QEvent::KeyPress, Qt::Key_A, "a"); }, false},
      {"KeyUp",
       [](TWinControl& c, const Destroy& destroy) {
         c.OnKeyUp = [&destroy](TComponent*, uint16_t&, TShiftState) { destroy(); };
       },
       [](QWidget* w) { return SendKey(w, QEvent::KeyRelease, Qt::Key_A, "a"); }, false},
      {"Enter",
       [](TWinControl& c, const Destroy& destroy) { c.OnEnter = [&destroy](TComponent*) { destroy(); }; },
       [](QWidget* w) { return Send(w, QFocusEvent(QEvent::FocusIn, Qt::TabFocusReason)); }, false},
      {"Exit",
       [](TWinControl& c, const Destroy& destroy) { c.OnExit = [&destroy](TComponent*) { destroy(); }; },
       [](QWidget* w) { return Send(w, QFocusEvent(QEvent::FocusOut, Qt::TabFocusReason)); }, false},
      {"Resize",
       [](TWinControl& c, const Destroy& destroy) { c.OnResize = [&destroy](TComponent*) { destroy(); }; },
       // What a layout or the window system does: the widget gets a new size.
       [](QWidget* w) { return Send(w, QResizeEvent(w->size() + QSize(7, 3), w->size())); },
       false},
      {"Paint",
       [](TWinControl& c, const Destroy& destroy) {
         static_cast<PaintedControl&>(c).OnPaint = [&destroy] { destroy(); };
         c.Invalidate();
       },
       [](QWidget* w) { return Send(w, QPaintEvent(w->rect())); }, true},
  };
  return rows;
}

struct Case {
  size_t row;
  Kind kind;
  Victim victim;
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  for (size_t i = 0; i < Rows().size(); ++i)
    for (Kind kind : {Kind::standard, Kind::selfDrawn})
      for (Victim victim : {Victim::control, Victim::window})
        if (kind == Kind::selfDrawn || !Rows()[i].selfDrawnOnly) cases.push_back({i, kind, victim});
  return cases;
}

std::string CaseName(const testing::TestParamInfo<Case>& info) {
  const Case& c = info.param;
  return std::string(Rows()[c.row].name) + (c.kind == Kind::standard ? "_OnAButton" : "_OnASelfDrawnControl") +
         (c.victim == Victim::control ? "_DestroysTheControl" : "_DestroysTheWindow");
}

class DestroyFromHandler : public testing::TestWithParam<Case> {};

TEST_P(DestroyFromHandler, NothingTouchesWhatDiedAndTheEventIsEaten) {
  const Case& c = GetParam();
  const Row& row = Rows()[c.row];
  auto* form = new TForm(nullptr);
  form->SetBounds(10, 10, 300, 200);
  // A control that outlives its window is owned elsewhere and only sits on it.
  TComponent* owner = c.victim == Victim::control ? form : nullptr;
  TWinControl* control = c.kind == Kind::standard ? static_cast<TWinControl*>(new TButton(owner))
                                                   : new PaintedControl(owner);
  control->SetParent(form);
  control->SetBounds(20, 20, 80, 30);
  form->Show();
  QApplication::processEvents();

  QPointer<QWidget> formWidget(form->Widget());
  QPointer<QWidget> controlWidget(control->Widget());
  int runs = 0;
  const Destroy destroy = [&] {
    ++runs;
    if (c.victim == Victim::control)
      delete control;
    else
      delete form;
  };
  row.hook(*control, destroy);
  const bool eaten = row.trigger(controlWidget);
  // A widget whose own signal destroyed its control goes once Qt is out of it.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(eaten);
  if (c.victim == Victim::control) {
    EXPECT_TRUE(controlWidget.isNull());
    EXPECT_EQ(formWidget.isNull() ? -1 : form->ComponentCount(), 0);
  } else {
    EXPECT_TRUE(formWidget.isNull());
    ASSERT_FALSE(controlWidget.isNull());
    EXPECT_EQ(control->Parent(), nullptr);
    delete control;
  }
  if (!formWidget.isNull()) delete form;
}

INSTANTIATE_TEST_SUITE_P(EveryHandler, DestroyFromHandler, testing::ValuesIn(Cases()), CaseName);

// Handlers that run from a standard widget's own signal or key handling:
// Qt's code is still running inside that widget when they destroy it.
struct SignalRow {
  const char* name;
  TWinControl* (*make)(TComponent* owner, const Destroy& destroy);
  int key;
  Qt::KeyboardModifiers modifiers;
  const char* text;
};

const SignalRow kSignalRows[] = {
    {"EditChangeFromTyping",
     [](TComponent* owner, const Destroy& destroy) -> TWinControl* {
       auto* edit = new TMaskEdit(owner);
       edit->OnChange = [&destroy](TComponent*) { destroy(); };
       return edit;
     },
     Qt::Key_A, Qt::NoModifier, "a"},
    {"MemoChangeFromTyping",
     [](TComponent* owner, const Destroy& destroy) -> TWinControl* {
       auto* memo = new TMemo(owner);
       memo->OnChange = [&destroy](TComponent*) { destroy(); };
       return memo;
     },
     Qt::Key_A, Qt::NoModifier, "a"},
    {"EditKeyDownBeforePaste",
     [](TComponent* owner, const Destroy& destroy) -> TWinControl* {
       auto* edit = new TMaskEdit(owner);
       edit->OnKeyDown = [&destroy](TComponent*, uint16_t&, TShiftState) { destroy(); };
       return edit;
     },
     Qt::Key_V, Qt::ControlModifier, ""},
    {"ButtonClickFromSpace",
     [](TComponent* owner, const Destroy& destroy) -> TWinControl* {
       auto* button = new TButton(owner);
       button->OnClick = [&destroy](TComponent*) { destroy(); };
       return button;
     },
     Qt::Key_Space, Qt::NoModifier, " "},
};

TEST(DestroyFromWidgetSignal, TheWidgetOutlivesItsControlOnlyUntilQtLeavesIt) {
  for (const SignalRow& row : kSignalRows) {
    for (Victim victim : {Victim::control, Victim::window}) {
      SCOPED_TRACE(std::string(row.name) + (victim == Victim::control ? " control" : " window"));
      auto* form = new TForm(nullptr);
      form->SetBounds(10, 10, 300, 200);
      TWinControl* control = nullptr;
      int runs = 0;
      const Destroy destroy = [&] {
        if (runs++ > 0) return;
        if (victim == Victim::control)
          delete control;
        else
          delete form;
      };
      control = row.make(form, destroy);
      control->SetParent(form);
      control->SetBounds(20, 20, 120, 60);
      form->Show();
      QApplication::processEvents();
      QPointer<QWidget> formWidget(form->Widget());
      QPointer<QWidget> widget(control->Widget());
      SendKey(widget, QEvent::KeyPress, row.key, row.text, row.modifiers);
      if (!widget.isNull()) SendKey(widget, QEvent::KeyRelease, row.key, row.text, row.modifiers);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      EXPECT_EQ(runs, 1);
      EXPECT_TRUE(widget.isNull());
      if (!formWidget.isNull()) {
        EXPECT_EQ(form->ComponentCount(), 0);
        delete form;
      }
    }
  }
}

}  // namespace

namespace {

// A control whose reaction to a new font fails, as one that measures its
// text with it may.
class FontFailingControl : public TCustomControl {
 public:
  explicit FontFailingControl(TComponent* owner) : TCustomControl(owner) {}
  bool fail = false;

 protected:
  void FontChanged() override {
    TCustomControl::FontChanged();
    if (!fail) return;
    fail = false;
    throw Exception("Font not available");
  }
};

}  // namespace

TEST(ControlFlags, AFailedParentFontChangeLeavesTheChildsOwnFontItsOwn) {
  TForm form(nullptr);
  auto* child = new FontFailingControl(&form);
  child->SetParent(&form);
  child->fail = true;
  EXPECT_THROW(form.Font().SetSize(14), Exception);
  EXPECT_EQ(child->Font().Size(), 14);
  // Set on the child itself: the child no longer follows its parent.
  child->Font().SetSize(20);
  EXPECT_FALSE(child->ParentFont());
  form.Font().SetSize(9);
  EXPECT_EQ(child->Font().Size(), 20);
}
