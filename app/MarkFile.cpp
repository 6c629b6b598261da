#include "app/MarkFile.h"

#include <QFile>
#include <QSaveFile>

#include <string>

#include "app/MarkStore.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Tr.h"
#include "platform/stream/TextForm.h"

namespace {

// What the clerk is told of a mark file.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(MarkFile)
};

constexpr char kMainLine[] = "[正嘜]";
constexpr char kSideLine[] = "[側嘜]";

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string TooLarge() { return Tr(Texts::tr("A mark file holds at most 32 MB; this one is larger.")); }

// The text of one side: its design in the text form, nothing for an empty design.
std::string SideText(const std::string& design) { return design.empty() ? std::string() : StreamToText(design); }

// A side's design from its text, whose first line is line `firstLine` of the file.
std::string SideDesign(const std::string& text, const std::string& side, int firstLine) {
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) return std::string();
  try {
    return TextToStream(text);
  } catch (const ETextFormError& e) {
    // The converter counts the side's lines; the clerk looks at the file's.
    throw Exception(Tr(Texts::tr("Line %2 of the %1 cannot be read: %3"), side, std::to_string(e.Line() + firstLine - 1), e.Detail()));
  } catch (const EReadError& e) {
    throw Exception(Tr(Texts::tr("The %1 cannot be read: %2"), side, std::string(e.what())));
  }
}

}  // namespace

std::string MarkFileText(const TMarkFileDesigns& designs) {
  std::string text = std::string(kMarkFileHeader) + "\n" + kMainLine + "\n" + SideText(designs.Main);
  if (!text.empty() && text.back() != '\n') text += '\n';
  text += std::string(kSideLine) + "\n" + SideText(designs.Side);
  if (text.back() != '\n') text += '\n';
  return text;
}

TMarkFileDesigns ParseMarkFile(std::string_view text) {
  if (text.size() > kMarkFileLimit) throw Exception(TooLarge());
  std::string body(text);
  if (body.compare(0, 3, "\xEF\xBB\xBF") == 0) body.erase(0, 3);  // a byte order mark an editor added
  const size_t headerEnd = body.find('\n');
  std::string header = body.substr(0, headerEnd);
  if (!header.empty() && header.back() == '\r') header.pop_back();
  if (header != kMarkFileHeader) {
    if (header.rfind("markedit mark file, version ", 0) == 0)
      throw Exception(Tr(Texts::tr("This mark file has a format version (%1) this program does not know; it reads version 1 only."), header.substr(28)));
    throw Exception(Tr(Texts::tr("This is no mark file: its first line should be \"%1\"."), std::string(kMarkFileHeader)));
  }
  // The lines, each with its number in the file.
  std::string main;
  std::string side;
  std::string* into = nullptr;
  int mainFirst = 0;
  int sideFirst = 0;
  int line = 1;
  bool sawMain = false;
  bool sawSide = false;
  size_t at = headerEnd == std::string::npos ? body.size() : headerEnd + 1;
  while (at < body.size()) {
    size_t end = body.find('\n', at);
    if (end == std::string::npos) end = body.size();
    std::string current = body.substr(at, end - at);
    ++line;
    std::string bare = current;
    if (!bare.empty() && bare.back() == '\r') bare.pop_back();
    if (bare == kMainLine && !sawMain && !sawSide) {
      sawMain = true;
      into = &main;
      mainFirst = line + 1;
    } else if (bare == kSideLine && sawMain && !sawSide) {
      sawSide = true;
      into = &side;
      sideFirst = line + 1;
    } else if (into) {
      *into += current + "\n";
    } else if (bare.find_first_not_of(" \t") != std::string::npos) {
      throw Exception(Tr(Texts::tr("Line %1 of the mark file should be \"%2\"."), std::to_string(line), std::string(kMainLine)));
    }
    at = end + 1;
  }
  if (!sawMain || !sawSide)
    throw Exception(Tr(Texts::tr("The mark file is incomplete: the line \"%1\" is missing."), std::string(sawMain ? kSideLine : kMainLine)));
  return {SideDesign(main, MarkSideName("0"), mainFirst), SideDesign(side, MarkSideName("1"), sideFirst)};
}

void SaveMarkFile(const std::string& path, const TMarkFileDesigns& designs) {
  const std::string text = MarkFileText(designs);
  QSaveFile file(Q(path));
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) || !file.commit())
    throw Exception(Tr(Texts::tr("Cannot write the mark file %1: %2"), path, file.errorString().toStdString()));
}

TMarkFileDesigns LoadMarkFile(const std::string& path) {
  QFile file(Q(path));
  if (!file.open(QIODevice::ReadOnly))
    throw Exception(Tr(Texts::tr("Cannot open the mark file %1: %2"), path, file.errorString().toStdString()));
  if (file.size() > static_cast<qint64>(kMarkFileLimit)) throw Exception(TooLarge());
  // One byte past the limit tells a file that grew while it was read.
  const QByteArray bytes = file.read(static_cast<qint64>(kMarkFileLimit) + 1);
  return ParseMarkFile(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}
