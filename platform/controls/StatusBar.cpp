#include "platform/controls/StatusBar.h"

#include <QLabel>
#include <QLayout>
#include <QStatusBar>

#include <algorithm>
#include <cstdlib>

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TStatusPanel, TCollectionItem) {
  c.Prop("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment).Default(taLeftJustify);
  c.Prop("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
  c.Prop("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
  c.Prop("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth).Default(50);
}

DEFINE_CLASS(TStatusPanels, TCollection) {}

DEFINE_CLASS(TStatusBar, TWinControl) {
  c.Prop("Align", &TStatusBar::Align, &TStatusBar::SetAlign).Default(alBottom);
  c.Prop("Color", &TStatusBar::Color, &TStatusBar::SetColor)
      .Type(ColorType())
      .Default(clBtnFace)
      .Stored(&TStatusBar::IsColorStored);
  c.Prop("Enabled", &TStatusBar::Enabled, &TStatusBar::SetEnabled).Default(true);
  c.Prop("Font", &TStatusBar::Font, &TStatusBar::SetFont).Stored(&TStatusBar::IsFontStored);
  c.Prop("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels);
  c.Prop("ParentColor", &TStatusBar::ParentColor, &TStatusBar::SetParentColor).Default(false);
  c.Prop("ParentFont", &TStatusBar::ParentFont, &TStatusBar::SetParentFont).Default(true);
  c.Prop("PopupMenu", &TStatusBar::PopupMenu, &TStatusBar::SetPopupMenu);
  c.Prop("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel).Default(false);
  c.Prop("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
  c.Prop("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip).Default(true);
  c.Prop("Visible", &TStatusBar::Visible, &TStatusBar::SetVisible).Default(true);
  // Never a stop of the tab order: its place in it is not kept.
  c.Prop("TabOrder", &TStatusBar::TabOrder, &TStatusBar::SetTabOrder).Stored(false);
}

// ---- panels ----

void TStatusPanel::SetAlignment(TAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel v) {
  if (bevel_ == v) return;
  bevel_ = v;
  Changed(false);
}

void TStatusPanel::SetText(const std::string& v) {
  if (text_ == v) return;
  text_ = v;
  Changed(false);
}

void TStatusPanel::SetWidth(int v) {
  v = std::max(v, 0);
  if (width_ == v) return;
  width_ = v;
  Changed(false);
}

void TStatusPanel::Assign(TPersistent* source) {
  auto* panel = dynamic_cast<TStatusPanel*>(source);
  if (!panel) {
    TCollectionItem::Assign(source);
    return;
  }
  alignment_ = panel->alignment_;
  bevel_ = panel->bevel_;
  text_ = panel->text_;
  width_ = panel->width_;
  Changed(false);
}

std::string TStatusPanel::GetDisplayName() { return text_.empty() ? TCollectionItem::GetDisplayName() : text_; }

void TStatusPanels::Create(TStatusBar* bar) {
  TCollection::Create(TStatusPanel::StaticClass());
  bar_ = bar;
}

TPersistent* TStatusPanels::GetOwner() { return bar_; }

void TStatusPanels::Update(TCollectionItem* item) {
  if (!bar_) return;
  if (item) bar_->UpdatePanel(item->Index());
  else bar_->UpdatePanels();
}

// ---- the bar ----

void TStatusBar::Create(TComponent* owner) {
  TWinControl::Create(owner);
  panels_ = New<TStatusPanels>(this);
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
}

void TStatusBar::Destroy() {
  DestroyHandle();
  FreeAndNil(panels_);
  TWinControl::Destroy();
}

void TStatusBar::Loaded() {
  TWinControl::Loaded();
  FitFont();
}

QWidget* TStatusBar::CreateWidget() { return new QStatusBar(); }

void TStatusBar::CreateWnd() {
  TWinControl::CreateWnd();
  auto* bar = static_cast<QStatusBar*>(WindowWidget(Handle()));
  bar->setSizeGripEnabled(sizeGrip_);
  labels_.clear();
  simpleLabel_ = new QLabel(bar);
  simpleLabel_->setContentsMargins(2, 0, 2, 0);
  simpleLabel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  bar->addWidget(simpleLabel_, 1);
  UpdatePanels();
}

QLabel* TStatusBar::PanelLabel(int index) const {
  if (index < 0) return simpleLabel_;
  return index < static_cast<int>(labels_.size()) ? labels_[static_cast<size_t>(index)].data() : nullptr;
}

void TStatusBar::UpdatePanels() {
  if (!panels_ || !HandleAllocated()) return;
  auto* bar = static_cast<QStatusBar*>(WindowWidget(Handle()));
  for (const QPointer<QLabel>& label : labels_) delete label.data();
  labels_.clear();
  for (int i = 0; i < panels_->Count(); ++i) {
    auto* label = new QLabel(bar);
    label->setContentsMargins(2, 0, 2, 0);
    // The last panel takes what is left of the bar.
    bar->addWidget(label, i == panels_->Count() - 1 ? 1 : 0);
    labels_.emplace_back(label);
    UpdatePanel(i);
  }
  UpdateSimplePanel();
}

void TStatusBar::UpdatePanel(int index) {
  QLabel* label = PanelLabel(index);
  if (!label || index < 0 || index >= panels_->Count()) return;
  TStatusPanel* panel = panels_->Items(index);
  label->setText(QString::fromStdString(panel->Text()));
  static const Qt::Alignment kAlignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
  label->setAlignment(kAlignments[panel->Alignment()] | Qt::AlignVCenter);
  static const int kFrames[] = {QFrame::NoFrame, QFrame::Panel | QFrame::Sunken, QFrame::Panel | QFrame::Raised};
  label->setFrameStyle(kFrames[panel->Bevel()]);
  if (index == panels_->Count() - 1) {
    label->setMinimumWidth(0);
    label->setMaximumWidth(QWIDGETSIZE_MAX);
  } else {
    // A panel is as wide as it is set, or as its text needs when that is more: a text is never cut.
    label->setFixedWidth(std::max(panel->Width(), label->sizeHint().width()));
  }
}

void TStatusBar::UpdateSimplePanel() {
  if (!simpleLabel_) return;
  simpleLabel_->setText(QString::fromStdString(simpleText_));
  simpleLabel_->setVisible(simplePanel_);
  for (const QPointer<QLabel>& label : labels_)
    if (label) label->setVisible(!simplePanel_);
}

void TStatusBar::SetSimplePanel(bool v) {
  if (simplePanel_ == v) return;
  simplePanel_ = v;
  UpdateSimplePanel();
}

void TStatusBar::SetSimpleText(const std::string& v) {
  if (simpleText_ == v) return;
  simpleText_ = v;
  UpdateSimplePanel();
}

void TStatusBar::SetSizeGrip(bool v) {
  if (sizeGrip_ == v) return;
  sizeGrip_ = v;
  if (HandleAllocated()) static_cast<QStatusBar*>(WindowWidget(Handle()))->setSizeGripEnabled(v);
}

void TStatusBar::FitFont() {
  if (ComponentState().Contains(csLoading)) return;
  // Room for a line of the font's character height and the panels' frames.
  const int needed = std::abs(Font()->Height()) + 8;
  if (Height() < needed) SetHeight(needed);
}

void TStatusBar::Dispatch(TMessage& message) {
  TWinControl::Dispatch(message);
  if (message.Msg == CM_FONTCHANGED) FitFont();
}
