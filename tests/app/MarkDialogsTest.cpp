// The shape settings and field link dialogs as a clerk uses them: opened from an element's
// right-click menu and from the inspector's "..." button, answered with the mouse.

#include <QSqlQuery>
#include <QWidget>

#include <string>
#include <vector>

#include "mark/ufmfield.h"
#include "mark/ufmsetup.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ToolBar.h"
#include "tests/app/MarkDialogsFixture.h"

namespace {

class MarkDialogsTest : public marks_test::MarkDialogsFixture {};

TEST_F(MarkDialogsTest, TheShapeDialogTurnsARectangleIntoADiamondOnlyWhenConfirmed) {
  Start();
  Tfmmd* side = Editor("1");
  ClickOn(side->b1);
  ClickOn(ShapeButton(square1));
  DragOnStage(side, {40, 40}, {104, 104});
  ASSERT_EQ(Elements(side).size(), 1u);
  auto* shape = dynamic_cast<tshape2*>(Elements(side)[0]);
  ASSERT_NE(shape, nullptr);

  std::vector<std::string> seen;
  WhenShown<Tfmsetup>([&](Tfmsetup* dialog) {
    EXPECT_EQ(dialog->RadioGroup1->ItemIndex(), 0) << "矩形";
    EXPECT_TRUE(dialog->sb2->Visible());
    EXPECT_TRUE(dialog->sb2->Down()) << "top";
    EXPECT_TRUE(dialog->sb4->Down()) << "left";
    EXPECT_FALSE(dialog->sb1->Down()) << "no diagonal";
    ClickOn(dialog->sb2);  // the top goes
    EXPECT_FALSE(dialog->shape->slset().Contains(sltop));
    ClickOn(dialog->sb2);  // and comes back
    EXPECT_TRUE(dialog->shape->slset().Contains(sltop));
    ClickOn(dialog->sb1);  // the upper-left diagonal
    ClickRadio(dialog->RadioGroup1, 1);  // 菱形
    EXPECT_EQ(dialog->shape->kind(), square2);
    EXPECT_FALSE(dialog->sb1->Visible()) << "a diamond has no line buttons";
    seen.push_back(dialog->Caption());
    ClickOn(dialog->SpeedButton1);  // 確定
  });
  ChooseFromElementMenu(shape);
  EXPECT_EQ(seen, (std::vector<std::string>{"形狀設定視窗"}));
  EXPECT_EQ(shape->kind(), square2);
  EXPECT_EQ(shape->slset(), (tslset{sltop, slbottom, slleft, slright, sllr}));
  EXPECT_EQ(shape->penwidth(), 3) << "the pen is not copied";
  EXPECT_EQ(side->DsnInspector1->Window()->StringGrid1->Cells(2, 4), "square2") << "the inspector follows";

  // Opening again for the diamond: 菱形 chosen, no line buttons; 離開 changes nothing.
  WhenShown<Tfmsetup>([&](Tfmsetup* dialog) {
    EXPECT_EQ(dialog->RadioGroup1->ItemIndex(), 1);
    EXPECT_FALSE(dialog->sb2->Visible());
    ClickRadio(dialog->RadioGroup1, 4);
    ClickOn(dialog->SpeedButton2);  // 離開
  });
  ChooseFromElementMenu(shape);
  EXPECT_EQ(shape->kind(), square2);

  // A plain label shape opens with nothing chosen and keeps its kind when confirmed.
  shape->Setkind(lab);
  WhenShown<Tfmsetup>([&](Tfmsetup* dialog) {
    EXPECT_EQ(dialog->RadioGroup1->ItemIndex(), -1);
    EXPECT_FALSE(dialog->sb2->Visible());
    ClickOn(dialog->SpeedButton1);
  });
  side->acshape->Execute();
  Settle();
  EXPECT_EQ(shape->kind(), lab);
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(MarkDialogsTest, SetShapeNeedsOneShapeLabel) {
  Start();
  Tfmmd* side = Editor("1");
  std::vector<tshape2*> shapes;
  for (int i = 0; i < 3; ++i) shapes.push_back(PlaceShape(side, square1, 16 + 64 * i, 16));
  TLabel* label = PlaceLabel(side, "PO/NO", 16, 120);
  ClickOn(side->b1);
  DragOnStage(side, {300, 100}, {4, 4});  // a band over the three shapes
  ASSERT_EQ(side->DsnStage1->SelectedCount(), 3);
  side->acshape->Execute();
  Settle();
  EXPECT_EQ(warnings_, (std::vector<std::string>{"請選取單一物件來設定形狀"}));
  ClickOn(label);
  side->acshape->Execute();  // a label that is no shape label: nothing opens
  Settle();
  for (int i = 0; i < side->ComponentCount(); ++i) EXPECT_EQ(dynamic_cast<Tfmsetup*>(side->Components(i)), nullptr);
  EXPECT_EQ(shapes[0]->kind(), square1);
}

TEST_F(MarkDialogsTest, TheFieldDialogListsTheViewsColumnsAndLinksTheChosenOne) {
  Start();
  Tfmmd* side = Editor("1");
  TDBText* text = PlaceDBText(side, "", 16, 16);
  text->SetCaption("連結欄位:未設定");
  ClickOn(side->b1);
  ClickOn(text);

  Tfmfield* kept = nullptr;
  WhenShown<Tfmfield>([&](Tfmfield* dialog) {
    kept = dialog;
    std::vector<std::string> columns;
    for (int i = 0; i < dialog->ListBox1->Items()->Count(); ++i) columns.push_back(dialog->ListBox1->Items()->Get(i));
    EXPECT_EQ(columns, (std::vector<std::string>{"PACKING單號", "出口文件單號", "客戶編號", "SHIPFROM", "SHIPTO", "VIA",
                                                 "產品編號", "數量", "CUFT", "NW", "GW"}));
    EXPECT_EQ(dialog->Caption(), "欄位設定");
    DoubleClickLine(dialog->ListBox1, 7);
  });
  PressDataFieldButton(side);
  EXPECT_EQ(text->DataField(), "數量");
  EXPECT_EQ(text->Caption(), "數量");

  // The kept dialog comes back; OK without a line keeps the last choice, Cancel links none.
  WhenShown<Tfmfield>([&](Tfmfield* dialog) {
    EXPECT_EQ(dialog, kept);
    dialog->ListBox1->SetItemIndex(-1);
    ClickOn(dialog->BitBtn1);
  });
  PressDataFieldButton(side);
  EXPECT_EQ(text->DataField(), "數量");
  WhenShown<Tfmfield>([&](Tfmfield* dialog) { ClickOn(dialog->BitBtn2); });
  PressDataFieldButton(side);
  EXPECT_EQ(text->DataField(), "");
  EXPECT_EQ(text->Caption(), "");

  // Closing the window with its close button after a choice does what Cancel does.
  WhenShown<Tfmfield>([&](Tfmfield* dialog) { DoubleClickLine(dialog->ListBox1, 3); });
  PressDataFieldButton(side);
  EXPECT_EQ(text->DataField(), "SHIPFROM");
  WhenShown<Tfmfield>([&](Tfmfield* dialog) {
    QWidget* window = WindowWidget(dialog->Handle())->window();
    window->close();
    Settle();
  });
  PressDataFieldButton(side);
  EXPECT_EQ(text->DataField(), "");
  EXPECT_EQ(text->Caption(), "");
  EXPECT_TRUE(warnings_.empty());
}

// A list that cannot be read is said and changes nothing; once the database answers again, the
// next click opens the dialog as if nothing had happened.
TEST_F(MarkDialogsTest, AFieldListThatCannotBeReadIsSaidChangesNothingAndIsTriedAgain) {
  Start();
  Tfmmd* side = Editor("1");
  TDBText* text = PlaceDBText(side, "數量", 16, 16);
  ClickOn(side->b1);
  ClickOn(text);
  QSqlQuery view(Peek());
  ASSERT_TRUE(view.exec(QStringLiteral("select sql from sqlite_master where name = 'VMD'")) && view.next());
  const QString createView = view.value(0).toString();
  Exec("drop view VMD");
  PressDataFieldButton(side);
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_EQ(warnings_[0].rfind("無法讀取連結欄位的清單，欄位沒有改變。", 0), 0u) << warnings_[0];
  EXPECT_EQ(text->DataField(), "數量");
  EXPECT_EQ(text->Caption(), "數量");

  Exec(createView);
  bool shown = false;
  WhenShown<Tfmfield>([&](Tfmfield* dialog) {
    shown = true;
    EXPECT_EQ(dialog->ListBox1->Items()->Count(), 11);
    DoubleClickLine(dialog->ListBox1, 3);
  });
  PressDataFieldButton(side);
  EXPECT_TRUE(shown) << "the dialog opens on the next click";
  EXPECT_EQ(warnings_.size(), 1u) << warnings_.back();
  EXPECT_EQ(text->DataField(), "SHIPFROM");
  int dialogs = 0;
  for (int i = 0; i < side->ComponentCount(); ++i) dialogs += dynamic_cast<Tfmfield*>(side->Components(i)) != nullptr;
  EXPECT_EQ(dialogs, 1) << "nothing of the failed one is left";
}

}  // namespace
