// The line element in the real editor, with the mouse: drawn from the palette, turned diagonal in
// the property window, taken only near its pen (a press elsewhere in its box goes to the label
// beneath), taken by a band that touches its box, resized by a handle, saved and read back.

#include <QComboBox>
#include <QTest>

#include "design/palette/DsnPanel.h"
#include "design/select/DsnHandle.h"
#include "mark/MarkLine.h"
#include "platform/controls/ToolBar.h"
#include "tests/app/MarkDialogsFixture.h"

namespace marks_test {
namespace {

class MarkLineTest : public MarkDialogsFixture {
 protected:
  void ClickStage(Tfmmd* editor, int x, int y) { DragOnStage(editor, {x, y}, {x, y}); }
};

TEST_F(MarkLineTest, ALineIsTakenNearItsPenByABandAndByItsHandleAndComesBackAsSaved) {
  Start();
  Tfmmd* main = Editor("0");
  ASSERT_NE(main, nullptr);
  TDsnStage* stage = main->DsnStage1;
  ClickOn(main->b1);
  ClickOn(PaletteButton("C/NO."));
  DragOnStage(main, {120, 40}, {224, 96});
  ClickOn(PaletteButton("線條"));
  DragOnStage(main, {16, 16}, {208, 112});
  std::vector<TControl*> elements = Elements(main);
  ASSERT_EQ(elements.size(), 2u);
  TControl* label = elements[0];
  auto* line = dynamic_cast<TMarkLine*>(elements[1]);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->BoundsRect(), (TRect{16, 16, 208, 112}));

  // Turned into the diagonal from upper left to lower right, chosen from the property's list.
  ClickPropertyRow(main, "direction");
  auto* list = static_cast<QComboBox*>(WindowWidget(main->DsnInspector1->Window()->ComboBox2->Handle()));
  ASSERT_TRUE(list->isVisible());
  list->showPopup();
  list->view()->setCurrentIndex(list->model()->index(list->findText("ldDown"), 0));
  QTest::keyClick(list->view(), Qt::Key_Return);
  Settle();
  EXPECT_EQ(line->direction(), ldDown);

  // Inside the line's box, away from the pen: the label beneath. On the pen, over the label too:
  // the line.
  ClickStage(main, 300, 200);
  ClickStage(main, 200, 48);
  ASSERT_EQ(stage->SelectedCount(), 1);
  EXPECT_EQ(stage->SelectedItem(0), label);
  ClickStage(main, 160, 88);
  ASSERT_EQ(stage->SelectedCount(), 1);
  EXPECT_EQ(stage->SelectedItem(0), line);

  // A band over the corner of its box, which the pen does not reach, takes the line alone.
  ClickStage(main, 300, 200);
  DragOnStage(main, {300, 200}, {204, 108});
  ASSERT_EQ(stage->SelectedCount(), 1);
  EXPECT_EQ(stage->SelectedItem(0), line);

  // Its lower right handle, dragged 32 right and 16 down.
  TSmallRect* corner = nullptr;
  for (int i = 0; i < stage->ControlCount(); ++i)
    if (auto* handle = dynamic_cast<TMigishitaRect*>(stage->Controls(i))) corner = handle;
  ASSERT_NE(corner, nullptr);
  const Spot a = SpotOf(corner, 2, 2);
  const Spot b = SpotOf(corner, 34, 18);
  QTest::mousePress(a.window, Qt::LeftButton, Qt::NoModifier, a.at);
  QTest::mouseMove(b.window, b.at);
  QTest::mouseRelease(b.window, Qt::LeftButton, Qt::NoModifier, b.at);
  Settle();
  EXPECT_EQ(line->BoundsRect(), (TRect{16, 16, 240, 128}));

  // Saved, and the mark opened again: the line as it was left.
  ClickOn(main->b2);
  ASSERT_TRUE(warnings_.empty()) << warnings_.front();
  ASSERT_TRUE(main_->OpenMark("C001", "M01", false));
  Settle();
  std::vector<TControl*> back = Elements(Editor("0"));
  ASSERT_EQ(back.size(), 2u);
  auto* read = dynamic_cast<TMarkLine*>(back[1]);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->direction(), ldDown);
  EXPECT_EQ(read->BoundsRect(), (TRect{16, 16, 240, 128}));
  EXPECT_EQ(read->PopupMenu(), Editor("0")->pop);
}

}  // namespace
}  // namespace marks_test
