#pragma once
// TEdit: a one-line edit box over QLineEdit. Text is the control's text; OnChange fires whenever
// it changes, typed or set by code (also before the window exists), and not when it is set to
// what it already is. Positions and lengths count characters.

#include <string>

#include "platform/controls/NativeControl.h"

class QLineEdit;

class TEdit : public TNativeControl {
  DECLARE_CLASS(TEdit)

 public:
  void Create(TComponent* owner) override;

  // The most characters the user may type; 0 means no limit.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);

  // The selection lives on the window; asking for it makes the window.
  int SelStart();
  void SetSelStart(int v);
  int SelLength();
  void SetSelLength(int v);
  std::string SelText();
  // Replaces the selection (or inserts at the cursor) as typing would.
  void SetSelText(const std::string& v);
  void SelectAll();

  TNotifyEvent OnChange;

  void Dispatch(TMessage& message) override;

 protected:
  QWidget* CreateWidget() override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Change() { OnChange(this); }

 private:
  QLineEdit* Editor();
  // Shows the control's text in the widget; Qt may cut it to MaxLength, and then the text is what
  // the widget kept.
  void PushText();

  QLineEdit* edit_ = nullptr;
  int maxLength_ = 0;
  bool readOnly_ = false;
};
