#pragma once
// The window services the framework is written against, provided over Qt: window handles,
// window procedures, messages, capture, cursor clip and focus.
//
// A window handle is a small positive integer from this layer's window table (0 = none), never a
// pointer. Each window is a Qt widget; its current procedure is an id in this layer's procedure
// table. The last procedure of every chain is the native one (DefWindowProc): for a message that
// was translated from a Qt event, reaching it means "let the widget handle the original event";
// for a message sent by code it does what the platform's default would do.

#include <cstdint>
#include <exception>
#include <functional>

#include "platform/rtl/Types.h"

class QCursor;
class QWidget;

using UINT = uint32_t;
using HWND = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using LONG_PTR = intptr_t;
using WNDPROC = intptr_t;  // an id in the procedure table; 0 = none

// The message record a window procedure receives; it writes Result.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

constexpr LPARAM MAKELPARAM(int low, int high) {
  return static_cast<LPARAM>(static_cast<uint32_t>(static_cast<uint16_t>(low)) |
                             (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16));
}
constexpr int LOWORD(uintptr_t v) { return static_cast<int>(v & 0xFFFF); }
constexpr int HIWORD(uintptr_t v) { return static_cast<int>((v >> 16) & 0xFFFF); }
// Mouse positions are signed 16-bit values in the low and high words.
constexpr int GET_X_LPARAM(LPARAM v) { return static_cast<int16_t>(v & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM v) { return static_cast<int16_t>((v >> 16) & 0xFFFF); }

// Messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_MOUSELEAVE = 0x02A3;
constexpr UINT WM_USER = 0x0400;

// Hit-test answers.
constexpr LRESULT HTTRANSPARENT = -1;
constexpr LRESULT HTNOWHERE = 0;
constexpr LRESULT HTCLIENT = 1;

// Key flags of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// GetWindow commands and window longs.
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
constexpr int GWL_WNDPROC = -4;

// Virtual key codes; letters and digits are their upper-case ASCII codes.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;
constexpr int VK_F12 = 0x7B;

// ---- windows ----

// Registers `widget` as a window with `parent` (0 for a top-level window); the window starts with
// the native procedure and lies on top of its siblings. The widget stays owned by its creator.
HWND CreateWindowHandle(QWidget* widget, HWND parent);
// Sends WM_DESTROY through the window's chain (its children first), then removes the window and
// its children from the table. The widgets are not deleted.
bool DestroyWindow(HWND window);
// Deletes a widget its creator is done with (a control's window, a form's frame). While a Qt
// event of one of our widgets is being handled, Qt may still use the widget after the handler
// returns (a paint goes on to the siblings): it is then hidden at once and deleted when the event
// loop runs again. A widget that is a window is destroyed (DestroyWindow) first.
void DisposeWidget(QWidget* widget);
// Marks, for its lifetime, that a Qt event of one of our widgets is being handled; the input
// filter and the forms' frames open one around the code their events run.
class HandlingEvent {
 public:
  HandlingEvent();
  ~HandlingEvent();
  HandlingEvent(const HandlingEvent&) = delete;
  HandlingEvent& operator=(const HandlingEvent&) = delete;
};
bool IsWindow(HWND window);
QWidget* WindowWidget(HWND window);
// The window a widget belongs to: its own or that of the nearest ancestor widget that is one.
HWND WindowFromWidget(const QWidget* widget);

HWND GetParent(HWND window);
HWND SetParent(HWND window, HWND newParent);
// Walks the z-order: GW_CHILD gives the topmost child, GW_HWNDNEXT the sibling below.
HWND GetWindow(HWND window, UINT command);
// Moves a window to the top of its siblings, or to just below `insertAfter`.
bool BringWindowToTop(HWND window);
bool SetWindowZOrder(HWND window, HWND insertAfter);

bool MoveWindow(HWND window, int x, int y, int width, int height);
bool ShowWindow(HWND window, bool show);
bool IsWindowVisible(HWND window);
bool EnableWindow(HWND window, bool enable);
bool IsWindowEnabled(HWND window);
bool GetClientRect(HWND window, TRect& rect);
bool GetWindowRect(HWND window, TRect& rect);  // screen coordinates
bool ClientToScreen(HWND window, TPoint& point);
bool ScreenToClient(HWND window, TPoint& point);
// Marks part of a window (all of it for null) for repainting from the event loop; UpdateWindow
// repaints what is marked at once.
bool InvalidateRect(HWND window, const TRect* rect, bool erase);
bool UpdateWindow(HWND window);
// The window under a screen point that does not answer HTTRANSPARENT; 0 over no window of ours.
HWND WindowFromPoint(TPoint screen);
// The top-level window that holds `window`.
HWND GetAncestorRoot(HWND window);

// ---- window procedures ----

using TObjectWndProc = std::function<void(TMessage&)>;
// Binds a method to a new procedure id; the id calls it with a filled message record.
WNDPROC MakeObjectInstance(TObjectWndProc method);
void FreeObjectInstance(WNDPROC instance);
// GWL_WNDPROC reads or replaces the window's procedure; both give 0 when `window` is not one.
LONG_PTR GetWindowLong(HWND window, int index);
LONG_PTR SetWindowLong(HWND window, int index, LONG_PTR value);
LRESULT CallWindowProc(WNDPROC proc, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- messages ----

// Runs the window's chain at once; 0 when `window` is not a window.
LRESULT SendMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// Queues the message; it runs from the event loop after the current operation, in posting order.
// Messages for windows destroyed meanwhile are dropped.
bool PostMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// Delivers the queued messages now (and those they post), as the application's message pump does.
void DispatchPostedMessages();
int PostedMessageCount();
// While the WM_KEYDOWN of a key the user pressed runs: that key press sends no WM_CHAR (a dialog
// key used up types nothing). Anywhere else it does nothing.
void DropKeyCharacters();

// An exception must not cross into Qt: input and posted messages run inside the error boundary
// (ErrorBoundary.h), which hands it to the application's error display.

// ---- capture, cursor and focus ----

// All mouse messages go to the capture window until it is released; the window losing the capture
// receives WM_CAPTURECHANGED with the new capture window in LParam.
HWND SetCapture(HWND window);
bool ReleaseCapture();
HWND GetCapture();
// Keeps the pointer, and every position reported to windows, inside a screen rectangle; null frees it.
bool ClipCursor(const TRect* rect);
bool GetClipCursor(TRect& rect);
bool GetCursorPos(TPoint& point);
bool SetCursorPos(int x, int y);

// The cursor shown over a window; the native WM_SETCURSOR handling applies it.
bool SetWindowCursor(HWND window, const QCursor& cursor);
// Gives the window its widget's own cursor again (an edit box's I-beam, for instance).
bool ResetWindowCursor(HWND window);

HWND SetFocus(HWND window);
HWND GetFocus();
