#include "design/select/DsnHandle.h"

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TMultiHandler, TReceiveTargets) {}

void TMultiHandler::ForgetTarget(int index) {
  if (index >= 0 && index < static_cast<int>(targets_.size())) targets_[static_cast<size_t>(index)] = nullptr;
}

void TMultiHandler::AddTarget(TComponent* target) { targets_.emplace_back(target); }

void TMultiHandler::ClearTargets() { targets_.clear(); }

void TMultiHandler::DeleteTarget(int index) {
  if (index >= 0 && index < static_cast<int>(targets_.size())) targets_.erase(targets_.begin() + index);
}

void TMultiHandler::TargetsChanged() {}
