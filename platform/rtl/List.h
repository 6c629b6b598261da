#pragma once
// The framework's list of references, with the operations the system's code is written in.
// It owns nothing; indices are checked and raise EListError.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/rtl/Exception.h"

template <class T>
class TList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  T Items(int index) const { return items_[Check(index)]; }
  T operator[](int index) const { return Items(index); }
  void Put(int index, T item) { items_[Check(index)] = item; }

  int Add(T item) {
    items_.push_back(item);
    return Count() - 1;
  }
  void Insert(int index, T item) {
    if (index != Count()) Check(index);
    items_.insert(items_.begin() + index, item);
  }
  void Delete(int index) { items_.erase(items_.begin() + Check(index)); }
  // Removes the first occurrence; returns its former index or -1.
  int Remove(T item) {
    int index = IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
  }
  int IndexOf(T item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
  }
  void Move(int from, int to) {
    T item = Items(from);
    Delete(from);
    Insert(to, item);
  }
  void Exchange(int a, int b) { std::swap(items_[Check(a)], items_[Check(b)]); }
  void Clear() { items_.clear(); }
  T First() const { return Items(0); }
  T Last() const { return Items(Count() - 1); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  size_t Check(int index) const {
    if (index < 0 || index >= Count())
      throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return static_cast<size_t>(index);
  }
  std::vector<T> items_;
};
