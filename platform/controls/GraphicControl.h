#pragma once
// Controls that draw themselves on a canvas. A TGraphicControl has no window: its parent paints it
// in z-order with the origin moved to the control and the drawing clipped to its bounds, and routes
// the mouse to it. A TCustomControl has a window and paints it in Paint.

#include "platform/controls/WinControl.h"
#include "platform/graphics/Canvas.h"

class TGraphicControl : public TControl {
  DECLARE_CLASS(TGraphicControl)

 public:
  void Create(TComponent* owner) override;
  // Valid while the control paints.
  TCanvas* Canvas() const { return canvas_; }
  void Dispatch(TMessage& message) override;

 protected:
  void Destroy() override;
  virtual void Paint() {}

 private:
  TCanvas* canvas_ = nullptr;
};

class TCustomControl : public TWinControl {
  DECLARE_CLASS(TCustomControl)

 public:
  void Create(TComponent* owner) override;
  TCanvas* Canvas() const { return canvas_; }

 protected:
  void Destroy() override;
  void PaintWindow(HDC dc) override;
  virtual void Paint() {}

 private:
  TCanvas* canvas_ = nullptr;
};
