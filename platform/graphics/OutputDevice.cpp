#include "platform/graphics/OutputDevice.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

bool DrawsVectors(const QPainter& painter) {
  const QPaintEngine* engine = painter.paintEngine();
  if (engine && engine->type() != QPaintEngine::Raster) return true;
  return painter.deviceTransform().isScaling();
}

bool OutlinesText(const QPainter& painter) {
  const QPaintEngine* engine = painter.paintEngine();
  return engine && engine->type() == QPaintEngine::SVG;
}

void DrawTextRun(QPainter& painter, const QPointF& at, const QString& text) {
  if (!OutlinesText(painter)) {
    painter.drawText(at, text);
    return;
  }
  QPainterPath path;
  path.addText(at, painter.font(), text);
  painter.fillPath(path, painter.pen().color());
}
