#pragma once
// Rules shared by the two directions of the text form: TextForm.cpp writes text, TextFormParser.cpp
// reads it. Keeping them in one place is what guarantees that every identifier and string the writer
// lets through reads back unchanged. Internal to platform/stream.

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

#include "platform/stream/ValueTypes.h"

namespace textform {

// Objects, lists and collections nest at most this deep, in both directions, so that hostile input
// cannot exhaust the stack.
constexpr int kMaxDepth = 512;
// The bytes of a vaExtended: an x87 80-bit float, which is what long double is on our platform.
constexpr size_t kExtendedSize = 10;
static_assert(std::numeric_limits<long double>::digits == 64,
              "vaExtended is read and written through the x87 80-bit long double");
// A class name whose length byte would look like a filer-flag prefix cannot start a plain record.
constexpr size_t kMaxPlainClassName = kFilerPrefixMask - 1;

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
inline bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }

inline int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Returns the end of the identifier that starts at `pos` (`pos` itself when none does): letters,
// digits and underscores, with dots between parts ("Font.Name", "fmmain.DsnPanel1").
size_t ScanIdent(std::string_view s, size_t pos);
// True when all of `s` is one identifier; without `allowDots` it must be a single part.
bool IsIdent(std::string_view s, bool allowDots);

// Infinities and NaNs have no digits; the text form spells them NAN and INF (with '-' and the suffix
// of the float kind). A vaIdent spelled the same way therefore has no text form.
bool IsSpecialFloatWord(std::string_view word);

// Length of the strictly valid UTF-8 sequence at s[pos] (no overlong forms, no surrogates, nothing
// above U+10FFFF), or 0 when the bytes there are not one. Stores the code point in *cp.
size_t Utf8SequenceLength(std::string_view s, size_t pos, char32_t* cp);

}  // namespace textform
