#pragma once
// The window table behind the window services: internal to platform/win.

#include <QCursor>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "platform/win/Windows.h"

class QEvent;
class QPainter;

namespace wintable {

struct WindowRecord {
  QPointer<QWidget> widget;
  QMetaObject::Connection widgetGone;  // forgets the window when Qt deletes the widget
  HWND parent = 0;
  std::vector<HWND> children;  // z-order, topmost first
  WNDPROC proc = 0;
  std::optional<QCursor> cursor;  // none: the widget's own
  // The cursor the widget had set on itself when it became a window (an edit field's I-beam): what
  // "the widget's own" gives back once a cursor set through the window is reset.
  std::optional<QCursor> ownCursor;
  // Drawing done on the window outside its paint; shown at its next paint.
  std::unique_ptr<QImage> scribble;
  QRect scribbleDirty;
  // The painter of the paint event in progress, shared by every device context of the window.
  QPainter* paintPainter = nullptr;
  QRect paintRect;
  bool inPaint = false;
};

// The record of a live window, or null.
WindowRecord* Find(HWND window);
// The widgets of every window in the table.
std::vector<QWidget*> AllWindowWidgets();
// The procedure id of the native default procedure.
WNDPROC NativeProc();

// A Qt event being translated into a message: DefWindowProc reaching it for the same window and
// message lets the widget handle the event (at once, so that what follows in the chain runs after).
struct Translation {
  HWND window = 0;
  UINT msg = 0;
  QWidget* receiver = nullptr;  // the widget the event was meant for
  QEvent* event = nullptr;
  bool reachedNative = false;
  bool delivered = false;
};
Translation* CurrentTranslation();
void PushTranslation(Translation* translation);
void PopTranslation();
// Delivers the translation's event to its widget, bypassing the translation of input.
void DeliverToQt(Translation& translation);
bool IsBeingDelivered(const QEvent* event, const QWidget* receiver);

// Installs the application-wide input filter once a QApplication exists.
void EnsureInputFilter();
// Ends the shared painter of a window's paint so that another painter may start.
void EndPaintPainter(WindowRecord& record);
// Keeps the XOR layer above every window of the top-level window that holds `window`.
void RaiseScreenOverlay(HWND window);
// The window beneath `window` at a screen point, to which input falls through when `window`
// answers HTTRANSPARENT: a lower sibling there (its deepest window), else the parent.
HWND WindowBeneath(HWND window, QPoint screen);
// Gives the widget of a window the cursor it had of its own (none: its parent's).
void ShowOwnCursor(WindowRecord& record);
// The current clip rectangle applied to a screen point.
QPoint ClipPoint(QPoint screen);

}  // namespace wintable
