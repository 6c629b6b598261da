#pragma once
// TBevel: a window-less 3D frame or line that groups or separates controls. Its Style says
// whether it looks cut into the surface (lowered) or standing out of it (raised); its Shape
// whether it is a box, an etched frame, one of the four edge lines, or empty space.

#include "platform/controls/GraphicControl.h"

ENUMERATION(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
ENUMERATION(TBevelStyle, bsLowered, bsRaised)

class TBevel : public TGraphicControl {
  DECLARE_CLASS(TBevel)

 public:
  void Create(TComponent* owner) override;

  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape v);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle v);

 protected:
  void Paint() override;

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};
