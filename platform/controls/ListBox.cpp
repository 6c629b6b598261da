#include "platform/controls/ListBox.h"

#include <QFocusEvent>
#include <QListWidget>
#include <QSignalBlocker>

#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TListBox, TNativeControl) {
  c.Prop("Align", &TListBox::Align, &TListBox::SetAlign).Default(alNone);
  c.Prop("Color", &TListBox::Color, &TListBox::SetColor).Type(ColorType()).Default(clWindow).Stored(&TListBox::IsColorStored);
  c.Prop("Enabled", &TListBox::Enabled, &TListBox::SetEnabled).Default(true);
  c.Prop("Font", &TListBox::Font, &TListBox::SetFont).Stored(&TListBox::IsFontStored);
  c.Prop("Items", &TListBox::Items, &TListBox::SetItems);
  c.Prop("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect).Default(false);
  c.Prop("ParentColor", &TListBox::ParentColor, &TListBox::SetParentColor).Default(false);
  c.Prop("ParentFont", &TListBox::ParentFont, &TListBox::SetParentFont).Default(true);
  c.Prop("PopupMenu", &TListBox::PopupMenu, &TListBox::SetPopupMenu);
  c.Prop("Sorted", &TListBox::Sorted, &TListBox::SetSorted).Default(false);
  c.Prop("Visible", &TListBox::Visible, &TListBox::SetVisible).Default(true);
  c.Event("OnClick", &TListBox::OnClick);
  c.Event("OnDblClick", &TListBox::OnDblClick);
  c.Event("OnEnter", &TListBox::OnEnter);
  c.Event("OnExit", &TListBox::OnExit);
  c.Event("OnKeyDown", &TListBox::OnKeyDown);
  c.Event("OnKeyPress", &TListBox::OnKeyPress);
  c.Event("OnKeyUp", &TListBox::OnKeyUp);
  c.Event("OnMouseDown", &TListBox::OnMouseDown);
  c.Event("OnMouseMove", &TListBox::OnMouseMove);
  c.Event("OnMouseUp", &TListBox::OnMouseUp);
}

namespace {
// Qt makes the first item current when a list without a current item gets the focus; that is no
// choice of the user's, and the list stays without one.
class ListWidget : public QListWidget {
 protected:
  void focusInEvent(QFocusEvent* e) override {
    QSignalBlocker quiet(this);
    bool none = currentRow() < 0;
    QListWidget::focusInEvent(e);
    if (none && currentRow() >= 0) selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
  }
};
}  // namespace

void TListBox::Create(TComponent* owner) {
  TNativeControl::Create(owner);
  items_ = New<TItemStrings>(static_cast<TItemsHost*>(this));
  SetBounds(0, 0, 121, 97);
}

void TListBox::Destroy() {
  DestroyHandle();
  FreeAndNil(items_);
  TNativeControl::Destroy();
}

QWidget* TListBox::CreateWidget() {
  list_ = new ListWidget();
  // Lines of one font and one line each: the list need not measure every line to lay out, which
  // for thousands of lines would cost more than the lines themselves.
  list_->setUniformItemSizes(true);
  QObject::connect(list_, &QListWidget::currentRowChanged, list_, [this](int row) {
    FromWidget([this, row] {
      itemIndex_ = row;
      Click();
    });
  });
  QObject::connect(list_, &QListWidget::itemDoubleClicked, list_, [this](QListWidgetItem* item) {
    FromWidget([this, item] {
      itemIndex_ = list_->row(item);
      DblClick();
    });
  });
  return list_;
}

void TListBox::CreateWnd() {
  TNativeControl::CreateWnd();
  {
    WidgetChange change(*this);
    list_->setSelectionMode(multiSelect_ ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  }
  PushItems();
}

void TListBox::DestroyWnd() {
  list_ = nullptr;
  TNativeControl::DestroyWnd();
}

QListWidget* TListBox::Lister() {
  HandleNeeded();
  return list_;
}

void TListBox::SetItemIndex(int v) {
  if (v < 0 || v >= items_->Count()) v = -1;
  itemIndex_ = v;
  PushItemIndex();
}

void TListBox::SetMultiSelect(bool v) {
  if (multiSelect_ == v) return;
  multiSelect_ = v;
  if (!list_) return;
  WidgetChange change(*this);
  list_->setSelectionMode(v ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool TListBox::Selected(int index) {
  QListWidgetItem* item = Lister()->item(index);
  if (!item) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return item->isSelected();
}

void TListBox::SetSelected(int index, bool v) {
  QListWidgetItem* item = Lister()->item(index);
  if (!item) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  WidgetChange change(*this);
  item->setSelected(v);
}

int TListBox::SelCount() { return static_cast<int>(Lister()->selectedItems().size()); }

void TListBox::ItemsChanged(TItemsChange change, int index) {
  itemIndex_ = FollowItem(itemIndex_, change, index);
  if (!list_) return;
  {
    WidgetChange widgetChange(*this);
    switch (change) {
      case TItemsChange::Inserted: list_->insertItem(index, QString::fromStdString(items_->Get(index))); break;
      case TItemsChange::Deleted: delete list_->takeItem(index); break;
      case TItemsChange::Changed: list_->item(index)->setText(QString::fromStdString(items_->Get(index))); break;
      case TItemsChange::Reset: PushItems(); break;
    }
  }
  PushItemIndex();
}

void TListBox::ItemsUpdating(bool updating) {
  if (list_) list_->setUpdatesEnabled(!updating);
}

void TListBox::PushItems() {
  if (!list_) return;
  WidgetChange change(*this);
  list_->clear();
  QStringList lines;
  lines.reserve(items_->Count());
  for (int i = 0; i < items_->Count(); ++i) lines << QString::fromStdString(items_->Get(i));
  list_->addItems(lines);
  list_->setCurrentRow(itemIndex_);
}

void TListBox::PushItemIndex() {
  if (!list_ || list_->currentRow() == itemIndex_) return;
  WidgetChange change(*this);
  list_->setCurrentRow(itemIndex_);
}
