#pragma once
// TPageControl and TTabSheet: Qt's tab widget, whose pages are tab sheets, controls that hold
// other controls.
//
// The sheets are the page control's children; their order is the order of the tabs (PageIndex). A
// sheet fills the page area of the tab widget (DisplayRect), whatever bounds it is given. The
// first sheet added becomes the active page when none is. A click on another tab asks OnChanging,
// which may refuse, and then reports OnChange; setting ActivePage reports nothing.

#include <string>
#include <vector>

#include "platform/controls/WinControl.h"

class QTabWidget;
class TPageControl;

using TTabChangingEvent = TEvent<TObject*, bool&>;

class TTabSheet : public TWinControl {
  DECLARE_CLASS(TTabSheet)

 public:
  void Create(TComponent* owner) override;

  TPageControl* PageControl() const;
  void SetPageControl(TPageControl* v);
  // The position among the page control's sheets; -1 outside one.
  int PageIndex() const;
  void SetPageIndex(int v);
  // A sheet whose tab is hidden stays among the pages but can't be chosen.
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);

  bool IsFontStored() const { return !ParentFont(); }

  // Only the active page is showing: the others keep Visible but are out of sight.
  bool Showing() const override;

  void Dispatch(TMessage& message) override;

 protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  void BoundsChanged(const TRect& old) override;

 private:
  bool tabVisible_ = true;
};

class TPageControl : public TWinControl {
  DECLARE_CLASS(TPageControl)

 public:
  void Create(TComponent* owner) override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const;
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* v);
  int ActivePageIndex() const;
  void SetActivePageIndex(int v);
  // The page area in client coordinates: where the sheets go.
  TRect DisplayRect() const;
  // The tab widget, or null without a window.
  QTabWidget* TabWidget() const;

  bool IsFontStored() const { return !ParentFont(); }

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void Dispatch(TMessage& message) override;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

 protected:
  QWidget* CreateWidget() override;
  void CreateWnd() override;
  void BoundsChanged(const TRect& old) override;

 private:
  friend class TTabSheet;
  // Puts the sheets that have windows into the tab widget, in page order, with their captions.
  void SyncTabs();
  // Gives every sheet the page area.
  void PlaceSheets();
  void TabChanged(int tabIndex);
  // Asks OnChanging before a click on the tab under a client point switches pages; false to keep
  // the page.
  bool AllowTabClick(TPoint at);
  void PageInserted(TTabSheet* page);
  // Takes a sheet's window out of the tab widget before the window goes.
  void DetachTab(TTabSheet* page);
  void PageRemoved(TTabSheet* page);

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
  bool syncing_ = false;
};
