#include "platform/win/Windows.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QHash>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "platform/win/ErrorBoundary.h"
#include "platform/win/WindowTable.h"

namespace wintable {
namespace {

struct Tables {
  std::unordered_map<HWND, WindowRecord> windows;
  QHash<const QWidget*, HWND> byWidget;
  HWND nextWindow = 1;
  std::unordered_map<WNDPROC, TObjectWndProc> procs;
  WNDPROC nextProc = 2;  // 1 is the native procedure
  std::vector<Translation*> translations;
  struct Delivery {
    const QEvent* event;
    const QWidget* receiver;
  };
  std::vector<Delivery> delivering;
  // How many Qt events of our widgets are being handled now, one inside the other.
  int handling = 0;
  HWND capture = 0;
  bool clipped = false;
  TRect clip;
};

Tables& T() {
  static Tables tables;
  return tables;
}

constexpr WNDPROC kNativeProc = 1;

// Posted messages wait here; one queued Qt event per batch wakes the dispatcher.
struct Posted {
  HWND window;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

std::deque<Posted>& PostQueue() {
  static std::deque<Posted> queue;
  return queue;
}

class PostDispatcher : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    wakeupPending = false;
    if (!Guarded([] { DispatchPostedMessages(); })) {
      // What is still queued runs on the next round of the event loop.
      if (!PostQueue().empty() && !wakeupPending) {
        wakeupPending = true;
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
      }
    }
    return true;
  }
  bool wakeupPending = false;
};

PostDispatcher* Dispatcher() {
  static PostDispatcher* dispatcher = nullptr;
  if (!dispatcher && QCoreApplication::instance()) {
    dispatcher = new PostDispatcher();
    // Dies with the application object, so a later application gets a new one.
    QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] { dispatcher = nullptr; });
    dispatcher->setParent(QCoreApplication::instance());
  }
  return dispatcher;
}

void Forget(HWND window) {
  auto& t = T();
  auto it = t.windows.find(window);
  if (it == t.windows.end()) return;
  for (HWND child : std::vector<HWND>(it->second.children)) Forget(child);
  if (WindowRecord* parent = Find(it->second.parent)) {
    auto& list = parent->children;
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
  }
  if (t.capture == window) t.capture = 0;
  // A window destroyed while it paints takes its paint's painter with it.
  EndPaintPainter(it->second);
  t.byWidget.remove(it->second.widget.data());
  t.windows.erase(it);
}

QRect ScreenRectOf(const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

bool Contains(HWND window, QPoint screen) {
  WindowRecord* r = Find(window);
  return r && r->widget && r->widget->isVisible() && ScreenRectOf(r->widget).contains(screen);
}

// The deepest visible window under `screen` inside `window`, topmost children first.
HWND DeepestAt(HWND window, QPoint screen) {
  WindowRecord* r = Find(window);
  if (!r) return 0;
  for (HWND child : r->children)
    if (Contains(child, screen)) return DeepestAt(child, screen);
  return window;
}

}  // namespace

WindowRecord* Find(HWND window) {
  auto it = T().windows.find(window);
  return it == T().windows.end() ? nullptr : &it->second;
}

WNDPROC NativeProc() { return kNativeProc; }

std::vector<QWidget*> AllWindowWidgets() {
  std::vector<QWidget*> widgets;
  for (auto& [window, record] : T().windows)
    if (record.widget) widgets.push_back(record.widget);
  return widgets;
}

Translation* CurrentTranslation() { return T().translations.empty() ? nullptr : T().translations.back(); }
void PushTranslation(Translation* translation) { T().translations.push_back(translation); }
void PopTranslation() { T().translations.pop_back(); }

bool IsBeingDelivered(const QEvent* event, const QWidget* receiver) {
  for (const auto& d : T().delivering) {
    if (d.event == event) return true;
    // Qt passes an input event that a widget ignored on to its parents as a copy; those copies
    // are part of the delivery, not new input.
    if (!event->spontaneous() && receiver && d.event->type() == event->type() &&
        receiver->isAncestorOf(d.receiver))
      return true;
  }
  return false;
}

