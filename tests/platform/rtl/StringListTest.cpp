#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/Exception.h"

namespace {

// A string list that frees itself at the end of the test.
struct List {
  List() : list(New<TStringList>()) {}
  explicit List(std::initializer_list<const char*> lines) : List() {
    for (const char* line : lines) list->Add(line);
  }
  ~List() { list->Free(); }
  TStringList* operator->() const { return list; }
  TStringList& operator*() const { return *list; }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < list->Count(); ++i) lines.push_back(list->Get(i));
    return lines;
  }
  TStringList* list;
};

using Lines = std::vector<std::string>;

TEST(StringList, IndexOfIgnoresCaseUnlessCaseSensitive) {
  List list{"Alpha", "beta", "BETA"};
  EXPECT_EQ(list->IndexOf("BETA"), 1);
  EXPECT_EQ(list->IndexOf("gamma"), -1);
  list->SetCaseSensitive(true);
  EXPECT_EQ(list->IndexOf("BETA"), 2);
  EXPECT_EQ(list->IndexOf("alpha"), -1);
}

TEST(StringList, IndexOutOfRangeRaises) {
  List list{"a"};
  EXPECT_THROW(list->Get(1), EListError);
  EXPECT_THROW(list->Get(-1), EListError);
  EXPECT_THROW(list->Delete(1), EListError);
  EXPECT_THROW(list->Insert(2, "x"), EListError);
  list->Insert(1, "b");  // inserting at the end is allowed
  EXPECT_EQ(list.Lines(), (Lines{"a", "b"}));
}

TEST(StringListText, JoinsWithALineBreakAfterEveryLine) {
  EXPECT_EQ(List({"a", "", "b"})->Text(), "a\n\nb\n");
  EXPECT_EQ(List()->Text(), "");
  EXPECT_EQ(List({""})->Text(), "\n");
}

class SetTextSplits : public testing::TestWithParam<std::pair<std::string, Lines>> {};

