#pragma once
// Standard actions: commands that know their target and what to do with it, so a layout only
// names them.
//
// Edit actions (Cut, Copy, Paste) act on the focused edit box: the Qt line edit, text edit or plain
// text edit that has the keyboard focus, whichever control it belongs to. Without one they are
// disabled, and so their shortcut keys reach the focused control as ordinary keys (Ctrl+C as the
// character 3).
//
// Window actions act on the multiple-document frame: the form that owns their action list (or
// them) when it is one. Without one they are disabled, and so they are while the frame has no
// child (Close: no active child).

#include "platform/controls/ActnList.h"

class QWidget;
class TCustomForm;

class TEditAction : public TCustomAction {
  DECLARE_CLASS(TEditAction)

 public:
  // The focused edit box, or null.
  static QWidget* FocusedEdit();

 protected:
  bool UpdateOnTarget() override;
  bool ExecuteOnTarget() override;
  virtual bool CanAct(QWidget*) const { return true; }
  virtual void Act(QWidget*) {}
};

// Enabled while the edit box has a selection it may change; Ctrl+X.
class TEditCut : public TEditAction {
  DECLARE_CLASS(TEditCut)

 public:
  void Create(TComponent* owner) override;

 protected:
  bool CanAct(QWidget* edit) const override;
  void Act(QWidget* edit) override;
};

// Enabled while the edit box has a selection; Ctrl+C.
class TEditCopy : public TEditAction {
  DECLARE_CLASS(TEditCopy)

 public:
  void Create(TComponent* owner) override;

 protected:
  bool CanAct(QWidget* edit) const override;
  void Act(QWidget* edit) override;
};

// Enabled while the clipboard holds text and the edit box may change; Ctrl+V.
class TEditPaste : public TEditAction {
  DECLARE_CLASS(TEditPaste)

 public:
  void Create(TComponent* owner) override;

 protected:
  bool CanAct(QWidget* edit) const override;
  void Act(QWidget* edit) override;
};

class TWindowAction : public TCustomAction {
  DECLARE_CLASS(TWindowAction)

 public:
  // The frame the action works on, or null.
  TCustomForm* Frame() const;

 protected:
  bool UpdateOnTarget() override;
  bool ExecuteOnTarget() override;
  // Enabled while the frame holds a child.
  virtual bool CanAct(TCustomForm* frame) const;
  virtual void Act(TCustomForm*) {}
};

// Closes the active child form (through its Close, so OnCloseQuery and OnClose run).
class TWindowClose : public TWindowAction {
  DECLARE_CLASS(TWindowClose)

 public:
  void Create(TComponent* owner) override;

 protected:
  bool CanAct(TCustomForm* frame) const override;
  void Act(TCustomForm* frame) override;
};

// Overlaps the child windows from the top-left corner.
class TWindowCascade : public TWindowAction {
  DECLARE_CLASS(TWindowCascade)

 public:
  void Create(TComponent* owner) override;

 protected:
  void Act(TCustomForm* frame) override;
};

// Stacks the child windows one above the other, each as wide as the frame.
class TWindowTileHorizontal : public TWindowAction {
  DECLARE_CLASS(TWindowTileHorizontal)

 public:
  void Create(TComponent* owner) override;

 protected:
  void Act(TCustomForm* frame) override;
};

// Puts the child windows side by side, each as high as the frame.
class TWindowTileVertical : public TWindowAction {
  DECLARE_CLASS(TWindowTileVertical)

 public:
  void Create(TComponent* owner) override;

 protected:
  void Act(TCustomForm* frame) override;
};

class TWindowMinimizeAll : public TWindowAction {
  DECLARE_CLASS(TWindowMinimizeAll)

 public:
  void Create(TComponent* owner) override;

 protected:
  void Act(TCustomForm* frame) override;
};

// Lines up the minimized child windows along the bottom of the frame.
class TWindowArrange : public TWindowAction {
  DECLARE_CLASS(TWindowArrange)

 public:
  void Create(TComponent* owner) override;

 protected:
  void Act(TCustomForm* frame) override;
};
