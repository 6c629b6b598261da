// Formatted text: measuring lays out exactly what drawing draws, alignment, accelerator prefixes,
// line breaks and clipping.

#include <gtest/gtest.h>

#include <string>

#include "tests/platform/graphics/GraphicsTestSupport.h"

namespace {

class DrawTextTest : public CanvasTest {
 protected:
  void SetUp() override {
    CanvasTest::SetUp();
    bitmap.SetSize(240, 160);
    canvas->Font()->SetHeight(-13);
  }
  int LineHeight() { return canvas->TextHeight("Ag"); }
};

struct WrapCase {
  const char* name;
  const char* face;
  const char* text;
  const char* fits;  // the widest first line the rectangle is made for
  int lines;
};

class WordBreakTest : public DrawTextTest, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(WordBreakTest, MeasuresTheLinesItThenDraws) {
  const WrapCase& c = GetParam();
  canvas->Font()->SetName(c.face);
  TRect r = Rect(10, 10, 10 + canvas->TextWidth(c.fits) + 1, 10);
  int height = canvas->DrawText(c.text, r, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_TRUE(Ink().isNull()) << "measuring draws nothing";
  EXPECT_EQ(height, c.lines * LineHeight());
  EXPECT_EQ(r.Bottom, 10 + height);

  // Drawn unclipped into the measured rectangle, the ink stays inside it and reaches its last line.
  canvas->DrawText(c.text, r, DT_WORDBREAK | DT_NOCLIP);
  QRect ink = Ink();
  EXPECT_GE(ink.left(), r.Left - 1);
  EXPECT_LE(ink.right(), r.Right);
  EXPECT_GE(ink.top(), r.Top);
  EXPECT_LT(ink.bottom(), r.Bottom);
  EXPECT_GE(ink.bottom(), r.Bottom - LineHeight());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WordBreakTest,
    ::testing::Values(
        WrapCase{"Words", "MS Sans Serif", "one two three four five six", "one two three", 2},
        WrapCase{"SpacesDroppedAtBreaks", "MS Sans Serif", "one   two   three", "one", 3},
        WrapCase{"LongWordStaysWhole", "MS Sans Serif", "a extraordinarily b", "a b", 3},
        WrapCase{"LineFeedsStillBreak", "MS Sans Serif", "one\ntwo three", "two three", 2},
        WrapCase{"Ideographs", "新細明體", "出貨嘜頭標籤列印", "出貨嘜", 3},
        WrapCase{"ClosingPunctuationKeepsItsCharacter", "新細明體", "出貨。好", "出貨", 3},
        WrapCase{"MixedScripts", "新細明體", "Mark 出貨 No. 12 台北", "Mark 出貨", 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DrawTextTest, CalcRectReportsTheWidestLineAndAllLines) {
  TRect r = Rect(5, 7, 5, 7);
  EXPECT_EQ(canvas->DrawText("ab\nlonger line\r\nc", r, DT_CALCRECT), 3 * LineHeight());
  EXPECT_EQ(r, Rect(5, 7, 5 + canvas->TextWidth("longer line"), 7 + 3 * LineHeight()));
  r = Rect(5, 7, 50, 50);
  EXPECT_EQ(canvas->DrawText("", r, DT_CALCRECT), 0);
  EXPECT_EQ(r, Rect(5, 7, 5, 7));
  r = Rect(0, 0, 100, 0);
  EXPECT_EQ(canvas->DrawText("one\ntwo", r, DT_CALCRECT | DT_SINGLELINE), LineHeight());
}

class AlignmentTest : public DrawTextTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(AlignmentTest, PlacesTheLineWhereTheFlagsSay) {
  TRect r = Rect(20, 10, 220, 60);
  canvas->DrawText("Mark", r, GetParam() | DT_SINGLELINE | DT_VCENTER);
  QRect ink = Ink();
  int left = ink.left() - r.Left, right = r.Right - 1 - ink.right();
  switch (GetParam()) {
    case DT_LEFT: EXPECT_LE(left, 2); break;
    case DT_RIGHT: EXPECT_LE(right, 2); break;
    default: EXPECT_LE(std::abs(left - right), 3); break;
  }
  int above = ink.top() - r.Top, below = r.Bottom - 1 - ink.bottom();
  EXPECT_LE(std::abs(above - below), LineHeight() / 2);
}

INSTANTIATE_TEST_SUITE_P(Flags, AlignmentTest, ::testing::Values(DT_LEFT, DT_CENTER, DT_RIGHT));

TEST_F(DrawTextTest, VerticalPlacementReturnsTheDistanceToTheTextBottom) {
  TRect r = Rect(0, 10, 200, 50);
  int h = LineHeight();
  EXPECT_EQ(canvas->DrawText("x", r, DT_SINGLELINE | DT_VCENTER), (40 - h) / 2 + h);
  EXPECT_EQ(canvas->DrawText("x", r, DT_SINGLELINE | DT_BOTTOM), 40);
  EXPECT_EQ(canvas->DrawText("x", r, DT_SINGLELINE), h);
}

TEST_F(DrawTextTest, PrefixUnderlinesTheNextCharacterAndIsNotMeasured) {
  TRect r = Rect(0, 0, 300, 0);
  canvas->DrawText("&File", r, DT_CALCRECT);
  EXPECT_EQ(r.Right, canvas->TextWidth("File"));
  TRect literal = Rect(0, 0, 300, 0), plain = Rect(0, 0, 300, 0);
  canvas->DrawText("A&&B", literal, DT_CALCRECT);
  canvas->DrawText("A&B", plain, DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(literal, plain);

  r = Rect(10, 10, 200, 40);
  canvas->DrawText("File", r, DT_NOPREFIX);
  QImage without = bitmap.Image().copy();
  canvas->DrawText("&File", r, 0);
  const QImage& with = bitmap.Image();
  QRect added;
  for (int y = 0; y < with.height(); ++y)
    for (int x = 0; x < with.width(); ++x)
      if (with.pixel(x, y) != without.pixel(x, y)) added |= QRect(x, y, 1, 1);
  ASSERT_FALSE(added.isNull());
  EXPECT_EQ(added.height(), 1);
  EXPECT_GE(added.left(), 10);
  EXPECT_LE(added.right(), 10 + canvas->TextWidth("F"));
  EXPECT_LT(added.bottom(), 10 + LineHeight());

  bitmap.Canvas()->FillRect(Rect(0, 0, 240, 160));
  canvas->DrawText("&&File", r, 0);
  QImage doubled = bitmap.Image().copy();
  canvas->FillRect(Rect(0, 0, 240, 160));
  canvas->DrawText("&File", r, DT_NOPREFIX);
  EXPECT_EQ(bitmap.Image(), doubled);
}

TEST_F(DrawTextTest, ClipsToTheRectangleUnlessToldNotTo) {
  TRect r = Rect(10, 10, 30, 30);
  canvas->DrawText("a rather long line of text", r, DT_SINGLELINE);
  EXPECT_LE(Ink().right(), 29);
  canvas->DrawText("a rather long line of text", r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(Ink().right(), 29);
}

TEST_F(DrawTextTest, SolidBrushFillsTheTextBackgroundAndClearBrushDoesNot) {
  canvas->Brush()->SetColor(clYellow);
  canvas->TextOut(10, 10, "Mark");
  EXPECT_TRUE(IsColor(10, 10, clYellow));
  EXPECT_EQ(canvas->PenPos(), Point(10 + canvas->TextWidth("Mark"), 10));
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(10, 50, "Mark");
  EXPECT_TRUE(IsColor(10, 50, clWhite));
  EXPECT_FALSE(Ink(clWhite).isNull());
}

TEST_F(DrawTextTest, TabsExpandToEightAverageCharactersOnlyWhenAsked) {
  TRect expanded = Rect(0, 0, 300, 0), plain = Rect(0, 0, 300, 0);
  canvas->DrawText("a\tb", expanded, DT_CALCRECT | DT_EXPANDTABS);
  canvas->DrawText("a\tb", plain, DT_CALCRECT);
  EXPECT_EQ(plain.Right, canvas->TextWidth("a b"));
  EXPECT_GT(expanded.Right, plain.Right);
}

}  // namespace
