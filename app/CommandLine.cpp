#include "app/CommandLine.h"

#include <string_view>

TProgramOptions ParseProgramOptions(int argc, const char* const* argv) {
  TProgramOptions options;
  bool positionalOnly = false;
  for (int i = 1; i < argc && options.Error.empty(); ++i) {
    const std::string_view word = argv[i];
    if (positionalOnly || word.size() < 2 || word.compare(0, 2, "--") != 0) {
      options.Positional.emplace_back(word);
      continue;
    }
    if (word == "--") {
      positionalOnly = true;
      continue;
    }
    // "--name=value" gives the value in the same word.
    const size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    const bool hasValue = equals != std::string_view::npos;
    const std::string_view value = hasValue ? word.substr(equals + 1) : std::string_view();
    const auto flag = [&](bool& target) {
      if (hasValue) options.Error = "option " + std::string(name) + " takes no value";
      else target = true;
    };
    if (name == "--help") {
      flag(options.Help);
    } else if (name == "--version") {
      flag(options.Version);
    } else if (name == "--quit-when-shown") {
      flag(options.QuitWhenShown);
    } else if (name == "--screenshot") {
      // The file is the next word unless it is given in this one; an option in its place means
      // the file was left out, and is not taken for a file's name.
      std::string_view file = value;
      if (!hasValue && i + 1 < argc && std::string_view(argv[i + 1]).compare(0, 2, "--") != 0) file = argv[++i];
      if (file.empty()) {
        options.Error = "option --screenshot needs a file name";
      } else {
        options.Screenshot = file;
        options.QuitWhenShown = true;
      }
    } else {
      options.Error = "unknown option " + std::string(name);
    }
  }
  return options;
}

std::string ProgramUsage(const std::string& program) {
  return "Usage: " + program +
         " [OPTION]... CUSTOMER MARK\n"
         "Opens the editors of the main mark and the side mark of one customer's shipping mark.\n"
         "Without CUSTOMER and MARK the editors open, but nothing can be saved.\n"
         "\n"
         "  --help               print this help and exit\n"
         "  --version            print the version and exit\n"
         "  --quit-when-shown    quit once both editors are shown (a start-up check)\n"
         "  --screenshot FILE    save a picture of the main window once both editors are shown, then quit\n"
         "  --                   every word after this one is a number, even one beginning with --\n";
}
