// Fonts: points and pixels, installed stand-ins for the faces of the marks, change notices.

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <string>

#include "platform/graphics/Font.h"
#include "tests/support/QtApp.h"

namespace {

struct SizeCase {
  int height;
  int size;            // Size for that Height
  int heightOfSize;    // Height after setting that Size
};

class FontSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(FontSizeTest, SizeIsPointsAtNinetySixDotsPerInch) {
  const SizeCase& c = GetParam();
  TFont font;
  font.SetHeight(c.height);
  EXPECT_EQ(font.Size(), c.size);
  font.SetSize(c.size);
  EXPECT_EQ(font.Height(), c.heightOfSize);
}

INSTANTIATE_TEST_SUITE_P(Heights, FontSizeTest,
                         ::testing::Values(SizeCase{-11, 8, -11}, SizeCase{-12, 9, -12}, SizeCase{-13, 10, -13},
                                           SizeCase{-16, 12, -16}, SizeCase{-15, 11, -15},
                                           SizeCase{-27, 20, -27}, SizeCase{-10, 8, -11},
                                           SizeCase{16, -12, 16}, SizeCase{0, 0, 0}));

class FontFaceTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { TestApp(); }
};

TEST_P(FontFaceTest, FacesOfTheMarksDrawWithAnInstalledFamily) {
  TFont font;
  font.SetName(GetParam());
  std::string family = SubstituteFontFamily(GetParam());
  EXPECT_TRUE(QFontDatabase::hasFamily(QString::fromStdString(family))) << family;
  EXPECT_EQ(QFontInfo(font.ToQFont()).family().toStdString(), family);
}

INSTANTIATE_TEST_SUITE_P(Names, FontFaceTest,
                         ::testing::Values("新細明體", "細明體", "PMingLiU", "mingliu", "MS Sans Serif", "Tahoma"));

TEST(FontTest, MingFacesBecomeAMingFace) {
  TestApp();
  EXPECT_NE(SubstituteFontFamily("新細明體").find("Ming"), std::string::npos);
  EXPECT_EQ(SubstituteFontFamily("Some Face"), "Some Face");
}

TEST(FontTest, QtFontCarriesPixelHeightAndStyles) {
  TestApp();
  TFont font;
  font.SetHeight(-17);
  font.SetStyle({fsBold, fsUnderline});
  QFont q = font.ToQFont();
  EXPECT_EQ(q.pixelSize(), 17);
  EXPECT_TRUE(q.bold());
  EXPECT_FALSE(q.italic());
  EXPECT_TRUE(q.underline());
  font.SetHeight(20);  // a cell height is drawn at that pixel size too
  EXPECT_EQ(font.ToQFont().pixelSize(), 20);
}

TEST(FontTest, ChangesAreAnnouncedOnceAndOnlyWhenSomethingChanges) {
  TFont font, other;
  int changes = 0;
  font.OnChange.Bind([&](TObject*) { ++changes; });
  font.SetHeight(-11);
  font.SetName("MS Sans Serif");
  EXPECT_EQ(changes, 0);
  font.SetSize(12);
  EXPECT_EQ(changes, 1);
  other.SetColor(clRed);
  other.SetStyle({fsItalic});
  font.Assign(&other);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(font.Color(), clRed);
  EXPECT_EQ(font.Height(), -11);
  EXPECT_TRUE(font.Style().Contains(fsItalic));
}

}  // namespace
