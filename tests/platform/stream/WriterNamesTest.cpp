// Property names and identifiers as the writer copies them: short ones as whole padded blocks,
// long ones and deep paths the general way. Both ways must give the same bytes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Collection.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"
#include "tests/support/SampleComponents.h"

namespace {

// Names that are nil, True, False and Null in another case, names around the padded block's
// 32 bytes, and one that only starts like True.
ENUMERATION(TOddWord, Nil, tRUE, fALSE, nULL, Truer, name_of_exactly_thirty_two_bytes,
            name_of_thirty_three_bytes_length)
SET_OF(TOddWords, TOddWord)

// A chain of parts, each holding a collection, the next part and a few values, so that names
// grow a "Next." per level. Next is of the part's own class, which the class's publishing has to
// allow for.
class TChainPart : public TPersistent {
  DECLARE_CLASS(TChainPart)

 public:
  TCollection* Items = nullptr;
  TChainPart* Next = nullptr;
  int Value_named_with_thirty_two_byte = 7;
  int Value_named_with_thirty_three_byt = 8;
  TOddWord Word = Nil;
  TOddWords Words;

  void Grow(int depth) {
    Items = New<TCollection>(TSampleItem::StaticClass());
    static_cast<TSampleItem*>(Items->Add())->SetWidth(100 + depth);
    if (depth > 0) {
      Next = New<TChainPart>();
      Next->Grow(depth - 1);
    }
  }

 protected:
  void Destroy() override {
    if (Next) Next->Free();
    if (Items) Items->Free();
    TPersistent::Destroy();
  }
};
DEFINE_CLASS(TChainPart, TPersistent) {
  c.Prop("Items", &TChainPart::Items, &TChainPart::Items);
  c.Prop("Next", &TChainPart::Next, &TChainPart::Next);
  c.Prop("Value_named_with_thirty_two_byte", &TChainPart::Value_named_with_thirty_two_byte,
         &TChainPart::Value_named_with_thirty_two_byte);
  c.Prop("Value_named_with_thirty_three_byt", &TChainPart::Value_named_with_thirty_three_byt,
         &TChainPart::Value_named_with_thirty_three_byt);
  c.Prop("Word", &TChainPart::Word, &TChainPart::Word);
  c.Prop("Words", &TChainPart::Words, &TChainPart::Words);
}

struct PartDeleter {
  void operator()(TChainPart* part) const { part->Free(); }
};
using PartPtr = std::unique_ptr<TChainPart, PartDeleter>;

// The names a writer gives the chain's properties, built the plain way: the path grows by
// "Next." per level, a collection's items are named without it, and a name is cut at 255 bytes.
void ExpectedNames(const TChainPart* part, const std::string& path, std::vector<std::string>& out) {
  auto named = [&](const std::string& name) { out.push_back((path + name).substr(0, 255)); };
  named("Items");
  out.push_back("[Width]");
  if (part->Next) ExpectedNames(part->Next, path + "Next.", out);
  named("Value_named_with_thirty_two_byte");
  named("Value_named_with_thirty_three_byt");
  named("Word");
  named("Words");  // a set without a declared default is always written
}

// The names a stream holds, read back with the reader; an item's names in brackets.
std::vector<std::string> NamesIn(const std::string& bytes) {
  TMemoryStream ms(bytes);
  TReader r(ms, 4096);
  std::vector<std::string> names;
  while (!r.EndOfList()) {
    names.push_back(r.ReadStr());
    if (r.NextValue() != vaCollection) {
      r.SkipValue();
      continue;
    }
    r.ReadValue();
    while (!r.EndOfList()) {
      r.ReadListBegin();
      std::string item;
      while (!r.EndOfList()) {
        item += r.ReadStr();
        r.SkipValue();
      }
      r.ReadListEnd();
      names.push_back("[" + item + "]");
    }
    r.ReadListEnd();
  }
  return names;
}

std::string Written(TPersistent* instance, int bufSize) {
  TMemoryStream ms;
  {
    TWriter w(ms, bufSize);
    w.WriteProperties(instance);
    w.WriteListEnd();
  }
  return ms.Bytes();
}

}  // namespace

