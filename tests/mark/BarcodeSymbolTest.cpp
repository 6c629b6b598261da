// What a barcode refuses before anything is printed, and what it accepts: check digits computed
// or checked, GS1 data checked by its rules, ASCII in linear codes, Chinese in a QR code.

#include "mark/BarcodeSymbol.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Error(TBarcodeKind kind, const std::string& data) { return EncodeBarcode(kind, data, true)->Error; }

TEST(BarcodeSymbol, BadDataIsRefusedWithItsReasonAndGoodDataEncodes) {
  const std::string gtin = "0471234567890";
  const std::string whole = gtin + Gs1CheckDigit(gtin);
  const std::string wrong = gtin + static_cast<char>('0' + (whole.back() - '0' + 1) % 10);

  // Check digits: one digit short computes it, a wrong one is an error.
  EXPECT_EQ(Error(bcEAN13, whole.substr(1)), "");
  EXPECT_EQ(Error(bcEAN13, whole.substr(1, 12)), "");
  EXPECT_NE(Error(bcEAN13, wrong.substr(1)).find("check digit"), std::string::npos);
  EXPECT_NE(Error(bcEAN13, "47123456X890").find("digits only"), std::string::npos);
  EXPECT_NE(Error(bcEAN13, "4712345").find("12 or 13 digits"), std::string::npos);
  EXPECT_EQ(Error(bcITF14, whole), "");
  EXPECT_NE(Error(bcITF14, wrong).find("check digit"), std::string::npos);
  EXPECT_EQ(Error(bcUPCA, "03600029145"), "");
  EXPECT_NE(Error(bcUPCA, "036000291453").find("check digit"), std::string::npos);

  // GS1: the application identifiers, their lengths and the check digits of (00), (01), (02).
  EXPECT_EQ(Error(bcGS1_128, "(01)" + whole + "(10)LP-200"), "");
  EXPECT_NE(Error(bcGS1_128, "(01)" + wrong), "");
  EXPECT_NE(Error(bcGS1_128, "(00)123456789012345670"), "");
  EXPECT_NE(Error(bcGS1DataMatrix, "(02)" + wrong + "(37)12"), "");
  EXPECT_NE(Error(bcGS1_128, "(01)123"), "");
  EXPECT_NE(Error(bcGS1_128, "(99"), "");
  EXPECT_NE(Error(bcGS1_128, "LP-200"), "") << "GS1 data begins with an identifier";

  // Linear codes are ASCII only; a QR code takes Chinese; too much data is an error.
  EXPECT_NE(Error(bcCode128, "台灣").find("ASCII"), std::string::npos);
  EXPECT_EQ(Error(bcQRCode, "出口 TB-100 台灣"), "");
  EXPECT_NE(Error(bcCode128, std::string(200, 'A')), "");
  EXPECT_NE(Error(bcQRCode, std::string(8000, '9')), "");
  EXPECT_NE(Error(bcCode128, ""), "");
}

}  // namespace
