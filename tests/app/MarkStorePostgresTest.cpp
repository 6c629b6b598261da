// The mark store on the throw-away PostgreSQL server of scripts/pg-scratch.sh, through Qt's
// PostgreSQL driver and through ODBC. CTest runs these with MARKEDIT_PG_DIR (the server's folder)
// and MARKEDIT_PG_SCRATCH (the script) set, after starting the server; without them they are
// skipped.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/MarkStore.h"
#include "platform/db/DatabaseAliases.h"
#include "platform/db/DatabaseError.h"
#include "tests/app/MarkPairChecks.h"
#include "tests/app/PgScratch.h"
#include "tests/support/QtApp.h"

namespace {

namespace fs = std::filesystem;

class MarkStorePostgresTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const char* server = marks_test::PgServerDir();
    if (!server) GTEST_SKIP() << "no PostgreSQL server given (CTest starts one)";
    TestApp();
    if (const char* old = std::getenv("WINDIR")) savedWindir_ = old;
    windows_ = fs::temp_directory_path() / ("markedit-pg-store-" + std::to_string(::getpid()));
    fs::create_directories(windows_);
    fs::copy_file(fs::path(server) / GetParam(), windows_ / "dbalias.ini", fs::copy_options::overwrite_existing);
    setenv("WINDIR", windows_.c_str(), 1);
  }
  void TearDown() override {
    SetWriteMarkHook(nullptr);
    CloseAliasDatabases();
    if (windows_.empty()) return;
    if (savedWindir_.empty()) unsetenv("WINDIR");
    else setenv("WINDIR", savedWindir_.c_str(), 1);
    fs::remove_all(windows_);
  }
  // The alias as another user with another password sees it.
  void LogInAs(const std::string& user, const std::string& password) {
    std::ifstream in(windows_ / "dbalias.ini");
    std::stringstream text;
    text << in.rdbuf();
    std::string alias = text.str();
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"User=markedit", "User=" + user},
                                   {"Password=markedit", "Password=" + password},
                                   {"UID=markedit", "UID=" + user},
                                   {"PWD=markedit", "PWD=" + password}})
      if (const size_t at = alias.find(from); at != std::string::npos) alias.replace(at, from.size(), to);
    std::ofstream(windows_ / "dbalias.ini") << alias;
    CloseAliasDatabases();
  }

  std::string savedWindir_;
  fs::path windows_;
};

TEST_P(MarkStorePostgresTest, MarksKeepTheirBytesAndKeys) {
  const std::string design("TPF0\0\x01\xff end", 11);
  WriteMark({"C101", "M01", "0"}, design);
  WriteMark({"C101", "M01", "1"}, "side");
  EXPECT_EQ(ReadMark({"C101", "M01", "0"}), design);
  EXPECT_EQ(ReadMark({"C101", "M01", "1"}), "side");
  EXPECT_EQ(ReadMark({"C101", "M02", "0"}), std::nullopt);
  WriteMark({"C101", "M01", "0"}, "again");
  EXPECT_EQ(ReadMark({"C101", "M01", "0"}), "again") << "a save replaces the row";
}

TEST_P(MarkStorePostgresTest, AServerThatDiesInTheMiddleOfASaveKeepsTheOldMark) {
  const TMarkKey key{"C102", "M01", "0"};
  WriteMark(key, "old design");
  marks_test::KillServerBeforeCommit();
  try {
    WriteMark(key, "new design");
    ADD_FAILURE() << "the save reported success";
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.Kind(), TDatabaseFailure::Unreachable) << error.what();
  }
  SetWriteMarkHook(nullptr);
  ASSERT_EQ(marks_test::PgScratch("revive"), 0);
  CloseAliasDatabases();  // the broken connection goes
  EXPECT_EQ(ReadMark(key), "old design") << "the old mark, not a mix and not nothing";
  WriteMark(key, "new design");
  EXPECT_EQ(ReadMark(key), "new design");
}

TEST_P(MarkStorePostgresTest, AUserWhoMayOnlyReadIsToldSoAndTheRowStays) {
  const TMarkKey key{"C103", "M01", "0"};
  WriteMark(key, "stored");
  ASSERT_EQ(marks_test::PgSql("drop role if exists reader; create role reader login password 'reads'; "
                "grant usage on schema dbo to reader; grant select on dbo.md to reader"),
            0);
  LogInAs("reader", "reads");
  EXPECT_EQ(ReadMark(key), "stored");
  try {
    WriteMark(key, "changed");
    ADD_FAILURE() << "the save reported success";
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.Kind(), TDatabaseFailure::NotPermitted) << error.what();
    EXPECT_EQ(std::string(error.what()).find("reads"), std::string::npos) << "no password in " << error.what();
  }
  EXPECT_EQ(ReadMark(key), "stored");
  CloseAliasDatabases();
  EXPECT_EQ(marks_test::PgSql("drop owned by reader; drop role reader"), 0);
}

TEST_P(MarkStorePostgresTest, MarksAreListedAndBothRowsOfAMarkChangeTogether) { marks_test::CheckMarkPairs(); }

INSTANTIATE_TEST_SUITE_P(Drivers, MarkStorePostgresTest, testing::Values("dbalias.ini", "odbc.ini"));

}  // namespace
