#pragma once
// The shape settings dialog ("形狀設定視窗"): the figure of one shape label, and for a rectangle
// which of its sides and diagonals are drawn, set on a preview of the dialog's own. The editor
// copies the element's settings into the preview and, when the user confirms, back.

#include <array>

#include "mark/shape2.h"
#include "platform/controls/Form.h"

class TPageControl;
class TPanel;
class TRadioGroup;
class TSpeedButton;
class TTabSheet;

class Tfmsetup : public TForm {
  DECLARE_CLASS(Tfmsetup)

 public:
  void FormShow(TObject* sender);
  void RadioGroup1Click(TObject* sender);
  // The shared click of the six line buttons: the button's line joins or leaves the preview's set.
  void sb1Click(TObject* sender);
  void SpeedButton1Click(TObject* sender);
  void SpeedButton2Click(TObject* sender);

  // sb1 … sb6; each finds its line by its GroupIndex.
  std::array<TSpeedButton*, 6> LineButtons() const;
  void SetLineButtonsVisible(bool value);
  // Shows the line buttons, down as the preview's lines are, while the preview is a rectangle;
  // hides them otherwise.
  void UpdateLineButtons();

  TPanel* Panel1 = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;
  TSpeedButton* SpeedButton2 = nullptr;
  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TPanel* Panel3 = nullptr;
  TRadioGroup* RadioGroup1 = nullptr;
  TPanel* Panel2 = nullptr;
  TSpeedButton* sb1 = nullptr;
  TSpeedButton* sb2 = nullptr;
  TSpeedButton* sb3 = nullptr;
  TSpeedButton* sb4 = nullptr;
  TSpeedButton* sb5 = nullptr;
  TSpeedButton* sb6 = nullptr;
  tshape2* shape = nullptr;
};
