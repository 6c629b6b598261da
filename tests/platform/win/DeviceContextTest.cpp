// Device contexts of windows that go away while they paint, and the screen's XOR layer when many
// figures are drawn in one batch.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "platform/win/DeviceContext.h"
#include "platform/win/Windows.h"
#include "tests/support/QtApp.h"

namespace {

// Collects the warnings Qt prints while it lives; a painter left active on a widget or a backing
// store shows only there (its memory belongs to Qt, which the leak check leaves out).
class QtWarnings {
 public:
  QtWarnings() {
    Messages().clear();
    previous_ = qInstallMessageHandler(&QtWarnings::Collect);
  }
  ~QtWarnings() { qInstallMessageHandler(previous_); }
  std::vector<std::string> AboutPainting() const {
    std::vector<std::string> found;
    for (const std::string& m : Messages())
      if (m.find("paint") != std::string::npos || m.find("Paint") != std::string::npos) found.push_back(m);
    return found;
  }

 private:
  static std::vector<std::string>& Messages() {
    static std::vector<std::string> messages;
    return messages;
  }
  static void Collect(QtMsgType, const QMessageLogContext&, const QString& message) {
    Messages().push_back(message.toStdString());
  }
  QtMessageHandler previous_ = nullptr;
};

// A shown top-level window with one white child window whose procedure the test chooses.
class PaintingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    top = std::make_unique<QWidget>();
    top->setGeometry(120, 120, 240, 160);
    topWindow = CreateWindowHandle(top.get(), 0);
    childWidget = new QWidget(top.get());
    childWidget->setGeometry(20, 20, 120, 80);
    child = CreateWindowHandle(childWidget, topWindow);
    top->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(top.get()));
  }
  void TearDown() override {
    if (proc) FreeObjectInstance(proc);
    DestroyWindow(topWindow);
    top.reset();
  }

  // Gives the child window `paint` as its procedure; other messages go to the native one.
  template <class F>
  void OnPaint(F paint) {
    WNDPROC native = GetWindowLong(child, GWL_WNDPROC);
    proc = MakeObjectInstance([this, paint, native](TMessage& m) {
      if (m.Msg == WM_PAINT) paint();
      else m.Result = CallWindowProc(native, child, m.Msg, m.WParam, m.LParam);
    });
    SetWindowLong(child, GWL_WNDPROC, proc);
  }

  // Paints the window's update region in one colour through a device context of its paint.
  void PaintIn(QColor color) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(child, ps);
    if (QPainter* p = DCPainter(dc)) {
      p->fillRect(QRect(ps.rcPaint.Left, ps.rcPaint.Top, ps.rcPaint.Width(), ps.rcPaint.Height()), color);
      DCDrawn(dc, ps.rcPaint);
    }
    EndPaint(child, ps);
  }

  std::unique_ptr<QWidget> top;
  QWidget* childWidget = nullptr;
  HWND topWindow = 0, child = 0;
  WNDPROC proc = 0;
};

}  // namespace

