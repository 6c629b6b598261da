#include "platform/controls/Form.h"

#include <algorithm>

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/controls/Application.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/Layouts.h"
#include "platform/controls/Menus.h"
#include "platform/controls/ModalHook.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Exception.h"
#include "platform/win/ErrorBoundary.h"

DEFINE_CLASS(TCustomForm, TWinControl) {}

DEFINE_CLASS(TForm, TCustomForm) {
  c.Prop("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize}.Bits());
  c.Prop("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
  c.Prop("Caption", &TForm::Caption, &TForm::SetCaption);
  c.Prop("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight);
  c.Prop("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth);
  c.Prop("Color", &TForm::Color, &TForm::SetColor).Type(ColorType()).Default(clBtnFace);
  c.Prop("Font", &TForm::Font, &TForm::SetFont);
  c.Prop("FormStyle", &TForm::FormStyle, &TForm::SetFormStyle).Default(fsNormal);
  c.Prop("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview).Default(false);
  c.Prop("Menu", &TForm::Menu, &TForm::SetMenu);
  c.Prop("Position", &TForm::Position, &TForm::SetPosition).Default(poDesigned);
  c.Prop("Visible", &TControl::Visible, &TControl::SetVisible).Default(false);
  c.Prop("WindowMenu", &TForm::WindowMenu, &TForm::SetWindowMenu);
  c.Prop("WindowState", &TForm::WindowState, &TForm::SetWindowState).Default(wsNormal);
  c.Event("OnActivate", &TForm::OnActivate);
  c.Event("OnClose", &TForm::OnClose);
  c.Event("OnCloseQuery", &TForm::OnCloseQuery);
  c.Event("OnCreate", &TForm::OnCreate);
  c.Event("OnDeactivate", &TForm::OnDeactivate);
  c.Event("OnDestroy", &TForm::OnDestroy);
  c.Event("OnHide", &TForm::OnHide);
  c.Event("OnShow", &TForm::OnShow);
  c.Event("OnKeyDown", &TForm::OnKeyDown);
  c.Event("OnKeyPress", &TForm::OnKeyPress);
}

namespace {

// Maximising a top-level window is the window manager's job. Where there is none (a bare X server,
// such as a virtual display) the request goes unanswered, so once a manager would have had its
// chance a window still much smaller than the screen's work area is given that area itself.
void ShowMaximized(QWidget* target) {
  target->showMaximized();
  if (!target->isWindow()) return;
  QPointer<QWidget> window(target);
  QTimer::singleShot(250, target, [window] {
    if (!window || !window->isVisible() || !window->isMaximized() || !window->screen()) return;
    const QRect area = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    if (frame.width() * 10 < area.width() * 9 || frame.height() * 10 < area.height() * 9)
      window->setGeometry(area);
  });
}

// The frame around a form's client window: the window manager's window (or the document area's
// child) with the menu bar on top. It reports moves, resizes, activation and the close button.
class FormFrame : public QWidget {
 public:
  explicit FormFrame(TCustomForm* form) : form_(form) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
  }
  void Detach() { form_ = nullptr; }

 protected:
  // The form's handlers run inside the frame's events and may free windows Qt is still using.
  bool event(QEvent* event) override {
    HandlingEvent handling;
    return QWidget::event(event);
  }
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (form_) Guarded([this] { form_->FrameCloseRequested(); });
  }
  void moveEvent(QMoveEvent*) override {
    if (form_) Guarded([this] { form_->FrameGeometryChanged(); });
  }
  void resizeEvent(QResizeEvent*) override {
    if (form_) Guarded([this] { form_->FrameGeometryChanged(); });
  }
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::ActivationChange && form_ && isWindow())
      Guarded([this] { form_->FrameActivated(isActiveWindow()); });
    QWidget::changeEvent(event);
  }

 private:
  TCustomForm* form_;
};

QWidget* Placed(QWidget* frame, QMdiSubWindow* sub) { return sub ? static_cast<QWidget*>(sub) : frame; }

}  // namespace

TCustomForm* GetParentForm(TControl* control) {
  while (control && control->Parent()) control = control->Parent();
  return dynamic_cast<TCustomForm*>(control);
}

void TCustomForm::Create(TComponent* owner) {
  TWinControl::Create(owner);
  TWinControl::SetVisible(false);
  SetBounds(0, 0, 320, 240);
  // A form class with a layout of its own builds itself from it.
  std::string_view layout = FindLayout(ClassName());
  if (!layout.empty()) ReadLayout(this, layout);
}

void TCustomForm::AfterConstruction() {
  TWinControl::AfterConstruction();
  OnCreate(this);
  if (Visible() && !Showing()) {
    TWinControl::SetVisible(false);
    Show();
  }
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  // A form that the layout says is visible shows once it is complete (after OnCreate).
}

void TCustomForm::Destroy() {
  OnDestroy(this);
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
  TWinControl::Destroy();
}

// ---- the window ----

TCustomForm* TCustomForm::FrameForm() const {
  if (formStyle_ != fsMDIChild || !Application) return nullptr;
  for (int i = 0; i < Application->ComponentCount(); ++i)
    if (auto* f = dynamic_cast<TCustomForm*>(Application->Components(i)); f && f->formStyle_ == fsMDIForm)
      return f;
  return nullptr;
}

QWidget* TCustomForm::CreateWidget() {
  auto* frame = new FormFrame(this);
  frame_ = frame;
  auto* client = new QWidget(frame);
  frame->layout()->addWidget(client);
  if (formStyle_ == fsMDIForm) {
    mdiArea_ = new QMdiArea(client);
    QObject::connect(mdiArea_, &QMdiArea::subWindowActivated, [this](QMdiSubWindow*) {
      Guarded([this] { UpdateWindowMenu(); });
      for (int i = 0; i < MDIChildCount(); ++i) {
        TCustomForm* child = MDIChildren(i);
        bool active = child->subWindow_ == mdiArea_->activeSubWindow();
        Guarded([child, active] { child->FrameActivated(active); });
      }
    });
  }
  if (TCustomForm* host = FrameForm(); host && host->HandleAllocated() && host->mdiArea_) {
    subWindow_ = host->mdiArea_->addSubWindow(frame_);
    subWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    // The frame's window menu lists this child from now on, and forgets it when it goes.
    QObject::connect(subWindow_, &QObject::destroyed, host->frame_, [host] { Guarded([host] { host->UpdateWindowMenu(); }); });
  }
  return client;
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyWindowFlags();
  ApplyMenu();
}

// A document window without a border has no title bar, and keeps no title: the document window
// measures its title for the title bar at each layout, even when it draws none, and a title the
// title bar's font lacks characters for (the editors' Chinese ones) would load a fallback font just
// for that. The frame's window menu lists its children by caption, not by this title.
void TCustomForm::ApplyTitle() {
  if (!frame_) return;
  const bool untitled = subWindow_ && borderStyle_ == bsNone;
  Placed(frame_, subWindow_)->setWindowTitle(untitled ? QString() : QString::fromStdString(Caption()));
}

void TCustomForm::DestroyWnd() {
  QWidget* frame = frame_;
  QPointer<QMdiSubWindow> sub = subWindow_;
  static_cast<FormFrame*>(frame)->Detach();
  frame_ = nullptr;
  menuBar_ = nullptr;  // a child of the frame
  subWindow_ = nullptr;
  mdiArea_ = nullptr;
  // Inside out: the client window, the frame, then the document window that holds the frame. One
  // whose content is still busy with an event stays, out of sight, until that event is over.
  TWinControl::DestroyWnd();
  DisposeWidget(frame);
  DisposeWidget(sub.data());
}

void TCustomForm::ApplyWindowFlags() {
  if (!frame_) return;
  QWidget* target = Placed(frame_, subWindow_);
  Qt::WindowFlags flags = subWindow_ ? Qt::SubWindow : (borderStyle_ == bsDialog ? Qt::Dialog : Qt::Window);
  if (borderStyle_ == bsNone) {
    flags |= Qt::FramelessWindowHint;
  } else {
    flags |= Qt::WindowTitleHint;
    if (borderIcons_.Contains(biSystemMenu)) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (borderIcons_.Contains(biMinimize) && borderStyle_ != bsDialog) flags |= Qt::WindowMinimizeButtonHint;
    if (borderIcons_.Contains(biMaximize) && borderStyle_ != bsDialog) flags |= Qt::WindowMaximizeButtonHint;
    if (borderIcons_.Contains(biHelp)) flags |= Qt::WindowContextHelpButtonHint;
  }
  if (formStyle_ == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
  bool visible = target->isVisible();
  target->setWindowFlags(flags);
  ApplyTitle();
  if (visible) target->show();
}

void TCustomForm::ApplyBounds() {
  if (!frame_) return;
  QWidget* target = Placed(frame_, subWindow_);
  QRect wanted(Left(), Top(), std::max(0, Width()), std::max(0, Height()));
  if (target->geometry() != wanted) target->setGeometry(wanted);
}

void TCustomForm::FrameGeometryChanged() {
  if (!frame_) return;
  QRect g = Placed(frame_, subWindow_)->geometry();
  if (g != QRect(Left(), Top(), Width(), Height())) TControl::SetBounds(g.x(), g.y(), g.width(), g.height());
  Realign();
}

TRect TCustomForm::ClientRect() const {
  if (QWidget* client = const_cast<TCustomForm*>(this)->HandleAllocated()
                            ? WindowWidget(const_cast<TCustomForm*>(this)->Handle())
                            : nullptr)
    return {0, 0, client->width(), client->height()};
  return TWinControl::ClientRect();
}

void TCustomForm::AlignControls(TControl* control, TRect& rect) {
  TWinControl::AlignControls(control, rect);
  // The document area takes what the aligned controls leave.
  if (mdiArea_) mdiArea_->setGeometry(rect.Left, rect.Top, std::max(0, rect.Width()), std::max(0, rect.Height()));
}

// ---- menus ----

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) {
    if (component == menu_) {
      menu_ = nullptr;
      ApplyMenu();
    }
    if (component == windowMenu_) {
      windowMenu_ = nullptr;
      windowItems_.clear();  // they went with their parent item
    }
    auto it = std::find(windowItems_.begin(), windowItems_.end(), component);
    if (it != windowItems_.end()) windowItems_.erase(it);
  }
  TWinControl::Notification(component, operation);
}

