#include "platform/rtl/Texts.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

const std::string kBad = "\xEF\xBF\xBD";  // U+FFFD
const std::u16string kBad16 = u"\uFFFD";

class Big5Caption : public testing::TestWithParam<const char*> {};

TEST_P(Big5Caption, RoundTripsAtTwoBytesACharacter) {
  const std::string caption = GetParam();
  const std::string bytes = Utf8ToCp950(caption);
  EXPECT_EQ(bytes.size(), Utf8ToUtf16(caption).size() * 2);
  EXPECT_EQ(bytes.find('?'), std::string::npos);
  EXPECT_EQ(Cp950ToUtf8(bytes), caption);
}

INSTANTIATE_TEST_SUITE_P(Texts, Big5Caption,
                         testing::Values("嘜頭編輯程式", "正嘜", "側嘜", "連結", "新細明體", "細明體"));

TEST(Cp950, UsesBig5Bytes) {
  EXPECT_EQ(Utf8ToCp950("嘜頭 A一功€"), "\xE1\x4D\xC0\x59 A\xA4\x40\xA5\x5C\xA3\xE1");
  EXPECT_EQ(Cp950ToUtf8("\xA5\x5C\xA3\xE1"), "功€");
}

using Conversion = std::pair<std::string, std::string>;

class ToCp950Repair : public testing::TestWithParam<Conversion> {};

TEST_P(ToCp950Repair, GivesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp950(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Texts, ToCp950Repair,
                         testing::Values(Conversion{std::string("a\0b", 3), std::string("a\0b", 3)},
                                         Conversion{"正😀嘜", "\xA5\xBF?\xE1\x4D"},  // not in Big5
                                         Conversion{"é", "?"},
                                         Conversion{"a\xFF" "b", "a?b"},
                                         Conversion{"\x80正", "?\xA5\xBF"},
                                         Conversion{"\xC0\xAF", "??"},          // overlong
                                         Conversion{"\xED\xA0\x80", "???"},     // surrogate
                                         Conversion{"\xE5\x98" "A", "?A"},      // cut off
                                         Conversion{"A\xE5\x98", "A?"}));

class FromCp950Repair : public testing::TestWithParam<Conversion> {};

TEST_P(FromCp950Repair, GivesReplacementCharacters) {
  EXPECT_EQ(Cp950ToUtf8(GetParam().first), GetParam().second);
}

// A broken pair never swallows the ASCII byte behind its lead.
INSTANTIATE_TEST_SUITE_P(Texts, FromCp950Repair,
                         testing::Values(Conversion{"a\xFF" "b", "a" + kBad + "b"},
                                         Conversion{"a\xA4", "a" + kBad},
                                         Conversion{"\xA4\n", kBad + "\n"},
                                         Conversion{"\xA4\x80x", kBad + "x"},
                                         Conversion{"\xFF\xA4\x40", kBad + "一"}));

// Long texts outgrow the first estimate of the output, with repairs in between.
TEST(Cp950, LongTextsWithRepairs) {
  std::string utf8, cp950, big5, fromBig5;
  for (int i = 0; i < 5000; ++i) {
    utf8 += "嘜😀a";
    cp950 += "\xE1\x4D?a";
    big5 += "\xFF\xE1\x4D";
    fromBig5 += kBad + "嘜";
  }
  EXPECT_EQ(Utf8ToCp950(utf8), cp950);
  EXPECT_EQ(Cp950ToUtf8(big5), fromBig5);
}

TEST(Cp950, ConvertsOnManyThreadsAtOnce) {
  std::vector<int> failures(8, 0);
  std::vector<std::thread> threads;
  for (int& failed : failures) {
    threads.emplace_back([&failed] {
      for (int i = 0; i < 500; ++i) failed += Cp950ToUtf8(Utf8ToCp950("新細明體😀")) != "新細明體?";
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(failures, std::vector<int>(8, 0));
}

TEST(Utf8Check, AsciiAndWellFormed) {
  EXPECT_TRUE(IsAscii("abc\x7F"));
  EXPECT_FALSE(IsAscii("ab\x80"));
  EXPECT_TRUE(IsUtf8("正嘜 é 😀"));
  EXPECT_FALSE(IsUtf8("\xE1\x4D"));  // Big5
  EXPECT_FALSE(IsUtf8("\xF4\x90\x80\x80"));
}

TEST(Utf16, RoundTrips) {
  const std::string text = "Mé°嘜😀𠀀\xF4\x8F\xBF\xBF";
  const std::u16string expected = u"Mé°嘜😀𠀀\U0010FFFF";
  EXPECT_EQ(Utf8ToUtf16(text), expected);
  EXPECT_EQ(Utf16ToUtf8(expected), text);
}

using Utf16Repair = std::pair<std::string, std::u16string>;

class Utf8ToUtf16Repair : public testing::TestWithParam<Utf16Repair> {};

TEST_P(Utf8ToUtf16Repair, OneReplacementPerBrokenSequence) {
  EXPECT_EQ(Utf8ToUtf16(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf8ToUtf16Repair,
                         testing::Values(Utf16Repair{"\xE1\x4D", kBad16 + u"M"},
                                         Utf16Repair{"\xE5\x98" "a", kBad16 + u"a"},
                                         Utf16Repair{"\xF0\x9F\x98", kBad16},
                                         Utf16Repair{"\xE0\x80\xAF", kBad16 + kBad16 + kBad16},
                                         Utf16Repair{"\xED\xA0\x80", kBad16 + kBad16 + kBad16}));

TEST(Utf16, LoneSurrogatesBecomeReplacements) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xD83D), u'a'}), kBad + "a");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDE00), char16_t(0xD83D)}), kBad + kBad);
}

