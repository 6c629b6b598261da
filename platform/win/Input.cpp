// The application-wide event filter that turns Qt input, focus and paint events of our windows
// into messages and runs them through the windows' procedure chains.

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

#include <optional>
#include <utility>

#include "platform/win/ErrorBoundary.h"
#include "platform/win/WindowTable.h"

namespace wintable {
namespace {

WPARAM KeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  WPARAM flags = 0;
  if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
  if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
  if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
  return flags;
}

UINT MouseMessage(const QMouseEvent& e) {
  int column;
  switch (e.button()) {
    case Qt::LeftButton: column = 0; break;
    case Qt::RightButton: column = 1; break;
    case Qt::MiddleButton: column = 2; break;
    default: return e.type() == QEvent::MouseMove ? WM_MOUSEMOVE : WM_NULL;
  }
  static const UINT table[3][3] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
                                   {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
                                   {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}};
  switch (e.type()) {
    case QEvent::MouseButtonPress: return table[column][0];
    case QEvent::MouseButtonRelease: return table[column][1];
    case QEvent::MouseButtonDblClick: return table[column][2];
    default: return WM_MOUSEMOVE;
  }
}

}  // namespace

// The virtual key code of a Qt key; 0 when it has none.
int VirtualKey(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return VK_F1 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: return 0;
  }
}

namespace {

// Runs one translated message through the window's chain.
void Run(Translation& translation, WPARAM wParam, LPARAM lParam) {
  PushTranslation(&translation);
  try {
    SendMessage(translation.window, translation.msg, wParam, lParam);
  } catch (...) {
    PopTranslation();
    throw;
  }
  PopTranslation();
}

// Set by DropKeyCharacters for the key press whose key down is running; each press has its own,
// so nothing is left over for a later press or for messages sent by code.
bool*& CharactersDropped() {
  static bool* dropped = nullptr;
  return dropped;
}

class InputFilter : public QObject {
 public:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (!object->isWidgetType() || IsBeingDelivered(event, static_cast<QWidget*>(object))) return false;
    // What the messages run may free widgets that Qt uses once the event is over.
    HandlingEvent handling;
    // An event whose handling raised is taken: the widget must not act on it half handled.
    bool taken = true;
    Guarded([&] { taken = Translate(object, event); });
    return taken;
  }

