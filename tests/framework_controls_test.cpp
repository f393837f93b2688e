#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "framework/application.h"
#include "framework/button.h"
#include "framework/custom_edit.h"
#include "framework/form.h"
#include "framework/image.h"
#include "framework/keys.h"
#include "framework/label.h"
#include "framework/memo.h"
#include "framework/progress_bar.h"
#include "framework/screen.h"
#include "runtime/exception.h"

using namespace nitko;

namespace {

// A self-drawn control that records what reaches it.
class Probe : public TCustomControl {
 public:
  explicit Probe(TComponent* owner) : TCustomControl(owner) {}
  std::vector<std::string> log;
  std::vector<int> keys;
  std::vector<int> chars;
  char replaceWith = 0;

 protected:
  void Paint() override { log.push_back("paint"); }
  void MouseDown(TMouseButton, TShiftState shift, int x, int y) override {
    log.push_back("down " + std::to_string(x) + "," + std::to_string(y) +
                  ((shift & ssDouble) ? " double" : ""));
  }
  void MouseUp(TMouseButton, TShiftState, int x, int y) override {
    log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
  }
  void KeyDown(uint16_t& key, TShiftState) override { keys.push_back(key); }
  void KeyPress(char& key) override {
    chars.push_back(static_cast<unsigned char>(key));
    if (replaceWith) key = replaceWith;
  }
};

std::unique_ptr<TForm> MakeForm(int w = 300, int h = 200) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(10, 10, w, h);
  return form;
}

// Types one character the way a keyboard with that key would.
void TypeChar(QWidget* w, const QString& ch) {
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, ch);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, ch);
  QApplication::sendEvent(w, &release);
}

// Runs body once the modal loop that the next statement starts is running.
void WhenModal(std::function<void()> body) { QTimer::singleShot(0, std::move(body)); }

}  // namespace

TEST(ApplicationRules, TitleFromTheExecutableName) {
  EXPECT_EQ(TitleFromExeName("/usr/local/bin/NITKOGRAF.EXE"), "Nitkograf");
  EXPECT_EQ(TitleFromExeName("Nitkograf"), "Nitkograf");
  EXPECT_EQ(TitleFromExeName("./build/my.program.bin"), "my");  // the first stays as it is
  EXPECT_EQ(TitleFromExeName("dir.d/aBC"), "abc");
  EXPECT_EQ(TitleFromExeName(""), "");
}

TEST(ApplicationRules, ExceptionTextGetsAFullStop) {
  EXPECT_EQ(ExceptionDisplayText("Abc"), "Abc.");
  EXPECT_EQ(ExceptionDisplayText("Abc."), "Abc.");
  EXPECT_EQ(ExceptionDisplayText("Abc!"), "Abc!");
  EXPECT_EQ(ExceptionDisplayText("Abc-"), "Abc-");  // '-' sorts before '.'
  EXPECT_EQ(ExceptionDisplayText("Abc/"), "Abc/.");
  EXPECT_EQ(ExceptionDisplayText("Zażółć"), "Zażółć.");
  EXPECT_EQ(ExceptionDisplayText(""), "");
}

TEST(Forms, OuterSizeIncludesFrameAndCaption) {
  auto form = MakeForm(780, 638);
  EXPECT_EQ(form->ClientWidth(), 780 - 2 * form->FrameWidth());
  EXPECT_EQ(form->ClientHeight(), 638 - 2 * form->FrameWidth() - form->CaptionHeight());
  EXPECT_EQ(form->Widget()->width(), form->ClientWidth());
  const int cw = form->ClientWidth(), ch = form->ClientHeight();
  form->SetBorderStyle(TFormBorderStyle::bsDialog);
  EXPECT_EQ(form->ClientWidth(), cw);
  EXPECT_EQ(form->ClientHeight(), ch);
  form->SetBorderStyle(TFormBorderStyle::bsNone);
  EXPECT_EQ(form->Width(), cw);
}

