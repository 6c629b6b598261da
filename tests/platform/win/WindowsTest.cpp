// Window services as the design framework relies on them: subclassing, hit-test transparency,
// capture, cursor clip, posted messages, z-order, the error boundary and the screen's XOR layer.

#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/win/DeviceContext.h"
#include "platform/win/ErrorBoundary.h"
#include "platform/win/Windows.h"
#include "tests/support/QtApp.h"

namespace {

// Subclasses a window for a test: sees every message first, records it, and passes on what
// `handle` does not keep.
struct Subclass {
  HWND window;
  WNDPROC old = 0;
  WNDPROC mine = 0;
  std::vector<TMessage> seen;
  std::function<bool(TMessage&)> handle;

  explicit Subclass(HWND w) : window(w) {
    mine = MakeObjectInstance([this](TMessage& m) {
      seen.push_back(m);
      if (handle && handle(m)) return;
      m.Result = CallWindowProc(old, window, m.Msg, m.WParam, m.LParam);
    });
    old = SetWindowLong(window, GWL_WNDPROC, mine);
  }
  ~Subclass() {
    if (IsWindow(window)) SetWindowLong(window, GWL_WNDPROC, old);
    FreeObjectInstance(mine);
  }
  std::vector<TMessage> Of(UINT msg) const {
    std::vector<TMessage> r;
    for (const TMessage& m : seen)
      if (m.Msg == msg) r.push_back(m);
    return r;
  }
};

// A top-level window with two overlapping child windows; `front` lies over `back`.
class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    top = std::make_unique<QWidget>();
    top->setGeometry(100, 100, 300, 200);
    topWindow = CreateWindowHandle(top.get(), 0);
    backWidget = new QWidget(top.get());
    backWidget->setGeometry(10, 10, 200, 150);
    back = CreateWindowHandle(backWidget, topWindow);
    frontWidget = new QWidget(top.get());
    frontWidget->setGeometry(20, 20, 100, 80);
    front = CreateWindowHandle(frontWidget, topWindow);
    top->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(top.get()));
  }
  void TearDown() override {
    ReleaseCapture();
    ClipCursor(nullptr);
    SetExceptionHandler(nullptr);
    DestroyWindow(topWindow);
    top.reset();
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
                std::none_of(QApplication::topLevelWidgets().begin(), QApplication::topLevelWidgets().end(),
                             [](QWidget* w) { return w->isVisible(); }));
  }

  std::unique_ptr<QWidget> top;
  QWidget* backWidget = nullptr;
  QWidget* frontWidget = nullptr;
  HWND topWindow = 0, back = 0, front = 0;
};

}  // namespace

TEST_F(WindowsTest, ProcedureIsReplacedAndRestoredAndBadHandlesGiveZero) {
  WNDPROC native = GetWindowLong(front, GWL_WNDPROC);
  ASSERT_NE(native, 0);
  {
    Subclass hook(front);
    EXPECT_EQ(hook.old, native);
    EXPECT_EQ(GetWindowLong(front, GWL_WNDPROC), hook.mine);
    SendMessage(front, WM_USER + 7, 1, 2);
    ASSERT_EQ(hook.Of(WM_USER + 7).size(), 1u);
  }
  EXPECT_EQ(GetWindowLong(front, GWL_WNDPROC), native);
  EXPECT_EQ(GetWindowLong(9999, GWL_WNDPROC), 0);
  EXPECT_EQ(SetWindowLong(9999, GWL_WNDPROC, native), 0);
  EXPECT_EQ(SetWindowLong(front, GWL_WNDPROC, 123456), 0);  // not a procedure
  EXPECT_EQ(SendMessage(9999, WM_USER, 0, 0), 0);
}

TEST_F(WindowsTest, ChildWindowsAreWalkedTopmostFirst) {
  EXPECT_EQ(GetWindow(topWindow, GW_CHILD), front);
  EXPECT_EQ(GetWindow(front, GW_HWNDNEXT), back);
  EXPECT_EQ(GetWindow(back, GW_HWNDNEXT), 0u);
  BringWindowToTop(back);
  EXPECT_EQ(GetWindow(topWindow, GW_CHILD), back);
  EXPECT_EQ(GetWindow(back, GW_HWNDNEXT), front);
}

