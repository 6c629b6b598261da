// Colours between the framework and Qt, system colours from the palette, cursors by name.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>

#include "platform/graphics/Colors.h"
#include "platform/graphics/Cursors.h"
#include "tests/support/QtApp.h"

namespace {

TEST(ColorsTest, RgbColoursKeepTheirBytesInBlueGreenRedOrder) {
  EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
  EXPECT_EQ(ColorToQColor(clNavy), QColor(0, 0, 128));
  EXPECT_EQ(ColorToQColor(0x123456), QColor(0x56, 0x34, 0x12));
  EXPECT_EQ(QColorToColor(QColor(0x56, 0x34, 0x12)), 0x123456);
  EXPECT_EQ(QColorToColor(QColor(0x56, 0x34, 0x12, 7)), 0x123456) << "alpha is dropped";
  EXPECT_EQ(ColorToRGB(clMoneyGreen), clMoneyGreen);
}

TEST(ColorsTest, SystemColoursFollowTheApplicationPalette) {
  TestApp();
  QPalette palette = QGuiApplication::palette();
  EXPECT_EQ(ColorToQColor(clWindow), palette.color(QPalette::Base));
  EXPECT_EQ(ColorToQColor(clBtnFace), palette.color(QPalette::Button));
  EXPECT_EQ(ColorToQColor(clWindowText), palette.color(QPalette::Text));
  EXPECT_EQ(ColorToQColor(clHighlight), palette.color(QPalette::Highlight));
  EXPECT_EQ(ColorToQColor(clGrayText), palette.color(QPalette::Disabled, QPalette::Text));
  EXPECT_EQ(ColorToRGB(clBtnShadow), QColorToColor(palette.color(QPalette::Dark)));
  // Colours the palette has no counterpart of keep their classic value.
  EXPECT_EQ(ColorToRGB(clBackground), ClassicSysColor(1));
  EXPECT_EQ(ClassicSysColor(15), clSilver);
  EXPECT_EQ(ClassicSysColor(99), clBlack);
}

TEST(ColorsTest, ColoursWithoutValueHaveAQtMeaning) {
  TestApp();
  EXPECT_EQ(ColorToQColor(clNone).alpha(), 0);
  EXPECT_EQ(ColorToQColor(clDefault), ColorToQColor(clWindow));
  EXPECT_EQ(ColorToRGB(clNone), clNone);
}

TEST(CursorsTest, StreamNamesAreTheFrameworksAndTheOlderNameIsOnlyRead) {
  std::string ident;
  ASSERT_TRUE(IntToIdent(crSizeAll, ident, CursorIdents()));
  EXPECT_EQ(ident, "crSizeAll");
  ASSERT_TRUE(IntToIdent(crHandPoint, ident, CursorIdents()));
  EXPECT_EQ(ident, "crHandPoint");
  int32_t value = 0;
  ASSERT_TRUE(IdentToInt("crSize", value, CursorIdents()));
  EXPECT_EQ(value, -22);
  EXPECT_FALSE(IntToIdent(-5, ident, CursorIdents()));
  EXPECT_EQ(CursorType().Kind, tkInteger);
}

TEST(CursorsTest, CursorsShowAsTheirQtShapes) {
  TestApp();
  EXPECT_EQ(ToQCursor(crDefault).shape(), Qt::ArrowCursor);
  EXPECT_EQ(ToQCursor(crIBeam).shape(), Qt::IBeamCursor);
  EXPECT_EQ(ToQCursor(crSizeNWSE).shape(), Qt::SizeFDiagCursor);
  EXPECT_EQ(ToQCursor(crSizeNESW).shape(), Qt::SizeBDiagCursor);
  EXPECT_EQ(ToQCursor(crHourGlass).shape(), Qt::WaitCursor);
  EXPECT_EQ(ToQCursor(crNone).shape(), Qt::BlankCursor);
  EXPECT_EQ(ToQCursor(1234).shape(), Qt::ArrowCursor);
}

}  // namespace
