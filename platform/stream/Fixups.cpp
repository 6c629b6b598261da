#include "platform/stream/Fixups.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <vector>

#include "platform/rtl/Texts.h"
#include "platform/stream/Reader.h"

namespace {

struct PropFixup {
  TReader* reader;  // null once the reader is done and the reference waits for another root
  TPersistent* instance;
  const TPropInfo* prop;
  TComponent* component;
  TComponent* root;
  std::string name;
};

std::vector<PropFixup>& Fixups() {
  static std::vector<PropFixup> fixups;
  return fixups;
}

TFindGlobalComponent& GlobalFinder() {
  static TFindGlobalComponent finder;
  return finder;
}

// Tries the fixups selected by `pick`; resolved ones are removed, the others stay waiting.
template <class Pick, class Find>
void Resolve(Pick pick, Find find) {
  auto& fixups = Fixups();
  std::exception_ptr firstError;
  // Setting a property may run code that reads other components; take the entries out first, in
  // one pass (erasing them one by one made a read with many references quadratic).
  auto picked = std::stable_partition(fixups.begin(), fixups.end(),
                                      [&pick](const PropFixup& f) { return !pick(f); });
  std::vector<PropFixup> work(std::make_move_iterator(picked), std::make_move_iterator(fixups.end()));
  fixups.erase(picked, fixups.end());
  for (PropFixup& f : work) {
    TComponent* target = find(f);
    if (!target) {
      f.reader = nullptr;
      fixups.push_back(f);
      continue;
    }
    try {
      SetObjectProp(f.instance, *f.prop, target);
    } catch (...) {
      if (!firstError) firstError = std::current_exception();
    }
  }
  if (firstError) std::rethrow_exception(firstError);
}

}  // namespace

void AddFixup(TReader* reader, TPersistent* instance, const TPropInfo& prop, TComponent* component,
              TComponent* root, std::string name) {
  SetComponentGoneHook(&RemoveFixupReferences);  // a component that goes takes its waiting references along
  Fixups().push_back(PropFixup{reader, instance, &prop, component, root, std::move(name)});
}

namespace {
TComponent* FindByPath(const PropFixup& f) { return FindNestedComponent(f.root, f.name); }
}  // namespace

void ResolveFixups(TReader* reader) {
  Resolve([reader](const PropFixup& f) { return f.reader == reader; }, FindByPath);
}

void ResolveFixups(TReader* reader, const std::function<TComponent*(const std::string& name)>& find) {
  Resolve([reader](const PropFixup& f) { return f.reader == reader; },
          [&find](const PropFixup& f) { return find(f.name); });
}

void ForEachFixupName(const TReader* reader, const std::function<void(const std::string& name)>& visit) {
  for (const PropFixup& f : Fixups())
    if (f.reader == reader) visit(f.name);
}

void DropFixups(TReader* reader) {
  auto& fixups = Fixups();
  fixups.erase(std::remove_if(fixups.begin(), fixups.end(),
                              [reader](const PropFixup& f) { return f.reader == reader; }),
               fixups.end());
}

void GlobalFixupReferences() {
  if (Fixups().empty()) return;
  Resolve([](const PropFixup& f) { return f.reader == nullptr; }, FindByPath);
}

void RemoveFixupReferences(TComponent* component) {
  auto& fixups = Fixups();
  if (fixups.empty()) return;
  fixups.erase(std::remove_if(fixups.begin(), fixups.end(),
                              [component](const PropFixup& f) {
                                return f.component == component || f.root == component ||
                                       f.instance == static_cast<TPersistent*>(component);
                              }),
               fixups.end());
}

void RegisterFindGlobalComponentProc(TFindGlobalComponent proc) { GlobalFinder() = std::move(proc); }

TComponent* FindGlobalComponent(std::string_view name) {
  return GlobalFinder() ? GlobalFinder()(name) : nullptr;
}

TComponent* FindNestedComponent(TComponent* root, const std::string& path) {
  if (!root) return nullptr;
  size_t start = 0;
  TComponent* current = root;
  bool first = true;
  while (start <= path.size()) {
    size_t dot = path.find('.', start);
    if (dot == std::string::npos) dot = path.size();
    std::string segment = path.substr(start, dot - start);
    if (segment.empty()) return nullptr;
    TComponent* next = nullptr;
    if (SameText(segment, "Owner")) {
      next = first ? root : current->Owner();
    } else {
      next = current->FindComponent(segment);
      if (!next && first) {
        if (SameText(root->Name(), segment)) next = root;
        else next = FindGlobalComponent(segment);
      }
    }
    if (!next) return nullptr;
    current = next;
    first = false;
    start = dot + 1;
  }
  return current;
}
