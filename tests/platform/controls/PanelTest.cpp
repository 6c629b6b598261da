// Panels: bevels and border as painted, the caption's place, and aligned children inside them.

#include "platform/controls/Panel.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

class PanelTest : public FormTest {
 protected:
  TPanel* AddPanel(TWinControl* parent, TRect bounds) {
    auto* panel = New<TPanel>(form);
    panel->SetParent(parent);
    panel->SetBoundsRect(bounds);
    panel->SetColor(kPanelColor);
    return panel;
  }
};

struct BevelCase {
  TBevelCut cut;
  TColor topLeft;
  TColor bottomRight;
};

class PanelBevel : public PanelTest, public ::testing::WithParamInterface<BevelCase> {};

TEST_P(PanelBevel, OuterBevelPaintsItsEdgesAndFillsTheInside) {
  TPanel* panel = AddPanel(form, {20, 20, 140, 80});
  panel->SetBevelOuter(GetParam().cut);
  panel->SetBevelWidth(2);
  ShowForm();
  QImage image = Grab();
  const QRgb light = Rgb(GetParam().topLeft == clNone ? kPanelColor : GetParam().topLeft);
  const QRgb dark = Rgb(GetParam().bottomRight == clNone ? kPanelColor : GetParam().bottomRight);
  for (int ring = 0; ring < 2; ++ring) {
    SCOPED_TRACE("ring " + std::to_string(ring));
    EXPECT_EQ(image.pixel(20 + ring, 20 + ring), light);   // top-left corner
    EXPECT_EQ(image.pixel(70, 20 + ring), light);          // top edge
    EXPECT_EQ(image.pixel(20 + ring, 50), light);          // left edge
    EXPECT_EQ(image.pixel(139 - ring, 50), dark);          // right edge
    EXPECT_EQ(image.pixel(70, 79 - ring), dark);           // bottom edge
    EXPECT_EQ(image.pixel(139 - ring, 20 + ring), dark);   // top-right corner
    EXPECT_EQ(image.pixel(20 + ring, 79 - ring), dark);    // bottom-left corner
  }
  EXPECT_EQ(image.pixel(22, 22), Rgb(kPanelColor));
  EXPECT_EQ(image.pixel(137, 77), Rgb(kPanelColor));
}

INSTANTIATE_TEST_SUITE_P(Cuts, PanelBevel,
                         ::testing::Values(BevelCase{bvRaised, clBtnHighlight, clBtnShadow},
                                           BevelCase{bvLowered, clBtnShadow, clBtnHighlight},
                                           BevelCase{bvSpace, clNone, clNone},
                                           BevelCase{bvNone, clNone, clNone}),
                         [](const auto& info) { return GetEnumName(TypeInfoOf(static_cast<TBevelCut*>(nullptr)), info.param.cut); });

TEST_F(PanelTest, BorderSeparatesTheOuterFromTheInnerBevel) {
  TPanel* panel = AddPanel(form, {20, 20, 140, 80});
  panel->SetBorderWidth(3);
  panel->SetBevelInner(bvLowered);
  ShowForm();
  QImage image = Grab();
  EXPECT_EQ(image.pixel(20, 20), Rgb(clBtnHighlight));
  for (int x = 21; x <= 23; ++x) EXPECT_EQ(image.pixel(x, 50), Rgb(kPanelColor)) << x;
  EXPECT_EQ(image.pixel(24, 50), Rgb(clBtnShadow));        // inner bevel, lowered: dark at the left
  EXPECT_EQ(image.pixel(135, 50), Rgb(clBtnHighlight));    // and light at the right
  EXPECT_EQ(image.pixel(136, 50), Rgb(kPanelColor));
  EXPECT_EQ(image.pixel(139, 50), Rgb(clBtnShadow));
}

struct CaptionCase {
  TAlignment alignment;
  const char* name;
};

