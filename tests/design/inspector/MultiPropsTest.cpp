// The properties common to the selected elements, as the mark editor's inspector is configured:
// Caption, Color, Font, datafield and kind shown, nothing hidden unless a test says so.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/DsnCommonProps.h"
#include "design/inspector/DsnProp.h"
#include "mark/shape2.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Label.h"
#include "platform/rtl/StringList.h"

namespace {

class MultiPropsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = New<TComponent>(nullptr);
    props = New<TMultiProps>();
    props->SetPropNames({"Caption", "Color", "Font", "datafield", "kind"});
    props->SetPropCaptions({"文字內容", "顏色", "字型", "datafield", "kind"});
  }
  void TearDown() override {
    props->Free();
    owner->Free();
  }
  TLabel* Label(const std::string& caption, TColor color = clWhite) {
    auto* label = New<TLabel>(owner);
    label->SetCaption(caption);
    label->SetColor(color);
    return label;
  }

  TComponent* owner = nullptr;
  TMultiProps* props = nullptr;
};

TEST_F(MultiPropsTest, CommonNamesFollowTheClassesOfTheTargets) {
  TLabel* label = Label("C/NO.");
  props->AddTarget(label);
  EXPECT_EQ(props->CommonNames(), (TNameList{"Caption", "Color", "Font"}));
  EXPECT_EQ(props->CommonValues(), (TNameList{"C/NO.", "16777215", "(TFont)"}));

  auto* shape = New<tshape2>(owner);
  props->ClearTargets();
  props->AddTarget(shape);
  EXPECT_EQ(props->CommonNames(), (TNameList{"Caption", "Color", "Font", "kind"}));
  props->AddTarget(label);
  EXPECT_EQ(props->CommonNames(), (TNameList{"Caption", "Color", "Font"})) << "the label has no kind";
  props->DeleteTarget(1);
  EXPECT_EQ(props->CommonNames(), (TNameList{"Caption", "Color", "Font", "kind"})) << "kind comes back";

  auto* text = New<TDBText>(owner);
  props->ClearTargets();
  props->AddTarget(text);
  // A data text keeps the caption it shows while no data is read, so that row stays.
  EXPECT_EQ(props->CommonNames(), (TNameList{"Caption", "Color", "Font", "DataField"}))
      << "datafield matches DataField and is spelled as the class spells it";
  props->AddTarget(label);
  EXPECT_EQ(props->CommonNames(), (TNameList{"Caption", "Color", "Font"}));
}

TEST_F(MultiPropsTest, ValuesMergeByKindAndOutNamesHideForTwoOrMore) {
  props->SetOutNames({"caption"});
  TLabel* a = Label("PO/NO");
  TLabel* b = Label("Q'TY", clBlack);
  props->AddTarget(a);
  EXPECT_EQ(props->CommonNames().front(), "Caption") << "one target shows an out name";
  props->AddTarget(a);
  EXPECT_EQ(props->TargetCount(), 1) << "a target already there changes nothing";
  props->AddTarget(b);
  EXPECT_EQ(props->CommonNames(), (TNameList{"Color", "Font"}));
  EXPECT_EQ(props->CommonValues(), (TNameList{"", ""})) << "colours differ; a font is no text to merge";
  b->SetColor(clWhite);
  props->RecalcValues();
  EXPECT_EQ(props->CommonValues(), (TNameList{"16777215", ""}));
  props->DeleteTarget(0);
  EXPECT_EQ(props->CommonNames(), (TNameList{"Caption", "Color", "Font"})) << "one left: Caption is back";
  EXPECT_EQ(props->CommonValues().front(), "Q'TY");
  props->DeleteTarget(0);
  EXPECT_TRUE(props->CommonNames().empty());
  EXPECT_TRUE(props->AllNames().empty());
  EXPECT_EQ(props->PropNames().size(), 5u) << "the configuration stays";

  // Without out names two captions show the first target's.
  props->SetOutNames({});
  props->AddTarget(a);
  props->AddTarget(b);
  EXPECT_EQ(props->CommonValues().front(), "PO/NO");
}

TEST_F(MultiPropsTest, ADestroyedTargetIsForgottenInStepWithTheTargetList) {
  TLabel* a = Label("one");
  TLabel* b = Label("two");
  TLabel* c = Label("three");
  for (TLabel* l : {a, b, c}) props->AddTarget(l);
  props->ForgetTarget(1);
  b->Free();
  EXPECT_EQ(props->TargetCount(), 3) << "the place stays until DeleteTarget";
  EXPECT_EQ(props->Targets()[1], nullptr);
  props->DeleteTarget(1);
  EXPECT_EQ(props->Targets(), (std::vector<TComponent*>{a, c}));
  props->RecalcValues();
  EXPECT_EQ(props->CommonValues().front(), "one");
  // A later target at the freed address is a new target.
  TLabel* d = Label("four");
  props->AddTarget(d);
  EXPECT_EQ(props->TargetCount(), 3);
}

TEST(ContextProps, TheDesignMenuOffersTheCommonSelfPropsInTheirOrder) {
  TComponent* owner = New<TComponent>(nullptr);
  auto* self = New<TStringList>();
  self->SetText("kind|圖形\nCaption|文字\nFont\n");
  auto* out = New<TStringList>();
  out->SetText("Caption\n");
  auto* shape = New<tshape2>(owner);
  shape->Setkind(eclipse);
  auto* label = New<TLabel>(owner);
  label->SetCaption("C/NO.");

  TContextProps one;
  one.Build(*self, *out, {shape});
  EXPECT_EQ(one.CommonNames(), (TNameList{"kind", "Caption", "Font"}));
  EXPECT_EQ(one.CommonValues(), (TNameList{"eclipse", "", "(TFont)"}));
  EXPECT_EQ(one.CaptionAt(0), "圖形");
  EXPECT_EQ(one.CaptionAt(2), "Font");
  TContextProps two;
  two.Build(*self, *out, {label, shape});
  EXPECT_EQ(two.CommonNames(), (TNameList{"Font"})) << "kind is the shape's; Caption is out for two";
  self->Free();
  out->Free();
  owner->Free();
}

}  // namespace
