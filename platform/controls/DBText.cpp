#include "platform/controls/DBText.h"

#include "platform/rtl/ClassBuilder.h"

// The inherited properties keep their places; those published again change their defaults.
DEFINE_CLASS(TDBText, TLabel) {
  c.Prop("AutoSize", &TDBText::AutoSize, &TDBText::SetAutoSize).Default(false);
  c.Prop("ShowAccelChar", &TDBText::ShowAccelChar, &TDBText::SetShowAccelChar).Default(false);
  c.Prop("DataField", &TDBText::DataField, &TDBText::SetDataField);
  c.Prop("DataSource", &TDBText::DataSource, &TDBText::SetDataSource);
  c.Hears();  // Notification forgets only the data source, which the text asked about
}

void TDBText::Create(TComponent* owner) {
  TLabel::Create(owner);
  SetAutoSize(false);
  SetShowAccelChar(false);
}

void TDBText::SetDataField(const std::string& v) {
  if (dataField_ == v) return;
  dataField_ = v;
  Invalidate();
}

void TDBText::SetDataSource(TComponent* v) {
  if (dataSource_ == v) return;
  if (dataSource_) dataSource_->RemoveFreeNotification(this);
  dataSource_ = v;
  if (v) v->FreeNotification(this);
  Invalidate();
}

void TDBText::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == dataSource_) dataSource_ = nullptr;
  TLabel::Notification(component, operation);
}
