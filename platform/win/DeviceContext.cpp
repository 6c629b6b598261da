#include "platform/win/DeviceContext.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/win/WindowTable.h"

namespace wintable {
namespace {

enum class DCKind { WindowPaint, WindowScribble, Screen, Device };

struct DCRecord {
  explicit DCRecord(DCKind k, HWND w = 0, QPainter* p = nullptr) : kind(k), window(w), painter(p) {}
  DCKind kind;
  HDC id = 0;
  HWND window = 0;
  QPainter* painter = nullptr;
  std::unique_ptr<QPainter> owned;
  std::vector<TPoint> savedOrigins;  // one per SaveDC level
  TPoint origin;
  QRect dirty;
  // Screen device contexts share one painter, so each keeps its own clip (screen coordinates) and
  // the painter is set up for a device context whenever another one used it last.
  std::optional<QRect> clip;
  std::vector<std::optional<QRect>> savedClips;  // screen device contexts: one per SaveDC level
};

struct DCTable {
  std::unordered_map<HDC, DCRecord> dcs;
  HDC next = 1;
};

DCTable& D() {
  static DCTable table;
  return table;
}

DCRecord* FindDC(HDC dc) {
  auto it = D().dcs.find(dc);
  return it == D().dcs.end() ? nullptr : &it->second;
}

HDC AddDC(DCRecord record) {
  HDC dc = D().next++;
  record.id = dc;
  D().dcs.emplace(dc, std::move(record));
  return dc;
}

// ---- the screen's XOR layer ----

// Everything drawn on the screen device context, in screen coordinates: zero where nothing is
// drawn, so XOR-compositing it leaves a window's pixels as they are.
struct ScreenLayer {
  QImage image;
  QPoint origin;  // screen position of the image's top-left pixel
  // The one painter of every screen device context: an image takes one painter at a time.
  std::unique_ptr<QPainter> painter;
  int users = 0;       // screen device contexts that hold the painter
  HDC setUpFor = 0;    // the device context whose origin and clip the painter has now
  // While a batch is open, what was drawn is marked in a grid of kTile x kTile tiles of the image
  // rather than listed: marking costs the same for one figure or thousands, and the region
  // refreshed stays close to the figures rather than their bounds.
  static constexpr int kTile = 16;
  int batchDepth = 0;
  std::vector<uint8_t> dirtyTiles;  // row by row, tileColumns wide
  int tileColumns = 0;
  QRect dirtyBounds;  // in tiles: the part of the grid with marks
};

ScreenLayer& Layer() {
  static ScreenLayer layer;
  if (layer.image.isNull()) {
    QRect all(0, 0, 1920, 1200);
    if (QGuiApplication::primaryScreen()) all = all.united(QGuiApplication::primaryScreen()->virtualGeometry());
    layer.image = QImage(all.size(), QImage::Format_RGB32);
    layer.image.fill(0);
    layer.origin = all.topLeft();
  }
  return layer;
}

// A transparent widget on top of a top-level window that composites the screen layer over it.
class XorOverlay : public QWidget {
 public:
  explicit XorOverlay(QWidget* top) : QWidget(top) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(top->rect());
    top->installEventFilter(this);
    show();
    raise();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return false;
  }
  void paintEvent(QPaintEvent* event) override {
    const ScreenLayer& layer = Layer();
    QPainter p(this);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (const QRect& r : event->region()) {
      QRect source(mapToGlobal(r.topLeft()) - layer.origin, r.size());
      p.drawImage(r, layer.image, source);
    }
  }
};

std::vector<QPointer<XorOverlay>>& Overlays() {
  static std::vector<QPointer<XorOverlay>> overlays;
  return overlays;
}

XorOverlay* OverlayOf(QWidget* top) {
  for (auto& o : Overlays())
    if (o && o->parentWidget() == top) return o;
  return nullptr;
}

// Every top-level window of ours gets its overlay the first time the screen is drawn on.
void EnsureOverlays() {
  // The top-level widgets that hold windows of ours (a form's window is inside its frame).
  for (QWidget* w : AllWindowWidgets()) {
    QWidget* top = w->window();
    if (!top || OverlayOf(top)) continue;
    Overlays().push_back(new XorOverlay(top));
  }
}

void UpdateOverlays(const QRegion& screenRegion) {
  for (auto& o : Overlays()) {
    if (!o) continue;
    QRegion local = screenRegion.translated(-o->mapToGlobal(QPoint(0, 0))) & o->rect();
    if (!local.isEmpty()) o->update(local);
  }
}

// Marks the tiles under `onLayer` (image coordinates, inside the image) as drawn in the open batch.
void MarkDrawn(ScreenLayer& layer, const QRect& onLayer) {
  const int k = ScreenLayer::kTile;
  if (layer.dirtyTiles.empty()) {
    layer.tileColumns = (layer.image.width() + k - 1) / k;
    layer.dirtyTiles.assign(static_cast<size_t>(layer.tileColumns) * ((layer.image.height() + k - 1) / k), 0);
  }
  const QRect tiles(QPoint(onLayer.left() / k, onLayer.top() / k), QPoint(onLayer.right() / k, onLayer.bottom() / k));
  for (int ty = tiles.top(); ty <= tiles.bottom(); ++ty) {
    uint8_t* row = layer.dirtyTiles.data() + static_cast<size_t>(ty) * layer.tileColumns;
    std::fill(row + tiles.left(), row + tiles.right() + 1, uint8_t{1});
  }
  layer.dirtyBounds |= tiles;
}

// Refreshes a drawn screen rectangle at once, or when the open batch closes.
void RefreshScreen(const QRect& screenRect) {
  ScreenLayer& layer = Layer();
  if (layer.batchDepth == 0) {
    UpdateOverlays(QRegion(screenRect));
    return;
  }
  // The overlays show nothing but the layer, so what lies off it needs no refresh.
  QRect onLayer = screenRect.translated(-layer.origin) & layer.image.rect();
  if (!onLayer.isEmpty()) MarkDrawn(layer, onLayer);
}

// The marked tiles in screen coordinates, clearing the marks. Runs of tiles row by row and left to
// right, never touching: the banded form that QRegion::setRects takes as it is.
QRegion TakeDrawnRegion(ScreenLayer& layer) {
  const int k = ScreenLayer::kTile;
  const QRect bounds = layer.dirtyBounds;
  layer.dirtyBounds = QRect();
  std::vector<QRect> runs;
  for (int ty = bounds.top(); ty <= bounds.bottom(); ++ty) {
    uint8_t* row = layer.dirtyTiles.data() + static_cast<size_t>(ty) * layer.tileColumns;
    for (int tx = bounds.left(); tx <= bounds.right();) {
      if (!row[tx]) {
        ++tx;
        continue;
      }
      int end = tx;
      while (end <= bounds.right() && row[end]) row[end++] = 0;
      runs.emplace_back(layer.origin.x() + tx * k, layer.origin.y() + ty * k, (end - tx) * k, k);
      tx = end;
    }
  }
  QRegion region;
  region.setRects(runs.data(), static_cast<int>(runs.size()));
  return region;
}

}  // namespace

