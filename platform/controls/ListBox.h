#pragma once
// TListBox: a list of strings over QListWidget. The user's choice moves ItemIndex and fires
// OnClick; a double click on an item fires OnDblClick with ItemIndex on that item. Items are kept by
// the control (see ItemStrings.h).

#include "platform/controls/ItemStrings.h"
#include "platform/controls/NativeControl.h"

class QListWidget;

class TListBox : public TNativeControl, private TItemsHost {
  DECLARE_CLASS(TListBox)

 public:
  void Create(TComponent* owner) override;

  TStrings* Items() const { return items_; }
  void SetItems(TStrings* v) { items_->Assign(v); }
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool v) { items_->SetSorted(v); }
  // The current item, -1 for none; in a single-selection list also the selected one.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int v);
  // Several items may be selected (with Shift and Ctrl as the desktop does it).
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  // The selection lives on the window; asking for it makes the window.
  bool Selected(int index);
  void SetSelected(int index, bool v);
  int SelCount();

 protected:
  void Destroy() override;
  QWidget* CreateWidget() override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void ItemsChanged(TItemsChange change, int index) override;
  void ItemsUpdating(bool updating) override;
  void PushItems();
  void PushItemIndex();
  QListWidget* Lister();

  QListWidget* list_ = nullptr;
  TItemStrings* items_ = nullptr;
  int itemIndex_ = -1;
  bool multiSelect_ = false;
};
