#pragma once
// The register through which the user selects several controls with the mouse: Shift+click adds or
// removes one control, and a rubber band drawn on the empty stage (or with Ctrl held, starting
// anywhere) selects every control it touches. A press on a selected control drags the whole
// selection. The gestures are the base register's; this variant only allows them.

#include "design/select/DsnRegister.h"

class TDsnMlRegister : public TDsnRegister {
  DECLARE_CLASS(TDsnMlRegister)

 public:
  TSelectRules SelectRules() const override {
    TSelectRules rules;
    rules.ShiftToggles = true;
    rules.BandOnStage = true;
    rules.BandWithCtrl = true;
    return rules;
  }
};
