#include "app/MarkOutput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

#include "app/MarkChecks.h"
#include "app/MarkPolicy.h"
#include "app/MarkStore.h"
#include "app/PrintModule.h"
#include "app/Shipments.h"
#include "design/DsnPropText.h"
#include "design/DsnUnit.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Label.h"
#include "platform/controls/Menus.h"
#include "platform/db/DataSource.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Placeholders.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/Texts.h"
#include "platform/rtl/Tr.h"
#include "platform/stream/Reader.h"
#include "platform/win/DeviceContext.h"

namespace {

// What the clerk is told when the output cannot be written.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(MarkOutput)
};

// A stage the design's elements stand on while they are output, reading designs as the editor's
// stage reads a stored mark (its read policy, damaged properties passed over, free names). It never
// makes a window: a control read is not announced to one. It gives the labels on it the row numbers
// of the page being painted.
class TOutputStage : public TDsnStage, public TLabelRow {
 public:
  using TWinControl::PaintControls;

  int Position = 0;
  const TQuery* Rows = nullptr;  // none: no shipment, captions as typed

  bool LabelRowNumbers(int& position, int& count) const override {
    if (!Rows) return false;
    position = Position;
    count = Rows->RecordCount();
    return true;
  }
  std::optional<std::string> LabelFieldValue(const std::string& name) const override {
    return Rows ? CurrentFieldText(*Rows, name) : std::nullopt;
  }

 protected:
  void ReaderSetName(TReader& reader, TComponent* component, std::string& name) override {
    GiveReadName(reader, component, name);
  }
};

std::vector<TDBText*> DataTexts(TWinControl* stage) {
  std::vector<TDBText*> texts;
  for (int i = 0; i < stage->ControlCount(); ++i)
    if (auto* text = dynamic_cast<TDBText*>(stage->Controls(i))) texts.push_back(text);
  return texts;
}

// Device pixels per stage pixel for a mark `widthMm` wide on a device of `dpi`.
double Scale(double widthMm, double dpi) { return widthMm / 25.4 * dpi / kMarkWidth; }

std::string Why(const QIODevice& device) { return device.errorString().toStdString(); }

// A file written under a temporary name beside its place (and closed once written, so that an
// output of many pages holds no more than one file open), then renamed into place by Place. A
// file never placed is removed with the object.
class PendingFile {
 public:
  explicit PendingFile(const std::string& name) : name_(name), temp_(name + ".XXXXXX") {
    const int fd = mkstemp(temp_.data());
    if (fd < 0 || !file_.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
      const std::string why = std::strerror(errno);
      if (fd >= 0) close(fd);
      temp_.clear();
      throw Exception(Tr(Texts::tr("Cannot write %1: %2"), name_, why));
    }
  }
  ~PendingFile() {
    if (!temp_.empty()) std::remove(temp_.c_str());
  }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  QIODevice& Device() { return file_; }
  // The file is complete: it gets the permissions a new file gets, and is closed.
  void Finish() {
    if (!file_.flush()) throw Exception(Tr(Texts::tr("Cannot write %1: %2"), name_, Why(file_)));
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(file_.handle(), 0666 & ~mask);
    file_.close();
    if (file_.error() != QFileDevice::NoError) throw Exception(Tr(Texts::tr("Cannot write %1: %2"), name_, Why(file_)));
  }
  void Place() {
    if (std::rename(temp_.c_str(), name_.c_str()) != 0)
      throw Exception(Tr(Texts::tr("Cannot write %1: %2"), name_, std::string(std::strerror(errno))));
    temp_.clear();
  }
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  std::string temp_;  // the temporary file's name, empty once placed
  QFile file_;
};

// The files of a multi-page output: "name.ext" for one page, "name-001.ext" ... for more.
std::vector<std::string> PageFileNames(const std::string& file, int pages) {
  if (pages == 1) return {file};
  const QFileInfo info(QString::fromStdString(file));
  const std::string stem = (info.path() + "/" + info.completeBaseName()).toStdString();
  const std::string suffix = info.suffix().isEmpty() ? "" : "." + info.suffix().toStdString();
  std::vector<std::string> names;
  for (int i = 1; i <= pages; ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "-%03d", i);
    names.push_back(stem + number + suffix);
  }
  return names;
}

// Writes one file per page with `write`, then puts them all in place; a failure leaves none.
void WritePageFiles(const TMarkOutput& output, const std::string& file,
                    const std::function<void(int page, QIODevice& device)>& write) {
  const std::vector<std::string> names = PageFileNames(file, output.PageCount());
  std::vector<std::unique_ptr<PendingFile>> files;
  for (size_t i = 0; i < names.size(); ++i) {
    files.push_back(std::make_unique<PendingFile>(names[i]));
    write(static_cast<int>(i), files.back()->Device());
    files.back()->Finish();
  }
  std::vector<std::string> placed;
  try {
    for (auto& pending : files) {
      pending->Place();
      placed.push_back(pending->Name());
    }
  } catch (...) {
    for (const std::string& name : placed) std::remove(name.c_str());
    throw;
  }
}

}  // namespace

