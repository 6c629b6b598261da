// The stage's own behaviour: its settings, the selection it reports, the keys it turns into
// register commands and the messages it handles.

#include <gtest/gtest.h>

#include <QTest>

#include <string>
#include <vector>

#include "design/select/DsnRegister.h"
#include "platform/controls/Form.h"
#include "platform/controls/Menus.h"
#include "platform/rtl/PostedRefs.h"
#include "platform/rtl/StringList.h"
#include "tests/design/stage/StageTestSupport.h"

namespace {

using namespace stage_test;

using Calls = std::vector<std::string>;

class Stage : public StageFormTest {
 protected:
  void SetUp() override {
    StageFormTest::SetUp();
    reg = New<TRecordingRegister>(form);
    reg->Link(stage);
  }

  void Focus() {
    ShowForm();
    stage->SetFocus();
    ASSERT_TRUE(stage->Focused());
  }

  TRecordingRegister* reg = nullptr;
};

TEST_F(Stage, StartsWithTheDefaultsOfANewStage) {
  auto* fresh = New<TDsnStage>(form);
  EXPECT_EQ(fresh->DsnRegister(), nullptr);
  EXPECT_FALSE(fresh->DesignActive());
  EXPECT_EQ(fresh->Rubberband()->Color(), clGray);
  EXPECT_EQ(fresh->Rubberband()->PenWidth(), 2);
  EXPECT_EQ(fresh->Rubberband()->MoveWidth(), 8);
  EXPECT_EQ(fresh->Rubberband()->MoveHeight(), 8);
  EXPECT_EQ(fresh->SelfProps()->Count(), 0);
  EXPECT_EQ(fresh->OutProps()->Count(), 0);
  EXPECT_EQ(fresh->SelectedCount(), -1);
  EXPECT_EQ(fresh->SelectedItem(0), nullptr);
}

TEST_F(Stage, PropertyListsAndRubberbandAreCopiedNotShared) {
  auto* lines = New<TStringList>();
  lines->Add("Caption|文字內容");
  stage->SetSelfProps(lines);
  lines->Add("Color");
  EXPECT_EQ(stage->SelfProps()->Count(), 1);
  lines->Free();
  TRubberband band;
  band.SetMoveWidth(0);
  stage->SetRubberband(&band);
  EXPECT_EQ(stage->Rubberband()->MoveWidth(), 0);
  EXPECT_NE(stage->Rubberband(), &band);
}

TEST_F(Stage, ReportsTheRegistersSelection) {
  EXPECT_EQ(stage->SelectedCount(), -1) << "no selection list yet";
  reg->hasList = true;
  EXPECT_EQ(stage->SelectedCount(), 0);
  TLabel* label = AddLabel("Label1", 8, 8);
  reg->selected.push_back(label);
  EXPECT_EQ(stage->SelectedCount(), 1);
  EXPECT_EQ(stage->SelectedItem(0), label);
  EXPECT_EQ(stage->SelectedItem(1), nullptr);
  EXPECT_EQ(stage->SelectedItem(-1), nullptr);
}

TEST_F(Stage, ForgetsAFreedRegisterAndAFreedCoverMenu) {
  auto* menu = New<TPopupMenu>(form);
  stage->SetCoverMenu(menu);
  menu->Free();
  EXPECT_EQ(stage->CoverMenu(), nullptr);
  reg->Free();
  EXPECT_EQ(stage->DsnRegister(), nullptr);
  EXPECT_EQ(stage->SelectedCount(), -1);
  stage->DeleteSelection();  // nothing to forward to, and no crash
  stage->PasteSelection();
}

TEST_F(Stage, RegisterOfAnotherWindowIsForgottenToo) {
  auto* otherWindow = New<TForm>(nullptr);
  auto* foreign = New<TRecordingRegister>(otherWindow);
  foreign->Link(stage);
  otherWindow->Free();
  EXPECT_EQ(stage->DsnRegister(), nullptr);
}

// The register of another window keeps designing the stage after the stage let go of it (another
// register took the stage over): when the stage is freed, that register is still told.
TEST_F(Stage, ARegisterOfAnotherWindowHearsWhenTheStageIsFreed) {
  auto* otherWindow = New<TForm>(nullptr);
  auto* foreign = New<TDsnRegister>(otherWindow);
  foreign->SetDsnStage(stage);
  reg->Link(stage);
  ASSERT_EQ(stage->DsnRegister(), reg);
  stage->Free();
  EXPECT_EQ(foreign->DsnStage(), nullptr);
  foreign->SetDesigning(true);  // nothing left to cover, and nothing freed is touched
  foreign->SetDesigning(false);
  otherWindow->Free();
}

TEST_F(Stage, DeleteActsOnTheKeysReleaseNotItsPress) {
  Focus();
  QTest::keyPress(Window(), Qt::Key_Delete);
  EXPECT_EQ(reg->calls, Calls{});
  QTest::keyRelease(Window(), Qt::Key_Delete);
  EXPECT_EQ(reg->calls, Calls{"DeleteSelection"});
}

TEST_F(Stage, ClipboardKeysBecomeRegisterCommandsAndNothingElseSeesThem) {
  Focus();
  std::vector<char32_t> typed;
  stage->OnKeyPress.Bind([&](TObject*, char32_t& ch) { typed.push_back(ch); });
  QTest::keyClick(Window(), Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(Window(), Qt::Key_X, Qt::ControlModifier);
  QTest::keyClick(Window(), Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(Window(), Qt::Key_A);
  EXPECT_EQ(reg->calls, (Calls{"CopySelection", "CutSelection", "PasteSelection"}));
  EXPECT_EQ(typed, std::vector<char32_t>{U'a'});
}

TEST_F(Stage, AHandlerThatFreesTheStageOnDeleteEndsTheKeyQuietly) {
  Focus();
  struct Freeing : TRecordingRegister {
    void DeleteSelection() override { stage->Free(); }
  };
  auto* freeing = New<Freeing>(form);
  freeing->Link(stage);
  QTest::keyClick(Window(), Qt::Key_Delete);
  EXPECT_EQ(form->FindComponent("DsnStage1"), nullptr);
}

TEST_F(Stage, RefreshMessageReachesTheRegisterWhenTheLoopRuns) {
  PostMessage(stage->Handle(), DM_REFRESHTARGETS, 0, 0);
  EXPECT_EQ(reg->calls, Calls{});
  DispatchPostedMessages();
  EXPECT_EQ(reg->calls, Calls{"RefreshTargets"});
}

TEST_F(Stage, CreatedMessageFiresOnControlCreateForALiveControlOnly) {
  std::vector<TComponent*> created;
  stage->OnControlCreate.Bind([&](TObject* sender, TComponent* c) {
    EXPECT_EQ(sender, stage);
    created.push_back(c);
  });
  TLabel* kept = AddLabel("Label1", 8, 8);
  TLabel* freed = AddLabel("Label2", 8, 40);
  PostMessage(stage->Handle(), DM_CONTROLCREATED, PostableRef(kept), 0);
  PostMessage(stage->Handle(), DM_CONTROLCREATED, PostableRef(freed), 0);
  freed->Free();
  DispatchPostedMessages();
  EXPECT_EQ(created, std::vector<TComponent*>{kept});
}

}  // namespace
