#pragma once
// TDsnCtrl: the design agent of one windowed control while design mode is on. It subclasses the
// control's window (TClientAgent), so that the control no longer reacts to the mouse or takes the
// focus: presses, drags, double-clicks and right clicks become register operations, the focus goes
// to the stage instead, and everything else still reaches the control's own procedure. Controls
// without a window are served by the agent of the window they sit on, which finds them under the
// mouse.
//
// Life: the register makes the agent (New<TDsnCtrl>(control)), links it (SetDsnRegister) and frees
// it when design mode stops. When the control's window is destroyed, the agent lets go of it and
// posts DM_AGENTDONE to the stage with a posted reference to itself; the stage then frees it when
// the register has marked it released (the control is gone), or hooks the control's new window.
// A released agent whose window is gone never waits for that message alone: the message may be
// dropped (the stage's window went first, or there is no stage), so such an agent also frees
// itself from the event loop. Whichever comes first frees it; the other finds it gone. Hence the
// register must not touch an agent once it has marked it released, except to free it at once.

#include "design/DsnAgent.h"
#include "design/DsnUnit.h"

class TDsnCtrl : public TClientAgent {
  DECLARE_CLASS(TDsnCtrl)

 public:
  void Create(TWinControl* control);

  // The register that made the agent and hears its mouse reports; held weakly.
  TCustomDsnRegister* DsnRegister() const { return register_.get(); }
  void SetDsnRegister(TCustomDsnRegister* value) { register_ = value; }
  // Set by the register when it drops the agent because its control is being destroyed.
  bool Released() const override { return released_; }
  void SetReleased(bool value);
  // Where the last mouse message was, in the control's client coordinates.
  TPoint MousePoint() const { return mousePoint_; }

  // A lost capture keeps the current target: the release that follows still belongs to it.
  void CaptureChanged() override;
  void WndProc(TMessage& message) override;
  // Also ends a mouse capture of the window: an agent that goes while a button is down (design
  // mode stopped by the register's code) must not leave the mouse with the control.
  void Unhook() override;

 protected:
  // Shows the arrow over the control, remembering its own cursor, and repaints it.
  void AttachControl() override;
  // Unless released, gives the control its own cursor back and repaints it.
  void DetachControl() override;

  // The message handlers, one per message of the design table.
  virtual void WMLButtonDown(TMessage& message);
  virtual void WMMouseMove(TMessage& message);
  virtual void WMLButtonUp(TMessage& message);
  virtual void WMPaint(TMessage& message);
  virtual void DMSetTarget(TMessage& message);
  virtual void DMTargetSized(TMessage& message);
  virtual void DMHandlesShown(TMessage& message);
  virtual void DMSelectComponent(TMessage& message);
  virtual void WMSetFocus(TMessage& message);
  virtual void WMLButtonDblClk(TMessage& message);
  virtual void WMRButtonDown(TMessage& message);
  virtual void WMDestroy(TMessage& message);

  // The stage of the register; null without a register or stage.
  TDsnStage* Stage() const;
  // Gives the stage the input focus, unless the focus is there already.
  void FocusStage();

 private:
  // Stores the point and finds the current target of a press: the window-less child of the
  // control there (disabled ones too) when it has the control's owner, else the control itself.
  void PressAt(const TMessage& message);
  // Frees a released agent whose window is gone from the event loop (see the header comment).
  void FreeWhenOrphaned();

  TWeak<TCustomDsnRegister> register_;
  bool released_ = false;
  bool freeQueued_ = false;
  bool rightCapture_ = false;  // the capture was taken by a right press
  TPoint mousePoint_{0, 0};
  TCursor savedCursor_ = crDefault;
};
