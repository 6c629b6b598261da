#include "platform/controls/Panel.h"

#include <algorithm>

#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TPanel, TCustomControl) {
  c.Prop("Align", &TPanel::Align, &TPanel::SetAlign).Default(alNone);
  c.Prop("Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
  c.Prop("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
  c.Prop("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
  c.Prop("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
  c.Prop("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
  c.Prop("Caption", &TPanel::Caption, &TPanel::SetCaption);
  c.Prop("Color", &TPanel::Color, &TPanel::SetColor)
      .Type(ColorType())
      .Default(clBtnFace)
      .Stored(&TPanel::IsColorStored);
  c.Prop("Enabled", &TPanel::Enabled, &TPanel::SetEnabled).Default(true);
  c.Prop("Font", &TPanel::Font, &TPanel::SetFont).Stored(&TPanel::IsFontStored);
  c.Prop("ParentColor", &TPanel::ParentColor, &TPanel::SetParentColor).Default(false);
  c.Prop("ParentFont", &TPanel::ParentFont, &TPanel::SetParentFont).Default(true);
  c.Prop("PopupMenu", &TPanel::PopupMenu, &TPanel::SetPopupMenu);
  c.Prop("Visible", &TPanel::Visible, &TPanel::SetVisible).Default(true);
  c.Event("OnClick", &TPanel::OnClick);
  c.Event("OnDblClick", &TPanel::OnDblClick);
  c.Event("OnMouseDown", &TPanel::OnMouseDown);
  c.Event("OnMouseMove", &TPanel::OnMouseMove);
  c.Event("OnMouseUp", &TPanel::OnMouseUp);
}

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  TBrush* brush = canvas->Brush();
  brush->SetStyle(bsSolid);
  for (; width > 0 && rect.Width() > 0 && rect.Height() > 0; --width) {
    const TRect& r = rect;
    // The top-left corner belongs to the light edges, the other three corners to the dark ones.
    brush->SetColor(topColor);
    canvas->FillRect({r.Left, r.Top, r.Right - 1, r.Top + 1});
    canvas->FillRect({r.Left, r.Top, r.Left + 1, r.Bottom - 1});
    brush->SetColor(bottomColor);
    canvas->FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
    canvas->FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
    rect = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  }
}

void TPanel::Create(TComponent* owner) {
  TCustomControl::Create(owner);
  controlStyle_.Include(csAcceptsControls);
  controlStyle_.Include(csOpaque);
  SetBounds(0, 0, 185, 41);
}

void TPanel::SetAlignment(TAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut v) {
  if (bevelInner_ == v) return;
  bevelInner_ = v;
  FrameChanged();
}

void TPanel::SetBevelOuter(TBevelCut v) {
  if (bevelOuter_ == v) return;
  bevelOuter_ = v;
  FrameChanged();
}

void TPanel::SetBevelWidth(int v) {
  v = std::max(v, 1);
  if (bevelWidth_ == v) return;
  bevelWidth_ = v;
  FrameChanged();
}

void TPanel::SetBorderWidth(int v) {
  v = std::max(v, 0);
  if (borderWidth_ == v) return;
  borderWidth_ = v;
  FrameChanged();
}

void TPanel::FrameChanged() {
  Realign();
  Invalidate();
}

int TPanel::FrameWidth() const {
  int width = borderWidth_;
  if (bevelOuter_ != bvNone) width += bevelWidth_;
  if (bevelInner_ != bvNone) width += bevelWidth_;
  return width;
}

void TPanel::AlignControls(TControl* control, TRect& rect) {
  int inset = FrameWidth();
  rect = {rect.Left + inset, rect.Top + inset, std::max(rect.Left + inset, rect.Right - inset),
          std::max(rect.Top + inset, rect.Bottom - inset)};
  TCustomControl::AlignControls(control, rect);
}

void TPanel::Paint() {
  TCanvas* canvas = Canvas();
  TRect rect = ClientRect();
  // A space bevel keeps its width in the panel's own colour.
  auto bevel = [&](TBevelCut cut) {
    switch (cut) {
      case bvNone: return;
      case bvLowered: Frame3D(canvas, rect, clBtnShadow, clBtnHighlight, bevelWidth_); return;
      case bvRaised: Frame3D(canvas, rect, clBtnHighlight, clBtnShadow, bevelWidth_); return;
      case bvSpace: Frame3D(canvas, rect, Color(), Color(), bevelWidth_); return;
    }
  };
  bevel(bevelOuter_);
  Frame3D(canvas, rect, Color(), Color(), borderWidth_);
  bevel(bevelInner_);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(rect);
  if (Caption().empty()) return;
  static const unsigned kAlignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  canvas->Brush()->SetStyle(bsClear);
  canvas->SetFont(Font());
  canvas->DrawText(Caption(), rect, DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER | kAlignments[alignment_]);
}
