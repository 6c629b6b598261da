#pragma once
// TDBText: a label for a field of a data source. It shows its caption, which whoever fills the
// mark writes from the field; DataField and DataSource name where the text comes from. Field
// values are shown as they are: "&" marks no accelerator.

#include <string>

#include "platform/controls/Label.h"

class TDBText : public TLabel {
  DECLARE_CLASS(TDBText)

 public:
  void Create(TComponent* owner) override;

  const std::string& DataField() const { return dataField_; }
  void SetDataField(const std::string& v);
  // Any component that supplies data; cleared when it is destroyed.
  TComponent* DataSource() const { return dataSource_; }
  void SetDataSource(TComponent* v);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::string dataField_;
  TComponent* dataSource_ = nullptr;
};
