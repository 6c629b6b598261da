// The default data of a new user: win.ini, the alias dbmd and the demo database, each made only
// where missing.

#include "app/DefaultData.h"
#include "app/Translations.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <QSqlQuery>
#include <QTemporaryDir>

#include "platform/db/DatabaseAliases.h"
#include "platform/db/Table.h"
#include "tests/support/QtApp.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void Write(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class DefaultData : public testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    InstallTranslations();  // as the program before it makes its data: the errors are the clerk's
    ASSERT_TRUE(dir_.isValid());
    root_ = dir_.path().toStdString();
    // The Windows folder and its parent do not exist yet.
    SetEnv("WINDIR", root_ + "/win/etc");
    SetEnv("XDG_DATA_HOME", root_ + "/data");
    SetEnv("HOME", root_ + "/home");
  }

  void TearDown() override {
    CloseAliasDatabases();
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
      it->second ? setenv(it->first.c_str(), it->second->c_str(), 1) : unsetenv(it->first.c_str());
  }

  void SetEnv(const std::string& name, const std::string& value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    setenv(name.c_str(), value.c_str(), 1);
  }

  std::string Win(const std::string& name) const { return root_ + "/win/etc/" + name; }
  std::string DataFolder() const { return root_ + "/data/markedit"; }
  std::string Database() const { return DataFolder() + "/marks.db"; }

  std::string Prepare(bool expectOk = true) {
    std::string error;
    EXPECT_EQ(PrepareDefaultData(&error), expectOk) << error;
    return error;
  }

  QTemporaryDir dir_;
  std::string root_;

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(DefaultData, FirstRunWritesProfileAliasAndDatabase) {
  Prepare();
  EXPECT_EQ(Read(Win("win.ini")), "[tavrix]\ndatapath=" + DataFolder() + "\n");
  TAliasSettings alias;
  ASSERT_TRUE(FindAlias("dbmd", alias));
  EXPECT_EQ(alias.Driver, "QSQLITE");
  EXPECT_EQ(alias.Database, Database());
  // No temporary file or journal is left beside the database.
  EXPECT_EQ(FilesIn(DataFolder()), std::vector<std::string>{"marks.db"});
}

TEST_F(DefaultData, DataFolderFollowsXdgElseHome) {
  EXPECT_EQ(DefaultDataFolder(), DataFolder());
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(DefaultDataFolder(), root_ + "/home/.local/share/markedit");
}

TEST_F(DefaultData, ViewOffersItsElevenColumnsInOrder) {
  Prepare();
  const std::unique_ptr<TTable, void (*)(TTable*)> table(New<TTable>(nullptr),
                                                         [](TTable* t) { t->Free(); });
  table->SetDatabaseName("dbmd");
  table->SetTableName("dbo.VMD");
  table->Open();
  std::vector<std::string> names;
  for (int i = 0; i < table->FieldCount(); ++i) names.push_back(table->Fields()[i]->FieldName());
  EXPECT_EQ(names,
            (std::vector<std::string>{"PACKING單號", "出口文件單號", "客戶編號", "SHIPFROM",
                                      "SHIPTO", "VIA", "產品編號", "數量", "CUFT", "NW", "GW"}));
}

TEST_F(DefaultData, ViewShowsOnlyShippedBillsWithInventory) {
  Prepare();
  QSqlQuery query(OpenAliasDatabase("dbmd"));
  ASSERT_TRUE(
      query.exec("select \"PACKING單號\", \"出口文件單號\", \"客戶編號\", \"產品編號\", \"數量\""
                 " from VMD order by 1, 4"));
  std::vector<std::string> rows;
  while (query.next()) {
    std::string row;
    for (int i = 0; i < 5; ++i) row += query.value(i).toString().toStdString() + (i < 4 ? " " : "");
    rows.push_back(row);
  }
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "PK2401001 EX2401001 C001 LP-200 40", "PK2401001 EX2401001 C001 TB-100 120",
                      "PK2401001 EX2401001 C001 TB-120 80", "PK2401002 EX2401002 C002 HS-010 300",
                      "PK2401002 EX2401002 C002 HS-020 150", "PK2401006 EX2401006 C001 TB-120 50",
                      "PK2401007 EX2401006 C001 LP-200 30"}));
  // The base tables hold lines that the view's conditions and joins leave out.
  ASSERT_TRUE(query.exec("select count(*) from TRAPACKINGSUB") && query.next());
  EXPECT_EQ(query.value(0).toInt(), 10);
}

