#pragma once
// The published properties of one object, read through the type information: what the inspector
// lists for a target. A TObjInfo is made for one operation and freed with it; it keeps no values,
// each GetProp reads the object's current one.

#include <cstdint>
#include <string>
#include <vector>

#include "design/DsnPropText.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/TypInfo.h"

// One property of one object: its name as the type information spells it, its value text and
// the kind code of its type.
struct TMyPropInfo {
  std::string Name;
  std::string Value;
  uint8_t Kind = tkUnknown;
};

class TObjInfo : public TObject {
  DECLARE_CLASS(TObjInfo)

 public:
  // Lists the published properties of `object`; none without an object.
  void Create(TObject* object);

  TObject* Instance() const { return instance_; }
  const std::string& ObjClassName() const { return className_; }
  int Count() const { return static_cast<int>(props_.size()); }
  // The descriptor at `index`; raises "Invalid Index" outside 0 to Count - 1.
  const TPropInfo& Prop(int index) const;
  // Name, value text and kind of the property at `index`; raises "Invalid Index" outside the list.
  void GetProp(int index, TMyPropInfo& info) const;
  // The index of the property named `name`, ignoring case; -1 when there is none.
  int IndexOfProp(std::string_view name) const;

 private:
  TObject* instance_ = nullptr;
  std::string className_;
  std::vector<const TPropInfo*> props_;
};
