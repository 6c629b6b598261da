// The inspector's window beside a real register and stage: the grid follows the selection, the value
// editor follows the property it stands on, and a value applied from the window comes back to the
// grid through the stage.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/inspector/DsnSpctr.h"
#include "design/select/DsnRegister.h"
#include "mark/shape2.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Grids.h"
#include "platform/rtl/StringList.h"
#include "tests/design/stage/StageTestSupport.h"

namespace {

using stage_test::StageFormTest;

// Caption, Color and kind shown; Caption hidden while two or more targets are selected.
class InspectorWindowTest : public StageFormTest {
 protected:
  void SetUp() override {
    StageFormTest::SetUp();
    reg = New<TDsnRegister>(form);
    reg->SetDsnStage(stage);
    inspector = New<TDsnInspector>(form);
    inspector->ShowProps()->aCaption = true;
    inspector->ShowProps()->aColor = true;
    inspector->SelfProps()->SetText("kind\n");
    inspector->OutProps()->SetText("Caption\n");
    reg->SetDsnInspector(inspector);
    label = AddLabel("Label1", 20, 20, "PO/NO");
    ShowForm();
    reg->SetDesigning(true);
  }

  void Select(const std::vector<TComponent*>& components) {
    reg->Select(components);
    DispatchPostedMessages();
  }
  tshape2* AddShape(int left) {
    auto* shape = New<tshape2>(form);
    shape->SetParent(stage);
    shape->SetLeft(left);
    return shape;
  }
  TInspectorFm* Window() const { return inspector->Window(); }
  TStringGrid* Grid() const { return Window()->StringGrid1; }
  std::string Name(int row) const { return Grid()->Cells(TInspectorFm::kNameColumn, row); }
  std::string Value(int row) const { return Grid()->Cells(TInspectorFm::kValueColumn, row); }
  // A press on a row, as the grid reports it.
  void PressRow(int row) {
    Grid()->SetRow(row);
    Window()->PlaceEditor(row, true);
  }

  TDsnRegister* reg = nullptr;
  TDsnInspector* inspector = nullptr;
  TLabel* label = nullptr;
};

// The stage's window made anew during design (a property that needs a new window, set by some
// handler): a value typed into the inspector still comes back to the grid through the new window.
TEST_F(InspectorWindowTest, AValueAppliedAfterTheStagesWindowWasMadeAnewShowsInTheGrid) {
  Select({label});
  ASSERT_NE(Window(), nullptr);
  ASSERT_EQ(Name(1), "Caption");
  ASSERT_EQ(Value(1), "PO/NO");
  const HWND before = stage->Handle();
  stage->RecreateWnd();
  DispatchPostedMessages();
  ASSERT_NE(stage->Handle(), before);

  PressRow(1);
  ASSERT_EQ(Window()->EditorRow(), 1);
  Window()->Edit1->SetText("N.W.");
  Window()->Commit(false);
  EXPECT_EQ(label->Caption(), "N.W.");
  DispatchPostedMessages();
  EXPECT_EQ(Value(1), "N.W.") << "the refresh reached the stage's new window";
}

// The editor stays with its property while the rows shift under it, goes away with a selection
// that lacks the property, and comes back on its row with one that has it again.
TEST_F(InspectorWindowTest, TheEditorFollowsItsPropertyThroughChangesOfTheSelection) {
  tshape2* a = AddShape(100);
  tshape2* b = AddShape(200);
  Select({a});
  ASSERT_EQ(Name(3), "kind");
  PressRow(3);
  EXPECT_EQ(Window()->EditorRow(), 3);
  EXPECT_EQ(Window()->EditedProp(), "kind");
  EXPECT_TRUE(Window()->ComboBox2->Visible()) << "kind is chosen from its names";

  Select({a, b});
  ASSERT_EQ(Name(1), "Color") << "two targets hide the caption";
  ASSERT_EQ(Name(2), "kind");
  EXPECT_EQ(Window()->EditorRow(), 2);
  EXPECT_EQ(Grid()->Row(), 2);
  EXPECT_TRUE(Window()->ComboBox2->Visible());
  EXPECT_EQ(Window()->ComboBox2->Top(), Grid()->Top() + Grid()->CellRect(TInspectorFm::kValueColumn, 2).Top + 2);

  Select({label});
  EXPECT_EQ(Window()->EditorRow(), TInspectorFm::kNoRow) << "a label has no kind";
  EXPECT_FALSE(Window()->ComboBox2->Visible());
  EXPECT_FALSE(Window()->Edit1->Enabled());
  EXPECT_EQ(Window()->EditedProp(), "kind") << "the property is kept";

  b->Setkind(eclipse);
  Select({b});
  EXPECT_EQ(Window()->EditorRow(), 3);
  EXPECT_TRUE(Window()->ComboBox2->Visible());
  EXPECT_EQ(Window()->ComboBox2->Text(), "eclipse");
}

}  // namespace
