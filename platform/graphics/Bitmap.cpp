#include "platform/graphics/Bitmap.h"

#include <QBuffer>
#include <QByteArray>
#include <QPainter>

#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"

// A bitmap publishes nothing: a stream holds its image as the "Data" property alone.
DEFINE_CLASS(TBitmap, TGraphic) {}

// The canvas of a bitmap makes its device context on the bitmap's image when first asked.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}

 protected:
  void CreateHandle() override { bitmap_.CreateCanvasHandle(); }

 private:
  TBitmap& bitmap_;
};

namespace {

QImage Normalized(const QImage& image) {
  if (image.isNull()) return QImage();
  // Alpha stays unpremultiplied, so that an image read and written again keeps its bytes.
  QImage::Format format = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  return image.format() == format ? image : image.convertToFormat(format);
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() { ReleaseCanvasHandle(); }

TCanvas* TBitmap::Canvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TBitmapCanvas>(*this);
    canvas_->OnChange.Bind([this](TObject*) { Changed(); });
  }
  return canvas_.get();
}

void TBitmap::CreateCanvasHandle() {
  if (dc_ || image_.isNull()) return;
  dc_ = CreateDeviceDC(&image_);
  canvas_->SetHandle(dc_);
}

void TBitmap::ReleaseCanvasHandle() {
  if (!dc_) return;
  if (canvas_) canvas_->SetHandle(0);
  DeleteDC(dc_);
  dc_ = 0;
}

void TBitmap::Changed() {
  masked_ = QImage();
  TGraphic::Changed();
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == Width() && height == Height()) return;
  ReleaseCanvasHandle();
  if (width == 0 || height == 0) {
    image_ = QImage();
  } else {
    QImage resized(width, height, image_.isNull() ? QImage::Format_RGB32 : image_.format());
    resized.fill(Qt::white);
    if (!image_.isNull()) {
      QPainter painter(&resized);
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      painter.drawImage(0, 0, image_);
    }
    image_ = resized;
  }
  Changed();
}

TColor TBitmap::TransparentColor() {
  if (transparentColor_ != clDefault) return transparentColor_;
  const QImage& image = Image();
  if (image.isNull()) return clDefault;
  return QColorToColor(image.pixelColor(0, image.height() - 1));
}

void TBitmap::SetTransparentColor(TColor value) {
  if (transparentColor_ == value) return;
  transparentColor_ = value;
  Changed();
}

const QImage& TBitmap::Image() {
  ReleaseCanvasHandle();
  return image_;
}

void TBitmap::SetImage(const QImage& image) {
  ReleaseCanvasHandle();
  image_ = Normalized(image);
  Changed();
}

void TBitmap::LoadFromStream(TStream& stream) {
  int64_t size = stream.Size() - stream.Position();
  QByteArray bytes(static_cast<qsizetype>(std::max<int64_t>(size, 0)), '\0');
  if (size > 0) stream.ReadBuffer(bytes.data(), size);
  QImage image;
  if (!bytes.isEmpty() && !image.loadFromData(bytes)) throw EInvalidGraphic("Bitmap image is not valid");
  SetImage(image);
}

void TBitmap::SaveToStream(TStream& stream) {
  const QImage& image = Image();
  if (image.isNull()) return;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  stream.WriteBuffer(bytes.constData(), bytes.size());
}

void TBitmap::SaveToFile(const std::string& fileName) {
  const QImage& image = Image();
  if (image.isNull()) {
    TGraphic::SaveToFile(fileName);
    return;
  }
  QString name = QString::fromStdString(fileName);
  if (!image.save(name) && !image.save(name, "PNG"))
    throw EStreamError("Cannot create file \"" + fileName + "\"");
}

void TBitmap::Assign(TPersistent* source) {
  if (!source) {
    SetSize(0, 0);
    return;
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
    if (bitmap == this) return;
    ReleaseCanvasHandle();
    image_ = bitmap->Image();
    transparent_ = bitmap->transparent_;
    transparentColor_ = bitmap->transparentColor_;
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

const QImage& TBitmap::MaskedImage() {
  if (masked_.isNull()) {
    masked_ = image_.convertToFormat(QImage::Format_ARGB32);
    QRgb key = ColorToQColor(TransparentColor()).rgb();
    for (int y = 0; y < masked_.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(masked_.scanLine(y));
      for (int x = 0; x < masked_.width(); ++x)
        if ((line[x] | 0xFF000000u) == key) line[x] = 0;
    }
  }
  return masked_;
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
  // A copy shares the pixels; should the canvas be this bitmap's own, painting detaches it.
  ReleaseCanvasHandle();
  QImage source = Transparent() ? MaskedImage() : image_;
  QPainter& painter = PainterOf(canvas);
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.drawImage(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), source);
  painter.restore();
}
