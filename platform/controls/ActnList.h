#pragma once
// Actions: commands with a caption, a shortcut, an image and an enabled, checked and visible
// state, shared by the menu items and tool buttons ("clients") that invoke them.
//
// A client holds an action link. Assigning the action copies the action's values into the client
// (when reading a stream, only into properties the stream left at their defaults); afterwards the
// action pushes every change through the links, and a client takes the new value for each property
// that still holds the action's old value, so a value the client set itself stays. Clicking the
// client executes the action.
//
// Executing asks, in order, the action list's OnExecute, the action's OnExecute and, for standard
// actions, the action's own target (the focused edit box, the multiple-document frame). Updating
// asks the list's OnUpdate, the action's OnUpdate and the target the same way; an action that
// nothing updates and that has no OnExecute is disabled (DisableIfNoHandler). Actions with clients
// are updated whenever the event loop goes idle, the actions of a menu when it opens, and an
// action with a shortcut just before its key is matched, so that a disabled action leaves its key
// to the focused control.
//
// In a stream, actions are children of their action list:
//   object ActionList1: TActionList  object FileExit1: TAction  Caption = 'E&xit' … end  end

#include <string>
#include <vector>

#include "platform/controls/ShortCuts.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

class TBasicAction;
class TCustomAction;
class TCustomActionList;
class TImageList;

// A client's side of its action (see above). The client owns it.
class TBasicActionLink {
 public:
  explicit TBasicActionLink(TComponent* client) : client_(client) {}
  TBasicActionLink(const TBasicActionLink&) = delete;
  TBasicActionLink& operator=(const TBasicActionLink&) = delete;
  virtual ~TBasicActionLink();

  TComponent* Client() const { return client_; }
  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* action);
  // Executes the action on behalf of the client, which is the action's ActionComponent meanwhile.
  // True when something handled it. The handler may free the client and this link.
  bool Execute();
  bool Update();

 private:
  friend class TBasicAction;
  TComponent* client_;
  TBasicAction* action_ = nullptr;
};

// The link of clients that show an action's values; each client overrides the values it has.
class TActionLink : public TBasicActionLink {
 public:
  using TBasicActionLink::TBasicActionLink;
  TCustomAction* CustomAction() const;

  virtual void SetCaption(const std::string&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetHint(const std::string&) {}
  virtual void SetImageIndex(int) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(bool) {}
};

class TBasicAction : public TComponent {
  DECLARE_CLASS(TBasicAction)

 public:
  void Create(TComponent* owner) override;

  // True when something handled the command.
  virtual bool Execute();
  virtual bool Update();

  // The client that is executing the action, while it does.
  TComponent* ActionComponent() const { return actionComponent_; }
  void SetActionComponent(TComponent* v) { actionComponent_ = v; }
  const std::vector<TBasicActionLink*>& Clients() const { return clients_; }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 protected:
  void Destroy() override;

 private:
  friend class TBasicActionLink;
  std::vector<TBasicActionLink*> clients_;
  TComponent* actionComponent_ = nullptr;
};

class TContainedAction : public TBasicAction {
  DECLARE_CLASS(TContainedAction)

 public:
  bool Execute() override;
  bool Update() override;

  TCustomActionList* ActionList() const { return actionList_; }
  void SetActionList(TCustomActionList* list);
  const std::string& Category() const { return category_; }
  void SetCategory(const std::string& v) { category_ = v; }
  // The position in the action list; -1 without a list.
  int Index() const;
  void SetIndex(int v);

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

 protected:
  void Destroy() override;
  // A standard action's own behaviour, asked when no handler took the command: acts on its target
  // and returns true, or returns false when it has none.
  virtual bool ExecuteOnTarget() { return false; }
  virtual bool UpdateOnTarget() { return false; }

 private:
  TCustomActionList* actionList_ = nullptr;
  std::string category_;
};

class TCustomAction : public TContainedAction {
  DECLARE_CLASS(TCustomAction)

 public:
  // Updates first; a disabled action does nothing and returns false.
  bool Execute() override;
  bool Update() override;

  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool v) { autoCheck_ = v; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool DisableIfNoHandler() const { return disableIfNoHandler_; }
  void SetDisableIfNoHandler(bool v) { disableIfNoHandler_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);

 private:
  // Runs `push` for every client link that shows this action's values.
  template <class F>
  void ForEachLink(F push);

  bool autoCheck_ = false;
  std::string caption_;
  bool checked_ = false;
  bool disableIfNoHandler_ = true;
  bool enabled_ = true;
  int helpContext_ = 0;
  std::string hint_;
  int imageIndex_ = -1;
  TShortCut shortCut_ = 0;
  bool visible_ = true;
};

class TAction : public TCustomAction {
  DECLARE_CLASS(TAction)
};

// Answers whether the list's handler took the action.
using TActionEvent = TEvent<TBasicAction*, bool&>;

class TCustomActionList : public TComponent {
  DECLARE_CLASS(TCustomActionList)

 public:
  int ActionCount() const { return static_cast<int>(actions_.size()); }
  TContainedAction* Actions(int index) const;
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);

  virtual bool ExecuteAction(TBasicAction* action);
  virtual bool UpdateAction(TBasicAction* action);

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

 protected:
  // Frees the actions with the list.
  void Destroy() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TContainedAction;
  std::vector<TContainedAction*> actions_;
  TImageList* images_ = nullptr;
};

class TActionList : public TCustomActionList {
  DECLARE_CLASS(TActionList)
};

// Updates every action that has clients at once, as the event loop does whenever it goes idle.
void UpdateActions();
