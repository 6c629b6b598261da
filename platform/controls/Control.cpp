#include "platform/controls/Control.h"

#include <QGuiApplication>

#include "platform/controls/Menus.h"
#include "platform/controls/WinControl.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/win/Geometry.h"

DEFINE_CLASS(TControl, TComponent) {
  c.Prop("Left", &TControl::Left, &TControl::SetLeft);
  c.Prop("Top", &TControl::Top, &TControl::SetTop);
  c.Prop("Width", &TControl::Width, &TControl::SetWidth);
  c.Prop("Height", &TControl::Height, &TControl::SetHeight);
  c.Prop("Cursor", &TControl::Cursor, &TControl::SetCursor).Type(CursorType()).Default(crDefault);
  // Notification only forgets the popup menu, which the control asked about: the menu's own
  // destruction notice reaches it, so owner notices of other components need not.
  c.Hears();
}

namespace {
// The window-less control that holds the mouse until the button is released; its parent's window
// holds the platform's capture meanwhile. Mouse handlers may free it, so it is held weakly.
TWeak<TControl> captureControl;
// The control the mouse is over, told CM_MOUSEENTER when the mouse comes and CM_MOUSELEAVE when it
// goes. The notices run user code, which may free either control.
TWeak<TControl> mouseControl;

bool SameFont(const TFont& a, const TFont& b) {
  return a.Charset() == b.Charset() && a.Color() == b.Color() && a.Height() == b.Height() &&
         a.Name() == b.Name() && a.Pitch() == b.Pitch() && a.Style() == b.Style();
}
}  // namespace

TControl* CaptureControl() { return captureControl.get(); }

void SetMouseControl(TControl* control) {
  if (mouseControl.get() == control) return;
  const TWeak<TControl> old = mouseControl;
  mouseControl = control;
  if (TControl* leaving = old.get()) leaving->Perform(CM_MOUSELEAVE, 0, 0);
  if (control && mouseControl.get() == control) control->Perform(CM_MOUSEENTER, 0, 0);
}

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState shift;
  if (keys & MK_SHIFT) shift.Include(ssShift);
  if (keys & MK_CONTROL) shift.Include(ssCtrl);
  if (keys & MK_LBUTTON) shift.Include(ssLeft);
  if (keys & MK_RBUTTON) shift.Include(ssRight);
  if (keys & MK_MBUTTON) shift.Include(ssMiddle);
  if (QGuiApplication::instance() && (QGuiApplication::keyboardModifiers() & Qt::AltModifier))
    shift.Include(ssAlt);
  return shift;
}

void TControl::Create(TComponent* owner) {
  TComponent::Create(owner);
  WindowProc = [this](TMessage& m) { WndProc(m); };
  controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  font_ = New<TFont>();
  font_->OnChange.Bind([this](TObject*) { FontChanged(); });
}

void TControl::Destroy() {
  SetParent(nullptr);
  FreeAndNil(font_);
  TComponent::Destroy();
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (parentFont_ && parent_) Perform(CM_PARENTFONTCHANGED, 0, 0);
  if (parentColor_ && parent_) Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
  TComponent::Notification(component, operation);
}