// Up to level 6 the path ("Next." per level) fits a padded block and is copied whole, from level 7
// it is copied the general way, and from level 51 every name is the path's first 255 bytes. The
// items of each level's collection must leave the path as it was.
TEST(WriterNames, LongNamesAndDeepPathsAreWrittenWhole) {
  PartPtr chain(New<TChainPart>());
  chain->Grow(60);
  chain->Words = {tRUE, name_of_thirty_three_bytes_length};
  std::vector<std::string> expected;
  ExpectedNames(chain.get(), "", expected);

  const std::string bytes = Written(chain.get(), 4096);
  EXPECT_EQ(NamesIn(bytes), expected);
  // The general way, through a buffer too small for any block, gives the same bytes.
  EXPECT_TRUE(Written(chain.get(), 16) == bytes);
}

// Enumeration names are copied as padded blocks, yet a name that is nil, True, False or Null
// in any case still gets its own value type, and the longer names are written whole.
TEST(WriterNames, IdentifiersKeepTheirSpecialTypesAndFullLength) {
  PartPtr part(New<TChainPart>());
  // The value of Word: from after its name to the name of Words, which follows it.
  auto wordBytes = [&](TOddWord word) -> std::string {
    part->Word = word;
    const std::string bytes = Written(part.get(), 4096);
    const size_t at = bytes.find("\x04Word"), end = bytes.find("\x05Words");
    if (at == std::string::npos || end == std::string::npos || end < at + 5) return "(not found)";
    EXPECT_TRUE(Written(part.get(), 16) == bytes);
    return bytes.substr(at + 5, end - at - 5);
  };
  const std::string ident(1, vaIdent);
  EXPECT_EQ(wordBytes(Nil), std::string(1, vaNil));
  EXPECT_EQ(wordBytes(tRUE), std::string(1, vaTrue));
  EXPECT_EQ(wordBytes(fALSE), std::string(1, vaFalse));
  EXPECT_EQ(wordBytes(nULL), std::string(1, vaNull));
  EXPECT_EQ(wordBytes(Truer), ident + "\x05Truer");
  EXPECT_EQ(wordBytes(name_of_exactly_thirty_two_bytes),
            ident + "\x20name_of_exactly_thirty_two_bytes");
  EXPECT_EQ(wordBytes(name_of_thirty_three_bytes_length),
            ident + "\x21name_of_thirty_three_bytes_length");

  // Set elements are plain short strings, whatever their names.
  part->Word = Truer;
  part->Words = {Nil, name_of_exactly_thirty_two_bytes, name_of_thirty_three_bytes_length};
  const std::string bytes = Written(part.get(), 4096);
  const std::string set = std::string("\x05Words") + char(vaSet) + "\x03Nil" +
                          "\x20name_of_exactly_thirty_two_bytes" +
                          "\x21name_of_thirty_three_bytes_length" + '\0';
  EXPECT_NE(bytes.find(set), std::string::npos);
  EXPECT_TRUE(Written(part.get(), 16) == bytes);
}

// Read back, the names find their properties again however deep and long they are: the reader
// looks for the dots eight bytes at a time and reads names past 32 bytes the slow way.
TEST(WriterNames, DeepNamesAreReadBackIntoTheirParts) {
  PartPtr written(New<TChainPart>()), read(New<TChainPart>());
  written->Grow(9);  // the deepest path, nine times "Next.", is 45 bytes
  read->Grow(9);
  int n = 0;
  for (TChainPart* p = written.get(); p; p = p->Next) {
    p->Value_named_with_thirty_two_byte = ++n;
    p->Value_named_with_thirty_three_byt = 1000 + n;
    p->Word = static_cast<TOddWord>(n % 7);
  }
  TMemoryStream ms(Written(written.get(), 4096));
  TReader r(ms, 4096);
  while (!r.EndOfList()) r.ReadProperty(read.get());
  n = 0;
  for (TChainPart* p = read.get(); p; p = p->Next, ++n) {
    SCOPED_TRACE("level " + std::to_string(n));
    EXPECT_EQ(p->Value_named_with_thirty_two_byte, n + 1);
    EXPECT_EQ(p->Value_named_with_thirty_three_byt, 1001 + n);
    EXPECT_EQ(p->Word, static_cast<TOddWord>((n + 1) % 7));
    ASSERT_EQ(p->Items->Count(), 1);
    EXPECT_EQ(static_cast<TSampleItem*>(p->Items->Items(0))->Width(), 109 - n);
  }
  EXPECT_EQ(n, 10);
}
