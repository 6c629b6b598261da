#include "platform/controls/Buttons.h"

#include <QApplication>
#include <QIcon>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

#include "platform/controls/Form.h"
#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TBitBtn, TNativeControl) {
  // The kind first: reading it gives the caption, result and key roles that the others then adjust.
  c.Prop("Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
  c.Prop("Cancel", &TBitBtn::Cancel, &TBitBtn::SetCancel).Stored(&TBitBtn::IsCancelStored);
  c.Prop("Caption", &TBitBtn::Caption, &TBitBtn::SetCaption).Stored(&TBitBtn::IsCaptionStored);
  c.Prop("Default", &TBitBtn::Default, &TBitBtn::SetDefault).Stored(&TBitBtn::IsDefaultStored);
  c.Prop("Enabled", &TBitBtn::Enabled, &TBitBtn::SetEnabled).Default(true);
  c.Prop("Font", &TBitBtn::Font, &TBitBtn::SetFont).Stored(&TBitBtn::IsFontStored);
  c.Prop("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
  c.Prop("HelpContext", &TBitBtn::HelpContext, &TBitBtn::SetHelpContext).Default(0);
  c.Prop("ModalResult", &TBitBtn::ModalResult, &TBitBtn::SetModalResult).Stored(&TBitBtn::IsModalResultStored);
  c.Prop("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs).Default(1);
  c.Prop("ParentFont", &TBitBtn::ParentFont, &TBitBtn::SetParentFont).Default(true);
  c.Prop("PopupMenu", &TBitBtn::PopupMenu, &TBitBtn::SetPopupMenu);
  c.Prop("Visible", &TBitBtn::Visible, &TBitBtn::SetVisible).Default(true);
  c.Event("OnClick", &TBitBtn::OnClick);
  c.Event("OnEnter", &TBitBtn::OnEnter);
  c.Event("OnExit", &TBitBtn::OnExit);
  c.Event("OnKeyDown", &TBitBtn::OnKeyDown);
  c.Event("OnKeyPress", &TBitBtn::OnKeyPress);
  c.Event("OnKeyUp", &TBitBtn::OnKeyUp);
  c.Event("OnMouseDown", &TBitBtn::OnMouseDown);
  c.Event("OnMouseMove", &TBitBtn::OnMouseMove);
  c.Event("OnMouseUp", &TBitBtn::OnMouseUp);
}

namespace {

struct KindInfo {
  const char* caption;
  int modalResult;
  QStyle::StandardPixmap icon;
};

const KindInfo& InfoOf(TBitBtnKind kind) {
  static const KindInfo kinds[] = {
      {"", mrNone, QStyle::SP_CustomBase},
      {"OK", mrOk, QStyle::SP_DialogOkButton},
      {"Cancel", mrCancel, QStyle::SP_DialogCancelButton},
      {"&Help", mrNone, QStyle::SP_DialogHelpButton},
      {"&Yes", mrYes, QStyle::SP_DialogYesButton},
      {"&No", mrNo, QStyle::SP_DialogNoButton},
      {"&Close", mrNone, QStyle::SP_DialogCloseButton},
      {"Abort", mrAbort, QStyle::SP_DialogAbortButton},
      {"&Retry", mrRetry, QStyle::SP_DialogRetryButton},
      {"&Ignore", mrIgnore, QStyle::SP_DialogIgnoreButton},
      {"&All", mrAll, QStyle::SP_DialogYesToAllButton},
  };
  return kinds[kind];
}

bool DefaultOf(TBitBtnKind kind) { return kind == bkOK || kind == bkYes; }
bool CancelOf(TBitBtnKind kind) { return kind == bkCancel || kind == bkNo; }

// The images of a glyph strip, the transparent colour left out.
QPixmap GlyphImage(TBitmap& glyph, int numGlyphs, int index) {
  QImage image = glyph.Image().convertToFormat(QImage::Format_ARGB32);
  int width = image.width() / numGlyphs;
  image = image.copy(width * index, 0, width, image.height());
  if (!glyph.Image().hasAlphaChannel()) {
    QRgb key = ColorToQColor(glyph.TransparentColor()).rgb() | 0xFF000000u;
    for (int y = 0; y < image.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if ((line[x] | 0xFF000000u) == key) line[x] = 0;
    }
  }
  return QPixmap::fromImage(image);
}

}  // namespace

std::string BitBtnCaption(TBitBtnKind kind) { return InfoOf(kind).caption; }
int BitBtnModalResult(TBitBtnKind kind) { return InfoOf(kind).modalResult; }

void TBitBtn::Create(TComponent* owner) {
  TNativeControl::Create(owner);
  color_ = clBtnFace;
  glyph_ = New<TBitmap>();
  glyph_->OnChange.Bind([this](TObject*) { PushIcon(); });
  SetBounds(0, 0, 75, 25);
}

void TBitBtn::Destroy() {
  DestroyHandle();
  FreeAndNil(glyph_);
  TNativeControl::Destroy();
}

QWidget* TBitBtn::CreateWidget() {
  button_ = new QPushButton();
  QObject::connect(button_, &QPushButton::clicked, button_, [this] { FromWidget([this] { Click(); }); });
  return button_;
}

void TBitBtn::CreateWnd() {
  TNativeControl::CreateWnd();
  button_->setText(QString::fromStdString(Caption()));
  button_->setDefault(default_);
  PushIcon();
}

void TBitBtn::DestroyWnd() {
  button_ = nullptr;
  TNativeControl::DestroyWnd();
}

void TBitBtn::SetKind(TBitBtnKind v) {
  if (kind_ == v) return;
  kind_ = v;
  if (v != bkCustom) {
    // A layout may give the caption before the kind; that caption stays.
    bool loading = ComponentState().Contains(csLoading);
    if (!loading || Caption().empty()) SetCaption(InfoOf(v).caption);
    if (!loading || modalResult_ == mrNone) modalResult_ = InfoOf(v).modalResult;
    SetDefault(DefaultOf(v));
    cancel_ = CancelOf(v);
  }
  PushIcon();
}

void TBitBtn::SetDefault(bool v) {
  if (default_ == v) return;
  default_ = v;
  if (button_) button_->setDefault(v);
}

void TBitBtn::SetNumGlyphs(int v) {
  v = std::clamp(v, 1, 4);
  if (numGlyphs_ == v) return;
  numGlyphs_ = v;
  PushIcon();
}

bool TBitBtn::IsCaptionStored() const { return Caption() != InfoOf(kind_).caption; }
bool TBitBtn::IsModalResultStored() const { return modalResult_ != InfoOf(kind_).modalResult; }
bool TBitBtn::IsDefaultStored() const { return default_ != DefaultOf(kind_); }
bool TBitBtn::IsCancelStored() const { return cancel_ != CancelOf(kind_); }

void TBitBtn::PushIcon() {
  if (!button_) return;
  QIcon icon;
  if (!glyph_->Empty()) {
    QPixmap normal = GlyphImage(*glyph_, numGlyphs_, 0);
    icon.addPixmap(normal, QIcon::Normal);
    if (numGlyphs_ > 1) icon.addPixmap(GlyphImage(*glyph_, numGlyphs_, 1), QIcon::Disabled);
    button_->setIconSize(normal.size());
  } else if (kind_ != bkCustom) {
    icon = button_->style()->standardIcon(InfoOf(kind_).icon, nullptr, button_);
    int size = button_->style()->pixelMetric(QStyle::PM_ButtonIconSize, nullptr, button_);
    button_->setIconSize(QSize(size, size));
  }
  button_->setIcon(icon);
}

void TBitBtn::Click() {
  // The form takes the result before the handler runs, so that a handler can still take it back
  // (a check that fails sets the form's ModalResult to mrNone again).
  TCustomForm* form = GetParentForm(this);
  if (form && modalResult_ != mrNone) form->SetModalResult(modalResult_);
  if (form && kind_ == bkClose) form->Close();
  TNativeControl::Click();
}

void TBitBtn::Dispatch(TMessage& message) {
  TNativeControl::Dispatch(message);
  if (message.Msg == CM_TEXTCHANGED && button_) button_->setText(QString::fromStdString(Caption()));
}

bool PressDialogButton(TWinControl* container, uint16_t key) {
  if (key != VK_RETURN && key != VK_ESCAPE) return false;
  for (int i = 0; i < container->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(container->Controls(i));
    if (!child || !child->Visible() || !child->Enabled()) continue;
    if (auto* button = dynamic_cast<TBitBtn*>(child)) {
      if (key == VK_RETURN ? button->Default() : button->Cancel()) {
        button->Click();
        return true;
      }
    } else if (PressDialogButton(child, key)) {
      return true;
    }
  }
  return false;
}
