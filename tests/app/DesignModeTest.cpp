// Design mode switched while something is under way: a rubber band still held, the other editor
// still designing with the shared palette, an element's refresh still on its way.

#include <QImage>
#include <QTest>
#include <QWidget>

#include <string>
#include <vector>

#include "design/inspector/DsnSpctr.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Grids.h"
#include "platform/controls/SpeedButton.h"
#include "platform/controls/ToolBar.h"
#include "platform/rtl/PostedRefs.h"
#include "tests/app/MarkInputFixture.h"

namespace {

using marks_test::MarkInputTest;
using marks_test::Spot;
using marks_test::SpotOf;

class DesignModeTest : public MarkInputTest {
 protected:
  // The screen as the clerk sees it: the main window with its editors and the outlines over them.
  QImage Screen() const {
    return WindowWidget(main_->Handle())->window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  // The part of the screen where the editor's stage is.
  QImage StageArea(Tfmmd* editor) const {
    QWidget* stage = WindowWidget(editor->DsnStage1->Handle());
    const QImage screen = Screen();
    const QRectF area(stage->mapTo(stage->window(), QPoint(0, 0)), stage->size());  // in the device's pixels:
    const qreal r = screen.devicePixelRatio();
    return screen.copy(QRectF(area.topLeft() * r, area.size() * r).toAlignedRect());
  }
  static TRect CursorClip() {
    TRect clip;
    GetClipCursor(clip);
    return clip;
  }
  // The first row of the editor's property window: caption = value.
  static std::string FirstRow(Tfmmd* editor) {
    TStringGrid* grid = editor->DsnInspector1->Window()->StringGrid1;
    return grid->RowCount() > 1 ? grid->Cells(1, 1) + " = " + grid->Cells(2, 1) : std::string();
  }
};

// Design mode ends while the button still holds a rubber band (the edit command run from the
// menu, or the editor closed): the dotted frame goes from the screen and the cursor is free again.
TEST_F(DesignModeTest, StoppingDesignDuringARubberBandLeavesNoFrameAndFreesTheCursor) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  PlaceLabel(side, "PO/NO", 16, 16);
  ClickOn(side->b1);
  const TRect free = CursorClip();
  const QImage before = StageArea(side);

  const Spot from = SpotOf(side->DsnStage1, 300, 200);
  const Spot to = SpotOf(side->DsnStage1, 120, 100);
  QTest::mousePress(from.window, Qt::LeftButton, Qt::NoModifier, from.at);
  QTest::mouseMove(to.window, to.at);
  Settle();
  ASSERT_NE(StageArea(side), before) << "the band shows";
  ASSERT_NE(CursorClip(), free) << "and holds the cursor inside the stage";

  side->acedit->Execute();
  Settle();
  EXPECT_FALSE(side->DsnStage1->DesignActive());
  EXPECT_EQ(CursorClip(), free) << "the cursor is free again";
  QTest::mouseRelease(to.window, Qt::LeftButton, Qt::NoModifier, to.at);
  Settle();
  ClickOn(side->b1);  // a new design mode is not held by the old band either
  ClickOn(side->b1);
  EXPECT_EQ(StageArea(side), before) << "no dotted frame stays on the screen";
  EXPECT_EQ(CursorClip(), free);
}

// The palette belongs to the main window and serves both editors: one editor leaving design mode,
// by its switch or by saving, leaves it working for the other, tool choice included.
TEST_F(DesignModeTest, ThePaletteKeepsWorkingWhileTheOtherEditorStillDesigns) {
  Start();
  Tfmmd* front = Editor("0");
  Tfmmd* side = Editor("1");
  ASSERT_TRUE(front && side);
  // The front editor's commands run as its tool buttons run them, and the side editor is brought
  // back on top of it for the clicks that follow.
  auto frontCommand = [&](TAction* action) {
    action->Execute();
    side->Show();
    Settle();
  };
  frontCommand(front->acedit);
  ClickOn(side->b1);
  ASSERT_TRUE(front->DsnStage1->DesignActive());
  ASSERT_TRUE(side->DsnStage1->DesignActive());
  TDsnButton* label = PaletteButton("C/NO.");
  ASSERT_NE(label, nullptr);

  ClickOn(label);  // the tool is chosen, then the other editor stops
  frontCommand(front->acedit);
  ASSERT_FALSE(front->DsnStage1->DesignActive());
  EXPECT_TRUE(label->Enabled());
  DragOnStage(side, {16, 16}, {96, 40});
  ASSERT_EQ(Elements(side).size(), 1u) << "the chosen tool still draws";

  frontCommand(front->acedit);
  frontCommand(front->acsavemd);  // saving ends the front editor's design mode
  ASSERT_FALSE(front->DsnStage1->DesignActive());
  ClickOn(label);
  DragOnStage(side, {16, 64}, {96, 88});
  EXPECT_EQ(Elements(side).size(), 2u) << "the palette's buttons still work";
  EXPECT_TRUE(Elements(front).empty());

  ClickOn(side->b1);
  EXPECT_FALSE(label->Enabled()) << "with no editor designing the palette is off";
  EXPECT_TRUE(warnings_.empty()) << warnings_.front();
}

// The stage's window is made anew while a refresh for a new element is on its way, so that the
// refresh is dropped with the old window: elements made afterwards still refresh the property
// window, which then shows what the editor made of them.
TEST_F(DesignModeTest, ElementsMadeAfterTheStagesWindowWasRemadeStillRefreshThePropertyWindow) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  TLabel* label = PlaceLabel(side, "PO/NO", 16, 16);
  ClickOn(side->b1);
  TDsnStage* stage = side->DsnStage1;
  // The stage hears of a new element, which asks for a refresh; the window goes before the loop
  // delivers it.
  SendMessage(stage->Handle(), DM_CONTROLCREATED, PostableRef(label), 0);
  stage->RecreateWnd();
  Settle();

  ClickOn(side->b1);  // the new window is covered when design mode starts again
  ClickOn(side->b1);
  ClickOn(PaletteButton("連結"));
  DragOnStage(side, {16, 120}, {120, 144});
  ASSERT_EQ(Elements(side).size(), 2u);
  EXPECT_EQ(Elements(side).back()->Caption(), "連結欄位:未設定");
  EXPECT_EQ(FirstRow(side), "文字內容 = 連結欄位:未設定") << "the window shows the caption the editor gave";
}

}  // namespace
