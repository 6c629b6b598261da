#include "platform/controls/WinControl.h"

#include <QGuiApplication>
#include <QPainter>
#include <QWidget>

#include <algorithm>

#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/EraseLast.h"
#include "platform/win/DeviceContext.h"
#include "platform/win/ErrorBoundary.h"
#include "platform/win/Geometry.h"

DEFINE_CLASS(TWinControl, TControl) {
  c.Prop("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1);
  c.Prop("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
}

TShiftState KeyShiftState() {
  TShiftState shift;
  if (!QGuiApplication::instance()) return shift;
  auto mods = QGuiApplication::keyboardModifiers();
  if (mods & Qt::ShiftModifier) shift.Include(ssShift);
  if (mods & Qt::ControlModifier) shift.Include(ssCtrl);
  if (mods & Qt::AltModifier) shift.Include(ssAlt);
  return shift;
}

void TWinControl::Create(TComponent* owner) {
  TControl::Create(owner);
  color_ = clBtnFace;
}

void TWinControl::Destroy() {
  DestroyHandle();
  // Child controls go with their parent, whoever owns them.
  while (ControlCount() > 0) {
    TControl* child = Controls(ControlCount() - 1);
    RemoveControl(child);
    child->Free();
  }
  TControl::Destroy();
}

// ---- the window ----

HWND TWinControl::Handle() {
  if (!handle_) CreateHandle();
  return handle_;
}

QWidget* TWinControl::CreateWidget() { return new QWidget(); }

void TWinControl::CreateHandle() {
  if (handle_) return;
  if (Parent()) Parent()->HandleNeeded();  // making the parent's window makes ours too
  if (handle_) return;
  widget_ = CreateWidget();
  widget_->setObjectName(QString::fromStdString(Name()));
  if (Parent()) widget_->setParent(WindowWidget(Parent()->handle_));
  handle_ = CreateWindowHandle(widget_, Parent() ? Parent()->handle_ : 0);
  objectInstance_ = MakeObjectInstance([this](TMessage& m) { MainWndProc(m); });
  defWndProc_ = SetWindowLong(handle_, GWL_WNDPROC, objectInstance_);
  PlaceAmongSiblings();
  CreateWnd();
  // A hidden child makes its window when it is first shown or asked for: a list box kept hidden
  // for its items, or a panel never opened, costs nothing until then.
  for (TWinControl* child : std::vector<TWinControl*>(winControls_))
    if (child->Visible()) child->CreateHandle();
  Realign();
}

void TWinControl::PlaceAmongSiblings() {
  // A new window lies above its siblings; one made later than a sibling that follows it in the
  // parent's order goes just below that sibling.
  if (!Parent()) return;
  const auto& siblings = Parent()->winControls_;
  auto it = std::find(siblings.begin(), siblings.end(), this);
  if (it == siblings.end()) return;
  auto next = std::find_if(std::next(it), siblings.end(), [](TWinControl* s) { return s->handle_ != 0; });
  if (next != siblings.end()) SetWindowZOrder(handle_, (*next)->handle_);
}

void TWinControl::CreateWnd() { UpdateWidgetFromControl(); }

void TWinControl::ApplyBounds() {
  if (widget_) widget_->setGeometry(Left(), Top(), std::max(0, Width()), std::max(0, Height()));
}

bool TWinControl::PreviewKey(UINT, WPARAM&) { return false; }

void TWinControl::UpdateWidgetFromControl() {
  if (!widget_) return;
  ApplyBounds();
  widget_->setEnabled(Enabled());
  widget_->setFont(font_->ToQFont());
  QPalette palette = widget_->palette();
  palette.setColor(QPalette::Window, ColorToQColor(color_));
  widget_->setPalette(palette);
  if (Cursor() == crDefault) ResetWindowCursor(handle_);
  else SetWindowCursor(handle_, ToQCursor(Cursor()));
  UpdateShowing();
}

void TWinControl::UpdateShowing() {
  if (!widget_) {
    if (Visible() && Parent() && Parent()->handle_) CreateHandle();  // shown for the first time
    return;
  }
  // A child window shows with its parent; a top-level window shows when the form says so.
  if (Parent()) widget_->setVisible(Visible());
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  for (TWinControl* child : winControls_) child->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  HWND window = handle_;
  DestroyWindow(window);  // WM_DESTROY still reaches the control's procedure
  handle_ = 0;
  FreeObjectInstance(objectInstance_);
  objectInstance_ = 0;
  defWndProc_ = 0;
  DisposeWidget(widget_);
  widget_ = nullptr;
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  DestroyHandle();
  CreateHandle();
}

void TWinControl::MainWndProc(TMessage& message) {
  Guarded([&] { WindowProc(message); });
}

// ---- children ----

TControl* TWinControl::Controls(int index) const {
  size_t n = controls_.size();
  if (index < 0 || index >= ControlCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  size_t i = static_cast<size_t>(index);
  return i < n ? controls_[i] : winControls_[i - n];
}

void TWinControl::InsertControl(TControl* control) {
  control->parent_ = this;
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    winControls_.push_back(win);
    tabList_.push_back(win);
    if (handle_) {
      if (win->handle_) {
        // A window that changes parents keeps its window.
        ::SetParent(win->handle_, handle_);
        win->UpdateWidgetFromControl();
      } else if (win->Visible()) {
        win->CreateHandle();
      }
    }
  } else {
    controls_.push_back(control);
    control->Invalidate();
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
  control->Perform(CM_PARENTFONTCHANGED, 0, 0);
  if (control->ParentColor()) control->Perform(CM_COLORCHANGED, 0, 0);
  if (control->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    win->DestroyHandle();
    EraseLast(winControls_, win);
    EraseLast(tabList_, win);
  } else {
    control->Invalidate();
    EraseLast(controls_, control);
  }
  control->parent_ = nullptr;
  if (control->Align() != alNone) Realign();
}

void TWinControl::SetChildOrder(TComponent* child, int order) {
  auto place = [order](auto& list, auto* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return false;
    list.erase(it);
    int at = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + at, item);
    return true;
  };
  if (auto* win = dynamic_cast<TWinControl*>(child)) {
    if (!place(winControls_, win) || !win->handle_) return;
    auto it = std::find(winControls_.begin(), winControls_.end(), win);
    // Windows are ordered topmost first: put it just below the sibling that follows it here.
    if (std::next(it) == winControls_.end() || !(*std::next(it))->handle_) BringWindowToTop(win->handle_);
    else SetWindowZOrder(win->handle_, (*std::next(it))->handle_);
  } else if (auto* control = dynamic_cast<TControl*>(child)) {
    if (place(controls_, control)) control->Invalidate();
  }
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* control = Controls(i);
    if (control->Owner() == root) proc(control);
  }
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls) const {
  auto hits = [&](TControl* c) {
    if (!c->Visible() && !c->ComponentState().Contains(csDesigning)) return false;
    if (!c->Enabled() && !allowDisabled) return false;
    if (!PtInRect(c->BoundsRect(), pos)) return false;
    return c->Perform(CM_HITTEST, 0, MAKELPARAM(pos.X - c->Left(), pos.Y - c->Top())) != 0;
  };
  if (allowWinControls)
    for (auto it = winControls_.rbegin(); it != winControls_.rend(); ++it)
      if (hits(*it)) return *it;
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if (hits(*it)) return *it;
  return nullptr;
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

// ---- bounds and layout ----

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
}

void TWinControl::BoundsChanged(const TRect&) {
  ApplyBounds();
  Realign();
}

TPoint TWinControl::ClientOrigin() const {
  if (handle_) {
    TPoint p{0, 0};
    ::ClientToScreen(handle_, p);
    return p;
  }
  return TControl::ClientOrigin();
}

bool TWinControl::Showing() const {
  if (Parent()) return Visible() && Parent()->Showing();
  return widget_ && widget_->isVisible();
}

void TWinControl::VisibleChanging() {}

void TWinControl::Realign() {
  if (alignDisabled_ > 0) {
    alignPending_ = true;
    return;
  }
  TRect rect = ClientRect();
  AlignControls(nullptr, rect);
}

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) {
    alignPending_ = false;
    Realign();
  }
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
  // Edges first in the order top, bottom, left, right, each taking its strip off the rectangle
  // that is left, and the client-aligned controls fill the rest.
  auto aligned = [&](TAlign align) {
    std::vector<TControl*> list;
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (c->Align() == align && (c->Visible() || c->ComponentState().Contains(csDesigning))) list.push_back(c);
    }
    auto key = [align](TControl* c) {
      switch (align) {
        case alTop: return c->Top();
        case alBottom: return -(c->Top() + c->Height());
        case alLeft: return c->Left();
        case alRight: return -(c->Left() + c->Width());
        default: return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) { return key(a) < key(b); });
    return list;
  };
  ++alignDisabled_;  // bounds set here must not start another round
  for (TControl* c : aligned(alTop)) {
    c->SetBounds(rect.Left, rect.Top, rect.Width(), c->Height());
    rect.Top += c->Height();
  }
  for (TControl* c : aligned(alBottom)) {
    rect.Bottom -= c->Height();
    c->SetBounds(rect.Left, rect.Bottom, rect.Width(), c->Height());
  }
  for (TControl* c : aligned(alLeft)) {
    c->SetBounds(rect.Left, rect.Top, c->Width(), rect.Height());
    rect.Left += c->Width();
  }
  for (TControl* c : aligned(alRight)) {
    rect.Right -= c->Width();
    c->SetBounds(rect.Right, rect.Top, c->Width(), rect.Height());
  }
  for (TControl* c : aligned(alClient)) c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
  --alignDisabled_;
}

