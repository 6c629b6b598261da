#include "design/select/DsnCustomInspector.h"

#include "platform/controls/WinControl.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/StringList.h"
#include "platform/win/Windows.h"

DEFINE_CLASS(TCustomInspector, TComponent) {}

void TCustomInspector::Create(TComponent* owner) {
  TComponent::Create(owner);
  selfProps_ = New<TStringList>();
  btnProps_ = New<TStringList>();
  outProps_ = New<TStringList>();
}

void TCustomInspector::Destroy() {
  FreeAndNil(selfProps_);
  FreeAndNil(btnProps_);
  FreeAndNil(outProps_);
  TComponent::Destroy();
}

void TCustomInspector::SetSelfProps(TStrings* value) { selfProps_->Assign(value); }
void TCustomInspector::SetBtnProps(TStrings* value) { btnProps_->Assign(value); }
void TCustomInspector::SetOutProps(TStrings* value) { outProps_->Assign(value); }

void TCustomInspector::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (value) OpenWindow();
  else CloseWindow();
}

void TCustomInspector::SelectComponent(TComponent* component) {
  TWinControl* window = ClassCast<TWinControl>(component);
  if (!window)
    if (auto* control = ClassCast<TControl>(component)) window = control->Parent();
  if (window) SendMessage(window->Handle(), DM_SELECTCOMPONENT, reinterpret_cast<WPARAM>(component), 0);
}

void TCustomInspector::PostRefreshToStage() const {
  TDsnStage* stage = Stage();
  if (stage && stage->HandleAllocated()) PostMessage(stage->Handle(), DM_REFRESHTARGETS, 0, 0);
}