class PanelCaption : public PanelTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(PanelCaption, CaptionFollowsAlignmentAndIsCentredVertically) {
  TPanel* panel = AddPanel(form, {20, 20, 220, 80});
  panel->SetCaption("工具列 Tools");
  panel->SetAlignment(GetParam().alignment);
  panel->Font()->SetColor(clBlack);
  ShowForm();
  QImage image = Grab();
  const TRect inside = {21, 21, 219, 79};
  std::vector<int> rows = InkRows(image, inside, Rgb(kPanelColor));
  ASSERT_FALSE(rows.empty());
  int left = inside.Right, right = inside.Left;
  for (int y : rows)
    for (int x = inside.Left; x < inside.Right; ++x)
      if (image.pixel(x, y) != Rgb(kPanelColor)) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  EXPECT_NEAR((rows.front() + rows.back()) / 2.0, 49.5, 3.0);
  switch (GetParam().alignment) {
    case taLeftJustify: EXPECT_LT(left, inside.Left + 4); break;
    case taRightJustify: EXPECT_GT(right, inside.Right - 5); break;
    case taCenter: EXPECT_NEAR((left + right) / 2.0, 119.5, 2.0); break;
  }
}

INSTANTIATE_TEST_SUITE_P(Alignments, PanelCaption,
                         ::testing::Values(CaptionCase{taLeftJustify, "Left"}, CaptionCase{taRightJustify, "Right"},
                                           CaptionCase{taCenter, "Center"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, AlignedPanelsFollowTheFormWhenItIsResized) {
  TPanel* top = AddPanel(form, {0, 0, 10, 30});
  top->SetAlign(alTop);
  TPanel* left = AddPanel(form, {0, 0, 50, 10});
  left->SetAlign(alLeft);
  TPanel* client = AddPanel(form, {0, 0, 10, 10});
  client->SetAlign(alClient);
  TPanel* bottom = AddPanel(form, {0, 0, 10, 20});
  bottom->SetAlign(alBottom);
  ShowForm();
  Widget()->resize(500, 360);  // as the window manager would
  QApplication::processEvents();
  EXPECT_EQ(form->ClientWidth(), 500);
  EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 500, 30}));
  EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 340, 500, 360}));
  EXPECT_EQ(left->BoundsRect(), (TRect{0, 30, 50, 340}));
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 30, 500, 340}));
  EXPECT_EQ(WindowWidget(client->Handle())->geometry(), QRect(50, 30, 450, 310));
}

TEST_F(PanelTest, ChildrenAreAlignedInsideBevelsAndBorder) {
  TPanel* outer = AddPanel(form, {10, 10, 210, 110});
  outer->SetBevelWidth(2);
  outer->SetBorderWidth(3);
  outer->SetBevelInner(bvRaised);
  TPanel* inner = AddPanel(outer, {0, 0, 10, 10});
  inner->SetAlign(alClient);
  EXPECT_EQ(inner->BoundsRect(), (TRect{7, 7, 193, 93}));
  outer->SetBevelInner(bvNone);
  EXPECT_EQ(inner->BoundsRect(), (TRect{5, 5, 195, 95}));
}

// A panel hidden when its form is shown makes its window only when it is first shown; it then
// lies where it would have been from the start: beneath the sibling that follows it, with its own
// children shown inside it.
TEST_F(PanelTest, APanelFirstShownLateLiesBeneathTheSiblingThatFollowsIt) {
  TPanel* late = AddPanel(form, {10, 10, 110, 110});
  late->SetBevelOuter(bvNone);
  late->SetColor(clRed);
  late->SetVisible(false);
  TPanel* inside = AddPanel(late, {5, 5, 45, 45});
  inside->SetBevelOuter(bvNone);
  inside->SetColor(clLime);
  TPanel* above = AddPanel(form, {60, 60, 160, 160});
  above->SetBevelOuter(bvNone);
  above->SetColor(clBlue);
  ShowForm();
  EXPECT_FALSE(late->HandleAllocated());
  EXPECT_FALSE(inside->HandleAllocated());
  EXPECT_EQ(Grab().pixel(30, 30), Rgb(form->Color()));

  late->Show();
  QApplication::processEvents();
  QImage image = Grab();
  EXPECT_EQ(image.pixel(100, 30), Rgb(clRed));
  EXPECT_EQ(image.pixel(30, 30), Rgb(clLime));
  EXPECT_EQ(image.pixel(80, 80), Rgb(clBlue));  // where the two overlap
}

}  // namespace
