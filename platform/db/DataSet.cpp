#include "platform/db/DataSet.h"

#include <QSqlField>
#include <QSqlRecord>

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TDataSet, TComponent) {
  c.Prop("Active", &TDataSet::Active, &TDataSet::SetActive).Default(false);
  c.Event("BeforeOpen", &TDataSet::BeforeOpen);
  c.Event("AfterOpen", &TDataSet::AfterOpen);
  c.Event("BeforeClose", &TDataSet::BeforeClose);
  c.Event("AfterClose", &TDataSet::AfterClose);
}

namespace {

TFieldType FieldTypeOf(const QSqlField& field) {
  switch (field.metaType().id()) {
    case QMetaType::QString:
    case QMetaType::QChar:
      return ftString;
    case QMetaType::Short:
    case QMetaType::SChar:
      return ftSmallint;
    case QMetaType::UShort:
    case QMetaType::UChar:
      return ftWord;
    case QMetaType::Int:
    case QMetaType::UInt:
      return ftInteger;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
      return ftLargeint;
    case QMetaType::Bool:
      return ftBoolean;
    case QMetaType::Double:
    case QMetaType::Float:
      return ftFloat;
    case QMetaType::QDate:
      return ftDate;
    case QMetaType::QTime:
      return ftTime;
    case QMetaType::QDateTime:
      return ftDateTime;
    case QMetaType::QByteArray:
      return ftBlob;
    default:
      return ftUnknown;
  }
}

}  // namespace

void TDataSet::Create(TComponent* owner) {
  TComponent::Create(owner);
  fieldDefs_ = New<TFieldDefs>(this);
}

void TDataSet::Destroy() {
  // Events are not called while the component goes.
  if (active_) {
    InternalClose();
    fields_.Clear();
    active_ = false;
  }
  FreeAndNil(fieldDefs_);
  TComponent::Destroy();
}

void TDataSet::SetActive(bool value) {
  if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading)) {
    streamedActive_ = value;
    return;
  }
  if (active_ == value) return;
  value ? DoOpen() : DoClose();
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (streamedActive_) {
    streamedActive_ = false;
    SetActive(true);
  }
}

void TDataSet::CheckInactive() {
  if (active_) Close();
}

void TDataSet::DoOpen() {
  BeforeOpen(this);
  try {
    InternalOpen();
  } catch (...) {
    fields_.Clear();
    InternalClose();
    throw;
  }
  active_ = true;
  AfterOpen(this);
}

void TDataSet::DoClose() {
  BeforeClose(this);
  InternalClose();
  fields_.Clear();
  active_ = false;
  AfterClose(this);
}

void TDataSet::CreateFields(const QSqlRecord& record) {
  fields_.Clear();
  for (int i = 0; i < record.count(); ++i) {
    const QSqlField field = record.field(i);
    const TFieldType type = FieldTypeOf(field);
    const int size = type == ftString && field.length() > 0 ? field.length() : 0;
    fields_.Add(field.name().toStdString(), type, size);
  }
}
