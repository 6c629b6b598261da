#pragma once
// Marks as cartons carry them: pages at real size, one per shipment row and side, painted by the
// elements' own paint code onto whatever device the output goes to (a PDF, an SVG stencil, a PNG
// image, a printer).
//
// A mark is the stage's design extent, 400 x 249 stage pixels, whatever the editor window's size;
// by default one stage pixel is 0.5 mm (a mark 200 mm wide). Text is laid out at the screen's 96 dpi
// and then scaled with everything else, so lines break where the clerk saw them break. On every
// page each data text shows its field's value in that page's row (a data text linked to no field
// shows nothing), and "{n}" and "{N}" in a label's caption become the row's position and the number
// of rows, "{name}" the row's value of the field (Label.h). Without a shipment there is one page per side, showing the design as the stage shows
// it in design mode.

#include <QSizeF>

#include <memory>
#include <string>
#include <vector>

class QPainter;

inline constexpr int kMarkWidth = 400;   // stage pixels
inline constexpr int kMarkHeight = 249;
inline constexpr double kDefaultMarkWidthMm = 200;
inline constexpr double kMinMarkWidthMm = 10;
inline constexpr double kMaxMarkWidthMm = 5000;

enum class TMarkSides { Main, Side, Both };

// The sides to output, in page order, as the mark table keys them: "0" the main mark, "1" the side.
std::vector<std::string> MarkSideKeys(TMarkSides sides);

// One side's design: "0" the main mark, "1" the side mark, and the stage's design stream.
struct TMarkDesign {
  std::string Side;
  std::string Stream;
};

class TMarkOutput {
 public:
  // Loads the designs (read as stored marks are read) and, given a shipment, its rows. Raises
  // Exception with a message for the clerk when the shipment has no rows, a data text names a
  // field the view no longer has, a barcode's data does not encode for some row (the message names
  // the row, the element and why), or the database cannot be read; EReadError or EReadRefused for
  // a design that cannot be read.
  TMarkOutput(const std::vector<TMarkDesign>& designs, const std::string& customerId, const std::string& bill);
  ~TMarkOutput();
  TMarkOutput(const TMarkOutput&) = delete;
  TMarkOutput& operator=(const TMarkOutput&) = delete;

  // What the clerk should know before the pages of a mark `widthMm` wide are written (as a
  // stencil, when `stencil`), one message each: placeholders the shipment's rows cannot fill,
  // barcodes printed narrower than a scanner reads on a carton, pictures that cannot be drawn,
  // barcodes and raster pictures in a stencil.
  std::vector<std::string> Warnings(double widthMm, bool stencil) const;

  // Rows times sides: for each row, the main mark, then the side mark.
  int PageCount() const;
  // Paints page `index` with its top-left corner at the painter's origin, one stage pixel to one
  // unit of the painter's coordinates; the caller scales. `background` paints the mark's white.
  void PaintPage(int index, QPainter& painter, bool background) const;

 private:
  void CheckBarcodes() const;
  // Moves the rows, and the stages' row numbers, to `row` (from 1).
  void ShowRow(int row) const;

  struct Pages;
  std::unique_ptr<Pages> pages_;
};

// Warnings, one paragraph each, under a line that says the output goes on.
std::string JoinedWarnings(const std::vector<std::string>& warnings);

// The size of a mark `widthMm` wide, in millimetres.
QSizeF MarkSizeMm(double widthMm);
// Raises Exception unless `widthMm` is a width a mark may have.
void CheckMarkWidth(double widthMm);

// Output files. Each is written beside its place under a temporary name and renamed into place
// once complete, so a failure leaves no partial file. SVG and PNG hold one page each: more pages
// go to numbered files ("name-001.svg", ...), all of them or none. Raise Exception on failure.
void WritePdf(const TMarkOutput& output, const std::string& file, double widthMm);
void WriteSvg(const TMarkOutput& output, const std::string& file, double widthMm);
void WritePng(const TMarkOutput& output, const std::string& file, double widthMm, int dpi);
// By the file's extension: .pdf, .svg or .png (at `dpi`).
void WriteMarkFile(const TMarkOutput& output, const std::string& file, double widthMm, int dpi = 300);
// Whether `file` names a kind WriteMarkFile writes (.pdf, .svg, .png), and the message when not.
bool IsMarkFileName(const std::string& file);
std::string UnknownMarkFileKind(const std::string& file);
