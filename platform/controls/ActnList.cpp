#include "platform/controls/ActnList.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

#include <algorithm>

#include "platform/controls/ImgList.h"
#include "platform/controls/WinControl.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/win/ErrorBoundary.h"

DEFINE_CLASS(TBasicAction, TComponent) {
  c.Event("OnExecute", &TBasicAction::OnExecute);
  c.Event("OnUpdate", &TBasicAction::OnUpdate);
}

DEFINE_CLASS(TContainedAction, TBasicAction) {
  c.Prop("Category", &TContainedAction::Category, &TContainedAction::SetCategory);
}

// Every action class, the standard ones included, publishes the values its clients show.
DEFINE_CLASS(TCustomAction, TContainedAction) {
  c.Prop("AutoCheck", &TCustomAction::AutoCheck, &TCustomAction::SetAutoCheck).Default(false);
  c.Prop("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption);
  c.Prop("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked).Default(false);
  c.Prop("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled).Default(true);
  c.Prop("HelpContext", &TCustomAction::HelpContext, &TCustomAction::SetHelpContext).Default(0);
  c.Prop("Hint", &TCustomAction::Hint, &TCustomAction::SetHint);
  c.Prop("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex).Default(-1);
  c.Prop("ShortCut", &TCustomAction::ShortCut, &TCustomAction::SetShortCut).Default(0);
  c.Prop("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible).Default(true);
}

DEFINE_CLASS(TAction, TCustomAction) {}

DEFINE_CLASS(TCustomActionList, TComponent) {}

DEFINE_CLASS(TActionList, TCustomActionList) {
  c.Prop("Images", &TActionList::Images, &TActionList::SetImages);
  c.Event("OnChange", &TActionList::OnChange);
  c.Event("OnExecute", &TActionList::OnExecute);
  c.Event("OnUpdate", &TActionList::OnUpdate);
}

// ---- the actions alive, and when they are updated ----

namespace {

std::vector<TBasicAction*>& LiveActions() {
  static std::vector<TBasicAction*> actions;
  return actions;
}

bool IsLive(TBasicAction* action) {
  const auto& live = LiveActions();
  return std::find(live.begin(), live.end(), action) != live.end();
}

// Only actions that something shows or invokes are worth updating, and not while they are
// designed or read.
bool Updatable(TBasicAction* action) {
  TComponentState state = action->ComponentState();
  return !action->Clients().empty() && !state.Contains(csDesigning) && !state.Contains(csLoading);
}

void UpdateAll(TShortCut onlyShortCut) {
  static bool updating = false;
  if (updating) return;
  updating = true;
  for (TBasicAction* action : std::vector<TBasicAction*>(LiveActions())) {
    if (!IsLive(action) || !Updatable(action)) continue;
    if (onlyShortCut) {
      auto* custom = dynamic_cast<TCustomAction*>(action);
      if (!custom || custom->ShortCut() != onlyShortCut) continue;
    }
    Guarded([action] { action->Update(); });
  }
  updating = false;
}

// Qt matches a key against the shortcuts of menu items right after it sends ShortcutOverride to
// the focused widget: the actions with that shortcut are brought up to date just before, so that
// a disabled one lets the key through to the focused control.
class ActionHooks : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (TShortCut shortCut = ShortCutFromQtKey(key->key(), key->modifiers())) UpdateAll(shortCut);
    }
    return false;
  }
};

void EnsureActionHooks() {
  static QPointer<ActionHooks> hooks;
  QCoreApplication* app = QCoreApplication::instance();
  if (hooks || !app) return;
  hooks = new ActionHooks();
  hooks->setParent(app);
  app->installEventFilter(hooks);
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(app->thread()))
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, hooks, [] { UpdateAll(0); });
}

}  // namespace

void UpdateActions() { UpdateAll(0); }

// ---- links ----

TBasicActionLink::~TBasicActionLink() { SetAction(nullptr); }

void TBasicActionLink::SetAction(TBasicAction* action) {
  if (action_ == action) return;
  if (action_) {
    auto& clients = action_->clients_;
    clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
  }
  action_ = action;
  if (action_) action_->clients_.push_back(this);
}

bool TBasicActionLink::Execute() {
  TBasicAction* action = action_;
  if (!action) return false;
  TComponent* client = client_;
  action->SetActionComponent(client);
  bool handled = false;
  try {
    handled = action->Execute();
  } catch (...) {
    if (IsLive(action)) action->SetActionComponent(nullptr);
    throw;
  }
  if (IsLive(action)) action->SetActionComponent(nullptr);
  return handled;
}

bool TBasicActionLink::Update() { return action_ && action_->Update(); }

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(Action()); }

// ---- TBasicAction ----

void TBasicAction::Create(TComponent* owner) {
  TComponent::Create(owner);
  LiveActions().push_back(this);
  EnsureActionHooks();
}

