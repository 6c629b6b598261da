#include "app/MarkKeys.h"

#include "platform/rtl/Texts.h"

namespace {

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
  if (number.empty()) return "請輸入" + what + "。";
  for (const char c : number)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return what + "不能含有控制字元。";
  const std::string bytes = Utf8ToCp950(number);
  if (!IsUtf8(number) || Cp950ToUtf8(bytes) != number)
    return what + "「" + number + "」含有 Big5 沒有的字，資料庫存不下。";
  if (bytes.size() > kMarkNumberBytes)
    return what + "最多 " + std::to_string(kMarkNumberBytes) + " 個位元組（中文字每字 2 個），「" + number +
           "」有 " + std::to_string(bytes.size()) + " 個。";
  return "";
}