TEST(CaseFolding, OnlyAsciiLettersChange) {
  EXPECT_EQ(UpperCase("Tavrix_9 éß嘜@[`{"), "TAVRIX_9 éß嘜@[`{");
  EXPECT_EQ(LowerCase("TAVRIX_9 ÉÀ嘜"), "tavrix_9 ÉÀ嘜");
}

// Every byte value at every place of a word and of the short tail: a letter hashes and compares
// as its other case does, and any other byte as itself, not as the byte 0x20 away; a byte from
// 0x80 on anywhere makes the text other than ASCII.
TEST(CaseFolding, HashTextAndSameTextIgnoreTheCaseOfLettersOnly) {
  for (size_t length : {1, 7, 8, 9, 15, 16, 17}) {
    for (size_t at = 0; at < length; ++at) {
      for (int byte = 0; byte < 256; ++byte) {
        std::string text(length, 'k');
        text[at] = static_cast<char>(byte);
        std::string flipped = text;
        flipped[at] = static_cast<char>(byte ^ 0x20);
        const bool letter = (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z';
        EXPECT_EQ(HashText(text) == HashText(flipped), letter)
            << "byte " << byte << " at " << at << " of " << length;
        EXPECT_EQ(SameText(text, flipped), letter) << "byte " << byte << " at " << at << " of " << length;
        EXPECT_EQ(HashText(text), HashText(UpperCase(text)));
        EXPECT_TRUE(SameText(LowerCase(text), UpperCase(text)));
        EXPECT_EQ(IsAscii(text), byte < 0x80) << "byte " << byte << " at " << at << " of " << length;
      }
    }
  }
  EXPECT_NE(HashText(std::string("ab")), HashText(std::string("ab\0", 3)));
  EXPECT_NE(HashText("Mark10"), HashText("Mark01"));
}

struct Comparison {
  const char* a;
  const char* b;
  int sign;
};
void PrintTo(const Comparison& c, std::ostream* os) { *os << c.a << " vs " << c.b; }

class CompareTextSign : public testing::TestWithParam<Comparison> {};

TEST_P(CompareTextSign, FollowsUpperCasedOrder) {
  const auto [a, b, sign] = GetParam();
  const int result = CompareText(a, b);
  EXPECT_EQ((result > 0) - (result < 0), sign) << a << " vs " << b;
  EXPECT_EQ(SameText(a, b), sign == 0) << a << " vs " << b;
}

// '_' sorts after the upper case letters, so folding to lower case would order "_" first.
INSTANTIATE_TEST_SUITE_P(Texts, CompareTextSign,
                         testing::Values(Comparison{"", "", 0}, Comparison{"DataPath", "datapath", 0},
                                         Comparison{"a", "B", -1}, Comparison{"ab", "ABC", -1},
                                         Comparison{"abc", "AB", 1}, Comparison{"_", "a", 1},
                                         Comparison{"é", "É", 1}));

}  // namespace
