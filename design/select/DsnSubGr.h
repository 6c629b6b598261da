#pragma once
// Registers that show a selection of several controls without handle windows: each selected
// control gets four small grey squares painted inside its corners after every repaint, while a
// single selection keeps real handles (four corners in TDsnGrRegister, eight in TDsnDpRegister,
// the register of the mark editor).

#include <functional>
#include <unordered_set>

#include "design/DsnCtrl.h"
#include "design/select/DsnHandle.h"
#include "design/select/DsnSubMl.h"

// The design agent of these registers: after its control painted itself, the register paints the
// selection's squares.
class TDsnGrCtrl : public TDsnCtrl {
  DECLARE_CLASS(TDsnGrCtrl)

 protected:
  void WMPaint(TMessage& message) override;
};

// The entry of one target of a multi-selection: no handle windows; its target repaints with the
// squares when the selection changes.
class THandlerGrRect : public THandlerRect {
  DECLARE_CLASS(THandlerGrRect)

 public:
  void CreateHandles() override {}
  void RefreshHandles() override;

 protected:
  void Destroy() override;
};

class TMultiGrHandler : public TMultiHandler {
  DECLARE_CLASS(TMultiGrHandler)

 public:
  void AddTarget(TComponent* target) override;

 private:
  THandlerGrRect* MarksFor(TControl* target);
};

class TMultiDpHandler : public TMultiGrHandler {
  DECLARE_CLASS(TMultiDpHandler)

 public:
  THandlerRect* CreateHandlerRect(TControl* target) override;
};

class TDsnGrRegister : public TDsnMlRegister {
  DECLARE_CLASS(TDsnGrRegister)

 public:
  using TPaintHook = std::function<void(TControl*)>;

  void SetDesigning(bool on) override;
  TMultiHandler* CreateHandler() override;
  TDsnCtrl* CreateAgent(TWinControl* control) override;
  void HandlesShown() override;

  // Called by the agents after each repaint of their control; set while two or more controls are
  // selected.
  const TPaintHook& PaintHook() const { return paintHook_; }
  // Paints the grey corner squares of `control` when it is selected, and of its selected window-less
  // children.
  void PaintMarks(TControl* control);

 private:
  void PaintMarks(TControl* control, const std::unordered_set<const TComponent*>& selected);

  TPaintHook paintHook_;
};

class TDsnDpRegister : public TDsnGrRegister {
  DECLARE_CLASS(TDsnDpRegister)

 public:
  TMultiHandler* CreateHandler() override;
};
