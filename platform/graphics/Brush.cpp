#include "platform/graphics/Brush.h"

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TBrush, TPersistent) {
  c.Prop("Color", &TBrush::Color, &TBrush::SetColor).Type(ColorType()).Default(clWhite);
  c.Prop("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
}

void TBrush::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (style_ == value) return;
  style_ = value;
  Changed();
}

void TBrush::Assign(TPersistent* source) {
  if (auto* brush = dynamic_cast<TBrush*>(source)) {
    if (color_ == brush->color_ && style_ == brush->style_) return;
    color_ = brush->color_;
    style_ = brush->style_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}
