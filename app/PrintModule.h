#pragma once
// Previews, printing and SVG stencils go through the program's print module (libmarkedit-print.so
// beside the program, app/printsupport), loaded the first time one is asked for: the printer and SVG
// libraries stay out of every start of the program. Each raises Exception when the module cannot
// be loaded.

class QIODevice;
class QWidget;
class TMarkOutput;

// Shows the print preview; when the mark is larger than the page the clerk is told first that it
// is scaled down to fit.
void PreviewMarks(QWidget* parent, const TMarkOutput& output, double widthMm);
// The system's print dialog, then the pages, each mark centred at real size on the printer's page
// (scaled down, and the clerk told, only when it does not fit). False when the clerk cancelled.
bool PrintMarks(QWidget* parent, const TMarkOutput& output, double widthMm);
// Page `page` as an SVG stencil written into `device`.
void WriteSvgPage(const TMarkOutput& output, int page, double widthMm, QIODevice& device);
// Lets pictures in marks draw SVG through the module, loaded when the first one is drawn.
void UseModuleForSvgPictures();
