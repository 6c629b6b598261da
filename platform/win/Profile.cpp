#include "platform/win/Profile.h"

#include <exception>
#include <fstream>
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
