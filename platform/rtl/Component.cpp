#include "platform/rtl/Component.h"

#include <algorithm>
#include <limits>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/EraseLast.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Texts.h"

// ---- TPersistent ----

DEFINE_CLASS(TPersistent, TObject) {}

void TPersistent::Assign(TPersistent* source) {
  if (source) {
    source->AssignTo(this);
    return;
  }
  AssignTo(this);  // raises the error for a missing source
}

void TPersistent::AssignTo(TPersistent* dest) {
  std::string sourceName = dest == this ? "nil" : ClassName();
  throw EConvertError("Cannot assign a " + sourceName + " to a " + dest->ClassName());
}

std::string TPersistent::GetNamePath() {
  std::string result = ClassName();
  if (TPersistent* owner = GetOwner()) {
    std::string ownerPath = owner->GetNamePath();
    if (!ownerPath.empty()) result = ownerPath + "." + result;
  }
  return result;
}

void TPersistent::DefineProperties(TFiler*) {}

TPersistent* TPersistent::GetOwner() { return nullptr; }

// ---- TComponent ----

DEFINE_CLASS(TComponent, TPersistent) {
  // The name is the record's header in a stream, so it is not stored as a property.
  c.Prop("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
  c.Prop("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
  // The inherited Notification only drops the link to a component that goes and passes the
  // notice on; the notice routing below does both for the components that need it.
  c.Hears();
}

namespace {
constexpr uint8_t NoticeBit(TOperation operation) { return static_cast<uint8_t>(1u << operation); }
constexpr TOperation kOperations[] = {opInsert, opRemove};
}  // namespace

bool IsValidIdent(std::string_view ident) {
  if (ident.empty()) return false;
  auto alpha = [](char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_'; };
  if (!alpha(ident[0])) return false;
  return std::all_of(ident.begin() + 1, ident.end(),
                     [&](char ch) { return alpha(ch) || (ch >= '0' && ch <= '9'); });
}

TComponent::~TComponent() {
  // A component deleted without Free still leaves its owner and tells its peers.
  if (!destroyed_) TComponent::Destroy();
}

void TComponent::Create(TComponent* owner) {
  style_ = {csInheritable};
  if (owner) owner->InsertComponent(this);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetName(const std::string& newName) {
  if (name_ == newName) return;
  if (!newName.empty() && !IsValidIdent(newName))
    throw EComponentError("'" + newName + "' is not a valid component name");
  if (owner_) owner_->ValidateRename(this, name_, newName);
  else ValidateRename(nullptr, name_, newName);
  SetReference(false);
  ChangeName(newName);
  SetReference(true);
}

void TComponent::ChangeName(const std::string& newName) {
  if (owner_) owner_->UnindexName(this);
  name_ = newName;
  if (owner_) owner_->IndexName(this);
}

void TComponent::IndexName(TComponent* component) {
  if (!component->name_.empty()) nameIndex_.Add(component);
}

void TComponent::UnindexName(TComponent* component) {
  if (!component->name_.empty()) nameIndex_.Remove(component);
}

// ---- name index ----

size_t TComponent::TNameIndex::SlotOf(std::string_view name, uint64_t hash) const {
  const size_t mask = slots_.size() - 1;
  size_t i = static_cast<size_t>(hash) & mask;
  // Comparing the stored hashes first keeps the components' memory out of all but the match.
  while (slots_[i].component &&
         !(slots_[i].hash == hash && SameText(slots_[i].component->name_, name)))
    i = (i + 1) & mask;
  return i;
}

TComponent* TComponent::TNameIndex::Find(std::string_view name) const {
  if (count_ == 0) return nullptr;
  return slots_[SlotOf(name, HashText(name))].component;
}

void TComponent::TNameIndex::Add(TComponent* component) {
  if ((count_ + 1) * 2 > slots_.size()) Grow();
  const uint64_t hash = HashText(component->name_);
  Slot& slot = slots_[SlotOf(component->name_, hash)];
  if (!slot.component) ++count_;
  slot = Slot{hash, component};
}

void TComponent::TNameIndex::Remove(TComponent* component) {
  if (count_ == 0) return;
  const size_t mask = slots_.size() - 1;
  size_t hole = SlotOf(component->name_, HashText(component->name_));
  if (slots_[hole].component != component) return;
  --count_;
  // Linear probing without tombstones: later entries of the run move back into the hole when
  // their home slot lies at or before it, so that every entry stays reachable from its home.
  for (size_t j = (hole + 1) & mask; slots_[j].component; j = (j + 1) & mask) {
    const size_t home = static_cast<size_t>(slots_[j].hash) & mask;
    if (((j - home) & mask) >= ((j - hole) & mask)) {
      slots_[hole] = slots_[j];
      hole = j;
    }
  }
  slots_[hole] = Slot{};
}

void TComponent::TNameIndex::Grow() {
  std::vector<Slot> old(std::max<size_t>(16, slots_.size() * 2));
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (const Slot& s : old) {
    if (!s.component) continue;
    size_t i = static_cast<size_t>(s.hash) & mask;
    while (slots_[i].component) i = (i + 1) & mask;
    slots_[i] = s;
  }
}

void TComponent::ValidateRename(TComponent* component, const std::string& curName,
                                const std::string& newName) {
  // `component` is one of this component's own or one about to be inserted; a name that only
  // the component itself has is no clash.
  if (!component || SameText(curName, newName)) return;
  TComponent* holder = FindComponent(newName);
  if (holder && holder != component)
    throw EComponentError("A component named " + newName + " already exists");
}

void TComponent::SetReference(bool enable) {
  if (!owner_) return;
  if (const TFieldEntry* field = owner_->ClassType().FindField(name_))
    field->Set(owner_, enable ? this : nullptr);
}

void TComponent::SetSubComponent(bool value) {
  if (value) style_.Include(csSubComponent);
  else style_.Exclude(csSubComponent);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  return nameIndex_.Find(name);
}

void TComponent::InsertComponent(TComponent* component) {
  // Checked before the component leaves its old owner, so that a refused one stays where it was.
  ValidateRename(component, "", component->name_);
  if (component->owner_) component->owner_->RemoveComponent(component);
  Insert(component);
  component->SetReference(true);
  if (state_.Contains(csDesigning)) component->SetDesigning(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  Notification(component, opRemove);
  TellWatchersBelow(component);
  component->SetReference(false);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
  component->ownerSeq_ = nextSeq_++;
  IndexName(component);
  for (TOperation operation : kOperations) component->UpdateNoticeRoute(operation);
}

void TComponent::Remove(TComponent* component) {
  EraseLast(components_, component);
  UnindexName(component);
  for (TOperation operation : kOperations) {
    if (!component->listening_[operation]) continue;
    DropListener(operation, component);
    UpdateNoticeRoute(operation);
  }
  component->owner_ = nullptr;
}

// ---- notice routing ----

// A removal notice tells the components of the owner tree that asked about the removed component
// to drop their link (the inherited Notification does). Those whose class hears no removals took no
// part in the walk: they are told here, directly, so that watching a component never makes a
// component hear the removal of every sibling. A component being destroyed has told its watchers
// already and has none left.
void TComponent::TellWatchersBelow(TComponent* component) {
  if (component->freeNotifies_.empty()) return;
  std::vector<TWeak<TComponent>> watchers(component->freeNotifies_.begin(), component->freeNotifies_.end());
  for (const TWeak<TComponent>& weak : watchers) {
    TComponent* watcher = weak.get();
    if (!watcher || watcher->listening_[opRemove]) continue;
    const auto& links = component->freeNotifies_;
    if (std::find(links.begin(), links.end(), watcher) == links.end()) continue;
    bool below = false;
    for (TComponent* c = watcher->owner_; c && !below; c = c->owner_) below = c == this;
    if (below) watcher->Notification(component, opRemove);
  }
}

bool TComponent::TakesNotice(TOperation operation) const {
  const TClassInfo& cls = ClassType();
  // A class without class information of its own (no DECLARE_CLASS) may override Notification
  // unseen: its components hear every notice.
  if ((cls.Notices() & NoticeBit(operation)) || typeid(*this) != cls.CppType()) return true;
  return !listeners_[operation].empty();
}

void TComponent::UpdateNoticeRoute(TOperation operation) {
  for (TComponent* c = this; c->owner_; c = c->owner_) {
    bool takes = c->TakesNotice(operation);
    if (takes == c->listening_[operation]) return;
    if (takes) c->owner_->AddListener(operation, c);
    else c->owner_->DropListener(operation, c);
  }
}

size_t TComponent::ListenersFrom(const std::vector<TComponent*>& list, uint64_t seq) {
  auto it = std::lower_bound(list.begin(), list.end(), seq,
                             [](TComponent* c, uint64_t s) { return c->ownerSeq_ < s; });
  return static_cast<size_t>(it - list.begin());
}

void TComponent::AddListener(TOperation operation, TComponent* component) {
  auto& list = listeners_[operation];
  component->listening_[operation] = true;
  // Components mostly start listening as they are inserted, that is at the end.
  if (list.empty() || list.back()->ownerSeq_ < component->ownerSeq_) list.push_back(component);
  else list.insert(list.begin() + static_cast<ptrdiff_t>(ListenersFrom(list, component->ownerSeq_)), component);
}

void TComponent::DropListener(TOperation operation, TComponent* component) {
  auto& list = listeners_[operation];
  component->listening_[operation] = false;
  size_t at = ListenersFrom(list, component->ownerSeq_);
  if (at < list.size() && list[at] == component) list.erase(list.begin() + static_cast<ptrdiff_t>(at));
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* doomed = components_.back();
    // The whole owner tree is going, so only a component that others asked about is announced to
    // it; the others leave quietly, which keeps tearing down a large window linear.
    if (doomed->state_.Contains(csFreeNotification)) RemoveComponent(doomed);
    else Remove(doomed);
    doomed->Free();
  }
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
    freeNotifies_.push_back(component);
    component->FreeNotification(this);
  }
  state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  auto drop = [](std::vector<TComponent*>& list, TComponent* c) {
    list.erase(std::remove(list.begin(), list.end(), c), list.end());
  };
  if (!component) return;
  drop(freeNotifies_, component);
  drop(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  NotifyListeners(component, operation);
}

void TComponent::NotifyListeners(TComponent* component, TOperation operation) {
  // From the last to the first by place among the owned components, not by index: a notified
  // component may free others, or start or stop listening, and so shift the list under the walk.
  // Each step goes to the last listener placed before the one just notified.
  const auto& list = listeners_[operation];
  uint64_t before = std::numeric_limits<uint64_t>::max();
  size_t at = list.size();  // where the listeners placed at or after `before` begin, unless shifted
  for (;;) {
    bool shifted = at > list.size() || (at > 0 && list[at - 1]->ownerSeq_ >= before) ||
                   (at < list.size() && list[at]->ownerSeq_ < before);
    if (shifted) at = ListenersFrom(list, before);
    if (at == 0) return;
    TComponent* next = list[--at];
    before = next->ownerSeq_;
    next->Notification(component, operation);
  }
}

void TComponent::SetDesigning(bool value, bool setChildren) {
  if (value) state_.Include(csDesigning);
  else state_.Exclude(csDesigning);
  if (setChildren)
    for (TComponent* c : components_) c->SetDesigning(value, true);
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}
TComponent* TComponent::GetChildOwner() { return nullptr; }
TComponent* TComponent::GetChildParent() { return this; }
bool TComponent::HasParent() const { return false; }
TComponent* TComponent::GetParentComponent() const { return nullptr; }
void TComponent::SetParentComponent(TComponent*) {}
void TComponent::SetChildOrder(TComponent*, int) {}

std::string TComponent::GetNamePath() { return name_; }

TPersistent* TComponent::GetOwner() { return owner_; }

void TComponent::BeforeDestruction() {
  EndLife();
  Destroying();
}

namespace {
TComponentGone& ComponentGone() {
  static TComponentGone hook = nullptr;
  return hook;
}
}  // namespace

void SetComponentGoneHook(TComponentGone hook) { ComponentGone() = hook; }

void TComponent::Destroy() {
  if (destroyed_) return;
  EndLife();
  Destroying();
  while (!freeNotifies_.empty()) {
    TComponent* peer = freeNotifies_.back();
    RemoveFreeNotification(peer);
    peer->Notification(this, opRemove);
  }
  state_.Exclude(csFreeNotification);
  if (ComponentGone()) ComponentGone()(this);
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
  destroyed_ = true;
  TPersistent::Destroy();
}
