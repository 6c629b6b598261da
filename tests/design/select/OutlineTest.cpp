// XOR outlines of a drag as the user sees them: grabbed pixels of the top-level window before,
// during and after, and the cursor held inside the drag's parent.

#include <gtest/gtest.h>

#include <QCursor>
#include <QTest>

#include <set>
#include <utility>
#include <vector>

#include "design/select/DsnShape.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using Pixel = std::pair<int, int>;

// A form with a flat panel and two child panels on it: the controls a drag moves.
class OutlineTest : public controls_test::PanelFormTest {
 protected:
  void SetUp() override {
    PanelFormTest::SetUp();
    a = Child(20, 20, 60, 40);
    b = Child(120, 60, 50, 30);
    ShowForm();
    before = Screen();
  }
  void TearDown() override {
    FreeAndNil(group);
    ClipCursor(nullptr);
    PanelFormTest::TearDown();
  }

  TPanel* Child(int left, int top, int width, int height) {
    auto* p = New<TPanel>(form);
    p->SetParent(panel);
    p->SetBounds(left, top, width, height);
    p->SetColor(clWhite);
    p->SetBevelOuter(bvNone);
    return p;
  }

  TMultiShape* NewGroup(int penWidth = 2, TPenStyle style = psSolid) {
    auto* g = New<TMultiShape>();
    g->SetColor(clGray);
    g->SetPenWidth(penWidth);
    g->SetPenStyle(style);
    return g;
  }

  // The whole top-level window (the form's frame) as the screen shows it.
  QImage Screen() { return Widget()->window()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QPoint OnScreen(TPoint screen) { return Widget()->window()->mapFromGlobal(QPoint(screen.X, screen.Y)); }

  // The pixels of the top-level window that differ from `before`.
  std::set<Pixel> Changed(const QImage& now) {
    std::set<Pixel> changed;
    for (int y = 0; y < now.height(); ++y)
      for (int x = 0; x < now.width(); ++x)
        if (now.pixel(x, y) != before.pixel(x, y)) changed.insert({x, y});
    return changed;
  }

  TPanel* a = nullptr;
  TPanel* b = nullptr;
  TMultiShape* group = nullptr;
  QImage before;
};

// XORs into `pixels` the frame of the rectangle from `corner` to `corner` + (width, height), both
// corners included: what four one-pixel lines that each leave out their end point cover.
void XorFrame(std::set<Pixel>& pixels, QPoint corner, int width, int height) {
  std::set<Pixel> frame;
  for (int x = 0; x <= width; ++x) {
    frame.insert({corner.x() + x, corner.y()});
    frame.insert({corner.x() + x, corner.y() + height});
  }
  for (int y = 0; y <= height; ++y) {
    frame.insert({corner.x(), corner.y() + y});
    frame.insert({corner.x() + width, corner.y() + y});
  }
  for (const Pixel& p : frame)
    if (!pixels.erase(p)) pixels.insert(p);
}

}  // namespace

// The outlines follow the mouse displaced from their controls by the distance from the press;
// where they cross, the crossing pixels are inverted twice. Moving to the same point again leaves
// them as they were, and Finish leaves the screen exactly as it was before the drag, also after
// wide pens.
TEST_F(OutlineTest, OutlinesMoveWithThePointAndFinishRestoresTheScreenExactly) {
  TPanel* across = Child(50, 40, 90, 35);  // its outline crosses both others
  QApplication::processEvents();
  before = Screen();
  group = NewGroup(1);
  TPoint press = panel->ClientToScreen({30, 30});
  group->SetOrigin(press);
  for (TPanel* p : {a, b, across}) group->AddControl(p);
  EXPECT_EQ(Screen(), before);  // nothing before the first move

  group->MoveTo({press.X + 7, press.Y + 4});
  QImage once = Screen();
  std::set<Pixel> expected;
  XorFrame(expected, OnScreen(panel->ClientToScreen({20 + 7, 20 + 4})), 60, 40);
  XorFrame(expected, OnScreen(panel->ClientToScreen({120 + 7, 60 + 4})), 50, 30);
  XorFrame(expected, OnScreen(panel->ClientToScreen({50 + 7, 40 + 4})), 90, 35);
  EXPECT_EQ(Changed(once), expected);

  group->MoveTo({press.X + 7, press.Y + 4});
  EXPECT_EQ(Screen(), once);
  group->MoveTo({press.X - 15, press.Y + 20});
  EXPECT_NE(Screen(), once);
  group->Finish();
  EXPECT_EQ(Screen(), before);

  FreeAndNil(group);
  group = NewGroup(3);
  group->SetOrigin(press);
  for (TPanel* p : {a, b, across}) group->AddControl(p);
  group->MoveTo({press.X + 40, press.Y + 20});
  group->MoveTo({press.X + 41, press.Y + 22});
  EXPECT_NE(Screen(), before);
  group->Finish();
  EXPECT_EQ(Screen(), before);
}

TEST_F(OutlineTest, FinishOfOutlinesNeverDrawnDrawsNothing) {
  group = NewGroup();
  group->AddControl(a);
  group->Finish();
  EXPECT_EQ(Screen(), before);
  EXPECT_EQ(group->Items()->First()->DrawState(), 2);
  group->MoveTo({100, 100});  // a finished outline is never drawn again
  EXPECT_EQ(Screen(), before);

  FreeAndNil(group);  // nor does a group with no outlines draw anything
  group = NewGroup();
  group->MoveTo({100, 100});
  group->Finish();
  EXPECT_EQ(Screen(), before);
}

