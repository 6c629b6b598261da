#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TProgramOptions Parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "markedit");
  return ParseProgramOptions(static_cast<int>(arguments.size()), arguments.data());
}

// Every word that begins with "-" is an option, "-h" too: a number that begins with one follows
// "--", and the message says so.
TEST(CommandLine, TakesNumbersThatLookLikeOptionsOnlyAfterTheMarker) {
  EXPECT_EQ(Parse({"-h"}).Error, "unknown option -h; a number that begins with - follows --");
  EXPECT_EQ(Parse({"-style", "M01"}).Error, "unknown option -style; a number that begins with - follows --");
  const TProgramOptions options = Parse({"--", "-style", "M01", "-platform"});
  EXPECT_EQ(options.Error, "");
  EXPECT_EQ(options.Positional, (std::vector<std::string>{"-style", "M01", "-platform"}));
  EXPECT_EQ(Parse({"-", "M01"}).Positional, (std::vector<std::string>{"-", "M01"}));
}

TEST(CommandLine, TakesItsOwnOptionsAnywhere) {
  const TProgramOptions options = Parse({"C001", "--screenshot", "shot.png", "M01", "--quit-when-shown"});
  EXPECT_TRUE(options.QuitWhenShown);
  EXPECT_EQ(options.Screenshot, "shot.png");
  EXPECT_EQ(options.Positional, (std::vector<std::string>{"C001", "M01"}));
  EXPECT_TRUE(options.Error.empty());
  EXPECT_EQ(Parse({"--screenshot=a=b.png", "C001"}).Screenshot, "a=b.png");
  // After a lone "--" a number may begin with "--".
  EXPECT_EQ(Parse({"--", "--C001", "M01"}).Positional, (std::vector<std::string>{"--C001", "M01"}));
}

// A mistyped or incomplete option is named, never taken for a number or silently dropped.
TEST(CommandLine, NamesTheOptionItCannotUse) {
  EXPECT_EQ(Parse({"--print", "x.pdf", "C001", "M01"}).Error,
            "unknown option --print; a number that begins with - follows --");
  EXPECT_EQ(Parse({"--export", "--bill", "EX1", "C001"}).Error, "option --export needs a file name");
  EXPECT_EQ(Parse({"--export", "x.pdf", "--side", "top", "C001"}).Error, "option --side takes main, side or both, not top");
  for (const char* width : {"12cm", "0x20", "1e2", "+50", " 50", "50.", ".5e3", "inf", "nan"})
    EXPECT_EQ(Parse({"--export", "x.pdf", "--width-mm", width, "C001"}).Error,
              std::string("option --width-mm takes a width from 10 to 5000 millimetres, not ") + width);
  // What only an export reads is refused without one, never silently dropped.
  for (const char* option : {"--bill=EX1", "--side=both", "--width-mm=150"})
    EXPECT_EQ(Parse({option, "C001", "M01"}).Error, "options --side, --bill and --width-mm go with --export");
  const TProgramOptions exported = Parse({"--export=a b.svg", "--side", "both", "--bill=EX1", "--width-mm", "150.5", "C1", "M1"});
  EXPECT_EQ(exported.Error, "");
  EXPECT_EQ(exported.Export, "a b.svg");
  EXPECT_EQ(exported.Side, "both");
  EXPECT_EQ(exported.Bill, "EX1");
  EXPECT_EQ(exported.WidthMm, 150.5);
  EXPECT_EQ(exported.Positional, (std::vector<std::string>{"C1", "M1"}));
  EXPECT_EQ(Parse({"C001", "--screenshot"}).Error, "option --screenshot needs a file name");
  EXPECT_EQ(Parse({"--screenshot", "--quit-when-shown", "C001"}).Error, "option --screenshot needs a file name");
  EXPECT_EQ(Parse({"--screenshot=", "C001"}).Error, "option --screenshot needs a file name");
  EXPECT_EQ(Parse({"--help=me"}).Error, "option --help takes no value");
  EXPECT_EQ(Parse({"--Help"}).Error, "unknown option --Help; a number that begins with - follows --");
}

}  // namespace
