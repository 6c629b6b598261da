#include "platform/rtl/PostedRefs.h"

#include <algorithm>
#include <unordered_map>

namespace {

struct Table {
  std::unordered_map<uintptr_t, TWeak<TObject>> entries;
  uintptr_t next = 1;
  size_t pruneAt = 64;
};

Table& table() {
  static Table t;
  return t;
}

// A message for a destroyed window is dropped with its id; such entries are dropped here once the
// object is gone, and the threshold doubles so that pruning stays linear overall.
void Prune(Table& t) {
  for (auto it = t.entries.begin(); it != t.entries.end();) {
    if (!it->second) it = t.entries.erase(it);
    else ++it;
  }
  t.pruneAt = std::max<size_t>(64, t.entries.size() * 2);
}

}  // namespace

uintptr_t PostableRef(TObject* object) {
  if (!object) return 0;
  Table& t = table();
  if (t.entries.size() >= t.pruneAt) Prune(t);
  uintptr_t id = t.next++;
  if (t.next == 0) t.next = 1;
  t.entries.emplace(id, TWeak<TObject>(object));
  return id;
}

TObject* TakePostedRef(uintptr_t id) {
  Table& t = table();
  auto it = t.entries.find(id);
  if (it == t.entries.end()) return nullptr;
  TObject* object = it->second.get();
  t.entries.erase(it);
  return object;
}

int PostedRefCount() { return static_cast<int>(table().entries.size()); }