void TCustomForm::SetMenu(TMainMenu* v) {
  if (menu_ == v) return;
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = v;
  if (v) v->FreeNotification(this);
  ApplyMenu();
}

void TCustomForm::ApplyMenu() {
  if (!frame_) return;
  delete menuBar_;
  menuBar_ = nullptr;
  if (menu_) {
    menuBar_ = menu_->CreateMenuBar(frame_);
    frame_->layout()->setMenuBar(menuBar_);
  }
  Realign();
}

void TCustomForm::SetWindowMenu(TMenuItem* v) {
  if (windowMenu_ == v) return;
  for (TMenuItem* item : std::vector<TMenuItem*>(windowItems_)) item->Free();
  windowItems_.clear();
  if (windowMenu_) windowMenu_->RemoveFreeNotification(this);
  windowMenu_ = v;
  if (v) v->FreeNotification(this);
  UpdateWindowMenu();
}

void TCustomForm::UpdateWindowMenu() {
  if (!windowMenu_ || !mdiArea_) return;
  std::vector<TCustomForm*> shown;
  for (int i = 0; i < MDIChildCount(); ++i)
    if (MDIChildren(i)->Showing()) shown.push_back(MDIChildren(i));
  // The list is brought up to date in place: the menu changes as often as a child is opened,
  // closed or activated, mostly only in its check mark.
  const bool startsWithLine = !windowItems_.empty() && windowItems_.front()->IsLine();
  const size_t wanted = shown.empty() ? 0 : shown.size() + 1;
  const size_t kept = startsWithLine ? std::min(wanted, windowItems_.size()) : 0;
  for (size_t i = windowItems_.size(); i > kept; --i) windowItems_[i - 1]->Free();  // each leaves the list
  windowItems_.resize(std::min(windowItems_.size(), kept));
  auto add = [this](TMenuItem* item) {
    windowMenu_->Add(item);
    item->FreeNotification(this);
    windowItems_.push_back(item);
  };
  if (!shown.empty() && windowItems_.empty()) {
    auto* line = New<TMenuItem>(nullptr);
    line->SetCaption("-");
    add(line);
  }
  TCustomForm* active = ActiveMDIChild();
  for (size_t i = 0; i < shown.size(); ++i) {
    TCustomForm* child = shown[i];
    if (i + 1 == windowItems_.size()) add(New<TMenuItem>(nullptr));
    TMenuItem* item = windowItems_[i + 1];
    item->SetCaption("&" + std::to_string(i + 1) + " " + child->Caption());
    item->SetChecked(child == active);
    item->OnClick.Bind([child = TWeak<TCustomForm>(child)](TObject*) {
      if (TCustomForm* form = child.get()) form->Show();
    });
  }
}