// A drag abandoned without Finish, or finished twice, leaves no outline behind and the cursor free.
TEST_F(OutlineTest, AbandonedOrTwiceFinishedGroupLeavesNothingBehind) {
  group = NewGroup();
  TPoint press = panel->ClientToScreen({0, 0});
  group->SetOrigin(press);
  group->AddControl(a);
  group->ClipTo(panel);
  group->MoveTo({press.X + 5, press.Y + 5});
  ASSERT_NE(Screen(), before);
  FreeAndNil(group);
  EXPECT_EQ(Screen(), before);
  TRect clip, whole;
  GetClipCursor(clip);
  ClipCursor(nullptr);
  GetClipCursor(whole);
  EXPECT_EQ(clip, whole);

  group = NewGroup();
  group->SetOrigin(press);
  group->AddControl(a);
  group->MoveTo({press.X + 5, press.Y + 5});
  group->Finish();
  group->Finish();
  EXPECT_EQ(Screen(), before);
}

// An outline is erased with the pen it was drawn with, even when its colour or width changed in
// between; erasing with the new pen would leave the old outline on the screen.
TEST_F(OutlineTest, OutlineIsErasedWithThePenItWasDrawnWith) {
  group = NewGroup(1);
  TPoint press = panel->ClientToScreen({0, 0});
  group->SetOrigin(press);
  group->AddControl(a);
  group->MoveTo(press);
  TFundamentalShape* item = group->Items()->First();
  item->SetColor(clMaroon);
  item->SetPenWidth(3);
  group->MoveTo({press.X + 100, press.Y + 90});
  std::set<Pixel> changed = Changed(Screen());
  QPoint oldCorner = OnScreen(panel->ClientToScreen({20, 20}));
  EXPECT_EQ(changed.count({oldCorner.x(), oldCorner.y()}), 0u);
  EXPECT_FALSE(changed.empty());
  group->Finish();
  EXPECT_EQ(Screen(), before);
}

// A frame dragged up and to the left of the press (negative width and height) shows the same
// pixels as the frame drawn the usual way round, whatever the pen.
class NegativeFrameTest : public OutlineTest,
                          public ::testing::WithParamInterface<std::pair<int, TPenStyle>> {};

TEST_P(NegativeFrameTest, NegativeSizeDrawsTheNormalisedRectangle) {
  auto [penWidth, style] = GetParam();
  TPoint press = panel->ClientToScreen({200, 150});
  auto frameAt = [&](TPoint corner, int width, int height) {
    group = NewGroup(penWidth, style);
    group->SetOrigin(press);
    group->ResetSingle();
    group->SetOutlineWidth(width);
    group->SetOutlineHeight(height);
    group->MoveTo(corner);
    QImage shown = Screen();
    group->Finish();
    FreeAndNil(group);
    EXPECT_EQ(Screen(), before);
    return shown;
  };
  QImage negative = frameAt(press, -63, -41);
  QImage positive = frameAt({press.X - 63, press.Y - 41}, 63, 41);
  EXPECT_NE(negative, before);
  EXPECT_EQ(negative, positive);
}

INSTANTIATE_TEST_SUITE_P(Pens, NegativeFrameTest,
                         ::testing::Values(std::pair{1, psSolid}, std::pair{2, psSolid}, std::pair{3, psSolid},
                                           std::pair{1, psDot}));

// While a group holds the cursor, every position the windows hear of lies inside the drag's parent;
// after Finish the pointer goes where it is moved.
TEST_F(OutlineTest, CursorStaysInsideTheClipRectangleUntilFinish) {
  std::vector<TPoint> heard;
  HWND window = form->Handle();
  WNDPROC old = GetWindowLong(window, GWL_WNDPROC);
  WNDPROC mine = MakeObjectInstance([&](TMessage& m) {
    if (m.Msg == WM_MOUSEMOVE) heard.push_back({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    m.Result = CallWindowProc(old, window, m.Msg, m.WParam, m.LParam);
  });
  SetWindowLong(window, GWL_WNDPROC, mine);

  group = NewGroup();
  group->ClipTo(panel);
  TPoint corner = panel->ClientToScreen({0, 0});
  EXPECT_EQ(group->ClipRect(), Bounds(corner.X, corner.Y, 300, 200));

  TPoint outside = form->ClientToScreen({380, 280});  // on the form, right of and below the panel
  Move(form->ScreenToClient(outside));
  ASSERT_FALSE(heard.empty());
  TPoint reported = form->ClientToScreen(heard.back());
  EXPECT_EQ(reported.X, corner.X + 299);
  EXPECT_EQ(reported.Y, corner.Y + 199);
  SetCursorPos(outside.X, outside.Y);  // the pointer itself is held back too
  TPoint pos;
  GetCursorPos(pos);
  EXPECT_EQ(pos, (TPoint{corner.X + 299, corner.Y + 199}));
  EXPECT_EQ(QCursor::pos(), QPoint(corner.X + 299, corner.Y + 199));

  group->Finish();
  TPoint elsewhere = form->ClientToScreen({370, 275});
  Move(form->ScreenToClient(elsewhere));
  EXPECT_EQ(form->ClientToScreen(heard.back()), elsewhere);
  SetCursorPos(outside.X, outside.Y);
  GetCursorPos(pos);
  EXPECT_EQ(pos, outside);

  SetWindowLong(window, GWL_WNDPROC, old);
  FreeObjectInstance(mine);
}