struct TMarkOutput::Pages {
  std::vector<TOutputStage*> stages;
  std::vector<std::string> sideNames;  // of the stages, for messages
  std::vector<std::string> warnings;
  TQuery* rows = nullptr;
  TDataSource* source = nullptr;

  ~Pages() {
    for (TOutputStage* stage : stages) stage->Free();
    if (source) source->Free();
    if (rows) rows->Free();
  }
};

TMarkOutput::TMarkOutput(const std::vector<TMarkDesign>& designs, const std::string& customerId,
                         const std::string& bill)
    : pages_(std::make_unique<Pages>()) {
  for (const TMarkDesign& design : designs) {
    TOutputStage* stage = New<TOutputStage>(nullptr);
    pages_->stages.push_back(stage);
    pages_->sideNames.push_back(MarkSideName(design.Side));
    stage->SetBounds(0, 0, kMarkWidth, kMarkHeight);
    // Every element an editor draws or pastes names the editor's design menu, the one reference a
    // mark may hold to something outside it: the page has a menu of that name for it, unused.
    New<TPopupMenu>(stage)->SetName(kMarkMenuName);
    stage->SetReadPolicy(MarkReadPolicy());
    if (!design.Stream.empty()) {
      TMemoryStream stream(design.Stream);
      stage->LoadFromStream(stream);
    }
  }
  if (bill.empty()) {
    CheckBarcodes();
    return;
  }
  pages_->rows = New<TQuery>(nullptr);
  SelectShipmentRows(*pages_->rows, customerId, bill);
  pages_->rows->Open();
  if (pages_->rows->IsEmpty())
    throw Exception(Tr(Texts::tr("Shipment %1 of customer %2 has no rows to print"), bill, customerId));
  pages_->source = New<TDataSource>(nullptr);
  pages_->source->SetDataSet(pages_->rows);
  for (TOutputStage* stage : pages_->stages) {
    stage->Rows = pages_->rows;
    for (TDBText* text : DataTexts(stage)) {
      if (text->DataField().empty()) {
        text->SetCaption("");  // linked to no field: nothing to print
        continue;
      }
      if (!pages_->rows->Fields().FindField(text->DataField()))
        throw Exception(Tr(Texts::tr("A data text is linked to the field %1, which the shipment view %2 no longer has"),
                             QuotedText(text->DataField()), std::string(kShipmentView)));
      text->SetDataSource(pages_->source);
    }
  }
  for (size_t i = 0; i < pages_->stages.size(); ++i)
    CheckPlaceholders(MarkSideName(designs[i].Side), pages_->stages[i], pages_->rows->Fields(), pages_->warnings);
  CheckBarcodes();
}

void TMarkOutput::CheckBarcodes() const {
  std::vector<size_t> sides;
  for (size_t i = 0; i < pages_->stages.size(); ++i)
    if (HasBarcodes(pages_->stages[i])) sides.push_back(i);
  if (sides.empty()) return;
  TQuery* rows = pages_->rows;
  const int count = rows ? rows->RecordCount() : 1;
  for (int row = 1; row <= count; ++row) {
    std::string where;
    if (rows) {
      ShowRow(row);
      where = Tr(Texts::tr("Row %1 (PACKING單號 %2, 產品編號 %3)"), std::to_string(row),
                 CurrentFieldText(*rows, "PACKING單號").value_or(""), CurrentFieldText(*rows, "產品編號").value_or(""));
    }
    for (size_t i : sides) ::CheckBarcodes(pages_->sideNames[i], pages_->stages[i], where);
  }
  if (rows) ShowRow(1);
}

void TMarkOutput::ShowRow(int row) const {
  if (!pages_->rows) return;
  pages_->rows->SetRecNo(row);
  for (TOutputStage* stage : pages_->stages) stage->Position = row;
}

std::vector<std::string> TMarkOutput::Warnings(double widthMm, bool stencil) const {
  std::vector<std::string> warnings = pages_->warnings;
  ShowRow(1);
  for (size_t i = 0; i < pages_->stages.size(); ++i)
    ElementWarnings(pages_->sideNames[i], pages_->stages[i], widthMm, stencil, warnings);
  return warnings;
}

TMarkOutput::~TMarkOutput() = default;


int TMarkOutput::PageCount() const {
  const int rows = pages_->rows ? pages_->rows->RecordCount() : 1;
  return rows * static_cast<int>(pages_->stages.size());
}

