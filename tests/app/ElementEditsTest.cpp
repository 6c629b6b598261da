// What a clerk's edits of elements keep, in the real editor: a paste brings back what was copied,
// a resize never leaves an element out of reach, and handles stand around an element from the
// moment it is pressed.

#include <QTest>
#include <QWidget>
#include <QWindow>

#include <vector>

#include "design/select/DsnSub8.h"
#include "platform/controls/ToolBar.h"
#include "platform/graphics/Font.h"
#include "tests/app/MarkInputFixture.h"

namespace {

using marks_test::MarkInputTest;
using marks_test::Spot;
using marks_test::SpotOf;

class ElementEditsTest : public MarkInputTest {
 protected:
  static std::vector<TSmallRect*> Handles(Tfmmd* editor) {
    std::vector<TSmallRect*> handles;
    for (int i = 0; i < editor->DsnStage1->ControlCount(); ++i)
      if (auto* h = dynamic_cast<TSmallRect*>(editor->DsnStage1->Controls(i))) handles.push_back(h);
    return handles;
  }
  // A left click on the stage at a point of its client area.
  void ClickStage(Tfmmd* editor, int x, int y) {
    const Spot at = SpotOf(editor->DsnStage1, x, y);
    QTest::mouseClick(at.window, Qt::LeftButton, Qt::NoModifier, at.at);
    Settle();
  }
};

// A label drawn from the palette takes the palette's caption; a label and a data text pasted
// afterwards keep their own caption, field and colour, and still offer 設定形狀.
TEST_F(ElementEditsTest, APasteKeepsWhatWasCopiedWhileADrawnLabelTakesThePalettesCaption) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  TLabel* po = PlaceLabel(side, "PO/NO", 16, 16);
  TDBText* quantity = PlaceDBText(side, "數量", 16, 60);
  quantity->Font()->SetColor(clRed);
  ClickOn(side->b1);
  ClickOn(PaletteButton("C/NO."));
  DragOnStage(side, {200, 16}, {280, 40});
  ASSERT_EQ(Elements(side).size(), 3u);
  EXPECT_EQ(Elements(side)[2]->Caption(), "C/NO.") << "drawn from the palette";

  DragOnStage(side, {150, 100}, {4, 4});  // a band over the label and the data text
  ASSERT_EQ(side->DsnStage1->SelectedCount(), 2);
  Key(side, Qt::Key_C, Qt::ControlModifier);
  ClickStage(side, 300, 200);
  Key(side, Qt::Key_V, Qt::ControlModifier);

  const std::vector<TControl*> all = Elements(side);
  ASSERT_EQ(all.size(), 5u);
  auto* label = dynamic_cast<TLabel*>(all[3]);
  auto* text = dynamic_cast<TDBText*>(all[4]);
  ASSERT_TRUE(label && text);
  EXPECT_EQ(label->Caption(), "PO/NO") << "not the last palette choice";
  EXPECT_TRUE(label->Transparent());
  EXPECT_EQ(text->Caption(), "數量");
  EXPECT_EQ(text->DataField(), "數量");
  EXPECT_EQ(text->Font()->Color(), clRed) << "not the grey of a new data text";
  EXPECT_EQ(label->PopupMenu(), side->pop);
  EXPECT_EQ(text->PopupMenu(), side->pop);
  EXPECT_EQ(po->Caption(), "PO/NO");
  EXPECT_EQ(side->DsnStage1->SelectedCount(), 2) << "the copies are the selection";
}

// A corner dragged onto the opposite corner leaves a 1 x 1 element; an element stored with no
// width is still taken by a click at its place and by a band over it.
TEST_F(ElementEditsTest, AResizeNeverEndsBelowOnePixelAndAFlatElementCanStillBeTaken) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  TLabel* label = PlaceLabel(side, "PO/NO", 40, 40);
  label->SetBounds(40, 40, 88, 24);
  TLabel* flat = PlaceLabel(side, "C/NO.", 200, 120);
  flat->SetBounds(200, 120, 0, 24);  // as a mark stored before may hold it
  ClickOn(side->b1);
  TDsnStage* stage = side->DsnStage1;

  ClickStage(side, 60, 50);
  ASSERT_EQ(stage->SelectedCount(), 1);
  TSmallRect* corner = nullptr;
  for (TSmallRect* h : Handles(side))
    if (dynamic_cast<TMigishitaRect*>(h)) corner = h;
  ASSERT_NE(corner, nullptr);
  // From (2, 2) of the lower-right handle to 88 left and 24 up, on the 8-pixel grid.
  const Spot a = SpotOf(corner, 2, 2);
  const Spot b = SpotOf(corner, -90, -26);
  QTest::mousePress(a.window, Qt::LeftButton, Qt::NoModifier, a.at);
  QTest::mouseMove(b.window, b.at);
  QTest::mouseRelease(b.window, Qt::LeftButton, Qt::NoModifier, b.at);
  Settle();
  EXPECT_EQ(label->BoundsRect(), (TRect{40, 40, 41, 41})) << "one pixel each way, not none";

  ClickStage(side, 200, 130);
  ASSERT_EQ(stage->SelectedCount(), 1) << "a click at the flat element's place takes it";
  EXPECT_EQ(stage->SelectedItem(0), flat);

  ClickStage(side, 300, 200);
  EXPECT_EQ(stage->SelectedCount(), 0);
  DragOnStage(side, {180, 100}, {220, 160});
  ASSERT_EQ(stage->SelectedCount(), 1) << "a band over the flat element takes it";
  EXPECT_EQ(stage->SelectedItem(0), flat);
}

// Pressing on an element that was not selected shows its eight handles around it at once, not in
// the stage's top-left corner until the button is released.
TEST_F(ElementEditsTest, HandlesStandAroundAnElementWhileTheButtonIsStillDown) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  TLabel* label = PlaceLabel(side, "", 80, 80);
  label->SetBounds(80, 80, 88, 24);
  ClickOn(side->b1);
  ASSERT_EQ(StagePixel(side, 1, 1), 0xFFFFFFu);

  const Spot at = SpotOf(label, 44, 12);
  QTest::mousePress(at.window, Qt::LeftButton, Qt::NoModifier, at.at);
  Settle();
  const std::vector<TSmallRect*> handles = Handles(side);
  ASSERT_EQ(handles.size(), 8u);
  const TRect around{78, 78, 170, 106};  // the label, 2 pixels wider on every side
  for (TSmallRect* h : handles) {
    EXPECT_GE(h->Left(), around.Left) << h->ClassName();
    EXPECT_GE(h->Top(), around.Top) << h->ClassName();
    EXPECT_LE(h->Left() + h->Width(), around.Right) << h->ClassName();
    EXPECT_LE(h->Top() + h->Height(), around.Bottom) << h->ClassName();
  }
  EXPECT_EQ(StagePixel(side, 79, 79), 0x000000u) << "the upper-left handle shows";
  EXPECT_EQ(StagePixel(side, 1, 1), 0xFFFFFFu) << "nothing stands in the stage's corner";
  QTest::mouseRelease(at.window, Qt::LeftButton, Qt::NoModifier, at.at);
  Settle();
  EXPECT_EQ(side->DsnStage1->SelectedItem(0), label);
}

}  // namespace
