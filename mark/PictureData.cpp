#include "mark/PictureData.h"

#include <QBuffer>
#include <QFile>
#include <QByteArray>
#include <QImageReader>
#include <QPainter>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <exception>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Tr.h"

namespace {

// What is wrong with a picture, as the stage and the output say it.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Picture)
};

std::function<const TSvgFunctions&()>& SvgLoader() {
  static std::function<const TSvgFunctions&()> load;
  return load;
}

bool StartsWith(const std::string& bytes, const char* head, size_t length) {
  return bytes.size() >= length && bytes.compare(0, length, head, length) == 0;
}

// What the bytes are, by their first bytes (an SVG by its root element).
std::string KindOf(const std::string& bytes) {
  if (StartsWith(bytes, "\x89PNG\r\n\x1a\n", 8)) return "PNG";
  if (StartsWith(bytes, "\xff\xd8\xff", 3)) return "JPEG";
  const size_t head = std::min<size_t>(bytes.size(), 4096);
  const std::string start = bytes.substr(0, head);
  if (start.find("<svg") != std::string::npos) return "SVG";
  return "";
}

bool IsOutside(const QString& href) { return !href.trimmed().startsWith(QLatin1String("data:"), Qt::CaseInsensitive); }

// `svg` without the references to anything outside it. Sets `problem` and gives "" for an SVG that
// must not be drawn at all (entities, broken XML).
std::string WithoutOutsideReferences(const std::string& svg, std::string& problem) {
  const QByteArray in(svg.data(), static_cast<qsizetype>(svg.size()));
  if (in.contains("<!ENTITY")) {
    problem = Tr(Texts::tr("The SVG declares entities (<!ENTITY>) and is not shown, for safety"));
    return "";
  }
  QXmlStreamReader reader(in);
  QByteArray out;
  QXmlStreamWriter writer(&out);
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.hasError()) break;
    if (reader.tokenType() == QXmlStreamReader::DTD) continue;
    if (reader.isStartElement() && reader.name() == QLatin1String("image")) {
      const QXmlStreamAttributes attributes = reader.attributes();
      QString href = attributes.value(QStringLiteral("http://www.w3.org/1999/xlink"), QStringLiteral("href")).toString();
      if (href.isEmpty()) href = attributes.value(QStringLiteral("href")).toString();
      if (IsOutside(href)) {
        reader.skipCurrentElement();
        continue;
      }
    }
    writer.writeCurrentToken(reader);
  }
  if (reader.hasError()) {
    problem = Tr(Texts::tr("The SVG is no proper XML: %1"), reader.errorString().toStdString());
    return "";
  }
  return out.toStdString();
}

// Whether a PNG or JPEG file reaches its end marker: a decoder fills what is cut off with grey
// instead of failing, and a logo cut short must not print as if whole.
bool Complete(const std::string& kind, const std::string& bytes) {
  if (kind == "PNG") {
    static const std::string end("IEND\xae\x42\x60\x82", 8);
    return bytes.size() >= end.size() && bytes.compare(bytes.size() - end.size(), end.size(), end) == 0;
  }
  // A JPEG may carry a few bytes after its end of image.
  const size_t tail = bytes.size() > 64 ? bytes.size() - 64 : 0;
  return bytes.find("\xff\xd9", tail) != std::string::npos;
}

}  // namespace

void SetSvgFunctions(std::function<const TSvgFunctions&()> load) { SvgLoader() = std::move(load); }

std::string ReadPictureFile(const std::string& fileName) {
  QFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::ReadOnly))
    throw Exception(Tr(Texts::tr("Cannot read %1: %2"), fileName, file.errorString().toStdString()));
  if (file.size() > static_cast<qint64>(kMaxPictureBytes))
    throw Exception(Tr(Texts::tr("%1 has %2 KB, more than the 4 MiB a picture may have"), fileName, std::to_string(file.size() / 1024)));
  const QByteArray bytes = file.readAll();
  TPictureData probe{std::string(bytes.constData(), static_cast<size_t>(bytes.size()))};
  if (!probe.Problem().empty()) throw Exception(fileName + "：" + probe.Problem());
  return probe.Bytes();
}

TPictureData::TPictureData(std::string bytes) : bytes_(std::move(bytes)), kind_(KindOf(bytes_)) {
  if (bytes_.empty()) {
    problem_ = Tr(Texts::tr("There is no picture"));
  } else if (bytes_.size() > kMaxPictureBytes) {
    problem_ = Tr(Texts::tr("The picture is larger than 4 MiB"));
  } else if (kind_.empty()) {
    problem_ = Tr(Texts::tr("This is no PNG, JPEG or SVG picture"));
  } else if (IsSvg()) {
    OpenSvg();
  } else {
    DecodeRaster();
  }
}

TPictureData::~TPictureData() {
  if (svg_ && functions_) functions_->Close(svg_);
}

void TPictureData::DecodeRaster() {
  if (!Complete(kind_, bytes_)) {
    problem_ = Tr(Texts::tr("The %1 file is incomplete (its end is missing)"), kind_);
    return;
  }
  QByteArray data(bytes_.data(), static_cast<qsizetype>(bytes_.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, kind_ == "PNG" ? "png" : "jpeg");
  const QSize claimed = reader.size();
  if (claimed.isValid() && qint64{claimed.width()} * claimed.height() > kMaxPicturePixels) {
    problem_ = Tr(Texts::tr("The picture has %1 × %2 pixels, more than the %3 million allowed"), std::to_string(claimed.width()),
                  std::to_string(claimed.height()), std::to_string(kMaxPicturePixels / 1'000'000));
    return;
  }
  QImage image;
  if (!reader.read(&image) || image.isNull()) {
    problem_ = Tr(Texts::tr("The picture cannot be decoded: %1"), reader.errorString().toStdString());
    return;
  }
  image_ = image;
  size_ = image_.size();
}

void TPictureData::OpenSvg() {
  const std::string safe = WithoutOutsideReferences(bytes_, problem_);
  if (!problem_.empty()) return;
  try {
    if (!SvgLoader()) throw std::runtime_error(Tr(Texts::tr("This program has no SVG drawing module")));
    functions_ = &SvgLoader()();
  } catch (const std::exception& e) {
    problem_ = Tr(Texts::tr("The SVG cannot be shown: %1"), std::string(e.what()));
    return;
  }
  double width = 0, height = 0;
  svg_ = functions_->Open(safe.data(), static_cast<long long>(safe.size()), &width, &height);
  if (!svg_) {
    problem_ = Tr(Texts::tr("The SVG cannot be read"));
    return;
  }
  size_ = QSizeF(width, height);
  if (size_.isEmpty()) size_ = QSizeF(100, 100);
}

void TPictureData::Draw(QPainter& painter, const QRectF& target) const {
  if (!problem_.empty()) return;
  if (svg_) {
    functions_->Render(svg_, &painter, target.x(), target.y(), target.width(), target.height());
    return;
  }
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, image_);
  painter.restore();
}