TEST_F(WindowsTest, HitTestTransparentWindowPassesTheClickToTheWindowBeneath) {
  Subclass frontHook(front);
  frontHook.handle = [](TMessage& m) {
    if (m.Msg != WM_NCHITTEST) return false;
    m.Result = HTTRANSPARENT;
    return true;
  };
  Subclass backHook(back);
  QTest::mouseClick(frontWidget, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 6));
  EXPECT_TRUE(frontHook.Of(WM_LBUTTONDOWN).empty());
  auto downs = backHook.Of(WM_LBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u);
  // Client coordinates of the window beneath: the front child sits 10 pixels further in.
  EXPECT_EQ(GET_X_LPARAM(downs[0].LParam), 15);
  EXPECT_EQ(GET_Y_LPARAM(downs[0].LParam), 16);
  EXPECT_EQ(downs[0].WParam & (MK_LBUTTON | MK_SHIFT), MK_LBUTTON | MK_SHIFT);
  EXPECT_EQ(backHook.Of(WM_LBUTTONUP).size(), 1u);
}

TEST_F(WindowsTest, CaptureTakesAllMouseInputAndReportsItsEnd) {
  Subclass backHook(back);
  Subclass frontHook(front);
  SetCapture(back);
  QTest::mouseClick(frontWidget, Qt::LeftButton, Qt::NoModifier, QPoint(1, 2));
  EXPECT_TRUE(frontHook.Of(WM_LBUTTONDOWN).empty());
  ASSERT_EQ(backHook.Of(WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(backHook.Of(WM_LBUTTONDOWN)[0].LParam), 11);

  SetCapture(front);  // the capture moves on: the old window hears who has it now
  auto changed = backHook.Of(WM_CAPTURECHANGED);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(static_cast<HWND>(changed[0].LParam), front);
  ReleaseCapture();
  EXPECT_EQ(frontHook.Of(WM_CAPTURECHANGED).size(), 1u);
  EXPECT_EQ(GetCapture(), 0u);
}

TEST_F(WindowsTest, ClippedPointerReportsPositionsInsideTheRectangleOnly) {
  Subclass backHook(back);
  TPoint origin{0, 0};
  ClientToScreen(back, origin);
  TRect clip = Bounds(origin.X + 20, origin.Y + 20, 50, 40);
  ClipCursor(&clip);
  SetCapture(back);
  QTest::mouseMove(backWidget, QPoint(190, 5));
  ASSERT_FALSE(backHook.Of(WM_MOUSEMOVE).empty());
  TMessage move = backHook.Of(WM_MOUSEMOVE).back();
  EXPECT_EQ(GET_X_LPARAM(move.LParam), 20 + 49);
  EXPECT_EQ(GET_Y_LPARAM(move.LParam), 20);
  TPoint pos;
  GetCursorPos(pos);
  EXPECT_TRUE(pos.X >= clip.Left && pos.X < clip.Right && pos.Y >= clip.Top && pos.Y < clip.Bottom);
  ClipCursor(nullptr);
  QTest::mouseMove(backWidget, QPoint(180, 5));
  EXPECT_EQ(GET_X_LPARAM(backHook.Of(WM_MOUSEMOVE).back().LParam), 180);
}

TEST_F(WindowsTest, PostedMessagesRunAfterTheCurrentHandlerInPostingOrder) {
  std::vector<UINT> order;
  Subclass hook(back);
  hook.handle = [&](TMessage& m) {
    if (m.Msg < WM_USER) return false;
    order.push_back(m.Msg);
    if (m.Msg == WM_USER) {
      PostMessage(back, WM_USER + 1, 0, 0);
      PostMessage(back, WM_USER + 2, 0, 0);
      order.push_back(0);  // the handler finishes before either posted message runs
    }
    return true;
  };
  SendMessage(back, WM_USER, 0, 0);
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, 0}));
  QCoreApplication::processEvents();
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, 0, WM_USER + 1, WM_USER + 2}));

  PostMessage(back, WM_USER + 3, 0, 0);
  DestroyWindow(back);  // a message for a window that is gone is dropped
  QCoreApplication::processEvents();
  EXPECT_EQ(order.back(), WM_USER + 2);
}

