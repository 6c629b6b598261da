#pragma once
// What the agent tests share: a register stand-in that records the design agents' reports with
// their arguments and drops the agent of a destroyed control as the real register does, and a
// shown form with a stage linked to it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "design/DsnCtrl.h"
#include "design/DsnUnit.h"
#include "platform/controls/Label.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace agent_test {

// One report of an agent: the operation, the control whose window got the input, the target, and
// the point (for RightMouseDown: x and y as the agent passed them, so a swap shows).
struct Call {
  std::string op;
  TControl* control = nullptr;
  TComponent* target = nullptr;
  TPoint point{-1, -1};
  TShiftState shift{};
};

class TAgentRegister : public TCustomDsnRegister {
  DECLARE_CLASS(TAgentRegister)

 public:
  TDsnStage* Stage() const override { return stage; }
  bool DesignActive() const override { return false; }
  void SetDesigning(bool) override {}
  int SelectedCount() const override { return -1; }
  TControl* SelectedItem(int) const override { return nullptr; }
  void ClearSelection() override {}
  void SelectComponent(TComponent* component) override { Record({"SelectComponent", nullptr, component}); }
  void RefreshTargets() override {}
  void DeleteSelection() override {}
  void CutSelection() override {}
  void CopySelection() override {}
  void PasteSelection() override {}
  void MouseDown(TWinControl* control, TControl* target, TShiftState shift, TPoint point) override {
    Record({"MouseDown", control, target, point, shift});
  }
  void MouseMove(TWinControl* control, TPoint point, TShiftState shift) override {
    Record({"MouseMove", control, nullptr, point, shift});
  }
  void MouseUp(TWinControl* control, TPoint point, TShiftState shift) override {
    Record({"MouseUp", control, nullptr, point, shift});
  }
  void RightMouseDown(TWinControl* control, TControl* target, int y, int x) override {
    Record({"RightMouseDown", control, target, {x, y}});
  }
  void CoverDblClick(TControl* target) override { Record({"CoverDblClick", nullptr, target}); }
  void PropsRefresh() override { Record({"PropsRefresh"}); }
  void HandlesShown() override { Record({"HandlesShown"}); }
  void SelectAll() override { Record({"SelectAll"}); }
  void NudgeSelection(int, int, bool, bool, bool) override { Record({"NudgeSelection"}); }

  // Covers a control as the register does: an agent linked to this register, with child agents
  // for the inner windows that are no design targets.
  TDsnCtrl* Cover(TWinControl* control) {
    auto* agent = New<TDsnCtrl>(control);
    agent->SetDsnRegister(this);
    agent->Children()->Build(control, control->Handle());
    agents.push_back(agent);
    if (control) control->FreeNotification(this);
    return agent;
  }

  // A covered control being destroyed: its agent is marked released and dropped, not freed.
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove) {
      if (component == stage) stage = nullptr;
      for (size_t i = agents.size(); i > 0; --i) {
        TDsnCtrl* agent = agents[i - 1];
        if (agent->Covers(component)) {
          agent->SetReleased(true);
          agents.erase(agents.begin() + static_cast<long>(i - 1));
        }
      }
    }
    TCustomDsnRegister::Notification(component, operation);
  }

  // Frees the agents still held, as stopping design mode does.
  void Uncover() {
    while (!agents.empty()) {
      TDsnCtrl* agent = agents.back();
      agents.pop_back();
      agent->Free();
    }
  }

  // Runs in the middle of the next report, after it is recorded (user code of the register).
  std::function<void()> during;

  TDsnStage* stage = nullptr;
  std::vector<TDsnCtrl*> agents;
  std::vector<Call> calls;

 private:
  void Record(Call call) {
    calls.push_back(call);
    if (during) {
      auto run = std::move(during);
      during = nullptr;
      run();
    }
  }
};

}  // namespace agent_test