// The window's procedure draws and then destroys its own window and lets go of its widget before
// its paint is over, as a control does whose paint handler frees it. Qt goes on with the widget
// after the paint returns, so the widget is out of sight at once and gone once the event loop runs;
// nothing uses its painter afterwards, and the windows that remain paint as before.
TEST_F(PaintingWindowTest, WindowDestroyedDuringItsOwnPaintLeavesNothingBehind) {
  QtWarnings warnings;
  QPointer<QWidget> gone = childWidget;
  bool hiddenAtOnce = false;
  OnPaint([this, &hiddenAtOnce] {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(child, ps);
    if (QPainter* p = DCPainter(dc)) p->fillRect(0, 0, 10, 10, Qt::red);
    DestroyWindow(child);
    DisposeWidget(childWidget);
    hiddenAtOnce = childWidget->isHidden();
    childWidget = nullptr;
    EXPECT_EQ(DCPainter(dc), nullptr);
    EndPaint(child, ps);  // the window is gone: a no-op, not a crash
  });
  childWidget->repaint();
  EXPECT_TRUE(hiddenAtOnce);
  EXPECT_FALSE(IsWindow(child));
  QCoreApplication::processEvents();
  EXPECT_TRUE(gone.isNull());

  // A new window in its place paints through its own device context.
  childWidget = new QWidget(top.get());
  childWidget->setGeometry(20, 20, 120, 80);
  childWidget->show();
  FreeObjectInstance(proc);
  proc = 0;
  child = CreateWindowHandle(childWidget, topWindow);
  OnPaint([this] { PaintIn(Qt::blue); });
  childWidget->repaint();
  QImage shot = top->grab().toImage();
  EXPECT_EQ(shot.pixelColor(60, 60), QColor(Qt::blue));
  QImage screen = QGuiApplication::primaryScreen()->grabWindow(top->winId()).toImage();
  EXPECT_EQ(screen.pixelColor(60, 60), QColor(Qt::blue));
  EXPECT_EQ(warnings.AboutPainting(), std::vector<std::string>{});
}

// A child's paint that lets go of the top-level window around it (a form freed from the paint of
// one of its controls): the top-level window and the child stay until the paint is over, then go
// together; the paint's painter ends with the child's window.
TEST_F(PaintingWindowTest, TopLevelWindowFreedDuringAChildsPaintGoesOnceThePaintIsOver) {
  QtWarnings warnings;
  QPointer<QWidget> topGone = top.get(), childGone = childWidget;
  bool painted = false;
  OnPaint([this, &painted, &childGone] {
    painted = true;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(child, ps);
    if (QPainter* p = DCPainter(dc)) p->fillRect(0, 0, 10, 10, Qt::red);
    DestroyWindow(topWindow);
    DisposeWidget(top.release());
    EXPECT_FALSE(childGone.isNull());
    EXPECT_EQ(DCPainter(dc), nullptr);
    EndPaint(child, ps);
  });
  top->repaint();
  EXPECT_TRUE(painted);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(topWindow));
  QCoreApplication::processEvents();
  EXPECT_TRUE(topGone.isNull());
  EXPECT_TRUE(childGone.isNull());
  EXPECT_EQ(warnings.AboutPainting(), std::vector<std::string>{});
}

