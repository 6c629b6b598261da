#include "design/DsnPropText.h"

#include "platform/rtl/Component.h"

namespace {
bool IsFree(const TComponent& owner, const TComponent* component, const std::string& name) {
  const TComponent* holder = owner.FindComponent(name);
  return !holder || holder == component;
}
}  // namespace

namespace {
void FirstFreeName(TComponent* owner, TComponent* component, std::string& name, TFreeNameHint* hint) {
  if (!owner || !component || name.empty() || IsFree(*owner, component, name)) return;
  const std::string& className = component->ClassName();
  const std::string base = className.empty() ? className : className.substr(1);
  int start = 1;
  if (hint) {
    auto it = hint->find(base);
    if (it != hint->end()) start = it->second;
  }
  for (int i = start;; ++i) {
    std::string candidate = base + std::to_string(i);
    if (IsFree(*owner, component, candidate)) {
      name = std::move(candidate);
      if (hint) (*hint)[base] = i + 1;
      return;
    }
  }
}
}  // namespace

void UniqueComponentName(TComponent* owner, TReader*, TComponent* component, std::string& name) {
  FirstFreeName(owner, component, name, nullptr);
}

void UniqueComponentName(TComponent* owner, TReader*, TComponent* component, std::string& name,
                         TFreeNameHint& hint) {
  FirstFreeName(owner, component, name, &hint);
}
