#pragma once
// Texts are UTF-8 in memory. The system's code page is Big5 (code page 950); where positions and
// lengths are counted in bytes of the code page, texts are converted, counted and converted back.

#include <string>
#include <string_view>

// Converts UTF-8 to code page 950. Characters the code page lacks become '?'; invalid UTF-8 bytes
// are treated the same way, so the conversion never fails.
std::string Utf8ToCp950(std::string_view utf8);

// Converts code page 950 to UTF-8. Byte sequences that are not valid Big5 become U+FFFD.
std::string Cp950ToUtf8(std::string_view cp950);

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
int CompareText(std::string_view a, std::string_view b);