// ---- focus ----

bool TWinControl::CanFocus() const {
  for (const TWinControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

// ---- tab order ----

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int v) {
  // Siblings read later are not there yet: the parent places all of them once it has read them.
  if (ComponentState().Contains(csReading)) {
    readTabOrder_ = v;
    return;
  }
  int current = TabOrder();
  if (current < 0) return;
  auto& list = Parent()->tabList_;
  v = std::clamp(v, 0, static_cast<int>(list.size()) - 1);
  if (v == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + v, this);
}

void TWinControl::ReadState(TReader& reader) {
  TControl::ReadState(reader);
  FixupTabList();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  // A control read on its own (a paste, a root) has no parent reading it to place it; the value
  // must not wait for some later read of that parent.
  readTabOrder_ = -1;
}

void TWinControl::FixupTabList() {
  // Each child read with a TabOrder in range takes that place, in the order of the places; the
  // others keep theirs among them.
  const int count = static_cast<int>(tabList_.size());
  std::vector<TWinControl*> byOrder(static_cast<size_t>(count), nullptr);
  for (TWinControl* child : tabList_) {
    if (child->readTabOrder_ >= 0 && child->readTabOrder_ < count) byOrder[static_cast<size_t>(child->readTabOrder_)] = child;
    child->readTabOrder_ = -1;
  }
  for (int i = 0; i < count; ++i)
    if (TWinControl* child = byOrder[static_cast<size_t>(i)]) child->SetTabOrder(i);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* child : tabList_) {
    list.push_back(child);
    child->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  const int count = static_cast<int>(list.size());
  if (count == 0) return nullptr;
  int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
  if (start == count) start = goForward ? count - 1 : 0;
  int i = start;
  do {
    i = goForward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* c = list[static_cast<size_t>(i)];
    // Showing as well: a control on a page that is not the active one keeps Visible.
    if (c->CanFocus() && c->Showing() && (!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this))
      return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, false)) next->SetFocus();
}

