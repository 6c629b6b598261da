#pragma once
// A stand-in register that records what the stage and the design agents ask of it, and a form with
// a stage on it. The real register comes with its own tests; these only check the stage's side.

#include <string>
#include <vector>

#include "design/DsnUnit.h"
#include "platform/controls/Label.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace stage_test {

class TRecordingRegister : public TCustomDsnRegister {
 public:
  TDsnStage* Stage() const override { return stage; }
  bool DesignActive() const override { return false; }
  void SetDesigning(bool) override {}
  int SelectedCount() const override { return hasList ? static_cast<int>(selected.size()) : -1; }
  TControl* SelectedItem(int index) const override { return selected.at(static_cast<size_t>(index)); }
  void ClearSelection() override {
    calls.push_back("ClearSelection");
    selected.clear();
  }
  void SelectComponent(TComponent*) override { calls.push_back("SelectComponent"); }
  void RefreshTargets() override { calls.push_back("RefreshTargets"); }
  void DeleteSelection() override { calls.push_back("DeleteSelection"); }
  void CutSelection() override { calls.push_back("CutSelection"); }
  void CopySelection() override { calls.push_back("CopySelection"); }
  void PasteSelection() override { calls.push_back("PasteSelection"); }
  void MouseDown(TWinControl*, TControl*, TShiftState, TPoint) override { calls.push_back("MouseDown"); }
  void MouseMove(TWinControl*, TPoint, TShiftState) override { calls.push_back("MouseMove"); }
  void MouseUp(TWinControl*, TPoint, TShiftState) override { calls.push_back("MouseUp"); }
  void RightMouseDown(TWinControl*, TControl*, int, int) override { calls.push_back("RightMouseDown"); }
  void CoverDblClick(TControl*) override { calls.push_back("CoverDblClick"); }
  void PropsRefresh() override { calls.push_back("PropsRefresh"); }
  void HandlesShown() override { calls.push_back("HandlesShown"); }
  void SelectAll() override { calls.push_back("SelectAll"); }
  void NudgeSelection(int dx, int dy, bool resize, bool fine, bool repeat) override {
    calls.push_back("Nudge " + std::to_string(dx) + "," + std::to_string(dy) + (resize ? " resize" : "") +
                    (fine ? " fine" : "") + (repeat ? " repeat" : ""));
  }

  // Links both ways, as the register's DsnStage property does.
  void Link(TDsnStage* s) {
    stage = s;
    s->SetDsnRegister(this);
  }

  TDsnStage* stage = nullptr;
  bool hasList = false;
  std::vector<TControl*> selected;
  std::vector<std::string> calls;
};

// A shown form with a stage of 300 x 200 at (10, 10).
class StageFormTest : public controls_test::FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    stage = New<TDsnStage>(form);
    stage->SetName("DsnStage1");
    stage->SetParent(form);
    stage->SetBounds(10, 10, 300, 200);
  }

  TLabel* AddLabel(const std::string& name, int left, int top, const std::string& caption = "C/NO.") {
    auto* label = New<TLabel>(form);
    label->SetName(name);
    label->SetParent(stage);
    label->SetBounds(left, top, 60, 20);
    label->SetCaption(caption);
    return label;
  }

  TDsnStage* stage = nullptr;
};

}  // namespace stage_test
