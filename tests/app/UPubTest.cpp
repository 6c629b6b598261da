#include "app/UPub.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/rtl/Texts.h"
#include "platform/win/MessageBox.h"

namespace {

namespace fs = std::filesystem;

TEST(ReadProfileString, GivesValueOrEmptyText) {
  const fs::path folder = fs::temp_directory_path() / ("upub-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::string path = (folder / "mark.ini").string();
  std::ofstream(path) << "[tavrix]\ndatapath=/home/x/data\n";
  EXPECT_EQ(ReadProfileString(path, "Tavrix", "DataPath"), "/home/x/data");
  EXPECT_EQ(ReadProfileString(path, "tavrix", "font"), "");
  EXPECT_EQ(ReadProfileString(folder.string(), "tavrix", "datapath"), "");
  fs::remove_all(folder);
  EXPECT_EQ(ReadProfileString(path, "tavrix", "datapath"), "");
}

TEST(ShowWarning, AsksWarningBoxWithOkTitledWithApplicationName) {
  const QString savedName = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName(QStringLiteral("嘜頭編輯"));
  std::string text, caption;
  UINT type = 0;
  int calls = 0;
  SetMessageBoxHook([&](const std::string& t, const std::string& c, UINT ty) {
    text = t;
    caption = c;
    type = ty;
    ++calls;
    return IDOK;
  });
  ShowWarning("客戶編號不存在");
  SetMessageBoxHook({});
  QCoreApplication::setApplicationName(savedName);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(text, "客戶編號不存在");
  EXPECT_EQ(caption, "嘜頭編輯");
  EXPECT_EQ(type & MB_ICONMASK, MB_ICONWARNING);
  EXPECT_EQ(type & MB_TYPEMASK, MB_OK);
}

TEST(DataPath, StartsEmpty) { EXPECT_EQ(DataPath, ""); }

const std::string kCaption = "嘜頭編輯程式 客戶編號  C001";

TEST(MidText, CaptionIsTwentySevenCodePageBytes) { EXPECT_EQ(Utf8ToCp950(kCaption).size(), 27u); }

struct Cut {
  const char* name;
  std::string text;
  int start;
  int count;
  std::string expected;
};

void PrintTo(const Cut& c, std::ostream* os) { *os << c.name; }

class MidTextCut : public testing::TestWithParam<Cut> {};

TEST_P(MidTextCut, CountsCodePageBytes) {
  const Cut& c = GetParam();
  EXPECT_EQ(MidText(c.text, c.start, c.count), c.expected);
}

// 功 is A5 5C in code page 950: its trail byte alone would read as '\'.
INSTANTIATE_TEST_SUITE_P(
    UPub, MidTextCut,
    testing::Values(Cut{"FieldAfterCaption", kCaption, 13, 27, " 客戶編號  C001"},
                    Cut{"WholeCaption", kCaption, 1, 27, kCaption},
                    Cut{"Ascii", "ABCDEF", 2, 3, "BCD"},
                    Cut{"StartZero", "ABCDEF", 0, 2, "AB"},
                    Cut{"StartNegative", "ABCDEF", -5, 2, "AB"},
                    Cut{"CountZero", "ABCDEF", 2, 0, ""},
                    Cut{"CountNegative", "ABCDEF", 2, -1, ""},
                    Cut{"CountPastEnd", "ABCDEF", 4, 100, "DEF"},
                    Cut{"CountAtLimit", "ABCDEF", 1, 2147483647, "ABCDEF"},
                    Cut{"StartPastEndTakesLastByte", "ABCDEF", 10, 3, "F"},
                    Cut{"EmptyText", "", 1, 5, ""},
                    Cut{"WholeCharacters", "正嘜側", 3, 4, "嘜側"},
                    Cut{"EndSplitsCharacter", "正嘜側", 1, 3, "正"},
                    Cut{"StartSplitsCharacter", "正嘜側", 2, 3, "嘜"},
                    Cut{"BothEndsSplit", "正嘜側", 2, 4, "嘜"},
                    Cut{"OnlyHalves", "正嘜", 2, 2, ""},
                    Cut{"AsciiLookingTrail", "功A", 2, 2, "A"},
                    Cut{"AsciiLookingTrailAlone", "功能", 2, 1, ""},
                    Cut{"StartPastEndOnTrail", "正嘜", 9, 1, ""},
                    // A character the code page lacks takes one byte there (its "?") and comes
                    // back as it was.
                    Cut{"UnconvertibleIsOneByte", "a😀b", 2, 2, "😀b"}),
    [](const auto& info) { return std::string(info.param.name); });

class RightTextCut : public testing::TestWithParam<Cut> {};

TEST_P(RightTextCut, CountsCodePageBytes) {
  const Cut& c = GetParam();
  EXPECT_EQ(RightText(c.text, c.count), c.expected);
}

INSTANTIATE_TEST_SUITE_P(UPub, RightTextCut,
                         testing::Values(Cut{"Ascii", "C001", 0, 3, "001"},
                                         Cut{"Field", kCaption, 0, 15, " 客戶編號  C001"},
                                         Cut{"LongerThanText", "C001", 0, 10, "C001"},
                                         Cut{"Zero", "C001", 0, 0, ""},
                                         Cut{"Negative", "C001", 0, -2, ""},
                                         Cut{"EmptyText", "", 0, 3, ""},
                                         Cut{"SplitsCharacter", "正嘜", 0, 3, "嘜"},
                                         Cut{"AsciiLookingTrail", "功", 0, 1, ""},
                                         Cut{"OutsideCodePage", "客ñ", 0, 1, "ñ"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
