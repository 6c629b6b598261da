// Shape labels on screen: each figure at its computed points, the line set, the background, the
// grey text of a link-field label, the text margins, and repainting only on change.

#include "mark/shape2.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls/Panel.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

constexpr TColor kPenColor = 0x000000C0;
constexpr TColor kFillColor = 0x0040E0F0;

class Shape2Test : public PanelFormTest {
 protected:
  // A shape label at (20, 20) in the panel.
  tshape2* AddShape(int width, int height) {
    auto* shape = New<tshape2>(form);
    shape->SetParent(panel);
    shape->SetBounds(20, 20, width, height);
    return shape;
  }
  // A pixel of a grabbed form, in the coordinates of a control at (20, 20) in the panel.
  static QRgb At(const QImage& image, int x, int y) { return image.pixel(30 + x, 30 + y); }
};

// ---- figures ----

struct FigureCase {
  const char* name;
  tkind kind;
  tslset lines;
  std::vector<TPoint> ink;    // pixels the one-pixel pen covers
  std::vector<TPoint> clear;  // pixels that show the background
};
void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }

class Shape2Figure : public Shape2Test, public ::testing::WithParamInterface<FigureCase> {};

// A 50 x 50 label: the figure's box runs from (2, 2) to (48, 48), its centre is (25, 25).
TEST_P(Shape2Figure, CoversItsComputedPointsAndNothingElse) {
  tshape2* shape = AddShape(50, 50);
  shape->SetColor(kFillColor);
  shape->Setpencolor(kPenColor);
  shape->Setpenwidth(1);
  shape->Setkind(GetParam().kind);
  shape->Setslset(GetParam().lines);
  ShowForm();
  QImage image = Grab();
  for (TPoint p : GetParam().ink) EXPECT_EQ(At(image, p.X, p.Y), Rgb(kPenColor)) << "ink at " << p.X << "," << p.Y;
  for (TPoint p : GetParam().clear) EXPECT_EQ(At(image, p.X, p.Y), Rgb(kFillColor)) << "clear at " << p.X << "," << p.Y;
}

const tslset kSides = {sltop, slbottom, slleft, slright};
const tslset kAll = {sltop, slbottom, slleft, slright, sllr, slrl};

