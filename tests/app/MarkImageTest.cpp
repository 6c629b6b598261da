// The new elements in the editor's commands, and pictures in marks: a logo chosen when placed and through the property window, kept byte for
// byte through a save, drawn on the stage, printed once into a PDF of many pages, an SVG logo as
// paths; crafted pictures (an oversized PNG header, a truncated JPEG, an SVG with entities, an SVG
// naming a file beside it) each give their message, draw a crossed box or leave the file out, and
// the program goes on.

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <initializer_list>
#include <string>

#include "app/MarkFile.h"
#include "app/MarkOutput.h"
#include "design/palette/DsnPanel.h"
#include "mark/Barcode.h"
#include "mark/MarkImage.h"
#include "mark/MarkLine.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ToolBar.h"
#include "tests/app/MarkDialogsFixture.h"

namespace marks_test {
namespace {

std::string Bytes(const QImage& image, const char* format, int quality = -1) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format, quality);
  return bytes.toStdString();
}

std::string Filled(QColor colour, int width, int height, const char* format) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return Bytes(image, format, 95);
}

// A PNG whose header claims 100,000 x 100,000 pixels (its chunks' check sums right).
std::string HugePng() {
  const auto crc = [](const std::string& data) {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char byte : data) {
      c ^= byte;
      for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c ^ 0xFFFFFFFFu;
  };
  const auto be = [](uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  };
  const auto chunk = [&](const std::string& type, const std::string& data) {
    return be(static_cast<uint32_t>(data.size())) + type + data + be(crc(type + data));
  };
  return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", be(100000) + be(100000) + std::string("\x08\x02\0\0\0", 5)) +
         chunk("IDAT", std::string("\x78\x9c\x03\0\0\0\0\x01", 8)) + chunk("IEND", "");
}

