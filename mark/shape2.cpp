#include "mark/shape2.h"

#include "platform/rtl/ClassBuilder.h"

// The four properties have no default, so every save writes them.
DEFINE_CLASS(tshape2, TLabel) {
  c.Prop("kind", &tshape2::kind, &tshape2::Setkind);
  c.Prop("slset", &tshape2::slset, &tshape2::Setslset);
  c.Prop("pencolor", &tshape2::pencolor, &tshape2::Setpencolor).Type(ColorType());
  c.Prop("penwidth", &tshape2::penwidth, &tshape2::Setpenwidth);
}

namespace {
// Left- and right-justified text keeps this many pixels off the figure's side.
constexpr int kTextMargin = 10;
// The figure's inset from the control's edges, whatever the pen width.
constexpr int kFigureInset = 2;
}  // namespace

void tshape2::Create(TComponent* owner) {
  TLabel::Create(owner);
  SetAutoSize(false);
  Font()->SetSize(12);
  Font()->SetName("新細明體");
  SetAutoSize(false);
  SetLayout(tlCenter);
  SetCaption("");
  slset_ = {sltop, slbottom, slleft, slright};
  Setpencolor(clBlack);
  Setpenwidth(3);
}

void tshape2::Setkind(tkind v) {
  if (kind_ == v) return;
  kind_ = v;
  Invalidate();
}

void tshape2::Setslset(tslset v) {
  if (slset_ == v) return;
  slset_ = v;
  Invalidate();
}

void tshape2::Setpencolor(TColor v) {
  if (pencolor_ == v) return;
  pencolor_ = v;
  Invalidate();
}

void tshape2::Setpenwidth(int v) {
  if (penwidth_ == v) return;
  penwidth_ = v;
  Invalidate();
}

void tshape2::DoDrawText(TRect& rect, unsigned flags) { TLabel::DoDrawText(rect, flags); }

std::string tshape2::GetLabelText() { return TLabel::GetLabelText(); }

void tshape2::Paint() {
  static const unsigned kAlignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetColor(pencolor_);
  canvas->Pen()->SetWidth(penwidth_);
  if (!Transparent()) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect({0, 0, Width(), Height()});
  }
  canvas->Brush()->SetStyle(bsClear);

  // A link-field label always shows grey text. The colour is set before the text is drawn, so
  // that not even the first paint shows the old one; the font change repaints once more.
  if (kind_ == field && Font()->Color() != clGray) Font()->SetColor(clGray);

  unsigned style = DT_EXPANDTABS | (WordWrap() ? DT_WORDBREAK : 0) | kAlignments[Alignment()];
  TRect text = {0, 0, Width(), Height()};
  if (Layout() != tlTop) {
    // The text is measured across the whole width; the margin below only moves it.
    TRect calc = text;
    DoDrawText(calc, style | DT_CALCRECT);
    int dy = Height() - calc.Bottom;
    if (Layout() == tlCenter) dy /= 2;
    text.Top += dy;
    text.Bottom += dy;
  }
  if (Alignment() == taLeftJustify) text.Left += kTextMargin;
  else if (Alignment() == taRightJustify) text.Right -= kTextMargin;
  DoDrawText(text, style);

  canvas->Brush()->SetStyle(bsClear);
  DrawFigure({kFigureInset, kFigureInset, Width() - kFigureInset, Height() - kFigureInset});
}

// The figure's lines lie over the text; figures are never filled. A control smaller than twice
// the inset gets an inverted rectangle, drawn as it stands.
void tshape2::DrawFigure(const TRect& r) {
  TCanvas* canvas = Canvas();
  const int mx = (r.Left + r.Right) / 2;
  const int my = (r.Top + r.Bottom) / 2;
  auto line = [canvas](int x1, int y1, int x2, int y2) {
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
  };
  switch (kind_) {
    case square1:
      if (slset_.Contains(sltop)) line(r.Left, r.Top, r.Right, r.Top);
      if (slset_.Contains(slbottom)) line(r.Left, r.Bottom, r.Right, r.Bottom);
      if (slset_.Contains(slleft)) line(r.Left, r.Top, r.Left, r.Bottom);
      if (slset_.Contains(slright)) line(r.Right, r.Top, r.Right, r.Bottom);
      if (slset_.Contains(sllr)) line(r.Left, r.Top, r.Right, r.Bottom);
      if (slset_.Contains(slrl)) line(r.Right, r.Top, r.Left, r.Bottom);
      break;
    case square2:
      canvas->Polyline({{mx, r.Top}, {r.Right, my}, {mx, r.Bottom}, {r.Left, my}, {mx, r.Top}});
      break;
    case triangle1:
      canvas->Polyline({{mx, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}, {mx, r.Top}});
      break;
    case triangle2:
      canvas->Polyline({{r.Left, r.Top}, {r.Right, r.Top}, {mx, r.Bottom}, {r.Left, r.Top}});
      break;
    case eclipse:
      // The ellipse's box reaches the control's right and bottom edges, not the inset ones.
      canvas->Ellipse(r.Left, r.Top, Width(), Height());
      break;
    case lab:
    case field:
      break;
  }
}