// ---- showing and closing ----

bool TCustomForm::Showing() const { return frame_ && Placed(frame_, subWindow_)->isVisible(); }

void TCustomForm::SetVisible(bool v) {
  if (Visible() == v && (!v || Showing())) return;
  TWinControl::SetVisible(v);
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading) ||
      ComponentState().Contains(csDesigning))
    return;
  HandleNeeded();
  QWidget* target = Placed(frame_, subWindow_);
  if (!v) {
    target->hide();
    DoHide();
    return;
  }
  if (!placed_) {
    placed_ = true;
    QRect area = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect();
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (position_ == poScreenCenter || position_ == poDesktopCenter) {
      SetBounds(area.x() + (area.width() - Width()) / 2, area.y() + (area.height() - Height()) / 2, Width(), Height());
    } else if ((position_ == poMainFormCenter || position_ == poOwnerFormCenter) && main && main != this &&
               main->frame_) {
      QRect m = main->frame_->geometry();
      SetBounds(m.x() + (m.width() - Width()) / 2, m.y() + (m.height() - Height()) / 2, Width(), Height());
    } else if ((position_ == poDefault || position_ == poDefaultPosOnly) && subWindow_) {
      PlaceCascaded();
    }
  }
  switch (windowState_) {
    case wsMaximized: ShowMaximized(target); break;
    case wsMinimized: target->showMinimized(); break;
    default: target->show(); break;
  }
  // Unless a control of the form has had the focus, the first tab stop will have it.
  if (!WindowWidget(Handle())->focusWidget()) SelectFirst();
  DoShow();
  if (TCustomForm* host = FrameForm()) host->UpdateWindowMenu();
}

