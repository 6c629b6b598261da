#pragma once
// TItemStrings: the items of a list control (combo box, list box, radio group). The control keeps
// them, so that they exist before its window and survive a re-created one, and mirrors every
// change into its widget: the strings tell their host what changed.

#include <string>
#include <vector>

#include "platform/rtl/StringList.h"

enum class TItemsChange { Inserted, Deleted, Changed, Reset };

class TItemsHost {
 public:
  // `index` is the item inserted, deleted or changed; Reset means the whole list (cleared or
  // sorted) and carries no index.
  virtual void ItemsChanged(TItemsChange change, int index) = 0;
  // Between BeginUpdate and the matching EndUpdate the widget need not repaint.
  virtual void ItemsUpdating(bool updating) = 0;

 protected:
  ~TItemsHost() = default;
};

// Where the chosen item (-1: none) is after a change of the items: it stays on its item while
// others come and go; when its item goes, or the whole list changes, nothing is chosen.
int FollowItem(int chosen, TItemsChange change, int index);

class TItemStrings : public TStrings {
  DECLARE_CLASS(TItemStrings)

 public:
  void Create(TItemsHost* host) { host_ = host; }

  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  // A sorted list adds in order (letter case ignored); Insert still puts a string where it is told.
  int Add(const std::string& s) override;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);

 protected:
  void SetUpdateState(bool updating) override;

 private:
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };
  size_t Check(int index, int limit) const;

  TItemsHost* host_ = nullptr;
  std::vector<Item> items_;
  bool sorted_ = false;
};