// ---- painting ----

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, !controlStyle_.Contains(csOpaque));
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::BringToFront() {
  if (Parent()) Parent()->SetChildOrder(this, Parent()->ControlCount());
  else if (handle_) BringWindowToTop(handle_);
}

void TWinControl::SendToBack() {
  if (Parent()) Parent()->SetChildOrder(this, 0);
}

void TWinControl::PaintHandler(TMessage&) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle_, ps);
  try {
    if (!controlStyle_.Contains(csOpaque))
      if (QPainter* p = DCPainter(dc)) {
        p->fillRect(QRect(ps.rcPaint.Left, ps.rcPaint.Top, ps.rcPaint.Width(), ps.rcPaint.Height()),
                    ColorToQColor(color_));
        DCDrawn(dc, ps.rcPaint);
      }
    PaintWindow(dc);
    PaintControls(dc);
  } catch (...) {
    EndPaint(handle_, ps);
    throw;
  }
  EndPaint(handle_, ps);
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage m{WM_PAINT, static_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (!c->Visible() && !c->ComponentState().Contains(csDesigning)) continue;
    if (!RectVisible(dc, c->Left(), c->Top(), c->Width(), c->Height())) continue;  // outside the repaint
    int level = SaveDC(dc);
    if (!level) return;
    OffsetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, static_cast<WPARAM>(dc), 0);
    RestoreDC(dc, level);
  }
}

