#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "framework/button.h"
#include "framework/class_registry.h"
#include "framework/custom_edit.h"
#include "framework/form.h"
#include "framework/form_reader.h"
#include "framework/label.h"
#include "framework/memo.h"
#include "framework/progress_bar.h"
#include "framework/screen.h"
#include "framework/standard_classes.h"

using namespace nitko;

namespace {

// A form built from its description in the resources, as the program's
// main window is.
class TTestForm : public TForm {
 public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {
    handlers_.Add("Button1Click", [this](TComponent* sender) { Button1Click(sender); });
    TFormReader(&handlers_).ReadResource(*this, "test_form.form");
  }
  template <class T>
  T* Find(const char* name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  TComponent* clickedBy = nullptr;

 private:
  void Button1Click(TComponent* sender) {
    clickedBy = sender;
    Find<TProgressBar>("ProgressBar1")->StepIt();
    Find<TMemo>("Memo1")->Lines().Add("  f(0) = 0");
  }
  THandlerTable handlers_;
};

class FormLoading : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterStandardClasses();
    if (Classes().Find("TTestForm") == nullptr) Classes().Register<TTestForm>("TTestForm", "TForm");
  }
};

}  // namespace

TEST_F(FormLoading, BuildsTheControlsFromTheDescription) {
  TTestForm form(nullptr);
  EXPECT_EQ(form.Name(), "TestForm");
  EXPECT_EQ(form.GetText(), "Próba");
  EXPECT_EQ(form.Width(), 320);
  EXPECT_EQ(form.ControlCount(), 5);
  EXPECT_EQ(form.ComponentCount(), 5);

  auto* label = form.Find<TLabel>("Label1");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->BoundsRect(), Bounds(8, 8, 23, 20));
  EXPECT_EQ(label->Caption(), "a =");
  EXPECT_EQ(label->Font().Height(), -16);
  EXPECT_EQ(label->Font().Name(), "MS Sans Serif");  // the rest from the form

  auto* edit = form.Find<TMaskEdit>("Edit1");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->GetText(), "poczatek");
  EXPECT_EQ(edit->Color(), clSilver);
  EXPECT_EQ(edit->Parent(), &form);
  EXPECT_EQ(edit->TabOrder(), 1);
  EXPECT_EQ(form.Find<TBitBtn>("Button1")->TabOrder(), 0);

  auto* memo = form.Find<TMemo>("Memo1");
  ASSERT_EQ(memo->Lines().Count(), 1);
  EXPECT_EQ(memo->Lines()[0], "Wyniki obliczeń x, f(x)");
  EXPECT_EQ(memo->ScrollBars(), TScrollStyle::ssVertical);
  EXPECT_EQ(form.Find<TProgressBar>("ProgressBar1")->Step(), 5);
}

TEST_F(FormLoading, OpensCentredAndReactsToAClick) {
  TTestForm form(nullptr);
  form.Show();
  QApplication::processEvents();
  EXPECT_TRUE(form.Widget()->isVisible());
  EXPECT_EQ(form.Left(), (ScreenWidth() - 320) / 2);
  auto* button = form.Find<TBitBtn>("Button1");
  EXPECT_EQ(button->Widget()->geometry(), QRect(216, 8, 75, 25));
  EXPECT_EQ(static_cast<QPushButton*>(button->Widget())->text(), "Uruchom");
  QTest::mouseClick(button->Widget(), Qt::LeftButton);
  EXPECT_EQ(form.clickedBy, button);
  EXPECT_EQ(form.Find<TProgressBar>("ProgressBar1")->Position(), 5);
  EXPECT_EQ(form.Find<TMemo>("Memo1")->Lines().Count(), 2);
  form.Hide();
}

TEST_F(FormLoading, ABrokenDescriptionLeavesNothingBehind) {
  TForm root(nullptr);
  TFormReader reader;
  const char* broken =
      "object F: TForm\n"
      "  object L: TLabel\n"
      "    Caption = 'x'\n"
      "  end\n"
      "  object B: TButton\n"
      "    Colour = clRed\n"
      "  end\n"
      "end\n";
  try {
    reader.Read(root, broken);
    FAIL() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Line(), 6);
    EXPECT_NE(e.Message().find("Colour"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(root.ComponentCount(), 0);
  EXPECT_EQ(root.ControlCount(), 0);
  EXPECT_THROW(reader.Read(root, "object F: TForm\n  Position = poNowhere\nend\n"), EReadError);
}

TEST_F(FormLoading, TabOrdersAreKeptWhateverOrderTheControlsComeIn) {
  TForm root(nullptr);
  // Created C, B, A, but tabbed A, B, C: the orders of C and B name places
  // that do not exist until the others are read.
  TFormReader().Read(root,
                     "object F: TForm\n"
                     "  object C: TButton\n    TabOrder = 2\n  end\n"
                     "  object B: TButton\n    TabOrder = 1\n  end\n"
                     "  object A: TButton\n    TabOrder = 0\n  end\n"
                     "end\n");
  const auto order = [&](const char* name) {
    return dynamic_cast<TWinControl*>(root.FindComponent(name))->TabOrder();
  };
  EXPECT_EQ(order("A"), 0);
  EXPECT_EQ(order("B"), 1);
  EXPECT_EQ(order("C"), 2);
  // Outside loading a change takes effect at once.
  dynamic_cast<TWinControl*>(root.FindComponent("C"))->SetTabOrder(0);
  EXPECT_EQ(order("C"), 0);
  EXPECT_EQ(order("A"), 1);
}
