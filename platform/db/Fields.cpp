#include "platform/db/Fields.h"

#include "platform/db/DataSet.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Texts.h"

DEFINE_CLASS(TField, TPersistent) {
  c.Prop("FieldName", &TField::FieldName);
  c.Prop("DataType", &TField::DataType);
  c.Prop("Size", &TField::Size);
  c.Prop("Index", &TField::Index);
}

TField* TFields::operator[](int index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return fields_[static_cast<size_t>(index)].get();
}

TField* TFields::FindField(std::string_view name) const {
  for (const auto& field : fields_)
    if (SameText(field->FieldName(), name)) return field.get();
  return nullptr;
}

TField* TFields::FieldByName(std::string_view name) const {
  if (TField* field = FindField(name)) return field;
  std::string message = "Field " + std::string(name) + " not found";
  if (dataSet_ && !dataSet_->Name().empty()) message += " in " + dataSet_->Name();
  throw EDatabaseError(message);
}

TField* TFields::Add(const std::string& name, TFieldType type, int size) {
  std::unique_ptr<TField, Deleter> field(New<TField>());
  field->fieldName_ = name;
  field->dataType_ = type;
  field->size_ = size;
  field->index_ = Count();
  field->dataSet_ = dataSet_;
  fields_.push_back(std::move(field));
  return fields_.back().get();
}
