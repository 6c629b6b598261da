#include "mark/BarcodeSymbol.h"

#include <dlfcn.h>
#include <zint.h>

#include <cstring>
#include <mutex>

#include "platform/rtl/Texts.h"
#include "platform/rtl/Tr.h"

namespace {

// Why a barcode cannot be made, as the stage and the output say it.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Barcode)
};

}  // namespace


namespace {

// libzint's entry points, looked up once.
struct TZint {
  decltype(&ZBarcode_Create) Create = nullptr;
  decltype(&ZBarcode_Delete) Delete = nullptr;
  decltype(&ZBarcode_Encode_and_Buffer_Vector) Encode = nullptr;
  std::string Missing;  // why it cannot be used

  static const TZint& Get() {
    static const TZint zint = [] {
      TZint z;
      void* library = dlopen("libzint.so.2.11", RTLD_NOW | RTLD_LOCAL);
      if (!library) library = dlopen("libzint.so", RTLD_NOW | RTLD_LOCAL);
      if (!library) {
        z.Missing = Tr(Texts::tr("The barcode library libzint is not installed (Debian's package libzint2.11)"));
        return z;
      }
      z.Create = reinterpret_cast<decltype(z.Create)>(dlsym(library, "ZBarcode_Create"));
      z.Delete = reinterpret_cast<decltype(z.Delete)>(dlsym(library, "ZBarcode_Delete"));
      z.Encode = reinterpret_cast<decltype(z.Encode)>(dlsym(library, "ZBarcode_Encode_and_Buffer_Vector"));
      if (!z.Create || !z.Delete || !z.Encode) z.Missing = Tr(Texts::tr("The barcode library libzint is of another version"));
      return z;
    }();
    return zint;
  }
};

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// Digits of a fixed length with a GS1 check digit at the end, given whole or one short. Sets
// `error`, or leaves `data` whole.
void CheckDigits(std::string& data, size_t length, const std::string& name, std::string& error) {
  if (!AllDigits(data)) {
    error = Tr(Texts::tr("%1 takes digits only"), name);
    return;
  }
  if (data.size() == length - 1) {
    data += Gs1CheckDigit(data);
    return;
  }
  if (data.size() != length) {
    error = Tr(Texts::tr("%1 takes %2 or %3 digits; this has %4"), name, std::to_string(length - 1), std::to_string(length),
               std::to_string(data.size()));
    return;
  }
  const char expected = Gs1CheckDigit(data.substr(0, length - 1));
  if (data.back() != expected)
    error = Tr(Texts::tr("The check digit of %1 is wrong: the last digit is %2 and should be %3"), name,
               std::string(1, data.back()), std::string(1, expected));
}

int Symbology(TBarcodeKind kind) {
  switch (kind) {
    case bcCode128: return BARCODE_CODE128;
    case bcGS1_128: return BARCODE_GS1_128;
    case bcITF14: return BARCODE_ITF14;
    case bcEAN13: return BARCODE_EANX;
    case bcUPCA: return BARCODE_UPCA;
    case bcQRCode: return BARCODE_QRCODE;
    case bcGS1DataMatrix: return BARCODE_DATAMATRIX;
  }
  return BARCODE_CODE128;
}

bool IsGs1(TBarcodeKind kind) { return kind == bcGS1_128 || kind == bcGS1DataMatrix; }

std::shared_ptr<TBarcodeSymbol> Failed(std::string error) {
  auto symbol = std::make_shared<TBarcodeSymbol>();
  symbol->Error = std::move(error);
  return symbol;
}

}  // namespace

double MinimumModuleMm(TBarcodeKind kind) { return kind == bcITF14 || kind == bcGS1_128 ? 0.495 : 0.25; }

bool IsMatrixKind(TBarcodeKind kind) { return kind == bcQRCode || kind == bcGS1DataMatrix; }

std::string BarcodeKindName(TBarcodeKind kind) {
  static const char* const names[] = {"Code 128", "GS1-128", "ITF-14", "EAN-13", "UPC-A", "QR Code", "GS1 DataMatrix"};
  return names[static_cast<int>(kind)];
}

