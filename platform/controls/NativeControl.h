#pragma once
// TNativeControl: the base of the controls whose window is one of Qt's own widgets (edit boxes,
// combo boxes, list boxes, grids, radio groups, buttons). The widget draws itself and handles its
// own input: the messages translated from its events reach the native procedure and so the widget,
// and the control turns the widget's signals into its events.
//
// What the control holds (text, items, the current index …) is the master copy: it exists before
// the window, survives a re-created one, and is pushed into the widget in CreateWnd and whenever
// code changes it. A widget signal that comes while the control itself changes the widget is not
// the user's and is not reported.

#include <functional>

#include "platform/controls/WinControl.h"

class TNativeControl : public TWinControl {
  DECLARE_CLASS(TNativeControl)

 public:
  void Create(TComponent* owner) override;
  void Dispatch(TMessage& message) override;

  // Stored conditions of the inherited colour and font.
  bool IsColorStored() const { return !ParentColor(); }
  bool IsFontStored() const { return !ParentFont(); }

 protected:
  // The widget of the window; null while there is none.
  QWidget* NativeWidget();
  void CreateWnd() override;

  // Marks a change the control makes to its widget: the widget's signals meanwhile report nothing.
  class WidgetChange {
   public:
    explicit WidgetChange(TNativeControl& control) : control_(control) { ++control_.changingWidget_; }
    ~WidgetChange() { --control_.changingWidget_; }
    WidgetChange(const WidgetChange&) = delete;
    WidgetChange& operator=(const WidgetChange&) = delete;

   private:
    TNativeControl& control_;
  };
  bool ChangingWidget() const { return changingWidget_ > 0; }

  // Runs the control's answer to a signal of its widget, unless the control is changing the widget
  // itself. Signals come from inside Qt, so the answer runs inside the error boundary (Safely).
  void FromWidget(const std::function<void()>& answer);
  // Runs code called from inside Qt (a signal, an overridden widget method) so that an exception
  // goes to the application's error display instead of into Qt.
  static void Safely(const std::function<void()>& code);

 private:
  // Whether a focus loss is only the focus moving inside the window (between its inner widgets)
  // or into a popup of the widget (a combo box's list, an edit box's context menu).
  bool FocusStaysInside();
  // The colour is the widget's base (where text is written) as well as its window colour.
  void ApplyColor();

  int changingWidget_ = 0;
  bool focused_ = false;
};
