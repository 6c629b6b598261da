// Placeholders in texts printed once per row: what a clerk types and what each row prints.

#include "platform/rtl/Placeholders.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

namespace {

std::string Expand(const std::string& text) {
  static const std::map<std::string, std::string> row{
      {"NW", "10.5"}, {"GW", "-0.004"}, {"CUFT", "9.995"}, {"SHIPTO", "LOS ANGELES"}, {"Q", "1.5e3"}, {"半", "2.675"}};
  return ExpandPlaceholders(text, [](const std::string& name) -> std::optional<std::string> {
    const auto found = row.find(name);
    if (found == row.end()) return std::nullopt;
    return found->second;
  });
}

TEST(Placeholders, EachRowPrintsItsValuesFormattedAndEverythingElseAsTyped) {
  EXPECT_EQ(Expand("N.W. {NW} KGS"), "N.W. 10.5 KGS");
  EXPECT_EQ(Expand("N.W. {NW:0.00} KGS"), "N.W. 10.50 KGS");
  // Rounded on the decimal digits, half away from zero, carrying; no negative zero.
  EXPECT_EQ(Expand("{半:0.00} {CUFT:0.00} {CUFT:0} {GW:0.00} {NW:0}"), "2.68 10.00 10 0.00 11");
  EXPECT_EQ(Expand("{Q:0.0} {SHIPTO:0.00}"), "1500.0 LOS ANGELES") << "an exponent; a value that is no number";
  EXPECT_EQ(Expand("{NW:#,##0}"), "10.5") << "a format not understood prints the value as it is";
  EXPECT_EQ(Expand("{{NW}} {{{NW}}} {XYZ} {} { {NW"), "{NW} {10.5} {XYZ} {} { {NW");
  EXPECT_EQ(Expand("}} } {:0}"), "} } {:0}");
  ASSERT_EQ(FindPlaceholders("{a}{b:0.0}{{c}}").size(), 2u);
  EXPECT_EQ(FindPlaceholders("x {b:0.0}")[0].Format, "0.0");
}

}  // namespace
