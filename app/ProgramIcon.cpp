#include "app/ProgramIcon.h"

#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

#include <algorithm>
#include <vector>

namespace {

QPixmap Carton(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);
  // The carton's side, and its top seen from above.
  painter.setPen(QPen(QColor(0x5a, 0x3a, 0x16), 1.5));
  painter.setBrush(QColor(0xc8, 0x96, 0x5a));
  painter.drawRect(QRectF(3, 9, 26, 20));
  painter.setBrush(QColor(0xdc, 0xb0, 0x78));
  painter.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(9, 3), QPointF(29, 3), QPointF(29, 9)}));
  // The mark: a diamond with a line of text under it.
  painter.setPen(QPen(Qt::black, 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolygon(QPolygonF({QPointF(16, 11), QPointF(23, 17), QPointF(16, 23), QPointF(9, 17)}));
  painter.drawLine(QPointF(10, 26), QPointF(22, 26));
  return pixmap;
}

// Draws each size when it is first asked for: a window shows one of them, often none at start.
class CartonEngine : public QIconEngine {
 public:
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = std::max(1, std::min(size.width(), size.height()));
    for (const QPixmap& drawn : drawn_)
      if (drawn.width() == side) return drawn;
    drawn_.push_back(Carton(side));
    return drawn_.back();
  }
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = std::min(size.width(), size.height());
    return {side, side};
  }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {{16, 16}, {32, 32}, {48, 48}}; }
  QIconEngine* clone() const override { return new CartonEngine(*this); }
  QString key() const override { return QStringLiteral("MarkeditCarton"); }

 private:
  std::vector<QPixmap> drawn_;
};

}  // namespace

QIcon ProgramIcon() { return QIcon(new CartonEngine()); }
