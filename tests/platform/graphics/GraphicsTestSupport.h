#pragma once
// A bitmap to draw on and ways to look at its pixels.

#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Colors.h"
#include "tests/support/QtApp.h"

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    bitmap.SetSize(48, 40);
    canvas = bitmap.Canvas();
  }

  QRgb At(int x, int y) { return bitmap.Image().pixel(x, y); }
  bool IsColor(int x, int y, TColor color) { return At(x, y) == ColorToQColor(color).rgb(); }

  // The smallest rectangle holding every pixel that is not `background`; null when there is none.
  QRect Ink(TColor background = clWhite) {
    const QImage& image = bitmap.Image();
    QRgb bg = ColorToQColor(background).rgb();
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) != bg) ink |= QRect(x, y, 1, 1);
    return ink;
  }

  int Count(TColor color) {
    const QImage& image = bitmap.Image();
    QRgb rgb = ColorToQColor(color).rgb();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == rgb;
    return n;
  }

  std::set<QRgb> Colors() {
    const QImage& image = bitmap.Image();
    std::set<QRgb> colors;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) colors.insert(image.pixel(x, y));
    return colors;
  }

  TBitmap bitmap;
  TCanvas* canvas = nullptr;
};
