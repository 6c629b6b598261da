#include "platform/db/DataSet.h"

#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include "platform/db/DataSource.h"
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
  // Events are not called while the component goes; the data sources hear of it as it is removed.
  if (active_) {
    InternalClose();
    ClearData();
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
    ClearData();
    InternalClose();
    throw;
  }
  active_ = true;
  NotifySources();
  AfterOpen(this);
}

void TDataSet::DoClose() {
  BeforeClose(this);
  InternalClose();
  ClearData();
  active_ = false;
  NotifySources();
  AfterClose(this);
}

void TDataSet::ClearData() {
  fields_.Clear();
  rows_.clear();
  recNo_ = 0;
}

void TDataSet::SetRecNo(int value) {
  if (value < 1 || value > RecordCount()) return;
  if (value == recNo_) return;
  recNo_ = value;
  NotifySources();
}

QVariant TDataSet::Value(int index) const {
  if (recNo_ < 1 || index < 0) return {};
  const std::vector<QVariant>& row = rows_[static_cast<size_t>(recNo_ - 1)];
  return static_cast<size_t>(index) < row.size() ? row[static_cast<size_t>(index)] : QVariant();
}

void TDataSet::FetchRows(QSqlQuery& query) {
  rows_.clear();
  const int columns = query.record().count();
  while (query.next()) {
    std::vector<QVariant> row;
    row.reserve(static_cast<size_t>(columns));
    for (int i = 0; i < columns; ++i) row.push_back(query.value(i));
    rows_.push_back(std::move(row));
  }
  recNo_ = rows_.empty() ? 0 : 1;
}

void TDataSet::NotifySources() {
  // A source told may free other sources or this dataset's links: each is looked up again.
  TWeak<TDataSet> self(this);
  std::vector<TWeak<TDataSource>> told(sources_.begin(), sources_.end());
  for (const TWeak<TDataSource>& source : told) {
    if (!self) return;
    if (TDataSource* s = source.get(); s && s->DataSet() == this) s->DataSetChanged();
  }
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
