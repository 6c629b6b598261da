// The palette as the editors use it: read from a window layout, activated by a register, pressed
// with the mouse, and written back.

#include "design/palette/DsnPanel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/Label.h"
#include "platform/controls/StdControls.h"
#include "platform/rtl/Stream.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

// A window laid out like the editor's main window: prototypes on a hidden deposit panel and a
// palette whose last button names a prototype that does not exist.
constexpr char kLayout[] = R"(object PaletteForm: TForm
  object DsnDpstPanel: TPanel
    object Dpst_TLabel: TLabel
    end
    object Dpst_TPanel: TPanel
    end
  end
  object DsnPanel1: TDsnPanel
    Width = 130
    Height = 280
    BtnWidth = 90
    BtnHeight = 50
    BtnCaption = True
    object ArrowButton1: TArrowButton
      Top = 8
      GroupIndex = 2301
    end
    object LabelButton: TDsnButton
      Top = 34
      GroupIndex = 2301
      GeneName = 'Dpst_TLabel'
    end
    object PanelButton: TDsnButton
      Top = 60
      GroupIndex = 2301
      GeneName = 'Dpst_TPanel'
    end
    object Orphan: TDsnButton
      Top = 86
      GroupIndex = 2301
      GeneName = 'Dpst_Gone'
    end
  end
end
)";

template <class T>
T* Find(TComponent* owner, const char* name) {
  return dynamic_cast<T*>(owner->FindComponent(name));
}

class PaletteTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    RegisterStandardControls();
    RegisterPaletteClasses();
    TMemoryStream in(TextToStream(kLayout));
    TReader(in).ReadRootComponent(form);
    palette = Find<TDsnPanel>(form, "DsnPanel1");
    arrow = Find<TArrowButton>(form, "ArrowButton1");
    labelButton = Find<TDsnButton>(form, "LabelButton");
    panelButton = Find<TDsnButton>(form, "PanelButton");
    orphan = Find<TDsnButton>(form, "Orphan");
    labelProto = form->FindComponent("Dpst_TLabel");
    panelProto = form->FindComponent("Dpst_TPanel");
    ASSERT_TRUE(palette && arrow && labelButton && panelButton && orphan && labelProto && panelProto);
  }

  // What a register does when its editor enters design mode.
  void EnterDesignMode() {
    palette->SetArrowButton(arrow);
    arrow->SetPalette(palette);
    palette->SetActive(true);
  }
  // ... and when it leaves.
  void LeaveDesignMode() {
    palette->SetActive(false);
    palette->SetGene(nullptr);
  }

  // The centre of a palette button on the form.
  void ClickButton(TControl* button) {
    Click({palette->Left() + button->Left() + button->Width() / 2, palette->Top() + button->Top() + button->Height() / 2});
  }

  std::vector<bool> Enabled() const {
    std::vector<bool> enabled;
    for (TControl* c : std::vector<TControl*>{arrow, labelButton, panelButton, orphan}) enabled.push_back(c->Enabled());
    return enabled;
  }

  TDsnPanel* palette = nullptr;
  TArrowButton* arrow = nullptr;
  TDsnButton* labelButton = nullptr;
  TDsnButton* panelButton = nullptr;
  TDsnButton* orphan = nullptr;
  TComponent* labelProto = nullptr;
  TComponent* panelProto = nullptr;
};

const std::vector<bool> kAllEnabled(4, true);
const std::vector<bool> kAllDisabled(4, false);

// ---- reading and activating ----

TEST_F(PaletteTest, ButtonsReadFromALayoutJoinThePaletteDisabledAndUnbound) {
  EXPECT_EQ(std::vector<TDsnButton*>(palette->Buttons().begin(), palette->Buttons().end()),
            (std::vector<TDsnButton*>{labelButton, panelButton, orphan}));
  EXPECT_EQ(labelButton->Palette(), palette);
  EXPECT_EQ(labelButton->GeneName(), "Dpst_TLabel");
  EXPECT_EQ(labelButton->Gene(), nullptr);
  EXPECT_EQ(Enabled(), kAllDisabled);
  EXPECT_FALSE(arrow->AllowAllUp());
  EXPECT_TRUE(palette->DepositPending());
}