void TCustomForm::Show() {
  SetVisible(true);
  if (frame_) {
    Placed(frame_, subWindow_)->raise();
    if (subWindow_ && subWindow_->mdiArea()) subWindow_->mdiArea()->setActiveSubWindow(subWindow_);
  }
}

void TCustomForm::SetWindowState(TWindowState v) {
  if (windowState_ == v) return;
  windowState_ = v;
  if (!Showing()) return;
  QWidget* target = Placed(frame_, subWindow_);
  if (v == wsMaximized) ShowMaximized(target);
  else if (v == wsMinimized) target->showMinimized();
  else target->showNormal();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  ApplyWindowFlags();
}

void TCustomForm::SetBorderIcons(TBorderIcons v) {
  if (borderIcons_ == v) return;
  borderIcons_ = v;
  ApplyWindowFlags();
}

void TCustomForm::SetFormStyle(TFormStyle v) {
  if (formStyle_ == v) return;
  formStyle_ = v;
  if (HandleAllocated()) RecreateWnd();
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::FrameCloseRequested() {
  if (inModal_) {
    if (CloseQuery()) modalResult_ = mrCancel;
    return;
  }
  Close();
}

void TCustomForm::Close() {
  if (inModal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = formStyle_ == fsMDIChild ? caFree : caHide;
  OnClose(this, action);
  if (Application && Application->MainForm() == this && action != caNone) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: SetVisible(false); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    case caNone: break;
  }
}

void TCustomForm::Release() {
  // Freed from the event loop: the handler that asked may still be running on it.
  TWeak<TCustomForm> self(this);
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [self] { if (TCustomForm* form = self.get()) form->Free(); }, Qt::QueuedConnection);
}

namespace {
TModalHook& ModalHook() {
  static TModalHook hook;
  return hook;
}
}  // namespace

void SetModalHook(TModalHook hook) { ModalHook() = std::move(hook); }

int TCustomForm::ShowModal() {
  if (inModal_ || Showing()) throw Exception("Cannot make a visible window modal");
  HandleNeeded();
  modalResult_ = mrNone;
  Placed(frame_, subWindow_)->setWindowModality(Qt::ApplicationModal);
  inModal_ = true;
  Show();
  try {
    // A copy: the hook may set another hook for a window it opens in turn.
    if (TModalHook hook = ModalHook()) hook(*this);
    while (modalResult_ == mrNone && Showing()) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
      DispatchPostedMessages();
      if (Application && Application->Terminated()) modalResult_ = mrCancel;
    }
  } catch (...) {
    inModal_ = false;
    throw;
  }
  inModal_ = false;
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  TCloseAction action = caHide;
  OnClose(this, action);
  SetVisible(false);
  Placed(frame_, subWindow_)->setWindowModality(Qt::NonModal);
  return modalResult_;
}

void TCustomForm::FrameActivated(bool active) {
  if (active) OnActivate(this);
  else OnDeactivate(this);
}

bool TCustomForm::PreviewKey(UINT msg, WPARAM& key) {
  if (!keyPreview_) return false;
  if (msg == WM_CHAR) {
    char32_t ch = static_cast<char32_t>(key);
    KeyPress(ch);
    key = ch;
  } else {
    // The form sees the key with the modifiers the focused control would see.
    uint16_t k = static_cast<uint16_t>(key);
    const TShiftState shift = KeyShiftState();
    if (msg == WM_KEYDOWN) KeyDown(k, shift);
    else KeyUp(k, shift);
    key = k;
  }
  return key == 0;
}