void DeliverToQt(Translation& translation) {
  if (translation.delivered || !translation.receiver || !translation.event) return;
  translation.delivered = true;
  if (WindowRecord* r = Find(translation.window);
      r && translation.event->type() == QEvent::Paint)
    EndPaintPainter(*r);  // the widget paints with a painter of its own
  T().delivering.push_back({translation.event, translation.receiver});
  QCoreApplication::sendEvent(translation.receiver, translation.event);
  T().delivering.pop_back();
}

void ShowOwnCursor(WindowRecord& record) {
  if (!record.widget) return;
  if (record.ownCursor) record.widget->setCursor(*record.ownCursor);
  else record.widget->unsetCursor();
}

QPoint ClipPoint(QPoint screen) {
  const auto& t = T();
  if (!t.clipped) return screen;
  return QPoint(std::clamp(screen.x(), t.clip.Left, std::max(t.clip.Left, t.clip.Right - 1)),
                std::clamp(screen.y(), t.clip.Top, std::max(t.clip.Top, t.clip.Bottom - 1)));
}

// Whether `window` is a window beneath which input may fall: a lower sibling under the point (its
// deepest window there), else the parent.
HWND WindowBeneath(HWND window, QPoint screen) {
  WindowRecord* r = Find(window);
  if (!r || !r->parent) return 0;
  WindowRecord* parent = Find(r->parent);
  auto& siblings = parent->children;
  auto it = std::find(siblings.begin(), siblings.end(), window);
  if (it != siblings.end())
    for (++it; it != siblings.end(); ++it)
      if (Contains(*it, screen)) return DeepestAt(*it, screen);
  return r->parent;
}

}  // namespace wintable

using namespace wintable;

// ---- windows ----

HWND CreateWindowHandle(QWidget* widget, HWND parent) {
  if (!widget || (parent && !Find(parent))) return 0;
  auto& t = T();
  if (HWND existing = t.byWidget.value(widget, 0)) return existing;
  HWND window = t.nextWindow++;
  WindowRecord& r = t.windows[window];
  r.widget = widget;
  r.parent = parent;
  r.proc = kNativeProc;
  if (widget->testAttribute(Qt::WA_SetCursor)) r.ownCursor = widget->cursor();
  t.byWidget.insert(widget, window);
  if (WindowRecord* p = Find(parent)) p->children.insert(p->children.begin(), window);
  // A widget deleted behind the table's back leaves it quietly.
  r.widgetGone = QObject::connect(widget, &QObject::destroyed, [window] { Forget(window); });
  EnsureInputFilter();
  RaiseScreenOverlay(window);
  return window;
}

bool DestroyWindow(HWND window) {
  WindowRecord* r = Find(window);
  if (!r) return false;
  if (T().capture == window) ReleaseCapture();
  // The window hears of it first, then its children, as the platform does it.
  SendMessage(window, WM_DESTROY, 0, 0);
  if ((r = Find(window)))
    for (HWND child : std::vector<HWND>(r->children)) DestroyWindow(child);
  if ((r = Find(window))) QObject::disconnect(r->widgetGone);
  Forget(window);
  return true;
}

HandlingEvent::HandlingEvent() { ++T().handling; }
HandlingEvent::~HandlingEvent() { --T().handling; }

void DisposeWidget(QWidget* widget) {
  if (!widget) return;
  if (T().handling == 0) {
    delete widget;
    return;
  }
  // Qt goes on using widgets once a handler returns: the one whose event it was, its ancestors,
  // and the siblings a paint has still to draw. So the widget stays where it is, out of sight,
  // until the event loop takes over again; moving it to another parent now would disturb a paint
  // in progress.
  widget->hide();
  widget->deleteLater();
}

bool IsWindow(HWND window) { return Find(window) != nullptr; }

QWidget* WindowWidget(HWND window) {
  WindowRecord* r = Find(window);
  return r ? r->widget.data() : nullptr;
}

