#pragma once
// Marks on the printer: each page's mark centred at real size on the printer's page, and scaled
// down, proportions kept, only when it does not fit there.

class QPrinter;
class QWidget;
class TMarkOutput;

// Paints every page of `output` on `printer`, whose resolution must be the screen's 96 dpi (text
// is laid out as on the screen). True when the mark had to be scaled down to fit the page.
bool PaintOnPrinter(const TMarkOutput& output, QPrinter& printer, double widthMm);
// Whether a mark `widthMm` wide is larger than the printable area of `printer`'s page.
bool MarkExceedsPage(const QPrinter& printer, double widthMm);
// A printer set up for marks: 96 dpi, the system's default page.
void SetUpPrinter(QPrinter& printer);

// Shows the print preview of `output` over `parent`; the clerk prints from it or closes it.
void PreviewMarks(QWidget* parent, const TMarkOutput& output, double widthMm);
// Asks for a printer with the system's print dialog and prints; false when the clerk cancelled.
bool PrintMarks(QWidget* parent, const TMarkOutput& output, double widthMm);
