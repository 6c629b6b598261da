// Windows built from their layouts: fields, handlers bound by name, references across windows,
// and Loaded after the whole window is read.

#include <gtest/gtest.h>

#include "platform/controls/Application.h"
#include "platform/controls/Label.h"
#include "platform/controls/Layouts.h"
#include "platform/controls/Panel.h"
#include "platform/controls/SpeedButton.h"
#include "platform/rtl/ClassBuilder.h"
#include "tests/platform/controls/ControlsTestSupport.h"

class TLayoutMainForm : public TForm {
  DECLARE_CLASS(TLayoutMainForm)

 public:
  void FormCreate(TObject*) {
    ++created;
    loadingWhenCreated = Label1 && Label1->ComponentState().Contains(csLoading);
  }
  void LabelClick(TObject* sender) { clicks.push_back(sender); }

  TPanel* Panel1 = nullptr;
  TLabel* Label1 = nullptr;
  TSpeedButton* Button1 = nullptr;
  int created = 0;
  bool loadingWhenCreated = true;
  std::vector<TObject*> clicks;
};

DEFINE_CLASS(TLayoutMainForm, TForm) {
  c.Field("Panel1", &TLayoutMainForm::Panel1);
  c.Field("Label1", &TLayoutMainForm::Label1);
  c.Field("Button1", &TLayoutMainForm::Button1);
  c.Method("FormCreate", &TLayoutMainForm::FormCreate);
  c.Method("LabelClick", &TLayoutMainForm::LabelClick);
}

class TLayoutOtherForm : public TForm {
  DECLARE_CLASS(TLayoutOtherForm)

 public:
  TLabel* Buddy = nullptr;
};

DEFINE_CLASS(TLayoutOtherForm, TForm) { c.Field("Buddy", &TLayoutOtherForm::Buddy); }

namespace {

class FormLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    app = ApplicationInstance();
  }
  void TearDown() override {
    FreeAndNil(app);
    QApplication::processEvents();
    EXPECT_TRUE(controls_test::VisibleTopLevels().empty());
  }
  TApplication* app = nullptr;
};

}  // namespace

TEST_F(FormLayout, FormReadsItsLayoutWithFieldsHandlersAndLoaded) {
  ASSERT_FALSE(FindLayout("TLayoutMainForm").empty());
  TLayoutMainForm* form = nullptr;
  app->CreateForm(form);
  EXPECT_EQ(form->Name(), "layoutmain");
  EXPECT_EQ(form->Caption(), "版面測試");
  ASSERT_NE(form->Panel1, nullptr);
  ASSERT_NE(form->Label1, nullptr);
  ASSERT_NE(form->Button1, nullptr);
  EXPECT_EQ(form->Label1->Parent(), form->Panel1);
  EXPECT_EQ(form->Label1->Owner(), form);
  EXPECT_EQ(form->created, 1);
  // The glyph came from the project's image file, converted when the layout was built.
  ASSERT_FALSE(form->Button1->Glyph()->Empty());
  EXPECT_EQ(form->Button1->Glyph()->Width(), 4);
  EXPECT_EQ(form->Button1->Glyph()->Image().pixelColor(1, 1), QColor(Qt::red));
  EXPECT_FALSE(form->loadingWhenCreated);  // OnCreate runs after Loaded

  form->Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(WindowWidget(form->Handle())->window()));
  EXPECT_EQ(form->Panel1->Width(), form->ClientWidth());  // aligned to the top
  // A click on the label inside the panel runs the handler the layout named.
  QTest::mouseClick(WindowWidget(form->Panel1->Handle()), Qt::LeftButton, Qt::NoModifier, QPoint(20, 15));
  EXPECT_EQ(form->clicks, std::vector<TObject*>{form->Label1});
}

TEST_F(FormLayout, ReferenceToAComponentOfAnotherWindowIsResolved) {
  TLayoutMainForm* main = nullptr;
  app->CreateForm(main);
  TLayoutOtherForm* other = nullptr;
  app->CreateForm(other);
  ASSERT_NE(other->Buddy, nullptr);
  EXPECT_EQ(other->Buddy->PopupMenu(), main->Label1);
  main->Label1->Free();  // the reference does not dangle
  EXPECT_EQ(other->Buddy->PopupMenu(), nullptr);
}

TEST_F(FormLayout, SecondWindowFromTheSameLayoutGetsAFreeName) {
  TLayoutMainForm* first = nullptr;
  TLayoutMainForm* second = nullptr;
  app->CreateForm(first);
  app->CreateForm(second);
  EXPECT_EQ(first->Name(), "layoutmain");
  EXPECT_EQ(second->Name(), "layoutmain_1");
  EXPECT_NE(second->Label1, first->Label1);
}
