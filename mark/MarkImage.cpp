#include "mark/MarkImage.h"

#include <QPainter>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/DrawText.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/Tr.h"
#include "platform/stream/Filer.h"
#include "platform/win/DeviceContext.h"

namespace {

// What a picture element says of itself.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Picture)
};

}  // namespace

DEFINE_CLASS(TMarkImage, TGraphicControl) {
  c.Prop("picture", &TMarkImage::picture, &TMarkImage::Setpicture).Stored(false);
  c.Prop("stretch", &TMarkImage::stretch, &TMarkImage::Setstretch).Default(true);
  c.Prop("proportional", &TMarkImage::proportional, &TMarkImage::Setproportional).Default(true);
  c.Prop("PopupMenu", &TMarkImage::PopupMenu, &TMarkImage::SetPopupMenu);
  c.Prop("Visible", &TMarkImage::Visible, &TMarkImage::SetVisible).Default(true);
}

namespace {

std::string SizeText(size_t bytes) {
  return bytes >= 10240 ? std::to_string((bytes + 512) / 1024) + " KB" : Tr(Texts::tr("%1 bytes"), std::to_string(bytes));
}

}  // namespace

void TMarkImage::Create(TComponent* owner) {
  TGraphicControl::Create(owner);
  data_ = std::make_unique<TPictureData>("");
  SetBounds(Left(), Top(), 120, 80);
}

const std::string& TMarkImage::PictureBytes() const { return data_->Bytes(); }

void TMarkImage::SetPictureBytes(std::string bytes) {
  if (bytes.size() > kMaxPictureBytes)
    throw Exception(Tr(Texts::tr("The picture has %1, more than the 4 MiB allowed"), SizeText(bytes.size())));
  if (bytes == data_->Bytes()) return;
  data_ = std::make_unique<TPictureData>(std::move(bytes));
  Invalidate();
}

std::string TMarkImage::Problem() const { return HasPicture() ? data_->Problem() : std::string(); }

bool TMarkImage::IsRaster() const { return HasPicture() && !data_->IsSvg(); }

std::string TMarkImage::picture() const {
  if (!HasPicture()) return Tr(Texts::tr("(none)"));
  const std::string kind = data_->Kind().empty() ? "?" : data_->Kind();
  return kind + " " + SizeText(PictureBytes().size());
}

void TMarkImage::Setstretch(bool v) {
  if (stretch_ == v) return;
  stretch_ = v;
  Invalidate();
}

void TMarkImage::Setproportional(bool v) {
  if (proportional_ == v) return;
  proportional_ = v;
  Invalidate();
}

void TMarkImage::DefineProperties(TFiler* filer) {
  TGraphicControl::DefineProperties(filer);
  filer->DefineBinaryProperty(
      "PictureData",
      [this](TStream& stream) {
        std::string bytes(static_cast<size_t>(stream.Size() - stream.Position()), '\0');
        stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        SetPictureBytes(std::move(bytes));
      },
      [this](TStream& stream) { stream.WriteBuffer(PictureBytes().data(), static_cast<int64_t>(PictureBytes().size())); },
      HasPicture());
}

void TMarkImage::Paint() {
  TCanvas* canvas = Canvas();
  const QRectF box(0, 0, Width(), Height());
  if (!HasPicture() || !data_->Problem().empty()) {
    // A crossed box, and why, in grey: nothing to print, nothing hidden.
    canvas->Pen()->SetColor(HasPicture() ? clRed : clGray);
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(0, 0, Width(), Height());
    canvas->MoveTo(0, 0);
    canvas->LineTo(Width() - 1, Height() - 1);
    canvas->MoveTo(Width() - 1, 0);
    canvas->LineTo(0, Height() - 1);
    canvas->Font()->SetHeight(-12);
    canvas->Font()->SetColor(clBlack);
    TRect text{2, 2, Width() - 2, Height() - 2};
    canvas->DrawText(HasPicture() ? data_->Problem() : Tr(Texts::tr("Picture")), text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    return;
  }
  QPainter* painter = DCPainter(canvas->Handle());
  if (!painter) return;
  const QSizeF natural = data_->Size();
  QRectF target(QPointF(0, 0), natural);
  if (stretch_) {
    target = box;
    if (proportional_ && !natural.isEmpty()) {
      const QSizeF fitted = natural.scaled(box.size(), Qt::KeepAspectRatio);
      target = QRectF(QPointF((box.width() - fitted.width()) / 2, (box.height() - fitted.height()) / 2), fitted);
    }
  }
  painter->save();
  painter->setClipRect(box, Qt::IntersectClip);
  data_->Draw(*painter, target);
  painter->restore();
}
