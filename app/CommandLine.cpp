#include "app/CommandLine.h"

#include <string_view>

TProgramOptions ParseProgramOptions(int argc, const char* const* argv) {
  TProgramOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--quit-when-shown") {
      options.QuitWhenShown = true;
    } else if (argument == "--screenshot" && i + 1 < argc) {
      options.Screenshot = argv[++i];
      options.QuitWhenShown = true;
    } else {
      options.Positional.emplace_back(argument);
    }
  }
  return options;
}