TEST(Forms, ScreenCenterPlacesOnFirstShow) {
  auto form = MakeForm(400, 300);
  form->SetPosition(TPosition::poScreenCenter);
  form->Show();
  EXPECT_EQ(form->Left(), (ScreenWidth() - 400) / 2);
  EXPECT_EQ(form->Top(), (ScreenHeight() - 300) / 2);
  // The window system's resize of the shown window keeps the outer size.
  QApplication::processEvents();
  EXPECT_EQ(form->Width(), 400);
  EXPECT_EQ(form->Height(), 300);
  EXPECT_EQ(form->Widget()->height(), form->ClientHeight());
  form->Hide();
}

TEST(Forms, CaptionBecomesTheWindowTitle) {
  auto form = MakeForm();
  form->SetCaption("Dwa wątki");
  EXPECT_EQ(form->Widget()->windowTitle().toStdString(), "Dwa wątki");
}

TEST(Controls, ParentsOwnersAndDestruction) {
  auto form = MakeForm();
  auto* label = new TLabel(form.get());
  label->SetParent(form.get());
  TForm other(nullptr);
  auto* foreign = new TButton(&other);  // owned by another form
  foreign->SetParent(form.get());
  EXPECT_EQ(form->ControlCount(), 2);
  EXPECT_EQ(label->ParentForm(), form.get());
  EXPECT_THROW(form->Controls(2), EListError);
  form.reset();
  // The button outlives the form that held it and is unparented.
  EXPECT_EQ(foreign->Parent(), nullptr);
  EXPECT_EQ(other.ComponentCount(), 1);
}

TEST(Controls, FontAndColorFollowTheParentUntilSet) {
  auto form = MakeForm();
  auto* label = new TLabel(form.get());
  label->SetParent(form.get());
  form->Font().SetHeight(-16);
  form->SetColor(clSilver);
  EXPECT_EQ(label->Font().Height(), -16);
  EXPECT_EQ(label->Color(), clSilver);
  label->Font().SetColor(clNavy);  // an own font from now on
  EXPECT_FALSE(label->ParentFont());
  form->Font().SetHeight(-20);
  EXPECT_EQ(label->Font().Height(), -16);
  label->SetParentFont(true);
  EXPECT_EQ(label->Font().Height(), -20);
  EXPECT_EQ(label->Widget()->font().pixelSize(), 20);
}

TEST(Controls, InvalidateMergesRepaintPaintsNowUpdateOnlyWhenInvalid) {
  auto form = MakeForm();
  auto* probe = new Probe(form.get());
  probe->SetParent(form.get());
  probe->SetBounds(5, 5, 50, 40);
  form->Show();
  QApplication::processEvents();
  const int before = probe->PaintCount();
  probe->Invalidate();
  probe->Invalidate();
  probe->Invalidate();
  EXPECT_EQ(probe->PaintCount(), before);
  QApplication::processEvents();
  EXPECT_EQ(probe->PaintCount(), before + 1);
  probe->Update();
  EXPECT_EQ(probe->PaintCount(), before + 1);
  probe->Repaint();
  EXPECT_EQ(probe->PaintCount(), before + 2);
  probe->Invalidate();
  probe->Update();
  EXPECT_EQ(probe->PaintCount(), before + 3);
  form->Hide();
}

TEST(Controls, SelfDrawnControlsGetMouseAndClicks) {
  auto form = MakeForm();
  auto* probe = new Probe(form.get());
  probe->SetParent(form.get());
  probe->SetBounds(5, 5, 50, 40);
  int clicks = 0;
  probe->OnClick = [&](TComponent* sender) {
    EXPECT_EQ(sender, probe);
    ++clicks;
  };
  form->Show();
  QTest::mouseClick(probe->Widget(), Qt::LeftButton, {}, QPoint(10, 12));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(probe->log.back(), "up 10,12");
  // Released outside: no click.
  QTest::mousePress(probe->Widget(), Qt::LeftButton, {}, QPoint(10, 12));
  QTest::mouseRelease(probe->Widget(), Qt::LeftButton, {}, QPoint(80, 12));
  EXPECT_EQ(clicks, 1);
  QTest::mouseDClick(probe->Widget(), Qt::LeftButton, {}, QPoint(3, 4));
  EXPECT_NE(std::find(probe->log.begin(), probe->log.end(), "down 3,4 double"), probe->log.end());
  form->Hide();
}

