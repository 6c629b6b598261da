// Marks on paper and in files, from the designs on the editor's stage: a PDF page rendered back at
// one page pixel per stage pixel, and an SVG stencil drawn back with Qt's SVG renderer, show the
// shape's outline where the stage shows it; the SVG holds no text elements and states its size in
// millimetres.

#include "app/MarkOutput.h"

#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

#include "app/OutputDialog.h"
#include "platform/controls/Menus.h"
#include "platform/controls/ToolBar.h"
#include "platform/rtl/Stream.h"
#include "platform/win/Profile.h"
#include "tests/app/MarkEditorFixture.h"
#include "tests/support/AnswerDialog.h"

namespace marks_test {
namespace {

// Dark pixels of `image` inside `box`.
std::vector<QPoint> Ink(const QImage& image, const QRect& box) {
  std::vector<QPoint> ink;
  for (int y = box.top(); y <= box.bottom(); ++y)
    for (int x = box.left(); x <= box.right(); ++x)
      if (qGray(image.pixel(x, y)) < 128) ink.emplace_back(x, y);
  return ink;
}

// How many dark pixels of `a` inside `box` have no dark pixel of `b` within one pixel.
int Unmatched(const QImage& a, const QImage& b, const QRect& box) {
  int unmatched = 0;
  for (const QPoint& p : Ink(a, box)) {
    bool near = false;
    for (int dy = -1; dy <= 1 && !near; ++dy)
      for (int dx = -1; dx <= 1 && !near; ++dx) {
        const QPoint q = p + QPoint(dx, dy);
        near = b.rect().contains(q) && qGray(b.pixel(q)) < 128;
      }
    unmatched += !near;
  }
  return unmatched;
}

class MarkOutputTest : public MarkEditorTest {
 protected:
  // The side mark's stage with a label numbering the rows, a data text and an ellipse, as the
  // clerk sees it, and its design.
  void DesignSideMark() {
    Start();
    Tfmmd* side = Editor("1");
    ASSERT_TRUE(side);
    TLabel* label = PlaceLabel(side, "C/NO. {n} OF {N}", 20, 20);
    label->SetWidth(200);
    PlaceDBText(side, "產品編號", 20, 60)->SetTransparent(true);
    shape = PlaceShape(side, eclipse, 250, 40);
    shape->SetBounds(250, 40, 120, 100);
    shape->Setpenwidth(3);
    shape->SetTransparent(true);
    // As every element drawn or pasted in the editor, each names the editor's design menu.
    for (int i = 0; i < side->DsnStage1->ControlCount(); ++i) side->DsnStage1->Controls(i)->SetPopupMenu(side->pop);
    Settle();
    stage = WindowWidget(side->DsnStage1->Handle())->grab(QRect(0, 0, kMarkWidth, kMarkHeight)).toImage();
    TMemoryStream stream;
    side->DsnStage1->SaveToStream(stream);
    design = stream.Bytes();
  }

  QRect ShapeBox() const { return QRect(shape->Left(), shape->Top(), shape->Width(), shape->Height()); }

