#include "design/DsnCtrl.h"

#include <QCoreApplication>

#include <algorithm>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/PostedRefs.h"
#include "platform/win/Geometry.h"

DEFINE_CLASS(TDsnCtrl, TClientAgent) {}

namespace {

// The child of `control` that a press at `point` takes. An element without width or height has
// no point of its own, so the ordinary hit test never finds it, yet it stays in the design: it is
// taken at its place as though it were one pixel wide and high, unless a child above it holds the
// point. Children are listed window-less first, then windowed, each bottom first, so walking them
// from the end meets them in the order of the hit test.
TControl* ChildAt(TWinControl* control, TPoint point) {
  TControl* hit = control->ControlAtPos(point, true);
  for (int i = control->ControlCount() - 1; i >= 0; --i) {
    TControl* child = control->Controls(i);
    if (child == hit) break;
    if (child->Width() > 0 && child->Height() > 0) continue;
    if (!child->Visible() && !child->ComponentState().Contains(csDesigning)) continue;
    const TRect place{child->Left(), child->Top(), child->Left() + std::max(child->Width(), 1),
                      child->Top() + std::max(child->Height(), 1)};
    if (PtInRect(place, point)) return child;
  }
  return hit;
}

}  // namespace

// Every handler below that calls into the register (or into the control's own procedure) runs
// user code, which may stop design mode and so free this agent, or free the control or the stage.
// It holds the agent weakly across the call and touches nothing of the agent once that reads
// null; the control, the register and the stage are held weakly and looked up again.

void TDsnCtrl::Create(TWinControl* control) {
  released_ = false;
  TClientAgent::Create(control);
}

void TDsnCtrl::SetReleased(bool value) {
  released_ = value;
  if (value) FreeWhenOrphaned();
}

void TDsnCtrl::FreeWhenOrphaned() {
  if (!released_ || Hooked() || freeQueued_) return;
  freeQueued_ = true;
  // The register has dropped the agent and its window is gone, so nothing holds it but a
  // DM_AGENTDONE that may never be delivered. If the stage frees it first, the token has expired.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [self = TWeak<TDsnCtrl>(this)] { if (self) self->Free(); },
      Qt::QueuedConnection);
}

TDsnStage* TDsnCtrl::Stage() const {
  TCustomDsnRegister* reg = DsnRegister();
  // A stage whose destruction has begun counts as none: its window is on its way out too.
  TWeak<TDsnStage> stage(reg ? reg->Stage() : nullptr);
  return stage.get();
}

void TDsnCtrl::FocusStage() {
  TDsnStage* stage = Stage();
  if (!stage || !stage->HandleAllocated() || GetFocus() == stage->Handle()) return;
  stage->SetFocus();
}

void TDsnCtrl::AttachControl() {
  TWinControl* control = Control();
  if (!control) return;
  savedCursor_ = control->Cursor();
  control->SetCursor(crArrow);
  control->Invalidate();
}

void TDsnCtrl::DetachControl() {
  // A released agent's control is being destroyed: there is nothing to give back.
  if (released_) return;
  TWinControl* control = Control();
  if (!control) return;
  control->SetCursor(savedCursor_);
  control->Invalidate();
}

void TDsnCtrl::CaptureChanged() {}

void TDsnCtrl::Unhook() {
  if (Hooked() && Handle() && GetCapture() == Handle()) ReleaseCapture();
  rightCapture_ = false;
  TClientAgent::Unhook();
}

void TDsnCtrl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_DESTROY:
      WMDestroy(message);
      return;
    case WM_SETFOCUS:
      WMSetFocus(message);
      return;
    case WM_PAINT:
      WMPaint(message);
      return;
    case WM_NCHITTEST:
      // Borders and frames count as client area: the whole control is one design target.
      message.Result = HTCLIENT;
      return;
    case WM_MOUSEMOVE:
      WMMouseMove(message);
      return;
    case WM_LBUTTONDOWN: {
      // A control that must still see its press while it is designed (a page control switching
      // pages) says so through the design hit-test.
      const TWeak<TDsnCtrl> alive(this);
      TWinControl* control = Control();
      if (control && control->Perform(CM_DESIGNHITTEST, message.WParam, message.LParam) == 1) {
        if (!alive) return;
        CallOldWndProc(message);
      }
      if (!alive) return;
      WMLButtonDown(message);
      return;
    }
    case WM_LBUTTONUP:
      WMLButtonUp(message);
      return;
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClk(message);
      return;
    case WM_RBUTTONDOWN:
      WMRButtonDown(message);
      return;
    case WM_RBUTTONUP:
      // The release reaches the control's own handling. The capture of the press ends first, so
      // that the handling finds the window-less child under the mouse and opens its popup menu.
      if (GetCapture() == Handle()) ReleaseCapture();
      rightCapture_ = false;
      CallOldWndProc(message);
      return;
    case WM_CAPTURECHANGED:
      message.Result = 0;
      return;
    case DM_SETTARGET:
      DMSetTarget(message);
      return;
    case DM_TARGETSIZED:
      DMTargetSized(message);
      return;
    case DM_HANDLESSHOWN:
      DMHandlesShown(message);
      return;
    case DM_SELECTCOMPONENT:
      DMSelectComponent(message);
      return;
    default:
      CallOldWndProc(message);
      return;
  }
}

