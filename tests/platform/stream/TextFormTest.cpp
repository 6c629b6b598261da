#include "platform/stream/TextForm.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string>

#include "platform/rtl/Exception.h"

namespace {

// Stream bytes built by hand, so that the tests state the encoding independently of the converter.
std::string Le(uint64_t value, int size) {
  std::string bytes;
  for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i));
  return bytes;
}
std::string Type(uint8_t type) { return std::string(1, static_cast<char>(type)); }
std::string Short(std::string_view s) { return static_cast<char>(s.size()) + std::string(s); }
std::string I8(int v) { return "\x02" + Le(static_cast<uint64_t>(v), 1); }
std::string I16(int v) { return "\x03" + Le(static_cast<uint64_t>(v), 2); }
std::string I32(int64_t v) { return "\x04" + Le(static_cast<uint64_t>(v), 4); }
std::string I64(int64_t v) { return "\x13" + Le(static_cast<uint64_t>(v), 8); }
std::string Str(std::string_view s) { return "\x06" + Short(s); }
std::string LStr(std::string_view s) { return "\x0C" + Le(s.size(), 4) + std::string(s); }
std::string Utf8(std::string_view s) { return "\x14" + Le(s.size(), 4) + std::string(s); }
std::string Ident(std::string_view s) { return "\x07" + Short(s); }
std::string Bin(std::string_view s) { return "\x0A" + Le(s.size(), 4) + std::string(s); }
std::string Ext(long double v) {
  char bytes[sizeof v] = {};
  std::memcpy(bytes, &v, sizeof v);
  return "\x05" + std::string(bytes, 10);
}
std::string Sgl(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof v);
  return "\x0F" + Le(bits, 4);
}
std::string Date(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof v);
  return "\x11" + Le(bits, 8);
}
std::string Cur(int64_t scaled) { return "\x10" + Le(static_cast<uint64_t>(scaled), 8); }
std::string Set(std::initializer_list<const char*> names) {
  std::string bytes = "\x0B";
  for (const char* name : names) bytes += Short(name);
  return bytes + '\0';
}
std::string List(std::initializer_list<std::string> items) {
  std::string bytes = "\x01";
  for (const std::string& item : items) bytes += item;
  return bytes + '\0';
}
std::string Prop(std::string_view name, const std::string& value) { return Short(name) + value; }
// A collection item: its optional index, then its property entries.
std::string Item(const std::string& props, const std::string& index = "") { return index + "\x01" + props + '\0'; }
std::string Collection(std::initializer_list<std::string> items) {
  std::string bytes = "\x0E";
  for (const std::string& item : items) bytes += item;
  return bytes + '\0';
}
std::string Record(std::string_view cls, std::string_view name, const std::string& props,
                   const std::string& children = "") {
  return Short(cls) + Short(name) + props + '\0' + children + '\0';
}
std::string Block(const std::string& record) { return "TPF0" + record; }
std::string Layout(const std::string& value) { return Block(Record("TShape", "Shape1", Prop("V", value))); }

// Converts binary -> text -> binary and expects the same bytes; returns the text.
std::string ExpectRoundTrip(const std::string& binary) {
  const std::string text = StreamToText(binary);
  EXPECT_EQ(TextToStream(text), binary) << text;
  return text;
}

struct Case {
  const char* name;
  std::string bytes;
};
std::string CaseName(const testing::TestParamInfo<Case>& info) { return info.param.name; }
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// ---- Every value our writer produces converts back byte for byte ----

class ValueRoundTrip : public testing::TestWithParam<Case> {};

TEST_P(ValueRoundTrip, IsByteIdentical) { ExpectRoundTrip(Layout(GetParam().bytes)); }

using LD = std::numeric_limits<long double>;
using F = std::numeric_limits<float>;
using D = std::numeric_limits<double>;

