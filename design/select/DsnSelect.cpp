#include "design/select/DsnSelect.h"

#include <memory>

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TSelectionManager, TReceiveTargets) {}

DEFINE_CLASS(TDsnSelect, TDsnPartner) {
  c.Prop("DsnRegister", &TDsnSelect::DsnRegister, &TDsnSelect::SetDsnRegister);
  c.Event("OnChangeSelected", &TDsnSelect::OnChangeSelected);
}

// ---- TSelectionManager ----

void TSelectionManager::ForgetTarget(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  items_[static_cast<size_t>(index)] = nullptr;
  Raise(soForget);
}

void TSelectionManager::AddTarget(TComponent* target) {
  items_.emplace_back(target);
  Raise(soAdd);
}

void TSelectionManager::ClearTargets() {
  items_.clear();
  Raise(soClear);
}

void TSelectionManager::DeleteTarget(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  items_.erase(items_.begin() + index);
  Raise(soDelete);
}

void TSelectionManager::Raise(TSelectOperation operation) {
  if (!select_ || !select_->OnChangeSelected) return;
  auto targets = std::unique_ptr<TSelectedComponents, void (*)(TSelectedComponents*)>(
      New<TSelectedComponents>(), [](TSelectedComponents* list) { list->Free(); });
  for (const TWeak<TComponent>& item : items_) targets->Add(item.get());
  select_->OnChangeSelected(select_, targets.get(), operation);
}

// ---- TDsnSelect ----

void TDsnSelect::SetDesigning(bool active) {
  TDsnPartner::SetDesigning(active);
  if (!active || !DsnRegister() || manager_) return;
  manager_ = New<TSelectionManager>();
  manager_->SetSelect(this);
  DsnRegister()->AddReceiver(manager_);
}

void TDsnSelect::SelectSingle(TComponent* component) {
  if (!Active() || !CanSelect(component)) return;
  TTargetList* list = TargetList();
  if (!list) return;
  list->ClearTargets();
  list->AddTarget(component);
  list->TargetsChanged();
}

void TDsnSelect::SelectList(const std::vector<TComponent*>& components) {
  if (!Active()) return;
  bool any = false;
  for (TComponent* component : components)
    if ((any = CanSelect(component))) break;
  if (!any) return;
  TTargetList* list = TargetList();
  if (!list) return;
  list->ClearTargets();
  for (TComponent* component : components)
    if (component) list->AddTarget(component);
  list->TargetsChanged();
}

void TDsnSelect::Destroy() {
  if (manager_) {
    if (TDsnRegister* reg = DsnRegister()) reg->RemoveReceiver(manager_);
    FreeAndNil(manager_);
  }
  TDsnPartner::Destroy();
}