char Gs1CheckDigit(const std::string& digits) {
  int sum = 0;
  // From the right, the digits weigh 3, 1, 3, 1 …
  for (size_t i = 0; i < digits.size(); ++i) {
    const int digit = digits[digits.size() - 1 - i] - '0';
    sum += digit * (i % 2 == 0 ? 3 : 1);
  }
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string SampleBarcodeData(TBarcodeKind kind) {
  const std::string gtin = "0471234567890";
  switch (kind) {
    case bcCode128: return "CODE128";
    case bcGS1_128:
    case bcGS1DataMatrix: return "(01)" + gtin + Gs1CheckDigit(gtin);
    case bcITF14: return gtin;
    case bcEAN13: return gtin.substr(1);
    case bcUPCA: return gtin.substr(2);
    case bcQRCode: return "markedit";
  }
  return "";
}

std::shared_ptr<const TBarcodeSymbol> EncodeBarcode(TBarcodeKind kind, const std::string& data, bool showText) {
  std::string text = data;
  std::string error;
  if (text.empty()) return Failed(Tr(Texts::tr("There is no barcode data")));
  if (!IsMatrixKind(kind) && !IsAscii(text))
    return Failed(Tr(Texts::tr("%1 takes ASCII characters only (English letters, digits and signs)"), BarcodeKindName(kind)));
  if (!IsUtf8(text)) return Failed(Tr(Texts::tr("The barcode data is no proper text")));
  if (kind == bcEAN13) CheckDigits(text, 13, "EAN-13", error);
  if (kind == bcUPCA) CheckDigits(text, 12, "UPC-A", error);
  if (kind == bcITF14) {
    CheckDigits(text, 14, "ITF-14", error);
    if (error.empty()) text.pop_back();  // libzint adds the check digit itself
  }
  if (!error.empty()) return Failed(error);

  const TZint& zint = TZint::Get();
  if (!zint.Missing.empty()) return Failed(zint.Missing);
  zint_symbol* symbol = zint.Create();
  if (!symbol) return Failed(Tr(Texts::tr("Not enough memory to make the barcode")));
  symbol->symbology = Symbology(kind);
  symbol->scale = 0.5f;  // one unit of the geometry to one module
  symbol->show_hrt = showText ? 1 : 0;
  // The quiet zones each symbology needs are part of the symbol: the box may stand close to
  // anything else on the carton.
  symbol->output_options |= BARCODE_QUIET_ZONES;
  // A warning (a bad GS1 check digit, data against the standard) is an error on a carton.
  symbol->warn_level = WARN_FAIL_ALL;
  symbol->input_mode = IsGs1(kind) ? (GS1_MODE | GS1PARENS_MODE) : kind == bcQRCode ? UNICODE_MODE : DATA_MODE;
  if (kind == bcQRCode && !IsAscii(text)) symbol->eci = 26;  // UTF-8
  const int result = zint.Encode(symbol, reinterpret_cast<const unsigned char*>(text.data()),
                                 static_cast<int>(text.size()), 0);
  std::shared_ptr<TBarcodeSymbol> out;
  if (result >= ZINT_ERROR || !symbol->vector) {
    out = Failed(symbol->errtxt[0] ? std::string(symbol->errtxt) : Tr(Texts::tr("The barcode cannot be made")));
  } else {
    out = std::make_shared<TBarcodeSymbol>();
    out->Width = symbol->vector->width;
    out->Height = symbol->vector->height;
    for (const zint_vector_rect* r = symbol->vector->rectangles; r; r = r->next)
      if (r->colour == -1) out->Bars.emplace_back(r->x, r->y, r->width, r->height);
    for (const zint_vector_string* s = symbol->vector->strings; s; s = s->next)
      out->Texts.push_back({QPointF(s->x, s->y), s->fsize, s->halign, std::string(reinterpret_cast<const char*>(s->text))});
  }
  zint.Delete(symbol);
  return out;
}
