// A clerk designs a mark with the mouse and the keys in the real main window: design mode on, a
// label, a shape and a data text drawn from the palette, a move, copy and paste, Delete, design
// mode off, save; the next start finds the mark as it was left.

#include <QTest>
#include <QWidget>
#include <QWindow>

#include <string>
#include <vector>

#include "design/palette/DsnPanel.h"
#include "design/select/DsnHandle.h"
#include "design/select/DsnSelect.h"
#include "platform/controls/ToolBar.h"
#include "platform/graphics/Font.h"
#include "platform/rtl/ScopedRollback.h"
#include "tests/app/MarkInputFixture.h"

namespace {

using marks_test::MarkInputTest;
using marks_test::Spot;
using marks_test::SpotOf;

class DesignMarkTest : public MarkInputTest {};

TEST_F(DesignMarkTest, AMarkDesignedWithMouseAndKeysComesBackOnTheNextStart) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  ASSERT_NE(Editor("0"), nullptr);

  ClickOn(side->b1);
  ASSERT_TRUE(side->DsnStage1->DesignActive()) << "編輯模式 switches design mode on";
  EXPECT_TRUE(side->b1->Down());

  ClickOn(PaletteButton("C/NO."));
  DragOnStage(side, {20, 20}, {100, 44});
  TDsnButton* circle = ShapeButton(eclipse);
  ASSERT_NE(circle, nullptr);
  ClickOn(circle);
  DragOnStage(side, {150, 20}, {205, 75});
  ClickOn(PaletteButton("連結"));
  DragOnStage(side, {20, 100}, {120, 124});

  std::vector<TControl*> made = Elements(side);
  ASSERT_EQ(made.size(), 3u);
  auto* label = dynamic_cast<TLabel*>(made[0]);
  auto* shape = dynamic_cast<tshape2*>(made[1]);
  auto* text = dynamic_cast<TDBText*>(made[2]);
  ASSERT_TRUE(label && shape && text);
  EXPECT_EQ(label->Name(), "Label3") << "the editor already owns Label1 and Label2";
  EXPECT_EQ(label->Caption(), "C/NO.");
  EXPECT_TRUE(label->Transparent());
  EXPECT_EQ(label->BoundsRect(), (TRect{16, 16, 96, 40}));
  EXPECT_EQ(shape->Name(), "shape21");
  EXPECT_EQ(shape->Caption(), "");
  EXPECT_EQ(shape->BoundsRect(), (TRect{144, 16, 200, 72}));
  EXPECT_EQ(text->Name(), "DBText2");
  EXPECT_EQ(text->Caption(), "連結欄位:未設定");
  EXPECT_EQ(text->Font()->Color(), clGray);
  EXPECT_EQ(label->PopupMenu(), side->pop) << "a right click offers 設定形狀";

  // Moved by a drag, on the 8-pixel grid.
  DragOnStage(side, {30, 25}, {63, 58});
  EXPECT_EQ(label->BoundsRect(), (TRect{48, 48, 128, 72}));

