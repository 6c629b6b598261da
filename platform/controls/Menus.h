#pragma once
// Menus: trees of menu items shown by Qt's own menu bar and menus.
//
// Every TMenuItem carries a QAction with its caption ("&" marks the accelerator, "-" makes a
// separator), shortcut, check mark, enabled and visible state and image; an item with children
// also has a QMenu that the action opens. A TMenu holds the invisible root item whose children are
// the top-level items: a TMainMenu shows them in menu bars (CreateMenuBar), a TPopupMenu in a
// context menu (Popup). Items can be added, removed and moved between menus at any time; the Qt
// objects follow.
//
// A click on an item (or its shortcut) runs the item's Click from the event loop, after Qt has
// finished with the menu, so that a handler may free the item, its menu or its window. Click runs
// OnClick or executes the item's action.
//
// In a stream, items are children of their menu or parent item:
//   object MainMenu1: TMainMenu
//     object File1: TMenuItem  Caption = '&File'
//       object FileExit1Item: TMenuItem  Action = FileExit1  end
//     end
//   end

#include <QPointer>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/ActnList.h"
#include "platform/controls/Control.h"
#include "platform/controls/ShortCuts.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class TImageList;
class TMenu;

class TMenuItem : public TComponent {
  DECLARE_CLASS(TMenuItem)

 public:
  void Create(TComponent* owner) override;

  // ---- the tree ----
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EListError for an index out of range.
  TMenuItem* Items(int index) const;
  const std::vector<TMenuItem*>& ItemList() const { return items_; }
  TMenuItem* Parent() const { return parent_; }
  // The menu whose tree holds this item, if any.
  TMenu* GetParentMenu() const;
  // Raise EMenuError when the item already has a parent (remove it first) or is this item or one of
  // its ancestors.
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Detaches an item without freeing it; nothing when it is not a child.
  void Remove(TMenuItem* item);
  // Frees the child at `index`, or all children.
  void Delete(int index);
  void Clear();
  int IndexOf(const TMenuItem* item) const;
  // The position among the parent's items; moving it reorders the parent's menu.
  int MenuIndex() const;
  void SetMenuIndex(int v);
  // The child whose caption, without its "&", is `caption` (ignoring case); null if none.
  TMenuItem* Find(const std::string& caption) const;

  // ---- properties ----
  // Takes the action's values (see ActnList.h) and follows their changes; null unlinks the item,
  // which keeps the values it has.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* v);
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool v) { autoCheck_ = v; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  bool IsLine() const { return caption_ == "-"; }
  // A checked radio item unchecks the radio items of its parent that share its GroupIndex.
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v);
  // The image of the parent menu's Images; -1 for none.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool v);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  // Further keys that click the item, not shown beside it (Ctrl+Shift+Z beside Ctrl+Y); not stored.
  const std::vector<TShortCut>& SecondaryShortCuts() const { return secondaryShortCuts_; }
  void SetSecondaryShortCuts(std::vector<TShortCut> keys);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);

  // Runs OnClick, or executes the action when there is no handler of the item's own; nothing for
  // a disabled item. AutoCheck toggles Checked first.
  virtual void Click();
  // Updates the item's action, as happens before a menu opens.
  void InitiateAction();
  TNotifyEvent OnClick;

  // ---- Qt ----
  // The item's action in Qt's menus; it lives as long as the item.
  QAction* QtAction() const { return qaction_; }
  // The menu of the item's children, made on first use. Actions that other code adds to it stay
  // after the items (a window list, for instance).
  QMenu* QtMenu();

  // Stored conditions: values taken from the action are not stored.
  bool IsCaptionStored() const;
  bool IsCheckedStored() const;
  bool IsEnabledStored() const;
  bool IsHintStored() const;
  bool IsImageIndexStored() const;
  bool IsShortCutStored() const;
  bool IsVisibleStored() const;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

 protected:
  void Destroy() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Copies the action's values; `checkDefaults` copies only into values still at their defaults.
  virtual void ActionChange(TBasicAction* sender, bool checkDefaults);

 private:
  friend class TMenu;
  class Link;
  Link* ActionLink() const;
  void CheckInsert(TMenuItem* item) const;
  // Brings the Qt menu in step with the children, and tells the menu when this is its root.
  void ChildrenChanged();
  void UpdateIcon();
  void UpdateIcons();  // of this item and all below
  void TurnSiblingsOff();
  void ClickFromQt();

  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item only
  std::vector<TMenuItem*> items_;
  std::unique_ptr<TActionLink> link_;
  QAction* qaction_ = nullptr;
  QMenu* qmenu_ = nullptr;

  bool autoCheck_ = false;
  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  int groupIndex_ = 0;
  std::string hint_;
  int imageIndex_ = -1;
  bool radioItem_ = false;
  TShortCut shortCut_ = 0;
  std::vector<TShortCut> secondaryShortCuts_;
  void ApplyShortCuts();
  bool visible_ = true;
};

class EMenuError : public Exception {
  using Exception::Exception;
};

class TMenu : public TComponent {
  DECLARE_CLASS(TMenu)

 public:
  void Create(TComponent* owner) override;

  // The root item: its children are the menu's top-level items.
  TMenuItem* Items() const { return items_; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);
  // The enabled and visible item of that shortcut anywhere in the menu; null if none.
  TMenuItem* FindShortCut(TShortCut shortCut) const;

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

 protected:
  void Destroy() override;
  void Notification(TComponent* component, TOperation operation) override;
  // The top-level items were added, removed or reordered.
  virtual void ItemsChanged() {}

 private:
  friend class TMenuItem;
  TMenuItem* items_ = nullptr;
  TImageList* images_ = nullptr;
};

class TMainMenu : public TMenu {
  DECLARE_CLASS(TMainMenu)

 public:
  // Makes a menu bar that shows the top-level items, for a form whose Menu this is, and keeps it
  // in step with them. The bar is a child widget of `parent`, which owns it and places it; it is
  // shown unless `parent` is hidden. Once this menu is destroyed the bar stays empty.
  QMenuBar* CreateMenuBar(QWidget* parent);

 protected:
  void ItemsChanged() override;

 private:
  std::vector<QPointer<QMenuBar>> bars_;
};

class TPopupMenu : public TMenu {
  DECLARE_CLASS(TPopupMenu)

 public:
  void Create(TComponent* owner) override;

  // Shows the menu with its top-left corner at a screen point and returns at once: OnPopup runs
  // first, then the items' actions are updated. An item chosen later runs its Click from the event
  // loop.
  virtual void Popup(int x, int y);
  // The menu's Qt menu, shown by Popup.
  QMenu* QtMenu() const;
  TPoint PopupPoint() const { return popupPoint_; }

  // Whether a right click on a control whose PopupMenu this is shows it (see ShowPopupMenuOf).
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool v) { autoPopup_ = v; }
  // The control that showed the menu last.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* v);

  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
  TPoint popupPoint_;
};

// The context-menu request of a control (a right-button release): shows the popup menu of the
// control, or of the nearest parent that has one, at a screen point, with that control as the
// menu's PopupComponent. False (and nothing shown) when no popup menu is found or the one found
// has AutoPopup off.
bool ShowPopupMenuOf(TControl* control, TPoint screen);