TEST(Controls, KeysArriveAsVirtualKeysAndWindows1250Codes) {
  auto form = MakeForm();
  auto* probe = new Probe(form.get());
  probe->SetParent(form.get());
  probe->SetBounds(5, 5, 50, 40);
  form->Show();
  QTest::keyClick(probe->Widget(), Qt::Key_Up);
  QTest::keyClick(probe->Widget(), Qt::Key_A, Qt::NoModifier);
  TypeChar(probe->Widget(), "ą");
  TypeChar(probe->Widget(), "中");  // no 8-bit code: not a key press
  ASSERT_GE(probe->keys.size(), 2u);
  EXPECT_EQ(probe->keys[0], VK_UP);
  EXPECT_EQ(probe->keys[1], 'A');
  ASSERT_EQ(probe->chars.size(), 2u);
  EXPECT_EQ(probe->chars[0], 'a');
  EXPECT_EQ(probe->chars[1], 0xB9);
  form->Hide();
}

TEST(Controls, KeyPressCanRejectOrReplaceACharacter) {
  auto form = MakeForm();
  auto* edit = new TMaskEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(5, 5, 100, 21);
  std::vector<std::string> changes;
  edit->OnChange = [&](TComponent*) { changes.push_back(edit->GetText()); };
  edit->OnKeyPress = [](TComponent*, char& key) {
    if (key == 'x') key = 0;
    if (key == '.') key = ',';
  };
  form->Show();
  QTest::keyClicks(edit->Widget(), "1x.5");
  EXPECT_EQ(edit->GetText(), "1,5");
  EXPECT_EQ(changes, (std::vector<std::string>{"1", "1,", "1,5"}));
  edit->SetText("10");
  EXPECT_EQ(changes.back(), "10");
  form->Hide();
}

TEST(Controls, KeyPreviewLetsTheFormSeeKeysFirst) {
  auto form = MakeForm();
  auto* probe = new Probe(form.get());
  probe->SetParent(form.get());
  probe->SetBounds(5, 5, 50, 40);
  form->SetKeyPreview(true);
  form->OnKeyDown = [](TComponent*, uint16_t& key, TShiftState) {
    if (key == VK_DOWN) key = 0;
  };
  form->Show();
  QTest::keyClick(probe->Widget(), Qt::Key_Down);
  QTest::keyClick(probe->Widget(), Qt::Key_Up);
  EXPECT_EQ(probe->keys, std::vector<int>{VK_UP});
  form->Hide();
}

TEST(Forms, ShowModalEndsWithTheButtonsModalResult) {
  auto form = MakeForm();
  auto* ok = new TButton(form.get());
  ok->SetParent(form.get());
  ok->SetCaption("OK");
  ok->SetModalResult(mrOk);
  ok->SetDefault(true);
  ok->SetBounds(5, 5, 75, 25);
  auto* cancel = new TButton(form.get());
  cancel->SetParent(form.get());
  cancel->SetModalResult(mrCancel);
  cancel->SetCancel(true);
  cancel->SetBounds(5, 40, 75, 25);

  WhenModal([&] { QTest::mouseClick(ok->Widget(), Qt::LeftButton); });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(form->Visible());

  WhenModal([&] { QTest::keyClick(form->Widget(), Qt::Key_Escape); });
  EXPECT_EQ(form->ShowModal(), mrCancel);

  WhenModal([&] { QTest::keyClick(form->Widget(), Qt::Key_Return); });
  EXPECT_EQ(form->ShowModal(), mrOk);

  WhenModal([&] { form->Close(); });
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST(StandardControls, MemoKeepsTheLastLineInView) {
  auto form = MakeForm(400, 300);
  auto* memo = new TMemo(form.get());
  memo->SetParent(form.get());
  memo->SetBounds(5, 5, 273, 145);
  memo->SetScrollBars(TScrollStyle::ssVertical);
  memo->Lines().Add("Wyniki obliczeń x, f(x)");
  form->Show();
  for (int i = 0; i < 60; ++i) {
    memo->Lines().Add("  f(" + std::to_string(i) + ") = " + std::to_string(i * 2));
    QApplication::processEvents();
    ASSERT_TRUE(memo->LastLineVisible()) << i;
  }
  EXPECT_EQ(memo->Lines().Count(), 61);
  EXPECT_EQ(memo->Lines()[0], "Wyniki obliczeń x, f(x)");
  EXPECT_EQ(memo->Lines()[60], "  f(59) = 118");
  memo->Lines().Delete(0);
  EXPECT_EQ(memo->Lines()[0], "  f(0) = 0");
  memo->Lines().Clear();
  EXPECT_EQ(memo->Lines().Count(), 0);
  memo->Lines().Add("");
  EXPECT_EQ(memo->Lines().Count(), 1);
  form->Hide();
}

TEST(StandardControls, ProgressBarClampsAndSteps) {
  TForm form(nullptr);
  auto* bar = new TProgressBar(&form);
  bar->SetStep(5);
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 5);
  bar->SetPosition(250);
  EXPECT_EQ(bar->Position(), 100);
  bar->SetPosition(-3);
  EXPECT_EQ(bar->Position(), 0);
  bar->SetRange(10, 20);
  EXPECT_EQ(bar->Position(), 10);
}