HWND WindowFromWidget(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    if (HWND window = T().byWidget.value(w, 0)) return window;
    if (w->isWindow()) break;  // a dialog of its own is not part of the window it belongs to
  }
  return 0;
}

HWND GetParent(HWND window) {
  WindowRecord* r = Find(window);
  return r ? r->parent : 0;
}

HWND SetParent(HWND window, HWND newParent) {
  WindowRecord* r = Find(window);
  if (!r || (newParent && !Find(newParent)) || window == newParent) return 0;
  for (HWND p = newParent; p; p = GetParent(p))
    if (p == window) return 0;  // no cycles
  HWND old = r->parent;
  if (WindowRecord* p = Find(old)) {
    auto& list = p->children;
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
  }
  r->parent = newParent;
  if (WindowRecord* p = Find(newParent)) p->children.insert(p->children.begin(), window);
  if (r->widget) {
    bool visible = r->widget->isVisibleTo(r->widget->parentWidget());
    r->widget->setParent(newParent ? WindowWidget(newParent) : nullptr);
    if (visible) r->widget->show();
  }
  return old ? old : window;  // non-zero for success, as callers test it
}

HWND GetWindow(HWND window, UINT command) {
  WindowRecord* r = Find(window);
  if (!r) return 0;
  if (command == GW_CHILD) return r->children.empty() ? 0 : r->children.front();
  if (command == GW_OWNER) return 0;
  WindowRecord* parent = Find(r->parent);
  if (!parent) return 0;
  const auto& s = parent->children;
  auto it = std::find(s.begin(), s.end(), window);
  switch (command) {
    case GW_HWNDFIRST:
      return s.front();
    case GW_HWNDLAST:
      return s.back();
    case GW_HWNDNEXT:
      return (it == s.end() || std::next(it) == s.end()) ? 0 : *std::next(it);
    case GW_HWNDPREV:
      return (it == s.begin() || it == s.end()) ? 0 : *std::prev(it);
    default:
      return 0;
  }
}

bool SetWindowZOrder(HWND window, HWND insertAfter) {
  WindowRecord* r = Find(window);
  if (!r || window == insertAfter) return false;
  WindowRecord* parent = Find(r->parent);
  if (!parent) {
    if (r->widget && !insertAfter) r->widget->raise();
    return r->widget != nullptr;
  }
  auto& s = parent->children;
  if (insertAfter && std::find(s.begin(), s.end(), insertAfter) == s.end()) return false;
  s.erase(std::remove(s.begin(), s.end(), window), s.end());
  auto pos = insertAfter ? std::next(std::find(s.begin(), s.end(), insertAfter)) : s.begin();
  s.insert(pos, window);
  if (r->widget) {
    if (!insertAfter) r->widget->raise();
    else if (QWidget* above = WindowWidget(insertAfter)) r->widget->stackUnder(above);
  }
  RaiseScreenOverlay(window);
  return true;
}

bool BringWindowToTop(HWND window) { return SetWindowZOrder(window, 0); }

bool MoveWindow(HWND window, int x, int y, int width, int height) {
  QWidget* w = WindowWidget(window);
  if (!w) return false;
  w->setGeometry(x, y, std::max(0, width), std::max(0, height));
  return true;
}

bool ShowWindow(HWND window, bool show) {
  QWidget* w = WindowWidget(window);
  if (!w) return false;
  bool was = w->isVisible();
  w->setVisible(show);
  return was;
}

bool IsWindowVisible(HWND window) {
  QWidget* w = WindowWidget(window);
  return w && w->isVisible();
}

bool EnableWindow(HWND window, bool enable) {
  QWidget* w = WindowWidget(window);
  if (!w) return false;
  bool wasDisabled = !w->isEnabled();
  w->setEnabled(enable);
  return wasDisabled;
}

bool IsWindowEnabled(HWND window) {
  QWidget* w = WindowWidget(window);
  return w && w->isEnabled();
}

