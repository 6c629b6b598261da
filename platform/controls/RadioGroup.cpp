#include "platform/controls/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>

#include <algorithm>

#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TRadioGroup, TNativeControl) {
  c.Prop("Align", &TRadioGroup::Align, &TRadioGroup::SetAlign).Default(alNone);
  c.Prop("Caption", &TRadioGroup::Caption, &TRadioGroup::SetCaption);
  c.Prop("Color", &TRadioGroup::Color, &TRadioGroup::SetColor)
      .Type(ColorType())
      .Default(clBtnFace)
      .Stored(&TRadioGroup::IsColorStored);
  c.Prop("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns).Default(1);
  c.Prop("Enabled", &TRadioGroup::Enabled, &TRadioGroup::SetEnabled).Default(true);
  c.Prop("Font", &TRadioGroup::Font, &TRadioGroup::SetFont).Stored(&TRadioGroup::IsFontStored);
  c.Prop("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex).Default(-1);
  c.Prop("Items", &TRadioGroup::Items, &TRadioGroup::SetItems);
  c.Prop("ParentColor", &TRadioGroup::ParentColor, &TRadioGroup::SetParentColor).Default(true);
  c.Prop("ParentFont", &TRadioGroup::ParentFont, &TRadioGroup::SetParentFont).Default(true);
  c.Prop("PopupMenu", &TRadioGroup::PopupMenu, &TRadioGroup::SetPopupMenu);
  c.Prop("Visible", &TRadioGroup::Visible, &TRadioGroup::SetVisible).Default(true);
  c.Event("OnClick", &TRadioGroup::OnClick);
  c.Event("OnEnter", &TRadioGroup::OnEnter);
  c.Event("OnExit", &TRadioGroup::OnExit);
}

void TRadioGroup::Create(TComponent* owner) {
  TNativeControl::Create(owner);
  // The group fills its background in its colour; the buttons show it through.
  controlStyle_.Exclude(csOpaque);
  color_ = clBtnFace;
  SetParentColor(true);
  items_ = New<TItemStrings>(static_cast<TItemsHost*>(this));
  SetBounds(0, 0, 185, 105);
}

void TRadioGroup::Destroy() {
  DestroyHandle();
  FreeAndNil(items_);
  TNativeControl::Destroy();
}

void TRadioGroup::Loaded() {
  TNativeControl::Loaded();
  // The index may have been read before the items it counts in.
  SetItemIndex(itemIndex_);
}

QWidget* TRadioGroup::CreateWidget() {
  box_ = new QGroupBox();
  buttons_ = new QButtonGroup(box_);
  QObject::connect(buttons_, &QButtonGroup::idClicked, box_, [this](int id) {
    FromWidget([this, id] {
      if (id == itemIndex_) return;  // checking the checked button again changes nothing
      itemIndex_ = id;
      Click();
    });
  });
  return box_;
}

void TRadioGroup::CreateWnd() {
  TNativeControl::CreateWnd();
  box_->setTitle(QString::fromStdString(Caption()));
  PushButtons();
}

void TRadioGroup::DestroyWnd() {
  box_ = nullptr;
  buttons_ = nullptr;
  TNativeControl::DestroyWnd();
}

void TRadioGroup::SetItemIndex(int v) {
  if (!ComponentState().Contains(csLoading) && (v < -1 || v >= items_->Count())) v = -1;
  itemIndex_ = v;
  PushItemIndex();
}

void TRadioGroup::SetColumns(int v) {
  v = std::clamp(v, 1, 16);
  if (columns_ == v) return;
  columns_ = v;
  PushButtons();
}

void TRadioGroup::ItemsChanged(TItemsChange change, int index) {
  // While the group is read, the index may come before the items it counts in.
  if (!ComponentState().Contains(csLoading)) itemIndex_ = FollowItem(itemIndex_, change, index);
  PushButtons();
}

void TRadioGroup::ItemsUpdating(bool updating) {
  if (box_) box_->setUpdatesEnabled(!updating);
}

void TRadioGroup::PushButtons() {
  if (!box_) return;
  WidgetChange change(*this);
  for (QAbstractButton* button : buttons_->buttons()) delete button;
  // A new grid each time: the old one would keep the stretch of columns and rows no longer used.
  delete box_->layout();
  auto* layout = new QGridLayout(box_);
  layout->setContentsMargins(8, 2, 8, 2);
  layout->setSpacing(0);
  int count = items_->Count();
  int rows = std::max((count + columns_ - 1) / columns_, 1);
  for (int i = 0; i < count; ++i) {
    auto* button = new QRadioButton(QString::fromStdString(items_->Get(i)), box_);
    buttons_->addButton(button, i);
    layout->addWidget(button, i % rows, i / rows);
  }
  for (int c = 0; c < columns_; ++c) layout->setColumnStretch(c, 1);
  for (int r = 0; r < rows; ++r) layout->setRowStretch(r, 1);
  PushItemIndex();
}

void TRadioGroup::PushItemIndex() {
  if (!box_) return;
  WidgetChange change(*this);
  if (QAbstractButton* button = buttons_->button(itemIndex_)) {
    button->setChecked(true);
    return;
  }
  // An exclusive group keeps one button checked; to check none, let go of it for a moment.
  buttons_->setExclusive(false);
  for (QAbstractButton* button : buttons_->buttons()) button->setChecked(false);
  buttons_->setExclusive(true);
}

void TRadioGroup::SetFocus() {
  HandleNeeded();
  QAbstractButton* button = buttons_->checkedButton();
  if (!button) button = buttons_->button(0);
  if (!button) {
    TNativeControl::SetFocus();
    return;
  }
  if (QWidget* top = button->window(); top && !top->isActiveWindow()) top->activateWindow();
  button->setFocus(Qt::TabFocusReason);
}

void TRadioGroup::Dispatch(TMessage& message) {
  TNativeControl::Dispatch(message);
  if (message.Msg == CM_TEXTCHANGED && box_) box_->setTitle(QString::fromStdString(Caption()));
}
