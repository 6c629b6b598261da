#include "app/UPub.h"

#include <QCoreApplication>

#include <cstddef>

#include "platform/rtl/Texts.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Profile.h"

std::string DataPath;

std::string ReadProfileString(const std::string& fileName, const std::string& section,
                              const std::string& key) {
  try {
    return GetPrivateProfileString(section, key, "", fileName);
  } catch (...) {
    return "";
  }
}

void ShowWarning(const std::string& message) {
  MessageBox(0, message, QCoreApplication::applicationName().toStdString(),
             MB_ICONWARNING | MB_OK);
}

namespace {

bool IsLeadByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFE;
}

// The code page text `count` bytes from `offset` (0-based, both within the text) back in UTF-8,
// without the halves of split characters. A trail byte can look like an ASCII character, so the
// character bounds are found by walking from the start of the text.
std::string CutCp950(const std::string& bytes, size_t offset, size_t count) {
  const auto width = [&](size_t i) -> size_t {
    return IsLeadByte(bytes[i]) && i + 1 < bytes.size() ? 2 : 1;
  };
  size_t begin = 0;
  while (begin < offset) begin += width(begin);
  const size_t end = offset + count;
  size_t stop = begin;
  while (stop < end && stop + width(stop) <= end) stop += width(stop);
  if (begin >= stop) return {};
  return Cp950ToUtf8(std::string_view(bytes).substr(begin, stop - begin));
}

}  // namespace

std::string MidText(const std::string& text, int start, int count) {
  const std::string bytes = Utf8ToCp950(text);
  const long long length = static_cast<long long>(bytes.size());
  long long first = start;
  if (length < first) first = length;
  if (first < 1) first = 1;
  long long taken = count;
  if (taken > length - first + 1) taken = length - first + 1;
  if (taken < 1) return {};
  return CutCp950(bytes, static_cast<size_t>(first - 1), static_cast<size_t>(taken));
}

std::string RightText(const std::string& text, int n) {
  const std::string bytes = Utf8ToCp950(text);
  const size_t length = bytes.size();
  if (n < 1) return {};
  const size_t taken = static_cast<size_t>(n) < length ? static_cast<size_t>(n) : length;
  if (taken == 0) return {};
  return CutCp950(bytes, length - taken, taken);
}
