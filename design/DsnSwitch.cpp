#include "design/DsnUnit.h"

#include "platform/controls/Application.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/win/MessageBox.h"

DEFINE_CLASS(TDsnSwitch, TSpeedButton) {
  c.Prop("DsnRegister", &TDsnSwitch::DsnRegister, &TDsnSwitch::SetDsnRegister);
  c.Prop("DsnMessageFlg", &TDsnSwitch::DsnMessageFlg, &TDsnSwitch::SetDsnMessageFlg).Default(false);
  c.Prop("DsnMessage", &TDsnSwitch::DsnMessage, &TDsnSwitch::SetDsnMessage);
  c.Hears();  // forgets only the register, which it asked about
}

void TDsnSwitch::Create(TComponent* owner) {
  TSpeedButton::Create(owner);
  SetGroupIndex(kGroupIndex);
  SetAllowAllUp(true);
}

// The switch asks to be told when its register goes, whichever window owns it: a register of
// another window would otherwise leave the switch holding a dangling reference.
void TDsnSwitch::SetDsnRegister(TCustomDsnRegister* value) {
  if (value == register_) return;
  if (register_) register_->RemoveFreeNotification(this);
  register_ = value;
  if (register_) register_->FreeNotification(this);
}

void TDsnSwitch::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component && component == register_) register_ = nullptr;
  TSpeedButton::Notification(component, operation);
}

void TDsnSwitch::Loaded() {
  TSpeedButton::Loaded();
  SetGroupIndex(kGroupIndex);
  SetAllowAllUp(true);
}

void TDsnSwitch::Click() {
  const TWeak<TDsnSwitch> alive(this);
  if (Down() && messageFlg_) {
    MessageBox(0, message_, Application ? Application->Title() : std::string(), MB_OK);
    if (!alive) return;
  }
  if (register_) register_->SetDesigning(Down());
  if (!alive) return;
  TSpeedButton::Click();
}

void TDsnSwitch::StartDesign() {
  if (Down()) return;
  SetDown(true);
  Click();
}

void TDsnSwitch::StopDesign() {
  if (!Down()) return;
  SetDown(false);
  Click();
}
