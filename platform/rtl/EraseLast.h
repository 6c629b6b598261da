#pragma once

#include <algorithm>
#include <iterator>
#include <vector>

// Takes the last occurrence of `item` out of `items`; false when there is none. The search starts
// at the end because children and owned components mostly leave last first, as their owner frees
// them: a search from the front would make tearing down a large design quadratic.
template <class T>
bool EraseLast(std::vector<T>& items, const T& item) {
  auto it = std::find(items.rbegin(), items.rend(), item);
  if (it == items.rend()) return false;
  items.erase(std::next(it).base());
  return true;
}
