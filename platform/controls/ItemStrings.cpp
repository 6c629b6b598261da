#include "platform/controls/ItemStrings.h"

#include <algorithm>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Texts.h"

DEFINE_CLASS(TItemStrings, TStrings) {}

int FollowItem(int chosen, TItemsChange change, int index) {
  switch (change) {
    case TItemsChange::Inserted: return index <= chosen ? chosen + 1 : chosen;
    case TItemsChange::Deleted: return index == chosen ? -1 : index < chosen ? chosen - 1 : chosen;
    case TItemsChange::Changed: return chosen;
    case TItemsChange::Reset: return -1;
  }
  return chosen;
}

size_t TItemStrings::Check(int index, int limit) const {
  if (index < 0 || index > limit) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return static_cast<size_t>(index);
}

std::string TItemStrings::Get(int index) const { return items_[Check(index, Count() - 1)].text; }

TObject* TItemStrings::GetObject(int index) const { return items_[Check(index, Count() - 1)].object; }

void TItemStrings::Put(int index, const std::string& s) {
  Item& item = items_[Check(index, Count() - 1)];
  if (item.text == s) return;
  item.text = s;
  if (host_) host_->ItemsChanged(TItemsChange::Changed, index);
}

void TItemStrings::PutObject(int index, TObject* object) { items_[Check(index, Count() - 1)].object = object; }

void TItemStrings::Insert(int index, const std::string& s) {
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(Check(index, Count())), Item{s, nullptr});
  if (host_) host_->ItemsChanged(TItemsChange::Inserted, index);
}

int TItemStrings::Add(const std::string& s) {
  int index = Count();
  if (sorted_) {
    auto at = std::upper_bound(items_.begin(), items_.end(), s,
                               [](const std::string& a, const Item& b) { return CompareText(a, b.text) < 0; });
    index = static_cast<int>(at - items_.begin());
  }
  Insert(index, s);
  return index;
}

void TItemStrings::Delete(int index) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(Check(index, Count() - 1)));
  if (host_) host_->ItemsChanged(TItemsChange::Deleted, index);
}

void TItemStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  if (host_) host_->ItemsChanged(TItemsChange::Reset, -1);
}

void TItemStrings::SetSorted(bool sorted) {
  if (sorted_ == sorted) return;
  sorted_ = sorted;
  if (!sorted) return;
  std::stable_sort(items_.begin(), items_.end(),
                   [](const Item& a, const Item& b) { return CompareText(a.text, b.text) < 0; });
  if (host_) host_->ItemsChanged(TItemsChange::Reset, -1);
}

void TItemStrings::SetUpdateState(bool updating) {
  if (host_) host_->ItemsUpdating(updating);
}
