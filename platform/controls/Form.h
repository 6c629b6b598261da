#pragma once
// TForm: a window of the application: a top-level window, a multiple-document frame, or a child
// inside such a frame. The form's window is its client area; a frame widget around it carries the
// menu bar and is what the window manager (or the frame's document area) places.
//
// A form whose class has a layout (Layouts.h) reads it while it is created, with itself as root:
// properties, components, fields, event bindings and references, then Loaded; OnCreate follows.

#include <memory>
#include <vector>

#include "platform/controls/WinControl.h"

class QMdiArea;
class QMenuBar;
class TMainMenu;
class TMenuItem;
class QMdiSubWindow;
class QWidget;

ENUMERATION(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
            poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
ENUMERATION(TCloseAction, caNone, caHide, caFree, caMinimize)
ENUMERATION(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
ENUMERATION(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
SET_OF(TBorderIcons, TBorderIcon)
ENUMERATION(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
ENUMERATION(TWindowState, wsNormal, wsMinimized, wsMaximized)

// Results of a modal form; a button with a modal result ends the modal loop with it.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrAbort = 3;
constexpr int mrRetry = 4;
constexpr int mrIgnore = 5;
constexpr int mrYes = 6;
constexpr int mrNo = 7;
constexpr int mrAll = 8;

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

class TCustomForm : public TWinControl {
  DECLARE_CLASS(TCustomForm)

 public:
  void Create(TComponent* owner) override;
  void AfterConstruction() override;

  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle v);
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState v);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  // The menu shown as the window's menu bar.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* v);
  // The menu item that lists the children of a multiple-document frame, the active one checked.
  TMenuItem* WindowMenu() const { return windowMenu_; }
  void SetWindowMenu(TMenuItem* v);

  TRect ClientRect() const override;
  bool Showing() const override;
  // Makes the window visible (and the form's window, if it has none yet).
  void Show();
  // Asks OnCloseQuery, then runs OnClose with the close action: hide (the default; free for a
  // document child), free (later, from the event loop), minimise or nothing. Closing the main
  // form ends the application.
  void Close();
  virtual bool CloseQuery();
  // Frees the form from the event loop, after the current message; nothing more happens when the
  // form has been freed otherwise by then.
  void Release();
  // Shows the form modally and runs a nested event loop until ModalResult is set or the form
  // closes; returns the result (mrCancel when it was closed without one).
  int ShowModal();
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int v) { modalResult_ = v; }

  // The control of this form that has the keyboard focus, or null.
  TWinControl* ActiveControl() const;
  // Gives the focus to the first tab stop of the tab order.
  void SelectFirst();

  // The document area of a multiple-document frame, and what it holds.
  QMdiArea* MdiArea() const { return mdiArea_; }
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int index) const;
  TCustomForm* ActiveMDIChild() const;
  void Cascade();
  void TileHorizontal();
  void TileVertical();
  void MinimizeAll();
  void ArrangeIcons();
  // The frame widget the window manager or the document area places.
  QWidget* FrameWidget() const { return frame_; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void Dispatch(TMessage& message) override;
  // Called by the frame widget.
  void FrameGeometryChanged();
  void FrameActivated(bool active);
  void FrameCloseRequested();

 protected:
  void Destroy() override;
  QWidget* CreateWidget() override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void ApplyBounds() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void Notification(TComponent* component, TOperation operation) override;
  bool PreviewKey(UINT msg, WPARAM& key) override;
  // Tab and Shift+Tab move the focus along the tab order; Enter clicks the focused bit button or
  // the default button, Escape the cancel button.
  bool DialogKey(uint16_t key, TShiftState shift, TWinControl* from) override;
  void SetVisible(bool v) override;
  void Loaded() override;
  virtual void DoShow() { OnShow(this); }
  virtual void DoHide() { OnHide(this); }
  void ApplyWindowFlags();
  // Gives the window its caption as title (see there for a document window without a border).
  void ApplyTitle();
  void PlaceCascaded();
  void ApplyMenu();
  // Lists the document children in the window menu; called whenever they change.
  void UpdateWindowMenu();
  TCustomForm* FrameForm() const;

 private:
  TPosition position_ = poDesigned;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TFormStyle formStyle_ = fsNormal;
  TWindowState windowState_ = wsNormal;
  bool keyPreview_ = false;
  int modalResult_ = mrNone;
  TMainMenu* menu_ = nullptr;
  TMenuItem* windowMenu_ = nullptr;
  std::vector<TMenuItem*> windowItems_;  // the items UpdateWindowMenu added
  QMenuBar* menuBar_ = nullptr;
  bool placed_ = false;
  bool inModal_ = false;
  QWidget* frame_ = nullptr;
  QMdiSubWindow* subWindow_ = nullptr;
  QMdiArea* mdiArea_ = nullptr;
};

class TForm : public TCustomForm {
  DECLARE_CLASS(TForm)
};

// The form a control lies on, or null.
TCustomForm* GetParentForm(TControl* control);
