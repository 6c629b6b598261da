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

namespace {

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
        problem = "不是出貨資料（" + std::string(kShipmentView) + "）的欄位，照原樣印出";
      else if (!IsPlaceholderFormat(p.Format))
        problem = "的格式不是 0、0.0、0.00 這類小數位數，數值照原樣印出";
      if (problem.empty()) continue;
      said.push_back(p.Typed);
      warnings.push_back(side + "的 " + element->Name() + "：" + p.Typed + " " + problem + "。");
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
    throw Exception((row.empty() ? "" : row + "：") + side + "的條碼 " + barcode->Name() + "（" +
                    BarcodeKindName(barcode->symbology()) + "，資料「" + data + "」）無法產生：" + error +
                    "。沒有輸出任何東西。");
  }
}

void ElementWarnings(const std::string& side, TWinControl* stage, double widthMm, bool stencil,
                     std::vector<std::string>& warnings) {
  for (int i = 0; i < stage->ControlCount(); ++i) {
    auto* image = dynamic_cast<TMarkImage*>(stage->Controls(i));
    if (!image) continue;
    if (!image->Problem().empty())
      warnings.push_back(side + "的圖片 " + image->Name() + "無法顯示（" + image->Problem() + "），印出來是打叉的方框。");
    else if (stencil && image->IsRaster())
      warnings.push_back(side + "的圖片 " + image->Name() + "是點陣圖，以圖片放進 SVG 模板，切割機無法切割。");
  }
  for (TBarcode* barcode : Barcodes(stage)) {
    const std::string name = side + "的條碼 " + barcode->Name() + "（" + BarcodeKindName(barcode->symbology()) + "）";
    if (stencil) warnings.push_back(name + "無法做成切割模板：線條之間的部分會脫落。");
    const auto symbol = barcode->ShownSymbol();
    if (!symbol->Error.empty()) continue;
    const double module = barcode->ModulePixels(*symbol) * widthMm / kMarkWidth;
    const double minimum = MinimumModuleMm(barcode->symbology());
    if (module < minimum)
      warnings.push_back(name + "在 " + Millimetres(widthMm) + " mm 寬的嘜頭上，最細的線條只有 " + Millimetres(module) +
                         " mm，小於紙箱條碼的最小值 " + Millimetres(minimum) + " mm，掃描器可能讀不出來。");
  }
}
