#pragma once
// TForm: a top-level window. This is the form's core: caption, client size, placement, showing,
// closing with its close action, and the creation and show events.

#include "platform/controls/WinControl.h"

ENUMERATION(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
            poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
ENUMERATION(TCloseAction, caNone, caHide, caFree, caMinimize)

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

class TCustomForm : public TWinControl {
  DECLARE_CLASS(TCustomForm)

 public:
  void Create(TComponent* owner) override;
  void AfterConstruction() override;

  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  bool Showing() const override;
  // Makes the window visible (and the form's window, if it has none yet).
  void Show();
  // Asks OnCloseQuery, then runs OnClose with the close action: hide (the default), free (later,
  // from the event loop), minimise or nothing. Closing the main form ends the application.
  void Close();
  virtual bool CloseQuery();
  // Frees the form from the event loop, after the current message.
  void Release();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void Dispatch(TMessage& message) override;

 protected:
  void Destroy() override;
  QWidget* CreateWidget() override;
  void CreateWnd() override;
  void SetVisible(bool v) override;
  virtual void DoShow() { OnShow(this); }
  virtual void DoHide() { OnHide(this); }

 private:
  TPosition position_ = poDesigned;
  bool placed_ = false;
};

class TForm : public TCustomForm {
  DECLARE_CLASS(TForm)
};