void RaiseScreenOverlay(HWND window) {
  QWidget* w = WindowWidget(window);
  if (!w) return;
  if (XorOverlay* o = OverlayOf(w->window())) o->raise();
}

}  // namespace wintable

void BeginScreenBatch() { ++wintable::Layer().batchDepth; }

void EndScreenBatch() {
  wintable::ScreenLayer& layer = wintable::Layer();
  if (layer.batchDepth == 0 || --layer.batchDepth > 0) return;
  if (!layer.dirtyBounds.isEmpty()) wintable::UpdateOverlays(wintable::TakeDrawnRegion(layer));
}

using namespace wintable;

HDC GetDC(HWND window) {
  if (window == 0) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
    EnsureOverlays();
    ScreenLayer& layer = Layer();
    if (layer.users++ == 0) layer.painter = std::make_unique<QPainter>(&layer.image);
    layer.setUpFor = 0;
    return AddDC(DCRecord{DCKind::Screen, 0, layer.painter.get()});
  }
  WindowRecord* w = Find(window);
  if (!w || !w->widget) return 0;
  if (w->inPaint) return AddDC(DCRecord{DCKind::WindowPaint, window});
  // Outside a paint: draw on a layer over the window that its next paint shows.
  QSize size = w->widget->size().expandedTo(QSize(1, 1));
  if (!w->scribble || w->scribble->size() != size) {
    w->scribble = std::make_unique<QImage>(size, QImage::Format_ARGB32_Premultiplied);
    w->scribble->fill(Qt::transparent);
  }
  DCRecord r{DCKind::WindowScribble, window};
  r.owned = std::make_unique<QPainter>(w->scribble.get());
  r.painter = r.owned.get();
  return AddDC(std::move(r));
}

