#include "platform/controls/SpeedButton.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/graphics/Colors.h"
#include "platform/graphics/Glyphs.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/win/Geometry.h"

DEFINE_CLASS(TSpeedButton, TGraphicControl) {
  c.Prop("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
  c.Prop("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
  c.Prop("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false);
  c.Prop("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption);
  c.Prop("Enabled", &TSpeedButton::Enabled, &TSpeedButton::SetEnabled).Default(true);
  c.Prop("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
  c.Prop("Font", &TSpeedButton::Font, &TSpeedButton::SetFont).Stored(&TSpeedButton::IsFontStored);
  c.Prop("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
  c.Prop("GlyphName", &TSpeedButton::GlyphName, &TSpeedButton::SetGlyphName);
  c.Prop("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
  c.Prop("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1);
  c.Prop("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
  c.Prop("ParentFont", &TSpeedButton::ParentFont, &TSpeedButton::SetParentFont).Default(true);
  c.Prop("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4);
  c.Prop("Visible", &TSpeedButton::Visible, &TSpeedButton::SetVisible).Default(true);
  c.Event("OnClick", &TSpeedButton::OnClick);
  c.Event("OnDblClick", &TSpeedButton::OnDblClick);
  c.Event("OnMouseDown", &TSpeedButton::OnMouseDown);
  c.Event("OnMouseMove", &TSpeedButton::OnMouseMove);
  c.Event("OnMouseUp", &TSpeedButton::OnMouseUp);
}

TButtonPlacement CalcButtonLayout(const TRect& client, TSize glyph, TSize text, TButtonLayout layout,
                                  int margin, int spacing) {
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  // Along the layout's axis the sizes add up; across it each is centred on its own.
  const int room = horizontal ? client.Width() : client.Height();
  const int glyphLength = horizontal ? glyph.cx : glyph.cy;
  const int textLength = horizontal ? text.cx : text.cy;
  TPoint glyphPos, textPos;
  if (horizontal) {
    glyphPos.Y = (client.Height() - glyph.cy + 1) / 2;
    textPos.Y = (client.Height() - text.cy + 1) / 2;
  } else {
    glyphPos.X = (client.Width() - glyph.cx + 1) / 2;
    textPos.X = (client.Width() - text.cx + 1) / 2;
  }
  // Without a caption or without a glyph there is nothing to keep apart.
  if (text.cx == 0 || glyph.cx == 0) spacing = 0;
  if (margin == -1 && spacing == -1) {
    margin = (room - glyphLength - textLength) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (room - glyphLength - spacing - textLength + 1) / 2;
  } else if (spacing == -1) {
    spacing = (room - margin - glyphLength - textLength) / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      glyphPos.X = margin;
      textPos.X = glyphPos.X + glyph.cx + spacing;
      break;
    case blGlyphRight:
      glyphPos.X = client.Width() - margin - glyph.cx;
      textPos.X = glyphPos.X - spacing - text.cx;
      break;
    case blGlyphTop:
      glyphPos.Y = margin;
      textPos.Y = glyphPos.Y + glyph.cy + spacing;
      break;
    case blGlyphBottom:
      glyphPos.Y = client.Height() - margin - glyph.cy;
      textPos.Y = glyphPos.Y - spacing - text.cy;
      break;
  }
  TButtonPlacement placement;
  placement.GlyphPos = {client.Left + glyphPos.X, client.Top + glyphPos.Y};
  placement.TextBounds = Bounds(client.Left + textPos.X, client.Top + textPos.Y, text.cx, text.cy);
  return placement;
}

void TSpeedButton::Create(TComponent* owner) {
  TGraphicControl::Create(owner);
  // Clicks are the button's own business: they depend on the group, see MouseUp.
  controlStyle_ = {csCaptureMouse, csDoubleClicks};
  color_ = clBtnFace;
  glyph_ = New<TBitmap>();
  glyph_->OnChange.Bind([this](TObject*) { GlyphChanged(); });
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::Destroy() {
  FreeAndNil(glyph_);
  TGraphicControl::Destroy();
}

// ---- properties ----

void TSpeedButton::SetAllowAllUp(bool v) {
  if (allowAllUp_ == v) return;
  allowAllUp_ = v;
  UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int v) {
  if (groupIndex_ == v) return;
  groupIndex_ = v;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool v) {
  if (groupIndex_ == 0) v = false;
  if (down_ == v) return;
  if (down_ && !allowAllUp_) return;
  down_ = v;
  state_ = v ? bsExclusive : bsUp;
  Invalidate();
  if (v) UpdateExclusive();
}

void TSpeedButton::SetFlat(bool v) {
  if (flat_ == v) return;
  flat_ = v;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout v) {
  if (layout_ == v) return;
  layout_ = v;
  Invalidate();
}

void TSpeedButton::SetMargin(int v) {
  v = std::max(v, -1);
  if (margin_ == v) return;
  margin_ = v;
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int v) {
  v = std::clamp(v, 1, 4);
  if (numGlyphs_ == v) return;
  numGlyphs_ = v;
  Invalidate();
}

void TSpeedButton::SetSpacing(int v) {
  v = std::max(v, -1);
  if (spacing_ == v) return;
  spacing_ = v;
  Invalidate();
}

void TSpeedButton::SetGlyphName(const std::string& v) {
  if (glyphName_ == v) return;
  glyphName_ = v;
  Invalidate();
}

bool TSpeedButton::HasGlyph() const { return !glyph_->Empty() || GlyphExists(glyphName_); }

void TSpeedButton::GlyphChanged() {
  maskedGlyph_ = QImage();
  // A strip of square images holds as many images as it is heights wide.
  int width = glyph_->Width(), height = glyph_->Height();
  if (height > 0 && width % height == 0) {
    int count = width / height;
    SetNumGlyphs(count > 4 ? 1 : count);
  }
  Invalidate();
}

// ---- groups ----

void TSpeedButton::UpdateExclusive() {
  if (groupIndex_ == 0 || !Parent()) return;
  std::vector<TControl*> siblings;
  for (int i = 0; i < Parent()->ControlCount(); ++i) siblings.push_back(Parent()->Controls(i));
  for (TControl* sibling : siblings)
    sibling->Perform(CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this));
}

void TSpeedButton::ButtonPressed(TMessage& message) {
  if (static_cast<int>(message.WParam) != groupIndex_) return;
  auto* sender = dynamic_cast<TSpeedButton*>(reinterpret_cast<TObject*>(message.LParam));
  if (!sender || sender == this) return;
  if (sender->Down() && down_) {
    down_ = false;
    state_ = bsUp;
    Invalidate();
  }
  allowAllUp_ = sender->AllowAllUp();
}

// ---- mouse ----

bool TSpeedButton::ContainsPoint(int x, int y) const { return PtInRect(ClientRect(), {x, y}); }

void TSpeedButton::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CM_BUTTONPRESSED:
      ButtonPressed(message);
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      mouseInControl_ = message.Msg == CM_MOUSEENTER;
      if (flat_ && Enabled()) Invalidate();
      return;
    case CM_ENABLEDCHANGED:
      // A press in progress ends when the button is disabled.
      if (!Enabled() && dragging_) {
        dragging_ = false;
        state_ = down_ ? bsExclusive : bsUp;
      }
      break;
    case WM_LBUTTONDBLCLK:
      // The second press of a double click presses the button again; a button that stays down
      // also reports the double click.
      TGraphicControl::Dispatch(message);
      if (down_) DblClick();
      return;
    default:
      break;
  }
  TGraphicControl::Dispatch(message);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  if (!down_) {
    state_ = bsDown;
    Invalidate();
  }
  dragging_ = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_) return;
  // Pressed while the mouse is over it; as it was while the mouse is elsewhere.
  TButtonState now = down_ ? bsExclusive : bsUp;
  if (ContainsPoint(x, y)) now = down_ ? bsExclusive : bsDown;
  if (now == state_) return;
  state_ = now;
  Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || !dragging_) return;
  dragging_ = false;
  const bool click = ContainsPoint(x, y);
  if (groupIndex_ == 0 || !click) {
    state_ = down_ ? bsExclusive : bsUp;
    Invalidate();
  } else {
    SetDown(!down_);
  }
  // The handler may free the button: nothing may follow it.
  if (click) Click();
}

// ---- painting ----

QImage TSpeedButton::GlyphImage(TButtonState state, qreal ratio) {
  if (GlyphExists(glyphName_)) return state == bsDisabled ? QImage() : ::GlyphImage(glyphName_, ratio);
  if (glyph_->Empty()) return QImage();
  if (maskedGlyph_.isNull()) {
    maskedGlyph_ = glyph_->Image().convertToFormat(QImage::Format_ARGB32);
    // An image without an alpha channel leaves out its transparent colour.
    if (!glyph_->Image().hasAlphaChannel()) {
      QRgb key = ColorToQColor(glyph_->TransparentColor()).rgb();
      for (int y = 0; y < maskedGlyph_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(maskedGlyph_.scanLine(y));
        for (int x = 0; x < maskedGlyph_.width(); ++x)
          if ((line[x] | 0xFF000000u) == key) line[x] = 0;
      }
    }
  }
  // The down image stands in for a missing exclusive one, the up image for a missing down one.
  if (state == bsExclusive && numGlyphs_ < 4) state = bsDown;
  if (state == bsDown && numGlyphs_ < 3) state = bsUp;
  if (state == bsDisabled && numGlyphs_ < 2) return QImage();  // made by the style from the up image
  int width = maskedGlyph_.width() / numGlyphs_;
  return maskedGlyph_.copy(static_cast<int>(state) * width, 0, width, maskedGlyph_.height());
}

void TSpeedButton::Paint() {
  const TButtonState state = State();
  TCanvas* canvas = Canvas();
  HDC dc = canvas->Handle();
  QPainter* painter = DCPainter(dc);
  if (!painter) return;
  QWidget* host = WindowWidget(WindowFromDC(dc));
  QStyle* style = host ? host->style() : QApplication::style();

  const bool sunken = state == bsDown || state == bsExclusive;
  const bool hot = mouseInControl_ && Enabled();
  QStyleOptionButton option;
  option.palette = host ? host->palette() : QApplication::palette();
  option.rect = QRect(0, 0, Width(), Height());
  option.state = sunken ? QStyle::State_Sunken : QStyle::State_Raised;
  if (Enabled()) option.state |= QStyle::State_Enabled;
  if (state == bsExclusive) option.state |= QStyle::State_On;
  if (hot) option.state |= QStyle::State_MouseOver;
  if (flat_) option.state |= QStyle::State_AutoRaise;
  if (!flat_ || sunken || hot) {
    painter->save();
    style->drawPrimitive(flat_ ? QStyle::PE_PanelButtonTool : QStyle::PE_PanelButtonCommand, &option, painter, nullptr);
    painter->restore();
    DCDrawn(dc, ClientRect());
  }

  TRect client = {1, 1, Width() - 1, Height() - 1};
  if (sunken) {
    int dx = style->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, nullptr);
    int dy = style->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, nullptr);
    client = {client.Left + dx, client.Top + dy, client.Right + dx, client.Bottom + dy};
  }
  const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
  QImage image = GlyphImage(state, ratio);
  if (state == bsDisabled && image.isNull() && HasGlyph()) {
    QPixmap up = QPixmap::fromImage(GlyphImage(bsUp, ratio));
    image = style->generatedIconPixmap(QIcon::Disabled, up, &option).toImage();
    image.setDevicePixelRatio(up.devicePixelRatio());
  }
  // In logical pixels: a named glyph's image has the device's pixels.
  const QSizeF logical = image.deviceIndependentSize();
  TSize glyphSize = image.isNull() ? TSize{} : TSize{qRound(logical.width()), qRound(logical.height())};
  canvas->SetFont(Font());
  canvas->Brush()->SetStyle(bsClear);
  TSize textSize;
  if (!Caption().empty()) {
    TRect measured = {0, 0, client.Width(), 0};
    canvas->DrawText(Caption(), measured, DT_CALCRECT);
    textSize = {measured.Width(), measured.Height()};
  }
  TButtonPlacement placement = CalcButtonLayout(client, glyphSize, textSize, layout_, margin_, spacing_);
  if (!image.isNull()) {
    painter->drawImage(QPoint(placement.GlyphPos.X, placement.GlyphPos.Y), image);
    DCDrawn(dc, Bounds(placement.GlyphPos.X, placement.GlyphPos.Y, glyphSize.cx, glyphSize.cy));
  }
  if (textSize.cx > 0) {
    if (!Enabled()) canvas->Font()->SetColor(clGrayText);
    canvas->DrawText(Caption(), placement.TextBounds, DT_CENTER);
  }
}