namespace {

// The top-level window as the screen shows it now (its backing store), and as it would paint
// afresh; they differ where a change has not been refreshed yet.
QImage OnScreen(QWidget* top) {
  QCoreApplication::processEvents();
  return QGuiApplication::primaryScreen()->grabWindow(top->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}
QImage Painted(QWidget* top) { return top->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Draws a 2-pixel XOR frame through a device context's painter, at `corner` in its coordinates.
void XorFrame(HDC dc, TPoint corner) {
  QPainter* p = DCPainter(dc);
  ASSERT_NE(p, nullptr);
  p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  p->setPen(QPen(QColor(0x80, 0x80, 0x80), 2));
  p->drawRect(corner.X, corner.Y, 40, 30);
  DCDrawn(dc, Bounds(corner.X - 2, corner.Y - 2, 44, 34));
}

}  // namespace

// Several screen device contexts may be held at once (a drag's outlines and a handle's): each
// draws, at its own origin, and letting one go leaves the others working.
TEST_F(PaintingWindowTest, ScreenDeviceContextsDrawSideBySide) {
  QImage before = Painted(top.get());
  TPoint corner{30, 30};
  ClientToScreen(topWindow, corner);
  HDC first = GetDC(0), second = GetDC(0);
  SetViewportOrgEx(first, corner.X, corner.Y, nullptr);
  XorFrame(first, {0, 0});
  XorFrame(second, {corner.X + 100, corner.Y});  // the first one's origin is not the second's
  QImage both = Painted(top.get());
  EXPECT_NE(both.pixel(30, 30), before.pixel(30, 30));
  EXPECT_NE(both.pixel(130, 30), before.pixel(130, 30));
  EXPECT_EQ(both.pixel(60, 45), before.pixel(60, 45));
  ReleaseDC(0, first);
  XorFrame(second, {corner.X + 100, corner.Y});
  EXPECT_EQ(Painted(top.get()).pixel(130, 30), before.pixel(130, 30));
  first = GetDC(0);
  XorFrame(first, corner);
  EXPECT_EQ(Painted(top.get()), before);
  ReleaseDC(0, first);
  ReleaseDC(0, second);
}

// XorRects inverts exactly the rectangles inside the device context's clip, however far they
// reach, and the same call again takes everything back.
TEST_F(PaintingWindowTest, XorRectsInvertWithinTheClipAndTakeItBack) {
  QImage before = Painted(top.get());
  TPoint origin{0, 0};
  ClientToScreen(topWindow, origin);
  HDC dc = GetDC(0);
  SetViewportOrgEx(dc, origin.X, origin.Y, nullptr);  // top-level client coordinates from here
  IntersectClipRect(dc, 10, 20, 70, 50);
  const TRect rects[] = {{-1000000000, -1000000000, 1000000000, 1000000000}, {5, 5, 5, 90}};
  ASSERT_TRUE(XorRects(dc, rects, 2, 0x00FFFFFF));
  QImage inverted = Painted(top.get());
  for (int y = 0; y < before.height(); ++y)
    for (int x = 0; x < before.width(); ++x) {
      bool inside = x >= 10 && x < 70 && y >= 20 && y < 50;
      QRgb expected = inside ? (before.pixel(x, y) ^ 0x00FFFFFFu) : before.pixel(x, y);
      ASSERT_EQ(inverted.pixel(x, y) | 0xFF000000u, expected | 0xFF000000u) << x << "," << y;
    }
  XorRects(dc, rects, 2, 0x00FFFFFF);
  EXPECT_EQ(Painted(top.get()), before);
  ReleaseDC(0, dc);
  EXPECT_FALSE(XorRects(dc, rects, 1, 0x00FFFFFF));  // released: no longer a device context

  QImage image(20, 10, QImage::Format_RGB32);
  image.fill(QColor(0x10, 0x20, 0x30));
  HDC imageDC = CreateDeviceDC(&image);
  const TRect one{2, 3, 5, 4};
  XorRects(imageDC, &one, 1, 0x00030201);  // colour values are blue-green-red
  DeleteDC(imageDC);
  EXPECT_EQ(image.pixel(2, 3) & 0xFFFFFFu, 0x112233u);
  EXPECT_EQ(image.pixel(5, 3) & 0xFFFFFFu, 0x102030u);
}

// Figures drawn inside a batch reach the screen together when the batch closes: the windows are
// refreshed over everything drawn, however many strips that was.
TEST_F(PaintingWindowTest, BatchRefreshesEverythingDrawnWhenItCloses) {
  QImage before = OnScreen(top.get());
  ASSERT_EQ(before, Painted(top.get()));
  TPoint origin{0, 0};
  ClientToScreen(topWindow, origin);
  HDC dc = GetDC(0);
  SetViewportOrgEx(dc, origin.X, origin.Y, nullptr);
  std::vector<TRect> dots;
  for (int i = 0; i < 60; ++i) dots.push_back(Bounds(7 + (i * 37) % 220, 5 + (i * 23) % 150, 3, 2));
  {
    TScreenBatch batch;
    XorRects(dc, dots.data(), dots.size(), 0x00FFFFFF);
    XorFrame(dc, {150, 100});
    EXPECT_EQ(OnScreen(top.get()), before);  // nothing refreshed yet
  }
  QImage after = OnScreen(top.get());
  EXPECT_NE(after, before);
  EXPECT_EQ(after, Painted(top.get()));
  XorRects(dc, dots.data(), dots.size(), 0x00FFFFFF);
  XorFrame(dc, {150, 100});
  EXPECT_EQ(OnScreen(top.get()), before);
  ReleaseDC(0, dc);
}