int ReleaseDC(HWND, HDC dc) {
  DCRecord* r = FindDC(dc);
  if (!r) return 0;
  if (r->owned) r->owned->end();
  if (r->kind == DCKind::Screen) {
    ScreenLayer& layer = Layer();
    if (layer.setUpFor == dc) layer.setUpFor = 0;
    if (--layer.users == 0) layer.painter.reset();
  }
  if (r->kind == DCKind::WindowScribble)
    if (QWidget* w = WindowWidget(r->window)) w->update(r->dirty.isEmpty() ? w->rect() : r->dirty);
  D().dcs.erase(dc);
  return 1;
}

HDC BeginPaint(HWND window, PAINTSTRUCT& paint) {
  HDC dc = GetDC(window);
  paint.hdc = dc;
  WindowRecord* w = Find(window);
  if (w && w->inPaint)
    paint.rcPaint = {w->paintRect.left(), w->paintRect.top(), w->paintRect.left() + w->paintRect.width(),
                     w->paintRect.top() + w->paintRect.height()};
  else if (w && w->widget)
    paint.rcPaint = {0, 0, w->widget->width(), w->widget->height()};
  return dc;
}

bool EndPaint(HWND window, const PAINTSTRUCT& paint) { return ReleaseDC(window, paint.hdc) != 0; }

HDC CreateDeviceDC(QPaintDevice* device) {
  if (!device) return 0;
  DCRecord r{DCKind::Device};
  r.owned = std::make_unique<QPainter>(device);
  if (!r.owned->isActive()) return 0;
  r.painter = r.owned.get();
  return AddDC(std::move(r));
}

HDC CreatePainterDC(QPainter* painter) {
  if (!painter || !painter->isActive()) return 0;
  DCRecord r{DCKind::Device};
  r.painter = painter;
  return AddDC(std::move(r));
}

bool DeleteDC(HDC dc) {
  DCRecord* r = FindDC(dc);
  if (!r || r->kind != DCKind::Device) return false;
  if (r->owned) r->owned->end();
  D().dcs.erase(dc);
  return true;
}

// A window's paint painter is looked up on every use: it ends while the widget paints itself in
// the middle of a paint, and the next drawing starts a new one.
static QPainter* PainterOf(DCRecord& r) {
  if (r.kind == DCKind::Screen) {
    ScreenLayer& layer = Layer();
    if (layer.setUpFor != r.id) {
      r.painter->resetTransform();
      if (r.clip) r.painter->setClipRect(r.clip->translated(-layer.origin));
      else r.painter->setClipping(false);
      r.painter->setTransform(QTransform::fromTranslate(r.origin.X - layer.origin.x(), r.origin.Y - layer.origin.y()));
      layer.setUpFor = r.id;
    }
    return r.painter;
  }
  if (r.kind != DCKind::WindowPaint) return r.painter;
  WindowRecord* w = Find(r.window);
  if (!w || !w->inPaint || !w->widget) return nullptr;
  if (!w->paintPainter) {
    w->paintPainter = new QPainter(w->widget);
    w->paintPainter->translate(r.origin.X, r.origin.Y);
  }
  return w->paintPainter;
}

QPainter* DCPainter(HDC dc) {
  DCRecord* r = FindDC(dc);
  return r ? PainterOf(*r) : nullptr;
}

void DCDrawn(HDC dc, const TRect& rect) {
  DCRecord* r = FindDC(dc);
  if (!r) return;
  // The rectangle is in the device context's logical coordinates; its origin moves it.
  QRect drawn(rect.Left + r->origin.X, rect.Top + r->origin.Y, rect.Width(), rect.Height());
  drawn = drawn.normalized();
  if (r->kind == DCKind::Screen) RefreshScreen(drawn.adjusted(-1, -1, 1, 1));
  else r->dirty = r->dirty.united(drawn);
}

int SaveDC(HDC dc) {
  DCRecord* r = FindDC(dc);
  QPainter* p = r ? PainterOf(*r) : nullptr;
  if (!p) return 0;
  // The screen's painter is shared: its state is set up from the record, not saved in it.
  if (r->kind == DCKind::Screen) r->savedClips.push_back(r->clip);
  else p->save();
  r->savedOrigins.push_back(r->origin);
  return static_cast<int>(r->savedOrigins.size());
}

