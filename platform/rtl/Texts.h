#pragma once
// Texts are UTF-8 in memory. The system's code page is Big5 (code page 950); where positions and
// lengths are counted in bytes of the code page, texts are converted, counted and converted back.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Converts UTF-8 to code page 950. Characters the code page lacks become '?'; invalid UTF-8 bytes
// are treated the same way, so the conversion never fails.
std::string Utf8ToCp950(std::string_view utf8);

// Converts code page 950 to UTF-8. Byte sequences that are not valid Big5 become U+FFFD.
std::string Cp950ToUtf8(std::string_view cp950);

// One step of UTF-8 decoding. When the bytes at the front form a well-formed character (no overlong
// forms, no surrogates, nothing above U+10FFFF), `valid` is set and `length` counts its bytes.
// Otherwise `length` counts the maximal ill-formed prefix (at least one byte), so that each broken
// sequence is replaced once, as Unicode recommends. `text` must not be empty.
struct Utf8Step {
  char32_t code = 0;
  size_t length = 1;
  bool valid = false;
};
Utf8Step DecodeUtf8(std::string_view text);
void AppendUtf8(std::string& out, char32_t code);

// True when every byte is below 0x80.
bool IsAscii(std::string_view text);

// True when the text is well-formed UTF-8: no overlong forms, surrogates or values past U+10FFFF.
bool IsUtf8(std::string_view text);

// Converts UTF-8 to UTF-16 and back; invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// ASCII-only case folding, as the framework compares identifiers and names.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
// `text` in double quotes for a message: a quote or backslash is escaped with a backslash and a
// control character shown as \xNN, so that data from elsewhere can't break or fake the lines
// around it. Other characters, Chinese ones among them, stay as they are.
std::string QuotedText(std::string_view text);
int CompareText(std::string_view a, std::string_view b);
// A hash that ignores case as SameText does (texts SameText finds equal hash alike), for tables
// that look names up without making an upper-case copy first.
uint64_t HashText(std::string_view text);