void TMarkOutput::PaintPage(int index, QPainter& painter, bool background) const {
  const int sides = static_cast<int>(pages_->stages.size());
  if (index < 0 || index >= PageCount()) return;
  TOutputStage* stage = pages_->stages[static_cast<size_t>(index % sides)];
  const int row = index / sides + 1;
  if (pages_->rows) {
    pages_->rows->SetRecNo(row);
    stage->Position = row;
  }
  painter.save();
  painter.setClipRect(QRectF(0, 0, kMarkWidth, kMarkHeight), Qt::IntersectClip);
  if (background) painter.fillRect(QRectF(0, 0, kMarkWidth, kMarkHeight), Qt::white);
  if (HDC dc = CreatePainterDC(&painter)) {
    stage->PaintControls(dc);
    DeleteDC(dc);
  }
  painter.restore();
}

std::vector<std::string> MarkSideKeys(TMarkSides sides) {
  switch (sides) {
    case TMarkSides::Main: return {"0"};
    case TMarkSides::Side: return {"1"};
    case TMarkSides::Both: return {"0", "1"};
  }
  return {};
}

std::string JoinedWarnings(const std::vector<std::string>& warnings) {
  std::string text = Tr(Texts::tr("The output goes on as usual, but note:"));
  for (const std::string& warning : warnings) text += "\n\n" + warning;
  return text;
}

QSizeF MarkSizeMm(double widthMm) { return {widthMm, widthMm * kMarkHeight / kMarkWidth}; }

void CheckMarkWidth(double widthMm) {
  if (!(widthMm >= kMinMarkWidthMm && widthMm <= kMaxMarkWidthMm))
    throw Exception(Tr(Texts::tr("A mark is 10 to 5000 mm wide")));
}

void WritePdf(const TMarkOutput& output, const std::string& file, double widthMm) {
  CheckMarkWidth(widthMm);
  PendingFile pending(file);
  {
    QPdfWriter pdf(&pending.Device());
    // Laid out at the screen's resolution, so text breaks where the clerk saw it break.
    pdf.setResolution(96);
    pdf.setPageSize(QPageSize(MarkSizeMm(widthMm), QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setCreator(QStringLiteral("markedit"));
    QPainter painter(&pdf);
    if (!painter.isActive()) throw Exception(Tr(Texts::tr("Cannot write %1"), file));
    const double scale = Scale(widthMm, 96);
    for (int page = 0; page < output.PageCount(); ++page) {
      if (page > 0) pdf.newPage();
      painter.save();
      painter.scale(scale, scale);
      output.PaintPage(page, painter, false);
      painter.restore();
    }
  }
  pending.Finish();
  pending.Place();
}

void WriteSvg(const TMarkOutput& output, const std::string& file, double widthMm) {
  CheckMarkWidth(widthMm);
  WritePageFiles(output, file, [&](int page, QIODevice& device) { WriteSvgPage(output, page, widthMm, device); });
}

void WritePng(const TMarkOutput& output, const std::string& file, double widthMm, int dpi) {
  CheckMarkWidth(widthMm);
  if (dpi < 10 || dpi > 2400) throw Exception(Tr(Texts::tr("A picture has 10 to 2400 dots per inch")));
  const QSizeF mm = MarkSizeMm(widthMm);
  const QSize pixels(static_cast<int>(std::lround(mm.width() / 25.4 * dpi)),
                     static_cast<int>(std::lround(mm.height() / 25.4 * dpi)));
  if (int64_t{pixels.width()} * pixels.height() > 400'000'000)
    throw Exception(Tr(Texts::tr("The picture would be too large: choose fewer dots per inch or a narrower mark")));
  WritePageFiles(output, file, [&](int page, QIODevice& device) {
    QImage image(pixels, QImage::Format_RGB32);
    if (image.isNull()) throw Exception(Tr(Texts::tr("Not enough memory for the picture")));
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.scale(double(pixels.width()) / kMarkWidth, double(pixels.height()) / kMarkHeight);
      output.PaintPage(page, painter, true);
    }
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    if (!image.save(&device, "PNG")) throw Exception(Tr(Texts::tr("Cannot write %1: %2"), file, Why(device)));
  });
}

namespace {
QString SuffixOf(const std::string& file) { return QFileInfo(QString::fromStdString(file)).suffix().toLower(); }
}  // namespace

bool IsMarkFileName(const std::string& file) {
  const QString suffix = SuffixOf(file);
  return suffix == u"pdf" || suffix == u"svg" || suffix == u"png";
}

std::string UnknownMarkFileKind(const std::string& file) {
  return Tr(Texts::tr("Cannot tell what to write from the name %1: use .pdf, .svg or .png"), file);
}

void WriteMarkFile(const TMarkOutput& output, const std::string& file, double widthMm, int dpi) {
  const QString suffix = SuffixOf(file);
  if (suffix == u"pdf") WritePdf(output, file, widthMm);
  else if (suffix == u"svg") WriteSvg(output, file, widthMm);
  else if (suffix == u"png") WritePng(output, file, widthMm, dpi);
  else throw Exception(UnknownMarkFileKind(file));
}
