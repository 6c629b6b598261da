#pragma once
// TDataSet: the base of the data components. A dataset is opened by name (an alias and what to read
// from it), lists its fields in column order, and is closed again. A dataset that reads rows (a
// query) keeps them all and has a current row, whose values its fields give; a table lists its
// columns only. Data sources (DataSource.h) hear when it opens, closes or moves to another row.
//
// Active set while the component is being read from a stream takes effect once reading is over
// (Loaded), when every other property is in place.

#include <QVariant>

#include <string>
#include <vector>

#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

class QSqlQuery;
class QSqlRecord;
class TDataSource;

class TDataSet : public TComponent {
  DECLARE_CLASS(TDataSet)

 public:
  TDataSet() : fields_(this) {}
  void Create(TComponent* owner) override;

  bool Active() const { return active_; }
  // Opens or closes; raises EDatabaseError when opening fails, and the dataset stays closed.
  void SetActive(bool value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }

  // Empty while the dataset is closed.
  const TFields& Fields() const { return fields_; }
  int FieldCount() const { return fields_.Count(); }
  TField* FieldByName(std::string_view name) const { return fields_.FieldByName(name); }
  // The declared field definitions; opening leaves them as they are.
  TFieldDefs* FieldDefs() const { return fieldDefs_; }
  void SetFieldDefs(TFieldDefs* v) { fieldDefs_->Assign(v); }
  // Layouts store field definitions only when some are declared.
  bool FieldDefsStored() const { return fieldDefs_->Count() > 0; }

  // The rows read, and the current one: RecNo counts from 1, and is 0 when there is no row.
  int RecordCount() const { return static_cast<int>(rows_.size()); }
  int RecNo() const { return recNo_; }
  // Moves to row `value` (1 to RecordCount), telling the data sources; other values are refused.
  void SetRecNo(int value);
  bool IsEmpty() const { return rows_.empty(); }
  // The current row's value of column `index`; null without a current row.
  QVariant Value(int index) const;

  TNotifyEvent BeforeOpen;
  TNotifyEvent AfterOpen;
  TNotifyEvent BeforeClose;
  TNotifyEvent AfterClose;

  void Loaded() override;

 protected:
  void Destroy() override;
  // Connects and fills Fields(); raises EDatabaseError on failure, after which the fields are
  // cleared again.
  virtual void InternalOpen() = 0;
  // Releases what InternalOpen took; the fields are cleared afterwards.
  virtual void InternalClose() {}
  // Closes a dataset whose settings changed under it, so that it never shows stale fields.
  void CheckInactive();
  // Makes one field per column of the record, in the record's order.
  void CreateFields(const QSqlRecord& record);
  // Keeps the rows `query` still has (it has been run), all of them, and makes the first current.
  void FetchRows(QSqlQuery& query);
  // How messages name the dataset: its name, or its class when it has none.
  std::string DisplayName() const { return Name().empty() ? ClassName() : Name(); }

 private:
  friend class TDataSource;
  void DoOpen();
  void DoClose();
  // Forgets the fields and the rows of a dataset that closes.
  void ClearData();
  void NotifySources();

  bool active_ = false;
  bool streamedActive_ = false;
  TFields fields_;
  TFieldDefs* fieldDefs_ = nullptr;
  std::vector<std::vector<QVariant>> rows_;
  int recNo_ = 0;
  std::vector<TDataSource*> sources_;  // each removes itself when it goes or changes datasets
};
