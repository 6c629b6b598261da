#pragma once
// Fields of an open dataset: one TField per column, in the column order of the table, view or
// result, kept in the dataset's TFields list.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Component.h"

// The data types of fields and field definitions; the stream writes them by name.
ENUMERATION(TFieldType, ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat,
            ftCurrency, ftBCD, ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob,
            ftMemo, ftGraphic, ftFmtMemo, ftFixedChar, ftWideString, ftLargeint)

class TDataSet;

class TField : public TPersistent {
  DECLARE_CLASS(TField)

 public:
  const std::string& FieldName() const { return fieldName_; }
  TFieldType DataType() const { return dataType_; }
  // Characters of a text field, bytes of a fixed binary field; 0 when the type has no size or the
  // database does not tell.
  int Size() const { return size_; }
  // The position in the dataset's fields.
  int Index() const { return index_; }
  TDataSet* DataSet() const { return dataSet_; }

 private:
  friend class TFields;
  std::string fieldName_;
  TFieldType dataType_ = ftUnknown;
  int size_ = 0;
  int index_ = 0;
  TDataSet* dataSet_ = nullptr;
};

class TFields {
 public:
  explicit TFields(TDataSet* dataSet) : dataSet_(dataSet) {}

  int Count() const { return static_cast<int>(fields_.size()); }
  // Raises EListError when the index is out of range.
  TField* operator[](int index) const;
  // The field of that name, ignoring case; null when there is none.
  TField* FindField(std::string_view name) const;
  // As FindField, but raises EDatabaseError when there is no such field.
  TField* FieldByName(std::string_view name) const;

  TField* Add(const std::string& name, TFieldType type, int size);
  void Clear() { fields_.clear(); }

 private:
  struct Deleter {
    void operator()(TField* field) const { field->Free(); }
  };
  TDataSet* dataSet_;
  std::vector<std::unique_ptr<TField, Deleter>> fields_;
};
