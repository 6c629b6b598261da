#include "platform/win/DeviceContext.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/win/WindowTable.h"

namespace wintable {
namespace {

enum class DCKind { WindowPaint, WindowScribble, Screen, Device };

struct DCRecord {
  explicit DCRecord(DCKind k, HWND w = 0, QPainter* p = nullptr) : kind(k), window(w), painter(p) {}
  DCKind kind;
  HWND window = 0;
  QPainter* painter = nullptr;
  std::unique_ptr<QPainter> owned;
  std::vector<TPoint> savedOrigins;  // one per SaveDC level
  TPoint origin;
  QRect dirty;
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
  D().dcs.emplace(dc, std::move(record));
  return dc;
}

// ---- the screen's XOR layer ----

// Everything drawn on the screen device context, in screen coordinates: zero where nothing is
// drawn, so XOR-compositing it leaves a window's pixels as they are.
struct ScreenLayer {
  QImage image;
  QPoint origin;  // screen position of the image's top-left pixel
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

void RefreshScreen(const QRect& screenRect) {
  for (auto& o : Overlays()) {
    if (!o) continue;
    QRect local(o->mapFromGlobal(screenRect.topLeft()), screenRect.size());
    local = local.intersected(o->rect());
    if (!local.isEmpty()) o->update(local);
  }
}

}  // namespace

void RaiseScreenOverlay(HWND window) {
  QWidget* w = WindowWidget(window);
  if (!w) return;
  if (XorOverlay* o = OverlayOf(w->window())) o->raise();
}

}  // namespace wintable

using namespace wintable;

HDC GetDC(HWND window) {
  if (window == 0) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
    EnsureOverlays();
    DCRecord r{DCKind::Screen};
    r.owned = std::make_unique<QPainter>(&Layer().image);
    r.painter = r.owned.get();
    r.painter->translate(-Layer().origin);
    return AddDC(std::move(r));
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

bool DeleteDC(HDC dc) {
  DCRecord* r = FindDC(dc);
  if (!r || r->kind != DCKind::Device) return false;
  r->owned->end();
  D().dcs.erase(dc);
  return true;
}

// A window's paint painter is looked up on every use: it ends while the widget paints itself in
// the middle of a paint, and the next drawing starts a new one.
static QPainter* PainterOf(DCRecord& r) {
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
  p->save();
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
    if (p && p->isActive()) p->restore();
    r->origin = r->savedOrigins.back();
    r->savedOrigins.pop_back();
  }
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
  p->setClipRect(QRect(left, top, right - left, bottom - top), Qt::IntersectClip);
  return true;
}

HWND WindowFromDC(HDC dc) {
  DCRecord* r = FindDC(dc);
  return r ? r->window : 0;
}
