#include "design/select/DsnSelect.h"

#include <memory>
#include <unordered_set>

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

void TSelectionManager::Unlink(TReceiveTargets* receiver) {
  const bool linked = receiver && Receivers() && Receivers()->IndexOf(receiver) >= 0;
  TReceiveTargets::Unlink(receiver);
  if (!linked || !ClassCast<TTargetList>(receiver) || items_.empty()) return;
  items_.clear();
  Raise(soClear);
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
  if (TDsnRegister* reg = DsnRegister()) reg->Select({component});
}

// Every receiver of the target list mirrors its places, and some refuse a component twice or one
// off the stage: so the list gets each selectable entry once, in the order given, and nothing else.
void TDsnSelect::SelectList(const std::vector<TComponent*>& components) {
  if (!Active()) return;
  const TWeak<TDsnSelect> alive(this);
  std::unordered_set<const TComponent*> seen;
  std::vector<TWeak<TComponent>> chosen;
  for (TComponent* component : components) {
    if (!component || !seen.insert(component).second) continue;
    const TWeak<TComponent> entry(component);
    // The stage's queries are the window's handlers and may free components, this one included.
    const bool selectable = CanSelect(component);
    if (!alive) return;
    if (selectable && entry) chosen.push_back(entry);
  }
  if (chosen.empty()) return;
  if (TDsnRegister* reg = DsnRegister()) reg->SelectDistinct(chosen);
}

void TDsnSelect::Destroy() {
  if (manager_) {
    if (TDsnRegister* reg = DsnRegister()) reg->RemoveReceiver(manager_);
    FreeAndNil(manager_);
  }
  TDsnPartner::Destroy();
}
