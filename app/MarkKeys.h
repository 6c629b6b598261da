#pragma once
// The numbers a new mark is kept under. The key columns of table md hold 20 bytes of the mark code
// page (Big5), so a new customer or mark number is trimmed of its outer blanks and must then be
// non-empty, written with characters that code page has, and at most 20 bytes in it. Existing rows
// are opened by their stored key exactly as it is.

#include <string>

inline constexpr size_t kMarkNumberBytes = 20;

// `text` without its outer blanks.
std::string Trimmed(const std::string& text);

// Trims `number` in place; returns what is wrong with it for the clerk ("客戶編號" or "嘜頭編號"
// as `what` names it), or an empty text when it may be used.
std::string CheckNewMarkNumber(std::string& number, const std::string& what);