TEST_F(PaletteTest, EnteringDesignModePressesTheArrowAndBindsEachButtonByName) {
  EnterDesignMode();
  EXPECT_TRUE(arrow->Down());
  EXPECT_EQ(Enabled(), kAllEnabled);
  EXPECT_EQ(labelButton->Gene(), labelProto);
  EXPECT_EQ(panelButton->Gene(), panelProto);
  EXPECT_EQ(orphan->Gene(), nullptr);
  EXPECT_EQ(palette->GetGene(), nullptr);
}

TEST_F(PaletteTest, LeavingDesignModeDisablesEverythingButLeavesTheDownButtonDown) {
  EnterDesignMode();
  ShowForm();
  ClickButton(panelButton);
  LeaveDesignMode();
  EXPECT_EQ(Enabled(), kAllDisabled);
  EXPECT_TRUE(panelButton->Down());
  EXPECT_FALSE(arrow->Down());
  // A disabled button takes no clicks.
  ClickButton(labelButton);
  EXPECT_FALSE(labelButton->Down());
  EXPECT_EQ(palette->GetGene(), nullptr);
}

TEST_F(PaletteTest, TwoEditorsShareOnePaletteAndEachActivationBindsAgain) {
  EnterDesignMode();  // the first editor
  EXPECT_EQ(orphan->Gene(), nullptr);
  // The missing prototype appears, and the first prototype is replaced by another of its name.
  auto* deposit = Find<TPanel>(form, "DsnDpstPanel");
  auto* gone = New<TLabel>(form);
  gone->SetParent(deposit);
  gone->SetName("Dpst_Gone");
  labelProto->Free();
  EXPECT_EQ(labelButton->Gene(), nullptr);
  auto* newLabel = New<TLabel>(form);
  newLabel->SetName("Dpst_TLabel");

  EnterDesignMode();  // the second editor
  EXPECT_EQ(orphan->Gene(), gone);
  EXPECT_EQ(labelButton->Gene(), newLabel);
  EXPECT_EQ(Enabled(), kAllEnabled);

  LeaveDesignMode();  // either editor leaving switches the palette off for both
  EXPECT_EQ(Enabled(), kAllDisabled);
}

// ---- choosing with the mouse ----

TEST_F(PaletteTest, PressingAButtonChoosesItsPrototypeAndTheArrowClearsIt) {
  int clicks = 0;
  labelButton->OnClick.Bind([&](TObject*) { ++clicks; });
  EnterDesignMode();
  ShowForm();
  ClickButton(labelButton);
  EXPECT_EQ(clicks, 1);  // the window's own handler still runs
  EXPECT_TRUE(labelButton->Down());
  EXPECT_FALSE(arrow->Down());
  EXPECT_EQ(palette->GetGene(), labelProto);
  ClickButton(panelButton);
  EXPECT_EQ(palette->GetGene(), panelProto);
  EXPECT_FALSE(labelButton->Down());
  ClickButton(arrow);
  EXPECT_TRUE(arrow->Down());
  EXPECT_FALSE(panelButton->Down());
  EXPECT_EQ(palette->GetGene(), nullptr);
  ClickButton(arrow);  // a second click can't raise it
  EXPECT_TRUE(arrow->Down());
}

TEST_F(PaletteTest, AButtonWithoutPrototypePressesTheArrowAndForgetsTheEarlierChoice) {
  EnterDesignMode();
  ShowForm();
  ClickButton(labelButton);
  ClickButton(orphan);
  EXPECT_TRUE(arrow->Down());
  EXPECT_FALSE(orphan->Down());
  EXPECT_FALSE(labelButton->Down());
  EXPECT_EQ(palette->GetGene(), nullptr);
}

TEST_F(PaletteTest, AnArrowButtonAsGeneMeansNoneAndResetToArrowRaisesTheChosenButton) {
  EnterDesignMode();
  palette->SetGene(labelProto);
  palette->SetGene(arrow);
  EXPECT_EQ(palette->GetGene(), nullptr);
  // Also an arrow button the palette was never told about.
  palette->SetGene(labelProto);
  palette->SetGene(New<TArrowButton>(form));
  EXPECT_EQ(palette->GetGene(), nullptr);

  ShowForm();
  ClickButton(labelButton);
  palette->ResetToArrow();
  EXPECT_TRUE(arrow->Down());
  EXPECT_FALSE(labelButton->Down());
}

