#include "platform/controls/DBText.h"

#include "platform/db/DataSource.h"
#include "platform/rtl/ClassBuilder.h"

// The inherited properties keep their places; those published again change their defaults.
DEFINE_CLASS(TDBText, TLabel) {
  c.Prop("AutoSize", &TDBText::AutoSize, &TDBText::SetAutoSize).Default(false);
  c.Prop("ShowAccelChar", &TDBText::ShowAccelChar, &TDBText::SetShowAccelChar).Default(false);
  c.Prop("DataField", &TDBText::DataField, &TDBText::SetDataField);
  c.Prop("DataSource", &TDBText::DataSource, &TDBText::SetDataSource).Stored(false);
  c.Hears();  // Notification forgets only the data source, which the text asked about
}

TDBText::TDBText() : link_(std::make_unique<TFieldDataLink>()) {
  link_->OnDataChange = [this] { Invalidate(); };
}

TDBText::~TDBText() = default;

void TDBText::Create(TComponent* owner) {
  TLabel::Create(owner);
  SetAutoSize(false);
  SetShowAccelChar(false);
}

void TDBText::Destroy() {
  link_->OnDataChange = nullptr;
  SetDataSource(nullptr);
  TLabel::Destroy();
}

void TDBText::SetDataField(const std::string& v) {
  if (dataField_ == v) return;
  dataField_ = v;
  link_->SetFieldName(v);
}

TDataSource* TDBText::DataSource() const { return link_->DataSource(); }

void TDBText::SetDataSource(TDataSource* v) {
  TDataSource* old = link_->DataSource();
  if (old == v) return;
  if (old) old->RemoveFreeNotification(this);
  if (v) v->FreeNotification(this);
  link_->SetDataSource(v);
}

bool TDBText::ShowsFieldValue() const { return link_->Field() != nullptr; }

std::string TDBText::GetLabelText() {
  if (ShowsFieldValue()) return link_->DisplayText();
  return TLabel::GetLabelText();
}

void TDBText::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == link_->DataSource()) link_->SetDataSource(nullptr);
  TLabel::Notification(component, operation);
}
