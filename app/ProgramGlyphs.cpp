#include "app/ProgramGlyphs.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "platform/graphics/Glyphs.h"

namespace {

const QColor kInk(0x1a, 0x1a, 0x1a);
const QColor kTitle(0x2a, 0x5c, 0xb8);  // a window's title bar
const QColor kPaperLine(0x8c, 0x8c, 0x8c);

QPen Ink(qreal width) { return QPen(kInk, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin); }

// ---- the program's icon (a 32 × 32 box) ----

void Carton(QPainter& p) {
  // The carton's side, and its top seen from above.
  p.setPen(QPen(QColor(0x5a, 0x3a, 0x16), 1.5));
  p.setBrush(QColor(0xc8, 0x96, 0x5a));
  p.drawRect(QRectF(3, 9, 26, 20));
  p.setBrush(QColor(0xdc, 0xb0, 0x78));
  p.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(9, 3), QPointF(29, 3), QPointF(29, 9)}));
  // The mark: a diamond with a line of text under it.
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(QPolygonF({QPointF(16, 11), QPointF(23, 17), QPointF(16, 23), QPointF(9, 17)}));
  p.drawLine(QPointF(10, 26), QPointF(22, 26));
}

// ---- the palette (16 × 16): the pointer and one figure per element ----

void Pointer(QPainter& p) {
  p.setPen(QPen(kInk, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({QPointF(3.5, 1.5), QPointF(3.5, 13.5), QPointF(6.5, 10.5), QPointF(9, 15),
                           QPointF(11, 14), QPointF(8.8, 9.5), QPointF(12.5, 9.5)}));
}

void Figure(QPainter& p, const QPolygonF& outline) {
  p.setPen(Ink(2));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(outline);
}

void Rectangle(QPainter& p) { Figure(p, QPolygonF(QRectF(2, 2, 12, 12))); }
void Diamond(QPainter& p) { Figure(p, QPolygonF({QPointF(8, 2), QPointF(14, 8), QPointF(8, 14), QPointF(2, 8)})); }
void TriangleUp(QPainter& p) { Figure(p, QPolygonF({QPointF(8, 2), QPointF(14.5, 14), QPointF(1.5, 14)})); }
void TriangleDown(QPainter& p) { Figure(p, QPolygonF({QPointF(1.5, 2), QPointF(14.5, 2), QPointF(8, 14)})); }

void Ellipse(QPainter& p) {
  p.setPen(Ink(2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(2, 2, 12, 12));
}

void Barcode(QPainter& p) {
  // Bars of one, two and three units, as a linear code has them.
  static const int widths[] = {1, 1, 2, 1, 2, 1, 1, 2, 1, 1};
  qreal x = 2;
  bool bar = true;
  for (int w : widths) {
    if (bar) p.fillRect(QRectF(x, 2, w, 12), kInk);
    x += w;
    bar = !bar;
  }
}

void Picture(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(0xe4, 0xf0, 0xfb));
  p.drawRect(QRectF(1.5, 2.5, 13, 11));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xe8, 0xa8, 0x20));
  p.drawEllipse(QRectF(9, 4.5, 3, 3));
  p.setBrush(QColor(0x3c, 0x8c, 0x3c));
  p.drawPolygon(QPolygonF({QPointF(2, 13), QPointF(6.5, 7), QPointF(9.5, 10.5), QPointF(11, 9), QPointF(14, 13)}));
}

void Line(QPainter& p) {
  p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(2.5, 13.5), QPointF(11, 5));
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawPolygon(QPolygonF({QPointF(14, 2), QPointF(12.8, 8.2), QPointF(7.8, 3.2)}));
}

// ---- the tool bars and menus (16 × 16) ----

void Page(QPainter& p, const QRectF& r, int lines) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(Qt::white);
  p.drawRect(r);
  p.setPen(QPen(kPaperLine, 1));
  for (int i = 0; i < lines; ++i) {
    const qreal y = r.top() + 2.5 + 2 * i;
    p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
  }
}

void Window(QPainter& p, const QRectF& r) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(Qt::white);
  p.drawRect(r);
  p.fillRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1, 2.5), kTitle);
}

void Cut(QPainter& p) {
  p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(4, 1.5), QPointF(10.5, 10));
  p.drawLine(QPointF(12, 1.5), QPointF(5.5, 10));
  p.setPen(QPen(QColor(0xc8, 0x28, 0x28), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(1.5, 10, 4.5, 4.5));
  p.drawEllipse(QRectF(10, 10, 4.5, 4.5));
}

void Copy(QPainter& p) {
  Page(p, QRectF(1.5, 1.5, 8, 10), 4);
  Page(p, QRectF(6.5, 4.5, 8, 10), 4);
}

void Paste(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(0xa0, 0x6a, 0x2c));
  p.drawRect(QRectF(1.5, 2.5, 12, 12.5));
  Page(p, QRectF(4.5, 5.5, 8, 9), 3);
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(0xc8, 0xc8, 0xc8));
  p.drawRect(QRectF(4.5, 1, 6, 3));
}

