// Undo, redo and the layout commands in the real editor, driven with the mouse and keys: a step
// brings back the design byte for byte with its selection, the history survives a failed save and
// keeps to its bound, and what is saved after it all is what the stage shows.

#include <QMenu>
#include <QTest>

#include <random>
#include <string>
#include <vector>

#include "design/select/DsnHistory.h"
#include "design/inspector/DsnSpctr.h"
#include "mark/ufmsetup.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Menus.h"
#include "platform/controls/ToolBar.h"
#include "platform/rtl/Stream.h"
#include "tests/app/MarkDialogsFixture.h"

namespace {

class UndoAlignTest : public marks_test::MarkDialogsFixture {
 protected:
  // A label drawn from the palette button `caption`, its frame from `from` to `to`.
  TControl* DrawLabel(Tfmmd* editor, const std::string& caption, TPoint from, TPoint to) {
    ClickOn(PaletteButton(caption));
    DragOnStage(editor, from, to);
    return Elements(editor).back();
  }
  static std::string Design(Tfmmd* editor) { return editor->CurrentDesign(); }
  static std::vector<std::string> Selected(Tfmmd* editor) {
    std::vector<std::string> names;
    for (int i = 0; i < editor->DsnStage1->SelectedCount(); ++i) names.push_back(editor->DsnStage1->SelectedItem(i)->Name());
    return names;
  }
  TMenuItem* EditMenu() { return dynamic_cast<TMenuItem*>(main_->FindComponent("Edit1")); }
  // An item of the main window's Edit menu (or its 對齊 submenu), found by its caption.
  TMenuItem* EditItem(const std::string& caption) {
    TMenuItem* edit = EditMenu();
    // Opened and closed, as a clerk looking into it: some items are made as it first opens.
    QMenu* menu = edit->QtMenu();
    menu->popup(QPoint(0, 0));
    Settle();
    menu->hide();
    for (int i = 0; edit && i < edit->Count(); ++i) {
      TMenuItem* item = edit->Items(i);
      if (item->Caption() == caption) return item;
      for (int j = 0; j < item->Count(); ++j)
        if (item->Items(j)->Caption() == caption) return item->Items(j);
    }
    return nullptr;
  }
  void Undo(Tfmmd* editor) { MenuKey(editor, Qt::Key_Z, Qt::ControlModifier); }
  void Redo(Tfmmd* editor) { MenuKey(editor, Qt::Key_Y, Qt::ControlModifier); }
};

TEST_F(UndoAlignTest, MovesAlignAndDeleteAreUndoneExactlyAndTheMarkSavedIsTheOneOnScreen) {
  Start();
  Tfmmd* side = Editor("1");
  ClickOn(side->b1);
  TControl* first = DrawLabel(side, "C/NO.", {16, 16}, {96, 40});
  TControl* second = DrawLabel(side, "PO/NO", {48, 64}, {128, 88});
  DrawLabel(side, "N.W.", {32, 120}, {112, 144});
  ASSERT_EQ(Elements(side).size(), 3u);
  const std::string placed = Design(side);

  // A drag of the second label, undone and redone with the keys.
  DragOnStage(side, {second->Left() + 10, second->Top() + 10}, {second->Left() + 74, second->Top() + 26});
  ASSERT_EQ(second->Left(), 112);
  const std::string moved = Design(side);
  const std::string secondName = second->Name();
  TMenuItem* undo = EditMenu()->Items(0);
  undo->InitiateAction();  // as the menu does when it opens
  EXPECT_EQ(undo->Caption(), "復原 移動");
  Undo(side);
  EXPECT_EQ(Design(side), placed) << "undo brings back the design byte for byte";
  EXPECT_EQ(Selected(side), std::vector<std::string>{secondName}) << "with the selection the move started from";
  Redo(side);
  EXPECT_EQ(Design(side), moved);

  // All three aligned left to the first selected, then undone.
  Key(side, Qt::Key_A, Qt::ControlModifier);
  ASSERT_EQ(side->DsnStage1->SelectedCount(), 3);
  TMenuItem* alignLeft = EditItem("靠左對齊");
  ASSERT_TRUE(alignLeft);
  alignLeft->Click();
  Settle();
  for (TControl* element : Elements(side)) EXPECT_EQ(element->Left(), 16) << element->Name();
  Undo(side);
  EXPECT_EQ(Design(side), moved);
  EXPECT_EQ(Selected(side).size(), 3u);

  // Delete, then undo: all three come back with their names and captions.
  Key(side, Qt::Key_Delete);
  ASSERT_TRUE(Elements(side).empty());
  Undo(side);
  EXPECT_EQ(Design(side), moved);
  ASSERT_EQ(Elements(side).size(), 3u);
  EXPECT_EQ(Elements(side)[0]->Caption(), "C/NO.");
  EXPECT_EQ(Elements(side)[1]->Name(), secondName);

  // An arrow key moves by a grid step; a held key is one step; undo takes all of it back.
  const std::string beforeKeys = Design(side);
  ClickOn(side->b1);  // design mode off and on: the history goes on
  ClickOn(side->b1);
  first = Elements(side)[0];
  DragOnStage(side, {first->Left() + 4, first->Top() + 4}, {first->Left() + 4, first->Top() + 4});  // a click
  QWidget* stage = WindowWidget(side->DsnStage1->Handle());
  QTest::keyClick(stage, Qt::Key_Right);
  Settle();
  QTest::keyEvent(QTest::KeyAction::Press, stage, Qt::Key_Right, Qt::NoModifier);
  Settle();
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(stage, &repeat);
  Settle();
  QTest::keyEvent(QTest::KeyAction::Release, stage, Qt::Key_Right, Qt::NoModifier);
  Settle();
  EXPECT_EQ(first->Left(), 16 + 3 * 8);
  Key(side, Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(first->Left(), 16 + 3 * 8 - 1) << "Ctrl moves by one pixel";
  Undo(side);
  Undo(side);
  Undo(side);
  EXPECT_EQ(Design(side), beforeKeys) << "a pixel, a held key, a key: three steps";

  // Saved and read again: what the stage showed is what is stored.
  ASSERT_TRUE(side->SaveMark());
  const std::string saved = Design(side);
  EXPECT_FALSE(side->Modified());
  Undo(side);
  EXPECT_TRUE(side->Modified());
  Redo(side);
  EXPECT_FALSE(side->Modified()) << "back at the saved state";
  CloseAll();
  Start();
  EXPECT_EQ(Design(Editor("1")), saved);
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(UndoAlignTest, APropertyEditAShapeChangeAndAPasteAreStepsThatOutliveAFailedSaveAndTheBound) {
  Start();
  Tfmmd* side = Editor("1");
  ClickOn(side->b1);
  TControl* label = DrawLabel(side, "PO/NO", {16, 16}, {96, 40});
  ClickOn(ShapeButton(square1));
  DragOnStage(side, {160, 40}, {240, 120});
  auto* shape = dynamic_cast<tshape2*>(Elements(side).back());
  ASSERT_TRUE(shape);

  // A caption typed into the property window.
  DragOnStage(side, {label->Left() + 4, label->Top() + 4}, {label->Left() + 4, label->Top() + 4});
  TInspectorFm* window = side->DsnInspector1->Window();
  ASSERT_TRUE(window);
  const std::string beforeEdit = Design(side);
  window->PlaceEditor(1, true);
  window->Edit1->SetText("N.W.");
  window->Commit(false);
  Settle();
  EXPECT_EQ(label->Caption(), "N.W.");
  const std::string labelName = label->Name();
  EXPECT_EQ(side->History()->UndoName(), "修改 文字內容");

  // The shape dialog from the element's menu: a diamond instead of the rectangle.
  const std::string beforeShape = Design(side);
  WhenShown<Tfmsetup>([&](Tfmsetup* dialog) {
    ClickRadio(dialog->RadioGroup1, 1);
    ClickOn(dialog->SpeedButton1);  // 確定
  });
  ChooseFromElementMenu(shape);
  ASSERT_EQ(shape->kind(), square2) << "a diamond";
  EXPECT_EQ(side->History()->UndoName(), "設定形狀");

  // A paste of the two, then the whole way back.
  Key(side, Qt::Key_A, Qt::ControlModifier);
  Key(side, Qt::Key_C, Qt::ControlModifier);
  DragOnStage(side, {300, 200}, {300, 200});
  const std::string beforePaste = Design(side);
  Key(side, Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(Elements(side).size(), 4u);
  EXPECT_EQ(side->History()->UndoName(), "貼上");

  // A save that fails changes nothing of the history.
  Exec(QStringLiteral("begin exclusive"));
  EXPECT_FALSE(side->SaveMark());
  Exec(QStringLiteral("rollback"));
  warnings_.clear();
  ClickOn(side->b1);  // the failed save ended design mode: on again
  Undo(side);
  EXPECT_EQ(Design(side), beforePaste);
  Undo(side);
  EXPECT_EQ(Design(side), beforeShape);
  Undo(side);
  EXPECT_EQ(Design(side), beforeEdit);
  // Undo reads the design back: the elements are new ones, under the same names.
  auto* restored = dynamic_cast<TControl*>(side->FindComponent(labelName));
  ASSERT_TRUE(restored);
  EXPECT_EQ(restored->Caption(), "PO/NO");

  // Past its bound the history drops its oldest steps.
  ASSERT_EQ(side->History()->UndoCount(), 2) << "the label and the shape drawn";
  side->History()->SetLimits(1, TDsnHistory::kDefaultByteLimit);
  EXPECT_EQ(side->History()->UndoCount(), 1);
  while (side->History()->CanUndo()) Undo(side);
  EXPECT_EQ(Elements(side).size(), 1u) << "the label stays: its step was dropped";
}

TEST_F(UndoAlignTest, ANewChangeEndsRedoAChangeToNothingIsNoStepAndBigStepsKeepToTheByteBound) {
  Start();
  Tfmmd* side = Editor("1");
  ClickOn(side->b1);
  const std::string name = DrawLabel(side, "C/NO.", {16, 16}, {96, 40})->Name();
  const std::string one = Design(side);
  DrawLabel(side, "PO/NO", {16, 64}, {96, 88});
  Undo(side);
  ASSERT_EQ(Design(side), one);
  TMenuItem* redo = EditMenu()->Items(1);
  redo->InitiateAction();
  EXPECT_TRUE(redo->Enabled());

  // Something new after an undo: what was undone can no longer come back.
  const std::string small = DrawLabel(side, "N.W.", {160, 200}, {240, 224})->Name();
  const std::string drawn = Design(side);
  redo->InitiateAction();
  EXPECT_FALSE(redo->Enabled());
  Redo(side);
  EXPECT_EQ(Design(side), drawn) << "Ctrl+Y after a new change does nothing";

  // A caption entered as it stands and a drag that comes back to where it began change nothing:
  // the next undo takes back the label drawn last. (Undo reads the design back: new elements.)
  auto* label = dynamic_cast<TControl*>(side->FindComponent(name));
  ASSERT_TRUE(label);
  DragOnStage(side, {label->Left() + 4, label->Top() + 4}, {label->Left() + 4, label->Top() + 4});
  TInspectorFm* window = side->DsnInspector1->Window();
  ASSERT_TRUE(window);
  window->PlaceEditor(1, true);
  QTest::keyClick(WindowWidget(window->Edit1->Handle()), Qt::Key_Return);  // Enter writes the text shown
  Settle();
  const auto at = marks_test::SpotOf(side->DsnStage1, label->Left() + 10, label->Top() + 10);
  const auto away = marks_test::SpotOf(side->DsnStage1, label->Left() + 90, label->Top() + 60);
  QTest::mousePress(at.window, Qt::LeftButton, Qt::NoModifier, at.at);
  QTest::mouseMove(away.window, away.at);
  QTest::mouseMove(at.window, at.at);
  QTest::mouseRelease(at.window, Qt::LeftButton, Qt::NoModifier, at.at);
  Settle();
  ASSERT_EQ(Design(side), drawn);
  Undo(side);
  EXPECT_EQ(Design(side), one) << "no step was kept for the changes that changed nothing";
  Redo(side);
  label = dynamic_cast<TControl*>(side->FindComponent(name));
  ASSERT_TRUE(label);
  DragOnStage(side, {label->Left() + 4, label->Top() + 4}, {label->Left() + 4, label->Top() + 4});

  // Ten labels of 32,767 characters picked at random, which packing hardly shrinks, make every
  // step about 256 KB: with another label moved again and again with the arrow key, the history
  // keeps to 32 MiB by dropping its oldest steps.
  std::mt19937 random(7);
  std::uniform_int_distribution<int> printable(' ', '~');
  std::string text(32767, ' ');
  for (char& c : text) c = static_cast<char>(printable(random));
  window->PlaceEditor(1, true);
  window->Edit1->SetText(text);
  window->Commit(false);
  Settle();
  ASSERT_EQ(label->Caption(), text);
  DragOnStage(side, {label->Left() + 4, label->Top() + 4}, {label->Left() + 4, label->Top() + 4});
  MenuKey(side, Qt::Key_C, Qt::ControlModifier);
  for (int i = 0; i < 9; ++i) {
    DragOnStage(side, {300, 120}, {300, 120});  // onto the stage, not into the label selected
    MenuKey(side, Qt::Key_V, Qt::ControlModifier);
  }
  ASSERT_EQ(Elements(side).size(), 11u);
  auto* moved = dynamic_cast<TControl*>(side->FindComponent(small));
  ASSERT_TRUE(moved);
  DragOnStage(side, {moved->Left() + 4, moved->Top() + 4}, {moved->Left() + 4, moved->Top() + 4});
  QWidget* stage = WindowWidget(side->DsnStage1->Handle());
  stage->window()->activateWindow();
  Settle();
  const int start = moved->Left();
  const int moves = 150;
  for (int i = 0; i < moves; ++i) {
    QTest::keyClick(stage, Qt::Key_Right);
    Settle();
  }
  ASSERT_EQ(moved->Left(), start + moves * 8);
  const TDsnHistory* history = side->History();
  EXPECT_LE(history->Bytes(), TDsnHistory::kDefaultByteLimit);
  EXPECT_GT(history->Bytes(), TDsnHistory::kDefaultByteLimit * 9 / 10) << "steps of about 256 KB fill it";
  EXPECT_LT(history->UndoCount(), 140) << "the oldest steps were dropped";
  EXPECT_GT(history->UndoCount(), 100);
  for (int i = 1; i <= 3; ++i) {
    Undo(side);
    moved = dynamic_cast<TControl*>(side->FindComponent(small));
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->Left(), start + (moves - i) * 8) << "each undo takes back one move";
  }
}

}  // namespace