void TDsnCtrl::PressAt(const TMessage& message) {
  mousePoint_ = {GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  TWinControl* control = Control();
  TControl* target = control ? ChildAt(control, mousePoint_) : nullptr;
  // A window-less child of another owner belongs to the control (its own parts), not to design.
  if (!target || target->Owner() != control->Owner()) target = control;
  SetCurrentTarget(target);
}

void TDsnCtrl::WMLButtonDown(TMessage& message) {
  PressAt(message);
  TWinControl* control = Control();
  if (!control) return;
  rightCapture_ = false;
  SetCapture(Handle());
  TCustomDsnRegister* reg = DsnRegister();
  if (!reg) return;
  const TWeak<TDsnCtrl> alive(this);
  reg->MouseDown(control, CurrentTarget(), KeysToShiftState(message.WParam), mousePoint_);
  if (!alive) return;
  FocusStage();
}

void TDsnCtrl::WMMouseMove(TMessage& message) {
  mousePoint_ = {GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  // The capture of a right press outlives it when a popup menu took the release: the first move
  // with no button down gives the mouse back to the other windows.
  if (rightCapture_ && !(message.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
    rightCapture_ = false;
    if (GetCapture() == Handle()) ReleaseCapture();
  }
  TWinControl* control = Control();
  TCustomDsnRegister* reg = DsnRegister();
  if (CurrentTarget() && control && reg) reg->MouseMove(control, mousePoint_, KeysToShiftState(message.WParam));
}

void TDsnCtrl::WMLButtonUp(TMessage& message) {
  mousePoint_ = {GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  HWND window = Handle();
  TWinControl* control = Control();
  TCustomDsnRegister* reg = DsnRegister();
  if (CurrentTarget() && control && reg) reg->MouseUp(control, mousePoint_, KeysToShiftState(message.WParam));
  // Only the capture this agent took: the register's code may have given it to someone else.
  if (GetCapture() == window) ReleaseCapture();
}

void TDsnCtrl::WMPaint(TMessage& message) {
  // The control paints itself through its own message handling, not through whatever procedure
  // was installed before the agent.
  if (TWinControl* control = Control()) control->Dispatch(message);
  else CallOldWndProc(message);
}

void TDsnCtrl::DMSetTarget(TMessage& message) {
  // Sent, not posted: the control named is alive while the message runs.
  SetCurrentTarget(reinterpret_cast<TControl*>(message.WParam));
  message.Result = 0;
}

void TDsnCtrl::DMTargetSized(TMessage& message) {
  message.Result = 0;
  if (TCustomDsnRegister* reg = DsnRegister()) reg->PropsRefresh();
}

void TDsnCtrl::DMHandlesShown(TMessage& message) {
  message.Result = 0;
  if (TCustomDsnRegister* reg = DsnRegister()) reg->HandlesShown();
}

void TDsnCtrl::DMSelectComponent(TMessage& message) {
  message.Result = 0;
  if (TCustomDsnRegister* reg = DsnRegister()) reg->SelectComponent(reinterpret_cast<TComponent*>(message.WParam));
}

void TDsnCtrl::WMSetFocus(TMessage& message) {
  TDsnStage* stage = Stage();
  TWinControl* control = Control();
  if (!stage || !control || control == stage) {
    CallOldWndProc(message);
    return;
  }
  // The control never hears that it had the focus for a moment.
  message.Result = 0;
  FocusStage();
}

void TDsnCtrl::WMLButtonDblClk(TMessage& message) {
  message.Result = 0;
  TCustomDsnRegister* reg = DsnRegister();
  if (TControl* target = CurrentTarget(); target && reg) reg->CoverDblClick(target);
}

void TDsnCtrl::WMRButtonDown(TMessage& message) {
  PressAt(message);
  TWinControl* control = Control();
  if (!control) return;
  SetCapture(Handle());
  rightCapture_ = true;
  TCustomDsnRegister* reg = DsnRegister();
  if (!reg) return;
  const TWeak<TDsnCtrl> alive(this);
  reg->RightMouseDown(control, CurrentTarget(), mousePoint_.Y, mousePoint_.X);
  if (!alive) return;
  FocusStage();
}

void TDsnCtrl::WMDestroy(TMessage& message) {
  const HWND window = Handle();
  const WNDPROC old = OldWndProc();
  Unhook();
  const TWeak<TDsnCtrl> alive(this);
  message.Result = CallWindowProc(old, window, message.Msg, message.WParam, message.LParam);
  if (!alive) return;
  // The stage hooks the control's new window, or frees the agent once it is released. The stage's
  // own window going away cannot carry the message: the fallback below covers that.
  if (TDsnStage* stage = Stage(); stage && stage->HandleAllocated() && stage->Handle() != window)
    PostMessage(stage->Handle(), DM_AGENTDONE, PostableRef(this), 0);
  FreeWhenOrphaned();
}
