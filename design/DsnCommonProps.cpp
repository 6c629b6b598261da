#include "design/DsnCommonProps.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/StringList.h"

DEFINE_CLASS(TContextProps, TObject) {}

void MergeValueText(std::string& common, const std::string& text, TTypeKind kind) {
  switch (kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkFloat:
    case tkSet:
      if (common != text) common.clear();
      break;
    case tkString:
    case tkLString:
      break;
    default:
      common.clear();
      break;
  }
}

bool ValueTextOf(TObject* target, std::string_view name, std::string& text, TTypeKind& kind) {
  const TPropInfo* prop = target->ClassType().FindProp(name);
  if (!prop) return false;
  text = PropValueText(target, *prop);
  kind = prop->Kind();
  return true;
}

TNameList ShownPropsOf(const TObject* target, const TNameList& shown) {
  TNameList names;
  for (const TPropInfo* prop : target->ClassType().Props())
    if (IndexOfName(shown, prop->Name) >= 0) names.push_back(prop->Name);
  return names;
}

template <class Pred>
void TCommonProps::DropNames(Pred drop) {
  for (size_t i = CommonNames.size(); i-- > 0;) {
    if (!drop(CommonNames[i])) continue;
    CommonNames.erase(CommonNames.begin() + static_cast<std::ptrdiff_t>(i));
    if (i < CommonValues.size()) CommonValues.erase(CommonValues.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

void TCommonProps::Merge(TObject* target, int position, const TNameList& shown, const TNameList& out, TNameList* all) {
  const TClassInfo& cls = target->ClassType();
  if (position == 1) {
    ClassNames.push_back(cls.Name());
    CommonNames = ShownPropsOf(target, shown);
    CommonValues.clear();
    for (const std::string& name : CommonNames) CommonValues.push_back(PropValueText(target, *cls.FindProp(name)));
    if (all) *all = CommonNames;
  }
  if (position == 2) DropNames([&](const std::string& name) { return IndexOfName(out, name) >= 0; });
  if (IndexOfName(ClassNames, cls.Name()) < 0) {
    ClassNames.push_back(cls.Name());
    DropNames([&](const std::string& name) { return !cls.FindProp(name); });
    if (all)
      for (const std::string& name : ShownPropsOf(target, shown))
        if (IndexOfName(*all, name) < 0) all->push_back(name);
  }
  if (position >= 2) {
    std::string text;
    TTypeKind kind = tkUnknown;
    for (size_t i = 0; i < CommonValues.size() && i < CommonNames.size(); ++i)
      if (ValueTextOf(target, CommonNames[i], text, kind)) MergeValueText(CommonValues[i], text, kind);
  }
}

void TCommonProps::RecalcValues(const std::vector<TComponent*>& targets) {
  CommonValues.clear();
  bool first = true;
  std::string text;
  TTypeKind kind = tkUnknown;
  for (TComponent* target : targets) {
    if (!target) continue;
    if (first) {
      for (const std::string& name : CommonNames)
        if (ValueTextOf(target, name, text, kind)) CommonValues.push_back(text);
      first = false;
      continue;
    }
    for (size_t i = 0; i < CommonValues.size(); ++i)
      if (ValueTextOf(target, CommonNames[i], text, kind)) MergeValueText(CommonValues[i], text, kind);
  }
}

void TCommonProps::Clear() {
  ClassNames.clear();
  CommonNames.clear();
  CommonValues.clear();
}

void BuildCommonProps(const std::vector<TComponent*>& targets, const TNameList& names, const TNameList& outNames,
                      TNameList& commonNames, TNameList& commonValues) {
  TCommonProps props;
  int position = 0;
  for (TComponent* target : targets)
    if (target) props.Merge(target, ++position, names, outNames, nullptr);
  commonNames = std::move(props.CommonNames);
  commonValues = std::move(props.CommonValues);
}

void TContextProps::Build(const TStrings& selfProps, const TStrings& outProps, const std::vector<TComponent*>& targets) {
  SplitNameCaption(selfProps, names_, captions_);
  BuildCommonProps(targets, names_, LinesOf(outProps), commonNames_, commonValues_);
  OrderLike(names_, commonNames_, commonValues_);
}

std::string TContextProps::CaptionAt(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= commonNames_.size()) return "";
  return CaptionOfName(commonNames_[static_cast<size_t>(index)], names_, captions_);
}
