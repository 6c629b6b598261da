// What a clerk's edits of elements keep, in the real editor: a paste brings back what was copied.

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
  static unsigned Pixel(Tfmmd* editor, int x, int y) {
    return WindowWidget(editor->DsnStage1->Handle())->grab().toImage().pixel(x, y) & 0xFFFFFFu;
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

}  // namespace
