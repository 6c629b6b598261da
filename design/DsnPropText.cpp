#include "design/DsnPropText.h"

#include "platform/rtl/Component.h"

namespace {
bool IsFree(const TComponent& owner, const TComponent* component, const std::string& name) {
  const TComponent* holder = owner.FindComponent(name);
  return !holder || holder == component;
}
}  // namespace

void UniqueComponentName(TComponent* owner, TReader*, TComponent* component, std::string& name) {
  if (!owner || !component || name.empty() || IsFree(*owner, component, name)) return;
  const std::string& className = component->ClassName();
  const std::string base = className.empty() ? className : className.substr(1);
  for (int i = 1;; ++i) {
    std::string candidate = base + std::to_string(i);
    if (IsFree(*owner, component, candidate)) {
      name = std::move(candidate);
      return;
    }
  }
}
