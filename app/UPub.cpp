#include "app/UPub.h"

#include <QCoreApplication>

#include <cstddef>
#include <string_view>
#include <vector>

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

// One character of a text: where it stands in the UTF-8 text and how many bytes it takes in the
// code page (two for a Chinese character; one for ASCII and for a character the code page lacks,
// which the code page writes as one "?").
struct Piece {
  size_t begin;
  size_t length;
  size_t width;
};

std::vector<Piece> Pieces(const std::string& text) {
  std::vector<Piece> pieces;
  for (size_t at = 0; at < text.size();) {
    const Utf8Step step = DecodeUtf8(std::string_view(text).substr(at));
    const size_t width = step.valid && step.code < 0x80 ? 1 : Utf8ToCp950(text.substr(at, step.length)).size();
    pieces.push_back({at, step.length, width});
    at += step.length;
  }
  return pieces;
}

size_t Width(const std::vector<Piece>& pieces) {
  size_t width = 0;
  for (const Piece& piece : pieces) width += piece.width;
  return width;
}

// The characters that lie wholly within `count` code page bytes from `offset` (0-based), as they
// stand in the text: a character split by either end is left out, and characters the code page
// lacks are kept. Malformed bytes come back as the code page would show them.
std::string Cut(const std::string& text, const std::vector<Piece>& pieces, size_t offset, size_t count) {
  std::string out;
  size_t at = 0;
  for (const Piece& piece : pieces) {
    if (at >= offset && at + piece.width <= offset + count) {
      const std::string original = text.substr(piece.begin, piece.length);
      out += DecodeUtf8(original).valid ? original : Cp950ToUtf8(Utf8ToCp950(original));
    }
    at += piece.width;
  }
  return out;
}

}  // namespace

std::string MidText(const std::string& text, int start, int count) {
  const std::vector<Piece> pieces = Pieces(text);
  const long long length = static_cast<long long>(Width(pieces));
  long long first = start;
  if (length < first) first = length;
  if (first < 1) first = 1;
  long long taken = count;
  if (taken > length - first + 1) taken = length - first + 1;
  if (taken < 1) return {};
  return Cut(text, pieces, static_cast<size_t>(first - 1), static_cast<size_t>(taken));
}

std::string RightText(const std::string& text, int n) {
  const std::vector<Piece> pieces = Pieces(text);
  const size_t length = Width(pieces);
  if (n < 1) return {};
  const size_t taken = static_cast<size_t>(n) < length ? static_cast<size_t>(n) : length;
  if (taken == 0) return {};
  return Cut(text, pieces, length - taken, taken);
}
