#include "design/DsnAgent.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Exception.h"

DEFINE_CLASS(TAgent, TObject) {}
DEFINE_CLASS(TClientAgent, TAgent) {}
DEFINE_CLASS(TChildAgent, TAgent) {}
DEFINE_CLASS(TAgentList, TObject) {}

// ---- TAgent ----

void TAgent::Create(HWND handle) {
  OnRelease = nullptr;
  HookWindow(handle);
}

void TAgent::HookWindow(HWND handle) {
  handle_ = handle;
  if (handle) {
    WNDPROC instance = MakeObjectInstance([this](TMessage& m) { WndProc(m); });
    WNDPROC old = GetWindowLong(handle, GWL_WNDPROC);
    if (SetWindowLong(handle, GWL_WNDPROC, instance) == 0) {
      // The window kept its procedure; the id made for it goes again, and the agent stays unhooked.
      FreeObjectInstance(instance);
      throw Exception("Subclassing is failure.");
    }
    wndProcInstance_ = instance;
    oldWndProc_ = old;
  }
  hooked_ = true;
}

void TAgent::Hook(HWND handle) {
  if (hooked_) Unhook();
  HookWindow(handle);
}

void TAgent::Unhook() {
  if (!hooked_) return;
  hooked_ = false;
  if (!handle_) return;
  // A window destroyed meanwhile refuses, which is what it should do.
  SetWindowLong(handle_, GWL_WNDPROC, oldWndProc_);
  // Safe even from inside WndProc: the platform keeps the running procedure until it returns.
  FreeObjectInstance(wndProcInstance_);
  wndProcInstance_ = 0;
}

void TAgent::CaptureChanged() { currentTarget_.reset(); }

void TAgent::CallOldWndProc(TMessage& message) {
  message.Result = CallWindowProc(oldWndProc_, handle_, message.Msg, message.WParam, message.LParam);
}

void TAgent::Destroy() {
  if (hooked_) Unhook();
  if (OnRelease) {
    std::function<void()> release = std::move(OnRelease);
    OnRelease = nullptr;
    release();
  }
  TObject::Destroy();
}

// ---- TClientAgent ----

void TClientAgent::Create(TWinControl* control) {
  OnRelease = nullptr;
  control_ = control;
  controlAddress_ = control;
  children_ = New<TAgentList>();
  AttachControl();
  if (TWinControl* c = Control()) HookWindow(c->Handle());
}

void TClientAgent::Hook(HWND handle) {
  // The inner windows of the old window went with it; their agents let go of nothing.
  if (children_) children_->Clear();
  TAgent::Hook(handle);
  if (children_) children_->Build(Control(), handle);
}

void TClientAgent::Destroy() {
  // Inner windows get their procedures back before the control's window does.
  FreeAndNil(children_);
  OnRelease = [this] { DetachControl(); };
  TAgent::Destroy();
}

// ---- TChildAgent ----

void TChildAgent::WndProc(TMessage& message) {
  if (message.Msg == WM_NCHITTEST) {
    // The platform then offers the mouse to the window beneath: the covered control.
    message.Result = HTTRANSPARENT;
    return;
  }
  CallOldWndProc(message);
}

// ---- TChildList ----

TChildList::TChildList(TWinControl* control, HWND parentHandle) : parentHandle_(parentHandle) {
  std::vector<TChildItem> owned;
  if (control)
    for (int i = 0; i < control->ControlCount(); ++i)
      if (auto* child = dynamic_cast<TWinControl*>(control->Controls(i))) owned.push_back({child, child->Handle()});
  for (HWND w = GetWindow(parentHandle, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    TChildItem item{nullptr, w};
    for (const TChildItem& o : owned)
      if (o.Handle == w) {
        item.Control = o.Control;
        break;
      }
    items_.push_back(item);
  }
}

// ---- TAgentList ----

int TAgentList::Add(HWND handle) {
  auto* agent = New<TChildAgent>(handle);
  items_.push_back(agent);
  return Count() - 1;
}

void TAgentList::Clear() {
  while (!items_.empty()) {
    TAgent* agent = items_.back();
    items_.pop_back();
    agent->Free();
  }
}

void TAgentList::Build(TWinControl* control, HWND handle) {
  TChildList list(control, handle);
  for (int i = 0; i < list.Count(); ++i) {
    TChildItem item = list.Get(i);
    if (!item.Control || !control || item.Control->Owner() != control->Owner()) AddTree(item.Handle);
  }
}

void TAgentList::AddTree(HWND window) {
  Add(window);
  TChildList list(nullptr, window);
  for (int i = 0; i < list.Count(); ++i) AddTree(list.Get(i).Handle);
}

void TAgentList::Destroy() {
  Clear();
  TObject::Destroy();
}
