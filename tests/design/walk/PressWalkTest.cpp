// The first thing a newcomer follows through the design framework: a press on an unselected label,
// from the design agent that takes the mouse to the property window showing the label. The trace
// points on that way record it; the way must stay short and never come back to a file it left,
// so that it reads as the walk docs/architecture.md describes.

#include <gtest/gtest.h>

#include <QTest>

#include <string>
#include <vector>

#include "design/DsnWalk.h"
#include "design/inspector/DsnSpctr.h"
#include "design/select/DsnRegister.h"
#include "platform/controls/Grids.h"
#include "tests/design/stage/StageTestSupport.h"

namespace {

std::string FileName(const char* path) {
  const std::string full(path);
  const size_t slash = full.find_last_of('/');
  std::string name = slash == std::string::npos ? full : full.substr(slash + 1);
  return name.substr(0, name.find('.'));  // a .h/.cpp pair is one file
}

class PressWalkTest : public stage_test::StageFormTest {};

TEST_F(PressWalkTest, APressOnALabelReachesThePropertyWindowThroughSixFilesEachEnteredOnce) {
  auto* reg = New<TDsnRegister>(form);
  reg->SetDsnStage(stage);
  auto* inspector = New<TDsnInspector>(form);
  inspector->ShowProps()->aCaption = true;
  reg->SetDsnInspector(inspector);
  TLabel* label = AddLabel("Label1", 20, 20, "PO/NO");
  ShowForm();
  reg->SetDesigning(true);
  DispatchPostedMessages();

  TDsnWalk::Record(true);
  Press({stage->Left() + 30, stage->Top() + 25});
  TDsnWalk::Record(false);
  Release({stage->Left() + 30, stage->Top() + 25});
  DispatchPostedMessages();

  // What the user sees: the label selected, and the property window showing its caption.
  ASSERT_EQ(reg->SelectedCount(), 1);
  EXPECT_EQ(reg->SelectedItem(0), label);
  ASSERT_NE(inspector->Window(), nullptr);
  EXPECT_EQ(inspector->Window()->StringGrid1->Cells(TInspectorFm::kValueColumn, 1), "PO/NO");

  std::vector<std::string> files;
  std::string trail;
  for (const TDsnWalkStep& step : TDsnWalk::Steps()) {
    const std::string file = FileName(step.File);
    trail += file + "::" + step.Function + "\n";
    if (files.empty() || files.back() != file) files.push_back(file);
  }
  const std::vector<std::string> expected{"DsnCtrl", "DsnRegister", "DsnList", "DsnHandle", "DsnProp", "DsnSpctr"};
  EXPECT_EQ(files, expected) << trail;
}

}  // namespace
