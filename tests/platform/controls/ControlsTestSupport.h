#pragma once
// A shown form to put controls on, user input at form positions, grabbed pixels, and a check that
// no window outlives its test.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/controls/Form.h"
#include "platform/controls/Panel.h"
#include "platform/graphics/Colors.h"
#include "platform/win/Windows.h"
#include "tests/support/QtApp.h"

namespace controls_test {

inline std::vector<QWidget*> VisibleTopLevels() {
  std::vector<QWidget*> visible;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible()) visible.push_back(w);
  return visible;
}

// Subclasses a window: records every message and passes it on to the procedure it replaced.
struct Subclass {
  HWND window;
  WNDPROC old = 0;
  WNDPROC mine = 0;
  std::vector<UINT> seen;

  explicit Subclass(HWND w) : window(w) {
    mine = MakeObjectInstance([this](TMessage& m) {
      seen.push_back(m.Msg);
      m.Result = CallWindowProc(old, window, m.Msg, m.WParam, m.LParam);
    });
    old = SetWindowLong(window, GWL_WNDPROC, mine);
  }
  ~Subclass() {
    Restore();
    FreeObjectInstance(mine);
  }
  void Restore() {
    if (IsWindow(window) && GetWindowLong(window, GWL_WNDPROC) == mine) SetWindowLong(window, GWL_WNDPROC, old);
  }
  int Count(UINT msg) const { return static_cast<int>(std::count(seen.begin(), seen.end(), msg)); }
};

// A form of 400 x 300 shown on the (offscreen) screen. Positions are client coordinates of the
// form; input goes to the form's window as the window system would deliver it.
class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    ASSERT_TRUE(VisibleTopLevels().empty()) << "a window was left over by an earlier test";
    form = New<TForm>(nullptr);
    form->SetBounds(40, 40, 400, 300);
  }

  void TearDown() override {
    FreeAndNil(form);
    QApplication::processEvents();
    EXPECT_TRUE(VisibleTopLevels().empty()) << "a window outlived its test";
  }

  void ShowForm() {
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Widget()));
  }

  QWidget* Widget() { return WindowWidget(form->Handle()); }
  QWindow* Window() { return Widget()->window()->windowHandle(); }

  void Click(TPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(Window(), Qt::LeftButton, modifiers, QPoint(at.X, at.Y));
  }
  void Press(TPoint at) { QTest::mousePress(Window(), Qt::LeftButton, Qt::NoModifier, QPoint(at.X, at.Y)); }
  void Move(TPoint at) { QTest::mouseMove(Window(), QPoint(at.X, at.Y)); }
  void Release(TPoint at) { QTest::mouseRelease(Window(), Qt::LeftButton, Qt::NoModifier, QPoint(at.X, at.Y)); }

  QImage Grab() { return Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  TForm* form = nullptr;
};

// A panel colour that no theme uses for anything else.
constexpr TColor kPanelColor = 0x00C08040;

// A form with a flat panel of kPanelColor at (10, 10), 300 x 200, to put window-less controls on
// and read their pixels against a known background.
class PanelFormTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    panel = New<TPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 300, 200);
    panel->SetColor(kPanelColor);
    panel->SetBevelOuter(bvNone);
  }

  TPanel* panel = nullptr;
};

// The RGB value of a colour as grabbed pixels show it.
inline QRgb Rgb(TColor color) { return ColorToQColor(color).rgb(); }

// The rows of `rect` in `image` that hold a pixel other than `background`.
inline std::vector<int> InkRows(const QImage& image, const TRect& rect, QRgb background) {
  std::vector<int> rows;
  for (int y = rect.Top; y < rect.Bottom; ++y)
    for (int x = rect.Left; x < rect.Right; ++x)
      if ((image.pixel(x, y) | 0xFF000000u) != (background | 0xFF000000u)) {
        rows.push_back(y);
        break;
      }
  return rows;
}

}  // namespace controls_test
