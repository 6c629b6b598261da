#pragma once
// Collections: owned lists of items of one class, streamed as a collection value (a status bar's
// panels, for instance).

#include <string>
#include <vector>

#include "platform/rtl/Component.h"

class TCollection;

class TCollectionItem : public TPersistent {
  DECLARE_CLASS(TCollectionItem)

 public:
  virtual void Create(TCollection* collection);
  TCollection* Collection() const { return collection_; }
  void SetCollection(TCollection* collection);
  int Index() const;
  void SetIndex(int index);
  int ID() const { return id_; }
  virtual std::string GetDisplayName();
  TPersistent* GetOwner() override;
  std::string GetNamePath() override;

 protected:
  void Destroy() override;
  // Tells the collection that this item changed (all items when `allItems`).
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
  DECLARE_CLASS(TCollection)

 public:
  void Create(const TClassInfo& itemClass);
  const TClassInfo& ItemClass() const { return *itemClass_; }

  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int index) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  void BeginUpdate();
  void EndUpdate();

  void Assign(TPersistent* source) override;
  TPersistent* GetOwner() override { return nullptr; }
  std::string GetNamePath() override;

 protected:
  void Destroy() override;
  // Called after a change of `item`, or of the whole collection when it is null.
  virtual void Update(TCollectionItem* item);
  int UpdateCount() const { return updateCount_; }

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void Changed();

  const TClassInfo* itemClass_ = &TCollectionItem::StaticClass();
  std::vector<TCollectionItem*> items_;
  int nextId_ = 0;
  int updateCount_ = 0;
};

// A collection that belongs to a persistent object (its GetOwner), so its path reads
// "Owner.Property".
class TOwnedCollection : public TCollection {
  DECLARE_CLASS(TOwnedCollection)

 public:
  using TCollection::Create;
  void Create(TPersistent* owner, const TClassInfo& itemClass);
  TPersistent* GetOwner() override { return owner_; }

 private:
  TPersistent* owner_ = nullptr;
};
