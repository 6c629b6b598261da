// Which pixels the canvas's figures cover: end points left out, outlines inside their box,
// aliased edges, XOR figures that vanish when drawn again.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/platform/graphics/GraphicsTestSupport.h"

namespace {

// ---- lines ----

struct LineCase {
  const char* name;
  TPoint from, to;
  int pixels;  // how many pixels the line sets
};

class LineToTest : public CanvasTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineToTest, DrawsFromTheStartUpToButExcludingTheEndPoint) {
  const LineCase& c = GetParam();
  canvas->Pen()->SetColor(clBlack);
  canvas->MoveTo(c.from.X, c.from.Y);
  canvas->LineTo(c.to.X, c.to.Y);
  EXPECT_EQ(IsColor(c.from.X, c.from.Y, clBlack), c.pixels > 0);
  EXPECT_TRUE(IsColor(c.to.X, c.to.Y, clWhite));
  EXPECT_EQ(Count(clBlack), c.pixels);
  if (c.from.Y == c.to.Y && c.pixels > 0) {
    EXPECT_EQ(Ink(), QRect(std::min(c.from.X, c.to.X + 1), c.from.Y, c.pixels, 1));
  }
  EXPECT_EQ(canvas->PenPos(), c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, LineToTest,
    ::testing::Values(LineCase{"Right", {0, 0}, {5, 0}, 5}, LineCase{"Left", {20, 3}, {10, 3}, 10},
                      LineCase{"Down", {4, 2}, {4, 9}, 7}, LineCase{"Diagonal", {2, 2}, {12, 12}, 10},
                      LineCase{"Steep", {30, 1}, {27, 20}, 19}, LineCase{"Shallow", {1, 30}, {40, 25}, 39},
                      LineCase{"Empty", {7, 7}, {7, 7}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CanvasTest, PolylineDrawsEveryCornerOnceAndLeavesOutTheLastPoint) {
  // In XOR, a corner drawn twice would vanish.
  canvas->Pen()->SetColor(clWhite);
  canvas->Pen()->SetMode(pmXor);
  canvas->Polyline({{2, 2}, {12, 2}, {12, 8}, {2, 8}, {2, 3}});
  EXPECT_TRUE(IsColor(12, 2, clBlack));
  EXPECT_TRUE(IsColor(12, 8, clBlack));
  EXPECT_TRUE(IsColor(2, 8, clBlack));
  EXPECT_TRUE(IsColor(2, 3, clWhite));
  EXPECT_EQ(Count(clBlack), 10 + 6 + 10 + 5);
}

TEST_F(CanvasTest, DottedPenSetsEveryOtherPixelAndRunsOnAroundCorners) {
  canvas->Pen()->SetStyle(psDot);
  canvas->MoveTo(0, 0);
  canvas->LineTo(10, 0);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(IsColor(x, 0, clBlack), x % 2 == 0) << x;

  canvas->Rectangle(10, 10, 20, 16);  // a perimeter of 28 pixels, half of them dots
  int dots = 0;
  for (int x = 10; x < 20; ++x) dots += IsColor(x, 10, clBlack) + IsColor(x, 15, clBlack);
  for (int y = 11; y < 15; ++y) dots += IsColor(10, y, clBlack) + IsColor(19, y, clBlack);
  EXPECT_EQ(dots, 14);
}

TEST_F(CanvasTest, WidePenIsCentredOnTheLine) {
  canvas->Pen()->SetWidth(3);
  canvas->MoveTo(10, 10);
  canvas->LineTo(30, 10);
  QRect ink = Ink();
  EXPECT_EQ(ink.top(), 9);
  EXPECT_EQ(ink.bottom(), 11);
  EXPECT_LE(ink.left(), 10);
  EXPECT_EQ(Colors().size(), 2u);
}

// ---- rectangles ----

TEST_F(CanvasTest, RectangleFramesItsBoxAndFillsTheInside) {
  canvas->Brush()->SetColor(clRed);
  canvas->Rectangle(0, 0, 10, 5);
  EXPECT_EQ(Ink(), QRect(0, 0, 10, 5));
  for (int x = 0; x < 10; ++x) EXPECT_TRUE(IsColor(x, 0, clBlack) && IsColor(x, 4, clBlack)) << x;
  for (int y = 0; y < 5; ++y) EXPECT_TRUE(IsColor(0, y, clBlack) && IsColor(9, y, clBlack)) << y;
  EXPECT_EQ(Count(clRed), 8 * 3);
}

TEST_F(CanvasTest, RectangleWithClearBrushLeavesTheInsideAlone) {
  canvas->Brush()->SetStyle(bsClear);
  canvas->FillRect(Rect(0, 0, 48, 40));  // a clear brush fills nothing either
  canvas->Rectangle(Rect(5, 5, 15, 15));
  EXPECT_EQ(Count(clBlack), 36);
  EXPECT_TRUE(IsColor(10, 10, clWhite));
}

TEST_F(CanvasTest, RectangleWithoutPenIsFilledOnePixelSmaller) {
  canvas->Pen()->SetStyle(psClear);
  canvas->Brush()->SetColor(clBlue);
  canvas->Rectangle(2, 3, 12, 9);
  EXPECT_EQ(Ink(), QRect(2, 3, 9, 5));
}

struct WidePenCase {
  const char* name;
  TPenStyle style;
  int width;
  QRect ink;  // of Rectangle(10, 10, 30, 20)
};

class WidePenRectangleTest : public CanvasTest, public ::testing::WithParamInterface<WidePenCase> {};

TEST_P(WidePenRectangleTest, OutlineLiesWhereThePenStyleSays) {
  const WidePenCase& c = GetParam();
  canvas->Brush()->SetStyle(bsClear);
  canvas->Pen()->SetStyle(c.style);
  canvas->Pen()->SetWidth(c.width);
  canvas->Rectangle(10, 10, 30, 20);
  EXPECT_EQ(Ink(), c.ink);
  EXPECT_TRUE(IsColor(c.ink.left() + c.width - 1, 15, clBlack));
  EXPECT_TRUE(IsColor(c.ink.left() + c.width, 15, clWhite));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, WidePenRectangleTest,
    ::testing::Values(WidePenCase{"Solid3", psSolid, 3, QRect(9, 9, 22, 12)},
                      WidePenCase{"Solid4", psSolid, 4, QRect(9, 9, 22, 12)},
                      WidePenCase{"InsideFrame3", psInsideFrame, 3, QRect(10, 10, 20, 10)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CanvasTest, FillRectFillsExactlyTheRectangleWithoutOutline) {
  canvas->Brush()->SetColor(clGreen);
  canvas->Pen()->SetMode(pmXor);  // the pen has no say in FillRect
  canvas->FillRect(Rect(3, 4, 13, 9));
  EXPECT_EQ(Ink(), QRect(3, 4, 10, 5));
  EXPECT_EQ(Count(clGreen), 50);
}

TEST_F(CanvasTest, FrameRectDrawsOnePixelInTheBrushColour) {
  canvas->Brush()->SetColor(clMaroon);
  canvas->FrameRect(Rect(3, 4, 13, 9));
  EXPECT_EQ(Ink(), QRect(3, 4, 10, 5));
  EXPECT_EQ(Count(clMaroon), 2 * 10 + 2 * 3);
}

// ---- ellipses ----

class EllipseTest : public CanvasTest, public ::testing::WithParamInterface<TRect> {};

TEST_P(EllipseTest, IsAliasedSymmetricAndTouchesEverySideOfItsBox) {
  TRect box = GetParam();
  canvas->Brush()->SetColor(clYellow);
  canvas->Ellipse(box);
  EXPECT_EQ(Ink(), QRect(box.Left, box.Top, box.Width(), box.Height()));
  std::set<QRgb> expected = {ColorToQColor(clWhite).rgb(), ColorToQColor(clBlack).rgb(),
                             ColorToQColor(clYellow).rgb()};
  std::set<QRgb> colors = Colors();
  for (QRgb c : colors) EXPECT_TRUE(expected.count(c)) << std::hex << c;
  for (int y = box.Top; y < box.Bottom; ++y)
    for (int x = box.Left; x < box.Right; ++x) {
      int mx = box.Left + box.Right - 1 - x, my = box.Top + box.Bottom - 1 - y;
      ASSERT_EQ(At(x, y), At(mx, y)) << x << "," << y;
      ASSERT_EQ(At(x, y), At(x, my)) << x << "," << y;
    }
  // The outline is closed: the fill doesn't leak to the box's corners.
  EXPECT_TRUE(IsColor(box.Left, box.Top, clWhite));
  EXPECT_TRUE(IsColor((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2, clYellow));
}

INSTANTIATE_TEST_SUITE_P(Boxes, EllipseTest,
                         ::testing::Values(Rect(0, 0, 20, 20), Rect(3, 5, 40, 16), Rect(10, 2, 19, 38),
                                           Rect(1, 1, 8, 7)));

TEST_F(CanvasTest, WideEllipseOutlineIsAboutAsThickOnDiagonalsAsOnAxes) {
  canvas->Pen()->SetWidth(4);
  canvas->Pen()->SetStyle(psInsideFrame);
  canvas->Brush()->SetStyle(bsClear);
  canvas->Ellipse(0, 0, 40, 40);
  int axis = 0;
  while (IsColor(axis, 20, clBlack)) ++axis;
  int diagonal = 0;
  for (int i = 0; i < 20; ++i) diagonal += IsColor(i, i, clBlack);
  EXPECT_EQ(axis, 4);
  EXPECT_GE(diagonal * 1.414, 3.0);
  EXPECT_LE(diagonal * 1.414, 6.0);
}

// No pixel of an ellipse lies deeper than half its smaller side: a pen that wide or wider covers
// the whole figure, the same pixels however wide it is, and a much narrower one leaves the middle.
TEST_F(CanvasTest, APenAsWideAsHalfTheEllipseCoversAllOfIt) {
  const TRect box = Rect(4, 2, 44, 32);  // 40 x 30
  canvas->Brush()->SetColor(clYellow);
  canvas->Pen()->SetStyle(psInsideFrame);
  canvas->Ellipse(box);
  const int disc = Count(clBlack) + Count(clYellow);
  canvas->Pen()->SetWidth(10);
  canvas->Ellipse(box);
  EXPECT_TRUE(IsColor(24, 17, clYellow));
  for (int width : {15, 16, 100000}) {
    canvas->Pen()->SetWidth(width);
    canvas->Ellipse(box);
    EXPECT_EQ(Count(clBlack), disc) << width;
    EXPECT_EQ(Count(clYellow), 0) << width;
  }
}

// A pen centred on the outline grows the figure with its width: the widest covers the image.
TEST_F(CanvasTest, AnEllipseWithAnEnormousPenCoversTheImage) {
  canvas->Brush()->SetColor(clYellow);
  canvas->Pen()->SetWidth(100000);
  canvas->Ellipse(20, 16, 28, 24);
  EXPECT_EQ(Count(clBlack), 48 * 40);
}

// ---- figures far larger than the image ----

TEST_F(CanvasTest, HugeFiguresDrawTheirVisiblePartAtTheCostOfTheImage) {
  canvas->MoveTo(-2000000000, 5);
  canvas->LineTo(2000000000, 5);
  for (int x = 0; x < 48; ++x) ASSERT_TRUE(IsColor(x, 5, clBlack)) << x;

  canvas->Pen()->SetStyle(psDot);  // the pattern runs as if the whole line had been drawn
  canvas->MoveTo(-1000001, 20);
  canvas->LineTo(1000000, 20);
  for (int x = 0; x < 48; ++x) ASSERT_EQ(IsColor(x, 20, clBlack), x % 2 == 1) << x;

  canvas->Pen()->SetStyle(psSolid);
  canvas->Brush()->SetColor(clLime);
  canvas->Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
  EXPECT_EQ(Count(clLime), 48 * 40);
  canvas->Pen()->SetWidth(3);
  canvas->Ellipse(-1000000, 2, 1000000, 1000000);
  EXPECT_TRUE(IsColor(24, 0, clLime) && IsColor(24, 1, clBlack) && IsColor(24, 3, clBlack));
  EXPECT_TRUE(IsColor(24, 4, clLime));
  canvas->MoveTo(-2000000000, 30);
  canvas->LineTo(2000000000, 30);
  EXPECT_TRUE(IsColor(0, 29, clBlack) && IsColor(47, 31, clBlack));
  canvas->Brush()->SetColor(clRed);
  canvas->Polygon({{-2000000000, -2000000000}, {2000000000, -2000000000}, {0, 2000000000}});
  EXPECT_TRUE(IsColor(24, 20, clRed));
}

// ---- pen modes ----

struct XorCase {
  const char* name;
  int width;
  TPenStyle style;
};

class XorTest : public CanvasTest, public ::testing::WithParamInterface<XorCase> {
 protected:
  void SetUp() override {
    CanvasTest::SetUp();
    QImage pattern(48, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 48; ++x) pattern.setPixel(x, y, qRgb(x * 5, y * 6, (x * y) & 0xFF));
    bitmap.SetImage(pattern);
    canvas->Pen()->SetColor(clWhite);
    canvas->Pen()->SetMode(pmXor);
    canvas->Pen()->SetWidth(GetParam().width);
    canvas->Pen()->SetStyle(GetParam().style);
    canvas->Brush()->SetColor(clAqua);
  }
};

TEST_P(XorTest, EveryFigureDrawnTwiceRestoresTheImage) {
  QImage before = bitmap.Image().copy();
  auto drawAll = [this] {
    canvas->MoveTo(1, 1);
    canvas->LineTo(40, 30);
    canvas->Polyline({{5, 30}, {20, 5}, {35, 35}, {5, 30}});
    canvas->Rectangle(4, 4, 30, 20);
    canvas->Ellipse(10, 8, 44, 38);
    canvas->Polygon({{2, 38}, {24, 20}, {46, 38}});
  };
  drawAll();
  EXPECT_NE(bitmap.Image(), before);
  drawAll();
  EXPECT_EQ(bitmap.Image(), before);
}

INSTANTIATE_TEST_SUITE_P(Pens, XorTest,
                         ::testing::Values(XorCase{"Width1", 1, psSolid}, XorCase{"Width2", 2, psSolid},
                                           XorCase{"Dotted", 1, psDot}, XorCase{"Width5", 5, psInsideFrame}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CanvasTest, NotModeInvertsWhatThePenCovers) {
  canvas->Pen()->SetMode(pmNot);
  canvas->Pen()->SetColor(clRed);  // the colour plays no part
  canvas->MoveTo(0, 0);
  canvas->LineTo(4, 0);
  EXPECT_EQ(Count(clBlack), 4);
}

TEST_F(CanvasTest, NopModeDrawsNeitherOutlineNorFill) {
  canvas->Pen()->SetMode(pmNop);
  canvas->Brush()->SetColor(clRed);
  canvas->Rectangle(0, 0, 10, 10);
  canvas->Ellipse(0, 0, 10, 10);
  EXPECT_TRUE(Ink().isNull());
}

// ---- canvas state ----

TEST_F(CanvasTest, DrawingWithoutDeviceContextRaises) {
  TCanvas bare;
  EXPECT_THROW(bare.LineTo(1, 1), Exception);
  TBitmap empty;
  EXPECT_THROW(empty.Canvas()->Rectangle(0, 0, 2, 2), Exception);
}

TEST_F(CanvasTest, EveryDrawingCallIsAnnouncedBeforeAndAfter) {
  std::string log;
  canvas->OnChanging.Bind([&](TObject*) { log += "<"; });
  canvas->OnChange.Bind([&](TObject*) { log += ">"; });
  canvas->LineTo(3, 3);
  canvas->FillRect(Rect(0, 0, 2, 2));
  TRect r = Rect(0, 0, 100, 0);
  canvas->DrawText("measure only", r, DT_CALCRECT);
  EXPECT_EQ(log, "<><>");
}

TEST_F(CanvasTest, PixelsReadAndWriteSinglePixels) {
  canvas->SetPixels(7, 8, clPurple);
  EXPECT_EQ(canvas->Pixels(7, 8), clPurple);
  EXPECT_EQ(canvas->Pixels(6, 8), clWhite);
  EXPECT_EQ(canvas->Pixels(-1, 0), -1);
}

}  // namespace