// ---- components that go ----

TEST_F(PaletteTest, FreeingTheChosenPrototypeLeavesNoGeneBehind) {
  EnterDesignMode();
  ShowForm();
  ClickButton(labelButton);
  ASSERT_EQ(palette->GetGene(), labelProto);
  labelProto->Free();
  EXPECT_EQ(palette->GetGene(), nullptr);
  EXPECT_EQ(labelButton->Gene(), nullptr);
  ClickButton(panelButton);
  ClickButton(labelButton);  // now without a prototype: back to the arrow
  EXPECT_TRUE(arrow->Down());
  EXPECT_EQ(palette->GetGene(), nullptr);
}

TEST_F(PaletteTest, FreedButtonsLeaveThePaletteAndAFreedPaletteLeavesItsButtons) {
  EnterDesignMode();
  panelButton->Free();
  arrow->Free();
  EXPECT_EQ(palette->ArrowButton(), nullptr);
  EXPECT_EQ(std::vector<TDsnButton*>(palette->Buttons().begin(), palette->Buttons().end()),
            (std::vector<TDsnButton*>{labelButton, orphan}));
  palette->SetActive(false);
  palette->SetActive(true);
  palette->ResetToArrow();
  // The buttons outlive their palette when they are taken off it first.
  auto* holder = New<TPanel>(form);
  holder->SetParent(form);
  labelButton->SetParent(holder);
  palette->Free();
  EXPECT_EQ(labelButton->Palette(), nullptr);
  labelButton->Click();
}

TEST_F(PaletteTest, AClickHandlerMayFreeItsButton) {
  EnterDesignMode();
  ShowForm();
  labelButton->OnClick.Bind([this](TObject*) { FreeAndNil(labelButton); });
  ClickButton(labelButton);
  EXPECT_EQ(labelButton, nullptr);
  EXPECT_EQ(palette->Buttons().IndexOf(nullptr), -1);
  EXPECT_EQ(palette->Buttons().Count(), 2);
  EXPECT_EQ(palette->GetGene(), nullptr);
}

// ---- the stream ----

TEST_F(PaletteTest, WrittenAndReadBackThePaletteKeepsGeneNamesAndButtonSettings) {
  TMemoryStream out;
  TWriter(out).WriteRootComponent(form);
  const std::string text = StreamToText(out.Bytes());
  // Written even where they hold the values a new palette starts with.
  EXPECT_NE(text.find("BtnWidth = 90"), std::string::npos) << text;
  EXPECT_NE(text.find("BtnHeight = 50"), std::string::npos) << text;
  EXPECT_NE(text.find("BtnCaption = True"), std::string::npos) << text;
  EXPECT_NE(text.find("GeneName = 'Dpst_TLabel'"), std::string::npos) << text;

  TForm* copy = New<TForm>(nullptr);
  out.SetPosition(0);
  TReader(out).ReadRootComponent(copy);
  auto* copyPalette = Find<TDsnPanel>(copy, "DsnPanel1");
  ASSERT_NE(copyPalette, nullptr);
  std::vector<std::string> names;
  for (TDsnButton* button : copyPalette->Buttons()) names.push_back(button->GeneName());
  EXPECT_EQ(names, (std::vector<std::string>{"Dpst_TLabel", "Dpst_TPanel", "Dpst_Gone"}));
  copyPalette->SetArrowButton(Find<TArrowButton>(copy, "ArrowButton1"));
  copyPalette->SetActive(true);
  EXPECT_EQ(copyPalette->Buttons()[0]->Gene(), copy->FindComponent("Dpst_TLabel"));
  copy->Free();
}

TEST_F(PaletteTest, AGeneNameLongerThanAShortStringIsCutWhenRead) {
  const std::string longName(300, 'G');
  const std::string text = "object LongButton: TDsnButton\n  GeneName = '" + longName + "'\nend\n";
  TMemoryStream in(TextToStream(text));
  auto* button = dynamic_cast<TDsnButton*>(TReader(in).ReadRootComponent(nullptr));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GeneName(), longName.substr(0, 255));
  button->Free();
}

}  // namespace
