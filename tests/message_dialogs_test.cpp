#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QStyleOption>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <set>

#include "dialogs/message_dialogs.h"
#include "framework/application.h"
#include "framework/bitmap.h"
#include "framework/button.h"
#include "framework/canvas.h"
#include "framework/image.h"
#include "framework/label.h"
#include "framework/screen.h"
#include "framework/surface.h"

using namespace nitko;
using B = MessageDialogButton;

namespace {

// The metrics a dialog should derive, measured here on the same font.
struct Expected {
  int w, h;
  explicit Expected(const TFont& font) {
    TCanvas canvas;
    canvas.Font().Assign(font);
    TSize s = canvas.TextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    w = s.cx / 52;
    h = s.cy;
  }
  int horzMargin() const { return MulDiv(8, w, 4); }
  int vertMargin() const { return MulDiv(8, h, 8); }
  int horzSpacing() const { return MulDiv(10, w, 4); }
  int vertSpacing() const { return MulDiv(10, h, 8); }
  int buttonHeight() const { return MulDiv(14, h, 8); }
  int buttonSpacing() const { return MulDiv(4, w, 4); }
};

TFont MessageFont() {
  TFont f;
  ReadSystemMessageFont(f);
  return f;
}

TButton* ButtonNamed(TMessageForm& form, const char* name) {
  return dynamic_cast<TButton*>(form.FindComponent(name));
}

class Dialogs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    app_ = new TApplication;
    static int argc = 1;
    static char name[] = "/usr/bin/Nitkograf";
    static char* argv[] = {name, nullptr};
    app_->Initialize(argc, argv);
  }
  static void TearDownTestSuite() {
    delete app_;
    app_ = nullptr;
  }
  static TApplication* app_;
};
TApplication* Dialogs::app_ = nullptr;

}  // namespace

TEST_F(Dialogs, InformationWithOkHasIconCaptionAndOneButton) {
  TMessageForm form("Wprowadz liczby", MessageDialogKind::mtInformation, {B::mbOK});
  const Expected e(MessageFont());
  const auto& m = form.LayoutMetrics();
  EXPECT_EQ(m.averageWidth, e.w);
  EXPECT_EQ(m.averageHeight, e.h);
  EXPECT_EQ(form.GetText(), "Information");
  EXPECT_EQ(form.BorderStyle(), TFormBorderStyle::bsDialog);

  auto* image = dynamic_cast<TImage*>(form.FindComponent("Image"));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->BoundsRect(), Bounds(e.horzMargin(), e.vertMargin(), 32, 32));
  // The icon is drawn: not all of it is the background.
  bool drawn = false;
  for (int y = 0; y < 32 && !drawn; ++y)
    for (int x = 0; x < 32 && !drawn; ++x)
      drawn = image->Picture().Surface().Pixel(x, y) != image->Picture().Surface().Pixel(0, 0);
  EXPECT_TRUE(drawn);

  TButton* ok = ButtonNamed(form, "OK");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->Caption(), "OK");
  EXPECT_TRUE(ok->Default());
  EXPECT_TRUE(ok->Cancel());
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_EQ(form.ComponentCount(), 3);  // image, message, button
}

