// The published properties of the standard controls: the order a stream writes them in, defaults
// that match what a new control holds, and registration by name.

#include "platform/controls/StdControls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/DBText.h"
#include "platform/controls/Label.h"
#include "platform/controls/Panel.h"
#include "platform/controls/SpeedButton.h"
#include "tests/support/QtApp.h"

namespace {

struct ClassCase {
  const TClassInfo* cls;
  std::vector<std::string> own;  // published after the name, tag, bounds and cursor every control has
};

class PublishedProps : public ::testing::TestWithParam<ClassCase> {};

TEST_P(PublishedProps, AreListedInStreamOrder) {
  std::vector<std::string> names;
  for (const TPropInfo* p : GetParam().cls->Props()) names.push_back(p->Name);
  std::vector<std::string> expected = {"Name", "Tag", "Left", "Top", "Width", "Height", "Cursor"};
  expected.insert(expected.end(), GetParam().own.begin(), GetParam().own.end());
  EXPECT_EQ(names, expected);
}

TEST_P(PublishedProps, DefaultsAreWhatANewControlHolds) {
  TestApp();
  auto* control = static_cast<TComponent*>(GetParam().cls->NewInstance());
  control->Create(nullptr);
  control->AfterConstruction();
  for (const TPropInfo* p : GetParam().cls->Props()) {
    if (!p->Default) continue;
    EXPECT_EQ(GetOrdProp(control, *p), *p->Default) << p->Name;
  }
  control->Free();
}

const std::vector<std::string> kMouseEvents = {"OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"};

std::vector<std::string> With(std::vector<std::string> props, const std::vector<std::string>& more) {
  props.insert(props.end(), more.begin(), more.end());
  return props;
}

const std::vector<std::string> kLabelProps =
    With({"Align", "Alignment", "AutoSize", "Caption", "Color", "Enabled", "Font", "ParentColor", "ParentFont",
          "PopupMenu", "ShowAccelChar", "Transparent", "Layout", "Visible", "WordWrap"},
         kMouseEvents);

INSTANTIATE_TEST_SUITE_P(
    Controls, PublishedProps,
    ::testing::Values(
        ClassCase{&TPanel::StaticClass(),
                  With({"TabOrder", "TabStop", "Align", "Alignment", "BevelInner", "BevelOuter", "BevelWidth", "BorderWidth", "Caption",
                        "Color", "Enabled", "Font", "ParentColor", "ParentFont", "PopupMenu", "Visible"},
                       kMouseEvents)},
        ClassCase{&TLabel::StaticClass(), kLabelProps},
        ClassCase{&TDBText::StaticClass(), With(kLabelProps, {"DataField", "DataSource"})},
        ClassCase{&TSpeedButton::StaticClass(),
                  With({"AllowAllUp", "GroupIndex", "Down", "Caption", "Enabled", "Flat", "Font", "Glyph", "GlyphName",
                        "Layout", "Margin", "NumGlyphs", "ParentFont", "Spacing", "Visible"},
                       kMouseEvents)}),
    [](const auto& info) { return info.param.cls->Name(); });

TEST(RegisterStandardControls, MakesTheClassesFindableByName) {
  RegisterStandardControls();
  RegisterStandardControls();
  EXPECT_EQ(GetClass("tpanel"), &TPanel::StaticClass());
  EXPECT_EQ(GetClass("TLabel"), &TLabel::StaticClass());
  EXPECT_EQ(GetClass("TDBText"), &TDBText::StaticClass());
  EXPECT_EQ(GetClass("TSpeedButton"), &TSpeedButton::StaticClass());
}

}  // namespace
