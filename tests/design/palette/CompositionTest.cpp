// Composing a palette while it is being designed: dropped controls become prototypes on the
// deposit panel with a button each, laid out in a grid; deleting a button deletes its prototype.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <string>
#include <vector>

#include "design/palette/DsnPanel.h"
#include "design/palette/PaletteBitmaps.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Label.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

template <class T>
T* Find(TComponent* owner, const std::string& name) {
  return dynamic_cast<T*>(owner->FindComponent(name));
}

// A palette of 130 pixels with buttons of 50 x 30: two columns.
class CompositionTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    palette = New<TDsnPanel>(form);
    palette->SetParent(form);
    palette->SetName("DsnPanel1");
    palette->SetBounds(0, 0, 130, 280);
    palette->SetBtnWidth(50);
    palette->SetBtnHeight(30);
    form->SetDesigning(true);
  }
  void TearDown() override {
    for (const char* name : {"TLABEL", "TCOMPONENT", "ARROWBUTTON"}) UnRegisterPaletteBitmap(name);
    FormTest::TearDown();
  }

  // Puts a new control of class T onto the palette, as a form designer does.
  template <class T>
  T* DropNew() {
    auto* control = New<T>(form);
    control->SetParent(palette);
    return control;
  }
  template <class T>
  T* Drop() {
    T* control = DropNew<T>();
    DispatchPostedMessages();
    return control;
  }

  TDsnButton* Button(int n) { return Find<TDsnButton>(form, "DsnButton" + std::to_string(n)); }
  TWinControl* DepositPanel() { return Find<TWinControl>(form, "DsnDpstPanel"); }

  TDsnPanel* palette = nullptr;
};

