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
  // Without its file the option is an ordinary argument.
  EXPECT_EQ(Parse({"C001", "--screenshot"}).Positional, (std::vector<std::string>{"C001", "--screenshot"}));
}

}  // namespace
