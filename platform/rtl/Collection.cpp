#include "platform/rtl/Collection.h"

#include <algorithm>

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TCollectionItem, TPersistent) {}
DEFINE_CLASS(TCollection, TPersistent) {}
DEFINE_CLASS(TOwnedCollection, TCollection) {}

// ---- TCollectionItem ----

void TCollectionItem::Create(TCollection* collection) { SetCollection(collection); }

void TCollectionItem::Destroy() {
  SetCollection(nullptr);
  TPersistent::Destroy();
}

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection_ == collection) return;
  if (collection_) collection_->RemoveItem(this);
  if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  auto& items = collection_->items_;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
  int current = Index();
  if (current < 0 || index == current) return;
  auto& items = collection_->items_;
  index = std::clamp(index, 0, static_cast<int>(items.size()) - 1);
  items.erase(items.begin() + current);
  items.insert(items.begin() + index, this);
  Changed(true);
}

std::string TCollectionItem::GetDisplayName() { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() { return collection_; }

std::string TCollectionItem::GetNamePath() {
  if (!collection_) return ClassName();
  return collection_->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_ && collection_->UpdateCount() == 0) collection_->Update(allItems ? nullptr : this);
}

// ---- TCollection ----

void TCollection::Create(const TClassInfo& itemClass) { itemClass_ = &itemClass; }

void TCollection::Destroy() {
  updateCount_ = 1;  // no updates while tearing down
  Clear();
  TPersistent::Destroy();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() {
  TObject* made = itemClass_->NewInstance();
  auto* item = dynamic_cast<TCollectionItem*>(made);
  if (!item) {
    delete made;  // only its C++ constructors ran
    throw EConvertError("Cannot create an item of class " + itemClass_->Name());
  }
  try {
    item->Create(this);
  } catch (...) {
    item->Free();
    throw;
  }
  item->AfterConstruction();
  return item;
}

TCollectionItem* TCollection::Insert(int index) {
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(int index) { Items(index)->Free(); }

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) items_.back()->Free();
  EndUpdate();
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  item->id_ = nextId_++;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->collection_ = nullptr;
  Changed();
}

void TCollection::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* item : other->items_) Add()->Assign(item);
  } catch (...) {
    EndUpdate();  // a failed copy must not stop the updates for good
    throw;
  }
  EndUpdate();
}

std::string TCollection::GetNamePath() {
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  std::string ownerPath = owner->GetNamePath();
  if (ownerPath.empty()) return ClassName();
  // The property that holds this collection names it within its owner.
  for (const TPropInfo* p : owner->ClassType().Props())
    if (p->Kind() == tkClass && p->GetObj && p->GetObj(owner) == this) return ownerPath + "." + p->Name;
  return ownerPath + "." + ClassName();
}

void TOwnedCollection::Create(TPersistent* owner, const TClassInfo& itemClass) {
  owner_ = owner;
  TCollection::Create(itemClass);
}
