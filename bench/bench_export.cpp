// The command line's output of a large shipment: one PDF page for each of 1,000 rows, start-up and
// database included, beside gLabels 3 (Debian's glabels-3-batch) merging the same 1,000 rows from a
// CSV file into a label of the same size holding a box, an ellipse and 7 texts. Then the print
// preview of a shipment of 100 rows, from the command (the stored design and the rows read) to the
// dialog shown with its pages, in this process on the offscreen platform.
//
// The mark: 3 shapes and 8 texts, 5 of them data texts, stored as C001 / BIG in a profile of the
// benchmark's own (made by a first run of the editor), with the rows added to the demo database's
// shipment tables as the export document EXBIG. Each program runs three times, alternately; the
// best wall time of each is reported with the ratio and the size of each file.
//
//   bench_export

#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QElapsedTimer>
#include <QDialog>
#include <QSqlDatabase>
#include <QTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/MarkOutput.h"
#include "app/MarkStore.h"
#include "app/PrintModule.h"
#include "design/palette/DsnPanel.h"
#include "platform/controls/StdControls.h"
#include "platform/db/DataControls.h"
#include "platform/db/DatabaseAliases.h"
#include "platform/stream/TextForm.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRows = 1000;

fs::path BinaryFolder() { return fs::read_symlink("/proc/self/exe").parent_path(); }

// Runs a program to its end with its output discarded; the wall time in seconds, or nothing when
// it failed.
std::optional<double> Run(const std::vector<std::string>& words) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(126);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Label(const std::string& name, const std::string& cls, int top, const std::string& caption,
                  const std::string& field = "") {
  std::string text = "object " + name + ": " + cls + "\n  Left = 10\n  Top = " + std::to_string(top) +
                     "\n  Width = 180\n  Height = 22\n  AutoSize = False\n  Caption = '" + caption + "'\n";
  if (!field.empty()) text += "  DataField = '" + field + "'\n";
  return text + "  Font.Height = -18\n  Font.Name = '新細明體'\n  ParentFont = False\n  Transparent = True\nend\n";
}

std::string Shape(const std::string& name, int left, int top, const std::string& kind) {
  return "object " + name + ": tshape2\n  Left = " + std::to_string(left) + "\n  Top = " + std::to_string(top) +
         "\n  Width = 90\n  Height = 70\n  AutoSize = False\n  Transparent = True\n  kind = " + kind +
         "\n  pencolor = clBlack\n  penwidth = 2\nend\n";
}

std::string MarkDesign() {
  std::vector<std::string> objects = {Label("L1", "TLabel", 5, "C/NO. {n} OF {N}"),
                                      Label("L2", "TLabel", 30, "MADE IN TAIWAN"), Label("L3", "TLabel", 55, "PO/NO")};
  const char* fields[] = {"產品編號", "PACKING單號", "數量", "NW", "GW"};
  for (int i = 0; i < 5; ++i)
    objects.push_back(Label("D" + std::to_string(i), "TDBText", 80 + i * 25, fields[i], fields[i]));
  objects.push_back(Shape("S1", 220, 10, "square1"));
  objects.push_back(Shape("S2", 220, 90, "eclipse"));
  objects.push_back(Shape("S3", 310, 90, "triangle1"));
  std::string design;
  for (const std::string& object : objects) design += TextToStream(object);
  return design + '\0';
}

// The mark of today's retail cartons: a Code 128 of 產品編號, a QR code of the document, product and
// carton number, a PNG logo of about 60 KB and the texts.
QByteArray LogoPng() {
  QImage noise(150, 130, QImage::Format_RGB32);
  uint32_t seed = 12345;
  for (int y = 0; y < noise.height(); ++y)
    for (int x = 0; x < noise.width(); ++x) {
      seed = seed * 1103515245u + 12345u;
      noise.setPixel(x, y, 0xFF000000u | (seed >> 8));
    }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  noise.save(&buffer, "PNG");
  return png;
}

std::string CodesDesign() {
  const QByteArray png = LogoPng();
  std::string design = TextToStream(Label("L1", "TLabel", 5, "C/NO. {n} OF {N}")) +
                       TextToStream(Label("L2", "TLabel", 30, "N.W. {NW:0.00} KGS")) +
                       TextToStream(Label("L3", "TLabel", 55, "MADE IN TAIWAN")) +
                       TextToStream("object B1: TBarcode\n  Left = 10\n  Top = 90\n  Width = 200\n  Height = 80\n"
                                    "  symbology = bcCode128\n  data = '{產品編號}'\nend\n") +
                       TextToStream("object B2: TBarcode\n  Left = 230\n  Top = 10\n  Width = 100\n  Height = 100\n"
                                    "  symbology = bcQRCode\n  data = '{出口文件單號} {產品編號} {n}/{N}'\nend\n") +
                       TextToStream("object P1: TMarkImage\n  Left = 230\n  Top = 130\n  Width = 150\n  Height = 110\n"
                                    "  PictureData = {" + png.toHex().toStdString() + "}\nend\n");
  return design + '\0';
}