TEST_F(DefaultData, MarkTableKeysCustomerMarkAndSideDefaultingToMainSide) {
  Prepare();
  QSqlQuery query(OpenAliasDatabase("dbmd"));
  EXPECT_TRUE(query.exec("insert into md (customerid, mdid, data) values ('C001', 'M01', x'01')"));
  EXPECT_FALSE(query.exec("insert into md (customerid, mdid) values ('C001', 'M01')"));
  EXPECT_TRUE(query.exec("insert into md (customerid, mdid, flag) values ('C001', 'M01', '1')"));
  EXPECT_FALSE(query.exec("insert into md (mdid) values ('M02')"));
  ASSERT_TRUE(query.exec("select flag, data from md order by flag") && query.next());
  EXPECT_EQ(query.value(0).toString(), "0");
  EXPECT_EQ(query.value(1).toByteArray(), QByteArray("\x01"));
}

TEST_F(DefaultData, SecondRunChangesNothing) {
  Prepare();
  const std::vector<std::string> files = {Win("win.ini"), Win("dbalias.ini"), Database()};
  std::map<std::string, std::pair<std::string, fs::file_time_type>> before;
  for (const std::string& file : files) before[file] = {Read(file), fs::last_write_time(file)};
  Prepare();
  for (const std::string& file : files) {
    EXPECT_EQ(Read(file), before[file].first) << file;
    EXPECT_EQ(fs::last_write_time(file), before[file].second) << file;
  }
  EXPECT_EQ(FilesIn(root_ + "/win/etc"), (std::vector<std::string>{"dbalias.ini", "win.ini"}));
}

TEST_F(DefaultData, DeletedDatabaseIsMadeAgainAndExistingOneNeverReplaced) {
  Prepare();
  const std::string aliases = Read(Win("dbalias.ini"));
  fs::remove(Database());
  Prepare();
  EXPECT_EQ(Read(Win("dbalias.ini")), aliases);
  EXPECT_TRUE(fs::is_regular_file(Database()));

  Write(Database(), "not a database");
  Prepare();
  EXPECT_EQ(Read(Database()), "not a database");
}

TEST_F(DefaultData, ProfileWithoutDataPathIsKeptAndDefaultFolderUsed) {
  Write(Win("win.ini"), "[Fonts]\r\nsize=12\r\n");
  Prepare();
  EXPECT_EQ(Read(Win("win.ini")), "[Fonts]\r\nsize=12\r\n");
  EXPECT_TRUE(fs::is_regular_file(Database()));
}

TEST_F(DefaultData, ConfiguredDataPathReceivesTheDatabase) {
  const std::string folder = root_ + "/shared/marks";
  Write(Win("win.ini"), "[tavrix]\ndatapath=" + folder + "/\n");
  Prepare();
  TAliasSettings alias;
  ASSERT_TRUE(FindAlias("dbmd", alias));
  EXPECT_EQ(alias.Database, folder + "/marks.db");
  EXPECT_TRUE(fs::is_regular_file(folder + "/marks.db"));
  EXPECT_FALSE(fs::exists(DataFolder()));
}

TEST_F(DefaultData, AliasIsAppendedAfterOtherAliasesInTheirLineEnds) {
  const std::string others = "[ship]\r\nDriver=QODBC\r\nDatabase=ship";
  Write(Win("dbalias.ini"), others);
  Prepare();
  EXPECT_EQ(Read(Win("dbalias.ini")),
            others + "\r\n\r\n[dbmd]\r\nDriver=QSQLITE\r\nDatabase=" + Database() + "\r\n");
  TAliasSettings ship;
  ASSERT_TRUE(FindAlias("ship", ship));
  EXPECT_EQ(ship.Driver, "QODBC");
  EXPECT_EQ(ship.Database, "ship");
}

TEST_F(DefaultData, DbmdSectionThatConfiguresNothingReceivesTheSettings) {
  Write(Win("dbalias.ini"), "[other]\nDatabase=other.db\n[DBMD]\nHost=\n[last]\nx=1\n");
  Prepare();
  EXPECT_EQ(Read(Win("dbalias.ini")),
            "[other]\nDatabase=other.db\n[DBMD]\nDriver=QSQLITE\nDatabase=" + Database() +
                "\nHost=\n[last]\nx=1\n");
  EXPECT_TRUE(fs::is_regular_file(Database()));
}

class ConfiguredAlias : public DefaultData, public testing::WithParamInterface<const char*> {};

TEST_P(ConfiguredAlias, IsLeftAloneAndNoDatabaseMade) {
  Write(Win("dbalias.ini"), GetParam());
  Prepare();
  EXPECT_EQ(Read(Win("dbalias.ini")), GetParam());
  EXPECT_FALSE(fs::exists(Database()));
  EXPECT_EQ(FilesIn(root_ + "/win/etc"), (std::vector<std::string>{"dbalias.ini", "win.ini"}));
}

INSTANTIATE_TEST_SUITE_P(Aliases, ConfiguredAlias,
                         testing::Values("[dbmd]\nDriver=QODBC\nDatabase=ship\n",
                                         "[dbmd]\nDatabase=elsewhere.db\n",
                                         "[dbmd]\nDriver=NOSUCH\nDatabase=x\n"));