bool GetClientRect(HWND window, TRect& rect) {
  QWidget* w = WindowWidget(window);
  if (!w) return false;
  rect = {0, 0, w->width(), w->height()};
  return true;
}

bool GetWindowRect(HWND window, TRect& rect) {
  QWidget* w = WindowWidget(window);
  if (!w) return false;
  QRect g = ScreenRectOf(w);
  rect = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
  return true;
}

bool ClientToScreen(HWND window, TPoint& point) {
  QWidget* w = WindowWidget(window);
  if (!w) return false;
  QPoint g = w->mapToGlobal(QPoint(point.X, point.Y));
  point = {g.x(), g.y()};
  return true;
}

bool ScreenToClient(HWND window, TPoint& point) {
  QWidget* w = WindowWidget(window);
  if (!w) return false;
  QPoint l = w->mapFromGlobal(QPoint(point.X, point.Y));
  point = {l.x(), l.y()};
  return true;
}

bool InvalidateRect(HWND window, const TRect* rect, bool) {
  QWidget* w = WindowWidget(window);
  if (!w) return false;
  if (rect) w->update(QRect(rect->Left, rect->Top, rect->Width(), rect->Height()).normalized());
  else w->update();
  return true;
}

bool UpdateWindow(HWND window) {
  QWidget* w = WindowWidget(window);
  if (!w) return false;
  if (w->isVisible()) w->repaint();
  return true;
}

HWND WindowFromPoint(TPoint screen) {
  QPoint g(screen.X, screen.Y);
  HWND window = WindowFromWidget(QApplication::widgetAt(g));
  for (int guard = 0; window && guard < 64; ++guard) {
    if (SendMessage(window, WM_NCHITTEST, 0, MAKELPARAM(g.x(), g.y())) != HTTRANSPARENT) return window;
    window = WindowBeneath(window, g);
  }
  return 0;
}

HWND GetAncestorRoot(HWND window) {
  HWND root = 0;
  for (HWND w = window; w && Find(w); w = GetParent(w)) root = w;
  return root;
}

// ---- window procedures ----

WNDPROC MakeObjectInstance(TObjectWndProc method) {
  WNDPROC id = T().nextProc++;
  T().procs[id] = std::move(method);
  return id;
}

void FreeObjectInstance(WNDPROC instance) {
  if (instance != kNativeProc) T().procs.erase(instance);
}

LONG_PTR GetWindowLong(HWND window, int index) {
  WindowRecord* r = Find(window);
  if (!r || index != GWL_WNDPROC) return 0;
  return r->proc;
}

LONG_PTR SetWindowLong(HWND window, int index, LONG_PTR value) {
  WindowRecord* r = Find(window);
  if (!r || index != GWL_WNDPROC) return 0;
  if (value != kNativeProc && !T().procs.count(value)) return 0;
  WNDPROC old = r->proc;
  r->proc = value;
  return old;
}

LRESULT CallWindowProc(WNDPROC proc, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (proc == kNativeProc) return DefWindowProc(window, msg, wParam, lParam);
  auto it = T().procs.find(proc);
  if (it == T().procs.end()) return 0;
  TObjectWndProc method = it->second;  // the procedure may free its own instance
  TMessage message{msg, wParam, lParam, 0};
  method(message);
  return message.Result;
}

LRESULT DefWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  Translation* translation = CurrentTranslation();
  if (translation && translation->window == window && translation->msg == msg) {
    translation->reachedNative = true;
    if (msg != WM_CHAR && msg != WM_KEYDOWN) DeliverToQt(*translation);
    return 0;
  }
  WindowRecord* r = Find(window);
  switch (msg) {
    case WM_NCHITTEST: {
      QPoint g(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return r && r->widget && ScreenRectOf(r->widget).contains(g) ? HTCLIENT : HTNOWHERE;
    }
    case WM_SETCURSOR:
      if (WindowRecord* target = Find(static_cast<HWND>(wParam)); target && target->widget) {
        if (target->cursor) target->widget->setCursor(*target->cursor);
        else ShowOwnCursor(*target);
        return 1;
      }
      return 0;
    case WM_SETTEXT:
      if (r && r->widget && lParam)
        r->widget->setWindowTitle(QString::fromUtf8(reinterpret_cast<const char*>(lParam)));
      return 1;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    default:
      return 0;
  }
}

