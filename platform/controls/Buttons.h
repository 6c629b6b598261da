#pragma once
// TBitBtn: a push button with a picture, over QPushButton. Its Kind makes it one of the standard
// dialog buttons: the caption, the desktop's icon for it and the modal result come with the kind.
// A click fires OnClick and then, when ModalResult is not mrNone, sets it on the form the button
// lies on (which ends a modal form); a Close button closes its form.

#include <string>

#include "platform/controls/NativeControl.h"
#include "platform/graphics/Bitmap.h"

class QPushButton;

ENUMERATION(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)

class TBitBtn : public TNativeControl {
  DECLARE_CLASS(TBitBtn)

 public:
  void Create(TComponent* owner) override;

  // Setting a kind other than bkCustom sets Caption (unless a caption was read before the kind),
  // ModalResult, Default (OK, Yes) and Cancel (Cancel, No).
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind v);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int v) { modalResult_ = v; }
  // The button Enter presses on its form, and the one Escape presses (see PressDialogButton).
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  // A picture of its own replaces the kind's icon. With NumGlyphs 2 or more the bitmap holds that
  // many images side by side: the first for the enabled button, the second for the disabled one.
  TBitmap* Glyph() const { return glyph_; }
  void SetGlyph(TBitmap* v) { glyph_->Assign(v); }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }

  // Stored conditions: what the kind gives is not written.
  bool IsCaptionStored() const;
  bool IsModalResultStored() const;
  bool IsDefaultStored() const;
  bool IsCancelStored() const;

  void Click() override;
  void Dispatch(TMessage& message) override;

 protected:
  void Destroy() override;
  QWidget* CreateWidget() override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void PushIcon();

  QPushButton* button_ = nullptr;
  TBitBtnKind kind_ = bkCustom;
  int modalResult_ = 0;
  bool default_ = false;
  bool cancel_ = false;
  TBitmap* glyph_ = nullptr;
  int numGlyphs_ = 1;
  int helpContext_ = 0;
};

// Presses the visible, enabled button among the controls of `container` (and their children) that
// answers the key: a Default button for Enter, a Cancel button for Escape. True when one was
// pressed. A form calls it for the keys its focused control leaves alone.
bool PressDialogButton(TWinControl* container, uint16_t key);

// The caption and modal result a kind gives.
std::string BitBtnCaption(TBitBtnKind kind);
int BitBtnModalResult(TBitBtnKind kind);