TEST_P(SetTextSplits, AtEveryKindOfLineBreak) {
  List list{"old"};
  list->SetText(GetParam().first);
  EXPECT_EQ(list.Lines(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    StringList, SetTextSplits,
    testing::Values(std::pair<std::string, Lines>{"", {}},
                    std::pair<std::string, Lines>{"a", {"a"}},
                    std::pair<std::string, Lines>{"a\n", {"a"}},
                    std::pair<std::string, Lines>{"a\r\nb\r\n", {"a", "b"}},
                    std::pair<std::string, Lines>{"a\rb\nc", {"a", "b", "c"}},
                    std::pair<std::string, Lines>{"a\n\nb", {"a", "", "b"}},
                    std::pair<std::string, Lines>{"a\n\r\nb", {"a", "", "b"}},
                    std::pair<std::string, Lines>{"a\r\rb", {"a", "", "b"}},
                    std::pair<std::string, Lines>{"a\n\n", {"a", ""}},
                    std::pair<std::string, Lines>{"\n", {""}},
                    std::pair<std::string, Lines>{"\r\n\r\n", {"", ""}}));

TEST(StringListText, RoundTripsThroughText) {
  List list{"first", "", "  spaced  ", "last"};
  List copy;
  copy->SetText(list->Text());
  EXPECT_EQ(copy.Lines(), list.Lines());
}

TEST(StringList, AssignCopiesStringsAndObjects) {
  TStringList* tag = New<TStringList>();
  List source{"x"};
  source->AddObject("y", tag);
  List target{"old1", "old2"};
  target->Assign(source.list);
  EXPECT_EQ(target.Lines(), (Lines{"x", "y"}));
  EXPECT_EQ(target->Objects(1), tag);
  EXPECT_TRUE(target->Equals(*source));
  target->Assign(target.list);  // assigning itself keeps the lines
  EXPECT_EQ(target.Lines(), (Lines{"x", "y"}));
  tag->Free();
}

TEST(SortedStringList, KeepsOrderAndRefusesPositionalChanges) {
  List list{"pear", "Apple", "fig"};
  list->SetSorted(true);
  EXPECT_EQ(list.Lines(), (Lines{"Apple", "fig", "pear"}));
  EXPECT_EQ(list->Add("banana"), 1);
  EXPECT_EQ(list->IndexOf("PEAR"), 3);
  EXPECT_EQ(list->IndexOf("kiwi"), -1);
  EXPECT_THROW(list->Insert(0, "zz"), EListError);
  EXPECT_THROW(list->Put(0, "zz"), EListError);
  EXPECT_THROW(list->Move(0, 2), EListError);  // refused before anything is taken out
  EXPECT_THROW(list->Exchange(0, 1), EListError);
  EXPECT_EQ(list.Lines(), (Lines{"Apple", "banana", "fig", "pear"}));
}

TEST(SortedStringList, DuplicatesAreIgnoredAcceptedOrRefused) {
  List ignoring{"b", "a"};
  ignoring->SetSorted(true);
  EXPECT_EQ(ignoring->Add("A"), 0);
  EXPECT_EQ(ignoring.Lines(), (Lines{"a", "b"}));

  List accepting{"b", "a"};
  accepting->SetDuplicates(dupAccept);
  accepting->SetSorted(true);
  accepting->Add("A");
  EXPECT_EQ(accepting->Count(), 3);

  List refusing{"b", "a"};
  refusing->SetDuplicates(dupError);
  refusing->SetSorted(true);
  EXPECT_THROW(refusing->Add("B"), EListError);
  EXPECT_EQ(refusing.Lines(), (Lines{"a", "b"}));
  refusing->SetCaseSensitive(true);
  EXPECT_NO_THROW(refusing->Add("B"));
}

TEST(SortedStringList, FindGivesTheInsertPoint) {
  List list{"b", "d", "f"};
  list->SetSorted(true);
  int index = -1;
  EXPECT_TRUE(list->Find("D", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(list->Find("e", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list->Find("z", index));
  EXPECT_EQ(index, 3);
}

// Counts OnChanging and OnChange.
struct ChangeCounter {
  explicit ChangeCounter(TStringList& list) {
    list.OnChanging.Bind([this](TObject*) { ++changing; });
    list.OnChange.Bind([this](TObject*) { ++changed; });
  }
  int changing = 0;
  int changed = 0;
};

TEST(StringListChange, FiresForEveryChangeOutsideAnUpdate) {
  List list;
  ChangeCounter count(*list);
  list->Add("a");
  list->Add("b");
  list->Delete(0);
  list->Put(0, "c");
  EXPECT_EQ(count.changing, 4);
  EXPECT_EQ(count.changed, 4);
  list->Clear();
  list->Clear();  // nothing to clear: no notice
  EXPECT_EQ(count.changed, 5);
}

TEST(StringListChange, FiresOncePerOutermostUpdate) {
  List list;
  ChangeCounter count(*list);
  list->BeginUpdate();
  list->Add("a");
  list->BeginUpdate();
  list->Add("b");
  list->EndUpdate();
  EXPECT_EQ(count.changed, 0);
  list->Add("c");
  list->EndUpdate();
  EXPECT_EQ(count.changing, 1);
  EXPECT_EQ(count.changed, 1);
  list->EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(count.changed, 1);
}

TEST(StringListChange, BatchOperationsFireOnce) {
  List source{"a", "b", "c"};
  List list{"x", "y"};
  ChangeCounter count(*list);
  list->SetText("1\n2\n3\n");
  EXPECT_EQ(count.changed, 1);
  list->Assign(source.list);
  EXPECT_EQ(count.changed, 2);
  list->AddStrings(*source);
  EXPECT_EQ(count.changed, 3);
  list->Exchange(0, 5);
  EXPECT_EQ(count.changed, 4);
  EXPECT_EQ(list.Lines(), (Lines{"c", "b", "c", "a", "b", "a"}));
}

TEST(StringList, MoveAndExchangeCarryTheirObjects) {
  TStringList* a = New<TStringList>();
  TStringList* c = New<TStringList>();
  List list;
  list->AddObject("a", a);
  list->Add("b");
  list->AddObject("c", c);
  list->Move(0, 2);
  EXPECT_EQ(list.Lines(), (Lines{"b", "c", "a"}));
  EXPECT_EQ(list->Objects(2), a);
  list->Exchange(1, 2);
  EXPECT_EQ(list.Lines(), (Lines{"b", "a", "c"}));
  EXPECT_EQ(list->Objects(1), a);
  EXPECT_EQ(list->Objects(2), c);
  a->Free();
  c->Free();
}

TEST(StringListValues, NamesAndValuesSplitAtTheFirstEqualsSign) {
  List list{"Width=10", "plain", "Path=a=b", "Empty="};
  EXPECT_EQ(list->Names(0), "Width");
  EXPECT_EQ(list->Names(1), "");
  EXPECT_EQ(list->Values("width"), "10");
  EXPECT_EQ(list->Values("PATH"), "a=b");
  EXPECT_EQ(list->Values("Empty"), "");
  EXPECT_EQ(list->Values("plain"), "");
  EXPECT_EQ(list->IndexOfName("empty"), 3);
  EXPECT_EQ(list->IndexOfName("plain"), -1);
}

TEST(StringList, CommaTextQuotesWhatNeedsIt) {
  EXPECT_EQ(List({"a", "b c", "", "say \"hi\"", "x,y"})->CommaText(),
            "a,\"b c\",\"\",\"say \"\"hi\"\"\",\"x,y\"");
}

}  // namespace

namespace {

TEST(StringListChange, FailedBatchStillEndsItsUpdate) {
  List source{"a", "b", "a"};
  List list;
  list->SetDuplicates(dupError);
  list->SetSorted(true);
  ChangeCounter count(*list);
  EXPECT_THROW(list->AddStrings(*source), EListError);
  EXPECT_THROW(list->Assign(source.list), EListError);
  EXPECT_THROW(list->SetText("x\nx\n"), EListError);
  int before = count.changed;
  list->Add("later");
  EXPECT_EQ(count.changed, before + 1);
}

}  // namespace
