#include "app/MarkKeys.h"

#include "platform/rtl/Texts.h"
#include "platform/rtl/Tr.h"

namespace {

// Why a mark number cannot be taken.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(MarkKeys)
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

std::string Trimmed(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string CheckNewMarkNumber(std::string& number, const std::string& what) {
  number = Trimmed(number);
  if (number.empty()) return Tr(Texts::tr("Fill in the %1."), what);
  for (const char c : number)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return Tr(Texts::tr("The %1 may hold no control characters."), what);
  const std::string bytes = Utf8ToCp950(number);
  if (!IsUtf8(number) || Cp950ToUtf8(bytes) != number)
    return Tr(Texts::tr("The %1 \"%2\" holds characters Big5 lacks, which the database cannot keep."), what, number);
  if (bytes.size() > kMarkNumberBytes)
    return Tr(Texts::tr("The %1 takes at most %2 bytes (2 for each Chinese character); \"%3\" has %4."), what,
              std::to_string(kMarkNumberBytes), number, std::to_string(bytes.size()));
  return "";
}