TEST(StandardControls, ButtonClicksThroughItsWidget) {
  auto form = MakeForm();
  auto* button = new TBitBtn(form.get());
  button->SetParent(form.get());
  button->SetBounds(5, 5, 201, 25);
  button->SetCaption("Uruchom 1 watek");
  int clicks = 0;
  button->OnClick = [&](TComponent* s) { clicks += s == button; };
  form->Show();
  QTest::mouseClick(button->Widget(), Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(static_cast<QPushButton*>(button->Widget())->text().toStdString(), "Uruchom 1 watek");
  form->Hide();
}

TEST(ApplicationObject, HandlerExceptionsAreShownAndTheLoopGoesOn) {
  TApplication app;
  int argc = 1;
  char name[] = "/opt/NITKOGRAF.EXE";
  char* argv[] = {name, nullptr};
  app.Initialize(argc, argv);
  EXPECT_EQ(app.Title(), "Nitkograf");
  TForm* form = nullptr;
  app.CreateForm(form);
  EXPECT_EQ(app.MainForm(), form);
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(5, 5, 75, 25);
  int calls = 0;
  button->OnClick = [&](TComponent*) {
    ++calls;
    if (calls == 1) throw Exception("Abc");
    if (calls == 2) throw EAbort("silent");
  };
  std::string shownText, shownCaption;
  int boxes = 0;
  // Closes each message box as it appears and notes what it said.
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      ++boxes;
      shownText = box->text().toStdString();
      shownCaption = box->windowTitle().toStdString();
      EXPECT_EQ(box->icon(), QMessageBox::Critical);
      box->accept();
    }
  });
  watcher.start(10);
  QTimer::singleShot(0, [&] {
    QTest::mouseClick(button->Widget(), Qt::LeftButton);  // shown
    QTest::mouseClick(button->Widget(), Qt::LeftButton);  // EAbort: silent
    QTest::mouseClick(button->Widget(), Qt::LeftButton);  // no exception
    form->Close();
  });
  app.Run();
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(shownText, "Abc.");
  EXPECT_EQ(shownCaption, "Nitkograf");
}

TEST(ApplicationObject, AFailingFormConstructorLeavesNoForm) {
  struct Broken : TForm {
    explicit Broken(TComponent* owner) : TForm(owner) { throw Exception("no"); }
  };
  TApplication app;
  int argc = 1;
  char name[] = "x";
  char* argv[] = {name, nullptr};
  app.Initialize(argc, argv);
  Broken* form = reinterpret_cast<Broken*>(&app);
  EXPECT_THROW(app.CreateForm(form), Exception);
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(app.MainForm(), nullptr);
  EXPECT_EQ(app.ComponentCount(), 0);
}

