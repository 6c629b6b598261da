#include <QPainter>

#include "platform/graphics/Canvas.h"
#include "platform/win/DeviceContext.h"
#include "tests/platform/controls/ControlsTestSupport.h"

using controls_test::FormTest;

// Outlines drawn on the screen show over a form (whose window sits inside its frame) and vanish
// without a trace when drawn again.
TEST_F(FormTest, XorOutlineOverAFormShowsAndErasesExactly) {
  form->SetColor(clWhite);
  ShowForm();
  QWidget* top = Widget()->window();
  QImage before = top->grab().toImage();
  HDC dc = GetDC(0);
  auto* canvas = New<TCanvas>();
  canvas->SetHandle(dc);
  canvas->Pen()->SetMode(pmXor);
  canvas->Pen()->SetColor(clGray);
  canvas->Pen()->SetWidth(2);
  TPoint corner = form->ClientToScreen({50, 40});
  auto frame = [&] {
    canvas->MoveTo(corner.X, corner.Y);
    canvas->LineTo(corner.X + 200, corner.Y);
    canvas->LineTo(corner.X + 200, corner.Y + 100);
    canvas->LineTo(corner.X, corner.Y + 100);
    canvas->LineTo(corner.X, corner.Y);
  };
  frame();
  QImage drawn = top->grab().toImage();
  QPoint onLine = top->mapFromGlobal(QPoint(corner.X + 100, corner.Y));
  EXPECT_NE(drawn.pixel(onLine), before.pixel(onLine));
  frame();
  EXPECT_EQ(top->grab().toImage(), before);
  canvas->SetHandle(0);
  canvas->Free();
  ReleaseDC(0, dc);
}
