// Grab handles as the user meets them: four black squares around one selected control, grey ones
// that ignore the mouse around several, and a corner dragged on the grid resizes the control.

#include <gtest/gtest.h>

#include <QTest>
#include <QWindow>

#include <string>

#include "design/select/DsnHandle.h"
#include "design/select/DsnRegister.h"
#include "design/select/DsnShape.h"
#include "design/select/DsnSub8.h"
#include "design/select/DsnSubGr.h"
#include "platform/controls/StdControls.h"
#include "platform/rtl/Stream.h"
#include "tests/design/stage/StageTestSupport.h"

namespace {

class HandleTest : public stage_test::StageFormTest {
 protected:
  void SetUp() override {
    StageFormTest::SetUp();
    RegisterStandardControls();
    reg = New<TDsnRegister>(form);
    reg->SetDsnStage(stage);
    ShowForm();
    reg->SetDesigning(true);
  }
  void TearDown() override {
    reg->SetDesigning(false);
    StageFormTest::TearDown();
  }

  // A label of 60 x 20 at (left, top) that keeps its size.
  TLabel* Box(const std::string& name, int left, int top) {
    TLabel* label = AddLabel(name, left, top);
    label->SetAutoSize(false);
    label->SetBounds(left, top, 60, 20);
    return label;
  }

  const std::vector<TSmallRect*>& HandlesOf(int set) const {
    return reg->Handler()->Handlers().at(static_cast<size_t>(set))->Handles();
  }
  template <class Corner>
  TSmallRect* Corner0() const {
    for (TSmallRect* h : HandlesOf(0))
      if (dynamic_cast<Corner*>(h)) return h;
    return nullptr;
  }
  // A point of a handle, in window coordinates.
  QPoint OnHandle(TSmallRect* h, int x, int y) const {
    return QPoint(stage->Left() + h->Left() + x, stage->Top() + h->Top() + y);
  }
  void DragHandle(TSmallRect* h, int toX, int toY) {
    QTest::mousePress(Window(), Qt::LeftButton, Qt::NoModifier, OnHandle(h, 1, 1));
    const QPoint to = OnHandle(h, toX, toY);
    QTest::mouseMove(Window(), to);
    ASSERT_NE(h->Shape(), nullptr) << "the outline follows the drag";
    TRect clip;
    GetClipCursor(clip);
    EXPECT_EQ(clip, (TRect{stage->ClientToScreen({0, 0}).X, stage->ClientToScreen({0, 0}).Y,
                           stage->ClientToScreen({0, 0}).X + stage->Width(),
                           stage->ClientToScreen({0, 0}).Y + stage->Height()}));
    QTest::mouseRelease(Window(), Qt::LeftButton, Qt::NoModifier, to);
    DispatchPostedMessages();
  }

  TDsnRegister* reg = nullptr;
};

TEST_F(HandleTest, OneTargetHasBlackCornersSeveralHaveGreyOnesThatIgnoreTheMouse) {
  TLabel* a = Box("A", 40, 32);
  TLabel* b = Box("B", 160, 96);
  reg->SelectComponent(a);
  ASSERT_EQ(reg->Handler()->Handlers().size(), 1u);
  ASSERT_EQ(HandlesOf(0).size(), 4u);
  TSmallRect* upperLeft = Corner0<THidariueRect>();
  TSmallRect* lowerRight = Corner0<TMigishitaRect>();
  EXPECT_EQ(upperLeft->BoundsRect(), (TRect{38, 30, 44, 36})) << "2 pixels outside the corner";
  EXPECT_EQ(lowerRight->BoundsRect(), (TRect{96, 48, 102, 54}));
  EXPECT_EQ(upperLeft->Color(), clBlack);
  EXPECT_EQ(upperLeft->Parent(), stage);
  EXPECT_EQ(upperLeft->Owner(), nullptr) << "handles are never part of a design";

  reg->Targets()->AddTarget(b);
  reg->RefreshTargets();
  for (int set = 0; set < 2; ++set)
    for (TSmallRect* h : HandlesOf(set)) {
      EXPECT_EQ(h->Color(), clGray);
      EXPECT_EQ(h->Cursor(), crDefault);
    }
  TSmallRect* grey = Corner0<THidariueRect>();
  QTest::mousePress(Window(), Qt::LeftButton, Qt::NoModifier, OnHandle(grey, 1, 1));
  EXPECT_EQ(grey->Shape(), nullptr) << "a grey handle takes no drag";
  QTest::mouseRelease(Window(), Qt::LeftButton, Qt::NoModifier, OnHandle(grey, 1, 1));
  EXPECT_EQ(a->BoundsRect(), (TRect{40, 32, 100, 52}));

  // Removing one of the two gives the other fresh black handles.
  b->Free();
  ASSERT_EQ(reg->Handler()->Handlers().size(), 1u);
  for (TSmallRect* h : HandlesOf(0)) EXPECT_EQ(h->Color(), clBlack);

  // A design written while something is selected holds no handle, and the selection stays.
  TMemoryStream saved;
  stage->SaveToStream(saved);
  EXPECT_EQ(saved.Bytes().find("Rect"), std::string::npos);
  ASSERT_EQ(reg->Handler()->Handlers().size(), 1u);
  for (TSmallRect* h : HandlesOf(0)) EXPECT_TRUE(h->Visible());
}

TEST_F(HandleTest, DraggingACornerResizesOnTheGridAndMayTurnTheControlOver) {
  TLabel* a = Box("A", 40, 32);
  reg->SelectComponent(a);
  DragHandle(Corner0<THidariueRect>(), 17, 9);
  EXPECT_EQ(a->BoundsRect(), (TRect{56, 40, 100, 52})) << "left + 16, top + 8";
  EXPECT_EQ(Corner0<THidariueRect>()->BoundsRect(), (TRect{54, 38, 60, 44})) << "the handles follow";
  TRect clip;
  GetClipCursor(clip);
  EXPECT_GT(clip.Width(), stage->Width()) << "the cursor is free again";

  // Dragging the upper-right corner 10 pixels past the left edge mirrors the control.
  const int w = a->Width();  // 44 after the first drag
  TSmallRect* upperRight = Corner0<TMigiueRect>();
  DragHandle(upperRight, -(w + 10) + 1, 1);
  // -53 snaps to -48 on the 8-pixel grid: the right edge goes from 100 to 52, left of the left edge.
  EXPECT_EQ(a->Left(), 52);
  EXPECT_EQ(a->Width(), 4);
  EXPECT_EQ(a->Top(), 40);
}

}  // namespace

