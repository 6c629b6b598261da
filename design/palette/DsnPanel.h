#pragma once
// The component palette: a panel of toggle buttons from which the user picks what to place on a
// design stage. A palette button does not know classes; it stands for a prototype control (its
// gene), a fully configured control on a hidden deposit panel of the same window, bound to it by
// name when the palette is activated. The arrow button stands for no prototype: clicks on the
// stage then select instead of creating.
//
// While the palette itself is being designed (csDesigning), a control dropped onto it is moved to
// the deposit panel "DsnDpstPanel", named "Dpst_" + its class name (with "X" appended until the
// name is free) and given a button of its own in the next cell of the palette's grid.

#include <string>

#include "design/DsnCmpPlt.h"
#include "platform/controls/SpeedButton.h"
#include "platform/rtl/List.h"

class TArrowButton;
class TDsnButton;

// Posted by a palette to itself when a control other than a palette button is inserted into it or
// removed from it; WParam is a posted reference to the control (platform/rtl/PostedRefs.h).
constexpr UINT DM_DEPOSITCONTROL = 0x63A;

// All buttons of a palette share this group, so that at most one of them is down.
constexpr int kPaletteGroupIndex = 2301;

class TDsnPanel : public TCustomCmpPlt {
  DECLARE_CLASS(TDsnPanel)

 public:
  void SetActive(bool value) override;
  TComponent* GetGene() override { return gene_; }
  void SetGene(TComponent* value) override;
  // A null button leaves the one already set.
  void SetArrowButton(TArrowButton* value) override;
  void AttachArrowButton(TControl* arrow) override;
  void ResetToArrow() override;

  // False while the message caused by the palette's own move of a deposited control is still to
  // come; that message is then swallowed.
  bool DepositPending() const { return depositPending_; }
  TArrowButton* ArrowButton() const { return arrowButton_; }
  // The buttons read with the palette, in the order they were loaded.
  const TList<TDsnButton*>& Buttons() const { return buttons_; }
  // Called by a button once it has been read; a button is listed once.
  void AddButton(TDsnButton* button);

  // Size of a button made in composition, and whether it gets a caption.
  int BtnWidth() const { return btnWidth_; }
  void SetBtnWidth(int v) { btnWidth_ = v; }
  int BtnHeight() const { return btnHeight_; }
  void SetBtnHeight(int v) { btnHeight_ = v; }
  bool BtnCaption() const { return btnCaption_; }
  void SetBtnCaption(bool v) { btnCaption_ = v; }

  void Dispatch(TMessage& message) override;

 protected:
  void Destroy() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  void ControlChange(TControl* control, bool inserted);
  void DepositMessage(const TMessage& message);
  // The child control that the posted reference `param` names; null when it is no longer on the
  // palette (moved away or freed meanwhile).
  TControl* ChildFromParam(WPARAM param) const;
  // Composition: the control becomes a prototype on the deposit panel with a button of its own.
  void Deposit(TControl* control);
  TWinControl* DepositPanel();
  void EnsureArrowButton();
  // Puts a button made in composition into the next free cell of the grid.
  void PlaceButton(TSpeedButton* button);
  int PaletteButtonCount() const;
  // Frees the prototype of a palette button that is being deleted in composition.
  void FreePrototypeOf(TDsnButton* button);

  bool depositPending_ = true;
  TArrowButton* arrowButton_ = nullptr;
  TComponent* gene_ = nullptr;
  TList<TDsnButton*> buttons_;
  int btnWidth_ = 90;
  int btnHeight_ = 50;
  bool btnCaption_ = true;
};

// A palette button bound to one prototype by the stored name GeneName.
class TDsnButton : public TSpeedButton {
  DECLARE_CLASS(TDsnButton)

 public:
  // The prototype, found by name when the palette is activated; null when there is none.
  TComponent* Gene() const { return gene_; }
  void SetGene(TComponent* value);
  TDsnPanel* Palette() const { return palette_; }
  void SetPalette(TDsnPanel* value);
  // Name of the prototype among the components of the palette's owner; at most 255 bytes.
  const std::string& GeneName() const { return geneName_; }
  void SetGeneName(const std::string& value);

  // While the button is down, its prototype becomes the palette's gene; a button without one
  // presses the arrow button instead, so that nothing is created.
  void Click() override;
  // GeneName is stored without being published, always written.
  void DefineProperties(TFiler* filer) override;

 protected:
  // A button read into a palette starts disabled and joins the palette's Buttons.
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TComponent* gene_ = nullptr;
  TDsnPanel* palette_ = nullptr;
  std::string geneName_;
};

// The palette's select button: pressing it clears the palette's gene.
class TArrowButton : public TSpeedButton {
  DECLARE_CLASS(TArrowButton)

 public:
  TCustomCmpPlt* Palette() const { return palette_; }
  // A null palette leaves the one already set.
  void SetPalette(TCustomCmpPlt* value);

  void Click() override;

 protected:
  // Read from a layout, the arrow starts disabled and can't be raised by a second click.
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TCustomCmpPlt* palette_ = nullptr;
};

// Makes TDsnPanel, TDsnButton and TArrowButton known to the stream reader by name, so that layouts
// holding a palette can be read. Calling it again does no harm.
void RegisterPaletteClasses();
