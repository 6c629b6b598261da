#pragma once
// Mark files: both sides of a mark in one readable text file, to mail a design to another office
// or keep it under version control. The first line names the format and its version; then, under
// a line "[正嘜]" and a line "[側嘜]", each side's design stream in the text form of the layouts
// (`object …`, `end.`). A side without elements has nothing under its line.
//
// Reading checks the header, the size (at most kMarkFileLimit) and the text form of each side;
// what the designs may hold is then checked as a stored mark's is, when the editors read them.

#include <string>
#include <string_view>

inline constexpr char kMarkFileHeader[] = "markedit mark file, version 1";
inline constexpr size_t kMarkFileLimit = size_t{32} << 20;

// Both sides' design streams, as the stage writes them.
struct TMarkFileDesigns {
  std::string Main;
  std::string Side;
};

// The file's text. Raises EReadError when a design is no design stream.
std::string MarkFileText(const TMarkFileDesigns& designs);
// The designs of a file's text. Raises Exception with a message for the clerk that names what is
// wrong: not a mark file, another version, or the side and file line where the text is damaged.
TMarkFileDesigns ParseMarkFile(std::string_view text);

// Writes `path` as a whole (a file half written never takes the old one's place); raises
// Exception saying why it could not.
void SaveMarkFile(const std::string& path, const TMarkFileDesigns& designs);
// Reads and parses `path`; raises Exception for a file that cannot be read, is too long or is no
// mark file.
TMarkFileDesigns LoadMarkFile(const std::string& path);
