#include "platform/controls/NativeControl.h"

#include <QApplication>
#include <QWidget>

#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/win/ErrorBoundary.h"

// Every native control is a tab stop unless told otherwise.
DEFINE_CLASS(TNativeControl, TWinControl) {
  c.Prop("TabStop", &TNativeControl::TabStop, &TNativeControl::SetTabStop).Default(true);
}

void TNativeControl::Create(TComponent* owner) {
  TWinControl::Create(owner);
  // The widget paints all of itself and keeps the mouse while a button is down on its own; a
  // capture taken by the control would steal the moves from inner widgets such as a viewport.
  controlStyle_ = {csSetCaption, csDoubleClicks, csOpaque};
  color_ = clWindow;
  SetTabStop(true);
}

QWidget* TNativeControl::NativeWidget() { return HandleAllocated() ? WindowWidget(Handle()) : nullptr; }

void TNativeControl::CreateWnd() {
  TWinControl::CreateWnd();
  focused_ = false;
  ApplyColor();
}

void TNativeControl::ApplyColor() {
  QWidget* widget = NativeWidget();
  if (!widget) return;
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, ColorToQColor(Color()));
  widget->setPalette(palette);
}

void TNativeControl::FromWidget(const std::function<void()>& answer) {
  if (!ChangingWidget()) Safely(answer);
}

void TNativeControl::Safely(const std::function<void()>& code) { Guarded(code); }

bool TNativeControl::FocusStaysInside() {
  QWidget* widget = NativeWidget();
  if (!widget) return false;
  // Qt names the widget that gets the focus before the one losing it hears of it.
  if (QWidget* now = QApplication::focusWidget(); now && WindowFromWidget(now) == Handle()) return true;
  for (QWidget* w = QApplication::activePopupWidget(); w; w = w->parentWidget())
    if (w == widget) return true;
  return false;
}

void TNativeControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
      DefaultHandler(message);
      if (focused_) return;
      focused_ = true;
      OnEnter(this);
      return;
    case WM_KILLFOCUS:
      DefaultHandler(message);
      if (!focused_ || FocusStaysInside()) return;
      focused_ = false;
      OnExit(this);
      return;
    case WM_SETCURSOR:
      // The default cursor is the widget's own (an I-beam over text, split arrows at grid lines).
      if (Cursor() == crDefault && !ComponentState().Contains(csDesigning)) {
        message.Result = 1;
        return;
      }
      break;
    case CM_COLORCHANGED:
      TWinControl::Dispatch(message);
      ApplyColor();
      return;
    default:
      break;
  }
  TWinControl::Dispatch(message);
}
