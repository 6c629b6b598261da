#include "platform/controls/Menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <cctype>

#include "platform/controls/ActionLinks.h"
#include "platform/controls/ImgList.h"
#include "platform/controls/WinControl.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/win/ErrorBoundary.h"

DEFINE_CLASS(TMenuItem, TComponent) {
  c.Prop("Action", &TMenuItem::Action, &TMenuItem::SetAction);
  c.Prop("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false);
  c.Prop("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption).Stored(&TMenuItem::IsCaptionStored);
  c.Prop("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false).Stored(&TMenuItem::IsCheckedStored);
  c.Prop("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true).Stored(&TMenuItem::IsEnabledStored);
  c.Prop("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
  c.Prop("Hint", &TMenuItem::Hint, &TMenuItem::SetHint).Stored(&TMenuItem::IsHintStored);
  c.Prop("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
      .Default(-1)
      .Stored(&TMenuItem::IsImageIndexStored);
  c.Prop("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
  c.Prop("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).Default(0).Stored(&TMenuItem::IsShortCutStored);
  c.Prop("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true).Stored(&TMenuItem::IsVisibleStored);
  c.Event("OnClick", &TMenuItem::OnClick);
  c.Hears();  // Notification forgets only the item's action, which the item asked about
}

DEFINE_CLASS(TMenu, TComponent) {}

DEFINE_CLASS(TMainMenu, TMenu) {
  c.Prop("Images", &TMainMenu::Images, &TMainMenu::SetImages);
}

DEFINE_CLASS(TPopupMenu, TMenu) {
  c.Prop("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
  c.Prop("Images", &TPopupMenu::Images, &TPopupMenu::SetImages);
  c.Event("OnPopup", &TPopupMenu::OnPopup);
}

namespace {

// Marks the Qt actions of menu items, to tell them from actions other code put into a menu.
constexpr char kItemProperty[] = "markeditMenuItem";

bool IsItemAction(const QAction* action) { return action->property(kItemProperty).toBool(); }

// Puts the items' actions first in `widget`, in order, and drops the actions of items that left;
// other actions follow them.
void SyncActions(QWidget* widget, const std::vector<TMenuItem*>& items) {
  for (QAction* action : widget->actions())
    if (IsItemAction(action) &&
        std::none_of(items.begin(), items.end(), [action](TMenuItem* i) { return i->QtAction() == action; }))
      widget->removeAction(action);
  for (size_t i = 0; i < items.size(); ++i) {
    const QList<QAction*> now = widget->actions();
    QAction* wanted = items[i]->QtAction();
    const auto at = static_cast<qsizetype>(i);
    if (at < now.size() && now[at] == wanted) continue;
    // Inserting an action the widget has already moves it.
    widget->insertAction(at < now.size() ? now[at] : nullptr, wanted);
  }
}

std::string StripHotkey(const std::string& caption) {
  std::string stripped;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    stripped.push_back(caption[i]);
  }
  return stripped;
}

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

}  // namespace

// ---- the item's link to its action ----

template <>
struct TActionLinkProps<TMenuItem> {
  static constexpr auto Caption = &TMenuItem::Caption;
  static constexpr auto SetCaption = &TMenuItem::SetCaption;
  static constexpr auto Checked = &TMenuItem::Checked;
  static constexpr auto SetChecked = &TMenuItem::SetChecked;
  static constexpr auto Enabled = &TMenuItem::Enabled;
  static constexpr auto SetEnabled = &TMenuItem::SetEnabled;
  static constexpr auto Hint = &TMenuItem::Hint;
  static constexpr auto SetHint = &TMenuItem::SetHint;
  static constexpr auto ImageIndex = &TMenuItem::ImageIndex;
  static constexpr auto SetImageIndex = &TMenuItem::SetImageIndex;
  static constexpr auto ShortCut = &TMenuItem::ShortCut;
  static constexpr auto SetShortCut = &TMenuItem::SetShortCut;
  static constexpr auto Visible = &TMenuItem::Visible;
  static constexpr auto SetVisible = &TMenuItem::SetVisible;
};

class TMenuItem::Link : public TClientActionLink<TMenuItem> {
  using TClientActionLink::TClientActionLink;
};

TMenuItem::Link* TMenuItem::ActionLink() const {
  return link_ && link_->Action() ? static_cast<Link*>(link_.get()) : nullptr;
}

bool TMenuItem::IsCaptionStored() const { return !ActionLink() || !ActionLink()->IsCaptionLinked(); }
bool TMenuItem::IsCheckedStored() const { return !ActionLink() || !ActionLink()->IsCheckedLinked(); }
bool TMenuItem::IsEnabledStored() const { return !ActionLink() || !ActionLink()->IsEnabledLinked(); }
bool TMenuItem::IsHintStored() const { return !ActionLink() || !ActionLink()->IsHintLinked(); }
bool TMenuItem::IsImageIndexStored() const { return !ActionLink() || !ActionLink()->IsImageIndexLinked(); }
bool TMenuItem::IsShortCutStored() const { return !ActionLink() || !ActionLink()->IsShortCutLinked(); }
bool TMenuItem::IsVisibleStored() const { return !ActionLink() || !ActionLink()->IsVisibleLinked(); }

// ---- TMenuItem ----

void TMenuItem::Create(TComponent* owner) {
  TComponent::Create(owner);
  qaction_ = new QAction();
  qaction_->setProperty(kItemProperty, true);
  QObject::connect(qaction_, &QAction::triggered, qaction_, [this] {
    // Qt toggles a checkable action by itself; the item decides what is checked.
    qaction_->setChecked(checked_);
    QMetaObject::invokeMethod(qaction_, [this] { ClickFromQt(); }, Qt::QueuedConnection);
  });
}

void TMenuItem::Destroy() {
  if (parent_) parent_->Remove(this);
  while (!items_.empty()) items_.back()->Free();
  link_.reset();
  if (qaction_) qaction_->setMenu(static_cast<QMenu*>(nullptr));
  delete qmenu_;
  qmenu_ = nullptr;
  delete qaction_;
  qaction_ = nullptr;
  TComponent::Destroy();
}

void TMenuItem::ClickFromQt() {
  Guarded([this] { Click(); });
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<size_t>(index)];
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

void TMenuItem::CheckInsert(TMenuItem* item) const {
  if (!item) throw EMenuError("Menu item is nil");
  if (item->parent_) throw EMenuError("Menu inserted twice");
  for (const TMenuItem* up = this; up; up = up->parent_)
    if (up == item) throw EMenuError("Menu cannot hold itself");
  if (item->menu_) throw EMenuError("A menu's root cannot be inserted");
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  CheckInsert(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  item->UpdateIcons();
  ChildrenChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  ChildrenChanged();
}

void TMenuItem::Delete(int index) { Items(index)->Free(); }

void TMenuItem::Clear() {
  while (!items_.empty()) items_.back()->Free();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int v) {
  if (!parent_) return;
  auto& siblings = parent_->items_;
  int current = MenuIndex();
  v = std::clamp(v, 0, static_cast<int>(siblings.size()) - 1);
  if (v == current) return;
  siblings.erase(siblings.begin() + current);
  siblings.insert(siblings.begin() + v, this);
  parent_->ChildrenChanged();
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
  const std::string wanted = StripHotkey(caption);
  for (TMenuItem* item : items_)
    if (SameText(StripHotkey(item->caption_), wanted)) return item;
  return nullptr;
}

QMenu* TMenuItem::QtMenu() {
  if (!qmenu_) {
    qmenu_ = new QMenu();
    // An item's OnClick runs as its submenu opens, which may still change the items; then they
    // update their actions, the way the top level is kept current.
    QObject::connect(qmenu_, &QMenu::aboutToShow, qmenu_, [this] {
      if (OnClick) OnClick(this);
      for (TMenuItem* item : std::vector<TMenuItem*>(items_)) item->InitiateAction();
    });
  }
  return qmenu_;
}

void TMenuItem::ChildrenChanged() {
  if (items_.empty()) {
    if (qmenu_) {
      qaction_->setMenu(static_cast<QMenu*>(nullptr));
      SyncActions(qmenu_, items_);
    }
  } else {
    QMenu* menu = QtMenu();
    SyncActions(menu, items_);
    if (qaction_->menu<QMenu*>() != menu) qaction_->setMenu(menu);
  }
  if (menu_) menu_->ItemsChanged();
}

// ---- properties ----

TBasicAction* TMenuItem::Action() const { return link_ ? link_->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* v) {
  if (Action() == v) return;
  if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
  if (!v) {
    link_.reset();
    return;
  }
  if (!link_) link_ = std::make_unique<Link>(this);
  link_->SetAction(v);
  v->FreeNotification(this);
  ActionChange(v, ComponentState().Contains(csLoading));
}

void TMenuItem::ActionChange(TBasicAction* sender, bool checkDefaults) {
  if (auto* action = dynamic_cast<TCustomAction*>(sender); action && link_)
    static_cast<Link*>(link_.get())->CopyValues(*action, checkDefaults);
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component && component == Action()) link_.reset();
  TComponent::Notification(component, operation);
}

void TMenuItem::SetCaption(const std::string& v) {
  if (caption_ == v) return;
  caption_ = v;
  // A line is a separator and nothing else: styles draw a separator's text beside its line.
  qaction_->setText(IsLine() ? QString() : QString::fromStdString(v));
  qaction_->setSeparator(IsLine());
}

void TMenuItem::SetChecked(bool v) {
  if (checked_ == v) return;
  checked_ = v;
  // Only a checked item reserves room for a check mark.
  qaction_->setCheckable(v);
  qaction_->setChecked(v);
  if (v && radioItem_) TurnSiblingsOff();
}

void TMenuItem::TurnSiblingsOff() {
  if (!parent_) return;
  for (TMenuItem* sibling : parent_->items_)
    if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) sibling->SetChecked(false);
}

void TMenuItem::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  qaction_->setEnabled(v);
}

void TMenuItem::SetGroupIndex(int v) {
  if (groupIndex_ == v) return;
  groupIndex_ = v;
  if (checked_ && radioItem_) TurnSiblingsOff();
}

void TMenuItem::SetHint(const std::string& v) {
  if (hint_ == v) return;
  hint_ = v;
  qaction_->setStatusTip(QString::fromStdString(v));
}

void TMenuItem::SetImageIndex(int v) {
  if (imageIndex_ == v) return;
  imageIndex_ = v;
  UpdateIcon();
}

void TMenuItem::SetRadioItem(bool v) {
  if (radioItem_ == v) return;
  radioItem_ = v;
  if (checked_ && radioItem_) TurnSiblingsOff();
}

void TMenuItem::SetShortCut(TShortCut v) {
  if (shortCut_ == v) return;
  shortCut_ = v;
  ApplyShortCuts();
}

void TMenuItem::SetSecondaryShortCuts(std::vector<TShortCut> keys) {
  secondaryShortCuts_ = std::move(keys);
  ApplyShortCuts();
}

// The first key sequence is the one the menu shows.
void TMenuItem::ApplyShortCuts() {
  QList<QKeySequence> keys;
  if (shortCut_) keys.append(ShortCutToKeySequence(shortCut_));
  for (TShortCut key : secondaryShortCuts_) keys.append(ShortCutToKeySequence(key));
  qaction_->setShortcuts(keys);
}

void TMenuItem::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  qaction_->setVisible(v);
}

void TMenuItem::UpdateIcon() {
  TMenu* menu = GetParentMenu();
  TImageList* images = menu ? menu->Images() : nullptr;
  qaction_->setIcon(images && imageIndex_ >= 0 ? images->Icon(imageIndex_) : QIcon());
}

void TMenuItem::UpdateIcons() {
  UpdateIcon();
  for (TMenuItem* item : items_) item->UpdateIcons();
}

// ---- behaviour ----

void TMenuItem::Click() {
  if (!enabled_) return;
  TBasicAction* action = Action();
  auto* custom = dynamic_cast<TCustomAction*>(action);
  if (autoCheck_ && !(custom && custom->AutoCheck())) SetChecked(!checked_);
  if (Link::RunsOwnHandler(OnClick, action)) OnClick(this);
  else link_->Execute();
}

void TMenuItem::InitiateAction() {
  if (link_ && link_->Action()) link_->Update();
}

// ---- streaming ----

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (parent_) parent_->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(parent)) menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TMenuItem* item : std::vector<TMenuItem*>(items_))
    if (item->Owner() == root) proc(item);
}

void TMenuItem::SetChildOrder(TComponent* child, int order) {
  if (auto* item = dynamic_cast<TMenuItem*>(child); item && item->parent_ == this) item->SetMenuIndex(order);
}

// ---- TMenu ----

void TMenu::Create(TComponent* owner) {
  TComponent::Create(owner);
  items_ = New<TMenuItem>(this);
  items_->menu_ = this;
}

void TMenu::Destroy() {
  SetImages(nullptr);
  FreeAndNil(items_);
  TComponent::Destroy();
}

void TMenu::SetImages(TImageList* v) {
  if (images_ == v) return;
  if (images_) {
    images_->UnRegisterChanges(this);
    images_->RemoveFreeNotification(this);
  }
  images_ = v;
  if (v) {
    v->FreeNotification(this);
    v->RegisterChanges(this, [this] { items_->UpdateIcons(); });
  }
  if (items_) items_->UpdateIcons();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component && component == images_) {
    images_ = nullptr;
    if (items_) items_->UpdateIcons();
  }
  TComponent::Notification(component, operation);
}

TMenuItem* TMenu::FindShortCut(TShortCut shortCut) const {
  if (!shortCut) return nullptr;
  std::vector<TMenuItem*> pending = {items_};
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    if (item != items_ && item->ShortCut() == shortCut && item->Enabled() && item->Visible()) return item;
    pending.insert(pending.end(), item->items_.rbegin(), item->items_.rend());
  }
  return nullptr;
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) { items_->GetChildren(proc, root); }

void TMenu::SetChildOrder(TComponent* child, int order) { items_->SetChildOrder(child, order); }

// ---- TMainMenu ----

QMenuBar* TMainMenu::CreateMenuBar(QWidget* parent) {
  auto* bar = new QMenuBar(parent);
  bar->setNativeMenuBar(false);
  bars_.emplace_back(bar);
  SyncActions(bar, Items()->ItemList());
  bar->show();
  return bar;
}

void TMainMenu::ItemsChanged() {
  bars_.erase(std::remove_if(bars_.begin(), bars_.end(), [](const QPointer<QMenuBar>& b) { return b.isNull(); }),
              bars_.end());
  for (const QPointer<QMenuBar>& bar : bars_) SyncActions(bar, Items()->ItemList());
}

// ---- TPopupMenu ----

void TPopupMenu::Create(TComponent* owner) {
  TMenu::Create(owner);
  Items()->QtMenu();
}

QMenu* TPopupMenu::QtMenu() const { return Items()->QtMenu(); }

void TPopupMenu::Popup(int x, int y) {
  popupPoint_ = {x, y};
  OnPopup(this);
  // The handler may have emptied the menu: an empty menu shows nothing.
  QMenu* menu = QtMenu();
  if (Items()->Count() == 0) return;
  menu->popup(QPoint(x, y));
}

void TPopupMenu::SetPopupComponent(TComponent* v) {
  if (popupComponent_ == v) return;
  if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
  popupComponent_ = v;
  if (v) v->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component && component == popupComponent_) popupComponent_ = nullptr;
  TMenu::Notification(component, operation);
}

bool ShowPopupMenuOf(TControl* control, TPoint screen) {
  for (TControl* c = control; c; c = c->Parent()) {
    auto* menu = dynamic_cast<TPopupMenu*>(c->PopupMenu());
    if (!menu) continue;
    if (!menu->AutoPopup()) return false;
    menu->SetPopupComponent(c);
    menu->Popup(screen.X, screen.Y);
    return true;
  }
  return false;
}
