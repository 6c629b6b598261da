#include "design/select/DsnList.h"

#include <string>

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TReceiveTargets, TObject) {}
DEFINE_CLASS(TTargetList, TReceiveTargets) {}

// ---- TReceiveTargets ----

TReceiveTargets::TReceiveTargets() = default;

// An object deleted without Free still leaves no peer pointing at it.
TReceiveTargets::~TReceiveTargets() {
  EndLife();
  UnlinkAll();
}

void TReceiveTargets::Destroy() {
  EndLife();
  UnlinkAll();
  TObject::Destroy();
}

void TReceiveTargets::UnlinkAll() {
  // Each peer is taken off this side first, so its own Unlink finds nothing to call back for.
  while (receivers_ && receivers_->Count() > 0) {
    TReceiveTargets* peer = receivers_->Last();
    receivers_->Delete(receivers_->Count() - 1);
    peer->Unlink(this);
  }
  receivers_.reset();
}

void TReceiveTargets::Link(TReceiveTargets* receiver) {
  if (!receiver || receiver == this) return;
  if (!receivers_) receivers_ = std::make_unique<TList<TReceiveTargets*>>();
  if (receivers_->IndexOf(receiver) >= 0) return;
  receivers_->Add(receiver);
  receiver->Link(this);  // the back call finds this side listed and stops there
}

// Mutual like Link: a one-sided unlink would leave the peer holding this object after it is gone.
void TReceiveTargets::Unlink(TReceiveTargets* receiver) {
  if (!receiver || !receivers_ || receivers_->Remove(receiver) < 0) return;
  receiver->Unlink(this);
}

// ---- TTargetList ----

void TTargetList::Create() { list_ = std::make_unique<std::vector<Entry>>(); }

void TTargetList::Destroy() {
  list_.reset();
  TReceiveTargets::Destroy();
}

namespace {

// The index checked against the list, as the framework's lists check theirs.
size_t Checked(int index, int count) {
  if (index < 0 || index >= count)
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return static_cast<size_t>(index);
}

}  // namespace

void TTargetList::ForgetTarget(int index) {
  if (list_) (*list_)[Checked(index, Count())] = Entry{};
  Broadcast([index](TReceiveTargets* r) { r->ForgetTarget(index); });
}

void TTargetList::AddTarget(TComponent* target) {
  if (list_) list_->push_back(Entry{target, target});
  Broadcast([target](TReceiveTargets* r) { r->AddTarget(target); });
}

void TTargetList::ClearTargets() {
  if (list_) list_->clear();
  Broadcast([](TReceiveTargets* r) { r->ClearTargets(); });
}

void TTargetList::DeleteTarget(int index) {
  if (list_) list_->erase(list_->begin() + static_cast<std::ptrdiff_t>(Checked(index, Count())));
  Broadcast([index](TReceiveTargets* r) { r->DeleteTarget(index); });
}

void TTargetList::TargetsChanged() {
  Broadcast([](TReceiveTargets* r) { r->TargetsChanged(); });
}

// A receiver may run user code at any step and free this list: each step looks first.
void TTargetList::SetTargets(const std::vector<TWeak<TComponent>>& targets) {
  const TWeak<TTargetList> self(this);
  ClearTargets();
  for (const TWeak<TComponent>& target : targets) {
    if (!self) return;
    if (TComponent* component = target.get()) AddTarget(component);
  }
  if (self) TargetsChanged();
}

int TTargetList::Count() const { return list_ ? static_cast<int>(list_->size()) : -1; }

TComponent* TTargetList::Target(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return (*list_)[static_cast<size_t>(index)].target.get();
}

std::vector<TComponent*> TTargetList::Items() const {
  std::vector<TComponent*> items;
  if (!list_) return items;
  items.reserve(list_->size());
  for (const Entry& entry : *list_) items.push_back(entry.target.get());
  return items;
}

int TTargetList::IndexOf(const TComponent* component) const {
  if (!component || !list_) return -1;
  for (size_t i = 0; i < list_->size(); ++i)
    if ((*list_)[i].target.get() == component) return static_cast<int>(i);
  return -1;
}

int TTargetList::PlaceOf(const TComponent* component) const {
  if (!component || !list_) return -1;
  for (size_t i = 0; i < list_->size(); ++i)
    if ((*list_)[i].address == component) return static_cast<int>(i);
  return -1;
}