INSTANTIATE_TEST_SUITE_P(
    Kinds, Shape2Figure,
    ::testing::Values(
        FigureCase{"FourSides", square1, kSides, {{25, 2}, {25, 48}, {2, 25}, {48, 25}, {2, 2}}, {{25, 25}, {10, 40}, {1, 1}, {49, 49}}},
        FigureCase{"Cross", square1, {sllr, slrl}, {{2, 2}, {10, 10}, {25, 25}, {47, 47}, {48, 2}, {40, 10}, {10, 40}}, {{25, 2}, {25, 48}, {2, 25}, {48, 25}}},
        FigureCase{"ClosedAndCrossed", square1, kAll, {{25, 2}, {25, 48}, {2, 25}, {48, 25}, {25, 25}, {10, 40}}, {{1, 1}, {25, 10}}},
        FigureCase{"NoLines", square1, {}, {}, {{2, 2}, {25, 2}, {2, 25}, {25, 25}, {48, 48}}},
        FigureCase{"DiamondIgnoresTheLineSet", square2, {}, {{25, 2}, {48, 25}, {25, 48}, {2, 25}, {14, 13}}, {{2, 2}, {25, 25}, {48, 48}}},
        FigureCase{"TriangleUp", triangle1, kSides, {{25, 2}, {48, 48}, {2, 48}, {25, 48}, {37, 26}}, {{2, 2}, {47, 3}, {25, 30}}},
        FigureCase{"TriangleDown", triangle2, kSides, {{2, 2}, {48, 2}, {25, 2}, {25, 48}, {14, 26}}, {{2, 47}, {47, 47}, {25, 20}}},
        // The ellipse's box ends at the control's own right and bottom edges.
        FigureCase{"Ellipse", eclipse, kSides, {{2, 25}, {49, 25}, {25, 2}, {25, 49}}, {{2, 2}, {25, 25}, {47, 47}, {48, 25}}},
        FigureCase{"PlainLabel", lab, kAll, {}, {{2, 2}, {25, 2}, {2, 25}, {25, 25}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A pen wider than the figure covers the whole control, and drawing it costs no more than the
// pixels it covers, for every kind of figure.
std::string KindName(tkind kind) {
  static const char* const kNames[] = {"Square", "Diamond", "TriangleUp", "TriangleDown", "Ellipse", "Label", "Field"};
  return kNames[kind];
}

class Shape2WidePen : public Shape2Test, public ::testing::WithParamInterface<std::pair<tkind, int>> {};

TEST_P(Shape2WidePen, CoversTheWholeControlAndNothingOutside) {
  tshape2* shape = AddShape(100, 100);
  shape->SetColor(kFillColor);
  shape->Setpencolor(kPenColor);
  shape->Setkind(GetParam().first);
  shape->Setslset({sltop, slbottom, slleft, slright, sllr, slrl});
  shape->Setpenwidth(GetParam().second);
  ShowForm();
  QImage image = Grab();
  for (TPoint p : std::vector<TPoint>{{0, 0}, {99, 0}, {0, 99}, {99, 99}, {50, 50}, {30, 70}})
    EXPECT_EQ(At(image, p.X, p.Y), Rgb(kPenColor)) << "ink at " << p.X << "," << p.Y;
  for (TPoint p : std::vector<TPoint>{{-1, 50}, {100, 50}, {50, -1}, {50, 100}})
    EXPECT_EQ(At(image, p.X, p.Y), Rgb(kPanelColor)) << "panel at " << p.X << "," << p.Y;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Shape2WidePen,
    ::testing::Values(std::pair{eclipse, 4000}, std::pair{eclipse, 100000}, std::pair{square1, 100000},
                      std::pair{square2, 100000}, std::pair{triangle1, 100000}, std::pair{triangle2, 100000}),
    [](const auto& info) { return KindName(info.param.first) + std::to_string(info.param.second); });

TEST_F(Shape2Test, DefaultPenIsThreeBlackPixelsCentredOnTheInsetAndTransparencyShowsTheParent) {
  tshape2* shape = AddShape(50, 50);
  shape->SetColor(kFillColor);
  ShowForm();
  QImage image = Grab();
  for (int y : {1, 2, 3}) EXPECT_EQ(At(image, 25, y), Rgb(clBlack)) << y;
  EXPECT_EQ(At(image, 25, 4), Rgb(kFillColor));
  EXPECT_EQ(At(image, 0, 25), Rgb(kFillColor));
  EXPECT_EQ(At(image, 25, 25), Rgb(kFillColor));
  shape->SetTransparent(true);
  image = Grab();
  EXPECT_EQ(At(image, 0, 25), Rgb(kPanelColor));
  EXPECT_EQ(At(image, 25, 25), Rgb(kPanelColor));
  EXPECT_EQ(At(image, 48, 25), Rgb(clBlack));
}

// ---- text ----

// The darkest pixel of the control's area, as a grey level.
int DarkestGray(const QImage& image, int width, int height) {
  int darkest = 255;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) darkest = std::min(darkest, qGray(image.pixel(30 + x, 30 + y)));
  return darkest;
}

TEST_F(Shape2Test, LinkFieldLabelShowsGreyTextFromItsFirstPaintWhateverFontColourItIsGiven) {
  ShowForm();
  tshape2* shape = AddShape(120, 40);
  shape->SetColor(clWhite);
  shape->SetCaption("連結欄位");
  shape->Font()->SetColor(clBlack);
  shape->Setkind(field);
  EXPECT_NEAR(DarkestGray(Grab(), 120, 40), 0x80, 8);
  EXPECT_EQ(shape->Font()->Color(), clGray);
  shape->Font()->SetColor(clRed);
  EXPECT_NEAR(DarkestGray(Grab(), 120, 40), 0x80, 8);
  shape->Setkind(lab);
  shape->Font()->SetColor(clBlack);
  EXPECT_LT(DarkestGray(Grab(), 120, 40), 0x30);
}

// Leftmost and rightmost columns of ink in a control at (20, 20) in the panel.
std::pair<int, int> InkColumns(const QImage& image, int width, int height, QRgb background) {
  int first = -1, last = -1;
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y)
      if (image.pixel(30 + x, 30 + y) != background) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

class Shape2Margin : public Shape2Test, public ::testing::WithParamInterface<std::pair<TAlignment, int>> {};

// The shape label's text stands where a plain label puts it, moved by the margin.
TEST_P(Shape2Margin, TextKeepsTenPixelsOffTheJustifiedSide) {
  const auto [alignment, shift] = GetParam();
  tshape2* shape = AddShape(160, 40);
  auto* label = New<TLabel>(form);
  label->SetParent(panel);
  label->SetAutoSize(false);
  label->SetBounds(20, 100, 160, 40);
  for (TCustomLabel* l : {static_cast<TCustomLabel*>(shape), static_cast<TCustomLabel*>(label)}) {
    l->SetColor(clWhite);
    l->SetCaption("PO/NO 嘜頭");
    l->Font()->SetHeight(-16);
    l->Font()->SetName("新細明體");
    l->SetAlignment(alignment);
    l->SetLayout(tlCenter);
  }
  shape->Setkind(lab);
  ShowForm();
  QImage image = Grab();
  auto [shapeLeft, shapeRight] = InkColumns(image, 160, 40, Rgb(clWhite));
  QImage below = image.copy(0, 80, image.width(), image.height() - 80);
  auto [labelLeft, labelRight] = InkColumns(below, 160, 40, Rgb(clWhite));
  ASSERT_GE(labelLeft, 0);
  EXPECT_EQ(shapeLeft, labelLeft + shift);
  EXPECT_EQ(shapeRight, labelRight + shift);
}

INSTANTIATE_TEST_SUITE_P(Alignments, Shape2Margin,
                         ::testing::Values(std::pair{taLeftJustify, 10}, std::pair{taRightJustify, -10},
                                           std::pair{taCenter, 0}),
                         [](const auto& info) {
                           return GetEnumName(TypeInfoOf(static_cast<TAlignment*>(nullptr)), info.param.first);
                         });

// ---- repainting ----

TEST_F(Shape2Test, EqualValuesDoNotRepaintAndNewOnesDo) {
  tshape2* shape = AddShape(50, 50);
  ShowForm();
  QApplication::processEvents();
  Subclass watch(panel->Handle());
  auto paintsAfter = [&](const std::function<void()>& change) {
    watch.seen.clear();
    change();
    QApplication::processEvents();
    return watch.Count(WM_PAINT);
  };
  EXPECT_EQ(paintsAfter([&] {
              shape->Setkind(square1);
              shape->Setslset({sltop, slbottom, slleft, slright});
              shape->Setpencolor(clBlack);
              shape->Setpenwidth(3);
            }),
            0);
  EXPECT_GT(paintsAfter([&] { shape->Setkind(eclipse); }), 0);
  EXPECT_GT(paintsAfter([&] { shape->Setslset({sllr}); }), 0);
  EXPECT_GT(paintsAfter([&] { shape->Setpencolor(clMaroon); }), 0);
  EXPECT_GT(paintsAfter([&] { shape->Setpenwidth(1); }), 0);
}

}  // namespace