QImage Filled(QRgb color) {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

TEST_F(CompositionTest, DroppedControlsBecomePrototypesWithButtonsFillingTheGridByRows) {
  std::vector<TLabel*> labels;
  for (int i = 0; i < 3; ++i) labels.push_back(Drop<TLabel>());

  EXPECT_EQ(labels[0]->Name(), "Dpst_TLabel");
  EXPECT_EQ(labels[1]->Name(), "Dpst_TLabelX");
  EXPECT_EQ(labels[2]->Name(), "Dpst_TLabelXX");
  TWinControl* deposit = DepositPanel();
  ASSERT_NE(deposit, nullptr);
  EXPECT_EQ(deposit->Parent(), form);
  EXPECT_EQ(deposit->BoundsRect(), Bounds(-100, -100, 50, 50));
  for (TLabel* label : labels) {
    EXPECT_EQ(label->Parent(), deposit);
    EXPECT_EQ(label->BoundsRect(), Bounds(0, 0, 50, 50));
  }

  auto* arrow = Find<TArrowButton>(form, "ArrowButton1");
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(palette->ArrowButton(), arrow);
  EXPECT_EQ(arrow->Parent(), palette);
  EXPECT_EQ(arrow->BoundsRect(), Bounds(8, 8, 50, 30));
  EXPECT_EQ(arrow->GroupIndex(), kPaletteGroupIndex);

  // The arrow holds the first cell; then left to right, top to bottom.
  const std::vector<TRect> cells = {Bounds(58, 8, 50, 30), Bounds(8, 38, 50, 30), Bounds(58, 38, 50, 30)};
  for (int i = 0; i < 3; ++i) {
    TDsnButton* button = Button(i + 1);
    ASSERT_NE(button, nullptr) << i;
    EXPECT_EQ(button->Parent(), palette);
    EXPECT_EQ(button->Palette(), palette);
    EXPECT_EQ(button->Gene(), labels[i]);
    EXPECT_EQ(button->GeneName(), labels[i]->Name());
    EXPECT_EQ(button->Caption(), "LABEL");
    EXPECT_EQ(button->Layout(), blGlyphTop);
    EXPECT_EQ(button->GroupIndex(), kPaletteGroupIndex);
    EXPECT_EQ(button->BoundsRect(), cells[i]) << i;
  }
  EXPECT_EQ(palette->ControlCount(), 4);  // nothing but buttons stays on the palette
  EXPECT_TRUE(palette->DepositPending());
  EXPECT_EQ(PostedMessageCount(), 0);
}

TEST_F(CompositionTest, EveryControlStillOnThePaletteWhenItsMessageRunsIsDepositedAndNoOtherOne) {
  TLabel* label = DropNew<TLabel>();
  TPanel* panel = DropNew<TPanel>();
  TLabel* freed = DropNew<TLabel>();
  TLabel* movedAway = DropNew<TLabel>();
  freed->Free();
  movedAway->SetParent(form);
  DispatchPostedMessages();
  EXPECT_EQ(label->Name(), "Dpst_TLabel");
  EXPECT_EQ(panel->Name(), "Dpst_TPanel");
  ASSERT_TRUE(Button(1) && Button(2));
  EXPECT_EQ(Button(2)->Gene(), panel);
  EXPECT_EQ(Button(3), nullptr);
  EXPECT_EQ(movedAway->Parent(), form);
  EXPECT_TRUE(movedAway->Name().empty());
  EXPECT_TRUE(palette->DepositPending());
  // The next drop is deposited as usual.
  EXPECT_EQ(Drop<TLabel>()->Name(), "Dpst_TLabelX");
}

TEST_F(CompositionTest, GlyphsComeFromPicturesNamedAfterTheClassOrTheGeneralOne) {
  RegisterPaletteBitmap("TLabel", Filled(qRgb(255, 0, 0)));
  RegisterPaletteBitmap("TCOMPONENT", Filled(qRgb(0, 0, 255)));
  RegisterPaletteBitmap("ARROWBUTTON", Filled(qRgb(0, 255, 0)));
  Drop<TLabel>();
  Drop<TPanel>();
  UnRegisterPaletteBitmap("TCOMPONENT");
  Drop<TDBText>();
  auto pixel = [](TSpeedButton* b) { return b->Glyph()->Image().pixel(0, 0) | 0xFF000000u; };
  EXPECT_EQ(pixel(palette->ArrowButton()), qRgb(0, 255, 0));
  EXPECT_EQ(pixel(Button(1)), qRgb(255, 0, 0));
  EXPECT_EQ(pixel(Button(2)), qRgb(0, 0, 255));
  EXPECT_TRUE(Button(3)->Glyph()->Empty());
  EXPECT_EQ(Button(2)->Caption(), "PANEL");
  EXPECT_EQ(Button(3)->Caption(), "DBTEXT");
}

TEST_F(CompositionTest, NarrowPaletteWidensAndTakenNamesAreSkipped) {
  palette->SetWidth(30);
  palette->SetBtnCaption(false);
  New<TPanel>(form)->SetName("ArrowButton1");
  New<TPanel>(form)->SetName("DsnButton1");
  Drop<TLabel>();
  Drop<TLabel>();
  EXPECT_EQ(palette->Width(), 74);  // room for one column
  ASSERT_NE(Find<TArrowButton>(form, "ArrowButton2"), nullptr);
  ASSERT_TRUE(Button(2) && Button(3));
  EXPECT_EQ(Button(2)->BoundsRect(), Bounds(8, 38, 50, 30));
  EXPECT_EQ(Button(3)->BoundsRect(), Bounds(8, 68, 50, 30));
  EXPECT_TRUE(Button(2)->Caption().empty());
}

TEST_F(CompositionTest, AButtonWidthBelowOnePixelStillPlacesButtons) {
  palette->SetBtnWidth(0);
  Drop<TLabel>();
  Drop<TLabel>();
  ASSERT_TRUE(Button(1) && Button(2));
  EXPECT_EQ(Button(2)->Top(), Button(1)->Top());
}

TEST_F(CompositionTest, DeletingAButtonDeletesItsPrototype) {
  Drop<TLabel>();
  TLabel* kept = Drop<TLabel>();
  Button(1)->Free();
  EXPECT_EQ(form->FindComponent("Dpst_TLabel"), nullptr);
  EXPECT_EQ(form->FindComponent("Dpst_TLabelX"), kept);
  EXPECT_EQ(Button(2)->Gene(), kept);
  // A button moved off the palette keeps its prototype.
  auto* other = New<TPanel>(form);
  other->SetParent(form);
  Button(2)->SetParent(other);
  EXPECT_EQ(form->FindComponent("Dpst_TLabelX"), kept);
  // A button whose name leads to the palette itself takes nothing along.
  TLabel* third = Drop<TLabel>();
  TDsnButton* wrong = Button(1);  // the first free name again
  ASSERT_TRUE(wrong && wrong->Gene() == third);
  wrong->SetGeneName("DsnPanel1");
  wrong->Free();
  EXPECT_EQ(form->FindComponent("DsnPanel1"), palette);
}

TEST_F(CompositionTest, AtRunTimeADroppedControlStaysAndOnlyThePendingFlagAlternates) {
  form->SetDesigning(false);
  TLabel* label = Drop<TLabel>();
  EXPECT_EQ(label->Parent(), palette);
  EXPECT_TRUE(label->Name().empty());
  EXPECT_EQ(DepositPanel(), nullptr);
  EXPECT_FALSE(palette->DepositPending());
  label->SetParent(form);
  DispatchPostedMessages();
  EXPECT_TRUE(palette->DepositPending());
  // Nor does deleting a palette button take its prototype along at run time.
  auto* prototype = New<TLabel>(form);
  prototype->SetName("Dpst_TLabel");
  auto* button = New<TDsnButton>(form);
  button->SetParent(palette);
  button->SetGeneName("Dpst_TLabel");
  button->Free();
  EXPECT_EQ(form->FindComponent("Dpst_TLabel"), prototype);
}

}  // namespace