TEST_F(WindowsTest, ExceptionInAHandlerEndsInTheErrorDisplay) {
  std::vector<std::string> shown;
  SetExceptionHandler([&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& ex) {
      shown.push_back(ex.what());
    }
  });
  Subclass hook(front);
  hook.handle = [](TMessage& m) {
    if (m.Msg == WM_LBUTTONDOWN) throw std::runtime_error("handler failed");
    return false;
  };
  QTest::mouseClick(frontWidget, Qt::LeftButton);
  EXPECT_EQ(shown, std::vector<std::string>{"handler failed"});
}

TEST_F(WindowsTest, DestroyTellsTheWindowFirstThenItsChildren) {
  QWidget* innerWidget = new QWidget(backWidget);
  HWND inner = CreateWindowHandle(innerWidget, back);
  std::vector<HWND> destroyed;
  auto record = [&](HWND w) {
    return MakeObjectInstance([&destroyed, w](TMessage& m) {
      if (m.Msg == WM_DESTROY) destroyed.push_back(w);
    });
  };
  WNDPROC p1 = record(back), p2 = record(inner);
  SetWindowLong(back, GWL_WNDPROC, p1);
  SetWindowLong(inner, GWL_WNDPROC, p2);
  DestroyWindow(back);
  EXPECT_EQ(destroyed, (std::vector<HWND>{back, inner}));
  EXPECT_FALSE(IsWindow(back));
  EXPECT_FALSE(IsWindow(inner));
  EXPECT_EQ(GetWindow(topWindow, GW_CHILD), front);
  FreeObjectInstance(p1);
  FreeObjectInstance(p2);
}

TEST_F(WindowsTest, XorOnTheScreenDrawnTwiceLeavesThePixelsAsTheyWere) {
  backWidget->setAutoFillBackground(true);
  QImage before = top->grab().toImage();
  TPoint corner{30, 30};
  ClientToScreen(topWindow, corner);
  HDC dc = GetDC(0);
  ASSERT_NE(dc, 0u);
  auto drawFrame = [&] {
    QPainter* p = DCPainter(dc);
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p->setPen(QPen(QColor(0x80, 0x80, 0x80), 2));
    p->drawRect(corner.X, corner.Y, 60, 40);
    DCDrawn(dc, Bounds(corner.X - 2, corner.Y - 2, 64, 44));
  };
  drawFrame();
  QImage once = top->grab().toImage();
  EXPECT_NE(once.pixel(30, 30), before.pixel(30, 30));
  EXPECT_EQ(once.pixel(60, 50), before.pixel(60, 50));  // inside the frame nothing changed
  drawFrame();
  EXPECT_EQ(top->grab().toImage(), before);
  ReleaseDC(0, dc);
}

TEST_F(WindowsTest, KeysBecomeVirtualKeysAndCharacters) {
  frontWidget->setFocusPolicy(Qt::StrongFocus);
  top->activateWindow();
  SetFocus(front);
  ASSERT_EQ(GetFocus(), front);
  Subclass hook(front);
  QTest::keyClick(frontWidget, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(frontWidget, Qt::Key_Delete);
  QTest::keyClick(frontWidget, Qt::Key_A);
  auto downs = hook.Of(WM_KEYDOWN);
  std::vector<WPARAM> keys;
  for (const TMessage& m : downs) keys.push_back(m.WParam);
  // The modifier is a key of its own, pressed first.
  EXPECT_EQ(keys, (std::vector<WPARAM>{VK_CONTROL, 'C', VK_DELETE, 'A'}));
  std::vector<WPARAM> chars;
  for (const TMessage& m : hook.Of(WM_CHAR)) chars.push_back(m.WParam);
  EXPECT_EQ(chars, (std::vector<WPARAM>{3, 'a'}));  // Ctrl+C is 3; Delete has no character
  EXPECT_EQ(hook.Of(WM_KEYUP).size(), 4u);

  SetFocus(back);
  EXPECT_EQ(hook.Of(WM_KILLFOCUS).size(), 1u);
}