// ---- messages ----

bool TWinControl::IsControlMouseMsg(TMessage& message) {
  TControl* control = nullptr;
  if (handle_ && GetCapture() == handle_) {
    if (CaptureControl() && CaptureControl()->Parent() == this) control = CaptureControl();
  } else {
    control = ControlAtPos({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)}, false);
  }
  if (!control) return false;
  int x = GET_X_LPARAM(message.LParam) - control->Left();
  int y = GET_Y_LPARAM(message.LParam) - control->Top();
  message.Result = control->Perform(message.Msg, message.WParam, MAKELPARAM(x, y));
  return true;
}

void TWinControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_NCHITTEST:
      TControl::WndProc(message);
      // Transparent parts still belong to the window when a child without a window is there.
      if (message.Result == HTTRANSPARENT) {
        TPoint p = ScreenToClient({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
        if (ControlAtPos(p, false)) message.Result = HTCLIENT;
      }
      return;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: {
      // The enter and leave notices and the control's handlers may free this control, or take its
      // window away.
      const TWeak<TWinControl> alive(this);
      if (message.Msg == WM_MOUSEMOVE && !GetCapture()) {
        TControl* over = ControlAtPos({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)}, false);
        SetMouseControl(over ? over : this);
        if (!alive) return;
      }
      if (IsControlMouseMsg(message)) {
        if (alive && message.Result == 0 && handle_)
          CallWindowProc(defWndProc_, handle_, message.Msg, message.WParam, message.LParam);
        return;
      }
      break;
    }
    default:
      break;
  }
  TControl::WndProc(message);
}

void TWinControl::SetCursorFromPoint(TMessage& message) {
  if (static_cast<HWND>(message.WParam) != handle_ || LOWORD(static_cast<uintptr_t>(message.LParam)) != HTCLIENT) {
    DefaultHandler(message);
    return;
  }
  TPoint p;
  GetCursorPos(p);
  TCursor cursor = crDefault;
  if (TControl* control = ControlAtPos(ScreenToClient(p), false))
    cursor = control->ComponentState().Contains(csDesigning) ? crArrow : control->Cursor();
  if (cursor == crDefault) cursor = ComponentState().Contains(csDesigning) ? crArrow : Cursor();
  if (widget_) {
    if (cursor == crDefault) widget_->unsetCursor();  // the widget's own
    else widget_->setCursor(ToQCursor(cursor));
  }
  message.Result = 1;
}

void TWinControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintHandler(message);
      return;
    case WM_SETCURSOR:
      SetCursorFromPoint(message);
      return;
    case WM_KEYDOWN:
      if (DialogKeyTaken(message)) return;  // this control may be gone
      if (KeyPreviewed(message)) return;
      break;
    case WM_CHAR:
    case WM_KEYUP:
      if (KeyPreviewed(message)) return;
      break;
    default:
      break;
  }
  switch (message.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
      uint16_t key = static_cast<uint16_t>(message.WParam);
      TShiftState shift = KeyShiftState();
      if (message.Msg == WM_KEYDOWN) KeyDown(key, shift);
      else KeyUp(key, shift);
      // The handler kept the key. A key without a virtual key code (most punctuation) comes as 0
      // and goes on unless a handler changed it.
      if (key == 0 && message.WParam != 0) return;
      message.WParam = key;
      DefaultHandler(message);
      return;
    }
    case WM_CHAR: {
      char32_t ch = static_cast<char32_t>(message.WParam);
      KeyPress(ch);
      if (ch == 0) return;
      message.WParam = ch;
      DefaultHandler(message);
      return;
    }
    case WM_SETFOCUS:
      DefaultHandler(message);
      OnEnter(this);
      return;
    case WM_MOUSELEAVE:
      DefaultHandler(message);
      SetMouseControl(nullptr);
      return;
    case WM_KILLFOCUS:
      DefaultHandler(message);
      OnExit(this);
      return;
    case WM_SIZE:
    case WM_MOVE:
      DefaultHandler(message);
      if (widget_ && (widget_->geometry() != QRect(Left(), Top(), Width(), Height())) && !Parent()) {
        QRect g = widget_->geometry();
        TControl::SetBounds(g.x(), g.y(), g.width(), g.height());
      }
      return;
    case CM_COLORCHANGED:
      if (ParentColor() && Parent()) color_ = Parent()->Color();
      if (widget_) {
        QPalette palette = widget_->palette();
        palette.setColor(QPalette::Window, ColorToQColor(color_));
        widget_->setPalette(palette);
      }
      Invalidate();
      for (int i = 0; i < ControlCount(); ++i)
        if (Controls(i)->ParentColor()) Controls(i)->Perform(CM_COLORCHANGED, 0, 0);
      return;
    case CM_FONTCHANGED:
      if (widget_) widget_->setFont(font_->ToQFont());
      Invalidate();
      for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTFONTCHANGED, 0, 0);
      return;
    case CM_ENABLEDCHANGED:
      if (handle_) EnableWindow(handle_, Enabled());
      Invalidate();
      return;
    case CM_VISIBLECHANGED:
      UpdateShowing();
      return;
    default:
      TControl::Dispatch(message);
  }
}

bool TWinControl::DialogKeyTaken(const TMessage& message) {
  const auto key = static_cast<uint16_t>(message.WParam);
  if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE) return false;
  if (ComponentState().Contains(csDesigning) || WantsDialogKey(key)) return false;
  const TShiftState shift = KeyShiftState();
  if (shift.Contains(ssCtrl) || shift.Contains(ssAlt) || (key != VK_TAB && shift.Contains(ssShift))) return false;
  TWinControl* top = this;
  while (top->Parent()) top = top->Parent();
  if (!top->DialogKey(key, shift, this)) return false;
  // The key types nothing either (no tab in an edit box); the window layer keeps that to this one
  // key press.
  DropKeyCharacters();
  return true;
}

bool TWinControl::KeyPreviewed(TMessage& message) {
  TWinControl* top = this;
  while (top->Parent()) top = top->Parent();
  if (top == this) return false;
  WPARAM key = message.WParam;
  // A key without a virtual key code is nothing a preview could keep.
  if (key == 0) return false;
  if (top->PreviewKey(message.Msg, key) || key == 0) return true;
  message.WParam = key;
  return false;
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (handle_) message.Result = CallWindowProc(defWndProc_, handle_, message.Msg, message.WParam, message.LParam);
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) { OnKeyDown(this, key, shift); }
void TWinControl::KeyUp(uint16_t& key, TShiftState shift) { OnKeyUp(this, key, shift); }
void TWinControl::KeyPress(char32_t& key) { OnKeyPress(this, key); }