TEST_F(Dialogs, LayoutFollowsTheMeasuredMetrics) {
  const std::string text = "Czas pracy watku 2: 10109 ms";
  TMessageForm form(text, MessageDialogKind::mtConfirmation, {B::mbYes, B::mbNo, B::mbCancel});
  const Expected e(MessageFont());
  TCanvas canvas;
  canvas.Font().Assign(MessageFont());
  TRect textRect = Rect(0, 0, ScreenWidth() / 2, 0);
  canvas.DrawText(textRect, text, dtCalcRect | dtWordBreak | dtExpandTabs);

  int buttonWidth = MulDiv(50, e.w, 4);
  for (B b : {B::mbYes, B::mbNo, B::mbCancel}) {
    TRect r{};
    canvas.DrawText(r, MessageDialogButtonCaption(b), dtCalcRect | dtSingleLine);
    EXPECT_EQ(CachedButtonWidth(b), r.Width() + 8);
    buttonWidth = std::max(buttonWidth, r.Width() + 8);
  }
  const int blockWidth = textRect.Right + e.horzSpacing() + 32;
  const int blockHeight = std::max(textRect.Bottom, 32);
  const int rowWidth = 3 * buttonWidth + 2 * e.buttonSpacing();
  EXPECT_EQ(form.ClientWidth(), std::max(blockWidth, rowWidth) + 2 * e.horzMargin());
  EXPECT_EQ(form.ClientHeight(), blockHeight + e.buttonHeight() + e.vertSpacing() + 2 * e.vertMargin());
  EXPECT_EQ(form.GetText(), "Confirm");

  auto* label = dynamic_cast<TLabel*>(form.FindComponent("Message"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Caption(), text);
  EXPECT_EQ(label->BoundsRect(),
            Bounds(blockWidth - textRect.Right + e.horzMargin(), e.vertMargin(), textRect.Right,
                   textRect.Bottom));

  int x = (form.ClientWidth() - rowWidth) / 2;
  const int y = blockHeight + e.vertMargin() + e.vertSpacing();
  for (const char* name : {"Yes", "No", "Cancel"}) {
    TButton* b = ButtonNamed(form, name);
    ASSERT_NE(b, nullptr) << name;
    EXPECT_EQ(b->BoundsRect(), Bounds(x, y, buttonWidth, e.buttonHeight())) << name;
    x += buttonWidth + e.buttonSpacing();
  }
  EXPECT_TRUE(ButtonNamed(form, "Yes")->Default());
  EXPECT_TRUE(ButtonNamed(form, "Cancel")->Cancel());
  EXPECT_FALSE(ButtonNamed(form, "No")->Cancel());
  EXPECT_EQ(ButtonNamed(form, "No")->ModalResult(), mrNo);
  EXPECT_EQ(ButtonNamed(form, "Yes")->Caption(), "&Yes");
}

TEST_F(Dialogs, EmptyMessageIsAsWideAsItsButtonRow) {
  TMessageForm form("", MessageDialogKind::mtCustom, {B::mbOK, B::mbCancel});
  const auto& m = form.LayoutMetrics();
  EXPECT_EQ(m.textWidth, 0);
  const int rowWidth = 2 * m.buttonWidth + m.buttonSpacing;
  EXPECT_EQ(form.ClientWidth(), rowWidth + 2 * m.horzMargin);
  EXPECT_EQ(form.FindComponent("Image"), nullptr);
  EXPECT_EQ(form.GetText(), "Nitkograf");  // custom: the application title
}

TEST_F(Dialogs, LongMessagesWrapInsideHalfTheScreen) {
  std::string text;
  for (int i = 0; i < 80; ++i) text += "slowo" + std::to_string(i) + " ";
  TMessageForm form(text, MessageDialogKind::mtWarning, {B::mbOK});
  const auto& m = form.LayoutMetrics();
  EXPECT_LE(m.textWidth, ScreenWidth() / 2);
  EXPECT_GT(m.textWidth, ScreenWidth() / 4);
  EXPECT_GE(m.textHeight, 3 * m.averageHeight);
  EXPECT_EQ(m.textHeight % m.averageHeight, 0);
  EXPECT_EQ(form.GetText(), "Warning");
}

TEST_F(Dialogs, AnAmpersandInTheMessageIsMeasuredAsShown) {
  const std::string text = "Zapis & odczyt pliku";
  TMessageForm form(text, MessageDialogKind::mtInformation, {B::mbOK});
  TCanvas canvas;
  canvas.Font().Assign(MessageFont());
  EXPECT_EQ(form.LayoutMetrics().textWidth, canvas.TextWidth(text));
  EXPECT_EQ(form.LayoutMetrics().textHeight, canvas.TextHeight(text));
}

TEST_F(Dialogs, RetryIsTheDefaultWhenThereIsNoOkOrYes) {
  TMessageForm form("x", MessageDialogKind::mtError, {B::mbAbort, B::mbRetry, B::mbIgnore});
  EXPECT_TRUE(ButtonNamed(form, "Retry")->Default());
  EXPECT_FALSE(ButtonNamed(form, "Abort")->Cancel());
  EXPECT_EQ(form.CancelButton(), nullptr);
  EXPECT_EQ(form.GetText(), "Error");
  TMessageForm help("x", MessageDialogKind::mtCustom, {B::mbHelp});
  EXPECT_EQ(ButtonNamed(help, "Help")->ModalResult(), mrNone);
}

TEST_F(Dialogs, CtrlCCopiesTheWholeDialogAsText) {
  TMessageForm form("Abc", MessageDialogKind::mtInformation, {B::mbYes, B::mbNoToAll});
  form.Show();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, "\x03");
  QApplication::sendEvent(form.Widget(), &press);
  const std::string d = "---------------------------\n";
  EXPECT_EQ(ClipboardText(), d + "Information\n" + d + "Abc\n" + d + "   Yes   No to All\n" + d);
  EXPECT_EQ(form.ClipboardReport(), ClipboardText());
  form.Hide();
}

