#include "tests/support/SampleComponents.h"

#include <algorithm>

#include "platform/rtl/ClassBuilder.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"

DEFINE_CLASS(TSampleFont, TPersistent) {
  c.Prop("Charset", &TSampleFont::Charset, &TSampleFont::SetCharset).Type(CharsetType());
  c.Prop("Color", &TSampleFont::Color, &TSampleFont::SetColor).Type(ColorType());
  c.Prop("Height", &TSampleFont::Height, &TSampleFont::SetHeight);
  c.Prop("Name", &TSampleFont::Name, &TSampleFont::SetName);
  c.Prop("Style", &TSampleFont::Style, &TSampleFont::SetStyle).Default(0);
}

void TSampleFont::Assign(TPersistent* source) {
  if (auto* f = dynamic_cast<TSampleFont*>(source)) {
    name_ = f->name_;
    height_ = f->height_;
    color_ = f->color_;
    charset_ = f->charset_;
    style_ = f->style_;
    return;
  }
  TPersistent::Assign(source);
}

DEFINE_CLASS(TSampleItem, TCollectionItem) {
  c.Prop("Width", &TSampleItem::Width, &TSampleItem::SetWidth).Default(50);
  c.Prop("Text", &TSampleItem::Text, &TSampleItem::SetText);
}

DEFINE_CLASS(TSampleLabel, TComponent) {
  c.Prop("Left", &TSampleLabel::Left, &TSampleLabel::SetLeft);
  c.Prop("Top", &TSampleLabel::Top, &TSampleLabel::SetTop);
  c.Prop("Width", &TSampleLabel::Width, &TSampleLabel::SetWidth);
  c.Prop("Height", &TSampleLabel::Height, &TSampleLabel::SetHeight);
  c.Prop("Alignment", &TSampleLabel::Alignment, &TSampleLabel::SetAlignment).Default(smpLeft);
  c.Prop("Caption", &TSampleLabel::Caption, &TSampleLabel::SetCaption);
  c.Prop("Color", &TSampleLabel::Color, &TSampleLabel::SetColor).Type(ColorType()).Default(clBtnFace);
  c.Prop("Font", &TSampleLabel::Font, &TSampleLabel::SetFont);
  c.Prop("Visible", &TSampleLabel::Visible, &TSampleLabel::SetVisible).Default(true);
  c.Prop("Buddy", &TSampleLabel::Buddy, &TSampleLabel::SetBuddy);
  c.Prop("Items", &TSampleLabel::Items, &TSampleLabel::SetItems);
  c.Prop("Columns", &TSampleLabel::Columns, &TSampleLabel::SetColumns);
  c.Prop("Ratio", &TSampleLabel::Ratio, &TSampleLabel::Ratio);
  c.Prop("Scale", &TSampleLabel::Scale, &TSampleLabel::Scale);
  c.Prop("Price", &TSampleLabel::Price, &TSampleLabel::Price).Type(CurrencyType());
  c.Prop("When", &TSampleLabel::When, &TSampleLabel::When).Type(DateTimeType());
  c.Prop("Big", &TSampleLabel::Big, &TSampleLabel::Big);
  c.Prop("Initial", &TSampleLabel::Initial, &TSampleLabel::Initial).Default('A');
  c.Prop("Wide", &TSampleLabel::Wide, &TSampleLabel::Wide).Type(WideStringType());
  c.Event("OnClick", &TSampleLabel::OnClick);
  c.Hears(opRemove);  // Notification only forgets components that go
}

void TSampleLabel::Create(TComponent* owner) {
  TComponent::Create(owner);
  font_ = New<TSampleFont>();
  items_ = New<TStringList>();
  columns_ = New<TCollection>(TSampleItem::StaticClass());
}

void TSampleLabel::Destroy() {
  SetParentComponent(nullptr);
  FreeAndNil(font_);
  FreeAndNil(items_);
  FreeAndNil(columns_);
  TComponent::Destroy();
}

void TSampleLabel::SetBuddy(TComponent* v) {
  if (buddy_ == v) return;
  if (buddy_) buddy_->RemoveFreeNotification(this);
  buddy_ = v;
  if (buddy_) buddy_->FreeNotification(this);
}

void TSampleLabel::SetParentComponent(TComponent* parent) {
  if (auto* old = dynamic_cast<TSamplePanel*>(parent_)) {
    auto& list = old->Children;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  parent_ = parent;
  if (auto* panel = dynamic_cast<TSamplePanel*>(parent)) panel->Children.push_back(this);
}

void TSampleLabel::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == buddy_) buddy_ = nullptr;
  if (operation == opRemove && component == parent_) parent_ = nullptr;
  TComponent::Notification(component, operation);
}

void TSampleLabel::DefineProperties(TFiler* filer) {
  TComponent::DefineProperties(filer);
  filer->DefineProperty(
      "GeneName", [this](TReader& r) { GeneName = r.ReadString().substr(0, 255); },
      [this](TWriter& w) { w.WriteString(GeneName); }, true);
  filer->DefineBinaryProperty(
      "Picture",
      [this](TStream& s) {
        Picture.resize(static_cast<size_t>(s.Size()));
        s.ReadBuffer(Picture.data(), s.Size());
      },
      [this](TStream& s) { s.WriteBuffer(Picture.data(), static_cast<int64_t>(Picture.size())); },
      !Picture.empty());
}

DEFINE_CLASS(TSamplePanel, TSampleLabel) {}

void TSamplePanel::Destroy() {
  // Children outlive their parent when their owner frees the parent first.
  for (TSampleLabel* child : std::vector<TSampleLabel*>(Children)) child->SetParentComponent(nullptr);
  TSampleLabel::Destroy();
}

void TSamplePanel::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TSampleLabel* child : std::vector<TSampleLabel*>(Children))
    if (child->Owner() == root) proc(child);
}

void TSamplePanel::SetChildOrder(TComponent* child, int order) {
  auto it = std::find(Children.begin(), Children.end(), child);
  if (it == Children.end()) return;
  Children.erase(it);
  order = std::clamp(order, 0, static_cast<int>(Children.size()));
  Children.insert(Children.begin() + order, static_cast<TSampleLabel*>(child));
}

DEFINE_CLASS(TSampleForm, TComponent) {
  c.Field("Label1", &TSampleForm::Label1);
  c.Field("Panel1", &TSampleForm::Panel1);
  c.Method("LabelClick", &TSampleForm::LabelClick);
  c.Method("OtherClick", &TSampleForm::OtherClick);
}

void TSampleForm::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (TComponent* c : std::vector<TComponent*>(ComponentList())) {
    auto* label = dynamic_cast<TSampleLabel*>(c);
    if (!label || !label->ParentComponent() || label->ParentComponent() == this) proc(c);
  }
}

void TSampleForm::LabelClick(TObject* sender) { Clicks.push_back(sender); }
void TSampleForm::OtherClick(TObject*) {}

DEFINE_CLASS(TSampleStranger, TSampleLabel) {}
