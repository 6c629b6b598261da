#pragma once
// Window agents. While design mode is on, the controls on the stage must stop behaving as
// themselves without their classes knowing: an agent replaces the procedure of a control's window
// with one of its own (window subclassing), sees every message first, keeps what design mode needs
// and passes the rest to the procedure it replaced, which it puts back when it is done.
//
// TAgent owns the hook of one window. TClientAgent is the agent of one windowed control; the
// windows inside that control which are no design targets of their own get TChildAgents, which
// answer hit-tests with HTTRANSPARENT, so that the mouse over them falls through to the control.
//
// Agents are framework objects: make them with New<T>(…), so that the AttachControl of the final
// class runs, and end them with Free(), so that DetachControl runs while the agent is whole.
//
// The window layer folds the inner Qt widgets of a native control (a combo box's edit field, a
// grid's viewport) into the control's own window: they are no windows of their own, their input
// arrives at the control's procedure, and so at its agent, without child agents.

#include <functional>
#include <memory>
#include <vector>

#include "platform/controls/WinControl.h"

class TAgentList;

class TAgent : public TObject {
  DECLARE_CLASS(TAgent)

 public:
  // Subclasses `handle` at once (nothing for 0). Raises Exception("Subclassing is failure.") when
  // the window refuses the new procedure; the window then keeps its own and nothing is left over.
  void Create(HWND handle);

  // The subclassed window; 0 for none.
  HWND Handle() const { return handle_; }
  // The procedure the agent replaced: every message the agent does not keep goes there.
  WNDPROC OldWndProc() const { return oldWndProc_; }
  // The procedure id bound to this agent's WndProc while it is hooked; 0 otherwise.
  WNDPROC WndProcInstance() const { return wndProcInstance_; }
  // True from a successful Create or Hook until Unhook.
  bool Hooked() const { return hooked_; }
  // The control on which the current mouse operation started. Held weakly: it becomes null when
  // that control is destroyed.
  TControl* CurrentTarget() const { return currentTarget_.get(); }
  void SetCurrentTarget(TControl* control) { currentTarget_ = control; }

  // Called by the teardown after the window has got its procedure back.
  std::function<void()> OnRelease;

  // The window has lost the mouse capture: the current target is forgotten.
  virtual void CaptureChanged();
  // Receives every message of the subclassed window. An implementation sets message.Result itself
  // or passes the message on with CallOldWndProc.
  virtual void WndProc(TMessage& message) = 0;
  // Puts the replaced procedure back and releases the procedure id. A window destroyed meanwhile
  // is no error.
  virtual void Unhook();
  // Subclasses a window again, for an agent whose window was destroyed and made anew. An agent
  // that is still hooked lets go of its old window first, so that no chain is lost.
  virtual void Hook(HWND handle);

 protected:
  // Unhooks when hooked, then runs OnRelease.
  void Destroy() override;
  // Passes the message to the replaced procedure and stores its result.
  void CallOldWndProc(TMessage& message);
  // The subclassing steps shared by Create and Hook.
  void HookWindow(HWND handle);

 private:
  HWND handle_ = 0;
  WNDPROC oldWndProc_ = 0;
  WNDPROC wndProcInstance_ = 0;
  bool hooked_ = false;
  TWeak<TControl> currentTarget_;
};

// The agent of one windowed control. Children holds the agents of the control's inner windows;
// the creator fills it (Build), and Hook builds it anew for a new window.
class TClientAgent : public TAgent {
  DECLARE_CLASS(TClientAgent)

 public:
  // Prepares the control (AttachControl) and subclasses its window, making the window if it has
  // none yet. A null control hooks nothing; its agent is still attached and detached.
  void Create(TWinControl* control);

  // The control; null when there is none or once it has been destroyed.
  TWinControl* Control() const { return control_.get(); }
  // Whether `component` is the control this agent was made for. Unlike Control(), this still
  // answers while the control is being destroyed, so that its destruction notice finds its agent.
  bool Covers(const TComponent* component) const { return component && component == controlAddress_; }
  TAgentList* Children() const { return children_; }
  // Whether the agent's owner has let it go: once it has told the stage it is done (DM_AGENTDONE)
  // the stage frees it rather than hooking the control's new window.
  virtual bool Released() const { return false; }

  void Hook(HWND handle) override;

 protected:
  // Called once by Create, before the window is subclassed: the descendant prepares the control.
  virtual void AttachControl() = 0;
  // Called once by the teardown, after the inner windows and then the control's window got their
  // procedures back: the descendant restores the control.
  virtual void DetachControl() = 0;

  void Destroy() override;

 private:
  TWeak<TWinControl> control_;
  const TComponent* controlAddress_ = nullptr;  // identity only, never dereferenced
  TAgentList* children_ = nullptr;
};

// The agent of an inner window: transparent to the mouse, so that input reaches the control below.
class TChildAgent : public TAgent {
  DECLARE_CLASS(TChildAgent)

 public:
  void WndProc(TMessage& message) override;
};

// One entry of a TChildList.
struct TChildItem {
  TWinControl* Control = nullptr;
  HWND Handle = 0;
};

// A snapshot of the child windows of one window, in window order (topmost first), each paired with
// the windowed child control of `control` whose window it is, or null. Listing asks the child
// controls for their windows, which makes those they do not have yet.
class TChildList {
 public:
  TChildList(TWinControl* control, HWND parentHandle);

  int Count() const { return static_cast<int>(items_.size()); }
  TChildItem Get(int index) const { return items_.at(static_cast<size_t>(index)); }
  HWND ParentHandle() const { return parentHandle_; }

 private:
  std::vector<TChildItem> items_;
  HWND parentHandle_ = 0;
};

// Owns child agents; freeing the list frees them, and each gives its window its procedure back.
class TAgentList : public TObject {
  DECLARE_CLASS(TAgentList)

 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TAgent* Items(int index) const { return items_.at(static_cast<size_t>(index)); }

  // Subclasses `handle` with a new child agent and appends it; returns its index. A window that
  // refuses raises, and nothing is appended.
  int Add(HWND handle);
  // Frees every agent, the last added first, and empties the list.
  void Clear();
  // Gives child agents to the windows inside `handle` that are no design targets of their own:
  // a child window of no child control of `control`, or of a child control with another owner
  // than `control`'s, is subclassed with all the windows inside it (AddTree); a child window of a
  // child control with the same owner is left to that control's own agent.
  void Build(TWinControl* control, HWND handle);
  // Subclasses `window` and, depth first in window order, every window inside it.
  void AddTree(HWND window);

 protected:
  void Destroy() override;

 private:
  std::vector<TAgent*> items_;
};
