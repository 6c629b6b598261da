#include "platform/graphics/Glyphs.h"

#include <QIconEngine>
#include <QPainter>
#include <QPaintDevice>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace {

struct Glyph {
  QSize size;
  TGlyphPainter paint;
  std::vector<QImage> drawn;  // by ratio, each with its ratio set
};

std::map<std::string, Glyph, std::less<>>& Glyphs() {
  static std::map<std::string, Glyph, std::less<>> glyphs;
  return glyphs;
}

const Glyph* Find(std::string_view name) {
  auto it = Glyphs().find(name);
  return it == Glyphs().end() ? nullptr : &it->second;
}

// The glyph scaled to fill `pixels` (keeping its proportions, centred), on transparency.
QImage Draw(const Glyph& glyph, QSize pixels) {
  QImage image(pixels.expandedTo({1, 1}), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal scale = std::min(qreal(pixels.width()) / glyph.size.width(), qreal(pixels.height()) / glyph.size.height());
  painter.translate((pixels.width() - glyph.size.width() * scale) / 2, (pixels.height() - glyph.size.height() * scale) / 2);
  painter.scale(scale, scale);
  glyph.paint(painter);
  return image;
}

class GlyphEngine : public QIconEngine {
 public:
  explicit GlyphEngine(std::string name) : name_(std::move(name)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    QPixmap drawn = pixmap(QSize(qRound(rect.width() * ratio), qRound(rect.height() * ratio)), mode, state);
    drawn.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect.topLeft(), drawn);
  }
  // Qt asks for the device's pixels (size × ratio) at ratios above 1, at every paint of a menu or
  // a tool bar: a size the glyph fills exactly comes from the images kept per scale.
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    const Glyph* glyph = Find(name_);
    if (!glyph || size.isEmpty()) return QPixmap();
    const qreal scale =
        std::min(qreal(size.width()) / glyph->size.width(), qreal(size.height()) / glyph->size.height());
    QImage image = ::GlyphImage(name_, scale);
    if (image.size() == size) image.setDevicePixelRatio(1);  // the caller sets the ratio it wants
    else image = Draw(*glyph, size);                         // a box of other proportions: centred
    QPixmap drawn = QPixmap::fromImage(image);
    if (mode == QIcon::Disabled) {
      // Faded as the style fades disabled pictures, without needing a widget for it.
      QImage faded = drawn.toImage();
      QPainter painter(&faded);
      painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
      painter.fillRect(faded.rect(), QColor(0, 0, 0, 96));
      painter.end();
      drawn = QPixmap::fromImage(faded);
    }
    return drawn;
  }
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const Glyph* glyph = Find(name_);
    if (!glyph) return {};
    return glyph->size.scaled(size, Qt::KeepAspectRatio);
  }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    const Glyph* glyph = Find(name_);
    return glyph ? QList<QSize>{glyph->size, glyph->size * 2} : QList<QSize>{};
  }
  QIconEngine* clone() const override { return new GlyphEngine(name_); }
  QString key() const override { return QStringLiteral("MarkeditGlyph"); }

 private:
  std::string name_;
};

}  // namespace

void RegisterGlyph(std::string_view name, QSize size, TGlyphPainter paint) {
  Glyphs()[std::string(name)] = Glyph{size.expandedTo({1, 1}), std::move(paint), {}};
}

bool GlyphExists(std::string_view name) { return Find(name) != nullptr; }

QSize GlyphSize(std::string_view name) {
  const Glyph* glyph = Find(name);
  return glyph ? glyph->size : QSize();
}

QImage GlyphImage(std::string_view name, qreal devicePixelRatio) {
  auto it = Glyphs().find(name);
  if (it == Glyphs().end()) return QImage();
  Glyph& glyph = it->second;
  const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  for (const QImage& image : glyph.drawn)
    if (qFuzzyCompare(image.devicePixelRatio(), ratio)) return image;
  const QSize pixels(static_cast<int>(std::ceil(glyph.size.width() * ratio - 1e-9)),
                     static_cast<int>(std::ceil(glyph.size.height() * ratio - 1e-9)));
  QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(ratio, ratio);
    glyph.paint(painter);
  }
  image.setDevicePixelRatio(ratio);
  glyph.drawn.push_back(image);
  return image;
}

bool DrawGlyph(std::string_view name, QPainter& painter) {
  const Glyph* glyph = Find(name);
  if (!glyph) return false;
  painter.save();
  glyph->paint(painter);
  painter.restore();
  return true;
}

QIcon GlyphIcon(std::string_view name) {
  if (!GlyphExists(name)) return QIcon();
  return QIcon(new GlyphEngine(std::string(name)));
}
