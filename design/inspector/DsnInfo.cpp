#include "design/inspector/DsnInfo.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Texts.h"

DEFINE_CLASS(TObjInfo, TObject) {}

void TObjInfo::Create(TObject* object) {
  instance_ = object;
  if (!object) return;
  className_ = object->ClassName();
  props_ = object->ClassType().Props();
}

const TPropInfo& TObjInfo::Prop(int index) const {
  if (index < 0 || index >= Count() || !props_[static_cast<size_t>(index)]) throw Exception("Invalid Index");
  return *props_[static_cast<size_t>(index)];
}

void TObjInfo::GetProp(int index, TMyPropInfo& info) const {
  const TPropInfo& prop = Prop(index);
  info.Name = prop.Name;
  info.Value = PropValueText(instance_, prop);
  info.Kind = prop.Kind();
}

int TObjInfo::IndexOfProp(std::string_view name) const {
  for (size_t i = 0; i < props_.size(); ++i)
    if (SameText(props_[i]->Name, name)) return static_cast<int>(i);
  return -1;
}
