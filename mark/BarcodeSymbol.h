#pragma once
// Barcode symbols encoded by libzint, loaded when the first symbol is encoded (a start of the
// program that shows no barcode never loads it). A symbol comes back as geometry in modules (one
// unit is one narrow bar): the dark rectangles, the human-readable texts, and the size with the
// quiet zones the symbology requires, to be drawn by the caller at any scale.
//
// Before libzint sees the data, it is checked as a carton code must be: linear codes take ASCII
// only; EAN-13, UPC-A and ITF-14 take digits, compute the check digit when the data is one digit
// short and refuse a wrong one; GS1 data (GS1-128, GS1 DataMatrix, with its application
// identifiers in parentheses) is checked by GS1's rules, check digits of (00), (01) and (02)
// included. QR codes carry any text as UTF-8, with the ECI that says so.

#include <memory>
#include <string>
#include <vector>

#include <QPointF>
#include <QRectF>

#include "platform/rtl/TypInfo.h"

ENUMERATION(TBarcodeKind, bcCode128, bcGS1_128, bcITF14, bcEAN13, bcUPCA, bcQRCode, bcGS1DataMatrix)

// The smallest module a symbology may print with on a carton, in millimetres: GS1's logistics
// minimum for ITF-14 and GS1-128, 0.25 mm for the others.
double MinimumModuleMm(TBarcodeKind kind);
// Whether the kind is a two-dimensional symbol, drawn square.
bool IsMatrixKind(TBarcodeKind kind);
// The symbology's name as a clerk reads it ("Code 128", "EAN-13" …).
std::string BarcodeKindName(TBarcodeKind kind);

struct TBarcodeText {
  QPointF At;         // the baseline's anchor
  double Size = 0;    // the font's size
  int Align = 0;      // 0 centred on At, 1 starting at At, 2 ending at At
  std::string Chars;
};

struct TBarcodeSymbol {
  std::string Error;  // why the data cannot be encoded; empty for a symbol
  double Width = 0;   // in modules, quiet zones and texts included
  double Height = 0;
  std::vector<QRectF> Bars;
  std::vector<TBarcodeText> Texts;
};

// Encodes `data` as a `kind` symbol, with its human-readable text under a linear code when
// `showText`. Never raises: a failure is the symbol's Error.
std::shared_ptr<const TBarcodeSymbol> EncodeBarcode(TBarcodeKind kind, const std::string& data, bool showText);

// Data of the kind's form that encodes, for showing a symbol's size before any row gives it data.
std::string SampleBarcodeData(TBarcodeKind kind);

// The GS1 check digit of `digits` (the mod-10 of EAN, UPC, ITF-14 and SSCC).
char Gs1CheckDigit(const std::string& digits);
