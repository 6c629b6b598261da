// Speed buttons: groups, pressing and dragging, disabled buttons, glyphs and the face layout.

#include "platform/controls/SpeedButton.h"

#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <vector>

#include "platform/controls/Panel.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

class SpeedButtonTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    bar = New<TPanel>(form);
    bar->SetParent(form);
    bar->SetBounds(0, 0, 400, 40);
    for (int i = 0; i < 3; ++i) group.push_back(AddButton(bar, 10 + 30 * i, 1));
  }
  TSpeedButton* AddButton(TWinControl* parent, int left, int groupIndex) {
    auto* button = New<TSpeedButton>(form);
    button->SetParent(parent);
    button->SetBounds(left, 8, 25, 24);
    button->SetGroupIndex(groupIndex);
    button->OnClick.Bind([this, button](TObject*) { clicked.push_back(button); });
    return button;
  }
  // The centre of a button on the form.
  static TPoint Centre(TSpeedButton* b) {
    return {b->Parent()->Left() + b->Left() + b->Width() / 2, b->Parent()->Top() + b->Top() + b->Height() / 2};
  }
  std::vector<bool> Downs() const {
    std::vector<bool> downs;
    for (TSpeedButton* b : group) downs.push_back(b->Down());
    return downs;
  }

  TPanel* bar = nullptr;
  std::vector<TSpeedButton*> group;
  std::vector<TSpeedButton*> clicked;
};

// ---- groups ----