bool Exec(QSqlDatabase& db, const QString& sql, const std::vector<QVariant>& values = {}) {
  QSqlQuery query(db);
  query.prepare(sql);
  for (const QVariant& value : values) query.addBindValue(value);
  if (query.exec()) return true;
  std::fprintf(stderr, "bench_export: %s: %s\n", qPrintable(sql), qPrintable(query.lastError().text()));
  return false;
}

// The mark and the rows in the profile's demo database, the same rows as CSV for gLabels.
bool Prepare(const fs::path& folder) {
  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bench");
  db.setDatabaseName(QString::fromStdString((folder / "data/markedit/marks.db").string()));
  if (!db.open()) return false;
  const std::string design = MarkDesign();
  const std::string codes = CodesDesign();
  bool ok = Exec(db, "insert or replace into md (customerid, mdid, flag, data) values ('C001', 'BIG', '0', ?)",
                 {QByteArray(design.data(), static_cast<qsizetype>(design.size()))}) &&
            Exec(db, "insert or replace into md (customerid, mdid, flag, data) values ('C001', 'CODES', '0', ?)",
                 {QByteArray(codes.data(), static_cast<qsizetype>(codes.size()))}) &&
            Exec(db, "insert into TRABILLMAIN (SBILL1NO, SYSTEMNO, FLAG, SHIPFROM, SHIPTO, VIA) values "
                     "('EXBIG', 6, 5, 'KEELUNG', 'LOS ANGELES', 'BY SEA')") &&
            Exec(db, "insert into INVENTORYMAIN (INVENTORYNO, SBILL1NO, FACTID) values ('IVBIG', 'EXBIG', 'C001')") &&
            Exec(db, "insert into TRABILLMAIN (SBILL1NO, SYSTEMNO, FLAG) values ('EX100', 6, 5)") &&
            Exec(db, "insert into INVENTORYMAIN (INVENTORYNO, SBILL1NO, FACTID) values ('IV100', 'EX100', 'C001')");
  std::ofstream csv(folder / "rows.csv");
  csv << "product,packing,qty,nw,gw,n,qr\n";
  db.transaction();
  for (int i = 0; ok && i < kRows; ++i) {
    char product[16], packing[16];
    std::snprintf(product, sizeof product, "P-%05d", i);
    std::snprintf(packing, sizeof packing, "PK%04d", i / 10);
    // The 1,000 rows of EXBIG, and the first 100 of them again as EX100 for the preview.
    for (const char* bill : {"EXBIG", "EX100"}) {
      if (i >= 100 && std::string(bill) == "EX100") continue;
      ok = ok && Exec(db, "insert into TRAPACKINGSUB (SHIPPINGBILLNO, ITEMNO, INVENTORYBILL1NO, PRODUCTID, QUANTITY,"
                          " CUFT, NW, GW) values (?, ?, ?, ?, ?, 1.25, 12.5, 13.75)",
                      {QString(packing), std::string(bill) == "EX100" ? kRows + i : i, QString(bill), QString(product),
                       10 + i % 7});
    }
    csv << product << ',' << packing << ',' << 10 + i % 7 << ",12.5,13.75," << i + 1 << ",EXBIG " << product << ' '
        << i + 1 << "/1000\n";
  }
  db.commit();
  db.close();
  return ok;
}

