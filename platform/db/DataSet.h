#pragma once
// TDataSet: the base of the data components. A dataset is opened by name (an alias and what to read
// from it), lists its fields in column order, and is closed again. Rows are not kept: the program
// reads column names only.
//
// Active set while the component is being read from a stream takes effect once reading is over
// (Loaded), when every other property is in place.

#include <string>

#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

class QSqlRecord;

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
  // How messages name the dataset: its name, or its class when it has none.
  std::string DisplayName() const { return Name().empty() ? ClassName() : Name(); }

 private:
  void DoOpen();
  void DoClose();

  bool active_ = false;
  bool streamedActive_ = false;
  TFields fields_;
  TFieldDefs* fieldDefs_ = nullptr;
};
