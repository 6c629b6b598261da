#include "platform/controls/PageControl.h"

#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TTabSheet, TWinControl) {
  c.Prop("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption);
  c.Prop("Enabled", &TTabSheet::Enabled, &TTabSheet::SetEnabled).Default(true);
  c.Prop("Font", &TTabSheet::Font, &TTabSheet::SetFont).Stored(&TTabSheet::IsFontStored);
  // The order of the sheets in the stream is their page order.
  c.Prop("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex).Stored(false);
  c.Prop("ParentFont", &TTabSheet::ParentFont, &TTabSheet::SetParentFont).Default(true);
  c.Prop("PopupMenu", &TTabSheet::PopupMenu, &TTabSheet::SetPopupMenu);
  c.Prop("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true);
  // Never a stop of the tab order: its place in it is not kept.
  c.Prop("TabOrder", &TTabSheet::TabOrder, &TTabSheet::SetTabOrder).Stored(false);
}

DEFINE_CLASS(TPageControl, TWinControl) {
  c.Prop("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
  c.Prop("Align", &TPageControl::Align, &TPageControl::SetAlign).Default(alNone);
  c.Prop("Enabled", &TPageControl::Enabled, &TPageControl::SetEnabled).Default(true);
  c.Prop("Font", &TPageControl::Font, &TPageControl::SetFont).Stored(&TPageControl::IsFontStored);
  c.Prop("ParentFont", &TPageControl::ParentFont, &TPageControl::SetParentFont).Default(true);
  c.Prop("PopupMenu", &TPageControl::PopupMenu, &TPageControl::SetPopupMenu);
  c.Prop("TabStop", &TPageControl::TabStop, &TPageControl::SetTabStop).Default(true);
  c.Prop("Visible", &TPageControl::Visible, &TPageControl::SetVisible).Default(true);
  c.Event("OnChange", &TPageControl::OnChange);
  c.Event("OnChanging", &TPageControl::OnChanging);
}

namespace {

class PageWidget : public QTabWidget {
 public:
  // Where the tab widget puts its pages, computed as it lays itself out.
  QRect ContentsRect() const {
    ensurePolished();
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
  }
};

QWidget* WidgetOf(TWinControl* control) {
  return control && control->HandleAllocated() ? WindowWidget(control->Handle()) : nullptr;
}

}  // namespace

// ---- TTabSheet ----

void TTabSheet::Create(TComponent* owner) {
  TWinControl::Create(owner);
  controlStyle_.Include(csAcceptsControls);
}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }

void TTabSheet::SetPageControl(TPageControl* v) { SetParent(v); }

int TTabSheet::PageIndex() const {
  TPageControl* pages = PageControl();
  if (!pages) return -1;
  auto it = std::find(pages->pages_.begin(), pages->pages_.end(), this);
  return it == pages->pages_.end() ? -1 : static_cast<int>(it - pages->pages_.begin());
}

void TTabSheet::SetPageIndex(int v) {
  TPageControl* pages = PageControl();
  int current = PageIndex();
  if (current < 0) return;
  auto& list = pages->pages_;
  v = std::clamp(v, 0, static_cast<int>(list.size()) - 1);
  if (v == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + v, this);
  pages->SyncTabs();
}

bool TTabSheet::Showing() const {
  TPageControl* pages = PageControl();
  return TWinControl::Showing() && (!pages || pages->ActivePage() == this);
}

void TTabSheet::SetTabVisible(bool v) {
  if (tabVisible_ == v) return;
  tabVisible_ = v;
  if (TPageControl* pages = PageControl()) pages->SyncTabs();
}

void TTabSheet::CreateWnd() {
  TWinControl::CreateWnd();
  // The tab widget's page stack holds the window at its own origin.
  WindowWidget(Handle())->setGeometry(0, 0, std::max(0, Width()), std::max(0, Height()));
  if (TPageControl* pages = PageControl()) pages->SyncTabs();
}

void TTabSheet::DestroyWnd() {
  if (TPageControl* pages = PageControl()) pages->DetachTab(this);
  TWinControl::DestroyWnd();
}

void TTabSheet::BoundsChanged(const TRect&) {
  if (QWidget* widget = WidgetOf(this)) widget->setGeometry(0, 0, std::max(0, Width()), std::max(0, Height()));
  Realign();
}

void TTabSheet::Dispatch(TMessage& message) {
  TWinControl::Dispatch(message);
  switch (message.Msg) {
    case CM_TEXTCHANGED:
      if (TPageControl* pages = PageControl()) pages->SyncTabs();
      break;
    case WM_SIZE: {
      // The page stack sized the window: the sheet takes that size and place.
      QWidget* widget = WidgetOf(this);
      QWidget* pages = WidgetOf(PageControl());
      if (!widget || !pages || !pages->isAncestorOf(widget)) break;
      QPoint origin = widget->mapTo(pages, QPoint(0, 0));
      TRect now = Bounds(origin.x(), origin.y(), widget->width(), widget->height());
      if (now != BoundsRect()) TControl::SetBounds(now.Left, now.Top, now.Width(), now.Height());
      break;
    }
    default:
      break;
  }
}

// ---- TPageControl ----

void TPageControl::Create(TComponent* owner) {
  TWinControl::Create(owner);
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
}

QWidget* TPageControl::CreateWidget() {
  auto* tabs = new PageWidget();
  QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [this](int index) {
    if (!syncing_) TabChanged(index);
  });
  return tabs;
}

void TPageControl::CreateWnd() {
  TWinControl::CreateWnd();
  SyncTabs();
}

QTabWidget* TPageControl::TabWidget() const {
  return qobject_cast<QTabWidget*>(WidgetOf(const_cast<TPageControl*>(this)));
}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return pages_[static_cast<size_t>(index)];
}

