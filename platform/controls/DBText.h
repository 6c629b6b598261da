#pragma once
// TDBText: a label for a field of a data source. Bound to a data source whose dataset is open, it
// shows the current row's value of DataField (as the data layer makes field values text: see
// DataSource.h), and follows the dataset as it moves; otherwise it shows its caption, which in a
// mark names the field it is linked to. Field values are shown as they are: "&" marks no
// accelerator.
//
// The binding is made at run time (the mark editor binds its data texts to the shipment row the
// clerk chose) and is never written with the text, so a design looks the same bound or not.

#include <memory>
#include <string>

#include "platform/controls/Label.h"

class TDataSource;
class TFieldDataLink;

class TDBText : public TLabel {
  DECLARE_CLASS(TDBText)

 public:
  TDBText();
  ~TDBText() override;

  void Create(TComponent* owner) override;

  const std::string& DataField() const { return dataField_; }
  void SetDataField(const std::string& v);
  // Cleared when the data source is destroyed.
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* v);
  // True while the text shows a field value rather than its caption.
  bool ShowsFieldValue() const;
  // What the text shows: the field's value, or its caption.
  std::string ShownText() { return GetLabelText(); }

 protected:
  void Destroy() override;
  std::string GetLabelText() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::string dataField_;
  std::unique_ptr<TFieldDataLink> link_;
};