 private:
  static bool Translate(QObject* object, QEvent* event) {
    auto* widget = static_cast<QWidget*>(object);
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
        return Mouse(widget, static_cast<QMouseEvent*>(event));
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        return Key(widget, static_cast<QKeyEvent*>(event));
      case QEvent::FocusIn:
      case QEvent::FocusOut:
        return Focus(widget, event);
      case QEvent::Paint:
        return Paint(widget, static_cast<QPaintEvent*>(event));
      case QEvent::Leave:
        // The mouse left the window for good (not for one of its inner widgets).
        if (HWND window = Own(widget)) SendMessage(window, WM_MOUSELEAVE, 0, 0);
        return false;
      case QEvent::Resize:
        if (HWND window = Own(widget))
          SendMessage(window, WM_SIZE, 0, MAKELPARAM(widget->width(), widget->height()));
        return false;
      case QEvent::Move:
        if (HWND window = Own(widget))
          SendMessage(window, WM_MOVE, 0, MAKELPARAM(widget->x(), widget->y()));
        return false;
      default:
        return false;
    }
  }

  // The window whose own widget this is (not one of its inner widgets).
  static HWND Own(QWidget* widget) {
    HWND window = WindowFromWidget(widget);
    return WindowWidget(window) == widget ? window : 0;
  }

  static bool Mouse(QWidget* widget, QMouseEvent* e) {
    HWND own = WindowFromWidget(widget);
    if (!own) return false;
    UINT msg = MouseMessage(*e);
    if (msg == WM_NULL) return false;
    QPoint screen = ClipPoint(e->globalPosition().toPoint());
    HWND target = GetCapture();
    if (!target) {
      target = own;
      for (int guard = 0; target; ++guard) {
        if (guard == 64 || SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x(), screen.y())) != HTTRANSPARENT)
          break;
        target = WindowBeneath(target, screen);
      }
      if (!target) {
        e->accept();
        return true;
      }
      if (msg == WM_MOUSEMOVE)
        SendMessage(target, WM_SETCURSOR, target, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
    QWidget* targetWidget = WindowWidget(target);
    if (!targetWidget) return true;
    QPoint local = targetWidget->mapFromGlobal(screen);
    // The event the widget sees when the chain lets it through: the original one when it is for
    // the window that got it, else one made for the window beneath or the capture window.
    std::optional<QMouseEvent> made;
    Translation t{target, msg, widget, e};
    if (target != own || screen != e->globalPosition().toPoint()) {
      made.emplace(e->type(), QPointF(local), QPointF(screen), e->button(), e->buttons(), e->modifiers());
      t.receiver = targetWidget;
      t.event = &*made;
    }
    Run(t, KeyFlags(e->buttons(), e->modifiers()), MAKELPARAM(local.x(), local.y()));
    e->accept();
    return true;
  }

  static bool Key(QWidget* widget, QKeyEvent* e) {
    HWND own = WindowFromWidget(widget);
    if (!own) return false;
    bool press = e->type() == QEvent::KeyPress;
    Translation key{own, press ? WM_KEYDOWN : WM_KEYUP, widget, e};
    bool dropped = false;
    {
      // A key pressed inside the handling of this one (a nested loop) has its own.
      bool* outer = std::exchange(CharactersDropped(), press ? &dropped : nullptr);
      try {
        // As in the key messages of old, bit 30 says that the key was down already (a repeat).
        Run(key, static_cast<WPARAM>(VirtualKey(e->key())), e->isAutoRepeat() ? 0x40000001 : 1);
      } catch (...) {
        CharactersDropped() = outer;
        throw;
      }
      CharactersDropped() = outer;
    }
    bool letThrough = key.reachedNative;
    if (press && !dropped) {
      // Ctrl with a letter gives its control character (Ctrl+C is 3).
      std::u32string chars;
      if ((e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        chars.push_back(static_cast<char32_t>(e->key() - Qt::Key_A + 1));
      else
        for (uint code : e->text().toUcs4()) chars.push_back(code);
      for (char32_t code : chars) {
        if (!IsWindow(own)) break;
        Translation ch{own, WM_CHAR, widget, e};
        Run(ch, static_cast<WPARAM>(code), 1);
        letThrough = letThrough && ch.reachedNative;
      }
    }
    // The widget sees the key only when no handler kept the key or its characters.
    if (letThrough && IsWindow(own)) DeliverToQt(key);
    // Handled: a key the widget ignored has gone up its parents already, within the delivery.
    e->accept();
    return true;
  }

  // The window that has the focus, as its messages told it.
  static HWND& FocusWindow() {
    static HWND window = 0;
    return window;
  }

  static bool Focus(QWidget* widget, QEvent* e) {
    HWND own = WindowFromWidget(widget);
    if (!own) return false;
    // A popup (a combo box's list, a menu) borrows the focus without the window losing it, and
    // moves between the inner widgets of one window are no change of window.
    if (static_cast<QFocusEvent*>(e)->reason() == Qt::PopupFocusReason) return false;
    bool in = e->type() == QEvent::FocusIn;
    HWND other;
    if (in) {
      if (FocusWindow() == own) return false;
      other = FocusWindow();
      FocusWindow() = own;
    } else {
      other = WindowFromWidget(QApplication::focusWidget());
      if (other == own) return false;
      if (FocusWindow() == own) FocusWindow() = 0;
    }
    Translation t{own, in ? WM_SETFOCUS : WM_KILLFOCUS, widget, e};
    Run(t, static_cast<WPARAM>(other), 0);
    return true;
  }

  static bool Paint(QWidget* widget, QPaintEvent* e) {
    HWND own = Own(widget);
    if (!own) return false;
    WindowRecord* r = Find(own);
    r->inPaint = true;
    r->paintRect = e->rect();
    Translation t{own, WM_PAINT, widget, e};
    try {
      Run(t, 0, 0);
    } catch (...) {
      if ((r = Find(own))) {
        EndPaintPainter(*r);
        r->inPaint = false;
      }
      throw;
    }
    if (!(r = Find(own))) return true;
    // Drawing done on the window outside a paint shows over this paint once.
    if (r->scribble) {
      if (!r->paintPainter) r->paintPainter = new QPainter(widget);
      r->paintPainter->drawImage(0, 0, *r->scribble);
      r->scribble.reset();
    }
    EndPaintPainter(*r);
    r->inPaint = false;
    return true;
  }
};

}  // namespace

void EnsureInputFilter() {
  static QPointer<InputFilter> filter;
  if (filter || !qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  filter = new InputFilter();
  filter->setParent(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(filter);
}

void EndPaintPainter(WindowRecord& record) {
  if (!record.paintPainter) return;
  record.paintPainter->end();
  delete record.paintPainter;
  record.paintPainter = nullptr;
}

}  // namespace wintable

void DropKeyCharacters() {
  if (bool* dropped = wintable::CharactersDropped()) *dropped = true;
}
