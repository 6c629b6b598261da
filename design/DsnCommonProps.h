#pragma once
// The properties that all of several targets have in common, among those a configuration names,
// with one value text each: the rule shared by the inspector's multi-target properties and the
// property commands of the design context menu.
//
// A property is common when every target's class publishes it and, while two or more targets are
// merged, it is not one of the "out" names. Its value text is the first target's, merged with each
// further target's by the kind of the property: ordinal and floating-point kinds and sets give
// the empty text as soon as one target differs, strings keep the first target's text, and every
// other kind (objects, handlers, …) gives the empty text for two or more targets.

#include <string>
#include <vector>

#include "design/DsnPropText.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/TypInfo.h"

class TComponent;

// Merges one more target's value text into the common text of a property of kind `kind`.
void MergeValueText(std::string& common, const std::string& text, TTypeKind kind);

// The value text of the property `name` of `target`, and its kind; false when the target's class
// has no such property.
bool ValueTextOf(TObject* target, std::string_view name, std::string& text, TTypeKind& kind);

// The names of `target`'s properties, in type-information order, that `shown` lists (ignoring
// case), spelled as the type information spells them.
TNameList ShownPropsOf(const TObject* target, const TNameList& shown);

// The common properties as targets are merged one at a time.
class TCommonProps {
 public:
  TNameList ClassNames;    // classes merged so far
  TNameList CommonNames;   // in the order of the class's properties until OrderLike
  TNameList CommonValues;  // parallel to CommonNames

  // Merges `target` as the `position`-th target (counting from 1). `all`, when given, collects
  // the shown properties of every class merged.
  void Merge(TObject* target, int position, const TNameList& shown, const TNameList& out, TNameList* all);
  // Reads every value again from `targets` (nulls skipped): the first target's text of each
  // common name it has, merged with the others'. Should the first lack a common name, the values
  // end up shorter than the names.
  void RecalcValues(const std::vector<TComponent*>& targets);
  void Clear();

 private:
  // Removes the common names (with their values) for which `drop` is true.
  template <class Pred>
  void DropNames(Pred drop);
};

// The common properties of `targets` among `names`, hiding `outNames` for two or more targets,
// in the order of `names`.
void BuildCommonProps(const std::vector<TComponent*>& targets, const TNameList& names, const TNameList& outNames,
                      TNameList& commonNames, TNameList& commonValues);

// The property commands of the design context menu for one right click: the common properties
// of the selected targets among the stage's SelfProps ("Name|Caption" lines), less its OutProps
// while two or more are selected.
class TContextProps : public TObject {
  DECLARE_CLASS(TContextProps)

 public:
  void Build(const TStrings& selfProps, const TStrings& outProps, const std::vector<TComponent*>& targets);
  // The menu caption of the command at `index` (of CommonNames).
  std::string CaptionAt(int index) const;

  const TNameList& Names() const { return names_; }
  const TNameList& Captions() const { return captions_; }
  const TNameList& CommonNames() const { return commonNames_; }
  const TNameList& CommonValues() const { return commonValues_; }

 private:
  TNameList names_;
  TNameList captions_;
  TNameList commonNames_;
  TNameList commonValues_;
};