// ---- parent and bounds ----

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent == this) throw EComponentError("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* p = dynamic_cast<TWinControl*>(parent)) SetParent(p);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  TRect old = BoundsRect();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  BoundsChanged(old);
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::BoundsChanged(const TRect& old) {
  if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
  InvalidateRect(parent_->Handle(), &old, true);
  TRect now = BoundsRect();
  InvalidateRect(parent_->Handle(), &now, true);
}

TRect TControl::ClientRect() const { return {0, 0, width_, height_}; }

void TControl::SetClientWidth(int v) { SetWidth(width_ - ClientWidth() + v); }
void TControl::SetClientHeight(int v) { SetHeight(height_ - ClientHeight() + v); }

TPoint TControl::ClientOrigin() const {
  if (!parent_) return {left_, top_};
  TPoint p = parent_->ClientOrigin();
  return {p.X + left_, p.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  TPoint o = ClientOrigin();
  return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint o = ClientOrigin();
  return {p.X - o.X, p.Y - o.Y};
}

// ---- state ----

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetVisible(bool v) {
  if (visible_ == v) return;
  VisibleChanging();
  visible_ = v;
  Perform(CM_VISIBLECHANGED, v, 0);
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor v) {
  if (cursor_ == v) return;
  cursor_ = v;
  if (auto* self = dynamic_cast<TWinControl*>(this); self && self->HandleAllocated())
    v == crDefault ? ResetWindowCursor(self->Handle()) : SetWindowCursor(self->Handle(), ToQCursor(v));
}

void TControl::SetColor(TColor v) {
  if (color_ == v && !parentColor_) return;
  color_ = v;
  parentColor_ = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v) {
  if (parentColor_ == v) return;
  parentColor_ = v;
  if (v && parent_) {
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED, 0, 0);
  }
}

void TControl::SetParentFont(bool v) {
  if (parentFont_ == v) return;
  parentFont_ = v;
  if (v && parent_) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::FontChanged() {
  parentFont_ = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetText(const std::string& v) {
  if (text_ == v) return;
  text_ = v;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TComponent* v) {
  if (popupMenu_ == v) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = v;
  if (v) v->FreeNotification(this);
}

void TControl::SetAlign(TAlign v) {
  if (align_ == v) return;
  align_ = v;
  if (parent_) parent_->Realign();
}

bool TControl::MouseCapture() const {
  if (auto* self = dynamic_cast<const TWinControl*>(this))
    return self->HandleAllocated() && GetCapture() == const_cast<TWinControl*>(self)->Handle();
  return captureControl.get() == this;
}

void TControl::SetMouseCapture(bool v) {
  if (MouseCapture() == v) return;
  auto* self = dynamic_cast<TWinControl*>(this);
  if (v) {
    if (self) {
      SetCapture(self->Handle());
    } else if (parent_) {
      captureControl = this;
      SetCapture(parent_->Handle());
    }
  } else {
    captureControl = nullptr;
    ReleaseCapture();
  }
}

// ---- painting ----

void TControl::Invalidate() {
  if (!parent_ || !parent_->HandleAllocated()) return;
  TRect r = BoundsRect();
  InvalidateRect(parent_->Handle(), &r, !controlStyle_.Contains(csOpaque));
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  if (!parent_ || !parent_->HandleAllocated() || !Visible()) return;
  Invalidate();
  parent_->Update();
}

void TControl::BringToFront() {
  if (parent_) parent_->SetChildOrder(this, parent_->ControlCount());
}

void TControl::SendToBack() {
  if (parent_) parent_->SetChildOrder(this, 0);
}

// ---- messages ----

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  if (WindowProc) WindowProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage& message) {
  // A control that takes no double clicks sees a second press as a plain one.
  if (!controlStyle_.Contains(csDoubleClicks)) {
    if (message.Msg == WM_LBUTTONDBLCLK) message.Msg = WM_LBUTTONDOWN;
    else if (message.Msg == WM_RBUTTONDBLCLK) message.Msg = WM_RBUTTONDOWN;
    else if (message.Msg == WM_MBUTTONDBLCLK) message.Msg = WM_MBUTTONDOWN;
  }
  Dispatch(message);
}

void TControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN: MouseButtonMessage(message, mbLeft, true, false); return;
    case WM_LBUTTONDBLCLK: MouseButtonMessage(message, mbLeft, true, true); return;
    case WM_LBUTTONUP: MouseButtonMessage(message, mbLeft, false, false); return;
    case WM_RBUTTONDOWN: MouseButtonMessage(message, mbRight, true, false); return;
    case WM_RBUTTONDBLCLK: MouseButtonMessage(message, mbRight, true, true); return;
    case WM_RBUTTONUP: MouseButtonMessage(message, mbRight, false, false); return;
    case WM_MBUTTONDOWN: MouseButtonMessage(message, mbMiddle, true, false); return;
    case WM_MBUTTONDBLCLK: MouseButtonMessage(message, mbMiddle, true, true); return;
    case WM_MBUTTONUP: MouseButtonMessage(message, mbMiddle, false, false); return;
    case WM_MOUSEMOVE:
      DefaultHandler(message);
      MouseMove(KeysToShiftState(message.WParam), GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
      return;
    case CM_COLORCHANGED:
      if (parentColor_ && parent_) color_ = parent_->Color();
      Invalidate();
      return;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_VISIBLECHANGED:
      Invalidate();
      return;
    case CM_PARENTFONTCHANGED:
      // A copy that is the parent's font already is left alone: its change notice would make
      // an auto-sized label measure its text once more for nothing, for every label loaded.
      if (parentFont_ && parent_ && !SameFont(*font_, *parent_->Font())) {
        font_->Assign(parent_->Font());
        parentFont_ = true;  // the copy is the parent's, not a font of its own
      }
      return;
    case CM_HITTEST:
      message.Result = HTCLIENT;
      return;
    case CM_DESIGNHITTEST:
      message.Result = 0;
      return;
    default:
      DefaultHandler(message);
  }
}

void TControl::DefaultHandler(TMessage&) {}

// Every handler called here may free the control; nothing touches it after that.
void TControl::MouseButtonMessage(TMessage& message, TMouseButton button, bool down, bool dbl) {
  const TWeak<TControl> alive(this);
  DefaultHandler(message);
  if (!alive) return;
  int x = GET_X_LPARAM(message.LParam);
  int y = GET_Y_LPARAM(message.LParam);
  TShiftState shift = KeysToShiftState(message.WParam);
  if (down) {
    if (button == mbLeft) {
      if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (controlStyle_.Contains(csClickEvents)) controlState_.Include(csClicked);
      if (dbl && controlStyle_.Contains(csClickEvents)) DblClick();
      if (!alive) return;
    }
    if (dbl) shift.Include(ssDouble);
    MouseDown(button, shift, x, y);
    return;
  }
  if (button == mbLeft) {
    if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (controlState_.Contains(csClicked)) {
      controlState_.Exclude(csClicked);
      if (PtInRect(ClientRect(), {x, y})) Click();
      if (!alive) return;
    }
  }
  MouseUp(button, shift, x, y);
  if (!alive) return;
  // A right click shows the control's popup menu where it was released.
  if (button == mbRight && popupMenu_) ShowPopupMenuOf(this, ClientToScreen({x, y}));
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  OnMouseUp(this, button, shift, x, y);
}

void TControl::Click() { OnClick(this); }

void TControl::DblClick() { OnDblClick(this); }
