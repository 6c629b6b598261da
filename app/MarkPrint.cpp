#include "app/MarkPrint.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>

#include "app/MarkOutput.h"
#include "app/UPub.h"

namespace {

constexpr double kDpi = 96;

QSizeF MarkSizeDots(double widthMm) {
  const QSizeF mm = MarkSizeMm(widthMm);
  return {mm.width() / 25.4 * kDpi, mm.height() / 25.4 * kDpi};
}

const char* kScaledDown = "嘜頭比紙張的可列印範圍大，已依比例縮小到紙張大小。";

}  // namespace

void SetUpPrinter(QPrinter& printer) {
  printer.setResolution(static_cast<int>(kDpi));
  printer.setFullPage(false);
}

bool MarkExceedsPage(const QPrinter& printer, double widthMm) {
  const QSizeF mark = MarkSizeDots(widthMm);
  const QRectF page = printer.pageRect(QPrinter::DevicePixel);
  return mark.width() > page.width() + 0.5 || mark.height() > page.height() + 0.5;
}

bool PaintOnPrinter(const TMarkOutput& output, QPrinter& printer, double widthMm) {
  QPainter painter(&printer);
  if (!painter.isActive()) return false;
  // The painter's origin is the printable area's top-left corner.
  const QRectF page(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
  const QSizeF mark = MarkSizeDots(widthMm);
  const double fit = std::min({1.0, page.width() / mark.width(), page.height() / mark.height()});
  const double scale = mark.width() * fit / kMarkWidth;
  const QPointF origin((page.width() - mark.width() * fit) / 2, (page.height() - mark.height() * fit) / 2);
  for (int i = 0; i < output.PageCount(); ++i) {
    if (i > 0) printer.newPage();
    painter.save();
    painter.translate(origin);
    painter.scale(scale, scale);
    output.PaintPage(i, painter, false);
    painter.restore();
  }
  return fit < 1.0;
}

void PreviewMarks(QWidget* parent, const TMarkOutput& output, double widthMm) {
  QPrinter printer(QPrinter::ScreenResolution);
  SetUpPrinter(printer);
  if (MarkExceedsPage(printer, widthMm)) ShowWarning(kScaledDown);
  QPrintPreviewDialog preview(&printer, parent);
  preview.setWindowTitle(QStringLiteral("預覽列印"));
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&](QPrinter* target) { PaintOnPrinter(output, *target, widthMm); });
  preview.exec();
}

bool PrintMarks(QWidget* parent, const TMarkOutput& output, double widthMm) {
  QPrinter printer(QPrinter::ScreenResolution);
  SetUpPrinter(printer);
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("列印"));
  if (dialog.exec() != QDialog::Accepted) return false;
  SetUpPrinter(printer);
  if (PaintOnPrinter(output, printer, widthMm)) ShowWarning(kScaledDown);
  return true;
}
