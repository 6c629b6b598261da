#include "platform/controls/Label.h"

#include <QGuiApplication>
#include <QImage>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Placeholders.h"

DEFINE_CLASS(TCustomLabel, TGraphicControl) {}

DEFINE_CLASS(TLabel, TCustomLabel) {
  c.Prop("Align", &TLabel::Align, &TLabel::SetAlign).Default(alNone);
  c.Prop("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
  c.Prop("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
  c.Prop("Caption", &TLabel::Caption, &TLabel::SetCaption);
  c.Prop("Color", &TLabel::Color, &TLabel::SetColor)
      .Type(ColorType())
      .Default(clWindow)
      .Stored(&TLabel::IsColorStored);
  c.Prop("Enabled", &TLabel::Enabled, &TLabel::SetEnabled).Default(true);
  c.Prop("Font", &TLabel::Font, &TLabel::SetFont).Stored(&TLabel::IsFontStored);
  c.Prop("ParentColor", &TLabel::ParentColor, &TLabel::SetParentColor).Default(true);
  c.Prop("ParentFont", &TLabel::ParentFont, &TLabel::SetParentFont).Default(true);
  c.Prop("PopupMenu", &TLabel::PopupMenu, &TLabel::SetPopupMenu);
  c.Prop("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
  c.Prop("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false);
  c.Prop("Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
  c.Prop("Visible", &TLabel::Visible, &TLabel::SetVisible).Default(true);
  c.Prop("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
  c.Event("OnClick", &TLabel::OnClick);
  c.Event("OnDblClick", &TLabel::OnDblClick);
  c.Event("OnMouseDown", &TLabel::OnMouseDown);
  c.Event("OnMouseMove", &TLabel::OnMouseMove);
  c.Event("OnMouseUp", &TLabel::OnMouseUp);
}

namespace {

// Lends a canvas a device context to measure text with while it has none of its own (outside a
// paint), and takes it back afterwards.
class MeasuringHandle {
 public:
  explicit MeasuringHandle(TCanvas* canvas) : canvas_(canvas), saved_(canvas->HandleAllocated() ? canvas->Handle() : 0) {
    if (saved_) return;
    image_ = QImage(1, 1, QImage::Format_RGB32);
    dc_ = CreateDeviceDC(&image_);
    canvas_->SetHandle(dc_);
  }
  ~MeasuringHandle() {
    if (saved_) return;
    canvas_->SetHandle(0);
    DeleteDC(dc_);
  }
  MeasuringHandle(const MeasuringHandle&) = delete;
  MeasuringHandle& operator=(const MeasuringHandle&) = delete;

 private:
  TCanvas* canvas_;
  HDC saved_;
  QImage image_;
  HDC dc_ = 0;
};

}  // namespace

void TCustomLabel::Create(TComponent* owner) {
  TGraphicControl::Create(owner);
  controlStyle_.Include(csOpaque);
  controlStyle_.Include(csReplicatable);
  SetParentColor(true);
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool v) {
  if (autoSize_ == v) return;
  autoSize_ = v;
  AdjustBounds();
}

void TCustomLabel::SetShowAccelChar(bool v) {
  if (showAccelChar_ == v) return;
  showAccelChar_ = v;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool v) {
  if (Transparent() == v) return;
  if (v) controlStyle_.Exclude(csOpaque);
  else controlStyle_.Include(csOpaque);
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout v) {
  if (layout_ == v) return;
  layout_ = v;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool v) {
  if (wordWrap_ == v) return;
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::Dispatch(TMessage& message) {
  TGraphicControl::Dispatch(message);
  if (message.Msg == CM_TEXTCHANGED || message.Msg == CM_FONTCHANGED) AdjustBounds();
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

const TLabelRow* RowShownFor(const TControl* control) {
  for (const TWinControl* parent = control->Parent(); parent; parent = parent->Parent()) {
    if (const auto* row = dynamic_cast<const TLabelRow*>(parent)) {
      int position = 0, count = 0;
      return row->LabelRowNumbers(position, count) ? row : nullptr;
    }
  }
  return nullptr;
}

std::string WithRowValues(const std::string& text, const TLabelRow& row) {
  int position = 0, count = 0;
  if (!row.LabelRowNumbers(position, count)) return text;
  return ExpandPlaceholders(text, [&](const std::string& name) -> std::optional<std::string> {
    if (name == "n") return std::to_string(position);
    if (name == "N") return std::to_string(count);
    return row.LabelFieldValue(name);
  });
}

std::string TCustomLabel::GetLabelText() {
  const std::string& caption = Caption();
  if (caption.find_first_of("{}") == std::string::npos) return caption;
  const TLabelRow* row = RowShownFor(this);
  return row ? WithRowValues(caption, *row) : caption;
}

void TCustomLabel::DoDrawText(TRect& rect, unsigned flags) {
  std::string text = GetLabelText();
  // An empty label still measures one line high, and so does a lone accelerator mark.
  if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  if ((flags & DT_CALCRECT) || Enabled()) {
    canvas->DrawText(text, rect, flags);
    return;
  }
  TRect raised = {rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1};
  canvas->Font()->SetColor(clBtnHighlight);
  canvas->DrawText(text, raised, flags);
  canvas->Font()->SetColor(clBtnShadow);
  canvas->DrawText(text, rect, flags);
}

void TCustomLabel::Paint() {
  static const unsigned kAlignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  TCanvas* canvas = Canvas();
  if (!Transparent()) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
  }
  canvas->Brush()->SetStyle(bsClear);
  TRect rect = ClientRect();
  unsigned style = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | kAlignments[alignment_];
  if (layout_ != tlTop) {
    TRect calc = rect;
    DoDrawText(calc, style | DT_CALCRECT);
    int dy = Height() - calc.Bottom;
    if (layout_ == tlCenter) dy /= 2;
    rect.Top += dy;
    rect.Bottom += dy;
  }
  DoDrawText(rect, style);
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || ComponentState().Contains(csReading) || ComponentState().Contains(csLoading)) return;
  // Text can only be measured with the fonts of a GUI.
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  TRect rect = ClientRect();
  {
    MeasuringHandle measuring(Canvas());
    DoDrawText(rect, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0));
  }
  int left = Left();
  if (alignment_ == taRightJustify) left += Width() - rect.Right;
  SetBounds(left, Top(), rect.Right, rect.Bottom);
}
