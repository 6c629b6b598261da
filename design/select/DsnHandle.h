#pragma once
// The grab handles of the selection: a receiver of the register's target list that keeps one handle
// set per selected control. The register makes it through its factory CreateHandler and hands it the
// stage's outline colour, pen width and grid steps.
//
// This handler keeps the list of the controls it surrounds, in target order, and the settings the
// handle sets take; it places no handle windows yet.

#include <vector>

#include "design/select/DsnList.h"
#include "platform/rtl/IntegerConsts.h"

class TMultiHandler : public TReceiveTargets {
  DECLARE_CLASS(TMultiHandler)

 public:
  void ForgetTarget(int index) override;
  void AddTarget(TComponent* target) override;
  void ClearTargets() override;
  void DeleteTarget(int index) override;
  void TargetsChanged() override;

  // The surrounded controls, in target order; a forgotten place reads null.
  const std::vector<TWeak<TComponent>>& Targets() const { return targets_; }

  int HandleSize() const { return handleSize_; }
  int StepX() const { return stepX_; }
  void SetStepX(int value) { stepX_ = value; }
  int StepY() const { return stepY_; }
  void SetStepY(int value) { stepY_ = value; }
  TColor ActiveColor() const { return activeColor_; }
  TColor InactiveColor() const { return inactiveColor_; }
  TColor OutlineColor() const { return outlineColor_; }
  void SetOutlineColor(TColor value) { outlineColor_ = value; }
  int OutlineWidth() const { return outlineWidth_; }
  void SetOutlineWidth(int value) { outlineWidth_ = value; }

 private:
  std::vector<TWeak<TComponent>> targets_;
  int handleSize_ = 6;
  int stepX_ = 6;
  int stepY_ = 6;
  TColor activeColor_ = clBlack;
  TColor inactiveColor_ = clGray;
  TColor outlineColor_ = clGray;
  int outlineWidth_ = 2;
};
