#pragma once
// The register through which the user selects several controls with the mouse: Shift+click adds or
// removes one control, and a rubber band drawn on the empty stage (or with Ctrl held, starting
// anywhere) selects every control it touches. A press on a selected control drags the whole
// selection. Everything else is the base register's.

#include "design/select/DsnRegister.h"

class TDsnMlRegister : public TDsnRegister {
  DECLARE_CLASS(TDsnMlRegister)

 public:
  // A band still held when design mode ends goes first: its frame off the screen, the cursor free.
  void SetDesigning(bool on) override;
  void MouseDown(TWinControl* control, TControl* target, TShiftState shift, TPoint point) override;
  void MouseMove(TWinControl* control, TPoint point, TShiftState shift) override;
  void MouseUp(TWinControl* control, TPoint point, TShiftState shift) override;
  void MoveBegin(TWinControl* control, TControl* target, TShiftState shift, TPoint point) override;
  void RightSelect(TWinControl* control, TControl* target) override;

  using TDsnRegister::MoveDrag;
  using TDsnRegister::MoveEnd;
  virtual void MoveDrag(TPoint point, TShiftState shift);
  virtual void MoveEnd(TPoint point, TShiftState shift);
  virtual void BandStart(TWinControl* control, TControl* target, TPoint point, TShiftState shift);
  virtual void BandDrag(TWinControl* control, TPoint point, TShiftState shift);
  virtual void BandEnd(TWinControl* control, TPoint point, TShiftState shift);
  virtual void CreateBandShape();

  // The rubber band; not null exactly while one is drawn.
  TMultiShape* BandShape() const { return bandShape_; }

 protected:
  void Destroy() override;

 private:
  void FinishBand();

  TMultiShape* bandShape_ = nullptr;
};
