#include "platform/controls/ImgList.h"

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

#include "platform/graphics/Colors.h"
#include "platform/graphics/Glyphs.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/stream/Filer.h"

DEFINE_CLASS(TImageList, TComponent) {
  c.Prop("Height", &TImageList::Height, &TImageList::SetHeight).Default(16);
  c.Prop("Width", &TImageList::Width, &TImageList::SetWidth).Default(16);
  c.Prop("Glyphs", &TImageList::Glyphs, &TImageList::SetGlyphs);
  c.Event("OnChange", &TImageList::OnChange);
}

void TImageList::SetWidth(int v) {
  v = std::max(v, 1);
  if (width_ == v) return;
  width_ = v;
  Clear();
}

void TImageList::SetHeight(int v) {
  v = std::max(v, 1);
  if (height_ == v) return;
  height_ = v;
  Clear();
}

void TImageList::Changed() {
  // A client may unregister while it is told.
  auto links = links_;
  for (auto& [client, changed] : links)
    if (std::any_of(links_.begin(), links_.end(), [c = client](const auto& l) { return l.first == c; })) changed();
  OnChange(this);
}

int TImageList::AddImage(const QImage& strip) {
  if (strip.isNull() || strip.width() <= 0) return -1;
  const int first = Count();
  // A last image narrower than Width is kept, filled up with transparency.
  for (int x = 0; x < strip.width(); x += width_) {
    QImage image(width_, height_, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), strip, QRect(x, 0, width_, height_));
    painter.end();
    images_.push_back(image);
    glyphs_.emplace_back();
  }
  Changed();
  return first;
}

int TImageList::AddGlyph(const std::string& name) {
  if (!GlyphExists(name)) return -1;
  QImage image(width_, height_, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.drawImage(QRect(0, 0, width_, height_), GlyphImage(name, 1.0));
  painter.end();
  images_.push_back(image);
  glyphs_.push_back(name);
  Changed();
  return Count() - 1;
}

std::string TImageList::Glyphs() const {
  std::string names;
  for (const std::string& name : glyphs_) {
    if (name.empty()) return std::string();  // a list of pictures, streamed as its bitmap
    names += (names.empty() ? "" : ",") + name;
  }
  return names;
}

void TImageList::SetGlyphs(const std::string& names) {
  images_.clear();
  glyphs_.clear();
  for (const QString& name : QString::fromStdString(names).split(',', Qt::SkipEmptyParts)) {
    // An unknown name keeps its place, empty, so that the indexes after it stay right.
    if (AddGlyph(name.trimmed().toStdString()) < 0) {
      QImage empty(width_, height_, QImage::Format_ARGB32);
      empty.fill(Qt::transparent);
      images_.push_back(empty);
      glyphs_.push_back(name.trimmed().toStdString());
    }
  }
  Changed();
}

int TImageList::Add(TBitmap* image, TBitmap* mask) {
  if (!image || image->Empty()) return -1;
  QImage strip = image->Image().convertToFormat(QImage::Format_ARGB32);
  if (mask && !mask->Empty()) {
    const QImage& bits = mask->Image();
    for (int y = 0; y < std::min(strip.height(), bits.height()); ++y) {
      auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
      for (int x = 0; x < std::min(strip.width(), bits.width()); ++x)
        if (qGray(bits.pixel(x, y)) >= 128) line[x] = 0;
    }
  }
  return AddImage(strip);
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor) {
  if (!image || image->Empty()) return -1;
  QImage strip = image->Image().convertToFormat(QImage::Format_ARGB32);
  if (maskColor == clDefault) maskColor = QColorToColor(QColor(strip.pixel(0, strip.height() - 1)));
  const QRgb key = ColorToQColor(maskColor).rgb();
  for (int y = 0; y < strip.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
    for (int x = 0; x < strip.width(); ++x)
      if ((line[x] | 0xFF000000u) == key) line[x] = 0;
  }
  return AddImage(strip);
}

void TImageList::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError("Invalid image list index (" + std::to_string(index) + ")");
  images_.erase(images_.begin() + index);
  glyphs_.erase(glyphs_.begin() + index);
  Changed();
}

void TImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  glyphs_.clear();
  Changed();
}

QImage TImageList::Image(int index) const {
  if (index < 0 || index >= Count()) return QImage();
  return images_[static_cast<size_t>(index)];
}

QIcon TImageList::Icon(int index) const {
  if (index >= 0 && index < Count() && GlyphExists(glyphs_[static_cast<size_t>(index)]))
    return GlyphIcon(glyphs_[static_cast<size_t>(index)]);
  QImage image = Image(index);
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

void TImageList::GetBitmap(int index, TBitmap* image) const {
  if (!image || index < 0 || index >= Count()) return;
  image->SetImage(images_[static_cast<size_t>(index)]);
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
  QImage image = Image(index);
  if (!canvas || image.isNull()) return;
  if (!enabled && qobject_cast<QApplication*>(QCoreApplication::instance())) {
    QStyleOption option;
    option.palette = QApplication::palette();
    image = QApplication::style()
                ->generatedIconPixmap(QIcon::Disabled, QPixmap::fromImage(image), &option)
                .toImage()
                .convertToFormat(QImage::Format_ARGB32);
  }
  TBitmap bitmap;
  bitmap.SetImage(image);
  canvas->Draw(x, y, &bitmap);
}

void TImageList::RegisterChanges(const void* client, std::function<void()> changed) {
  UnRegisterChanges(client);
  links_.emplace_back(client, std::move(changed));
}

void TImageList::UnRegisterChanges(const void* client) {
  links_.erase(std::remove_if(links_.begin(), links_.end(), [client](const auto& l) { return l.first == client; }),
               links_.end());
}

void TImageList::Assign(TPersistent* source) {
  auto* list = dynamic_cast<TImageList*>(source);
  if (!list) {
    TComponent::Assign(source);
    return;
  }
  if (list == this) return;
  width_ = list->width_;
  height_ = list->height_;
  images_ = list->images_;
  glyphs_ = list->glyphs_;
  Changed();
}

// ---- streaming ----

void TImageList::DefineProperties(TFiler* filer) {
  TComponent::DefineProperties(filer);
  filer->DefineBinaryProperty(
      "Bitmap", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); },
      Count() > 0 && Glyphs().empty());
}

void TImageList::ReadData(TStream& stream) {
  int64_t size = stream.Size() - stream.Position();
  QByteArray bytes(static_cast<qsizetype>(std::max<int64_t>(size, 0)), '\0');
  if (size > 0) stream.ReadBuffer(bytes.data(), size);
  images_.clear();
  glyphs_.clear();
  if (bytes.isEmpty()) {
    Changed();
    return;
  }
  QImage strip;
  if (!strip.loadFromData(bytes) || strip.height() != height_ || strip.width() % width_ != 0)
    throw EInvalidGraphic("Image list data is not valid");
  AddImage(strip.convertToFormat(QImage::Format_ARGB32));
}

void TImageList::WriteData(TStream& stream) {
  QImage strip(width_ * Count(), height_, QImage::Format_ARGB32);
  strip.fill(Qt::transparent);
  QPainter painter(&strip);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (int i = 0; i < Count(); ++i) painter.drawImage(i * width_, 0, images_[static_cast<size_t>(i)]);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  strip.save(&buffer, "PNG");
  stream.WriteBuffer(bytes.constData(), bytes.size());
}