TEST_F(SpeedButtonTest, ClickingAGroupButtonPutsItDownAndRaisesTheOthers) {
  ShowForm();
  Click(Centre(group[1]));
  EXPECT_EQ(Downs(), (std::vector<bool>{false, true, false}));
  Click(Centre(group[2]));
  EXPECT_EQ(Downs(), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(group[1]->State(), bsUp);
  EXPECT_EQ(group[2]->State(), bsExclusive);
  EXPECT_EQ(clicked, (std::vector<TSpeedButton*>{group[1], group[2]}));
}

TEST_F(SpeedButtonTest, WithoutAllowAllUpTheDownButtonStaysDown) {
  group[0]->SetDown(true);
  ShowForm();
  Click(Centre(group[0]));
  EXPECT_TRUE(group[0]->Down());
  EXPECT_EQ(clicked.size(), 1u);  // still a click
  group[0]->SetDown(false);
  EXPECT_TRUE(group[0]->Down());
}

TEST_F(SpeedButtonTest, AllowAllUpIsSharedByTheGroupAndLetsTheDownButtonUp) {
  group[0]->SetDown(true);
  group[2]->SetAllowAllUp(true);
  EXPECT_TRUE(group[0]->AllowAllUp());
  EXPECT_TRUE(group[1]->AllowAllUp());
  ShowForm();
  Click(Centre(group[0]));
  EXPECT_EQ(Downs(), (std::vector<bool>{false, false, false}));
}

TEST_F(SpeedButtonTest, OtherGroupsAndOtherParentsAreLeftAlone) {
  TSpeedButton* otherGroup = AddButton(bar, 120, 2);
  otherGroup->SetDown(true);
  auto* otherBar = New<TPanel>(form);
  otherBar->SetParent(form);
  otherBar->SetBounds(0, 50, 400, 40);
  TSpeedButton* otherParent = AddButton(otherBar, 10, 1);
  otherParent->SetDown(true);
  group[1]->SetDown(true);
  EXPECT_TRUE(otherGroup->Down());
  EXPECT_TRUE(otherParent->Down());
  EXPECT_EQ(Downs(), (std::vector<bool>{false, true, false}));
}

TEST_F(SpeedButtonTest, ButtonWithoutGroupNeverStaysDown) {
  TSpeedButton* plain = AddButton(bar, 120, 0);
  plain->SetDown(true);
  EXPECT_FALSE(plain->Down());
  ShowForm();
  Click(Centre(plain));
  EXPECT_FALSE(plain->Down());
  EXPECT_EQ(plain->State(), bsUp);
  EXPECT_EQ(clicked, (std::vector<TSpeedButton*>{plain}));
}

// ---- pressing ----

TEST_F(SpeedButtonTest, PressedButtonLooksDownOnlyWhileTheMouseIsOverIt) {
  TSpeedButton* plain = AddButton(bar, 120, 0);
  ShowForm();
  const TPoint centre = Centre(plain);
  Press(centre);
  EXPECT_EQ(plain->State(), bsDown);
  Move({centre.X + 60, centre.Y + 60});
  EXPECT_EQ(plain->State(), bsUp);
  Move({centre.X + 2, centre.Y});
  EXPECT_EQ(plain->State(), bsDown);
  Move({centre.X + 60, centre.Y});
  Release({centre.X + 60, centre.Y});
  EXPECT_EQ(plain->State(), bsUp);
  EXPECT_TRUE(clicked.empty());
}

TEST_F(SpeedButtonTest, GroupButtonReleasedOutsideStaysUp) {
  ShowForm();
  const TPoint centre = Centre(group[1]);
  Press(centre);
  Move({centre.X, centre.Y + 100});
  Release({centre.X, centre.Y + 100});
  EXPECT_EQ(Downs(), (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(clicked.empty());
}

TEST_F(SpeedButtonTest, DisabledButtonDrawsDisabledAndDoesNotReact) {
  group[1]->SetCaption("中");
  ShowForm();
  auto face = [this] { return Grab().copy(QRect(group[1]->Left(), group[1]->Top(), 25, 24)); };
  const QImage enabled = face();
  group[1]->SetEnabled(false);
  EXPECT_EQ(group[1]->State(), bsDisabled);
  EXPECT_NE(face(), enabled);
  Click(Centre(group[1]));
  EXPECT_FALSE(group[1]->Down());
  EXPECT_TRUE(clicked.empty());
  group[1]->SetEnabled(true);
  EXPECT_EQ(group[1]->State(), bsUp);
  EXPECT_EQ(face(), enabled);
}

TEST_F(SpeedButtonTest, DisablingTheButtonEndsAPressInProgress) {
  ShowForm();
  Press(Centre(group[0]));
  EXPECT_EQ(group[0]->State(), bsDown);
  group[0]->SetEnabled(false);
  group[0]->SetEnabled(true);
  Release(Centre(group[0]));
  EXPECT_EQ(group[0]->State(), bsUp);
  EXPECT_FALSE(group[0]->Down());
  EXPECT_TRUE(clicked.empty());
}

// ---- glyph ----

TEST_F(SpeedButtonTest, GlyphStripSetsNumGlyphsAndItsTransparentColourIsLeftOut) {
  TSpeedButton* button = AddButton(bar, 120, 0);
  button->SetBounds(120, 4, 32, 32);
  button->SetFlat(true);
  QImage strip(32, 16, QImage::Format_RGB32);
  strip.fill(QColor(255, 0, 255));           // the transparent colour: bottom-left pixel
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 12; ++x) {
      strip.setPixelColor(x, y, QColor(200, 0, 0));       // up image: red square
      strip.setPixelColor(16 + x, y, QColor(0, 0, 200));  // disabled image: blue square
    }
  button->Glyph()->SetImage(strip);
  EXPECT_EQ(button->NumGlyphs(), 2);
  ShowForm();
  QImage image = Grab();
  // The 16-pixel glyph is centred on the 32-pixel face (30 pixels inside its one-pixel rim).
  const int gx = 120 + 1 + 7, gy = 4 + 1 + 7;
  EXPECT_EQ(image.pixel(gx + 8, gy + 8), qRgb(200, 0, 0));
  EXPECT_NE(image.pixel(gx + 1, gy + 1), qRgb(255, 0, 255));
  button->SetEnabled(false);
  image = Grab();
  EXPECT_EQ(image.pixel(gx + 8, gy + 8), qRgb(0, 0, 200));
}

// ---- face layout ----

struct PlacementCase {
  const char* name;
  TRect client;
  TSize glyph;
  TSize text;
  TButtonLayout layout;
  int margin;
  int spacing;
  TPoint glyphPos;
  TRect textBounds;
};

class ButtonPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(ButtonPlacement, PlacesGlyphAndCaption) {
  const PlacementCase& c = GetParam();
  TButtonPlacement p = CalcButtonLayout(c.client, c.glyph, c.text, c.layout, c.margin, c.spacing);
  EXPECT_EQ(p.GlyphPos, c.glyphPos);
  EXPECT_EQ(p.TextBounds, c.textBounds);
}

// A 100 x 40 face with a 16 x 16 glyph and a 30 x 13 caption unless said otherwise.
INSTANTIATE_TEST_SUITE_P(
    Layouts, ButtonPlacement,
    ::testing::Values(
        PlacementCase{"LeftCentred", {0, 0, 100, 40}, {16, 16}, {30, 13}, blGlyphLeft, -1, 4, {25, 12}, {45, 14, 75, 27}},
        PlacementCase{"RightCentred", {0, 0, 100, 40}, {16, 16}, {30, 13}, blGlyphRight, -1, 4, {59, 12}, {25, 14, 55, 27}},
        PlacementCase{"TopCentred", {0, 0, 100, 40}, {16, 16}, {30, 13}, blGlyphTop, -1, 4, {42, 4}, {35, 24, 65, 37}},
        PlacementCase{"BottomCentred", {0, 0, 100, 40}, {16, 16}, {30, 13}, blGlyphBottom, -1, 4, {42, 20}, {35, 3, 65, 16}},
        PlacementCase{"LeftMargin", {0, 0, 100, 40}, {16, 16}, {30, 13}, blGlyphLeft, 2, 4, {2, 12}, {22, 14, 52, 27}},
        PlacementCase{"MarginSpreadsTheRest", {0, 0, 100, 40}, {16, 16}, {30, 13}, blGlyphLeft, 2, -1, {2, 12}, {44, 14, 74, 27}},
        PlacementCase{"EvenThirds", {0, 0, 100, 40}, {16, 16}, {30, 13}, blGlyphLeft, -1, -1, {18, 12}, {52, 14, 82, 27}},
        PlacementCase{"GlyphAloneIgnoresSpacing", {0, 0, 100, 40}, {16, 16}, {0, 0}, blGlyphLeft, -1, 4, {42, 12}, {58, 20, 58, 20}},
        PlacementCase{"ClientOffset", {2, 3, 102, 43}, {16, 16}, {30, 13}, blGlyphLeft, -1, 4, {27, 15}, {47, 17, 77, 30}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
