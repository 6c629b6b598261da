#include "app/MarkChecks.h"

#include <algorithm>
#include <cstdio>

#include "app/MarkOutput.h"
#include "app/Shipments.h"
#include "mark/Barcode.h"
#include "mark/MarkImage.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Label.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Placeholders.h"
#include "platform/rtl/Tr.h"

namespace {

// What the output warns of, and why it refuses.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(MarkChecks)
};

// The text of an element that may hold placeholders: a caption, or a barcode's data.
bool PlaceholderText(TControl* element, std::string& text) {
  if (auto* barcode = dynamic_cast<TBarcode*>(element)) {
    text = barcode->data();
    return true;
  }
  auto* label = dynamic_cast<TCustomLabel*>(element);
  if (!label || dynamic_cast<TDBText*>(label)) return false;
  text = label->Caption();
  return true;
}

std::vector<TBarcode*> Barcodes(TWinControl* stage) {
  std::vector<TBarcode*> barcodes;
  for (int i = 0; i < stage->ControlCount(); ++i)
    if (auto* barcode = dynamic_cast<TBarcode*>(stage->Controls(i))) barcodes.push_back(barcode);
  return barcodes;
}

std::string Millimetres(double mm) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", mm);
  return text;
}

}  // namespace

void CheckPlaceholders(const std::string& side, TWinControl* stage, const TFields& fields,
                       std::vector<std::string>& warnings) {
  for (int i = 0; i < stage->ControlCount(); ++i) {
    TControl* element = stage->Controls(i);
    std::string text;
    if (!PlaceholderText(element, text)) continue;
    std::vector<std::string> said;
    for (const TPlaceholder& p : FindPlaceholders(text)) {
      if (std::find(said.begin(), said.end(), p.Typed) != said.end()) continue;
      std::string problem;
      if (p.Name != "n" && p.Name != "N" && !fields.FindField(p.Name))
        problem = Tr(Texts::tr("is no field of the shipments (%1) and prints as typed"), std::string(kShipmentView));
      else if (!IsPlaceholderFormat(p.Format))
        problem = Tr(Texts::tr("has a format other than decimals such as 0, 0.0, 0.00; the value prints as it is"));
      if (problem.empty()) continue;
      said.push_back(p.Typed);
      warnings.push_back(Tr(Texts::tr("%1, %2: %3 %4."), side, element->Name(), p.Typed, problem));
    }
  }
}

bool HasBarcodes(TWinControl* stage) { return !Barcodes(stage).empty(); }

void CheckBarcodes(const std::string& side, TWinControl* stage, const std::string& row) {
  for (TBarcode* barcode : Barcodes(stage)) {
    // Without rows, data waiting for one shows a sample, as in design mode: nothing to encode.
    if (row.empty() && barcode->NeedsRow()) continue;
    const std::string data = barcode->ShownData();
    const std::string& error = barcode->Symbol(data)->Error;
    if (error.empty()) continue;
    const std::string what = Tr(Texts::tr("The barcode %2 of the %1 (%3, data \"%4\") cannot be made: %5. Nothing was output."),
                                side, barcode->Name(), BarcodeKindName(barcode->symbology()), data, error);
    throw Exception(row.empty() ? what : Tr(Texts::tr("%1: %2"), row, what));
  }
}

void ElementWarnings(const std::string& side, TWinControl* stage, double widthMm, bool stencil,
                     std::vector<std::string>& warnings) {
  for (int i = 0; i < stage->ControlCount(); ++i) {
    auto* image = dynamic_cast<TMarkImage*>(stage->Controls(i));
    if (!image) continue;
    if (!image->Problem().empty())
      warnings.push_back(Tr(Texts::tr("The picture %2 of the %1 cannot be shown (%3); it prints as a crossed box."), side, image->Name(), image->Problem()));
    else if (stencil && image->IsRaster())
      warnings.push_back(Tr(Texts::tr("The picture %2 of the %1 is a bitmap: it goes into the SVG stencil as a picture, which a cutter cannot cut."), side, image->Name()));
  }
  for (TBarcode* barcode : Barcodes(stage)) {
    const std::string name = Tr(Texts::tr("The barcode %2 of the %1 (%3)"), side, barcode->Name(), BarcodeKindName(barcode->symbology()));
    if (stencil) warnings.push_back(Tr(Texts::tr("%1 cannot be cut as a stencil: what lies between its bars falls out."), name));
    const auto symbol = barcode->ShownSymbol();
    if (!symbol->Error.empty()) continue;
    const double module = barcode->ModulePixels(*symbol) * widthMm / kMarkWidth;
    const double minimum = MinimumModuleMm(barcode->symbology());
    if (module < minimum)
      warnings.push_back(Tr(Texts::tr("On a mark %2 mm wide, the thinnest bar of %1 is only %3 mm, below the %4 mm cartons "
                                      "need: scanners may not read it."),
                            name, Millimetres(widthMm), Millimetres(module), Millimetres(minimum)));
  }
}