  tshape2* shape = nullptr;
  QImage stage;
  std::string design;
  QTemporaryDir dir;
};

TEST_F(MarkOutputTest, APdfPageRenderedBackShowsTheShapeWhereTheStageShowsIt) {
  DesignSideMark();
  TMarkOutput output({{"1", design}}, "C001", "EX2401001");
  ASSERT_EQ(output.PageCount(), 3);
  const QString pdf = dir.filePath("side.pdf");
  WritePdf(output, pdf.toStdString(), kDefaultMarkWidthMm);

  // 200 mm across 400 stage pixels: 50.8 dots per inch give one page pixel per stage pixel.
  QProcess render;
  render.start("pdftoppm", {"-r", "50.8", "-f", "2", "-l", "2", "-aa", "no", "-aaVector", "no", "-png",
                            "-singlefile", pdf, dir.filePath("page2")});
  ASSERT_TRUE(render.waitForFinished(30000)) << "pdftoppm (poppler-utils) did not run";
  ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
  const QImage page(dir.filePath("page2.png"));
  ASSERT_FALSE(page.isNull());
  EXPECT_LE(std::abs(page.width() - kMarkWidth), 1);
  const QRect box = ShapeBox();
  EXPECT_GT(Ink(stage, box).size(), 200u);
  EXPECT_EQ(Unmatched(stage, page, box), 0) << "the stage's outline is missing on paper";
  EXPECT_EQ(Unmatched(page, stage, box), 0) << "the paper has ink where the stage has none";
}

TEST_F(MarkOutputTest, AnSvgStencilHasOutlinesInPlaceAndNoText) {
  DesignSideMark();
  TMarkOutput output({{"1", design}}, "C001", "");
  ASSERT_EQ(output.PageCount(), 1);
  const QString svg = dir.filePath("side.svg");
  WriteSvg(output, svg.toStdString(), 100);

  QFile file(svg);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_TRUE(text.contains(R"(width="100mm" height="62.25mm")")) << text.left(300).toStdString();
  EXPECT_FALSE(text.contains("<text"));

  QSvgRenderer renderer(svg);
  ASSERT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.viewBoxF(), QRectF(0, 0, kMarkWidth, kMarkHeight));
  QImage drawn(kMarkWidth, kMarkHeight, QImage::Format_RGB32);
  drawn.fill(Qt::white);
  {
    QPainter painter(&drawn);
    renderer.render(&painter);
  }
  const QRect box = ShapeBox();
  EXPECT_EQ(Unmatched(stage, drawn, box), 0);
  EXPECT_EQ(Unmatched(drawn, stage, box), 0);
  // The texts are there as outlines, where the label and the data text stand.
  EXPECT_GT(Ink(drawn, QRect(20, 20, 200, 20)).size(), 30u);
  EXPECT_GT(Ink(drawn, QRect(20, 60, 120, 17)).size(), 30u);
}

// From the side editor's 輸出 drop-down: 匯出 PDF, the shipment chosen and the width changed in the
// output dialog, a file named in the file dialog. The PDF has the rows the clerk chose, the width is
// remembered, and the editor has nothing unsaved.
TEST_F(MarkOutputTest, ExportFromTheEditorsDropDownWritesTheChosenRowsAndRemembersTheWidth) {
  DesignSideMark();
  Tfmmd* side = Editor("1");
  side->SaveMark();
  ASSERT_FALSE(side->Modified());
  const QString file = dir.filePath("from-editor.pdf");
  std::string offered;
  AnswerNextDialog<QDialog>([&](QDialog* dialog) {
    auto* bill = dialog->findChild<QComboBox*>("bill");
    auto* sides = dialog->findChild<QComboBox*>("sides");
    auto* width = dialog->findChild<QDoubleSpinBox*>("width");
    ASSERT_TRUE(bill && sides && width);
    offered = sides->currentText().toStdString();
    bill->setCurrentIndex(bill->findData(QStringLiteral("EX2401001")));
    width->setValue(100);
    AnswerNextDialog<QFileDialog>([&](QFileDialog* files) {
      // Typed into the name box as a clerk does, whole path and all: what the dialog lists of the
      // folder meanwhile (it reads folders in the background) does not matter then.
      auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_TRUE(name);
      name->setText(file);
      static_cast<QDialog*>(files)->accept();  // as the Save button does
    });
    dialog->accept();
  });
  TMenuItem* pdf = dynamic_cast<TMenuItem*>(side->FindComponent("outpdf"));
  ASSERT_TRUE(pdf);
  pdf->Click();
  Settle();
  EXPECT_EQ(offered, "側嘜");
  ASSERT_TRUE(QFile::exists(file)) << "no PDF written; warnings: " << (warnings_.empty() ? "" : warnings_.back());
  QProcess info;
  info.start("pdfinfo", {file});
  ASSERT_TRUE(info.waitForFinished(30000));
  const QString text = QString::fromUtf8(info.readAllStandardOutput());
  EXPECT_TRUE(text.contains(QRegularExpression("Pages:\\s+3\\n"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression("Page size:\\s+283(\\.[0-9]+)? x 176"))) << text.toStdString();
  EXPECT_EQ(RememberedMarkWidthMm(), 100);
  EXPECT_FALSE(side->Modified());
}

// What a clerk could feed the output that it must survive: a data text linked to a field the view
// no longer has (said, quoted, before anything is written), an unknown shipment, a row whose fields are null
// (its data texts print nothing), a caption of 10,000 characters (clipped by its box as on screen),
// and widths out of range.
TEST_F(MarkOutputTest, BadInputEndsInAMessageAndNoFile) {
  Start();
  Tfmmd* side = Editor("1");
  // A field name from elsewhere, with a line break and a terminal's escape in it.
  TDBText* gone = PlaceDBText(side, "已刪除的欄位\n\x1b[2J", 20, 20);
  TMemoryStream withGone;
  side->DsnStage1->SaveToStream(withGone);
  try {
    TMarkOutput output({{"1", withGone.Bytes()}}, "C001", "EX2401001");
    FAIL() << "a field the view does not have was accepted";
  } catch (const Exception& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("\"已刪除的欄位\\x0A\\x1B[2J\""), std::string::npos) << message;
    EXPECT_EQ(message.find_first_of("\n\x1b"), std::string::npos) << "shown quoted, never raw";
  }
  EXPECT_THROW(TMarkOutput({{"1", withGone.Bytes()}}, "C001", "NO-SUCH-BILL"), Exception);

  gone->SetDataField("SHIPTO");
  TLabel* longText = PlaceLabel(side, std::string(10000, 'W'), 20, 60);
  longText->SetAutoSize(false);
  longText->SetBounds(20, 60, 300, 20);
  TMemoryStream design;
  side->DsnStage1->SaveToStream(design);
  // A row of the shipment whose fields are all null but its keys.
  Exec("insert into TRABILLMAIN (SBILL1NO, SYSTEMNO, FLAG) values ('EXNULL', 6, 5)");
  Exec("insert into INVENTORYMAIN (INVENTORYNO, SBILL1NO, FACTID) values ('IVNULL', 'EXNULL', 'C001')");
  Exec("insert into TRAPACKINGSUB (SHIPPINGBILLNO, ITEMNO, INVENTORYBILL1NO) values ('PKNULL', 1, 'EXNULL')");
  TMarkOutput output({{"1", design.Bytes()}}, "C001", "EXNULL");
  ASSERT_EQ(output.PageCount(), 1);
  QImage page(kMarkWidth, kMarkHeight, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    output.PaintPage(0, painter, true);
  }
  EXPECT_TRUE(Ink(page, QRect(20, 20, 120, 17)).empty()) << "a null value printed something";
  EXPECT_FALSE(Ink(page, QRect(20, 60, 300, 20)).empty());
  EXPECT_TRUE(Ink(page, QRect(321, 60, 79, 20)).empty()) << "the long caption left its box";
  const QString pdf = dir.filePath("null.pdf");
  WritePdf(output, pdf.toStdString(), kDefaultMarkWidthMm);
  EXPECT_TRUE(QFile::exists(pdf));
  for (double width : {0.0, -5.0, 10000.0}) {
    const QString file = dir.filePath(QString("w%1.pdf").arg(width));
    EXPECT_THROW(WritePdf(output, file.toStdString(), width), Exception);
    EXPECT_FALSE(QFile::exists(file));
  }
}

// Live values in the editor: the clerk picks a row of a shipment with the 資料列 button; the data
// text shows that row's value and the label its numbers, design mode shows the field links again,
// and nothing of it is stored or counts as a change.
TEST_F(MarkOutputTest, ARowChosenInTheEditorShowsItsValuesWithoutChangingTheMark) {
  Start();
  Tfmmd* side = Editor("1");
  TDBText* text = PlaceDBText(side, "產品編號", 20, 60);
  PlaceLabel(side, "C/NO. {n} OF {N}", 20, 20);
  ASSERT_TRUE(side->SaveMark());
  const std::optional<std::string> stored = StoredRow("C001", "M01", "1");
  ASSERT_TRUE(stored);

  side->b4->Click();
  Settle();
  ASSERT_TRUE(side->RowMenu());
  TMenuItem* bill = nullptr;
  for (int i = 0; i < side->RowMenu()->Items()->Count(); ++i)
    if (side->RowMenu()->Items()->Items(i)->Caption() == "EX2401001") bill = side->RowMenu()->Items()->Items(i);
  ASSERT_TRUE(bill);
  ASSERT_EQ(bill->Count(), 3);
  EXPECT_EQ(bill->Items(1)->Caption(), "2. PK2401001  TB-100");
  bill->Items(1)->Click();
  side->RowMenu()->QtMenu()->close();
  Settle();
  EXPECT_EQ(text->ShownText(), "TB-100");
  int position = 0, count = 0;
  ASSERT_TRUE(side->LabelRowNumbers(position, count));
  EXPECT_EQ(position, 2);
  EXPECT_EQ(count, 3);
  EXPECT_FALSE(side->Modified());
  ASSERT_TRUE(side->SaveMark());
  EXPECT_EQ(StoredRow("C001", "M01", "1"), stored) << "the value or the binding was stored";

  side->acedit->Execute();  // design mode: the field link again
  EXPECT_EQ(text->ShownText(), "產品編號");
  EXPECT_FALSE(side->LabelRowNumbers(position, count));
  side->acedit->Execute();
  EXPECT_EQ(text->ShownText(), "TB-100");
  side->ChooseRow("", 0);
  EXPECT_EQ(text->ShownText(), "產品編號");
}

}  // namespace
}  // namespace marks_test