TRect TPageControl::DisplayRect() const {
  if (auto* tabs = static_cast<PageWidget*>(TabWidget())) {
    QRect r = tabs->ContentsRect();
    return Bounds(r.x(), r.y(), r.width(), r.height());
  }
  return {4, 24, std::max(4, Width() - 4), std::max(24, Height() - 4)};
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int v) {
  SetActivePage(v >= 0 && v < PageCount() ? pages_[static_cast<size_t>(v)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* v) {
  if (v && v->PageControl() != this) return;
  if (activePage_ == v) return;
  activePage_ = v;
  SyncTabs();
}

void TPageControl::SyncTabs() {
  QTabWidget* tabs = TabWidget();
  if (!tabs) {
    PlaceSheets();
    return;
  }
  std::vector<TTabSheet*> shown;
  for (TTabSheet* page : pages_)
    if (page->HandleAllocated()) shown.push_back(page);
  syncing_ = true;
  bool same = tabs->count() == static_cast<int>(shown.size());
  for (int i = 0; same && i < tabs->count(); ++i) same = tabs->widget(i) == WidgetOf(shown[static_cast<size_t>(i)]);
  if (!same) {
    while (tabs->count() > 0) tabs->removeTab(0);
    for (TTabSheet* page : shown) tabs->addTab(WidgetOf(page), QString());
  }
  for (int i = 0; i < tabs->count(); ++i) {
    TTabSheet* page = shown[static_cast<size_t>(i)];
    tabs->setTabText(i, QString::fromStdString(page->Caption()));
    tabs->setTabVisible(i, page->TabVisible());
  }
  if (activePage_ && activePage_->HandleAllocated()) tabs->setCurrentWidget(WidgetOf(activePage_));
  syncing_ = false;
  PlaceSheets();
}

void TPageControl::PlaceSheets() {
  TRect area = DisplayRect();
  for (TTabSheet* page : std::vector<TTabSheet*>(pages_)) page->SetBoundsRect(area);
}

void TPageControl::BoundsChanged(const TRect& old) {
  TWinControl::BoundsChanged(old);
  PlaceSheets();
}

void TPageControl::TabChanged(int tabIndex) {
  QTabWidget* tabs = TabWidget();
  QWidget* widget = tabs ? tabs->widget(tabIndex) : nullptr;
  auto it = std::find_if(pages_.begin(), pages_.end(), [widget](TTabSheet* p) { return WidgetOf(p) == widget; });
  TTabSheet* page = it == pages_.end() ? nullptr : *it;
  if (page == activePage_) return;
  activePage_ = page;
  OnChange(this);
}

bool TPageControl::AllowTabClick(TPoint at) {
  QTabWidget* tabs = TabWidget();
  if (!tabs) return true;
  QTabBar* bar = tabs->tabBar();
  int index = bar->tabAt(bar->mapFrom(tabs, QPoint(at.X, at.Y)));
  if (index < 0 || index == tabs->currentIndex()) return true;
  bool allow = true;
  OnChanging(this, allow);
  return allow;
}

void TPageControl::PageInserted(TTabSheet* page) {
  if (std::find(pages_.begin(), pages_.end(), page) == pages_.end()) pages_.push_back(page);
  if (!activePage_) activePage_ = page;
  SyncTabs();
}

void TPageControl::DetachTab(TTabSheet* page) {
  QTabWidget* tabs = TabWidget();
  QWidget* widget = WidgetOf(page);
  if (!tabs || !widget) return;
  // Qt moves to another tab by itself meanwhile; that is no change the user made.
  syncing_ = true;
  int index = tabs->indexOf(widget);
  if (index >= 0) tabs->removeTab(index);
  syncing_ = false;
}

void TPageControl::PageRemoved(TTabSheet* page) {
  DetachTab(page);
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  if (activePage_ != page) return;
  // The page the tab widget shows now, or the first one.
  activePage_ = pages_.empty() ? nullptr : pages_.front();
  if (QTabWidget* tabs = TabWidget(); tabs && tabs->currentWidget())
    for (TTabSheet* p : pages_)
      if (WidgetOf(p) == tabs->currentWidget()) activePage_ = p;
  SyncTabs();
}

void TPageControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TTabSheet* page : std::vector<TTabSheet*>(pages_))
    if (page->Owner() == root) proc(page);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* control = Controls(i);
    if (!dynamic_cast<TTabSheet*>(control) && control->Owner() == root) proc(control);
  }
}

void TPageControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CM_CONTROLCHANGE:
      if (auto* page = dynamic_cast<TTabSheet*>(reinterpret_cast<TControl*>(message.WParam))) {
        if (message.LParam) PageInserted(page);
        else PageRemoved(page);
      }
      break;
    case WM_LBUTTONDOWN:
      // A refused change keeps the click from the tab bar.
      if (!AllowTabClick({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)})) return;
      break;
    default:
      break;
  }
  TWinControl::Dispatch(message);
}
