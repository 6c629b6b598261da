// Data components in layouts: what they write, and how Active read from a layout takes effect.

#include <gtest/gtest.h>

#include "platform/db/DataControls.h"
#include "platform/db/Query.h"
#include "platform/db/StoredProc.h"
#include "platform/db/Table.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Stream.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/platform/db/DbTestSupport.h"

// A root that holds data components, as a window does, and writes them as its children.
class TDataRoot : public TComponent {
  DECLARE_CLASS(TDataRoot)

 public:
  void GetChildren(const TGetChildProc& proc, TComponent*) override {
    for (TComponent* c : ComponentList()) proc(c);
  }
};

DEFINE_CLASS(TDataRoot, TComponent) {}

namespace {

class DataLayouts : public DbFolder {
 protected:
  void SetUp() override {
    DbFolder::SetUp();
    RegisterDataControls();
    root_.reset(New<TDataRoot>(nullptr));
    root_->SetName("Root");
  }

  void Read(const std::string& text) {
    TMemoryStream in(TextToStream(text));
    TReader(in).ReadRootComponent(root_.get());
  }

  std::string Write() {
    TMemoryStream out;
    TWriter(out).WriteRootComponent(root_.get());
    return StreamToText(out.Bytes());
  }

  template <class T>
  T* Find(const char* name) {
    return dynamic_cast<T*>(root_->FindComponent(name));
  }

  Owned<TDataRoot> root_;
};

TEST_F(DataLayouts, ActiveReadFromALayoutOpensOnceTheNamesAreIn) {
  // Active comes first, before the alias and the table it needs.
  Read(
      "object Root: TDataRoot\n"
      "  object tbvmd: TTable\n"
      "    Active = True\n"
      "    DatabaseName = 'dbmd'\n"
      "    TableName = 'vmd'\n"
      "  end\n"
      "end\n");
  auto* table = Find<TTable>("tbvmd");
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(table->Active());
  EXPECT_EQ(FieldNames(*table), kVmdColumns);
}

TEST_F(DataLayouts, ActiveTableThatCannotOpenFailsTheReadAndStaysClosed) {
  EXPECT_THROW(Read("object Root: TDataRoot\n"
                    "  object tbvmd: TTable\n"
                    "    Active = True\n"
                    "    DatabaseName = 'nosuch'\n"
                    "    TableName = 'vmd'\n"
                    "  end\n"
                    "end\n"),
               EDatabaseError);
  auto* table = Find<TTable>("tbvmd");
  ASSERT_NE(table, nullptr);
  EXPECT_FALSE(table->Active());
}

TEST_F(DataLayouts, SettingsAndFieldDefsSurviveARoundTrip) {
  const std::string layout =
      "object Root: TDataRoot\n"
      "  object tbmd: TTable\n"
      "    DatabaseName = 'dbmd'\n"
      "    FieldDefs = <\n"
      "      item\n"
      "        Name = 'customerid'\n"
      "        DataType = ftFixedChar\n"
      "        Size = 20\n"
      "      end\n"
      "      item\n"
      "        Name = 'data'\n"
      "        DataType = ftBlob\n"
      "      end>\n"
      "    TableName = 'md'\n"
      "  end\n"
      "  object Query1: TQuery\n"
      "    DatabaseName = 'dbmd'\n"
      "    SQL.Strings = (\n"
      "      'select * from md')\n"
      "  end\n"
      "  object StoredProc1: TStoredProc\n"
      "    DatabaseName = 'dbmd'\n"
      "    StoredProcName = 'sp_marks'\n"
      "  end\n"
      "end\n";
  Read(layout);
  TFieldDefs* defs = Find<TTable>("tbmd")->FieldDefs();
  ASSERT_EQ(defs->Count(), 2);
  EXPECT_EQ(defs->Find("CUSTOMERID")->Size(), 20);
  EXPECT_EQ(defs->Items(1)->DataType(), ftBlob);
  EXPECT_EQ(Find<TQuery>("Query1")->SQL()->Text(), "select * from md\n");
  EXPECT_EQ(Find<TStoredProc>("StoredProc1")->StoredProcName(), "sp_marks");
  EXPECT_FALSE(Find<TTable>("tbmd")->Active());
  EXPECT_EQ(Write(), layout);
}

}  // namespace
