#include "platform/graphics/TextCell.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <unordered_map>

TextCell TextCellOf(const QFont& font, const QPaintDevice* device) {
  // Measuring ink is slow and a program uses few fonts, so cells are kept per font and resolution.
  static std::unordered_map<std::string, TextCell> cache;
  int dpi = device ? device->logicalDpiY() : 96;
  std::string key = font.key().toStdString() + "@" + std::to_string(dpi);
  auto found = cache.find(key);
  if (found != cache.end()) return found->second;

  QFontMetrics metrics(font, device);
  QFontMetricsF metricsF(font, device);
  QRectF ink = metricsF.tightBoundingRect(QString::fromUtf8("ÁÉÎÖÛgjpqy|[]出貨嘜頭國龍"));
  TextCell cell;
  cell.Ascent = std::max(metrics.ascent(), static_cast<int>(std::ceil(-ink.top() - 1e-6)));
  cell.Descent = std::max(metrics.descent(), static_cast<int>(std::ceil(ink.bottom() - 1e-6)));
  if (cache.size() > 256) cache.clear();
  cache.emplace(std::move(key), cell);
  return cell;
}