bool TCustomForm::DialogKey(uint16_t key, TShiftState shift, TWinControl* from) {
  if (key == VK_TAB) {
    SelectNext(from == this ? nullptr : from, !shift.Contains(ssShift), true);
    return true;
  }
  // A focused button is the one Enter presses.
  if (auto* button = dynamic_cast<TBitBtn*>(from); button && key == VK_RETURN && button->CanFocus()) {
    button->Click();
    return true;
  }
  return PressDialogButton(this, key);
}

TWinControl* TCustomForm::ActiveControl() const {
  HWND focus = GetFocus();
  if (!focus) return nullptr;
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (TWinControl* control : list)
    if (control->HandleAllocated() && control->Handle() == focus) return control;
  return nullptr;
}

void TCustomForm::SelectFirst() {
  if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
}

// ---- document children ----

int TCustomForm::MDIChildCount() const {
  int n = 0;
  for (int i = 0; Application && i < Application->ComponentCount(); ++i)
    if (auto* f = dynamic_cast<TCustomForm*>(Application->Components(i)); f && f->subWindow_ && f->subWindow_->mdiArea() == mdiArea_)
      ++n;
  return mdiArea_ ? n : 0;
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
  int n = 0;
  for (int i = 0; mdiArea_ && Application && i < Application->ComponentCount(); ++i)
    if (auto* f = dynamic_cast<TCustomForm*>(Application->Components(i)); f && f->subWindow_ && f->subWindow_->mdiArea() == mdiArea_)
      if (n++ == index) return f;
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!mdiArea_ || !mdiArea_->activeSubWindow()) return nullptr;
  for (int i = 0; i < MDIChildCount(); ++i)
    if (MDIChildren(i)->subWindow_ == mdiArea_->activeSubWindow()) return MDIChildren(i);
  return nullptr;
}

void TCustomForm::Cascade() {
  if (mdiArea_) mdiArea_->cascadeSubWindows();
}

namespace {
// Lays the visible, not minimised children side by side: stacked one above the other, each as wide
// as the area (horizontal tiling), or next to each other, each as high as the area.
void Tile(QMdiArea* area, bool horizontal) {
  std::vector<QMdiSubWindow*> shown;
  for (auto* w : area->subWindowList())
    if (!w->isMinimized() && w->isVisible()) shown.push_back(w);
  if (shown.empty()) return;
  QSize all = area->viewport()->size();
  int step = (horizontal ? all.height() : all.width()) / static_cast<int>(shown.size());
  int at = 0;
  for (auto* w : shown) {
    w->showNormal();
    if (horizontal) w->setGeometry(0, at, all.width(), step);
    else w->setGeometry(at, 0, step, all.height());
    at += step;
  }
}
}  // namespace

// A document child that lets the system choose its position goes one title bar's height right of
// and below the last one shown, back to the corner when its title would leave the area.
void TCustomForm::PlaceCascaded() {
  QMdiArea* area = subWindow_->mdiArea();
  if (!area) return;
  int shown = 0;
  for (auto* w : area->subWindowList())
    if (w != subWindow_ && w->isVisible()) ++shown;
  const int step = std::max(subWindow_->style()->pixelMetric(QStyle::PM_TitleBarHeight), 16);
  const QSize all = area->viewport()->size();
  int at = shown * step;
  if (!all.isEmpty() && (at + step > all.width() || at + step > all.height())) at = 0;
  SetBounds(at, at, Width(), Height());
}

void TCustomForm::TileHorizontal() {
  if (mdiArea_) Tile(mdiArea_, true);
}

void TCustomForm::TileVertical() {
  if (mdiArea_) Tile(mdiArea_, false);
}

void TCustomForm::MinimizeAll() {
  if (!mdiArea_) return;
  for (auto* w : mdiArea_->subWindowList()) w->showMinimized();
}

void TCustomForm::ArrangeIcons() {
  if (!mdiArea_) return;
  // Minimised children line up along the bottom of the area.
  int x = 0;
  for (auto* w : mdiArea_->subWindowList()) {
    if (!w->isMinimized()) continue;
    QSize s = w->size();
    w->move(x, mdiArea_->viewport()->height() - s.height());
    x += s.width();
  }
}

void TCustomForm::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CM_TEXTCHANGED:
      ApplyTitle();
      // The frame's window menu lists its children by caption.
      if (TCustomForm* host = FrameForm()) host->UpdateWindowMenu();
      break;
    case WM_SIZE:
    case WM_MOVE:
      DefaultHandler(message);
      Realign();
      return;
    default:
      break;
  }
  TWinControl::Dispatch(message);
}