bool SetWindowCursor(HWND window, const QCursor& cursor) {
  WindowRecord* r = Find(window);
  if (!r) return false;
  r->cursor = cursor;
  if (r->widget) r->widget->setCursor(cursor);
  return true;
}

bool ResetWindowCursor(HWND window) {
  WindowRecord* r = Find(window);
  if (!r) return false;
  r->cursor.reset();
  ShowOwnCursor(*r);
  return true;
}

// ---- messages ----

LRESULT SendMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowRecord* r = Find(window);
  if (!r) return 0;
  return CallWindowProc(r->proc, window, msg, wParam, lParam);
}

bool PostMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!Find(window)) return false;
  PostQueue().push_back({window, msg, wParam, lParam});
  if (PostDispatcher* d = Dispatcher(); d && !d->wakeupPending) {
    d->wakeupPending = true;
    QCoreApplication::postEvent(d, new QEvent(QEvent::User));
  }
  return true;
}

void DispatchPostedMessages() {
  auto& queue = PostQueue();
  while (!queue.empty()) {
    Posted p = queue.front();
    queue.pop_front();
    if (IsWindow(p.window)) SendMessage(p.window, p.msg, p.wParam, p.lParam);
  }
}

int PostedMessageCount() { return static_cast<int>(PostQueue().size()); }

// ---- capture, cursor and focus ----

HWND SetCapture(HWND window) {
  auto& t = T();
  WindowRecord* r = Find(window);
  if (!r) return 0;
  HWND old = t.capture;
  if (old == window) return old;
  t.capture = window;
  if (WindowRecord* o = Find(old); o && o->widget) o->widget->releaseMouse();
  // The offscreen platform has no pointer to grab; the capture is routed by the input filter.
  if (r->widget && r->widget->isVisible() && QGuiApplication::platformName() != "offscreen")
    r->widget->grabMouse();
  if (old) SendMessage(old, WM_CAPTURECHANGED, 0, static_cast<LPARAM>(window));
  return old;
}

bool ReleaseCapture() {
  auto& t = T();
  HWND old = t.capture;
  if (!old) return true;
  t.capture = 0;
  if (WindowRecord* o = Find(old); o && o->widget && QWidget::mouseGrabber() == o->widget) o->widget->releaseMouse();
  SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return true;
}

HWND GetCapture() { return T().capture; }

bool ClipCursor(const TRect* rect) {
  auto& t = T();
  t.clipped = rect != nullptr;
  if (rect) {
    t.clip = *rect;
    QPoint now = QCursor::pos();
    QPoint inside = ClipPoint(now);
    if (inside != now) QCursor::setPos(inside);
  }
  return true;
}

bool GetClipCursor(TRect& rect) {
  if (T().clipped) {
    rect = T().clip;
  } else {
    QRect all = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->virtualGeometry() : QRect();
    rect = {all.left(), all.top(), all.left() + all.width(), all.top() + all.height()};
  }
  return true;
}

bool GetCursorPos(TPoint& point) {
  QPoint p = ClipPoint(QCursor::pos());
  point = {p.x(), p.y()};
  return true;
}

bool SetCursorPos(int x, int y) {
  QCursor::setPos(ClipPoint(QPoint(x, y)));
  return true;
}

HWND SetFocus(HWND window) {
  HWND old = GetFocus();
  QWidget* w = WindowWidget(window);
  if (!w) return 0;
  if (QWidget* top = w->window(); top && !top->isActiveWindow()) top->activateWindow();
  w->setFocus(Qt::OtherFocusReason);
  return old;
}

HWND GetFocus() { return WindowFromWidget(QApplication::focusWidget()); }
