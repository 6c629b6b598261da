#pragma once
// The line element: a straight line across its box, horizontal or vertical through the middle or
// along either diagonal, in a pen of its own colour and width, with an arrowhead at either end if
// wanted ("THIS SIDE UP" arrows). Only the line takes the mouse: a press farther than
// kLineHitSlack pixels from its pen goes to what lies beneath, so a thin line over a text never
// hides the text. Selected, moved, resized and banded by its box, as every element is.

#include "platform/controls/GraphicControl.h"
#include "platform/graphics/Colors.h"

ENUMERATION(TLineDirection, ldHorizontal, ldVertical, ldDown, ldUp)

// How far from a line's pen a press still takes it.
inline constexpr int kLineHitSlack = 3;

class TMarkLine : public TGraphicControl {
  DECLARE_CLASS(TMarkLine)

 public:
  // A horizontal black line 3 pixels wide in a box of 120 x 16, without arrowheads.
  void Create(TComponent* owner) override;

  // ldDown runs from the upper left to the lower right corner, ldUp from the lower left to the
  // upper right.
  TLineDirection direction() const { return direction_; }
  void Setdirection(TLineDirection v);
  TColor linecolor() const { return linecolor_; }
  void Setlinecolor(TColor v);
  // In pixels, 1 to 100.
  int linewidth() const { return linewidth_; }
  void Setlinewidth(int v);
  // An arrowhead at the start (the left end, or the top of a vertical line) and at the end.
  bool arrowstart() const { return arrowStart_; }
  void Setarrowstart(bool v);
  bool arrowend() const { return arrowEnd_; }
  void Setarrowend(bool v);

  // Whether the client point `p` lies on the line, its pen and the slack included.
  bool Hits(TPoint p) const;

  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;

 private:
  // The line's two ends in client coordinates: the start, then the end.
  void Ends(double& x0, double& y0, double& x1, double& y1) const;
  void Changed();

  TLineDirection direction_ = ldHorizontal;
  TColor linecolor_ = clBlack;
  int linewidth_ = 3;
  bool arrowStart_ = false;
  bool arrowEnd_ = false;
};
