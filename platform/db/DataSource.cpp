#include "platform/db/DataSource.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <algorithm>
#include <cmath>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/EraseLast.h"

DEFINE_CLASS(TDataSource, TComponent) {
  c.Prop("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
  c.Prop("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled).Default(true);
  c.Hears();  // forgets only the dataset, which it asked about
}

void TDataSource::Destroy() {
  SetDataSet(nullptr);
  for (TDataLink* link : std::vector<TDataLink*>(links_)) link->source_ = nullptr;
  links_.clear();
  TComponent::Destroy();
}

void TDataSource::SetDataSet(TDataSet* v) {
  if (dataSet_ == v) return;
  if (dataSet_) {
    dataSet_->RemoveFreeNotification(this);
    EraseLast(dataSet_->sources_, this);
  }
  dataSet_ = v;
  if (v) {
    v->FreeNotification(this);
    v->sources_.push_back(this);
  }
  DataSetChanged();
}

void TDataSource::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  DataSetChanged();
}

void TDataSource::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && dataSet_ && component == dataSet_) {
    EraseLast(dataSet_->sources_, this);
    dataSet_ = nullptr;
    DataSetChanged();
  }
  TComponent::Notification(component, operation);
}

void TDataSource::DataSetChanged() {
  // A link told may free this source or other links: each is looked up again.
  TWeak<TDataSource> self(this);
  for (TDataLink* link : std::vector<TDataLink*>(links_)) {
    if (!self) return;
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Changed();
  }
}

TDataLink::~TDataLink() {
  if (source_) EraseLast(source_->links_, this);
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source_ == source) return;
  if (source_) EraseLast(source_->links_, this);
  source_ = source;
  if (source_) source_->links_.push_back(this);
  Changed();
}

void TFieldDataLink::SetFieldName(const std::string& name) {
  if (fieldName_ == name) return;
  fieldName_ = name;
  Changed();
}

TField* TFieldDataLink::Field() const {
  if (!Active() || fieldName_.empty()) return nullptr;
  return DataSet()->Fields().FindField(fieldName_);
}

std::string TFieldDataLink::DisplayText() const {
  if (!Active() || fieldName_.empty()) return {};
  return CurrentFieldText(*DataSet(), fieldName_).value_or(std::string());
}

std::optional<std::string> CurrentFieldText(const TDataSet& dataSet, std::string_view name) {
  TField* field = dataSet.Fields().FindField(name);
  if (!field) return std::nullopt;
  const TFieldType type = field->DataType();
  const bool numeric = type == ftFloat || type == ftCurrency || type == ftBCD;
  return FieldValueText(dataSet.Value(field->Index()), numeric);
}

void TFieldDataLink::Changed() {
  if (OnDataChange) OnDataChange();
}

namespace {

// Decimal text without the zeros that end its fraction, nor a point left bare.
QString WithoutTrailingZeros(QString text) {
  if (!text.contains(u'.') || text.contains(u'e') || text.contains(u'E')) return text;
  while (text.endsWith(u'0')) text.chop(1);
  if (text.endsWith(u'.')) text.chop(1);
  if (text == u"-0") text = QStringLiteral("0");
  return text;
}

bool IsDecimalText(const QString& text) {
  bool ok = false;
  text.trimmed().toDouble(&ok);
  return ok;
}

}  // namespace

std::string FieldValueText(const QVariant& value, bool numeric) {
  if (value.isNull() || !value.isValid()) return {};
  switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float: {
      const double d = value.toDouble();
      if (!std::isfinite(d)) return {};
      // Fifteen significant digits, written out without an exponent.
      const int whole = d == 0 ? 1 : static_cast<int>(std::floor(std::log10(std::fabs(d)))) + 1;
      const int decimals = std::clamp(15 - whole, 0, 15);
      return WithoutTrailingZeros(QString::number(d, 'f', decimals)).toStdString();
    }
    case QMetaType::QByteArray:
      return {};
    case QMetaType::QDate:
      return value.toDate().toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    case QMetaType::QTime:
      return value.toTime().toString(QStringLiteral("HH:mm:ss")).toStdString();
    case QMetaType::QDateTime:
      return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
    case QMetaType::QString: {
      QString text = value.toString();
      // Fixed-length text comes padded with blanks.
      qsizetype end = text.size();
      while (end > 0 && text[end - 1] == u' ') --end;
      text.truncate(end);
      if (numeric && IsDecimalText(text)) return WithoutTrailingZeros(text.trimmed()).toStdString();
      return text.toStdString();
    }
    default:
      return value.toString().toStdString();
  }
}
