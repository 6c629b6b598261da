// Barcodes as a scanner reads them: every symbology printed to PDF for the rows of a shipment,
// rendered back at 300 dpi and decoded, gives each row's data; the stage's own picture decodes at
// 2x; bad data in one row of many writes nothing and names that row.

#include <ZXing/ReadBarcode.h>

#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <string>
#include <vector>

#include "app/MarkOutput.h"
#include "mark/Barcode.h"
#include "tests/app/MarkEditorFixture.h"

namespace marks_test {
namespace {

struct Read {
  std::string Text;
  std::string Identifier;
};

Read Decode(const QImage& picture) {
  const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
  ZXing::DecodeHints hints;
  hints.setTryHarder(true);
  const ZXing::Result result = ZXing::ReadBarcode(
      ZXing::ImageView(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum, grey.bytesPerLine()), hints);
  if (!result.isValid()) return {};
  return {result.text(), result.symbologyIdentifier()};
}

class BarcodeTest : public MarkEditorTest {
 protected:
  TBarcode* Place(Tfmmd* editor, TBarcodeKind kind, const std::string& data, const TRect& box) {
    auto* barcode = New<TBarcode>(editor);
    barcode->SetName("Code" + std::to_string(++placed_));
    barcode->Setsymbology(kind);
    barcode->Setdata(data);
    barcode->SetParent(editor->DsnStage1);
    barcode->SetBounds(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top);
    return barcode;
  }
  int placed_ = 0;
};

TEST_F(BarcodeTest, EverySymbologyPrintedForEachRowScansAsThatRowsData) {
  Start();
  Tfmmd* side = Editor("1");  // the editor in front: its stage shows on the screen
  ASSERT_TRUE(side);
  const std::string gtin = std::string("0471234567890") + Gs1CheckDigit("0471234567890");
  struct Case {
    TBarcodeKind kind;
    std::string data;
    TRect box;
    std::string identifier;
    std::vector<std::string> expected;  // row by row: LP-200, TB-100, TB-120
  };
  const auto whole = [](const std::string& digits) { return digits + Gs1CheckDigit(digits); };
  const std::vector<Case> cases = {
      {bcCode128, "{產品編號}", {4, 4, 132, 80}, "]C0", {"LP-200", "TB-100", "TB-120"}},
      {bcGS1_128, "(01)" + gtin + "(10){產品編號}", {136, 4, 396, 80}, "]C1",
       {"01" + gtin + "10LP-200", "01" + gtin + "10TB-100", "01" + gtin + "10TB-120"}},
      {bcITF14, "047123456789{n}", {4, 86, 196, 160}, "]I1", {whole("0471234567891"), whole("0471234567892"), whole("0471234567893")}},
      {bcEAN13, "47123456789{n}", {200, 86, 330, 160}, "]E0", {whole("471234567891"), whole("471234567892"), whole("471234567893")}},
      {bcUPCA, "0360002914{n}", {4, 166, 134, 245}, "]E0", {whole("03600029141"), whole("03600029142"), whole("03600029143")}},
      {bcQRCode, "{出口文件單號} {產品編號} {n}/{N} 台灣", {140, 166, 220, 245}, "]Q1",
       {"EX2401001 LP-200 1/3 台灣", "EX2401001 TB-100 2/3 台灣", "EX2401001 TB-120 3/3 台灣"}},
      {bcGS1DataMatrix, "(01)" + gtin + "(21){n}", {240, 166, 320, 245}, "]d2",
       {"01" + gtin + "211", "01" + gtin + "212", "01" + gtin + "213"}},
  };
  for (const Case& c : cases) Place(side, c.kind, c.data, c.box);

  TMarkOutput output({{"1", side->CurrentDesign()}}, "C001", "EX2401001");
  ASSERT_EQ(output.PageCount(), 3);
  QTemporaryDir dir;
  const QString pdf = dir.filePath("codes.pdf");
  WritePdf(output, pdf.toStdString(), kDefaultMarkWidthMm);
  QProcess render;
  render.start("pdftoppm", {"-r", "300", "-gray", "-png", pdf, dir.filePath("page")});
  ASSERT_TRUE(render.waitForFinished(60000));
  ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
  // 200 mm over 400 stage pixels at 300 dpi: 300 / 25.4 / 2 page pixels per stage pixel.
  const double scale = 300 / 25.4 / 2;
  for (int page = 1; page <= 3; ++page) {
    const QImage picture(dir.filePath(QString("page-%1.png").arg(page)));
    ASSERT_FALSE(picture.isNull());
    for (const Case& c : cases) {
      const QRect box(int(c.box.Left * scale) - 20, int(c.box.Top * scale) - 20,
                      int((c.box.Right - c.box.Left) * scale) + 40, int((c.box.Bottom - c.box.Top) * scale) + 40);
      const Read read = Decode(picture.copy(box));
      EXPECT_EQ(read.Text, c.expected[page - 1]) << BarcodeKindName(c.kind) << " on page " << page;
      EXPECT_EQ(read.Identifier, c.identifier) << BarcodeKindName(c.kind);
    }
  }

  // The stage with live values of row 2, as the screen shows it (CTest runs this once more on a
  // screen of twice the pixels, QT_SCALE_FACTOR=2).
  side->ChooseRow("EX2401001", 2);
  Settle();
  // At 1x, what the window shows, read back from the screen: the painting the stage gets inside
  // the window, at its offset there. The headless screen at 2x is too small for the whole stage:
  // there the stage is drawn for a picture of the screen's pixel ratio.
  QWidget* stage = WindowWidget(side->DsnStage1->Handle());
  const double ratio = stage->devicePixelRatioF();
  EXPECT_EQ(ratio, qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() : 1.0);
  const QPoint at = stage->mapTo(stage->window(), QPoint(0, 0));
  const QPixmap shown = ratio == 1 ? stage->screen()->grabWindow(stage->window()->winId(), at.x(), at.y(), stage->width(),
                                                                 stage->height())
                                   : stage->grab();
  const QImage screen = shown.toImage();
  for (const Case& c : cases) {
    const QRect box(int((c.box.Left - 2) * ratio), int((c.box.Top - 2) * ratio), int((c.box.Right - c.box.Left + 4) * ratio),
                    int((c.box.Bottom - c.box.Top + 4) * ratio));
    EXPECT_EQ(Decode(screen.copy(box)).Text, c.expected[1]) << BarcodeKindName(c.kind) << " on the stage at " << ratio;
  }
}

TEST_F(BarcodeTest, BadDataInOneRowWritesNothingAndNamesTheRowAndNarrowCodesAreSaid) {
  // A shipment of 1,000 rows whose 700th product number has a letter: no EAN-13 can carry it.
  Start();
  Exec("insert into TRABILLMAIN (SBILL1NO, SYSTEMNO, FLAG) values ('EXMANY', 6, 5)");
  Exec("insert into INVENTORYMAIN (INVENTORYNO, SBILL1NO, FACTID) values ('IVMANY', 'EXMANY', 'C001')");
  Exec("with recursive g(n) as (select 1 union all select n + 1 from g where n < 1000)"
       " insert into TRAPACKINGSUB (SHIPPINGBILLNO, ITEMNO, INVENTORYBILL1NO, PRODUCTID)"
       " select printf('PK%04d', n), 1, 'EXMANY', case n when 700 then '47123456X890' else printf('47123456%04d', n) end"
       " from g");
  Tfmmd* main = Editor("0");
  Place(main, bcEAN13, "{產品編號}", {20, 20, 200, 120});
  const std::string design = main->CurrentDesign();
  try {
    TMarkOutput output({{"0", design}}, "C001", "EXMANY");
    FAIL() << "the run was not refused";
  } catch (const std::exception& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("第 700 列（PACKING單號 PK0700、產品編號 47123456X890）"), std::string::npos) << message;
    EXPECT_NE(message.find("Code1"), std::string::npos) << message;
  }

  // Good data, printed small: on a mark 100 mm wide the EAN-13's modules are 0.4 mm (enough), the
  // ITF-14's 0.27 mm (below its 0.495 mm); a stencil cannot cut either.
  Place(main, bcITF14, "0471234567890", {210, 20, 390, 120});
  TMarkOutput output({{"0", main->CurrentDesign()}}, "C001", "");
  EXPECT_TRUE(output.Warnings(200, false).empty());
  const std::vector<std::string> narrow = output.Warnings(100, false);
  ASSERT_EQ(narrow.size(), 1u);
  EXPECT_NE(narrow[0].find("Code2（ITF-14）"), std::string::npos) << narrow[0];
  EXPECT_EQ(output.Warnings(200, true).size(), 2u) << "both barcodes named for the stencil";
}

}  // namespace
}  // namespace marks_test
