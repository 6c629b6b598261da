#include "platform/db/FieldDefs.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Texts.h"

DEFINE_CLASS(TFieldDef, TCollectionItem) {
  c.Prop("Name", &TFieldDef::Name, &TFieldDef::SetName);
  c.Prop("DataType", &TFieldDef::DataType, &TFieldDef::SetDataType).Default(ftUnknown);
  c.Prop("Size", &TFieldDef::Size, &TFieldDef::SetSize).Default(0);
}

DEFINE_CLASS(TFieldDefs, TOwnedCollection) {}

void TFieldDef::SetName(const std::string& v) {
  if (name_ == v) return;
  name_ = v;
  Changed(false);
}

void TFieldDef::SetDataType(TFieldType v) {
  if (dataType_ == v) return;
  dataType_ = v;
  Changed(false);
}

void TFieldDef::SetSize(int v) {
  if (size_ == v) return;
  size_ = v;
  Changed(false);
}

std::string TFieldDef::GetDisplayName() { return name_.empty() ? TCollectionItem::GetDisplayName() : name_; }

TFieldDef* TFieldDefs::Add(const std::string& name, TFieldType type, int size) {
  TFieldDef* def = AddFieldDef();
  def->SetName(name);
  def->SetDataType(type);
  def->SetSize(size);
  return def;
}

TFieldDef* TFieldDefs::Find(std::string_view name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Items(i)->Name(), name)) return Items(i);
  return nullptr;
}
