#pragma once
// The inspector's receiver of the selection: the properties that all selected targets have in
// common, among those the inspector shows, with one value text each (empty where the targets
// disagree). It follows every change of the register's target list and redraws the inspector when
// the targets' values change.

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "design/DsnCommonProps.h"
#include "design/select/DsnList.h"

class TCustomInspector;

class TMultiProps : public TReceiveTargets {
  DECLARE_CLASS(TMultiProps)

 public:
  void Create() {}

  // ---- receiver of the target list ----
  void ForgetTarget(int index) override;
  void AddTarget(TComponent* target) override;
  void ClearTargets() override;
  void DeleteTarget(int index) override;
  // Reads the values again and redraws the inspector.
  void TargetsChanged() override;

  // ---- configuration, set once after creation; ClearTargets keeps it ----
  // The shown properties in display order, their row captions, and the names hidden while two
  // or more targets are selected.
  void SetPropNames(const TNameList& names) { propNames_ = names; }
  void SetPropCaptions(const TNameList& captions) { propCaptions_ = captions; }
  void SetOutNames(const TNameList& names) { outNames_ = names; }
  // Binds the inspector that shows these properties, and these properties to it.
  void SetInspector(TCustomInspector* inspector);
  TCustomInspector* Inspector() const { return inspector_.get(); }

  // Reads the common values again from the current targets.
  void RecalcValues();

  const TNameList& PropNames() const { return propNames_; }
  const TNameList& PropCaptions() const { return propCaptions_; }
  const TNameList& OutNames() const { return outNames_; }
  const TNameList& ClassNames() const { return common_.ClassNames; }
  // The shown properties every target has, spelled as the type information spells them, in the
  // order of PropNames, and their value texts.
  const TNameList& CommonNames() const { return common_.CommonNames; }
  const TNameList& CommonValues() const { return common_.CommonValues; }
  // The shown properties of every class merged so far.
  const TNameList& AllNames() const { return allNames_; }
  // The targets, place for place with the target list; null for a place being forgotten.
  std::vector<TComponent*> Targets() const;
  int TargetCount() const { return static_cast<int>(targets_.size()); }
  // The first target still there; null when there is none.
  TComponent* FirstTarget() const;

 private:
  // Tells the inspector that the targets are about to change.
  void Changing();

  TCommonProps common_;
  TNameList propNames_;
  TNameList propCaptions_;
  TNameList outNames_;
  TNameList allNames_;
  // A target and its address. The weak reference reads null as soon as the target's destruction
  // begins, which is before the removal notice that forgets its place arrives; the address is what
  // takes it out of members_ then, so that a later component made at the same address is a new
  // target. Null once the place is forgotten.
  struct Entry {
    TWeak<TComponent> target;
    const TComponent* address = nullptr;
  };
  // Takes the entry's address out of members_ and clears it.
  void Unlist(Entry& entry);

  std::vector<Entry> targets_;
  // The addresses of the listed targets, so that adding one more does not search the whole list.
  std::unordered_set<const TComponent*> members_;
  TWeak<TCustomInspector> inspector_;
};
