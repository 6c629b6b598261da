#pragma once
// The pen a canvas draws lines and outlines with.

#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/IntegerConsts.h"

// How the pen's colour combines with the pixels it covers (P = pen, D = destination).
ENUMERATION(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot,
            pmMaskPenNot, pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask,
            pmXor, pmNotXor)
// Dashed styles apply to one-pixel pens only; a wider pen draws them solid.
ENUMERATION(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)

class TPen : public TPersistent {
  DECLARE_CLASS(TPen)

 public:
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value);
  // In pixels; values below 1 draw as 1.
  int Width() const { return width_; }
  void SetWidth(int value);

  void Assign(TPersistent* source) override;

  TNotifyEvent OnChange;

 private:
  void Changed() { OnChange(this); }

  TColor color_ = clBlack;
  TPenMode mode_ = pmCopy;
  TPenStyle style_ = psSolid;
  int width_ = 1;
};
