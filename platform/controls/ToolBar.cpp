#include "platform/controls/ToolBar.h"

#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>

#include <algorithm>

#include "platform/controls/ActionLinks.h"
#include "platform/controls/ImgList.h"
#include "platform/controls/Menus.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/win/ErrorBoundary.h"

DEFINE_CLASS(TToolButton, TWinControl) {
  c.Prop("Action", &TToolButton::Action, &TToolButton::SetAction);
  c.Prop("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp).Default(false);
  c.Prop("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu);
  c.Prop("Caption", &TToolButton::Caption, &TToolButton::SetCaption).Stored(&TToolButton::IsCaptionStored);
  c.Prop("Down", &TToolButton::Down, &TToolButton::SetDown).Default(false).Stored(&TToolButton::IsDownStored);
  c.Prop("Enabled", &TToolButton::Enabled, &TToolButton::SetEnabled)
      .Default(true)
      .Stored(&TToolButton::IsEnabledStored);
  c.Prop("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped).Default(false);
  c.Prop("Hint", &TToolButton::Hint, &TToolButton::SetHint).Stored(&TToolButton::IsHintStored);
  c.Prop("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)
      .Default(-1)
      .Stored(&TToolButton::IsImageIndexStored);
  c.Prop("PopupMenu", &TToolButton::PopupMenu, &TToolButton::SetPopupMenu);
  c.Prop("Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
  c.Prop("Visible", &TToolButton::Visible, &TToolButton::SetVisible)
      .Default(true)
      .Stored(&TToolButton::IsVisibleStored);
  c.Event("OnClick", &TToolButton::OnClick);
  // Never a stop of the tab order: its place in it is not kept.
  c.Prop("TabOrder", &TToolButton::TabOrder, &TToolButton::SetTabOrder).Stored(false);
}

DEFINE_CLASS(TToolBar, TCustomControl) {
  c.Prop("Align", &TToolBar::Align, &TToolBar::SetAlign).Default(alTop);
  c.Prop("AutoSize", &TToolBar::AutoSize, &TToolBar::SetAutoSize).Default(false);
  c.Prop("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
  c.Prop("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
  c.Prop("Caption", &TToolBar::Caption, &TToolBar::SetCaption);
  c.Prop("Color", &TToolBar::Color, &TToolBar::SetColor)
      .Type(ColorType())
      .Default(clBtnFace)
      .Stored(&TToolBar::IsColorStored);
  c.Prop("EdgeBorders", &TToolBar::EdgeBorders, &TToolBar::SetEdgeBorders).Default(TEdgeBorders{ebTop}.Bits());
  c.Prop("Enabled", &TToolBar::Enabled, &TToolBar::SetEnabled).Default(true);
  c.Prop("Flat", &TToolBar::Flat, &TToolBar::SetFlat).Default(false);
  c.Prop("Font", &TToolBar::Font, &TToolBar::SetFont).Stored(&TToolBar::IsFontStored);
  c.Prop("Images", &TToolBar::Images, &TToolBar::SetImages);
  c.Prop("Indent", &TToolBar::Indent, &TToolBar::SetIndent).Default(0);
  c.Prop("ParentColor", &TToolBar::ParentColor, &TToolBar::SetParentColor).Default(false);
  c.Prop("ParentFont", &TToolBar::ParentFont, &TToolBar::SetParentFont).Default(true);
  c.Prop("PopupMenu", &TToolBar::PopupMenu, &TToolBar::SetPopupMenu);
  c.Prop("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions).Default(false);
  c.Prop("Visible", &TToolBar::Visible, &TToolBar::SetVisible).Default(true);
  c.Prop("Wrapable", &TToolBar::Wrapable, &TToolBar::SetWrapable).Default(true);
}

namespace {

// The pixels an edge border takes: an etched line of two.
constexpr int kEdge = 2;

// The face of a separator: the style's tool bar separator, upright in the middle.
class SeparatorWidget : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    option.state |= QStyle::State_Horizontal;
    style()->drawPrimitive(QStyle::PE_IndicatorToolBarSeparator, &option, &painter, this);
  }
};

}  // namespace

// ---- the button's link to its action ----

// A button shows the action's Checked as Down and has no shortcut.
template <>
struct TActionLinkProps<TToolButton> {
  static constexpr auto Caption = &TToolButton::Caption;
  static constexpr auto SetCaption = &TToolButton::SetCaption;
  static constexpr auto Checked = &TToolButton::Down;
  static constexpr auto SetChecked = &TToolButton::SetDown;
  static constexpr auto Enabled = &TToolButton::Enabled;
  static constexpr auto SetEnabled = &TToolButton::SetEnabled;
  static constexpr auto Hint = &TToolButton::Hint;
  static constexpr auto SetHint = &TToolButton::SetHint;
  static constexpr auto ImageIndex = &TToolButton::ImageIndex;
  static constexpr auto SetImageIndex = &TToolButton::SetImageIndex;
  static constexpr std::nullptr_t ShortCut = nullptr;
  static constexpr std::nullptr_t SetShortCut = nullptr;
  static constexpr auto Visible = &TToolButton::Visible;
  static constexpr auto SetVisible = &TToolButton::SetVisible;
};

class TToolButton::Link : public TClientActionLink<TToolButton> {
  using TClientActionLink::TClientActionLink;
};

TToolButton::Link* TToolButton::ActionLink() const {
  return link_ && link_->Action() ? static_cast<Link*>(link_.get()) : nullptr;
}

bool TToolButton::IsCaptionStored() const { return !ActionLink() || !ActionLink()->IsCaptionLinked(); }
bool TToolButton::IsDownStored() const { return !ActionLink() || !ActionLink()->IsCheckedLinked(); }
bool TToolButton::IsEnabledStored() const { return !ActionLink() || !ActionLink()->IsEnabledLinked(); }
bool TToolButton::IsHintStored() const { return !ActionLink() || !ActionLink()->IsHintLinked(); }
bool TToolButton::IsImageIndexStored() const { return !ActionLink() || !ActionLink()->IsImageIndexLinked(); }
bool TToolButton::IsVisibleStored() const { return !ActionLink() || !ActionLink()->IsVisibleLinked(); }

// ---- TToolButton ----

void TToolButton::Create(TComponent* owner) {
  TWinControl::Create(owner);
  // Clicks come from the Qt button (see Clicked), not from the mouse messages.
  controlStyle_.Exclude(csClickEvents);
  controlStyle_.Exclude(csCaptureMouse);
  SetBounds(0, 0, 23, 22);
}

void TToolButton::Destroy() {
  link_.reset();
  TWinControl::Destroy();
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

int TToolButton::Index() const {
  TToolBar* bar = ToolBar();
  if (!bar) return -1;
  auto it = std::find(bar->buttons_.begin(), bar->buttons_.end(), this);
  return it == bar->buttons_.end() ? -1 : static_cast<int>(it - bar->buttons_.begin());
}

QWidget* TToolButton::CreateWidget() {
  if (IsSeparator()) return new SeparatorWidget();
  auto* button = new QToolButton();
  button->setFocusPolicy(Qt::NoFocus);
  // The button shows Down as Qt's check; Clicked puts back what Qt toggles by itself.
  button->setCheckable(true);
  QObject::connect(button, &QToolButton::clicked, button, [this](bool checked) { Clicked(checked); });
  return button;
}

void TToolButton::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWidget();
}

void TToolButton::UpdateWidget() {
  if (!HandleAllocated()) return;
  auto* button = qobject_cast<QToolButton*>(WindowWidget(Handle()));
  if (!button) return;
  TToolBar* bar = ToolBar();
  TImageList* images = bar ? bar->Images() : nullptr;
  QIcon icon = images && imageIndex_ >= 0 ? images->Icon(imageIndex_) : QIcon();
  if (images) button->setIconSize(QSize(images->Width(), images->Height()));
  button->setIcon(icon);
  button->setText(QString::fromStdString(Caption()));
  button->setToolTip(QString::fromStdString(hint_.substr(0, hint_.find('|'))));
  button->setAutoRaise(bar && bar->Flat());
  const bool captions = bar && bar->ShowCaptions();
  if (!captions) button->setToolButtonStyle(Qt::ToolButtonIconOnly);
  else button->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonTextUnderIcon);
  button->setChecked(down_);
  // A drop-down button opens its menu under itself, whether pressed on its face or its arrow.
  QMenu* menu = style_ == tbsDropDown && dropdownMenu_ ? dropdownMenu_->QtMenu() : nullptr;
  if (button->menu() != menu) button->setMenu(menu);
  button->setPopupMode(menu ? QToolButton::InstantPopup : QToolButton::DelayedPopup);
  button->setCheckable(!menu);
}

void TToolButton::Clicked(bool checked) {
  bool down = down_;
  // A grouped check button that is down stays down unless its group may be all up.
  if (style_ == tbsCheck) down = grouped_ && down_ && !allowAllUp_ ? true : checked;
  SetDown(down);
  if (HandleAllocated())
    if (auto* button = qobject_cast<QToolButton*>(WindowWidget(Handle()))) {
      button->setChecked(down_);
      QMetaObject::invokeMethod(button, [this] { ClickFromQt(); }, Qt::QueuedConnection);
    }
}

void TToolButton::ClickFromQt() {
  Guarded([this] { Click(); });
}

void TToolButton::Click() {
  TBasicAction* action = Action();
  if (Link::RunsOwnHandler(OnClick, action)) TWinControl::Click();
  else link_->Execute();
}

void TToolButton::InitiateAction() {
  if (link_ && link_->Action()) link_->Update();
}

void TToolButton::SetDown(bool v) {
  if (down_ == v) return;
  if (down_ && style_ == tbsCheck && grouped_ && !allowAllUp_ && !v) {
    // Only another button of the group raises this one.
    bool othersDown = false;
    if (TToolBar* bar = ToolBar())
      for (TToolButton* b : bar->buttons_) othersDown = othersDown || (b != this && b->down_ && b->grouped_);
    if (!othersDown) return;
  }
  down_ = v;
  if (v && style_ == tbsCheck && grouped_) RaiseGroup();
  UpdateWidget();
}

void TToolButton::RaiseGroup() {
  TToolBar* bar = ToolBar();
  int index = Index();
  if (!bar || index < 0) return;
  // The group is the run of grouped check buttons around this one.
  auto inGroup = [](TToolButton* b) { return b->grouped_ && b->style_ == tbsCheck; };
  int first = index, last = index;
  while (first > 0 && inGroup(bar->buttons_[static_cast<size_t>(first - 1)])) --first;
  while (last + 1 < bar->ButtonCount() && inGroup(bar->buttons_[static_cast<size_t>(last + 1)])) ++last;
  for (int i = first; i <= last; ++i) {
    TToolButton* other = bar->buttons_[static_cast<size_t>(i)];
    if (other == this || !other->down_) continue;
    other->down_ = false;
    other->UpdateWidget();
  }
}

void TToolButton::SetHint(const std::string& v) {
  if (hint_ == v) return;
  hint_ = v;
  UpdateWidget();
}

void TToolButton::SetImageIndex(int v) {
  if (imageIndex_ == v) return;
  imageIndex_ = v;
  UpdateWidget();
}

void TToolButton::SetStyle(TToolButtonStyle v) {
  if (style_ == v) return;
  const bool wasSeparator = IsSeparator();
  style_ = v;
  if (IsSeparator() && !ComponentState().Contains(csLoading)) SetWidth(8);
  if (wasSeparator != IsSeparator()) RecreateWnd();
  else UpdateWidget();
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

TBasicAction* TToolButton::Action() const { return link_ ? link_->Action() : nullptr; }

void TToolButton::SetAction(TBasicAction* v) {
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

void TToolButton::ActionChange(TBasicAction* sender, bool checkDefaults) {
  if (auto* action = dynamic_cast<TCustomAction*>(sender); action && link_)
    static_cast<Link*>(link_.get())->CopyValues(*action, checkDefaults);
}

void TToolButton::SetDropdownMenu(TPopupMenu* v) {
  if (dropdownMenu_ == v) return;
  if (dropdownMenu_) dropdownMenu_->RemoveFreeNotification(this);
  dropdownMenu_ = v;
  if (v) v->FreeNotification(this);
  UpdateWidget();
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component && component == dropdownMenu_) {
    dropdownMenu_ = nullptr;
    UpdateWidget();
  }
  if (operation == opRemove && component && component == Action()) link_.reset();
  TWinControl::Notification(component, operation);
}

void TToolButton::BoundsChanged(const TRect& old) {
  TWinControl::BoundsChanged(old);
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::Dispatch(TMessage& message) {
  TWinControl::Dispatch(message);
  switch (message.Msg) {
    case CM_TEXTCHANGED:
      UpdateWidget();
      break;
    case CM_VISIBLECHANGED:
      if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
      break;
    default:
      break;
  }
}

// ---- TToolBar ----

void TToolBar::Create(TComponent* owner) {
  TCustomControl::Create(owner);
  controlStyle_.Include(csAcceptsControls);
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
}

void TToolBar::Destroy() {
  SetImages(nullptr);
  TCustomControl::Destroy();
}

TToolButton* TToolBar::Buttons(int index) const {
  if (index < 0 || index >= ButtonCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return buttons_[static_cast<size_t>(index)];
}

void TToolBar::SetAutoSize(bool v) {
  if (autoSize_ == v) return;
  autoSize_ = v;
  ArrangeButtons();
}

void TToolBar::SetButtonHeight(int v) {
  v = std::max(v, 1);
  if (buttonHeight_ == v) return;
  buttonHeight_ = v;
  ArrangeButtons();
}

void TToolBar::SetButtonWidth(int v) {
  v = std::max(v, 1);
  if (buttonWidth_ == v) return;
  buttonWidth_ = v;
  ArrangeButtons();
}

void TToolBar::SetEdgeBorders(TEdgeBorders v) {
  if (edgeBorders_ == v) return;
  edgeBorders_ = v;
  ArrangeButtons();
  Invalidate();
}

void TToolBar::SetFlat(bool v) {
  if (flat_ == v) return;
  flat_ = v;
  ButtonsChanged();
}

void TToolBar::SetImages(TImageList* v) {
  if (images_ == v) return;
  if (images_) {
    images_->UnRegisterChanges(this);
    images_->RemoveFreeNotification(this);
  }
  images_ = v;
  if (v) {
    v->FreeNotification(this);
    v->RegisterChanges(this, [this] { ButtonsChanged(); });
  }
  ButtonsChanged();
}

void TToolBar::SetIndent(int v) {
  v = std::max(v, 0);
  if (indent_ == v) return;
  indent_ = v;
  ArrangeButtons();
}

void TToolBar::SetShowCaptions(bool v) {
  if (showCaptions_ == v) return;
  showCaptions_ = v;
  ButtonsChanged();
}

void TToolBar::SetWrapable(bool v) {
  if (wrapable_ == v) return;
  wrapable_ = v;
  ArrangeButtons();
}

void TToolBar::ButtonsChanged() {
  for (TToolButton* button : buttons_) button->UpdateWidget();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component && component == images_) {
    images_ = nullptr;
    ButtonsChanged();
  }
  TCustomControl::Notification(component, operation);
}

void TToolBar::ArrangeButtons() {
  if (arranging_) return;
  arranging_ = true;
  const int left = (edgeBorders_.Contains(ebLeft) ? kEdge : 0) + indent_;
  const int top = edgeBorders_.Contains(ebTop) ? kEdge : 0;
  const int rightEdge = edgeBorders_.Contains(ebRight) ? kEdge : 0;
  const int bottomEdge = edgeBorders_.Contains(ebBottom) ? kEdge : 0;
  // A bar that sizes its width to the buttons keeps them in one row.
  const bool sizesWidth = autoSize_ && (Align() == alLeft || Align() == alRight);
  const bool wrap = wrapable_ && !sizesWidth;
  int x = left, y = top, right = left;
  for (TToolButton* button : buttons_) {
    if (!button->Visible() && !button->ComponentState().Contains(csDesigning)) continue;
    const int width = button->IsSeparator() ? button->Width() : buttonWidth_;
    if (wrap && x > left && x + width > Width() - rightEdge) {
      x = left;
      y += buttonHeight_;
    }
    button->SetBounds(x, y, width, buttonHeight_);
    x += width;
    right = std::max(right, x);
  }
  if (autoSize_) {
    if (sizesWidth) SetWidth(right + rightEdge);
    else SetHeight(y + buttonHeight_ + bottomEdge);
  }
  arranging_ = false;
}

void TToolBar::BoundsChanged(const TRect& old) {
  TCustomControl::BoundsChanged(old);
  ArrangeButtons();
}

void TToolBar::Loaded() {
  TCustomControl::Loaded();
  ArrangeButtons();
}

void TToolBar::GetChildren(const TGetChildProc& proc, TComponent* root) {
  // Buttons go in their order on the bar, which is the order they are read back in.
  for (TToolButton* button : std::vector<TToolButton*>(buttons_))
    if (button->Owner() == root) proc(button);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* control = Controls(i);
    if (!dynamic_cast<TToolButton*>(control) && control->Owner() == root) proc(control);
  }
}

void TToolBar::Dispatch(TMessage& message) {
  if (message.Msg == CM_CONTROLCHANGE) {
    auto* button = dynamic_cast<TToolButton*>(reinterpret_cast<TControl*>(message.WParam));
    if (button) {
      buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), button), buttons_.end());
      if (message.LParam) {
        buttons_.push_back(button);
        button->UpdateWidget();
      }
      ArrangeButtons();
    }
  }
  TCustomControl::Dispatch(message);
}

void TToolBar::Paint() {
  TCanvas* canvas = Canvas();
  TBrush* brush = canvas->Brush();
  brush->SetStyle(bsSolid);
  const int w = Width(), h = Height();
  // Etched edges: a shadow line outside a highlight line.
  auto edge = [&](TEdgeBorder border, TRect outer, TRect inner) {
    if (!edgeBorders_.Contains(border)) return;
    brush->SetColor(clBtnShadow);
    canvas->FillRect(outer);
    brush->SetColor(clBtnHighlight);
    canvas->FillRect(inner);
  };
  edge(ebTop, {0, 0, w, 1}, {0, 1, w, 2});
  edge(ebLeft, {0, 0, 1, h}, {1, 0, 2, h});
  edge(ebBottom, {0, h - 2, w, h - 1}, {0, h - 1, w, h});
  edge(ebRight, {w - 2, 0, w - 1, h}, {w - 1, 0, w, h});
}
