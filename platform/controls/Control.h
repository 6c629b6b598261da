#pragma once
// TControl: the base of everything visible. A control has bounds in its parent's client
// coordinates, a font, a colour, a caption and the mouse events; it receives messages through
// WindowProc → WndProc → Dispatch → DefaultHandler.

#include <memory>
#include <string>

#include "platform/graphics/Cursors.h"
#include "platform/graphics/Font.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/IntegerConsts.h"
#include "platform/rtl/Types.h"
#include "platform/win/Windows.h"

class TControl;
class TWinControl;

ENUMERATION(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
ENUMERATION(TAlignment, taLeftJustify, taRightJustify, taCenter)
ENUMERATION(TMouseButton, mbLeft, mbRight, mbMiddle)
ENUMERATION(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
SET_OF(TShiftState, TShiftStateItem)

enum TControlStyleItem {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking,
};
using TControlState = TSet<TControlStateItem>;

// Messages of the control layer itself.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 11;
constexpr UINT CM_FONTCHANGED = CM_BASE + 15;
constexpr UINT CM_COLORCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 22;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;  // 0xB01C: does a click in design mode reach the control?
constexpr UINT CM_HITTEST = CM_BASE + 37;        // does the point hit the control?
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;  // 0xB036: WParam the control, LParam inserted

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, uint16_t&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char32_t&>;

// The window-less control that holds the mouse while a button is down on it, if any.
TControl* CaptureControl();
// Moves the mouse-over state to `control` (null: none), sending CM_MOUSELEAVE to the control the
// mouse leaves and CM_MOUSEENTER to the one it enters.
void SetMouseControl(TControl* control);

// The shift state of a mouse message's key flags (and of the keyboard's modifier keys).
TShiftState KeysToShiftState(WPARAM keys);

class TControl : public TComponent {
  DECLARE_CLASS(TControl)

 public:
  void Create(TComponent* owner) override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int v);
  void SetClientHeight(int v);
  // The screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible itself and inside a showing parent.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);
  TCursor Cursor() const { return cursor_; }
  virtual void SetCursor(TCursor v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TFont* Font() const { return font_; }
  void SetFont(TFont* v) { font_->Assign(v); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& v) { SetText(v); }
  const std::string& Text() const { return text_; }
  void SetText(const std::string& v);
  TComponent* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TComponent* v);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign v);
  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle v) { controlStyle_ = v; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState v) { controlState_ = v; }
  bool MouseCapture() const;
  void SetMouseCapture(bool v);

  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  virtual void BringToFront();
  virtual void SendToBack();

  // Runs a message through the control's WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
  // The control's message entry; replaceable like a window procedure, WndProc by default.
  std::function<void(TMessage&)> WindowProc;
  virtual void WndProc(TMessage& message);
  // Handles the messages a class knows and passes the others to its parent class; the last
  // one goes to DefaultHandler.
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  virtual void Click();
  virtual void DblClick();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

 protected:
  void Destroy() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void FontChanged();
  // Called after the bounds changed; windowed controls move their window.
  virtual void BoundsChanged(const TRect& old);
  virtual void VisibleChanging() {}

  TFont* font_ = nullptr;
  TColor color_ = clWindow;
  TControlStyle controlStyle_;
  TControlState controlState_;

 private:
  friend class TWinControl;
  void MouseButtonMessage(TMessage& message, TMouseButton button, bool down, bool dbl);

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  TCursor cursor_ = crDefault;
  bool parentColor_ = false;
  bool parentFont_ = true;
  std::string text_;
  TComponent* popupMenu_ = nullptr;
  TAlign align_ = alNone;
};