TEST_F(Dialogs, ShowMessageDialogReturnsTheChosenButtonAndCleansUp) {
  const int before = QApplication::topLevelWidgets().size();
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible())
        for (QPushButton* b : w->findChildren<QPushButton*>())
          if (b->text() == "&No") QTest::mouseClick(b, Qt::LeftButton);
  });
  EXPECT_EQ(ShowMessageDialog("Dalej?", MessageDialogKind::mtConfirmation, {B::mbYes, B::mbNo}, 0),
            mrNo);
  EXPECT_EQ(QApplication::topLevelWidgets().size(), before);

  // Escape presses OK, the cancel button of ShowTextMessage.
  QTimer::singleShot(0, [] {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(QApplication::activeModalWidget(), &esc);
  });
  ShowTextMessage("Czas: 10109 ms");
  EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
}

TEST_F(Dialogs, PositionedDialogKeepsTheGivenEdge) {
  TRect where{};
  QTimer::singleShot(0, [&] {
    QWidget* w = QApplication::activeModalWidget();
    where = Bounds(w->x(), w->y(), w->width(), w->height());
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &esc);
  });
  EXPECT_EQ(ShowMessageDialogPos("x", MessageDialogKind::mtInformation, {B::mbOK}, 0, 37, -1), mrOk);
  EXPECT_EQ(where.Left, 37);
}

// The style caches a button's face under its palette's key: a message form
// made again must draw through the key of the one before (else each leaves
// its pictures in the cache), and look the same.
TEST_F(Dialogs, AFormMadeAgainDrawsItsButtonThroughTheSamePalette) {
  struct PaletteKeys : QProxyStyle {
    mutable std::set<qint64> seen;
    void drawPrimitive(PrimitiveElement pe, const QStyleOption* option, QPainter* p,
                       const QWidget* w) const override {
      if (pe == PE_PanelButtonCommand) seen.insert(option->palette.cacheKey());
      QProxyStyle::drawPrimitive(pe, option, p, w);
    }
  } keys;
  QImage first;
  for (int round = 0; round < 3; ++round) {
    TMessageForm form("Czas: 10109 ms", MessageDialogKind::mtCustom, {B::mbOK});
    ButtonNamed(form, "OK")->Widget()->setStyle(&keys);
    form.Show();
    const QImage image = form.Widget()->grab().toImage();
    if (round == 0) first = image;
    EXPECT_EQ(image, first);
    form.Hide();
  }
  EXPECT_EQ(keys.seen.size(), 1u);
}
