#pragma once
// The select partner: a component an application puts next to a register to be told of every
// change of the design selection (OnChangeSelected) and to set the selection from code. Its
// selection manager is a receiver of the register's target lists with a mirror of its own.

#include <vector>

#include "design/select/DsnRegister.h"

ENUMERATION(TSelectOperation, soAdd, soClear, soDelete, soForget)

class TDsnSelect;
using TChangeSelected = TEvent<TObject*, TSelectedComponents*, TSelectOperation>;

class TSelectionManager : public TReceiveTargets {
  DECLARE_CLASS(TSelectionManager)

 public:
  void ForgetTarget(int index) override;
  void AddTarget(TComponent* target) override;
  void ClearTargets() override;
  void DeleteTarget(int index) override;
  void TargetsChanged() override {}
  // A target list letting go of the manager (design mode ended, the register went) ends the
  // selection it mirrored: the mirror empties, so the next design mode starts from nothing.
  void Unlink(TReceiveTargets* receiver) override;

  TDsnSelect* Select() const { return select_; }
  void SetSelect(TDsnSelect* value) { select_ = value; }
  // The mirror of the selection; a place emptied by ForgetTarget reads null.
  const std::vector<TWeak<TComponent>>& Items() const { return items_; }

 private:
  void Raise(TSelectOperation operation);

  std::vector<TWeak<TComponent>> items_;
  TDsnSelect* select_ = nullptr;
};

class TDsnSelect : public TDsnPartner {
  DECLARE_CLASS(TDsnSelect)

 public:
  // Also makes the selection manager the first time design mode starts with a register.
  void SetDesigning(bool active) override;
  // Makes `component` the only selection, when design mode is on and it may be selected.
  virtual void SelectSingle(TComponent* component);
  // Makes `list` the selection, when design mode is on and at least one entry may be selected.
  virtual void SelectList(const std::vector<TComponent*>& list);

  TSelectionManager* Manager() const { return manager_; }
  TChangeSelected OnChangeSelected;

 protected:
  void Destroy() override;

 private:
  TSelectionManager* manager_ = nullptr;
};
