#pragma once
// The shape label: a label that draws its caption and then one outline figure over it, inset
// from its edges. Shape labels stand on the design stage, serve as the palette's shape
// prototypes and as the preview of the shape settings dialog; a design stream records them
// under the class name "tshape2".

#include <string>

#include "platform/controls/Label.h"
#include "platform/rtl/Set.h"

// The figure: a rectangle whose sides and diagonals are chosen one by one (square1), a diamond
// (square2), a triangle with its apex at the top (triangle1) or at the bottom (triangle2), an
// ellipse (eclipse), or none: a plain label (lab) or a link-field label with grey text (field).
ENUMERATION(tkind, square1, square2, triangle1, triangle2, eclipse, lab, field)
// The lines of a square1 figure: its four sides and the diagonals from upper left to lower right
// (sllr) and from upper right to lower left (slrl).
ENUMERATION(tsline, sltop, slbottom, slleft, slright, sllr, slrl)
SET_OF(tslset, tsline)

class tshape2 : public TLabel {
  DECLARE_CLASS(tshape2)

 public:
  // A fixed-size 12-point Ming label with centred layout and no caption, showing a closed
  // rectangle in a black pen 3 pixels wide.
  void Create(TComponent* owner) override;

  // Setters store a new value and repaint; an equal value changes nothing.
  tkind kind() const { return kind_; }
  void Setkind(tkind v);
  // Only the square1 figure reads the line set.
  tslset slset() const { return slset_; }
  void Setslset(tslset v);
  TColor pencolor() const { return pencolor_; }
  void Setpencolor(TColor v);
  // The outline's width in pixels.
  int penwidth() const { return penwidth_; }
  void Setpenwidth(int v);

 protected:
  void Paint() override;
  void DoDrawText(TRect& rect, unsigned flags) override;
  std::string GetLabelText() override;

 private:
  void DrawFigure(const TRect& figure);

  tkind kind_ = square1;
  TColor pencolor_ = clBlack;
  int penwidth_ = 0;
  tslset slset_;
};
