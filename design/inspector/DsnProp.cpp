#include "design/inspector/DsnProp.h"

#include <algorithm>

#include "design/select/DsnCustomInspector.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TMultiProps, TReceiveTargets) {}

namespace {
void EraseName(TNameList& list, std::string_view name) {
  const int at = IndexOfName(list, name);
  if (at >= 0) list.erase(list.begin() + at);
}
}  // namespace

std::vector<TComponent*> TMultiProps::Targets() const {
  std::vector<TComponent*> targets;
  targets.reserve(targets_.size());
  for (const Entry& entry : targets_) targets.push_back(entry.target.get());
  return targets;
}

TComponent* TMultiProps::FirstTarget() const {
  for (const Entry& entry : targets_)
    if (TComponent* target = entry.target.get()) return target;
  return nullptr;
}

void TMultiProps::Unlist(Entry& entry) {
  if (entry.address) members_.erase(entry.address);
  entry.address = nullptr;
}

void TMultiProps::SetInspector(TCustomInspector* inspector) {
  inspector_ = inspector;
  if (inspector) inspector->PropsLinked(this);
}

void TMultiProps::Changing() {
  if (TCustomInspector* inspector = inspector_.get()) inspector->TargetsChanging();
}

void TMultiProps::AddTarget(TComponent* target) {
  if (!target || members_.count(target)) return;
  Changing();
  members_.insert(target);
  targets_.push_back(Entry{target, target});
  common_.Merge(target, static_cast<int>(targets_.size()), propNames_, outNames_, &allNames_);
  OrderLike(propNames_, common_.CommonNames, common_.CommonValues);
}

void TMultiProps::ForgetTarget(int index) {
  if (index < 0 || index >= TargetCount()) return;
  Entry& place = targets_[static_cast<size_t>(index)];
  Unlist(place);
  place.target.reset();
}

void TMultiProps::ClearTargets() {
  if (!targets_.empty()) Changing();
  common_.Clear();
  allNames_.clear();
  targets_.clear();
  members_.clear();
}

void TMultiProps::DeleteTarget(int index) {
  if (index < 0 || index >= TargetCount()) return;
  Changing();
  Entry& entry = targets_[static_cast<size_t>(index)];
  TComponent* removed = entry.target.get();
  Unlist(entry);
  targets_.erase(targets_.begin() + index);
  std::vector<TComponent*> remaining = Targets();
  TComponent* first = FirstTarget();
  if (!first) {
    ClearTargets();
    return;
  }
  TNameList& common = common_.CommonNames;
  // Properties the targets left may now share: those merged before, less the ones the removed
  // target had without their being common (another target lacks them).
  TNameList candidates = std::move(allNames_);
  allNames_.clear();
  if (removed)
    for (const std::string& name : ShownPropsOf(removed, propNames_))
      if (IndexOfName(common, name) < 0 && IndexOfName(outNames_, name) < 0) EraseName(candidates, name);
  for (const std::string& name : common) EraseName(candidates, name);

  common_.ClassNames.assign(1, first->ClassName());
  TNameList kept;
  for (const std::string& name : candidates)
    if (first->ClassType().FindProp(name)) kept.push_back(name);
  allNames_ = ShownPropsOf(first, propNames_);
  if (remaining.size() >= 2) {
    for (const std::string& name : outNames_) EraseName(kept, name);
    for (TComponent* target : remaining) {
      if (!target || IndexOfName(common_.ClassNames, target->ClassName()) >= 0) continue;
      common_.ClassNames.push_back(target->ClassName());
      const TClassInfo& cls = target->ClassType();
      kept.erase(std::remove_if(kept.begin(), kept.end(), [&](const std::string& n) { return !cls.FindProp(n); }),
                 kept.end());
      for (const std::string& name : ShownPropsOf(target, propNames_))
        if (IndexOfName(allNames_, name) < 0) allNames_.push_back(name);
    }
  }
  common.insert(common.end(), kept.begin(), kept.end());
  common_.RecalcValues(remaining);
  OrderLike(propNames_, common, common_.CommonValues);
}

void TMultiProps::TargetsChanged() {
  RecalcValues();
  if (TCustomInspector* inspector = inspector_.get()) inspector->RefreshGrid();
}

void TMultiProps::RecalcValues() { common_.RecalcValues(Targets()); }