TEST(ApplicationObject, StartUpFailuresAreShownAndTheExitCodeIsZero) {
  std::vector<std::string> shown;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown.push_back(box->text().toStdString());
      box->accept();
    }
  });
  watcher.start(10);
  int argc = 1;
  char name[] = "Nitkograf";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(RunProgram(argc, argv, [](TApplication&) { throw Exception("Brak okna"); }), 0);
  EXPECT_EQ(RunProgram(argc, argv, [](TApplication&) { throw 42; }), 0);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "Brak okna.");
  EXPECT_EQ(shown[1], "");
  // A normal run: the main form closes and the loop ends.
  EXPECT_EQ(RunProgram(argc, argv,
                       [](TApplication& app) {
                         TForm* form = nullptr;
                         app.CreateForm(form);
                         QTimer::singleShot(0, [form] { form->Close(); });
                       }),
            0);
}

TEST(Controls, AKeyAChildLeavesUnusedReachesTheFormOnce) {
  auto form = MakeForm();
  auto* edit = new TMaskEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(5, 5, 100, 21);
  int formKeys = 0;
  form->OnKeyDown = [&](TComponent*, uint16_t& key, TShiftState) { formKeys += key == VK_F1; };
  form->Show();
  edit->SetFocus();
  QApplication::processEvents();
  // Without a preview the form is not asked at all, with one exactly once,
  // although Qt hands the unused key on to the form's widget too.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
  EXPECT_EQ(formKeys, 0);
  form->SetKeyPreview(true);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
  EXPECT_EQ(formKeys, 1);
  form->Hide();
}

TEST(Controls, AHandlerMayDestroyItsOwnControl) {
  auto form = MakeForm();
  auto* image = new TImage(form.get());  // a self-drawn control
  image->SetParent(form.get());
  image->SetBounds(5, 5, 50, 40);
  image->OnMouseUp = [&](TComponent*, TMouseButton, TShiftState, int, int) { delete image; };
  auto* button = new TButton(form.get());
  button->SetParent(form.get());
  button->SetBounds(60, 5, 75, 25);
  button->SetModalResult(mrOk);
  button->OnClick = [&](TComponent*) { delete button; };
  form->Show();
  QTest::mouseClick(image->Widget(), Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseClick(button->Widget(), Qt::LeftButton);
  EXPECT_EQ(form->ComponentCount(), 0);
  form->Hide();
}

TEST(Forms, AModalFormMayBeDestroyedFromItsOwnLoop) {
  auto* form = new TForm(nullptr);
  form->SetBounds(0, 0, 200, 100);
  WhenModal([form] { delete form; });
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(Forms, AFailedShowModalLeavesNoModalWindow) {
  auto form = MakeForm();
  form->OnShow = [](TComponent*) { throw Exception("no"); };
  EXPECT_THROW(form->ShowModal(), Exception);
  EXPECT_FALSE(form->Widget()->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(StandardControls, MemoTakesEnterAndPassesTab) {
  auto form = MakeForm(400, 300);
  auto* memo = new TMemo(form.get());
  memo->SetParent(form.get());
  memo->SetBounds(5, 5, 200, 100);
  auto* next = new TButton(form.get());
  next->SetParent(form.get());
  next->SetBounds(5, 120, 75, 25);
  next->SetDefault(true);
  int clicks = 0;
  next->OnClick = [&](TComponent*) { ++clicks; };
  memo->Lines().Add("a");
  form->Show();
  memo->SetFocus();
  QApplication::processEvents();
  QTest::keyClick(memo->Widget(), Qt::Key_End);
  QTest::keyClick(memo->Widget(), Qt::Key_Return);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(memo->Lines().Count(), 2);
  QTest::keyClick(memo->Widget(), Qt::Key_Tab);
  EXPECT_EQ(memo->Lines().Count(), 2);
  EXPECT_EQ(memo->Lines()[1], "");
  form->Hide();
}

TEST(StandardControls, MemoKeepsALastEmptyLine) {
  TForm form(nullptr);
  auto* memo = new TMemo(&form);
  memo->Lines().Add("a");
  memo->Lines().Insert(0, "");
  memo->Lines().Delete(1);
  ASSERT_EQ(memo->Lines().Count(), 1);
  EXPECT_EQ(memo->Lines()[0], "");
}
