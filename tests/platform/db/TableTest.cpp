// Tables, queries and stored procedures opened on the alias dbmd of a test folder.

#include "platform/db/Table.h"

#include <gtest/gtest.h>

#include "platform/db/Query.h"
#include "platform/db/StoredProc.h"
#include "tests/platform/db/DbTestSupport.h"

namespace {

Owned<TTable> MakeTable(const std::string& tableName, const std::string& alias = "dbmd") {
  Owned<TTable> table(New<TTable>(nullptr));
  table->SetName("Table1");
  table->SetDatabaseName(alias);
  table->SetTableName(tableName);
  return table;
}

using TableOpen = DbFolder;

TEST_F(TableOpen, ViewListsItsColumnsInViewOrder) {
  auto table = MakeTable("VMD");
  table->Open();
  ASSERT_TRUE(table->Active());
  EXPECT_EQ(FieldNames(*table), kVmdColumns);
  for (int i = 0; i < table->FieldCount(); ++i) {
    EXPECT_EQ(table->Fields()[i]->Index(), i);
    EXPECT_EQ(table->Fields()[i]->DataSet(), table.get());
  }
}

TEST_F(TableOpen, TableFieldsCarryTheirTypes) {
  auto table = MakeTable("md");
  table->Open();
  EXPECT_EQ(FieldNames(*table), (std::vector<std::string>{"customerid", "mdid", "flag", "data"}));
  EXPECT_EQ(table->FieldByName("FLAG")->DataType(), ftString);
  EXPECT_EQ(table->FieldByName("data")->DataType(), ftBlob);
  EXPECT_NE(DatabaseErrorOf([&] { table->FieldByName("nosuch"); }).find("Field nosuch not found in Table1"),
            std::string::npos);
}

class TableNameSpelling : public DbFolder, public testing::WithParamInterface<const char*> {};

TEST_P(TableNameSpelling, FindsTheViewWhateverTheCaseOrOwner) {
  auto table = MakeTable(GetParam());
  table->Open();
  EXPECT_EQ(FieldNames(*table), kVmdColumns);
}

INSTANTIATE_TEST_SUITE_P(Names, TableNameSpelling,
                         testing::Values("vmd", "VMD", "Vmd", "dbo.VMD", "DBO.vmd"));

TEST_F(TableOpen, CloseAndChangingTheNameDropTheFields) {
  auto table = MakeTable("VMD");
  table->Open();
  table->Close();
  EXPECT_FALSE(table->Active());
  EXPECT_EQ(table->FieldCount(), 0);

  table->Open();
  table->SetTableName("md");
  EXPECT_FALSE(table->Active());
  EXPECT_EQ(table->FieldCount(), 0);
  table->Open();
  EXPECT_EQ(table->FieldCount(), 4);
}

TEST_F(TableOpen, FailedOpenLeavesTheTableClosedAndEmpty) {
  auto table = MakeTable("VMD");
  int afterOpen = 0;
  table->AfterOpen.Bind([&](TObject*) { ++afterOpen; });
  table->Open();
  table->SetTableName("nosuch");
  EXPECT_THROW(table->Open(), EDatabaseError);
  EXPECT_FALSE(table->Active());
  EXPECT_EQ(table->FieldCount(), 0);
  EXPECT_EQ(afterOpen, 1);
}

TEST_F(TableOpen, FollowsTheAliasFileWhenItChanges) {
  auto table = MakeTable("md");
  table->Open();
  table->Close();
  Exec(folder_ + "/other.db", {"create table md (only_column int)"});
  WriteAliases("[dbmd]\nDriver=QSQLITE\nDatabase=" + folder_ + "/other.db\n");
  table->Open();
  EXPECT_EQ(FieldNames(*table), std::vector<std::string>{"only_column"});
  EXPECT_EQ(QSqlDatabase::connectionNames().count("markedit:dbmd"), 1);
}

struct NameCase {
  const char* name;
  bool valid;
};

class SqlObjectNames : public testing::TestWithParam<NameCase> {};

TEST_P(SqlObjectNames, AcceptOnlyIdentifiersInDottedParts) {
  EXPECT_EQ(IsSqlObjectName(GetParam().name), GetParam().valid) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, SqlObjectNames,
    testing::Values(NameCase{"VMD", true}, NameCase{"dbo.VMD", true}, NameCase{"_md2", true},
                    NameCase{"出貨", true}, NameCase{"md;drop table md", false},
                    NameCase{"md where 1=1", false}, NameCase{"md--", false},
                    NameCase{"\"md\"", false}, NameCase{"md)", false}, NameCase{".md", false},
                    NameCase{"md.", false}, NameCase{"dbo..md", false}, NameCase{"", false},
                    NameCase{"md\xff", false}));

TEST_F(TableOpen, RefusesTableNamesThatAreNotIdentifiers) {
  auto table = MakeTable("md; drop table md");
  EXPECT_EQ(DatabaseErrorOf([&] { table->Open(); }), "Invalid table name \"md; drop table md\"");
  EXPECT_EQ(RowCount(folder_ + "/marks.db", "md"), 1);
  table->SetTableName("");
  EXPECT_EQ(DatabaseErrorOf([&] { table->Open(); }), "No table name given for Table1");
}

// ---- queries ----

Owned<TQuery> MakeQuery(const std::string& sql) {
  Owned<TQuery> query(New<TQuery>(nullptr));
  query->SetName("Query1");
  query->SetDatabaseName("dbmd");
  query->SQL()->SetText(sql);
  return query;
}

using QueryOpen = DbFolder;

TEST_F(QueryOpen, ListsTheColumnsOfASelect) {
  auto query = MakeQuery("select * from md");
  query->Open();
  EXPECT_EQ(FieldNames(*query), (std::vector<std::string>{"customerid", "mdid", "flag", "data"}));
  query->SQL()->SetText("select mdid from md");
  EXPECT_FALSE(query->Active());
}

struct RefusedStatement {
  const char* name;
  const char* sql;
  const char* message;
};

void PrintTo(const RefusedStatement& s, std::ostream* os) { *os << s.name; }

class QueryRefuses : public DbFolder, public testing::WithParamInterface<RefusedStatement> {};

TEST_P(QueryRefuses, StatementsThatWouldChangeTheDatabaseOrFail) {
  auto query = MakeQuery(GetParam().sql);
  const std::string message = DatabaseErrorOf([&] { query->Open(); });
  EXPECT_NE(message.find(GetParam().message), std::string::npos) << message;
  EXPECT_FALSE(query->Active());
  EXPECT_EQ(RowCount(folder_ + "/marks.db", "md"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, QueryRefuses,
    testing::Values(
        RefusedStatement{"Delete", "delete from md", "Query1 can only open a select statement"},
        RefusedStatement{"Empty", " -- nothing\n", "No SQL statement given for Query1"},
        RefusedStatement{"MissingTable", "select * from nosuch", "Cannot open Query1: "},
        RefusedStatement{"TwoStatements", "select 1; delete from md", "Cannot open Query1: "}),
    [](const auto& info) { return info.param.name; });

TEST_F(QueryOpen, WritesHiddenBehindWithAreRolledBack) {
  auto query = MakeQuery("with doomed as (select 'C001') delete from md");
  try {
    query->Open();
  } catch (const EDatabaseError&) {
  }
  EXPECT_EQ(RowCount(folder_ + "/marks.db", "md"), 1);
}

// ---- stored procedures ----

TEST_F(TableOpen, StoredProcedureOnSqliteFailsCleanly) {
  Owned<TStoredProc> proc(New<TStoredProc>(nullptr));
  proc->SetDatabaseName("dbmd");
  proc->SetStoredProcName("sp_marks");
  EXPECT_EQ(DatabaseErrorOf([&] { proc->Open(); }),
            "Stored procedures are not supported by driver QSQLITE");
  EXPECT_FALSE(proc->Active());
  proc->SetStoredProcName("sp;drop");
  EXPECT_EQ(DatabaseErrorOf([&] { proc->Open(); }), "Invalid stored procedure name \"sp;drop\"");
}

}  // namespace
