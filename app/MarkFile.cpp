#include "app/MarkFile.h"

#include <QFile>
#include <QSaveFile>

#include <string>

#include "platform/rtl/Exception.h"
#include "platform/stream/TextForm.h"

namespace {

constexpr char kMainLine[] = "[正嘜]";
constexpr char kSideLine[] = "[側嘜]";

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The text of one side: its design in the text form, nothing for an empty design.
std::string SideText(const std::string& design) { return design.empty() ? std::string() : StreamToText(design); }

// A side's design from its text, whose first line is line `firstLine` of the file.
std::string SideDesign(const std::string& text, const char* side, int firstLine) {
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) return std::string();
  try {
    return TextToStream(text);
  } catch (const ETextFormError& e) {
    // The converter counts the side's lines; the clerk looks at the file's.
    throw Exception(std::string(side) + "的第 " + std::to_string(e.Line() + firstLine - 1) + " 行無法讀取：" + e.Detail());
  } catch (const EReadError& e) {
    const std::string message = e.what();
    throw Exception(std::string(side) + "無法讀取：" + message);
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
  if (text.size() > kMarkFileLimit) throw Exception("嘜頭檔最大 32 MB，這個檔案太大了。");
  std::string body(text);
  if (body.compare(0, 3, "\xEF\xBB\xBF") == 0) body.erase(0, 3);  // a byte order mark an editor added
  const size_t headerEnd = body.find('\n');
  std::string header = body.substr(0, headerEnd);
  if (!header.empty() && header.back() == '\r') header.pop_back();
  if (header != kMarkFileHeader) {
    if (header.rfind("markedit mark file, version ", 0) == 0)
      throw Exception("這個嘜頭檔的格式版本（" + header.substr(28) + "）這個程式不認得，只能讀取版本 1。");
    throw Exception("這不是嘜頭檔：第一行應為「" + std::string(kMarkFileHeader) + "」。");
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
      throw Exception("嘜頭檔第 " + std::to_string(line) + " 行應為「" + kMainLine + "」。");
    }
    at = end + 1;
  }
  if (!sawMain || !sawSide) throw Exception("嘜頭檔不完整：缺少「" + std::string(sawMain ? kSideLine : kMainLine) + "」一行。");
  return {SideDesign(main, "正嘜", mainFirst), SideDesign(side, "側嘜", sideFirst)};
}

void SaveMarkFile(const std::string& path, const TMarkFileDesigns& designs) {
  const std::string text = MarkFileText(designs);
  QSaveFile file(Q(path));
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) || !file.commit())
    throw Exception("無法寫入嘜頭檔 " + path + "：" + file.errorString().toStdString());
}

TMarkFileDesigns LoadMarkFile(const std::string& path) {
  QFile file(Q(path));
  if (!file.open(QIODevice::ReadOnly)) throw Exception("無法開啟嘜頭檔 " + path + "：" + file.errorString().toStdString());
  if (file.size() > static_cast<qint64>(kMarkFileLimit)) throw Exception("嘜頭檔最大 32 MB，這個檔案太大了。");
  // One byte past the limit tells a file that grew while it was read.
  const QByteArray bytes = file.read(static_cast<qint64>(kMarkFileLimit) + 1);
  return ParseMarkFile(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}
