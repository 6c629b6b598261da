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

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Where a key stands in a profile's text, as readers find it: its first line in the first section
// of that name (any later section of the name is not looked at), and the place just past that
// section's last entry.
struct KeyPlace {
  size_t InsertAt = std::string::npos;   // npos when there is no such section
  size_t LineStart = std::string::npos;  // npos when the section has no such key
  size_t LineEnd = std::string::npos;    // the key's line without its line end
  std::string_view Value;                // what follows "=" on that line
};

KeyPlace FindKey(std::string_view text, const std::string& section, const std::string& key) {
  KeyPlace place;
  bool inSection = false;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    const size_t next = end == std::string_view::npos ? text.size() : end + 1;
    std::string_view line = text.substr(at, (end == std::string_view::npos ? text.size() : end) - at);
    if (at == 0 && line.substr(0, kUtf8Bom.size()) == kUtf8Bom) line.remove_prefix(kUtf8Bom.size());
    const std::string_view trimmed = Trim(line);
    if (const auto name = SectionName(trimmed)) {
      if (inSection) break;  // the wanted section ends here
      inSection = SameText(*name, section);
      if (inSection) place.InsertAt = next;
    } else if (inSection && !trimmed.empty()) {
      place.InsertAt = next;
      const size_t equals = trimmed.find('=');
      if (trimmed.front() != ';' && equals != std::string_view::npos && SameText(Trim(trimmed.substr(0, equals)), key)) {
        place.LineStart = static_cast<size_t>(line.data() - text.data());  // past a byte order mark
        place.LineEnd = place.LineStart + line.size() - (line.back() == '\r' ? 1 : 0);
        place.Value = trimmed.substr(equals + 1);
        break;
      }
    }
    at = next;
  }
  return place;
}

std::string ReadValue(const std::string& section, const std::string& key,
                      const std::string& defaultValue, const std::string& fileName) {
  const std::string text = FileText(ProfilePath(fileName));
  const KeyPlace place = FindKey(text, section, key);
  return place.LineStart == std::string::npos ? defaultValue : ValueText(place.Value);
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

namespace {

// The file's other lines keep their bytes: only the key's line is written, where readers find it,
// or added at the end of the section they read, or in a new section.
void SetKey(std::string& text, const std::string& section, const std::string& key, const std::string& value) {
  const std::string line = key + "=" + value;
  const std::string newline = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  const KeyPlace place = FindKey(text, section, key);
  if (place.LineStart != std::string::npos) {
    text.replace(place.LineStart, place.LineEnd - place.LineStart, line);
  } else if (place.InsertAt != std::string::npos) {
    size_t at = place.InsertAt;
    if (at > 0 && text[at - 1] != '\n') {
      text.insert(at, newline);
      at += newline.size();
    }
    text.insert(at, line + newline);
  } else {
    if (!text.empty() && text.back() != '\n') text += newline;
    text += "[" + section + "]" + newline + line + newline;
  }
}

// Removes the key's line where readers find it, with its line end; nothing when there is none.
void RemoveKey(std::string& text, const std::string& section, const std::string& key) {
  const KeyPlace place = FindKey(text, section, key);
  if (place.LineStart == std::string::npos) return;
  size_t end = text.find('\n', place.LineEnd);
  end = end == std::string::npos ? text.size() : end + 1;
  text.erase(place.LineStart, end - place.LineStart);
}

}  // namespace

bool WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& fileName) {
  return WritePrivateProfileStrings(section, {{key, value}}, fileName);
}

bool WritePrivateProfileStrings(const std::string& section,
                                const std::vector<std::pair<std::string, std::string>>& values,
                                const std::string& fileName, const std::vector<std::string>& remove) {
  if (section.empty()) return false;
  for (const auto& [key, value] : values)
    if (key.empty() || value.find_first_of("\r\n") != std::string::npos) return false;
  const std::string path = ProfilePath(fileName);
  std::string text = FileText(path);
  for (const auto& [key, value] : values) SetKey(text, section, key, value);
  for (const std::string& key : remove) RemoveKey(text, section, key);
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(text.data(), static_cast<qint64>(text.size()));
  return file.commit();
}