namespace {

// A register whose single selection gets the eight-handle set.
class T8Handler : public TMultiHandler {
 public:
  THandlerRect* CreateHandlerRect(TControl* target) override {
    return New<THandler8Rect>(target, Style());
  }
};
class T8Register : public TDsnRegister {
 public:
  TMultiHandler* CreateHandler() override { return New<T8Handler>(); }
};

TEST_F(HandleTest, EdgeHandlesSitAtTheMidpointsAndMoveOneEdgeOnly) {
  reg->SetDesigning(false);
  reg->Free();
  reg = New<T8Register>(form);
  reg->SetDsnStage(stage);
  reg->SetDesigning(true);
  TLabel* a = Box("A", 40, 30);
  a->SetBounds(40, 30, 81, 25);
  reg->SelectComponent(a);
  ASSERT_EQ(HandlesOf(0).size(), 8u);
  TSmallRect* top = Corner0<TNakaueRect>();
  TSmallRect* bottom = Corner0<TNakashitaRect>();
  EXPECT_EQ(top->Left(), 77);
  EXPECT_EQ(top->Top(), 28);
  EXPECT_EQ(Corner0<TNakamigiRect>()->Left(), 117);
  EXPECT_EQ(Corner0<TNakamigiRect>()->Top(), 39);

  // The bottom edge dragged 41 pixels up (snapped to 40) passes the top: the control turns over
  // vertically; its left and width stay.
  DragHandle(bottom, 1, -40);
  EXPECT_EQ(a->BoundsRect(), (TRect{40, 15, 121, 30}));
  // Dragging an edge handle along its edge changes nothing.
  const TRect before = a->BoundsRect();
  DragHandle(Corner0<TNakaueRect>(), 33, 1);
  EXPECT_EQ(a->BoundsRect(), before);
}

}  // namespace

namespace {

// The mark editor's register: eight handles for one control, grey corner squares painted inside
// each of several, and nothing left behind when the selection goes.
TEST_F(HandleTest, SeveralSelectedGetGreySquaresThatGoWithTheSelection) {
  reg->SetDesigning(false);
  reg->Free();
  reg = New<TDsnDpRegister>(form);
  reg->SetDsnStage(stage);
  reg->SetDesigning(true);
  TLabel* a = Box("A", 40, 30);
  TLabel* b = Box("B", 160, 96);
  b->SetBounds(160, 96, 10, 10);
  reg->SelectComponent(a);
  ASSERT_EQ(HandlesOf(0).size(), 8u);
  reg->Targets()->AddTarget(b);
  reg->RefreshTargets();
  for (int i = 0; i < stage->ControlCount(); ++i)
    EXPECT_EQ(dynamic_cast<TSmallRect*>(stage->Controls(i)), nullptr) << "no handle windows for several";

  auto pixel = [this](const QImage& image, int x, int y) {
    return image.pixel(stage->Left() + x, stage->Top() + y) & 0xFFFFFF;
  };
  QImage shot = Grab();
  EXPECT_EQ(pixel(shot, 40, 30), 0x808080u);
  EXPECT_EQ(pixel(shot, 99, 49), 0x808080u) << "inside the lower right corner";
  EXPECT_NE(pixel(shot, 50, 40), 0x808080u);
  // The squares of a 10 x 10 label meet in its middle: at 0 and 4 on each axis.
  EXPECT_EQ(pixel(shot, 164, 100), 0x808080u);
  EXPECT_EQ(pixel(shot, 169, 105), 0x808080u);

  reg->ClearSelection();
  QApplication::processEvents();
  shot = Grab();
  EXPECT_NE(pixel(shot, 40, 30), 0x808080u) << "no square stays behind";
  EXPECT_NE(pixel(shot, 164, 100), 0x808080u);
}

}  // namespace
