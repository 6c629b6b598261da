#pragma once
// The barcode element: a symbol (BarcodeSymbol.h) of the data it is given, scaled into its box. The
// data may hold the placeholders a caption holds ("{產品編號}", "(01){GTIN}(10){出口文件單號}"),
// filled from the row its parent shows. Linear codes fill the box; matrix codes stay square in its
// middle. On a raster device (the screen, a PNG) the bars' edges fall on whole device pixels; on
// PDF, SVG and printers the bars stay exact vectors.
//
// Data that cannot be encoded draws a hatched box with the reason. Without a row, data holding
// placeholders shows the size of a symbol of the kind in grey, with the data as typed under it.

#include <map>
#include <memory>
#include <string>

#include "mark/BarcodeSymbol.h"
#include "platform/controls/GraphicControl.h"

class TBarcode : public TGraphicControl {
  DECLARE_CLASS(TBarcode)

 public:
  // A Code 128 of "{產品編號}" in a box of 160 x 64, its text shown.
  void Create(TComponent* owner) override;

  TBarcodeKind symbology() const { return kind_; }
  void Setsymbology(TBarcodeKind v);
  const std::string& data() const { return data_; }
  void Setdata(const std::string& v);
  // The human-readable text under a linear code.
  bool showtext() const { return showText_; }
  void Setshowtext(bool v);

  // The data for the row shown (placeholders filled), or as typed without one.
  std::string ShownData() const;
  // Whether the data waits for a row to be filled in.
  bool NeedsRow() const;
  // The symbol of `data` (remembered until the element's kind or text setting changes).
  std::shared_ptr<const TBarcodeSymbol> Symbol(const std::string& data) const;
  // The symbol the element draws now: of the row's data, or the kind's sample while the data
  // waits for a row (then `sample`, when given, is set).
  std::shared_ptr<const TBarcodeSymbol> ShownSymbol(bool* sample = nullptr) const;
  // A module's width in stage pixels for `symbol` drawn in this box.
  double ModulePixels(const TBarcodeSymbol& symbol) const;

 protected:
  void Paint() override;

 private:
  void Changed();
  void PaintProblem(const std::string& reason);

  TBarcodeKind kind_ = bcCode128;
  std::string data_;
  bool showText_ = true;
  mutable std::map<std::string, std::shared_ptr<const TBarcodeSymbol>> symbols_;
};
