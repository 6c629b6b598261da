#pragma once
// TWinControl: a control with a window of its own. The window (a Qt widget) is made when the
// handle is first needed and may be destroyed and made again while the control lives on; its
// procedure is the control's MainWndProc, which runs WindowProc inside the error boundary. Child
// controls are listed window-less ones first, then windowed ones, each in z-order from the bottom.

#include <vector>

#include "platform/controls/Control.h"
#include "platform/win/DeviceContext.h"

class QWidget;

class TWinControl : public TControl {
  DECLARE_CLASS(TWinControl)

 public:
  void Create(TComponent* owner) override;

  HWND Handle();
  bool HandleAllocated() const { return handle_ != 0; }
  void HandleNeeded() { Handle(); }
  // Destroys the window and makes a new one, as a change of some properties requires.
  void RecreateWnd();
  void DestroyHandle();
  // The window's procedure before the control's own: where DefaultHandler sends messages.
  WNDPROC DefWndProc() const { return defWndProc_; }

  int ControlCount() const { return static_cast<int>(controls_.size() + winControls_.size()); }
  TControl* Controls(int index) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // Moves a child to a position among the children of its kind (window-less or windowed).
  void SetChildOrder(TComponent* child, int order) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  TComponent* GetChildParent() override { return this; }
  // The topmost child without a window of its own under a client point (also windowed ones when
  // asked), visible and, unless `allowDisabled`, enabled.
  TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls = false) const;
  bool ContainsControl(const TControl* control) const;

  void SetBounds(int left, int top, int width, int height) override;
  TPoint ClientOrigin() const override;
  bool Showing() const override;

  bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  // The position among the parent's windowed children in the order Tab visits them; -1 without a
  // parent. Setting it moves the control there (clamped) and the others after it along; while the
  // control is read, the value waits until its parent has read all its children.
  int TabOrder() const;
  void SetTabOrder(int v);
  // Whether Tab stops at the control.
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }
  // The windowed controls inside this one in the order Tab visits them: each child in tab order,
  // followed by the controls inside it.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  // The control after `current` (before it, going back) in the tab order list that can take the
  // focus, is showing (not on a page out of sight), is a tab stop when `checkTabStop`, and is a
  // child of this control when `checkParent`;
  // the search wraps around. Null when there is none.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
  // Moves the focus to that control; nothing when there is none.
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
  void Realign();
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();

  void ReadState(TReader& reader) override;

  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void BringToFront() override;
  void SendToBack() override;

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

 protected:
  void Destroy() override;
  // The read is over: a TabOrder read that no parent placed is dropped.
  void Loaded() override;
  // Makes the widget of the window; a native control returns its Qt widget.
  virtual QWidget* CreateWidget();
  // After the window exists: settings that live on the widget.
  virtual void CreateWnd();
  virtual void DestroyWnd();
  virtual void AlignControls(TControl* control, TRect& rect);
  // Paints the window: background, the control's own painting, then the window-less children.
  void PaintHandler(TMessage& message);
  virtual void PaintWindow(HDC dc);
  void PaintControls(HDC dc);
  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char32_t& key);
  void BoundsChanged(const TRect& old) override;
  // Puts the window where the control's bounds say; a form moves its frame instead.
  virtual void ApplyBounds();
  // The topmost control of the parent chain sees key messages before the focused control when
  // it asks to (a form's KeyPreview); true means it kept the key.
  virtual bool PreviewKey(UINT msg, WPARAM& key);
  // Tab, Enter and Escape without Ctrl or Alt that the focused control leaves alone (WantsDialogKey
  // false) go to the topmost control of the parent chain before anything else sees them: a form
  // moves the focus or presses its default or cancel button. When DialogKey returns true the key
  // (with its character) is used up: no key event, no key preview, and the widget never sees it.
  // `from` is the control whose window got the key; it may be gone once DialogKey returns.
  virtual bool WantsDialogKey(uint16_t) const { return false; }
  virtual bool DialogKey(uint16_t, TShiftState, TWinControl*) { return false; }
  void VisibleChanging() override;
  void UpdateWidgetFromControl();
  // Windows of controls that are not in this control's owner tree are not design targets; the
  // designer uses this test, and so does the mouse routing below.
  bool IsControlMouseMsg(TMessage& message);

 private:
  void MainWndProc(TMessage& message);
  void CreateHandle();
  void PlaceAmongSiblings();
  void UpdateShowing();
  void SetCursorFromPoint(TMessage& message);
  bool KeyPreviewed(TMessage& message);
  // Offers a key down to the dialog keys; true when it was used up.
  bool DialogKeyTaken(const TMessage& message);
  // Puts the children of this control in the tab order their stream gave them.
  void FixupTabList();

  HWND handle_ = 0;
  QWidget* widget_ = nullptr;
  WNDPROC objectInstance_ = 0;
  WNDPROC defWndProc_ = 0;
  std::vector<TControl*> controls_;     // window-less children, bottom first
  std::vector<TWinControl*> winControls_;  // windowed children, bottom first
  std::vector<TWinControl*> tabList_;      // windowed children in tab order
  int readTabOrder_ = -1;                  // the TabOrder read, until the parent places it or the read ends
  bool tabStop_ = false;
  int alignDisabled_ = 0;
  bool alignPending_ = false;
};

// The modifier keys held now, as key messages report them.
TShiftState KeyShiftState();
