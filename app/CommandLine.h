#pragma once
// The editor's command line:
//
//   markedit [--quit-when-shown] [--screenshot FILE] CUSTOMER MARK [IGNORED]
//
// Everything that is not one of the two options is positional and kept exactly as given; the GUI
// library sees none of it, so an argument that looks like one of its options ("-style") stays a
// customer or mark number.

#include <string>
#include <vector>

struct TProgramOptions {
  // Quit as soon as both mark editors are shown (start-up checks and the benchmark).
  bool QuitWhenShown = false;
  // Save a picture of the main window there once the editors are shown, then quit.
  std::string Screenshot;
  std::vector<std::string> Positional;
};

TProgramOptions ParseProgramOptions(int argc, const char* const* argv);
