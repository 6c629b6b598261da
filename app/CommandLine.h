#pragma once
// The editor's command line:
//
//   markedit [OPTION]... CUSTOMER MARK [IGNORED]
//   markedit --import FILE [CUSTOMER MARK]
//   markedit --export FILE [--side main|side|both] [--bill NO] [--width-mm W] CUSTOMER MARK
//
// Options are the words that begin with "--"; after a lone "--" every word is positional. All
// other words are positional and kept exactly as given: the GUI library sees none of them, so a
// word that looks like one of its options ("-style") stays a customer or mark number.

#include <string>
#include <vector>

struct TProgramOptions {
  // Print the usage, or the version, and stop.
  bool Help = false;
  bool Version = false;
  // Quit as soon as both mark editors are shown (start-up checks and the benchmark).
  bool QuitWhenShown = false;
  // Save a picture of the main window there once the editors are shown, then quit.
  std::string Screenshot;
  // A mark file to read into the editors once they are up (the desktop opens mark files so).
  // Without CUSTOMER and MARK no mark is asked for first: the clerk saves it with Save As.
  std::string Import;
  // Write the stored marks to this file (PDF, SVG or PNG by its extension) without a window.
  std::string Export;
  std::string Side = "main";  // main, side or both
  std::string Bill;           // the shipment whose rows are printed; none: the design itself
  double WidthMm = 200;       // the printed width of the mark
  std::vector<std::string> Positional;
  // Why the command line cannot be used, in one line naming the option: one the program does not
  // know (every word beginning with "-" before "--" is an option), one missing its value, a value
  // given to one that takes none, or an output option without --export. Empty when it can.
  std::string Error;
};

TProgramOptions ParseProgramOptions(int argc, const char* const* argv);

// What --help prints, for the program started as `program`.
std::string ProgramUsage(const std::string& program);
