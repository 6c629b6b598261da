#include "platform/controls/ComboBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPointer>

#include <algorithm>
#include <functional>

#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TComboBox, TNativeControl) {
  c.Prop("Style", &TComboBox::Style, &TComboBox::SetStyle).Default(csDropDown);
  c.Prop("Color", &TComboBox::Color, &TComboBox::SetColor)
      .Type(ColorType())
      .Default(clWindow)
      .Stored(&TComboBox::IsColorStored);
  c.Prop("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8);
  c.Prop("Enabled", &TComboBox::Enabled, &TComboBox::SetEnabled).Default(true);
  c.Prop("Font", &TComboBox::Font, &TComboBox::SetFont).Stored(&TComboBox::IsFontStored);
  c.Prop("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight);
  c.Prop("Items", &TComboBox::Items, &TComboBox::SetItems);
  c.Prop("ParentColor", &TComboBox::ParentColor, &TComboBox::SetParentColor).Default(false);
  c.Prop("ParentFont", &TComboBox::ParentFont, &TComboBox::SetParentFont).Default(true);
  c.Prop("PopupMenu", &TComboBox::PopupMenu, &TComboBox::SetPopupMenu);
  c.Prop("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted).Default(false);
  c.Prop("Text", &TComboBox::Text, &TComboBox::SetText);
  c.Prop("Visible", &TComboBox::Visible, &TComboBox::SetVisible).Default(true);
  c.Event("OnChange", &TComboBox::OnChange);
  c.Event("OnDropDown", &TComboBox::OnDropDown);
  c.Event("OnEnter", &TComboBox::OnEnter);
  c.Event("OnExit", &TComboBox::OnExit);
  c.Event("OnKeyDown", &TComboBox::OnKeyDown);
  c.Event("OnKeyPress", &TComboBox::OnKeyPress);
  c.Event("OnKeyUp", &TComboBox::OnKeyUp);
}

namespace {
// A QComboBox that tells its control before the list opens, whoever opens it.
class ComboWidget : public QComboBox {
 public:
  std::function<void()> aboutToDropDown;

  void showPopup() override {
    QPointer<ComboWidget> self(this);
    if (aboutToDropDown) aboutToDropDown();
    if (self) QComboBox::showPopup();
  }
};
}  // namespace

void TComboBox::Create(TComponent* owner) {
  TNativeControl::Create(owner);
  items_ = New<TItemStrings>(static_cast<TItemsHost*>(this));
  SetBounds(0, 0, 145, 21);
}

void TComboBox::Destroy() {
  DestroyHandle();
  FreeAndNil(items_);
  TNativeControl::Destroy();
}

void TComboBox::Loaded() {
  TNativeControl::Loaded();
  // The text may have been read before the items it names.
  Perform(CM_TEXTCHANGED, 0, 0);
}

QWidget* TComboBox::CreateWidget() {
  auto* combo = new ComboWidget();
  combo_ = combo;
  combo->aboutToDropDown = [this] { Safely([this] { DropDown(); }); };
  auto taken = [this] { FromWidget([this] { TakeUserChange(); }); };
  QObject::connect(combo, &QComboBox::currentIndexChanged, combo, taken);
  QObject::connect(combo, &QComboBox::editTextChanged, combo, taken);
  return combo;
}

void TComboBox::CreateWnd() {
  TNativeControl::CreateWnd();
  {
    WidgetChange change(*this);
    combo_->setMaxVisibleItems(std::max(dropDownCount_, 1));
  }
  SetStyleOfWidget();
  PushItems();
}

void TComboBox::DestroyWnd() {
  combo_ = nullptr;
  TNativeControl::DestroyWnd();
}

void TComboBox::SetStyleOfWidget() {
  if (!combo_) return;
  WidgetChange change(*this);
  combo_->setEditable(Editable());
  if (!Editable()) return;
  // What is typed stays typed: no completion, and Enter adds no item.
  combo_->setCompleter(nullptr);
  combo_->setInsertPolicy(QComboBox::NoInsert);
}

void TComboBox::SetStyle(TComboBoxStyle v) {
  if (style_ == v) return;
  style_ = v;
  SetStyleOfWidget();
  TextFromItem(false);
  PushState();
}

void TComboBox::SetItemIndex(int v) {
  if (v < 0 || v >= items_->Count()) v = -1;
  itemIndex_ = v;
  TextFromItem(true);
  PushState();
}

void TComboBox::SetDropDownCount(int v) {
  if (dropDownCount_ == v) return;
  dropDownCount_ = v;
  if (combo_) combo_->setMaxVisibleItems(std::max(v, 1));
}

bool TComboBox::DroppedDown() { return combo_ && combo_->view()->isVisible(); }

bool TComboBox::WantsDialogKey(uint16_t key) const {
  return key != VK_TAB && combo_ && combo_->view()->isVisible();
}

void TComboBox::SetDroppedDown(bool v) {
  HandleNeeded();
  if (v == DroppedDown()) return;
  if (v) combo_->showPopup();
  else combo_->hidePopup();
}

void TComboBox::TextFromItem(bool always) {
  if (Editable() && !always) return;
  SetText(itemIndex_ >= 0 ? items_->Get(itemIndex_) : std::string());
}

void TComboBox::ItemsChanged(TItemsChange change, int index) {
  // Sorting keeps the choice on its item (a cleared list has none to keep).
  bool resorted = change == TItemsChange::Reset && itemIndex_ >= 0;
  itemIndex_ = resorted ? items_->IndexOf(Text()) : FollowItem(itemIndex_, change, index);
  if (combo_) {
    WidgetChange widgetChange(*this);
    switch (change) {
      case TItemsChange::Inserted: combo_->insertItem(index, QString::fromStdString(items_->Get(index))); break;
      case TItemsChange::Deleted: combo_->removeItem(index); break;
      case TItemsChange::Changed: combo_->setItemText(index, QString::fromStdString(items_->Get(index))); break;
      case TItemsChange::Reset: PushItems(); break;
    }
  }
  // While the combo box is read, its text may have come before the items; Loaded chooses by it.
  if (!ComponentState().Contains(csLoading)) TextFromItem(false);
  PushState();
}

void TComboBox::ItemsUpdating(bool updating) {
  if (combo_) combo_->setUpdatesEnabled(!updating);
}

void TComboBox::PushItems() {
  if (!combo_) return;
  {
    WidgetChange change(*this);
    combo_->clear();
    for (int i = 0; i < items_->Count(); ++i) combo_->addItem(QString::fromStdString(items_->Get(i)));
  }
  PushState();
}

void TComboBox::PushState() {
  if (!combo_) return;
  WidgetChange change(*this);
  if (combo_->currentIndex() != itemIndex_) combo_->setCurrentIndex(itemIndex_);
  QString text = QString::fromStdString(Text());
  if (Editable() && combo_->currentText() != text) combo_->setEditText(text);
}

void TComboBox::TakeUserChange() {
  int index = combo_->currentIndex();
  std::string text = combo_->currentText().toStdString();
  if (index == itemIndex_ && text == Text()) return;
  itemIndex_ = index;
  SetText(text);
  Change();
}

void TComboBox::Dispatch(TMessage& message) {
  if (message.Msg != CM_TEXTCHANGED) {
    TNativeControl::Dispatch(message);
    return;
  }
  bool chosen = itemIndex_ >= 0 && items_->Get(itemIndex_) == Text();
  if (!Editable() && !chosen && !ComponentState().Contains(csLoading)) {
    // Without an edit box the text can only be the chosen item's: choose the item it names, else
    // keep the choice, and show the item's own spelling.
    if (int found = items_->IndexOf(Text()); found >= 0) itemIndex_ = found;
    std::string shown = itemIndex_ >= 0 ? items_->Get(itemIndex_) : std::string();
    if (shown != Text()) {
      SetText(shown);  // this message comes again with the text it may have
      return;
    }
  }
  PushState();
}