class MarkImageTest : public MarkDialogsFixture {
 protected:
  void TearDown() override {
    SetDialogHook(nullptr);
    MarkDialogsFixture::TearDown();
  }
  // The next file dialog picks `file`.
  void PickFile(const std::string& file) {
    SetDialogHook([file](TCommonDialog& dialog) {
      static_cast<TOpenDialog&>(dialog).SetFileName(file);
      return true;
    });
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = (windows_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  QImage StageShows(Tfmmd* editor, TControl* element) {
    Settle();
    return WindowWidget(editor->DsnStage1->Handle())
        ->grab(QRect(element->Left(), element->Top(), element->Width(), element->Height()))
        .toImage();
  }
  static bool Shows(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    return false;
  }
  // The images a PDF holds: its image objects, however many pages show them.
  static int PdfImages(const QString& pdf) {
    QProcess list;
    list.start("pdfimages", {"-list", pdf});
    list.waitForFinished(30000);
    QStringList lines = QString::fromUtf8(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QSet<QString> objects;
    for (int i = 2; i < lines.size(); ++i) objects.insert(lines[i].simplified().section(' ', 10, 10));
    return static_cast<int>(objects.size());
  }
};

TEST_F(MarkImageTest, ALogoChosenByTheClerkIsKeptByteForByteShownAndPrintedOnce) {
  const std::string png = Filled(QColor(0, 0, 255), 60, 30, "PNG");
  const std::string logo = Write("logo.png", png);
  Start();
  Tfmmd* side = Editor("1");
  ClickOn(side->b1);
  PickFile(logo);
  ClickOn(PaletteButton("圖片"));
  DragOnStage(side, {16, 16}, {136, 96});
  Settle();  // the file dialog comes once the drawing is over
  std::vector<TControl*> elements = Elements(side);
  ASSERT_EQ(elements.size(), 1u);
  auto* image = dynamic_cast<TMarkImage*>(elements[0]);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->PictureBytes(), png);
  EXPECT_TRUE(Shows(StageShows(side, image), qRgb(0, 0, 255)));

  // Saved and opened again: the very bytes of the file.
  ClickOn(side->b2);
  ASSERT_TRUE(warnings_.empty()) << warnings_.front();
  ASSERT_TRUE(main_->OpenMark("C001", "M01", false));
  Settle();
  side = Editor("1");
  image = dynamic_cast<TMarkImage*>(Elements(side).at(0));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->PictureBytes(), png);

  // Three rows on three pages: the PDF holds the picture once.
  QTemporaryDir dir;
  {
    TMarkOutput output({{"1", side->CurrentDesign()}}, "C001", "EX2401001");
    WritePdf(output, dir.filePath("png.pdf").toStdString(), kDefaultMarkWidthMm);
  }
  EXPECT_EQ(PdfImages(dir.filePath("png.pdf")), 1);

  // An SVG logo chosen with the property window's "..." button prints as paths: no image at all.
  const std::string svgText = "<svg xmlns='http://www.w3.org/2000/svg' width='60' height='30'>"
                              "<rect width='60' height='30' fill='#ff0000'/></svg>";
  const std::string svg = Write("logo.svg", svgText);
  ClickOn(side->b1);
  ClickOn(image);
  PickFile(svg);
  ClickPropertyRow(side, "picture");
  ClickOn(side->DsnInspector1->Window()->SpeedButton1);
  EXPECT_EQ(image->picture(), "SVG " + std::to_string(svgText.size()) + " 位元組");
  EXPECT_TRUE(Shows(StageShows(side, image), qRgb(255, 0, 0)));
  {
    TMarkOutput output({{"1", side->CurrentDesign()}}, "C001", "EX2401001");
    WritePdf(output, dir.filePath("svg.pdf").toStdString(), kDefaultMarkWidthMm);
    const std::vector<std::string> warnings = output.Warnings(kDefaultMarkWidthMm, true);
    EXPECT_TRUE(warnings.empty()) << "an SVG is cut as its paths";
  }
  EXPECT_EQ(PdfImages(dir.filePath("svg.pdf")), 0);
  EXPECT_TRUE(warnings_.empty()) << warnings_.front();
}

TEST_F(MarkImageTest, CraftedPicturesGiveTheirMessagesAndNothingFromOutsideIsDrawn) {
  QImage jpegImage(200, 200, QImage::Format_RGB32);
  jpegImage.fill(Qt::darkYellow);
  std::string jpeg = Bytes(jpegImage, "JPEG");
  jpeg.resize(jpeg.size() / 2);
  const std::string entities =
      "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'>"
      "<!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'>]><svg xmlns='http://www.w3.org/2000/svg'><text>&c;</text></svg>";
  // A green picture beside the mark, in the program's folder and the working folder.
  const std::string green = Filled(Qt::green, 20, 20, "PNG");
  Write("beside.png", green);
  std::ofstream((QDir::currentPath() + "/beside.png").toStdString(), std::ios::binary) << green;
  const std::string outside =
      "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='40' height='40'>"
      "<rect width='20' height='20' fill='#ff0000'/><image x='20' y='20' width='20' height='20' xlink:href='beside.png'/>"
      "<image x='0' y='20' width='20' height='20' href='file://" + (windows_ / "beside.png").string() + "'/></svg>";

  Start();
  Tfmmd* side = Editor("1");
  const std::pair<std::string, std::string> crafted[] = {
      {HugePng(), "百萬像素"}, {jpeg, "不完整"}, {entities, "實體"}, {outside, ""}};
  int left = 8;
  for (const auto& [bytes, problem] : crafted) {
    auto* image = New<TMarkImage>(side);
    image->SetName("Logo" + std::to_string(left));
    image->SetParent(side->DsnStage1);
    image->SetBounds(left, 8, 80, 80);
    image->SetPictureBytes(bytes);
    left += 90;
    EXPECT_NE(image->Problem().find(problem), std::string::npos) << image->Problem();
    EXPECT_EQ(image->Problem().empty(), problem.empty()) << image->Problem();
    const QImage shown = StageShows(side, image);
    if (problem.empty()) {
      EXPECT_TRUE(Shows(shown, qRgb(255, 0, 0))) << "the SVG itself is drawn";
      EXPECT_FALSE(Shows(shown, qRgb(0, 255, 0))) << "the file beside it is not";
    } else {
      EXPECT_TRUE(Shows(shown, qRgb(255, 0, 0))) << "a red crossed box";
    }
  }
  // Saved and opened again: the editor names the three, the output warns of them, and their bytes
  // stay as they were.
  ClickOn(side->b2);
  warnings_.clear();
  ASSERT_TRUE(main_->OpenMark("C001", "M01", false));
  Settle();
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find("Logo8"), std::string::npos) << warnings_[0];
  EXPECT_NE(warnings_[0].find("Logo188"), std::string::npos) << warnings_[0];
  warnings_.clear();
  side = Editor("1");
  EXPECT_EQ(dynamic_cast<TMarkImage*>(Elements(side).at(1))->PictureBytes(), jpeg);
  TMarkOutput output({{"1", side->CurrentDesign()}}, "C001", "");
  EXPECT_EQ(output.Warnings(kDefaultMarkWidthMm, false).size(), 3u);
}

