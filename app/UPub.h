#pragma once
// Routines shared by the application's windows.

#include <string>

// The folder of the application's data files; the main window sets it when it opens.
extern std::string DataPath;

// The value of `key` in `section` of the profile file `fileName` (see ProfilePath), or the empty
// text when it is missing or anything goes wrong. Never throws.
std::string ReadProfileString(const std::string& fileName, const std::string& section,
                              const std::string& key);

// Shows `message` in a modal warning box with a single OK button, titled with the application's
// name, and returns when the user has closed it.
void ShowWarning(const std::string& message);

// Positions and counts of the two routines below are bytes of code page 950, where a Chinese
// character takes two bytes, as the fixed-width fields of mark texts are laid out; the first byte
// is at position 1. Texts go in and come out as UTF-8.
//
// A cut that splits a double-byte character drops the half inside the range instead of turning it
// into a broken character, so the result may be one byte shorter at either end. A character the
// code page lacks counts as the one byte ("?") it takes there and comes back as it was.

// `count` bytes from position `start`. A start past the end moves to the last byte, a start below
// 1 counts as 1, and the count stops at the end of the text; a count below 1 gives the empty text.
std::string MidText(const std::string& text, int start, int count);

// The last `n` bytes, or the whole text when it is shorter; `n` below 1 gives the empty text.
std::string RightText(const std::string& text, int n);
