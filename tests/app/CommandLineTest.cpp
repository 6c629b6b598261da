#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TProgramOptions Parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "markedit");
  return ParseProgramOptions(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLine, KeepsNumbersThatLookLikeOptionsOfTheGuiLibrary) {
  const TProgramOptions options = Parse({"-style", "M01", "-platform"});
  EXPECT_FALSE(options.QuitWhenShown);
  EXPECT_EQ(options.Positional, (std::vector<std::string>{"-style", "M01", "-platform"}));
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
  EXPECT_EQ(Parse({"--export", "x.pdf", "C001", "M01"}).Error, "unknown option --export");
  EXPECT_EQ(Parse({"C001", "--screenshot"}).Error, "option --screenshot needs a file name");
  EXPECT_EQ(Parse({"--screenshot", "--quit-when-shown", "C001"}).Error, "option --screenshot needs a file name");
  EXPECT_EQ(Parse({"--screenshot=", "C001"}).Error, "option --screenshot needs a file name");
  EXPECT_EQ(Parse({"--help=me"}).Error, "option --help takes no value");
  EXPECT_EQ(Parse({"--Help"}).Error, "unknown option --Help");
}

}  // namespace
