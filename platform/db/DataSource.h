#pragma once
// Data-aware plumbing: a data source joins a dataset to the controls that show its data, each
// through a data link of its own. A link hears when the dataset opens or closes and when it moves
// to another row; a field link also knows one field by name and the text its value shows.
//
// Field values become text by one rule, whatever the database: null is empty, numbers have no
// trailing zeros after the point ("12.500" and 12.5 both show "12.5", 3.0 shows "3"), fixed-length
// text loses the blanks that pad it, dates read yyyy-MM-dd, binary data shows nothing.

#include <QVariant>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/DataSet.h"
#include "platform/rtl/Component.h"

class TDataLink;

class TDataSource : public TComponent {
  DECLARE_CLASS(TDataSource)

 public:
  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* v);
  // A disabled source's links act as if its dataset were closed (a data text shows its caption).
  // A descendant may make it depend on more; it then calls DataSetChanged when that changes.
  virtual bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  // Tells every link that the dataset opened, closed or moved, or that the source changed.
  void DataSetChanged();

 protected:
  void Destroy() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TDataSet;
  friend class TDataLink;

  TDataSet* dataSet_ = nullptr;
  bool enabled_ = true;
  std::vector<TDataLink*> links_;  // each removes itself when it goes
};

class TDataLink {
 public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return source_; }
  void SetDataSource(TDataSource* source);
  TDataSet* DataSet() const { return source_ ? source_->DataSet() : nullptr; }
  // An open dataset behind an enabled source.
  bool Active() const { return source_ && source_->Enabled() && DataSet() && DataSet()->Active(); }

 protected:
  // The source, its dataset, the dataset's state or its current row changed.
  virtual void Changed() {}

 private:
  friend class TDataSource;
  TDataSource* source_ = nullptr;
};

// A link to one field of the source's dataset, found by name when asked.
class TFieldDataLink : public TDataLink {
 public:
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& name);
  // The field, or null when the dataset is closed or has no field of that name.
  TField* Field() const;
  // The current row's value of the field as text, by the rule above; empty without one.
  std::string DisplayText() const;

  // Called after every change the link hears, and when the field name changes.
  std::function<void()> OnDataChange;

 protected:
  void Changed() override;

 private:
  std::string fieldName_;
};

// The text a field value shows, by the one rule above. `numeric` says that the column holds numbers
// even when the driver hands over their decimal text.
std::string FieldValueText(const QVariant& value, bool numeric);

// The current row's value of the field `name` of `dataSet`, by that rule; nothing when the dataset
// has no such field.
std::optional<std::string> CurrentFieldText(const TDataSet& dataSet, std::string_view name);