// A line, a QR code and a picture copied and pasted with the keys, the paste undone, and the mark
// written to a mark file and read back: each comes back as it was, the picture byte for byte.
TEST_F(MarkImageTest, TheNewElementsSurviveCopyPasteUndoAndTheMarkFile) {
  Start();
  Tfmmd* side = Editor("1");
  auto* line = New<TMarkLine>(side);
  line->SetName("Line1");
  line->Setdirection(ldUp);
  line->Setarrowend(true);
  auto* code = New<TBarcode>(side);
  code->SetName("Code1");
  code->Setsymbology(bcQRCode);
  code->Setdata("出口 {產品編號}");
  auto* image = New<TMarkImage>(side);
  image->SetName("Logo1");
  image->SetPictureBytes(Filled(QColor(0, 0, 255), 30, 20, "PNG"));
  int left = 8;
  for (TControl* element : std::initializer_list<TControl*>{line, code, image}) {
    element->SetParent(side->DsnStage1);
    element->SetBounds(left, 8, 80, 80);
    element->SetPopupMenu(side->pop);
    left += 96;
  }
  side->DsnStage1->ElementsChanged();
  Settle();
  const std::string design = side->CurrentDesign();

  ClickOn(side->b1);
  ClickOn(code);
  Key(side, Qt::Key_A, Qt::ControlModifier);
  Key(side, Qt::Key_C, Qt::ControlModifier);
  DragOnStage(side, {300, 200}, {300, 200});
  Key(side, Qt::Key_V, Qt::ControlModifier);
  std::vector<TControl*> elements = Elements(side);
  ASSERT_EQ(elements.size(), 6u);
  auto* lineCopy = dynamic_cast<TMarkLine*>(elements[3]);
  auto* codeCopy = dynamic_cast<TBarcode*>(elements[4]);
  auto* imageCopy = dynamic_cast<TMarkImage*>(elements[5]);
  ASSERT_TRUE(lineCopy && codeCopy && imageCopy);
  EXPECT_EQ(lineCopy->direction(), ldUp);
  EXPECT_TRUE(lineCopy->arrowend());
  EXPECT_EQ(codeCopy->data(), "出口 {產品編號}");
  EXPECT_EQ(codeCopy->symbology(), bcQRCode);
  EXPECT_EQ(imageCopy->PictureBytes(), image->PictureBytes());
  MenuKey(side, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Elements(side).size(), 3u);
  EXPECT_EQ(side->CurrentDesign(), design);

  const TMarkFileDesigns back = ParseMarkFile(MarkFileText({"", design}));
  EXPECT_EQ(back.Side, design);
  EXPECT_TRUE(warnings_.empty()) << warnings_.front();
}

}  // namespace
}  // namespace marks_test
