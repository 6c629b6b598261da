#pragma once
// Field definitions: the columns a dataset declares in its layout (name, type, size), streamed as a
// collection.

#include <string>
#include <string_view>

#include "platform/db/Fields.h"
#include "platform/rtl/Collection.h"

class TFieldDef : public TCollectionItem {
  DECLARE_CLASS(TFieldDef)

 public:
  const std::string& Name() const { return name_; }
  void SetName(const std::string& v);
  TFieldType DataType() const { return dataType_; }
  void SetDataType(TFieldType v);
  int Size() const { return size_; }
  void SetSize(int v);
  std::string GetDisplayName() override;

 private:
  std::string name_;
  TFieldType dataType_ = ftUnknown;
  int size_ = 0;
};

class TFieldDefs : public TOwnedCollection {
  DECLARE_CLASS(TFieldDefs)

 public:
  void Create(TPersistent* owner) { TOwnedCollection::Create(owner, TFieldDef::StaticClass()); }

  TFieldDef* Items(int index) const { return static_cast<TFieldDef*>(TCollection::Items(index)); }
  TFieldDef* AddFieldDef() { return static_cast<TFieldDef*>(TCollection::Add()); }
  TFieldDef* Add(const std::string& name, TFieldType type, int size = 0);
  // The definition of that name, ignoring case; null when there is none.
  TFieldDef* Find(std::string_view name) const;
};
