#pragma once
// TRadioGroup: a captioned group of radio buttons over QGroupBox, one button per item, laid out in
// Columns columns that fill top to bottom. ItemIndex is the checked item (-1: none); OnClick fires
// when the user checks another item. Items are kept by the control (see ItemStrings.h).

#include <vector>

#include "platform/controls/ItemStrings.h"
#include "platform/controls/NativeControl.h"

class QButtonGroup;
class QGroupBox;

class TRadioGroup : public TNativeControl, private TItemsHost {
  DECLARE_CLASS(TRadioGroup)

 public:
  void Create(TComponent* owner) override;

  TStrings* Items() const { return items_; }
  void SetItems(TStrings* v) { items_->Assign(v); }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int v);
  int Columns() const { return columns_; }
  // From 1 to 16.
  void SetColumns(int v);

  // The focus goes to the checked button (the first one when none is checked).
  void SetFocus() override;

  void Dispatch(TMessage& message) override;

 protected:
  void Destroy() override;
  void Loaded() override;
  QWidget* CreateWidget() override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void ItemsChanged(TItemsChange change, int index) override;
  void ItemsUpdating(bool updating) override;
  // Makes one button per item, in the columns.
  void PushButtons();
  void PushItemIndex();

  QGroupBox* box_ = nullptr;
  QButtonGroup* buttons_ = nullptr;
  TItemStrings* items_ = nullptr;
  int itemIndex_ = -1;
  int columns_ = 1;
};
