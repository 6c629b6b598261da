#include "platform/controls/ExtCtrls.h"

#include "platform/controls/Panel.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TBevel, TGraphicControl) {
  c.Prop("Align", &TBevel::Align, &TBevel::SetAlign).Default(alNone);
  c.Prop("Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox);
  c.Prop("Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
  c.Prop("Visible", &TBevel::Visible, &TBevel::SetVisible).Default(true);
}

void TBevel::Create(TComponent* owner) {
  TGraphicControl::Create(owner);
  controlStyle_.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape v) {
  if (shape_ == v) return;
  shape_ = v;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle v) {
  if (style_ == v) return;
  style_ = v;
  Invalidate();
}

void TBevel::Paint() {
  // The first colour is the edge the light doesn't reach: top and left of a lowered bevel.
  TColor dark = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor light = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
  TCanvas* canvas = Canvas();
  TBrush* brush = canvas->Brush();
  brush->SetStyle(bsSolid);
  auto line = [&](TColor color, const TRect& r) {
    brush->SetColor(color);
    canvas->FillRect(r);
  };
  const int w = Width(), h = Height();
  TRect rect = ClientRect();
  switch (shape_) {
    case bsBox:
      Frame3D(canvas, rect, dark, light, 1);
      break;
    case bsFrame: {
      // Two rings, one pixel apart: a groove for lowered, a ridge for raised. The dark ring goes
      // on top, so its right and bottom edges run unbroken.
      TRect inner{1, 1, w, h};
      Frame3D(canvas, inner, light, light, 1);
      TRect outer{0, 0, w - 1, h - 1};
      Frame3D(canvas, outer, dark, dark, 1);
      break;
    }
    case bsTopLine:
      line(dark, {0, 0, w, 1});
      line(light, {0, 1, w, 2});
      break;
    case bsBottomLine:
      line(dark, {0, h - 2, w, h - 1});
      line(light, {0, h - 1, w, h});
      break;
    case bsLeftLine:
      line(dark, {0, 0, 1, h});
      line(light, {1, 0, 2, h});
      break;
    case bsRightLine:
      line(dark, {w - 2, 0, w - 1, h});
      line(light, {w - 1, 0, w, h});
      break;
    case bsSpacer:
      break;
  }
}
