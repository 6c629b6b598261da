// The print and SVG module (see PrintSupport.h): Qt's print support and SVG generator.

#include "app/printsupport/PrintSupport.h"
#include "platform/rtl/Tr.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSvgGenerator>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace {

// The print windows' titles.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(PrintModule)
};

// Text is laid out at the screen's resolution, so that it breaks where the clerk saw it break.
constexpr double kDpi = 96;

QSizeF MarkDots(const MarkeditPages& pages) {
  const double width = pages.WidthMm / 25.4 * kDpi;
  return {width, width * pages.MarkHeight / pages.MarkWidth};
}

void SetUp(QPrinter& printer) {
  printer.setResolution(static_cast<int>(kDpi));
  printer.setFullPage(false);
}

bool Exceeds(const MarkeditPages& pages, const QPrinter& printer) {
  const QSizeF mark = MarkDots(pages);
  const QRectF page = printer.pageRect(QPrinter::DevicePixel);
  return mark.width() > page.width() + 0.5 || mark.height() > page.height() + 0.5;
}

// Each page's mark centred at real size on the printable area, scaled down only when it does not
// fit. True when it was scaled down.
bool PaintOnPrinter(const MarkeditPages& pages, QPrinter& printer) {
  QPainter painter(&printer);
  if (!painter.isActive()) return false;
  const QSizeF area = printer.pageRect(QPrinter::DevicePixel).size();
  const QSizeF mark = MarkDots(pages);
  const double fit = std::min({1.0, area.width() / mark.width(), area.height() / mark.height()});
  const double scale = mark.width() * fit / pages.MarkWidth;
  const QPointF origin((area.width() - mark.width() * fit) / 2, (area.height() - mark.height() * fit) / 2);
  for (int i = 0; i < pages.Count; ++i) {
    if (i > 0) printer.newPage();
    painter.save();
    painter.translate(origin);
    painter.scale(scale, scale);
    pages.Paint(pages.Context, i, &painter);
    painter.restore();
  }
  return fit < 1.0;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) bool markedit_write_svg_page(const MarkeditPages* pages, int page,
                                                                     QIODevice* device) {
  QSvgGenerator svg;
  svg.setOutputDevice(device);
  // A hundred units a millimetre, so that the size the file states is the mark's (the height of a
  // mark 100 mm wide is 62.25 mm); drawing goes through the view box in stage pixels.
  svg.setResolution(2540);
  const double heightMm = pages->WidthMm * pages->MarkHeight / pages->MarkWidth;
  svg.setSize(QSize(static_cast<int>(std::lround(pages->WidthMm * 100)), static_cast<int>(std::lround(heightMm * 100))));
  svg.setViewBox(QRectF(0, 0, pages->MarkWidth, pages->MarkHeight));
  svg.setTitle(QStringLiteral("markedit"));
  QPainter painter(&svg);
  if (!painter.isActive()) return false;
  pages->Paint(pages->Context, page, &painter);
  return true;
}

__attribute__((visibility("default"))) bool markedit_exceeds_page(const MarkeditPages* pages) {
  QPrinter printer(QPrinter::ScreenResolution);
  SetUp(printer);
  return Exceeds(*pages, printer);
}

__attribute__((visibility("default"))) void markedit_preview(const MarkeditPages* pages, QWidget* parent) {
  QPrinter printer(QPrinter::ScreenResolution);
  SetUp(printer);
  QPrintPreviewDialog preview(&printer, parent);
  preview.setWindowTitle(Texts::tr("Print preview"));
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [pages](QPrinter* target) { PaintOnPrinter(*pages, *target); });
  preview.exec();
}

__attribute__((visibility("default"))) int markedit_print(const MarkeditPages* pages, QWidget* parent) {
  QPrinter printer(QPrinter::ScreenResolution);
  SetUp(printer);
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(Texts::tr("Print"));
  if (dialog.exec() != QDialog::Accepted) return 0;
  SetUp(printer);
  return PaintOnPrinter(*pages, printer) ? 2 : 1;
}

__attribute__((visibility("default"))) void* markedit_svg_open(const char* data, long long size, double* width,
                                                               double* height) {
  auto* renderer = new QSvgRenderer(QByteArray(data, static_cast<qsizetype>(size)));
  if (!renderer->isValid()) {
    delete renderer;
    return nullptr;
  }
  const QRectF box = renderer->viewBoxF();
  *width = box.width();
  *height = box.height();
  return renderer;
}

__attribute__((visibility("default"))) void markedit_svg_render(void* svg, QPainter* painter, double x, double y,
                                                                double width, double height) {
  static_cast<QSvgRenderer*>(svg)->render(painter, QRectF(x, y, width, height));
}

__attribute__((visibility("default"))) void markedit_svg_close(void* svg) { delete static_cast<QSvgRenderer*>(svg); }

}  // extern "C"
