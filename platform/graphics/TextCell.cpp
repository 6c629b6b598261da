#include "platform/graphics/TextCell.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHashFunctions>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {
struct CellKey {
  QFont font;
  int dpi;
  bool operator==(const CellKey& other) const { return dpi == other.dpi && font == other.font; }
};
struct CellKeyHash {
  size_t operator()(const CellKey& key) const { return qHash(key.font, static_cast<size_t>(key.dpi)); }
};
}  // namespace

TextCell TextCellOf(const QFont& font, const QPaintDevice* device) {
  // Measuring ink is slow and a program uses few fonts, so cells are kept per font and resolution.
  // The font itself is the key: its text form (QFont::key) costs more to make than the lookup
  // saves, and every auto-sized label asks once as it is loaded.
  static std::unordered_map<CellKey, TextCell, CellKeyHash> cache;
  CellKey key{font, device ? device->logicalDpiY() : 96};
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
