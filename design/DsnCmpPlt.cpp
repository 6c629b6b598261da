#include "design/DsnCmpPlt.h"

#include <algorithm>

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TCustomCmpPlt, TPanel) {}

void TCustomCmpPlt::Take(TComponent* user) {
  if (!user) return;
  if (std::none_of(users_.begin(), users_.end(), [user](const TWeak<TComponent>& u) { return u.get() == user; }))
    users_.emplace_back(user);
  SetActive(true);
}

// A register freed while designing reads as gone here, so it never holds the palette on.
void TCustomCmpPlt::Release(TComponent* user) {
  users_.erase(std::remove_if(users_.begin(), users_.end(),
                              [user](const TWeak<TComponent>& u) { return !u || u.get() == user; }),
               users_.end());
  if (!users_.empty()) return;
  SetActive(false);
  SetGene(nullptr);
}
