#pragma once
// What an output of marks checks before it writes anything, element by element of one side's
// stage: placeholders the shipment's rows cannot fill (a warning: they print as typed), barcodes
// whose data does not encode for a row (an error: nothing is written), and barcodes printed
// narrower than a carton scanner reads, pictures that cannot be drawn, and what a stencil cannot
// cut (warnings).

#include <string>
#include <vector>

class TFields;
class TWinControl;

// Warnings for the placeholders in captions and barcode data on `stage` that the rows' `fields`
// cannot fill, once for each element and placeholder. `side` names the side ("正嘜").
void CheckPlaceholders(const std::string& side, TWinControl* stage, const TFields& fields,
                       std::vector<std::string>& warnings);

// Whether `stage` holds a barcode.
bool HasBarcodes(TWinControl* stage);

// Raises Exception when a barcode on `stage` cannot be encoded for the row the stage shows now;
// `row` names that row for the clerk ("第 3 列（PACKING單號 …、產品編號 …）"), empty without rows.
void CheckBarcodes(const std::string& side, TWinControl* stage, const std::string& row);

// Warnings for the barcodes and pictures on `stage` in a mark `widthMm` wide: a module below its
// symbology's minimum for cartons, a picture that cannot be drawn (it prints as a crossed box),
// and, for a stencil, that a barcode or a raster picture cannot be cut.
void ElementWarnings(const std::string& side, TWinControl* stage, double widthMm, bool stencil,
                     std::vector<std::string>& warnings);
