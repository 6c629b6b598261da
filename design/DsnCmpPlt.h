#pragma once
// What a register needs of a component palette. The palette library implements it; the design core
// owns it, so that the core never depends on the palette.

#include <vector>

#include "platform/controls/Panel.h"

class TArrowButton;  // design/palette/DsnPanel.h

class TCustomCmpPlt : public TPanel {
  DECLARE_CLASS(TCustomCmpPlt)

 public:
  // Enables the buttons when design mode starts, disables them when it ends.
  virtual void SetActive(bool value) = 0;
  // The prototype chosen by the pressed button; null while the arrow is pressed.
  virtual TComponent* GetGene() = 0;
  // Records the chosen prototype; null or an arrow button means none.
  virtual void SetGene(TComponent* value) = 0;
  virtual void SetArrowButton(TArrowButton* value) = 0;
  // Links the palette and `arrow` both ways when `arrow` is an arrow button of this palette's kind.
  virtual void AttachArrowButton(TControl* arrow) = 0;
  // Presses the arrow button; the gene stays until SetGene(nullptr).
  virtual void ResetToArrow() = 0;

  // The registers designing with the palette. One palette may serve several registers (the main
  // window's serves both mark editors): Take switches it on for `user`, and Release switches it
  // off, and drops the chosen prototype, only when no other register is still designing with it.
  void Take(TComponent* user);
  void Release(TComponent* user);

 private:
  std::vector<TWeak<TComponent>> users_;
};
