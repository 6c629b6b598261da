#pragma once
// Profile files: plain text in sections,
//
//   [section]
//   key=value
//
// read the way the system's profile routines read them.

#include <string>
#include <utility>
#include <vector>

// Where a profile file lives: a bare file name (no "/") names the file in WindowsFolder(); any
// other name is the path as given.
std::string ProfilePath(const std::string& fileName);

// The value of `key` in `section` of the profile file, or `defaultValue` when the file, the section
// or the key is missing or the file cannot be read. Never throws.
//
// Section and key names compare without regard to ASCII case. Blanks around names and values are
// dropped, and so is one pair of double or single quotes enclosing the whole value. Lines that
// start with ';' are comments. Lines may end in CRLF, and the file may open with a UTF-8 byte order
// mark. Values that are not well-formed UTF-8 are taken to be in code page 950 and converted.
//
// Only the first section of a name counts: its first line for the key wins, and a later section
// of the same name is ignored, even when the first one lacks the key.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& fileName);

// Sets `key` in `section` of the profile file to `value` (one line of text, written as given):
// the key's line in the first section of that name is replaced, or the key is added at the end of
// that section, or a new section is added at the end of the file. Every other byte of the file
// stays as it was, whatever its code page; the file is replaced as a whole once written. False
// when it cannot be written.
bool WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& fileName);
// The same for several keys of one section, in order, the file written once; the keys of `remove`
// lose their lines (line end included) where readers find them.
bool WritePrivateProfileStrings(const std::string& section,
                                const std::vector<std::pair<std::string, std::string>>& values,
                                const std::string& fileName, const std::vector<std::string>& remove = {});