void Cascade(QPainter& p) {
  Window(p, QRectF(1.5, 1.5, 7, 6));
  Window(p, QRectF(4.5, 4.5, 7, 6));
  Window(p, QRectF(7.5, 8.5, 7, 6));
}

void TileHorizontal(QPainter& p) {
  Window(p, QRectF(1.5, 1.5, 13, 6));
  Window(p, QRectF(1.5, 8.5, 13, 6));
}

void TileVertical(QPainter& p) {
  Window(p, QRectF(1.5, 1.5, 6, 13));
  Window(p, QRectF(8.5, 1.5, 6, 13));
}

void NewPage(QPainter& p) {
  p.setPen(QPen(kInk, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({QPointF(2.5, 0.5), QPointF(9.5, 0.5), QPointF(13.5, 4.5), QPointF(13.5, 15.5),
                           QPointF(2.5, 15.5)}));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(9.5, 0.5), QPointF(9.5, 4.5), QPointF(13.5, 4.5)}));
}

void Open(QPainter& p) {
  p.setPen(QPen(kInk, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  p.setBrush(QColor(0xc8, 0x98, 0x20));
  p.drawPolygon(QPolygonF({QPointF(0.5, 2.5), QPointF(5.5, 2.5), QPointF(6.5, 4.5), QPointF(12.5, 4.5),
                           QPointF(12.5, 13.5), QPointF(0.5, 13.5)}));
  p.setBrush(QColor(0xf4, 0xc8, 0x40));
  p.drawPolygon(QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(12.5, 13.5), QPointF(0.5, 13.5)}));
}

void Save(QPainter& p) {
  p.setPen(QPen(QColor(0x14, 0x30, 0x70), 1));
  p.setBrush(QColor(0x30, 0x64, 0xc8));
  p.drawRect(QRectF(1.5, 1.5, 13, 13));
  p.fillRect(QRectF(4, 2, 8, 5), QColor(0xc8, 0xc8, 0xc8));
  p.fillRect(QRectF(9, 3, 2, 3), QColor(0x14, 0x30, 0x70));
  p.fillRect(QRectF(3, 9, 10, 5), Qt::white);
  p.setPen(QPen(QColor(0x9c, 0xc4, 0xec), 1));
  p.drawLine(QPointF(4, 10.5), QPointF(12, 10.5));
  p.drawLine(QPointF(4, 12.5), QPointF(12, 12.5));
}

void MinimizeAll(QPainter& p) {
  p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(0.5, 0.5, 15, 15));
  Window(p, QRectF(2.5, 6.5, 4, 3));
  Window(p, QRectF(2.5, 11.5, 4, 3));
  Window(p, QRectF(9.5, 11.5, 4, 3));
}

void Pencil(QPainter& p) {
  p.save();
  p.translate(8, 8);
  p.rotate(45);
  // Along the x axis, tip at the left (bottom-left once turned).
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(0xf0, 0xb8, 0x28));
  p.drawRect(QRectF(-5, -2, 10, 4));
  p.setBrush(QColor(0xf0, 0x90, 0x90));
  p.drawRect(QRectF(5, -2, 2.5, 4));
  p.setBrush(QColor(0xf0, 0xdc, 0xb0));
  p.drawPolygon(QPolygonF({QPointF(-5, -2), QPointF(-9, 0), QPointF(-5, 2)}));
  p.restore();
}

// ---- the property window (12 × 12) ----

void Ellipsis(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  for (qreal x : {1.0, 5.0, 9.0}) p.drawRect(QRectF(x, 8, 2, 2));
}

}  // namespace

void RegisterProgramGlyphs() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  const QSize small(16, 16);
  RegisterGlyph("markedit", QSize(32, 32), Carton);
  RegisterGlyph("pointer", small, Pointer);
  RegisterGlyph("rectangle", small, Rectangle);
  RegisterGlyph("diamond", small, Diamond);
  RegisterGlyph("ellipse", small, Ellipse);
  RegisterGlyph("triangle-up", small, TriangleUp);
  RegisterGlyph("triangle-down", small, TriangleDown);
  RegisterGlyph("barcode", small, Barcode);
  RegisterGlyph("picture", small, Picture);
  RegisterGlyph("line", small, Line);
  RegisterGlyph("cut", small, Cut);
  RegisterGlyph("copy", small, Copy);
  RegisterGlyph("paste", small, Paste);
  RegisterGlyph("cascade", small, Cascade);
  RegisterGlyph("tile-horizontal", small, TileHorizontal);
  RegisterGlyph("tile-vertical", small, TileVertical);
  RegisterGlyph("new", small, NewPage);
  RegisterGlyph("open", small, Open);
  RegisterGlyph("save", small, Save);
  RegisterGlyph("minimize-all", small, MinimizeAll);
  RegisterGlyph("edit", small, Pencil);
  RegisterGlyph("ellipsis", QSize(12, 12), Ellipsis);
}

QIcon ProgramIcon() {
  RegisterProgramGlyphs();
  return GlyphIcon("markedit");
}
