#pragma once
// The interface of the program's print and SVG module (libmarkedit-print.so), loaded the first time
// a mark is previewed, printed or written as SVG: the printer and SVG libraries it needs are then
// loaded, not at every start of the program. It knows nothing of marks: it gets the number of pages,
// the mark's size, and a function that paints one page in stage pixels.
//
// Only plain types and Qt's cross the boundary, with C linkage, so that the module needs no symbol
// of the program.

class QIODevice;
class QPainter;
class QWidget;

extern "C" {

// Paints page `page` with one stage pixel to one unit of the painter.
using MarkeditPaintPage = void (*)(void* context, int page, QPainter* painter);

struct MarkeditPages {
  int Count;
  int MarkWidth;   // stage pixels
  int MarkHeight;
  double WidthMm;  // the printed width; the height follows the proportions
  MarkeditPaintPage Paint;
  void* Context;
};

// Writes page `page` as an SVG stencil into `device` (open for writing): in millimetres, the view
// box in stage pixels. False when the generator could not paint.
using MarkeditWriteSvgPage = bool (*)(const MarkeditPages* pages, int page, QIODevice* device);
// Whether the mark is larger than the printable area of the default printer's page (and will be
// scaled down on it).
using MarkeditExceedsPage = bool (*)(const MarkeditPages* pages);
// Shows the print preview over `parent`; the clerk prints from it or closes it.
using MarkeditPreview = void (*)(const MarkeditPages* pages, QWidget* parent);
// Asks for a printer with the system's print dialog and prints: 0 when the clerk cancelled, 1 when
// printed, 2 when printed scaled down to fit the page.
using MarkeditPrint = int (*)(const MarkeditPages* pages, QWidget* parent);

// SVG pictures (a logo in a mark), drawn as vectors. The bytes must already be free of references
// to anything outside them. Open gives a handle, or null when Qt SVG cannot read them; Render draws
// the picture into the painter's rectangle; Close frees the handle.
using MarkeditSvgOpen = void* (*)(const char* data, long long size, double* width, double* height);
using MarkeditSvgRender = void (*)(void* svg, QPainter* painter, double x, double y, double width, double height);
using MarkeditSvgClose = void (*)(void* svg);

}  // extern "C"