// The same mark for gLabels 3: 200 x 124.5 mm, a box, an ellipse and 7 texts, 5 of them fields;
// with `codes`, the mark of CodesDesign instead: 3 texts, a Code 128 of the product, a QR code of
// the document, product and carton (one CSV column, since a gLabels barcode takes one field) and
// the same PNG logo.
void WriteGlabelsDocument(const fs::path& folder, bool codes = false) {
  const std::string place = "a0=\"1\" a1=\"0\" a2=\"0\" a3=\"1\" a4=\"0\" a5=\"0\"";
  const std::vector<std::string> texts = {"C/NO. <Field name=\"n\"/> OF 1000", "MADE IN TAIWAN",
                                          "<Field name=\"product\"/>",       "<Field name=\"packing\"/>",
                                          "<Field name=\"qty\"/>",           "<Field name=\"nw\"/>",
                                          "<Field name=\"gw\"/>"};
  std::ofstream doc(folder / (codes ? "codes.glabels" : "mark.glabels"));
  // Text `i` of the left column.
  const auto text = [&](size_t i, const std::string& content) {
    doc << "    <Object-text x=\"5mm\" y=\"" << 3 + 12 * i << "mm\" w=\"90mm\" h=\"10mm\" justify=\"Left\" valign=\"Top\" "
        << "auto_shrink=\"False\" " << place << ">\n      <Span color=\"0x000000ff\" font_family=\"AR PL UMing TW\" "
        << "font_size=\"14\" font_weight=\"Regular\" font_italic=\"False\" line_spacing=\"1\">" << content
        << "</Span>\n    </Object-text>\n";
  };
  doc << "<?xml version=\"1.0\"?>\n<Glabels-document xmlns=\"http://glabels.org/xmlns/3.0/\">\n"
         "  <Template brand=\"User\" part=\"Mark\" size=\"Other\" width=\"200mm\" height=\"124.5mm\" description=\"Mark\">\n"
         "    <Meta category=\"label\"/>\n"
         "    <Label-rectangle id=\"0\" width=\"200mm\" height=\"124.5mm\" round=\"0mm\" x_waste=\"0mm\" y_waste=\"0mm\">\n"
         "      <Markup-margin size=\"0mm\"/>\n"
         "      <Layout nx=\"1\" ny=\"1\" x0=\"0mm\" y0=\"0mm\" dx=\"200mm\" dy=\"124.5mm\"/>\n"
         "    </Label-rectangle>\n  </Template>\n  <Objects id=\"0\" rotate=\"False\">\n";
  if (codes) {
    std::ofstream(folder / "logo.png", std::ios::binary) << LogoPng().toStdString();
    const std::vector<std::string> lines = {"C/NO. <Field name=\"n\"/> OF 1000", "N.W. <Field name=\"nw\"/> KGS",
                                            "MADE IN TAIWAN"};
    for (size_t i = 0; i < lines.size(); ++i)
      text(i, lines[i]);
    doc << "    <Object-barcode x=\"5mm\" y=\"45mm\" w=\"100mm\" h=\"40mm\" backend=\"built-in\" style=\"Code128\" "
           "text=\"True\" checksum=\"True\" color=\"0x000000ff\" field=\"product\" "
        << place << "/>\n"
        << "    <Object-barcode x=\"115mm\" y=\"5mm\" w=\"50mm\" h=\"50mm\" backend=\"libqrencode\" style=\"IEC18004\" "
           "text=\"False\" checksum=\"True\" color=\"0x000000ff\" field=\"qr\" "
        << place << "/>\n"
        << "    <Object-image x=\"115mm\" y=\"65mm\" w=\"75mm\" h=\"55mm\" src=\"" << (folder / "logo.png").string()
        << "\" " << place << "/>\n";
  } else {
    doc << "    <Object-box x=\"110mm\" y=\"5mm\" w=\"45mm\" h=\"35mm\" line_width=\"1pt\" line_color=\"0x000000ff\" "
         "fill_color=\"0x00000000\" "
      << place << "/>\n"
      << "    <Object-ellipse x=\"110mm\" y=\"45mm\" w=\"45mm\" h=\"35mm\" line_width=\"1pt\" line_color=\"0x000000ff\" "
         "fill_color=\"0x00000000\" "
      << place << "/>\n";
    for (size_t i = 0; i < texts.size(); ++i)
      text(i, texts[i]);
  }
  doc << "  </Objects>\n  <Merge type=\"Text/Comma/Line1Keys\" src=\"" << (folder / "rows.csv").string()
      << "\"/>\n  <Data/>\n</Glabels-document>\n";
}

