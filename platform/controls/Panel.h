#pragma once
// TPanel: a windowed container with a caption and raised or lowered 3D bevels. Aligned children
// are laid out inside the bevels and the border.

#include "platform/controls/GraphicControl.h"

ENUMERATION(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)

// Draws `width` rings just inside `rect`, each with its top and left edges in `topColor` and its
// bottom and right edges in `bottomColor`, and shrinks `rect` to what lies inside them.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

class TPanel : public TCustomControl {
  DECLARE_CLASS(TPanel)

 public:
  void Create(TComponent* owner) override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  // Pixels per bevel.
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v);
  // Pixels between the outer and the inner bevel, in the panel's colour.
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);

  // Stored conditions of the inherited colour and font.
  bool IsColorStored() const { return !ParentColor(); }
  bool IsFontStored() const { return !ParentFont(); }

 protected:
  void Paint() override;
  // Aligned children fill what the bevels and the border leave.
  void AlignControls(TControl* control, TRect& rect) override;

 private:
  // How far the bevels and the border reach in from each edge.
  int FrameWidth() const;
  // Bevels and border change the area the children are aligned in.
  void FrameChanged();

  TAlignment alignment_ = taCenter;
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
};