void TBasicAction::Destroy() {
  auto& live = LiveActions();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
  // The clients keep the values they took.
  for (TBasicActionLink* link : clients_) link->action_ = nullptr;
  clients_.clear();
  TComponent::Destroy();
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

// ---- TContainedAction ----

void TContainedAction::Destroy() {
  SetActionList(nullptr);
  TBasicAction::Destroy();
}

bool TContainedAction::Execute() {
  if (actionList_ && actionList_->ExecuteAction(this)) return true;
  return TBasicAction::Execute() || ExecuteOnTarget();
}

bool TContainedAction::Update() {
  if (actionList_ && actionList_->UpdateAction(this)) return true;
  return TBasicAction::Update() || UpdateOnTarget();
}

void TContainedAction::SetActionList(TCustomActionList* list) {
  if (actionList_ == list) return;
  if (actionList_) {
    auto& actions = actionList_->actions_;
    actions.erase(std::remove(actions.begin(), actions.end(), this), actions.end());
  }
  actionList_ = list;
  if (list) list->actions_.push_back(this);
}

int TContainedAction::Index() const {
  if (!actionList_) return -1;
  const auto& actions = actionList_->actions_;
  return static_cast<int>(std::find(actions.begin(), actions.end(), this) - actions.begin());
}

void TContainedAction::SetIndex(int v) {
  int current = Index();
  if (current < 0) return;
  auto& actions = actionList_->actions_;
  v = std::clamp(v, 0, static_cast<int>(actions.size()) - 1);
  if (v == current) return;
  actions.erase(actions.begin() + current);
  actions.insert(actions.begin() + v, this);
}

TComponent* TContainedAction::GetParentComponent() const { return actionList_; }

void TContainedAction::SetParentComponent(TComponent* parent) {
  if (auto* list = dynamic_cast<TCustomActionList*>(parent)) SetActionList(list);
}

// ---- TCustomAction ----

template <class F>
void TCustomAction::ForEachLink(F push) {
  // A client that takes a value may drop its link meanwhile.
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(Clients())) {
    const auto& now = Clients();
    if (std::find(now.begin(), now.end(), link) == now.end()) continue;
    if (auto* shown = dynamic_cast<TActionLink*>(link)) push(*shown);
  }
}

bool TCustomAction::Execute() {
  Update();
  if (!enabled_) return false;
  if (autoCheck_) SetChecked(!checked_);
  return TContainedAction::Execute();
}

bool TCustomAction::Update() {
  bool handled = TContainedAction::Update();
  if (!handled && enabled_ && disableIfNoHandler_ && !OnExecute) SetEnabled(false);
  return handled;
}

void TCustomAction::SetCaption(const std::string& v) {
  if (caption_ == v) return;
  ForEachLink([&v](TActionLink& link) { link.SetCaption(v); });
  caption_ = v;
}

void TCustomAction::SetChecked(bool v) {
  if (checked_ == v) return;
  ForEachLink([v](TActionLink& link) { link.SetChecked(v); });
  checked_ = v;
}

void TCustomAction::SetEnabled(bool v) {
  if (enabled_ == v) return;
  ForEachLink([v](TActionLink& link) { link.SetEnabled(v); });
  enabled_ = v;
}

void TCustomAction::SetHint(const std::string& v) {
  if (hint_ == v) return;
  ForEachLink([&v](TActionLink& link) { link.SetHint(v); });
  hint_ = v;
}

void TCustomAction::SetImageIndex(int v) {
  if (imageIndex_ == v) return;
  ForEachLink([v](TActionLink& link) { link.SetImageIndex(v); });
  imageIndex_ = v;
}

void TCustomAction::SetShortCut(TShortCut v) {
  if (shortCut_ == v) return;
  ForEachLink([v](TActionLink& link) { link.SetShortCut(v); });
  shortCut_ = v;
}

void TCustomAction::SetVisible(bool v) {
  if (visible_ == v) return;
  ForEachLink([v](TActionLink& link) { link.SetVisible(v); });
  visible_ = v;
}

// ---- action lists ----

void TCustomActionList::Destroy() {
  while (!actions_.empty()) actions_.back()->Free();
  TComponent::Destroy();
}

TContainedAction* TCustomActionList::Actions(int index) const {
  if (index < 0 || index >= ActionCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return actions_[static_cast<size_t>(index)];
}

void TCustomActionList::SetImages(TImageList* v) {
  if (images_ == v) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = v;
  if (v) v->FreeNotification(this);
  OnChange(this);
}

void TCustomActionList::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == images_) images_ = nullptr;
  TComponent::Notification(component, operation);
}

bool TCustomActionList::ExecuteAction(TBasicAction* action) {
  bool handled = false;
  OnExecute(action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* action) {
  bool handled = false;
  OnUpdate(action, handled);
  return handled;
}

void TCustomActionList::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TContainedAction* action : std::vector<TContainedAction*>(actions_))
    if (action->Owner() == root) proc(action);
}

void TCustomActionList::SetChildOrder(TComponent* child, int order) {
  if (auto* action = dynamic_cast<TContainedAction*>(child); action && action->ActionList() == this)
    action->SetIndex(order);
}
