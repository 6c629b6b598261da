#pragma once
// TComboBox: a combo box over QComboBox. csDropDown (and csSimple, which Qt shows the same way) has
// an edit box; csDropDownList and the owner-draw styles only choose from the list. Text and
// ItemIndex follow the user; OnChange fires when the user changes either (not when code does), and
// OnDropDown just before the list opens. Items are kept by the control (see ItemStrings.h).

#include "platform/controls/ItemStrings.h"
#include "platform/controls/NativeControl.h"

class QComboBox;

ENUMERATION(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)

class TComboBox : public TNativeControl, private TItemsHost {
  DECLARE_CLASS(TComboBox)

 public:
  void Create(TComponent* owner) override;

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v);
  // Whether the style has an edit box.
  bool Editable() const { return style_ == csDropDown || style_ == csSimple; }
  TStrings* Items() const { return items_; }
  void SetItems(TStrings* v) { items_->Assign(v); }
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool v) { items_->SetSorted(v); }
  // -1 for none. Choosing an item makes its string the text; without an edit box the text is
  // always the chosen item's, and setting the text chooses the item that matches it.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int v);
  // Rows the open list shows before it scrolls.
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int v);
  // Pixels per item of the list; kept for the layouts that state it. Qt sizes the items itself.
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int v) { itemHeight_ = v; }
  bool DroppedDown();
  void SetDroppedDown(bool v);

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;

  void Dispatch(TMessage& message) override;

 protected:
  void Destroy() override;
  void Loaded() override;
  QWidget* CreateWidget() override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Change() { OnChange(this); }
  virtual void DropDown() { OnDropDown(this); }
  // The open list takes Enter (to choose) and Escape (to close) from the form's buttons.
  bool WantsDialogKey(uint16_t key) const override;

 private:
  void ItemsChanged(TItemsChange change, int index) override;
  void ItemsUpdating(bool updating) override;
  // Makes the text the chosen item's (without an edit box, or when `always`).
  void TextFromItem(bool always);
  void SetStyleOfWidget();
  // Shows the control's items, choice and text in the widget.
  void PushItems();
  void PushState();
  // The user changed the widget's text or choice: take them and report the change.
  void TakeUserChange();

  QComboBox* combo_ = nullptr;
  TItemStrings* items_ = nullptr;
  TComboBoxStyle style_ = csDropDown;
  int itemIndex_ = -1;
  int dropDownCount_ = 8;
  int itemHeight_ = 16;
};
