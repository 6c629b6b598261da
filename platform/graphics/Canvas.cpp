#include "platform/graphics/Canvas.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/OutputDevice.h"
#include "platform/graphics/Raster.h"
#include "platform/graphics/TextCell.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TCanvas, TPersistent) {
  c.Prop("Brush", &TCanvas::Brush, &TCanvas::SetBrush);
  c.Prop("Font", &TCanvas::Font, &TCanvas::SetFont);
  c.Prop("Pen", &TCanvas::Pen, &TCanvas::SetPen);
}

namespace {

// What a pen mode does with a colour: the composition mode and the colour to use, or nothing.
struct Ink {
  bool Skip = false;
  QPainter::CompositionMode Mode = QPainter::CompositionMode_SourceOver;
  QColor Color;
};

Ink InkFor(TPenMode mode, TColor color) {
  Ink ink;
  ink.Color = ColorToQColor(color);
  switch (mode) {
    case pmBlack: ink.Color = Qt::black; break;
    case pmWhite: ink.Color = Qt::white; break;
    case pmNop: ink.Skip = true; break;
    case pmNot: ink.Mode = QPainter::RasterOp_NotDestination; break;
    case pmCopy: break;
    case pmNotCopy:
      ink.Color = QColor(255 - ink.Color.red(), 255 - ink.Color.green(), 255 - ink.Color.blue());
      break;
    case pmMergePenNot: ink.Mode = QPainter::RasterOp_SourceOrNotDestination; break;
    case pmMaskPenNot: ink.Mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case pmMergeNotPen: ink.Mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case pmMaskNotPen: ink.Mode = QPainter::RasterOp_NotSourceAndDestination; break;
    case pmMerge: ink.Mode = QPainter::RasterOp_SourceOrDestination; break;
    case pmNotMerge: ink.Mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case pmMask: ink.Mode = QPainter::RasterOp_SourceAndDestination; break;
    case pmNotMask: ink.Mode = QPainter::RasterOp_NotSourceOrNotDestination; break;
    case pmXor: ink.Mode = QPainter::RasterOp_SourceXorDestination; break;
    case pmNotXor: ink.Mode = QPainter::RasterOp_NotSourceXorDestination; break;
  }
  return ink;
}

QBrush BrushFor(TBrushStyle style, const QColor& color) {
  switch (style) {
    case bsSolid: return QBrush(color);
    case bsClear: return QBrush(Qt::NoBrush);
    case bsHorizontal: return QBrush(color, Qt::HorPattern);
    case bsVertical: return QBrush(color, Qt::VerPattern);
    case bsFDiagonal: return QBrush(color, Qt::FDiagPattern);
    case bsBDiagonal: return QBrush(color, Qt::BDiagPattern);
    case bsCross: return QBrush(color, Qt::CrossPattern);
    case bsDiagCross: return QBrush(color, Qt::DiagCrossPattern);
  }
  return QBrush(color);
}

// The on/off lengths of the styled one-pixel pens.
std::vector<int> DashPattern(TPenStyle style) {
  switch (style) {
    case psDash: return {18, 6};
    case psDot: return {1, 1};
    case psDashDot: return {9, 6, 3, 6};
    case psDashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
  }
}

bool IsDashed(TPenStyle style) { return !DashPattern(style).empty(); }

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

// Figures reach at most this far from the origin and pens are at most this wide, so that sizes
// and extents can't overflow; nothing that far out can show anyway.
constexpr int kFar = 1 << 29;
constexpr int kWidest = 1 << 14;

int Far(int v) { return std::clamp(v, -kFar, kFar); }
TRect Far(const TRect& r) { return {Far(r.Left), Far(r.Top), Far(r.Right), Far(r.Bottom)}; }

TRect Normalized(int left, int top, int right, int bottom) {
  left = Far(left), top = Far(top), right = Far(right), bottom = Far(bottom);
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  return {left, top, right, bottom};
}

TRect Inflated(TRect r, int d) { return {r.Left - d, r.Top - d, r.Right + d, r.Bottom + d}; }

TRect BoundsOf(const std::vector<TPoint>& points) {
  TRect r{kFar, kFar, -kFar, -kFar};
  for (const TPoint& p : points) {
    r.Left = std::min(r.Left, Far(p.X));
    r.Top = std::min(r.Top, Far(p.Y));
    r.Right = std::max(r.Right, Far(p.X) + 1);
    r.Bottom = std::max(r.Bottom, Far(p.Y) + 1);
  }
  return r;
}

// The part of the logical plane that can show on the painter's device, so that figures far larger
// than the device cost no more than the device's size.
TRect VisibleArea(QPainter& painter) {
  QRect area(0, 0, 1 << 15, 1 << 15);
  if (QPaintDevice* device = painter.device()) area = QRect(0, 0, device->width(), device->height());
  bool invertible = false;
  QTransform toLogical = painter.deviceTransform().inverted(&invertible);
  if (invertible) area = toLogical.mapRect(area);
  if (painter.hasClipping()) area &= painter.clipBoundingRect().toAlignedRect();
  area.adjust(-1, -1, 1, 1);
  return {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

// The frame of `outer` that lies outside `inner`, as up to four rectangles.
std::vector<QRect> Ring(const TRect& outer, const TRect& inner) {
  if (outer.Width() <= 0 || outer.Height() <= 0) return {};
  if (inner.Width() <= 0 || inner.Height() <= 0) return {ToQRect(outer)};
  return {ToQRect({outer.Left, outer.Top, outer.Right, inner.Top}),
          ToQRect({outer.Left, inner.Bottom, outer.Right, outer.Bottom}),
          ToQRect({outer.Left, inner.Top, inner.Left, inner.Bottom}),
          ToQRect({inner.Right, inner.Top, outer.Right, inner.Bottom})};
}

std::vector<QRect> ToRects(const std::vector<raster::Span>& spans) {
  std::vector<QRect> rects;
  rects.reserve(spans.size());
  for (const raster::Span& s : spans) rects.emplace_back(s.X, s.Y, s.Width, 1);
  return rects;
}

void Fill(QPainter& painter, const std::vector<QRect>& rects, const QBrush& brush,
          QPainter::CompositionMode mode) {
  if (rects.empty() || brush.style() == Qt::NoBrush) return;
  QPainter::CompositionMode old = painter.compositionMode();
  painter.setCompositionMode(mode);
  for (const QRect& r : rects)
    if (!r.isEmpty()) painter.fillRect(r, brush);
  painter.setCompositionMode(old);
}

}  // namespace

TCanvas::TCanvas() : pen_(New<TPen>()), brush_(New<TBrush>()), font_(New<TFont>()) {}

TCanvas::~TCanvas() {
  FreeAndNil(pen_);
  FreeAndNil(brush_);
  FreeAndNil(font_);
}

HDC TCanvas::Handle() {
  if (!handle_) CreateHandle();
  if (QPainter* painter = DCPainter(handle_)) Select(*painter);
  return handle_;
}

void TCanvas::SetHandle(HDC dc) { handle_ = dc; }

QPainter& TCanvas::Painter() {
  if (!handle_) CreateHandle();
  QPainter* painter = handle_ ? DCPainter(handle_) : nullptr;
  if (!painter) throw Exception("Canvas does not allow drawing");
  Select(*painter);
  return *painter;
}

void TCanvas::Select(QPainter& painter) {
  painter.setFont(font_->ToQFont());
  painter.setPen(QPen(ColorToQColor(font_->Color())));
  painter.setBrush(BrushFor(brush_->Style(), ColorToQColor(brush_->Color())));
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.setRenderHint(QPainter::Antialiasing, false);
}

void TCanvas::Drawn(const TRect& rect) {
  if (rect.Width() > 0 && rect.Height() > 0) DCDrawn(handle_, rect);
}

void TCanvas::DrawPolyline(QPainter& painter, const std::vector<TPoint>& points, bool closed) {
  Ink ink = InkFor(pen_->Mode(), pen_->Color());
  if (points.size() < 2 || ink.Skip || pen_->Style() == psClear) return;
  std::vector<TPoint> path = points;
  if (closed) path.push_back(points.front());
  int width = std::clamp(pen_->Width(), 1, kWidest);
  if (width == 1 && DrawsVectors(painter)) {
    // On paper a thin line is a line, dashed as on the screen, through the pixels' centres.
    QPen pen(ink.Color, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    if (IsDashed(pen_->Style())) {
      QList<qreal> lengths;
      for (int length : DashPattern(pen_->Style())) lengths << length;
      pen.setDashPattern(lengths);
    }
    painter.save();
    painter.setCompositionMode(ink.Mode);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    QPolygonF polygon;
    for (const TPoint& p : path) polygon << QPointF(p.X + 0.5, p.Y + 0.5);
    painter.drawPolyline(polygon);
    painter.restore();
    Drawn(Inflated(BoundsOf(path), 1));
    return;
  }
  if (width == 1) {
    raster::Dash dash(DashPattern(pen_->Style()));
    std::vector<raster::Span> spans;
    TRect visible = VisibleArea(painter);
    for (size_t i = 0; i + 1 < path.size(); ++i)
      raster::TraceLine(path[i], path[i + 1], dash, visible, spans);
    Fill(painter, ToRects(spans), QBrush(ink.Color), ink.Mode);
    Drawn(BoundsOf(path));
    return;
  }
  // Wide pens are drawn solid with round ends, centred on the pixel centres of the points; Qt
  // fills the whole stroke as one area, so overlapping segments still touch each pixel once.
  painter.save();
  painter.setCompositionMode(ink.Mode);
  painter.setPen(QPen(ink.Color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  QPolygonF polygon;
  for (const TPoint& p : points) polygon << QPointF(p.X + 0.5, p.Y + 0.5);
  if (closed) painter.drawPolygon(polygon);
  else painter.drawPolyline(polygon);
  painter.restore();
  Drawn(Inflated(BoundsOf(path), width));
}

void TCanvas::LineTo(int x, int y) {
  QPainter& painter = Painter();
  Changing();
  DrawPolyline(painter, {penPos_, {x, y}}, false);
  penPos_ = {x, y};
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  QPainter& painter = Painter();
  Changing();
  DrawPolyline(painter, points, false);
  Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  QPainter& painter = Painter();
  Changing();
  Ink ink = InkFor(pen_->Mode(), brush_->Color());
  if (points.size() >= 2 && !ink.Skip && brush_->Style() != bsClear) {
    QPolygon polygon;
    for (const TPoint& p : points) polygon << QPoint(p.X, p.Y);
    painter.save();
    painter.setCompositionMode(ink.Mode);
    painter.setPen(Qt::NoPen);
    painter.setBrush(BrushFor(brush_->Style(), ink.Color));
    painter.drawPolygon(polygon, Qt::OddEvenFill);
    painter.restore();
    Drawn(BoundsOf(points));
  }
  DrawPolyline(painter, points, true);
  Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  QPainter& painter = Painter();
  Changing();
  TRect box = Normalized(left, top, right, bottom);
  Ink penInk = InkFor(pen_->Mode(), pen_->Color());
  Ink brushInk = InkFor(pen_->Mode(), brush_->Color());
  bool outline = !penInk.Skip && pen_->Style() != psClear;
  int width = std::clamp(pen_->Width(), 1, kWidest);
  TRect inner, outer = box;
  std::vector<QRect> ring;
  if (!outline) {
    inner = {box.Left, box.Top, box.Right - 1, box.Bottom - 1};
  } else if (width == 1 && IsDashed(pen_->Style()) && box.Width() > 2 && box.Height() > 2) {
    // A styled frame is one closed line, so that its pattern runs on around the corners.
    raster::Dash dash(DashPattern(pen_->Style()));
    std::vector<raster::Span> spans;
    const TPoint corners[] = {{box.Left, box.Top}, {box.Right - 1, box.Top},
                              {box.Right - 1, box.Bottom - 1}, {box.Left, box.Bottom - 1},
                              {box.Left, box.Top}};
    TRect visible = VisibleArea(painter);
    for (int i = 0; i < 4; ++i) raster::TraceLine(corners[i], corners[i + 1], dash, visible, spans);
    ring = ToRects(spans);
    inner = Inflated(box, -1);
  } else {
    int outside = pen_->Style() == psInsideFrame ? 0 : (width - 1) / 2;
    outer = Inflated(box, outside);
    inner = Inflated(outer, -width);
    ring = Ring(outer, inner);
  }
  if (!brushInk.Skip && inner.Width() > 0 && inner.Height() > 0)
    Fill(painter, {ToQRect(inner)}, BrushFor(brush_->Style(), brushInk.Color), brushInk.Mode);
  if (outline) Fill(painter, ring, QBrush(penInk.Color), penInk.Mode);
  Drawn(outer);
  Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  QPainter& painter = Painter();
  Changing();
  TRect box = Normalized(left, top, right, bottom);
  Ink penInk = InkFor(pen_->Mode(), pen_->Color());
  Ink brushInk = InkFor(pen_->Mode(), brush_->Color());
  bool outline = !penInk.Skip && pen_->Style() != psClear;
  int width = std::clamp(pen_->Width(), 1, kWidest);
  std::vector<raster::Span> ring, inside;
  if (outline) {
    // Styled pens draw ellipses solid.
    int outside = pen_->Style() == psInsideFrame ? 0 : (width - 1) / 2;
    box = Inflated(box, outside);
  } else {
    box = {box.Left, box.Top, box.Right - 1, box.Bottom - 1};
  }
  if (DrawsVectors(painter)) {
    // On paper the figure is two ellipses: the ring between them in the pen, the inside in the brush.
    // The box's right and bottom are its last pixels without an outline, one past them with one.
    const double last = outline ? 0 : 1;
    const QRectF outer(box.Left, box.Top, static_cast<double>(box.Right) - box.Left + last,
                       static_cast<double>(box.Bottom) - box.Top + last);
    const double ring = outline ? std::min<double>(width, std::min(outer.width(), outer.height()) / 2) : 0;
    const QRectF inner = outer.adjusted(ring, ring, -ring, -ring);
    painter.save();
    painter.setPen(Qt::NoPen);
    if (!brushInk.Skip && inner.width() > 0 && inner.height() > 0) {
      painter.setCompositionMode(brushInk.Mode);
      QPainterPath inside;
      inside.addEllipse(inner);
      painter.fillPath(inside, BrushFor(brush_->Style(), brushInk.Color));
    }
    if (outline) {
      painter.setCompositionMode(penInk.Mode);
      QPainterPath band;
      band.setFillRule(Qt::OddEvenFill);
      band.addEllipse(outer);
      if (inner.width() > 0 && inner.height() > 0) band.addEllipse(inner);
      painter.fillPath(band, QBrush(penInk.Color));
    }
    painter.restore();
    Drawn(Inflated(box, 1));
    Changed();
    return;
  }
  // Each layer peeled takes a pixel off both ends of every row and the top and bottom rows away,
  // so no pixel lies deeper than half the smaller side. A pen at least that wide covers the whole
  // figure: the ring is then every row, found without peeling, whose cost grows with the width.
  const int64_t deepest = (std::min(int64_t{box.Right} - box.Left, int64_t{box.Bottom} - box.Top) + 1) / 2;
  const bool peel = outline && width < deepest;
  // Peeling a ring looks at most `width` rows up and down, so rows that far beyond the visible
  // ones are enough to get the visible ones right.
  const int reach = peel ? width + 1 : 0;
  TRect visible = VisibleArea(painter);
  int from = static_cast<int>(std::max<int64_t>(int64_t{visible.Top} - reach, INT_MIN));
  int to = static_cast<int>(std::min<int64_t>(int64_t{visible.Bottom} + reach, INT_MAX));
  int firstRow = std::max(from, box.Top);
  std::vector<raster::Row> rows = raster::EllipseRows(box, from, to);
  if (peel) raster::PeelRing(rows, firstRow, width, ring);
  raster::AppendRows(rows, firstRow, outline && !peel ? ring : inside);
  auto hidden = [&](const raster::Span& s) { return s.Y < visible.Top || s.Y >= visible.Bottom; };
  ring.erase(std::remove_if(ring.begin(), ring.end(), hidden), ring.end());
  inside.erase(std::remove_if(inside.begin(), inside.end(), hidden), inside.end());
  if (!brushInk.Skip)
    Fill(painter, ToRects(inside), BrushFor(brush_->Style(), brushInk.Color), brushInk.Mode);
  if (outline) Fill(painter, ToRects(ring), QBrush(penInk.Color), penInk.Mode);
  Drawn(box);
  Changed();
}

void TCanvas::FillRect(const TRect& bounds) {
  TRect rect = Far(bounds);
  QPainter& painter = Painter();
  Changing();
  if (rect.Width() > 0 && rect.Height() > 0)
    Fill(painter, {ToQRect(rect)}, BrushFor(brush_->Style(), ColorToQColor(brush_->Color())),
         QPainter::CompositionMode_SourceOver);
  Drawn(rect);
  Changed();
}

void TCanvas::FrameRect(const TRect& bounds) {
  TRect rect = Far(bounds);
  QPainter& painter = Painter();
  Changing();
  Fill(painter, Ring(rect, Inflated(rect, -1)),
       BrushFor(brush_->Style(), ColorToQColor(brush_->Color())), QPainter::CompositionMode_SourceOver);
  Drawn(rect);
  Changed();
}

TSize TCanvas::TextExtent(const std::string& text) {
  QPainter& painter = Painter();
  QFontMetricsF metrics(painter.font(), painter.device());
  qreal advance = metrics.horizontalAdvance(QString::fromStdString(text));
  return {static_cast<int>(std::ceil(advance - 1e-6)), TextCellOf(painter.font(), painter.device()).Height()};
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  x = Far(x), y = Far(y);
  QPainter& painter = Painter();
  Changing();
  QString s = QString::fromStdString(text);
  TSize extent = TextExtent(text);
  int baseline = y + TextCellOf(painter.font(), painter.device()).Ascent;
  QRect cell(x, y, extent.cx, extent.cy);
  if (brush_->Style() == bsSolid) painter.fillRect(cell, ColorToQColor(brush_->Color()));
  DrawTextRun(painter, QPointF(x, baseline), s);
  QFontMetrics metrics(painter.font(), painter.device());
  QRect ink = metrics.boundingRect(s).translated(x, baseline).united(cell).adjusted(-1, -1, 1, 1);
  Drawn({ink.left(), ink.top(), ink.left() + ink.width(), ink.top() + ink.height()});
  penPos_ = {x + extent.cx, y};
  Changed();
}

void TCanvas::TextRect(const TRect& bounds, int x, int y, const std::string& text) {
  TRect rect = Far(bounds);
  x = Far(x), y = Far(y);
  QPainter& painter = Painter();
  Changing();
  painter.save();
  painter.setClipRect(ToQRect(rect), Qt::IntersectClip);
  if (brush_->Style() == bsSolid) painter.fillRect(ToQRect(rect), ColorToQColor(brush_->Color()));
  int baseline = y + TextCellOf(painter.font(), painter.device()).Ascent;
  DrawTextRun(painter, QPointF(x, baseline), QString::fromStdString(text));
  painter.restore();
  Drawn(rect);
  Changed();
}

int TCanvas::DrawText(const std::string& text, TRect& rect, unsigned flags) {
  Painter();
  bool drawing = !(flags & DT_CALCRECT);
  if (drawing) Changing();
  int height = ::DrawText(handle_, text, rect, flags);
  if (drawing) Changed();
  return height;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  StretchDraw({x, y, x + graphic->Width(), y + graphic->Height()}, graphic);
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Painter();
  Changing();
  graphic->Draw(*this, rect);
  Drawn(rect);
  Changed();
}

TColor TCanvas::Pixels(int x, int y) {
  QPainter& painter = Painter();
  QPaintDevice* device = painter.device();
  if (!device || device->devType() != QInternal::Image) return -1;
  const QImage* image = static_cast<const QImage*>(device);
  QPoint at = painter.deviceTransform().map(QPoint(x, y));
  if (!image->valid(at)) return -1;
  return QColorToColor(image->pixelColor(at));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  QPainter& painter = Painter();
  Changing();
  Fill(painter, {QRect(x, y, 1, 1)}, QBrush(ColorToQColor(color)), QPainter::CompositionMode_SourceOver);
  Drawn({x, y, x + 1, y + 1});
  Changed();
}
