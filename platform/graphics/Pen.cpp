#include "platform/graphics/Pen.h"

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TPen, TPersistent) {
  c.Prop("Color", &TPen::Color, &TPen::SetColor).Type(ColorType()).Default(clBlack);
  c.Prop("Mode", &TPen::Mode, &TPen::SetMode).Default(pmCopy);
  c.Prop("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
  c.Prop("Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

void TPen::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  Changed();
}

void TPen::SetMode(TPenMode value) {
  if (mode_ == value) return;
  mode_ = value;
  Changed();
}

void TPen::SetStyle(TPenStyle value) {
  if (style_ == value) return;
  style_ = value;
  Changed();
}

void TPen::SetWidth(int value) {
  if (width_ == value) return;
  width_ = value;
  Changed();
}

void TPen::Assign(TPersistent* source) {
  if (auto* pen = dynamic_cast<TPen*>(source)) {
    if (color_ == pen->color_ && mode_ == pen->mode_ && style_ == pen->style_ &&
        width_ == pen->width_)
      return;
    color_ = pen->color_;
    mode_ = pen->mode_;
    style_ = pen->style_;
    width_ = pen->width_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}
