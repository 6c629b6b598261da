#pragma once
// The brush a canvas fills areas with. Hatched styles draw their lines in the brush colour and
// leave the pixels between them untouched.

#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/IntegerConsts.h"

ENUMERATION(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
            bsCross, bsDiagCross)

class TBrush : public TPersistent {
  DECLARE_CLASS(TBrush)

 public:
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value);

  void Assign(TPersistent* source) override;

  TNotifyEvent OnChange;

 private:
  void Changed() { OnChange(this); }

  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};
