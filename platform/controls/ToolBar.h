#pragma once
// TToolBar and TToolButton: a bar that lays out its buttons in order, left to right, and Qt tool
// buttons that show a caption and an image of the bar's image list and may be bound to an action.
//
// Buttons are ButtonWidth by ButtonHeight (separators keep their own width) and start Indent
// pixels in, below the etched top edge (EdgeBorders). A Wrapable bar starts a new row when a
// button would cross its right edge. An AutoSize bar fits itself around its buttons: a bar aligned
// to the left or right takes their width in one row, any other its rows' height.
//
// A check button (tbsCheck) stays down after a click until the next; adjacent Grouped check
// buttons keep one of them down, unless AllowAllUp. A click runs the button's Click from the
// event loop, after Qt has finished with the button, so that the handler may free the window.

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/ActnList.h"
#include "platform/controls/GraphicControl.h"

class TImageList;
class TPopupMenu;
class TToolBar;

ENUMERATION(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider)
ENUMERATION(TEdgeBorder, ebLeft, ebTop, ebRight, ebBottom)
SET_OF(TEdgeBorders, TEdgeBorder)

class TToolButton : public TWinControl {
  DECLARE_CLASS(TToolButton)

 public:
  void Create(TComponent* owner) override;

  TToolBar* ToolBar() const;
  // The position among the bar's buttons; -1 outside a bar.
  int Index() const;

  // Takes the action's caption, enabled, visible, hint and image, shows its Checked as Down, and
  // executes it when clicked (see ActnList.h).
  TBasicAction* Action() const;
  void SetAction(TBasicAction* v);
  // The menu a drop-down button (tbsDropDown) shows under itself when pressed.
  TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu* v);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  // Pressed in. A grouped check button that is down is raised only by another of its group,
  // unless AllowAllUp.
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool v) { grouped_ = v; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle v);
  bool IsSeparator() const { return style_ == tbsSeparator || style_ == tbsDivider; }

  // Runs OnClick, or executes the action when there is no handler of the button's own.
  void Click() override;
  // Updates the button's action, as the idle loop does.
  void InitiateAction();

  bool IsCaptionStored() const;
  bool IsDownStored() const;
  bool IsEnabledStored() const;
  bool IsHintStored() const;
  bool IsImageIndexStored() const;
  bool IsVisibleStored() const;

  void Dispatch(TMessage& message) override;

 protected:
  void Destroy() override;
  QWidget* CreateWidget() override;
  void CreateWnd() override;
  void BoundsChanged(const TRect& old) override;
  void Notification(TComponent* component, TOperation operation) override;
  // Copies the action's values; `checkDefaults` copies only into values still at their defaults.
  virtual void ActionChange(TBasicAction* sender, bool checkDefaults);

 private:
  friend class TToolBar;
  class Link;
  Link* ActionLink() const;
  // Brings the Qt button in step with the button and its bar.
  void UpdateWidget();
  // Qt reports a click, after toggling the check of the button by itself.
  void Clicked(bool checked);
  void ClickFromQt();
  void RaiseGroup();

  std::unique_ptr<TActionLink> link_;
  TPopupMenu* dropdownMenu_ = nullptr;
  bool allowAllUp_ = false;
  bool down_ = false;
  bool grouped_ = false;
  std::string hint_;
  int imageIndex_ = -1;
  TToolButtonStyle style_ = tbsButton;
};

class TToolBar : public TCustomControl {
  DECLARE_CLASS(TToolBar)

 public:
  void Create(TComponent* owner) override;

  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TToolButton* Buttons(int index) const;

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int v);
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int v);
  TEdgeBorders EdgeBorders() const { return edgeBorders_; }
  void SetEdgeBorders(TEdgeBorders v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);
  int Indent() const { return indent_; }
  void SetIndent(int v);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool v);
  bool Wrapable() const { return wrapable_; }
  void SetWrapable(bool v);

  // Places the buttons and, when AutoSize, sizes the bar.
  void ArrangeButtons();

  bool IsColorStored() const { return !ParentColor(); }
  bool IsFontStored() const { return !ParentFont(); }

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void Dispatch(TMessage& message) override;

 protected:
  void Destroy() override;
  void Loaded() override;
  void Paint() override;
  void BoundsChanged(const TRect& old) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TToolButton;
  void ButtonsChanged();  // every button shows the bar's settings again

  std::vector<TToolButton*> buttons_;
  bool autoSize_ = false;
  int buttonHeight_ = 22;
  int buttonWidth_ = 23;
  TEdgeBorders edgeBorders_{ebTop};
  bool flat_ = false;
  TImageList* images_ = nullptr;
  int indent_ = 0;
  bool showCaptions_ = false;
  bool wrapable_ = true;
  bool arranging_ = false;
};
