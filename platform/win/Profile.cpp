#include "platform/win/Profile.h"

#include <QSaveFile>

#include <exception>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

#include "platform/rtl/Texts.h"
#include "platform/win/Folders.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string ValueText(std::string_view value) {
  value = Unquote(Trim(value));
  return IsUtf8(value) ? std::string(value) : Cp950ToUtf8(value);
}

// The name of a section line "[name]", or nothing when the line does not open a section. A line
// lacking the closing bracket names the rest of the line.
std::optional<std::string_view> SectionName(std::string_view line) {
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  return Trim(line.substr(0, line.find(']')));
}

std::string ReadValue(const std::string& section, const std::string& key,
                      const std::string& defaultValue, const std::string& fileName) {
  std::ifstream file(ProfilePath(fileName), std::ios::binary);
  bool inSection = false;
  bool firstLine = true;
  std::string buffer;
  while (std::getline(file, buffer)) {
    std::string_view line = buffer;
    if (firstLine && line.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
      line.remove_prefix(kUtf8Bom.size());
    }
    firstLine = false;
    line = Trim(line);
    if (line.empty() || line.front() == ';') continue;

    if (const auto name = SectionName(line)) {
      // Leaving the first section of the wanted name ends the search.
      if (inSection) return defaultValue;
      inSection = SameText(*name, section);
      continue;
    }
    if (!inSection) continue;
    const size_t equals = line.find('=');
    if (equals != std::string_view::npos && SameText(Trim(line.substr(0, equals)), key)) {
      return ValueText(line.substr(equals + 1));
    }
  }
  return defaultValue;
}

}  // namespace

std::string ProfilePath(const std::string& fileName) {
  if (fileName.find('/') != std::string::npos) return fileName;
  const std::string folder = WindowsFolder();
  return folder.back() == '/' ? folder + fileName : folder + "/" + fileName;
}

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& fileName) {
  try {
    return ReadValue(section, key, defaultValue, fileName);
  } catch (const std::exception&) {
    return defaultValue;
  }
}

bool WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& fileName) {
  if (section.empty() || key.empty() || value.find_first_of("\r\n") != std::string::npos) return false;
  const std::string path = ProfilePath(fileName);
  std::string text;
  {
    std::ifstream in(path, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // The file's other lines keep their bytes: only the key's line is written, in the first section
  // of that name (the one readers see), or added at that section's end, or in a new section.
  const std::string line = key + "=" + value;
  const std::string newline = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  size_t at = 0;
  size_t insertAt = std::string::npos;  // past the wanted section's last entry, once it is found
  bool inSection = false;
  bool replaced = false;
  while (at < text.size() && !replaced) {
    const size_t end = text.find('\n', at);
    const size_t next = end == std::string::npos ? text.size() : end + 1;
    std::string_view current = std::string_view(text).substr(at, next - at);
    if (at == 0 && current.substr(0, kUtf8Bom.size()) == kUtf8Bom) current.remove_prefix(kUtf8Bom.size());
    const std::string_view trimmed = Trim(current.substr(0, current.find('\n')));
    if (const auto name = SectionName(trimmed)) {
      if (inSection) break;  // the wanted section ends here
      inSection = SameText(*name, section);
      if (inSection) insertAt = next;
    } else if (inSection && !trimmed.empty()) {
      const size_t equals = trimmed.find('=');
      if (trimmed.front() != ';' && equals != std::string_view::npos && SameText(Trim(trimmed.substr(0, equals)), key)) {
        size_t lineEnd = end == std::string::npos ? text.size() : end;
        if (lineEnd > at && text[lineEnd - 1] == '\r') --lineEnd;
        text.replace(at, lineEnd - at, line);
        replaced = true;
      }
      insertAt = next;
    }
    at = next;
  }
  if (!replaced && insertAt != std::string::npos) {
    if (insertAt > 0 && text[insertAt - 1] != '\n') {
      text.insert(insertAt, newline);
      insertAt += newline.size();
    }
    text.insert(insertAt, line + newline);
  } else if (!replaced) {
    if (!text.empty() && text.back() != '\n') text += newline;
    text += "[" + section + "]" + newline + line + newline;
  }
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(text.data(), static_cast<qint64>(text.size()));
  return file.commit();
}