bool RestoreDC(HDC dc, int level) {
  DCRecord* r = FindDC(dc);
  if (!r) return false;
  int depth = static_cast<int>(r->savedOrigins.size());
  if (level < 0) level = depth + 1 + level;  // -1 restores the last save
  if (level < 1 || level > depth) return false;
  QPainter* p = PainterOf(*r);
  while (static_cast<int>(r->savedOrigins.size()) >= level) {
    if (r->kind == DCKind::Screen) {
      r->clip = r->savedClips.back();
      r->savedClips.pop_back();
    } else if (p && p->isActive()) {
      p->restore();
    }
    r->origin = r->savedOrigins.back();
    r->savedOrigins.pop_back();
  }
  if (r->kind == DCKind::Screen) Layer().setUpFor = 0;
  return true;
}

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old) {
  DCRecord* r = FindDC(dc);
  if (!r) return false;
  if (old) *old = r->origin;
  if (QPainter* p = PainterOf(*r)) p->translate(x - r->origin.X, y - r->origin.Y);
  r->origin = {x, y};
  return true;
}

bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* old) {
  DCRecord* r = FindDC(dc);
  if (!r) return false;
  return SetViewportOrgEx(dc, r->origin.X + dx, r->origin.Y + dy, old);
}

bool IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
  DCRecord* r = FindDC(dc);
  if (!r) return false;
  QPainter* p = PainterOf(*r);
  if (!p) return false;
  QRect rect(left, top, right - left, bottom - top);
  if (r->kind == DCKind::Screen) {
    QRect onScreen = rect.translated(r->origin.X, r->origin.Y);
    r->clip = r->clip ? (*r->clip & onScreen) : onScreen;
  }
  p->setClipRect(rect, Qt::IntersectClip);
  return true;
}

bool RectVisible(HDC dc, int left, int top, int width, int height) {
  DCRecord* r = FindDC(dc);
  if (!r || width <= 0 || height <= 0) return false;
  QPainter* p = PainterOf(*r);
  if (!p) return false;
  const QRectF area(left, top, width, height);
  if (p->hasClipping() && !p->clipBoundingRect().intersects(area)) return false;
  // A window's paint is clipped to the area to repaint by the system, outside the painter's clip.
  if (QPaintEngine* engine = p->paintEngine()) {
    const QRegion system = engine->systemClip();
    if (!system.isEmpty() && !system.intersects(p->deviceTransform().mapRect(area).toAlignedRect())) return false;
  }
  return true;
}

bool XorRects(HDC dc, const TRect* rects, size_t count, uint32_t rgb) {
  DCRecord* r = FindDC(dc);
  if (!r) return false;
  if (r->kind == DCKind::Screen) {
    // Straight into the layer: its pixels only ever meet XOR, and one call may carry thousands of
    // rectangles, for which a painter's per-figure cost would dominate.
    ScreenLayer& layer = Layer();
    const uint32_t mask = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    QRect area = layer.image.rect();
    if (r->clip) area &= r->clip->translated(-layer.origin);
    if (area.isEmpty()) return true;
    uchar* bits = layer.image.bits();
    const qsizetype stride = layer.image.bytesPerLine();
    // In 64 bits, so that rectangles anywhere in the coordinate space are clipped, not wrapped.
    const int64_t dx = int64_t{r->origin.X} - layer.origin.x(), dy = int64_t{r->origin.Y} - layer.origin.y();
    TScreenBatch batch;
    for (size_t i = 0; i < count; ++i) {
      const TRect& t = rects[i];
      const int left = static_cast<int>(std::max<int64_t>(t.Left + dx, area.left()));
      const int top = static_cast<int>(std::max<int64_t>(t.Top + dy, area.top()));
      const int right = static_cast<int>(std::min<int64_t>(t.Right + dx, area.right() + 1));
      const int bottom = static_cast<int>(std::min<int64_t>(t.Bottom + dy, area.bottom() + 1));
      if (left >= right || top >= bottom) continue;
      uchar* line = bits + top * stride;
      for (int y = top; y < bottom; ++y, line += stride) {
        uint32_t* pixel = reinterpret_cast<uint32_t*>(line);
        for (int x = left; x < right; ++x) pixel[x] ^= mask;
      }
      MarkDrawn(layer, QRect(left, top, right - left, bottom - top));
    }
    return true;
  }
  QPainter* p = PainterOf(*r);
  if (!p) return false;
  p->save();
  p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  const QColor color(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
  for (size_t i = 0; i < count; ++i) {
    const TRect& t = rects[i];
    if (t.Right <= t.Left || t.Bottom <= t.Top) continue;
    p->fillRect(QRect(t.Left, t.Top, t.Width(), t.Height()), color);
    DCDrawn(dc, t);
  }
  p->restore();
  return true;
}

HWND WindowFromDC(HDC dc) {
  DCRecord* r = FindDC(dc);
  return r ? r->window : 0;
}