  // Copied and pasted over itself, then the copy deleted.
  ClickOn(label);
  Key(side, Qt::Key_C, Qt::ControlModifier);
  DragOnStage(side, {300, 200}, {300, 200});  // a click on the empty stage: nothing selected
  EXPECT_EQ(side->DsnStage1->SelectedCount(), 0);
  Key(side, Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(Elements(side).size(), 4u);
  TControl* copy = Elements(side)[3];
  EXPECT_EQ(copy->BoundsRect(), label->BoundsRect());
  EXPECT_EQ(copy->Name(), "Label4");
  EXPECT_EQ(side->DsnStage1->SelectedItem(0), copy);
  Key(side, Qt::Key_Delete);
  EXPECT_EQ(Elements(side).size(), 3u);

  ClickOn(side->b1);
  EXPECT_FALSE(side->DsnStage1->DesignActive());
  ClickOn(side->b2);
  EXPECT_TRUE(warnings_.empty()) << warnings_.front();
  EXPECT_TRUE(Elements(Editor("0")).empty()) << "the main mark is a design of its own";

  CloseAll();
  Start();
  side = Editor("1");
  ASSERT_NE(side, nullptr);
  std::vector<TControl*> back = Elements(side);
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(back[0]->ClassName(), "TLabel");
  EXPECT_EQ(back[0]->Caption(), "C/NO.");
  EXPECT_EQ(back[0]->BoundsRect(), (TRect{48, 48, 128, 72}));
  EXPECT_EQ(back[1]->ClassName(), "tshape2");
  EXPECT_EQ(static_cast<tshape2*>(back[1])->kind(), eclipse);
  EXPECT_EQ(back[1]->PopupMenu(), side->pop) << "a loaded element still offers 設定形狀";
  EXPECT_EQ(back[1]->BoundsRect(), (TRect{144, 16, 200, 72}));
  EXPECT_EQ(back[2]->ClassName(), "TDBText");
  EXPECT_EQ(back[2]->Caption(), "連結欄位:未設定");
  EXPECT_TRUE(Elements(Editor("0")).empty());
}

// Several elements at once: a band selects three, a drag moves them together, a bottom handle
// dragged past the top turns one over, and Shift+click takes one out; checked on bounds and pixels.
TEST_F(DesignMarkTest, ABandADragAResizeAndShiftClickInTheRealEditor) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  ClickOn(side->b1);
  TDsnButton* label = PaletteButton("C/NO.");
  for (TPoint at : {TPoint{16, 16}, TPoint{112, 16}, TPoint{16, 80}}) {
    ClickOn(label);
    DragOnStage(side, at, {at.X + 64, at.Y + 24});
  }
  std::vector<TControl*> three = Elements(side);
  ASSERT_EQ(three.size(), 3u);
  TDsnStage* stage = side->DsnStage1;
  auto pixel = [&](int x, int y) { return StagePixel(side, x, y); };

  DragOnStage(side, {300, 200}, {4, 4});  // a band from the empty stage over all three
  ASSERT_EQ(stage->SelectedCount(), 3);
  EXPECT_EQ(pixel(16, 16), 0x808080u) << "grey squares inside each selected element's corners";
  EXPECT_EQ(pixel(112 + 63, 16 + 23), 0x808080u);

  DragOnStage(side, {20, 20}, {52, 36});  // all three move by (32, 16)
  EXPECT_EQ(three[0]->BoundsRect(), (TRect{48, 32, 112, 56}));
  EXPECT_EQ(three[1]->BoundsRect(), (TRect{144, 32, 208, 56}));
  EXPECT_EQ(three[2]->BoundsRect(), (TRect{48, 96, 112, 120}));
  EXPECT_EQ(pixel(48, 32), 0x808080u) << "the squares moved along";
  EXPECT_NE(pixel(16, 16), 0x808080u) << "and none stayed behind";

  // One element selected: eight black handles. Its bottom handle dragged 40 up turns it over.
  DragOnStage(side, {300, 200}, {300, 200});  // a click on the empty stage deselects
  DragOnStage(side, {60, 100}, {60, 100});
  ASSERT_EQ(stage->SelectedCount(), 1);
  std::vector<TSmallRect*> handles;
  for (int i = 0; i < stage->ControlCount(); ++i)
    if (auto* h = dynamic_cast<TSmallRect*>(stage->Controls(i))) handles.push_back(h);
  ASSERT_EQ(handles.size(), 8u);
  EXPECT_EQ(pixel(handles[0]->Left() + 3, handles[0]->Top() + 3), 0x000000u);
  TSmallRect* bottom = nullptr;
  for (TSmallRect* h : handles)
    if (h->ClassName() == "TNakashitaRect") bottom = h;
  ASSERT_NE(bottom, nullptr);
  const Spot a = SpotOf(bottom, 2, 2);
  const Spot b = SpotOf(bottom, 2, -41);  // -41 snaps to -40 (toward zero)
  QTest::mousePress(a.window, Qt::LeftButton, Qt::NoModifier, a.at);
  QTest::mouseMove(b.window, b.at);
  QTest::mouseRelease(b.window, Qt::LeftButton, Qt::NoModifier, b.at);
  Settle();
  EXPECT_EQ(three[2]->BoundsRect(), (TRect{48, 80, 112, 96})) << "bottom 120 - 40 = 80, above the top at 96";

