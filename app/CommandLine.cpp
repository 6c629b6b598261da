#include "app/CommandLine.h"

#include <cstdlib>
#include <optional>
#include <string_view>

namespace {
// A word that begins with "-" is an option ("-" alone is a word like any other).
bool IsOption(std::string_view word) { return word.size() >= 2 && word[0] == '-'; }

// Digits with an optional decimal fraction: "120", "120.5"; never a sign, an exponent or hex.
bool IsDecimal(std::string_view text) {
  const size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view("0") : text.substr(point + 1);
  auto digits = [](std::string_view part) {
    return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return digits(whole) && digits(fraction);
}
}  // namespace

TProgramOptions ParseProgramOptions(int argc, const char* const* argv) {
  TProgramOptions options;
  bool positionalOnly = false;
  bool outputOption = false;  // --side, --bill or --width-mm, which only an export reads
  for (int i = 1; i < argc && options.Error.empty(); ++i) {
    const std::string_view word = argv[i];
    if (positionalOnly || !IsOption(word)) {
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
    // The value is the next word unless it is given in this one; an option in its place means the
    // value was left out, and is not taken for one.
    const auto valueOf = [&](const char* what) -> std::optional<std::string> {
      std::string_view given = value;
      if (!hasValue && i + 1 < argc && !IsOption(argv[i + 1])) given = argv[++i];
      if (given.empty()) {
        options.Error = "option " + std::string(name) + " needs " + what;
        return std::nullopt;
      }
      return std::string(given);
    };
    if (name == "--help") {
      flag(options.Help);
    } else if (name == "--version") {
      flag(options.Version);
    } else if (name == "--quit-when-shown") {
      flag(options.QuitWhenShown);
    } else if (name == "--screenshot") {
      if (const auto file = valueOf("a file name")) {
        options.Screenshot = *file;
        options.QuitWhenShown = true;
      }
    } else if (name == "--import") {
      if (const auto file = valueOf("a mark file")) options.Import = *file;
    } else if (name == "--export") {
      if (const auto file = valueOf("a file name")) options.Export = *file;
    } else if (name == "--side") {
      outputOption = true;
      if (const auto side = valueOf("main, side or both")) {
        if (*side == "main" || *side == "side" || *side == "both") options.Side = *side;
        else options.Error = "option --side takes main, side or both, not " + *side;
      }
    } else if (name == "--bill") {
      outputOption = true;
      if (const auto bill = valueOf("a shipment number")) options.Bill = *bill;
    } else if (name == "--width-mm") {
      outputOption = true;
      if (const auto width = valueOf("a width in millimetres")) {
        const double mm = IsDecimal(*width) ? std::strtod(width->c_str(), nullptr) : 0;
        if (!(mm >= 10 && mm <= 5000))
          options.Error = "option --width-mm takes a width from 10 to 5000 millimetres, not " + *width;
        else options.WidthMm = mm;
      }
    } else {
      options.Error = "unknown option " + std::string(name) + "; a number that begins with - follows --";
    }
  }
  if (options.Error.empty() && outputOption && options.Export.empty())
    options.Error = "options --side, --bill and --width-mm go with --export";
  if (options.Error.empty() && !options.Import.empty() && !options.Export.empty())
    options.Error = "option --import opens the editors and does not go with --export";
  return options;
}

std::string ProgramUsage(const std::string& program) {
  return "Usage: " + program +
         " [OPTION]... CUSTOMER MARK\n"
         "Opens the editors of the main mark and the side mark of one customer's shipping mark.\n"
         "Without CUSTOMER and MARK the open dialog asks for the mark first.\n"
         "\n"
         "  --help               print this help and exit\n"
         "  --version            print the version and exit\n"
         "  --quit-when-shown    quit once both editors are shown (a start-up check)\n"
         "  --screenshot FILE    save a picture of the main window once both editors are shown, then quit\n"
         "  --import FILE        read the mark file FILE (*.mark) into the editors; without CUSTOMER\n"
         "                       and MARK it is saved with File > Save As\n"
         "\n"
         "Output without a window, from the stored marks:\n"
         "  --export FILE        write the mark to FILE, a PDF, SVG or PNG by its extension, and exit;\n"
         "                       SVG and PNG hold one page each: more pages go to FILE-001.svg, ...\n"
         "  --side WHICH         main (the default), side, or both (main then side for each row)\n"
         "  --bill NO            one page for each row of the shipment NO (出口文件單號);\n"
         "                       without it, one page of the design itself\n"
         "  --width-mm W         the printed width of the mark, 10 to 5000 mm (default 200)\n"
         "  --                   every word after this one is a number, even one beginning with -\n";
}