INSTANTIATE_TEST_SUITE_P(
    Integers, ValueRoundTrip,
    testing::Values(Case{"Zero", I8(0)}, Case{"Max8", I8(127)}, Case{"Min8", I8(-128)}, Case{"Above8", I16(128)},
                    Case{"Below8", I16(-129)}, Case{"Max16", I16(32767)}, Case{"Above16", I32(32768)},
                    Case{"Below16", I32(-32769)}, Case{"Max32", I32(INT32_MAX)}, Case{"Min32", I32(INT32_MIN)},
                    Case{"Int64", I64(5000000000)}, Case{"NegInt64", I64(-5000000000)},
                    Case{"Above32", I64(int64_t{INT32_MAX} + 1)}, Case{"Max64", I64(INT64_MAX)},
                    Case{"Min64", I64(INT64_MIN)}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Floats, ValueRoundTrip,
    testing::Values(Case{"Tenth", Ext(0.1L)}, Case{"Tiny", Ext(1e-300L)}, Case{"NegZero", Ext(-0.0L)},
                    Case{"Two", Ext(2.0L)}, Case{"Large", Ext(1e30L)}, Case{"Third", Ext(1.0L / 3)},
                    Case{"ExtDenormal", Ext(LD::denorm_min())}, Case{"ExtSmallDenormal", Ext(LD::min() / 3)},
                    Case{"ExtMax", Ext(LD::max())}, Case{"ExtLowest", Ext(LD::lowest())},
                    Case{"ExtNaN", Ext(LD::quiet_NaN())}, Case{"ExtInf", Ext(LD::infinity())},
                    Case{"ExtNegInf", Ext(-LD::infinity())}, Case{"Single", Sgl(0.1f)},
                    Case{"SingleDenormal", Sgl(F::denorm_min())}, Case{"SingleMax", Sgl(F::max())},
                    Case{"SingleNegZero", Sgl(-0.0f)}, Case{"SingleNaN", Sgl(F::quiet_NaN())},
                    Case{"SingleInf", Sgl(-F::infinity())}, Case{"Currency", Cur(123456)},
                    Case{"CurrencyWhole", Cur(20000)}, Case{"CurrencyTiny", Cur(-1)},
                    Case{"CurrencyMax", Cur(INT64_MAX)}, Case{"CurrencyMin", Cur(INT64_MIN)},
                    Case{"Date", Date(45000.5)}, Case{"DateTenth", Date(0.1)},
                    Case{"DateDenormal", Date(D::denorm_min())}, Case{"DateInf", Date(D::infinity())},
                    Case{"DateNaN", Date(D::quiet_NaN())}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Texts, ValueRoundTrip,
    testing::Values(Case{"Empty", Str("")}, Case{"Quote", Str("it's")}, Case{"Controls", Str("a\r\n\tb\x7F")},
                    Case{"Nul", Str(std::string("a\0b", 3))}, Case{"Max255", Str(std::string(255, 'x'))},
                    Case{"Long256", LStr(std::string(256, 'x'))},
                    Case{"LongWithQuotes", LStr(std::string(300, '\''))}, Case{"Big5", Utf8("嘜頭編輯程式")},
                    Case{"LongChinese", Utf8(std::string(70, 'a') + "正嘜" + std::string(60, 'b') + "側嘜")},
                    Case{"Emoji", Utf8("\xF0\x9F\x98\x80")}, Case{"C1Control", Utf8("\xC2\x85")},
                    Case{"Ident", Ident("clBlack")}, Case{"Reference", Ident("fmmain.DsnPanel1")},
                    Case{"KeywordIdent", Ident("end")}, Case{"True", Type(9)}, Case{"False", Type(8)},
                    Case{"Nil", Type(13)}, Case{"Null", Type(0)}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Structured, ValueRoundTrip,
    testing::Values(Case{"EmptySet", Set({})}, Case{"Set", Set({"sltop", "slbottom", "slleft"})},
                    Case{"EmptyBinary", Bin("")}, Case{"Binary", Bin("\x0A\x0B\x0C")},
                    Case{"LongBinary", Bin(std::string(100, '\xA5'))}, Case{"EmptyList", List({})},
                    Case{"Strings", List({Str("PO/NO"), Str("C/NO."), Utf8("嘜頭")})},
                    Case{"NestedList", List({I8(1), List({List({}), Ident("x")}), Bin("\x01")})},
                    Case{"ListWithCollection", List({Collection({Item(Prop("A", I8(1)))}), Str("after")})},
                    Case{"EmptyCollection", Collection({})},
                    Case{"Collection", Collection({Item(Prop("Width", I16(200))), Item("")})},
                    Case{"IndexedCollection", Collection({Item(Prop("A", Str("x")), I8(3)), Item("", I32(70000))})},
                    Case{"NestedCollection", Collection({Item(Prop("Sub", Collection({Item(Prop("A", List({})))})))})}),
    CaseName);

// ---- Records and design streams ----

TEST(TextFormRecords, FilerFlagsAndChildPositionsRoundTrip) {
  const std::string children = "\xF3" + I8(2) + Record("TLabel", "Label1", "") +  // inherited, position 2
                               "\xF4" + Record("TFrame", "Frame1", "") +             // inline
                               "\xF6" + I16(300) + Record("TFrame", "Frame2", "") +  // inline at 300
                               "\xF1" + Record("TEdit", "", "");                     // inherited, no name
  const std::string text = ExpectRoundTrip(Block("\xF1" + Record("Tfmmain", "fmmain", "", children)));
  EXPECT_NE(text.find("inherited fmmain: Tfmmain\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  inherited Label1: TLabel [2]\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  inline Frame2: TFrame [300]\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  inherited TEdit\n"), std::string::npos) << text;
}

TEST(TextFormRecords, NestedChildrenRoundTrip) {
  const std::string inner = Record("TLabel", "Label1", Prop("Caption", Utf8("正嘜")));
  const std::string panel = Record("TDsnPanel", "DsnPanel1", Prop("Left", I8(0)), inner + inner);
  ExpectRoundTrip(Block(Record("Tfmmain", "fmmain", Prop("Left", I16(159)), panel + Record("TEdit", "e", ""))));
}

class DesignStream : public testing::TestWithParam<int> {};

TEST_P(DesignStream, KeepsItsEndMarker) {
  std::string binary;
  for (int i = 0; i < GetParam(); ++i) binary += Block(Record("TLabel", "Label" + std::to_string(i), ""));
  binary += '\0';
  const std::string text = ExpectRoundTrip(binary);
  EXPECT_EQ(text.substr(text.size() - 5), "end.\n");
}

INSTANTIATE_TEST_SUITE_P(TextForm, DesignStream, testing::Values(0, 1, 2, 5));

TEST(TextFormDesign, TextWithoutEndDotGivesEndMarkerUnlessOneObject) {
  const std::string one = Block(Record("TA", "a", ""));
  EXPECT_EQ(TextToStream("object a: TA end"), one);
  EXPECT_EQ(TextToStream("object a: TA end end."), one + '\0');
  EXPECT_EQ(TextToStream("object a: TA end object a: TA end"), one + one + '\0');
  EXPECT_EQ(TextToStream("  // nothing here\n"), std::string(1, '\0'));
  EXPECT_EQ(StreamToText(std::string(1, '\0')), "end.\n");
}

// ---- The encoding rules and the layout of the text are pinned ----

TEST(TextFormEncoding, AppliesTheWriterRules) {
  const std::string text =
      "object fmmain: Tfmmain\n"
      "  A = 127\n  B = -129\n  C = 40000\n  D = -5000000000\n"
      "  E = true\n  F = FALSE\n  G = Nil\n  H = null\n  I = clBlack\n"
      "  J = 'abc'\n  K = '\xE5\x98\x9C'\n  L = 1.5\n  M = 1.5s\n  N = 12.3456c\n  O = 2d\n"
      "end\n";
  const std::string expected = Block(Record(
      "Tfmmain", "fmmain",
      Prop("A", "\x02\x7F") + Prop("B", std::string("\x03\x7F\xFF", 3)) + Prop("C", std::string("\x04\x40\x9C\x00\x00", 5)) +
          Prop("D", std::string("\x13\x00\x0E\xFA\xD5\xFE\xFF\xFF\xFF", 9)) + Prop("E", "\x09") + Prop("F", "\x08") +
          Prop("G", "\x0D") + Prop("H", std::string(1, '\0')) + Prop("I", "\x07\x07" "clBlack") +
          Prop("J", "\x06\x03" "abc") + Prop("K", std::string("\x14\x03\x00\x00\x00\xE5\x98\x9C", 8)) +
          Prop("L", std::string("\x05\x00\x00\x00\x00\x00\x00\x00\xC0\xFF\x3F", 11)) +
          Prop("M", std::string("\x0F\x00\x00\xC0\x3F", 5)) +
          Prop("N", std::string("\x10\x40\xE2\x01\x00\x00\x00\x00\x00", 9)) +
          Prop("O", std::string("\x11\x00\x00\x00\x00\x00\x00\x00\x40", 9))));
  EXPECT_EQ(TextToStream(text), expected);
}

TEST(TextFormLayout, WritesTheCustomaryNotation) {
  const std::string binary = Block(Record(
      "Tfmmain", "fmmain",
      Prop("Caption", Utf8("嘜頭")) + Prop("Font.Style", Set({})) + Prop("slset", Set({"sltop", "slbottom"})) +
          Prop("Items.Strings", List({Str("PO/NO"), Str("C/NO.")})) + Prop("Glyph.Data", Bin(std::string(33, '\x0A'))) +
          Prop("Panels", Collection({Item(Prop("Width", I16(200))), Item("", I8(4))})) + Prop("Ratio", Ext(2)) +
          Prop("Price", Cur(20000)) + Prop("Long", Str(std::string(64, 'a') + "'" + "\r\n")),
      Record("TDsnPanel", "DsnPanel1", Prop("Left", I8(0)))));
  EXPECT_EQ(StreamToText(binary),
            "object fmmain: Tfmmain\n"
            "  Caption = '嘜頭'\n"
            "  Font.Style = []\n"
            "  slset = [sltop, slbottom]\n"
            "  Items.Strings = (\n"
            "    'PO/NO'\n"
            "    'C/NO.')\n"
            "  Glyph.Data = {\n"
            "    0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A\n"
            "    0A\n"
            "    }\n"
            "  Panels = <\n"
            "    item\n"
            "      Width = 200\n"
            "    end\n"
            "    item [4]\n"
            "    end>\n"
            "  Ratio = 2.0\n"
            "  Price = 2.0c\n"
            "  Long = 'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa' +\n"
            "    ''''#13#10\n"
            "  object DsnPanel1: TDsnPanel\n"
            "    Left = 0\n"
            "  end\n"
            "end\n");
}

// ---- Text written by other writers ----

class ForeignValue : public testing::TestWithParam<std::pair<const char*, std::string>> {};

TEST_P(ForeignValue, Reads) {
  const std::string text = std::string("object Shape1: TShape\n  V = ") + GetParam().first + "\nend\n";
  EXPECT_EQ(TextToStream(text), Layout(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(
    TextForm, ForeignValue,
    testing::Values(std::pair{"'a' +\n      'b'", Str("ab")}, std::pair{"'a'\n + 'b' + #67", Str("abC")},
                    std::pair{"#22044#38957", Utf8("嘜頭")}, std::pair{"'abc'#13#10'def'", Str("abc\r\ndef")},
                    std::pair{"#233'x'", Utf8("\xC3\xA9x")}, std::pair{"#55357#56832", Utf8("\xF0\x9F\x98\x80")},
                    std::pair{"#$41#0", Str(std::string("A\0", 2))}, std::pair{"'it''s'", Str("it's")},
                    std::pair{"'\t'", Str("\t")}, std::pair{"$FF", I16(255)}, std::pair{"-$10", I8(-16)},
                    std::pair{"$FFFFFFFF", I64(0xFFFFFFFF)}, std::pair{"-2147483648", I32(INT32_MIN)},
                    std::pair{"1.0", Ext(1)}, std::pair{"2E3", Ext(2000)}, std::pair{"3.6e-4951", Ext(LD::denorm_min())},
                    std::pair{"-INF", Ext(-LD::infinity())}, std::pair{"5D", Date(5)}, std::pair{"-0.5s", Sgl(-0.5f)},
                    std::pair{"7c", Cur(70000)}, std::pair{"1.23456c", Cur(12346)}, std::pair{"-1.5E3c", Cur(-15000000)},
                    std::pair{"{ 0a 0B\n 0c }", Bin("\x0A\x0B\x0C")}, std::pair{"[ a ,b ]", Set({"a", "b"})},
                    std::pair{"(1 'x'\n\n y)", List({I8(1), Str("x"), Ident("y")})},
                    std::pair{"<item[2]A=1 end>", Collection({Item(Prop("A", I8(1)), I8(2))})}));

TEST(TextFormForeign, AcceptsAnyLayoutOfWhitespaceAndComments) {
  const std::string expected =
      Block(Record("TA", "a", Prop("end", I8(1)) + Prop("object", I8(2)), Record("TB", "", "") + Record("TC", "", "")));
  EXPECT_EQ(TextToStream("\xEF\xBB\xBF// layout\nobject a:TA end=1\n\t\tobject = 2 // keyword as name\n"
                         "OBJECT TB END inline : TC end\n   End"),
            Block(Record("TA", "a", Prop("end", I8(1)) + Prop("object", I8(2)),
                         Record("TB", "", "") + "\xF4" + Record("TC", "", ""))));
  EXPECT_EQ(TextToStream("object a: TA\r\n  end = 1\r\n  object = 2\r\n  object TB\r\n  end\r\n  object TC end\r\nend\r\n"),
            expected);
}

TEST(TextFormForeign, NormalisesOtherEncodingsOfStrings) {
  // Code-page text in a vaString and UTF-16 in a vaWString both become UTF-8 strings.
  const std::string wide = "\x12" + Le(2, 4) + "\x1C\x56\x2D\x98";  // U+561C U+982D
  EXPECT_EQ(TextToStream(StreamToText(Layout(Str("\xE1\x4D\xC0\x59")))), Layout(Utf8("嘜頭")));
  EXPECT_EQ(TextToStream(StreamToText(Layout(wide))), Layout(Utf8("嘜頭")));
  EXPECT_EQ(TextToStream(StreamToText(Layout(I32(5)))), Layout(I8(5)));
  EXPECT_EQ(TextToStream(StreamToText(Layout(LStr("ab")))), Layout(Str("ab")));
  EXPECT_EQ(StreamToText(Layout(Utf8("a\xFF"))), "object Shape1: TShape\n  V = 'a\xEF\xBF\xBD'\nend\n");
}

// ---- Malformed input raises EReadError ----

TEST(TextFormErrors, EveryCutOfABinaryStreamIsRefused) {
  const std::string binary = Block("\xF3" + I8(1) + Record("TA", "a", Prop("V", List({Str("x"), Cur(1)})) +
      Prop("C", Collection({Item(Prop("B", Bin("\x01\x02")), I8(1))})), Record("TB", "b", Prop("W", Utf8("嘜")))));
  ASSERT_NO_THROW(StreamToText(binary));
  for (size_t size = 0; size < binary.size(); ++size)
    EXPECT_THROW(StreamToText(binary.substr(0, size)), EReadError) << size;
}

class BadBinary : public testing::TestWithParam<Case> {};

TEST_P(BadBinary, IsRefused) { EXPECT_THROW(StreamToText(GetParam().bytes), EReadError); }

INSTANTIATE_TEST_SUITE_P(
    TextForm, BadBinary,
    testing::Values(Case{"Signature", "TPF1" + Record("TA", "a", "")}, Case{"Garbage", "hello"},
                    Case{"AfterEndMarker", Block(Record("TA", "a", "")) + '\0' + 'x'},
                    Case{"UnknownType", Layout(Type(21))}, Case{"TypeFF", Layout(Type(0xFF))},
                    Case{"HugeBinary", Layout("\x0A\xFF\xFF\xFF\xFF" "abc")},
                    Case{"HugeWide", Layout("\x12\xFF\xFF\xFF\x7F" "ab")}, Case{"LStringPastEnd", Layout("\x0C\x05\x00\x00\x00" "ab")},
                    Case{"ClassName", Block(Record("T A", "a", ""))}, Case{"EmptyClass", Block(Record("", "a", ""))},
                    Case{"PropertyName", Layout(Ident("x")).replace(19, 1, "-")},
                    Case{"ItemWithoutList", Layout("\x0E\x02\x01\x02")}, Case{"ChildPosition", Block("\xF2" + Str("x") + Record("TA", "a", ""))},
                    Case{"SpecialIdent", Layout(Ident("INF"))}, Case{"NonAsciiIdent", Layout(Ident("\xE5\x98\x9C"))},
                    Case{"DeepLists", Layout(std::string(1000, '\x01') + std::string(1000, '\0'))},
                    Case{"DeepObjects", "TPF0" + [] {
                       std::string s;
                       for (int i = 0; i < 1000; ++i) s += Short("TA") + Short("") + '\0';
                       return s + std::string(1000, '\0');
                     }()}),
    CaseName);

TEST(TextFormErrors, SayWhereTheyAre) {
  try {
    StreamToText(Layout(Type(99)));
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Invalid stream format at offset 20: unknown value type 99");
  }
  try {
    TextToStream("object a: TA\n  Left = 1\n  Top 2\nend\n");
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Line 3: expected '=' but found a number");
  }
}

TEST(TextFormErrors, ModerateNestingIsFine) {
  EXPECT_NO_THROW(ExpectRoundTrip(Layout(std::string(200, '\x01') + std::string(200, '\0'))));
}

class BadText : public testing::TestWithParam<const char*> {};

TEST_P(BadText, IsRefused) {
  EXPECT_THROW(TextToStream(std::string("object a: TA\n  V = ") + GetParam() + "\nend\n"), EReadError);
}

INSTANTIATE_TEST_SUITE_P(
    TextForm, BadText,
    testing::Values("'abc", "'abc\n'", "{0G}", "{ABC}", "{AB", "99999999999999999999", "-9223372036854775809",
                    "$1FFFFFFFFFFFFFFFF", "1e5000", "1e-5000", "1e99s", "1e400d", "1e30c", "1.5x", "1.", "-INFc",
                    "-NAN", "@", "", "'a' +", "'a' + 1", "(1 Null)", "(1", "[a,]", "[a.b]", "<item end", "<x>",
                    "#1114112", "#55357", "#56832#55357", "#55357'a'", "#", "'\xFF'", "'\xC0\xAF'", "x.", "1 2"));

TEST(TextFormErrors, MalformedStructureIsRefused) {
  for (const std::string& text : std::initializer_list<std::string>{"object", "object a: TA", "object a: TA end end", "object a: TA end end. x",
                                 "object a: TA object b: TB end V = 1 end", "object a: TA [x] end",
                                 "object a: TA [5000000000] end", "object a: TA <item> end", "Left = 1",
                                 "object a.b: TA end", "object a: " + std::string(256, 'T') + " end",
                                 "object a: " + std::string(240, 'T') + " end", "object a: TA V = <item object b: TB end end> end",
                                 "object a: TA V = " + std::string(1000, '(') + std::string(1000, ')') + " end"})
    EXPECT_THROW(TextToStream(text), EReadError) << text;
  // Every cut of a valid text is refused as well.
  const std::string text = "object a: TA\n  V = ('x' 1.5 [a] {01})\n  W = <item [1] A = 'y' end>\n  object b: TB end\nend";
  ASSERT_NO_THROW(TextToStream(text));
  for (size_t size = 1; size < text.size(); ++size)
    EXPECT_THROW(TextToStream(text.substr(0, size)), EReadError) << size;
}

}  // namespace