  // Two selected by a band, then Shift+click takes one out: the other gets its eight handles.
  DragOnStage(side, {4, 60}, {250, 4});
  ASSERT_EQ(stage->SelectedCount(), 2);
  const Spot c = SpotOf(stage, 150, 40);
  QTest::mouseClick(c.window, Qt::LeftButton, Qt::ShiftModifier, c.at);
  Settle();
  ASSERT_EQ(stage->SelectedCount(), 1);
  EXPECT_EQ(stage->SelectedItem(0), three[0]);
  int count = 0;
  for (int i = 0; i < stage->ControlCount(); ++i) count += dynamic_cast<TSmallRect*>(stage->Controls(i)) != nullptr;
  EXPECT_EQ(count, 8);

  ClickOn(side->b1);
  EXPECT_NE(pixel(48, 32), 0x808080u) << "no mark stays when design mode stops";
  for (int i = 0; i < stage->ControlCount(); ++i) EXPECT_EQ(dynamic_cast<TSmallRect*>(stage->Controls(i)), nullptr);
}

// The editor's select partner hears the selection as the clerk makes it: after design mode is
// stopped and started again it reports only what was selected since, Shift+click takes out the
// entry clicked, and a selection set from code holds each element of the stage once, nothing else.
TEST_F(DesignMarkTest, TheSelectPartnerReportsTheSelectionOfThisDesignModeOnly) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  TLabel* a = PlaceLabel(side, "PO/NO", 16, 16);
  TLabel* b = PlaceLabel(side, "Q'TY", 16, 64);
  TLabel* c = PlaceLabel(side, "N.W.", 16, 112);
  std::vector<std::vector<TComponent*>> reports;
  TScopeExit stopListening([side] { side->DsnSelect1->OnChangeSelected.Clear(); });
  side->DsnSelect1->OnChangeSelected.Bind([&](TObject*, TSelectedComponents* list, TSelectOperation) {
    std::vector<TComponent*> items;
    for (int i = 0; i < list->Count(); ++i) items.push_back(list->Items(i));
    reports.push_back(items);
  });
  auto shiftClick = [&](TControl* control) {
    const Spot spot = SpotOf(control, control->Width() / 2, control->Height() / 2);
    QTest::mouseClick(spot.window, Qt::LeftButton, Qt::ShiftModifier, spot.at);
    Settle();
  };
  using Items = std::vector<TComponent*>;

  ClickOn(side->b1);
  ClickOn(a);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back(), Items{a});
  ClickOn(side->b1);
  EXPECT_EQ(reports.back(), Items{}) << "design mode off: nothing is selected any more";
  ClickOn(side->b1);
  ClickOn(b);
  EXPECT_EQ(reports.back(), Items{b}) << "the selection of the previous design mode is gone";
  shiftClick(c);
  EXPECT_EQ(reports.back(), (Items{b, c}));
  shiftClick(b);
  EXPECT_EQ(reports.back(), Items{c}) << "Shift+click takes out the entry clicked";
  EXPECT_EQ(side->DsnStage1->SelectedCount(), 1);

  // Twice the same element and the editor's own title label, which is no part of the design.
  side->DsnSelect1->SelectList({a, a, side->Label2, b});
  Settle();
  EXPECT_EQ(reports.back(), (Items{a, b}));
  ASSERT_EQ(side->DsnStage1->SelectedCount(), 2);
  EXPECT_EQ(side->DsnStage1->SelectedItem(0), a);
  EXPECT_EQ(side->DsnStage1->SelectedItem(1), b);
  const TWeak<TLabel> title(side->Label2);
  Key(side, Qt::Key_Delete);
  EXPECT_EQ(Elements(side), std::vector<TControl*>{c});
  EXPECT_TRUE(title) << "the title label is not deleted with the selection";
  EXPECT_EQ(reports.back(), Items{});
}

}  // namespace