TEST_F(DefaultData, FolderBlockedByAFileIsNamedInTheError) {
  Write(root_ + "/file", "");
  SetEnv("WINDIR", root_ + "/file/win");
  EXPECT_NE(Prepare(false).find("無法建立資料夾 " + root_ + "/file/win"),
            std::string::npos);

  SetEnv("WINDIR", root_ + "/win/etc");
  Write(Win("win.ini"), "[tavrix]\ndatapath=" + root_ + "/file/data\n");
  EXPECT_NE(Prepare(false).find("無法建立資料夾 " + root_ + "/file/data"),
            std::string::npos);
}

// A start whose data folder is blocked writes no alias, so once the user names a good folder the
// next start makes the database there and the alias names it.
TEST_F(DefaultData, BlockedDataFolderLeavesNoAliasAndAMendedOneGetsTheDatabase) {
  Write(root_ + "/file", "");
  Write(Win("win.ini"), "[tavrix]\ndatapath=" + root_ + "/file/data\n");
  Prepare(false);
  TAliasSettings alias;
  EXPECT_FALSE(FindAlias("dbmd", alias));
  EXPECT_FALSE(fs::exists(Win("dbalias.ini")) && Read(Win("dbalias.ini")).find("dbmd") != std::string::npos);

  const std::string mended = root_ + "/mended";
  Write(Win("win.ini"), "[tavrix]\ndatapath=" + mended + "\n");
  Prepare();
  ASSERT_TRUE(FindAlias("dbmd", alias));
  EXPECT_EQ(alias.Database, mended + "/marks.db");
  EXPECT_TRUE(fs::is_regular_file(mended + "/marks.db"));
}

// A database that outlived its alias is kept and named again.
TEST_F(DefaultData, ExistingDatabaseWithoutAliasIsNamedAndKept) {
  Prepare();
  fs::remove(Win("dbalias.ini"));
  const auto made = fs::last_write_time(Database());
  Prepare();
  TAliasSettings alias;
  ASSERT_TRUE(FindAlias("dbmd", alias));
  EXPECT_EQ(alias.Database, Database());
  EXPECT_EQ(fs::last_write_time(Database()), made);
}

TEST_F(DefaultData, FailedBuildLeavesNoDatabaseBehind) {
  Prepare();
  fs::remove(Database());
  // Writes past 8 KiB fail, so the database's pages cannot all be written.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 8192;
  setrlimit(RLIMIT_FSIZE, &small);
  const std::string error = Prepare(false);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(error.rfind("無法建立資料庫 " + Database() + "：", 0), 0u) << error;
  EXPECT_TRUE(FilesIn(DataFolder()).empty());
  Prepare();
  EXPECT_TRUE(fs::is_regular_file(Database()));
}

}  // namespace

// An administrator's alias in the system's configuration folders serves every clerk of the machine:
// no demo database is made for a clerk of a configured company, a relative SQLite file lies beside
// the file that names it, and the clerk's own alias still wins.
TEST_F(DefaultData, AnAliasOfTheSystemsFoldersMakesNoDemoDatabaseAndTheClerksOwnWins) {
  SetEnv("XDG_CONFIG_DIRS", "relative/skipped:" + root_ + "/xdg1:" + root_ + "/xdg2/");
  Write(root_ + "/xdg1/markedit/dbalias.ini", "[ship]\nDatabase=ship.db\n");
  Write(root_ + "/xdg2/markedit/dbalias.ini", "[dbmd]\nDriver=QPSQL\nHost=marks.company\nDatabase=marks\n");
  Write(root_ + "/xdg2/markedit/more.ini", "[ship]\nDatabase=not-this.db\n");
  Prepare();
  EXPECT_FALSE(fs::exists(Database())) << "a demo database nobody's marks go to";
  EXPECT_FALSE(fs::exists(Win("dbalias.ini"))) << "nor an alias of the clerk's own";
  TAliasSettings alias;
  ASSERT_TRUE(FindAlias("dbmd", alias));
  EXPECT_EQ(alias.Driver, "QPSQL");
  EXPECT_EQ(alias.Host, "marks.company");
  EXPECT_EQ(alias.File, root_ + "/xdg2/markedit/dbalias.ini");
  ASSERT_TRUE(FindAlias("ship", alias));
  EXPECT_EQ(alias.Database, root_ + "/xdg1/markedit/ship.db");

  Write(Win("dbalias.ini"), "[dbmd]\nDatabase=mine.db\n");
  ASSERT_TRUE(FindAlias("dbmd", alias));
  EXPECT_EQ(alias.Driver, "QSQLITE");
  EXPECT_EQ(alias.Database, Win("mine.db"));
}