double Best(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / ("markedit-bench-export-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  setenv("WINDIR", (folder / "windows").c_str(), 1);
  setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
  const std::string markedit = (BinaryFolder() / "markedit").string();
  // The first run makes the profile and the demo database; it has no mark to write yet.
  Run({markedit, "--export", (folder / "none.pdf").string(), "C001", "BIG"});
  if (!Prepare(folder)) {
    std::fprintf(stderr, "bench_export: could not prepare the shipment\n");
    return 1;
  }
  WriteGlabelsDocument(folder);
  WriteGlabelsDocument(folder, true);
  const bool glabels = std::system("command -v glabels-3-batch >/dev/null 2>&1") == 0;

  const std::string ours = (folder / "ours.pdf").string();
  const std::string theirs = (folder / "glabels.pdf").string();
  std::vector<double> ourTimes, theirTimes;
  for (int round = 0; round < 3; ++round) {
    const auto mine = Run({markedit, "--export", ours, "--bill", "EXBIG", "C001", "BIG"});
    if (!mine) {
      std::fprintf(stderr, "bench_export: markedit --export failed\n");
      return 1;
    }
    ourTimes.push_back(*mine);
    if (glabels) {
      const auto other = Run({"glabels-3-batch", "-o", theirs, (folder / "mark.glabels").string()});
      if (other) theirTimes.push_back(*other);
    }
  }
  std::printf("1,000 rows to one PDF, start-up and database included, best of 3\n");
  std::printf("  markedit --export     %6.2f s   %5.2f MB\n", Best(ourTimes), fs::file_size(ours) / 1e6);
  if (!theirTimes.empty()) {
    std::printf("  glabels-3-batch       %6.2f s   %5.2f MB\n", Best(theirTimes), fs::file_size(theirs) / 1e6);
    std::printf("  markedit is %.1fx faster (target: at least 5x); file at most 2 MB\n",
                Best(theirTimes) / Best(ourTimes));
  } else {
    std::printf("  glabels-3-batch is not installed (apt install glabels): no comparison\n");
  }
  fs::remove_all(folder / "ours.pdf");

  // The same rows with barcodes, a QR code and a logo.
  std::vector<double> codeTimes;
  for (int round = 0; round < 3; ++round)
    if (const auto time = Run({markedit, "--export", ours, "--bill", "EXBIG", "C001", "CODES"})) codeTimes.push_back(*time);
  if (codeTimes.empty()) {
    std::fprintf(stderr, "bench_export: markedit --export of the codes failed\n");
    return 1;
  }
  const std::string images = folder.string() + "/images.txt";
  std::system(("pdfimages -list " + ours + " 2>/dev/null | awk 'NR > 2 { print $11 }' | sort -u | wc -l > " + images).c_str());
  std::ifstream imageCount(images);
  int distinct = 0;
  imageCount >> distinct;
  std::vector<double> theirCodeTimes;
  for (int round = 0; glabels && round < 3; ++round)
    if (const auto other = Run({"glabels-3-batch", "-o", theirs, (folder / "codes.glabels").string()}))
      theirCodeTimes.push_back(*other);
  std::printf("1,000 rows with a Code 128, a QR code and a 60 KB PNG logo, best of 3\n");
  std::printf("  markedit --export     %6.2f s   %5.2f MB, %d image object(s) for 1,000 pages\n", Best(codeTimes),
              fs::file_size(ours) / 1e6, distinct);
  if (!theirCodeTimes.empty()) {
    std::printf("  glabels-3-batch       %6.2f s   %5.2f MB\n", Best(theirCodeTimes), fs::file_size(theirs) / 1e6);
    std::printf("  markedit is %.1fx faster (target: at least 10x)\n", Best(theirCodeTimes) / Best(codeTimes));
  }
  fs::remove_all(folder / "ours.pdf");

  // The print preview of 100 rows, as the editor's command opens it.
  int argc = 1;
  char name[] = "bench_export";
  char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterStandardControls();
  RegisterDataControls();
  RegisterPaletteClasses();
  std::vector<double> previewTimes;
  for (int round = 0; round < 3; ++round) {
    QElapsedTimer clock;
    clock.start();
    double shown = -1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      // The preview lives in the print module; it is known by its class name.
      auto* preview = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!preview || !preview->inherits("QPrintPreviewDialog") || !preview->isVisible()) return;
      shown = clock.nsecsElapsed() / 1e9;
      poll.stop();
      preview->reject();
    });
    poll.start(0);
    try {
      const std::optional<std::string> design = ReadMark({"C001", "BIG", "0"});
      TMarkOutput output({{"0", design.value_or("")}}, "C001", "EX100");
      PreviewMarks(nullptr, output, kDefaultMarkWidthMm);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "bench_export: preview: %s\n", e.what());
      return 1;
    }
    if (shown >= 0) previewTimes.push_back(shown);
  }
  CloseAliasDatabases();
  if (!previewTimes.empty())
    std::printf("print preview of 100 rows, command to dialog shown: %.3f s (best of 3; target at most 0.5 s)\n",
                Best(previewTimes));
  fs::remove_all(folder);
  return 0;
}
