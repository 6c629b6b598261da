// The alias file: which settings an alias gives, which errors a wrong one raises, and that no
// message ever carries a user name or password.

#include "platform/db/DatabaseAliases.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/db/Table.h"
#include "tests/platform/db/DbTestSupport.h"

namespace {

using Aliases = DbFolder;

TEST_F(Aliases, ReadsSettingsAndPlacesRelativeSqliteFilesInTheAliasFolder) {
  WriteAliases(
      "[dbmd]\nDatabase=marks.db\n"
      "[pg]\nDriver=qpsql\nDatabase=marks\nHost=db.local\nPort=5433\nUser=u\nPassword=p\n"
      "Options=connect_timeout=2\n");
  TAliasSettings s;
  ASSERT_TRUE(FindAlias("DBMD", s));
  EXPECT_EQ(s.Driver, "QSQLITE");
  EXPECT_EQ(s.Database, folder_ + "/marks.db");
  EXPECT_EQ(s.Port, -1);
  ASSERT_TRUE(FindAlias("pg", s));
  EXPECT_EQ(s.Driver, "QPSQL");
  EXPECT_EQ(s.Database, "marks");
  EXPECT_EQ(s.Host, "db.local");
  EXPECT_EQ(s.Port, 5433);
  EXPECT_EQ(s.User, "u");
  EXPECT_EQ(s.Password, "p");
  EXPECT_EQ(s.Options, "connect_timeout=2");
  EXPECT_FALSE(FindAlias("nosuch", s));
  EXPECT_FALSE(FindAlias("", s));
}

struct AliasError {
  const char* name;
  std::string aliases;  // the alias file; "-" for none
  std::string table;
  std::vector<std::string> expected;  // parts of the message; "<folder>" is the test's folder
};

void PrintTo(const AliasError& e, std::ostream* os) { *os << e.name; }

class AliasErrors : public DbFolder, public testing::WithParamInterface<AliasError> {};

TEST_P(AliasErrors, NameTheAliasAndWhatIsWrong) {
  const AliasError& e = GetParam();
  if (e.aliases == "-") std::filesystem::remove(folder_ + "/dbalias.ini");
  else WriteAliases(e.aliases);
  Owned<TTable> table(New<TTable>(nullptr));
  table->SetDatabaseName("dbmd");
  table->SetTableName(e.table);
  const std::string message = DatabaseErrorOf([&] { table->Open(); });
  for (std::string part : e.expected) {
    if (const size_t at = part.find("<folder>"); at != std::string::npos) part.replace(at, 8, folder_);
    EXPECT_NE(message.find(part), std::string::npos) << message << "\nlacks: " << part;
  }
  EXPECT_FALSE(table->Active());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AliasErrors,
    testing::Values(
        AliasError{"NoAliasFile", "-", "VMD",
                   {"Alias dbmd is not configured (<folder>/dbalias.ini)"}},
        AliasError{"OtherAliasOnly", "[other]\nDatabase=marks.db\n", "VMD",
                   {"Alias dbmd is not configured (<folder>/dbalias.ini)"}},
        AliasError{"MissingView", "[dbmd]\nDatabase=marks.db\n", "nosuch",
                   {"Table or view nosuch does not exist in database dbmd"}},
        AliasError{"MissingFile", "[dbmd]\nDatabase=gone.db\n", "VMD",
                   {"Cannot connect to database dbmd: ", "<folder>/gone.db does not exist"}},
        AliasError{"NotADatabase", "[dbmd]\nDatabase=dbalias.ini\n", "VMD",
                   {"Cannot connect to database dbmd: "}},
        AliasError{"UnknownDriver", "[dbmd]\nDriver=QORACLE\nDatabase=x\n", "VMD",
                   {"Alias dbmd names the unknown driver QORACLE (<folder>/dbalias.ini)"}},
        AliasError{"BadPort", "[dbmd]\nDriver=QPSQL\nDatabase=x\nPort=54x\n", "VMD",
                   {"Alias dbmd has the invalid port 54x"}},
        AliasError{"NoSqliteFile", "[dbmd]\nDriver=QSQLITE\n", "VMD",
                   {"Alias dbmd names no database file (<folder>/dbalias.ini)"}}),
    [](const auto& info) { return info.param.name; });

TEST_F(Aliases, MissingSqliteFileIsNotCreated) {
  WriteAliases("[dbmd]\nDatabase=gone.db\n");
  EXPECT_THROW(OpenAliasDatabase("dbmd"), EDatabaseError);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/gone.db"));
}

// ---- credentials ----

struct Blanking {
  const char* name;
  std::string user, password, database, text, expected;
};

void PrintTo(const Blanking& b, std::ostream* os) { *os << b.name; }

class CredentialBlanking : public testing::TestWithParam<Blanking> {};

TEST_P(CredentialBlanking, ReplacesCredentialsOnly) {
  const Blanking& b = GetParam();
  TAliasSettings s;
  s.User = b.user;
  s.Password = b.password;
  s.Database = b.database;
  EXPECT_EQ(WithoutCredentials(b.text, s), b.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CredentialBlanking,
    testing::Values(
        Blanking{"PasswordEverywhere", "", "s3cret", "", "pw s3cret, xs3cretx", "pw ***, x***x"},
        Blanking{"UserAsWholeWord", "sa", "", "", "usage: user \"sa\" failed",
                 "usage: user \"***\" failed"},
        Blanking{"UserInsidePassword", "ab", "abcd", "", "abcd ab", "*** ***"},
        Blanking{"OdbcConnectionString", "", "", "DRIVER={x};junk;UID=bob;PWD={p;w}", "bob p;w",
                 "*** ***"},
        Blanking{"NothingToHide", "", "", "marks", "Connection refused", "Connection refused"}),
    [](const auto& info) { return info.param.name; });

struct ServerDriver {
  const char* driver;
  const char* settings;
};

class CredentialsInConnectErrors : public DbFolder, public testing::WithParamInterface<ServerDriver> {};

TEST_P(CredentialsInConnectErrors, NeverAppear) {
  const ServerDriver& d = GetParam();
  if (!QSqlDatabase::isDriverAvailable(d.driver))
    GTEST_SKIP() << d.driver << " is not installed";
  WriteAliases(std::string("[srv]\nDriver=") + d.driver + "\n" + d.settings);
  Owned<TTable> table(New<TTable>(nullptr));
  table->SetDatabaseName("srv");
  table->SetTableName("VMD");
  const std::string message = DatabaseErrorOf([&] { table->Open(); });
  EXPECT_EQ(message.rfind("Cannot connect to database srv: ", 0), 0u) << message;
  EXPECT_EQ(message.find("s3cret"), std::string::npos) << message;
  EXPECT_EQ(message.find("markuser"), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, CredentialsInConnectErrors,
    testing::Values(ServerDriver{"QPSQL",
                                 "Host=127.0.0.1\nPort=1\nDatabase=marks\nUser=markuser\n"
                                 "Password=s3cret\nOptions=connect_timeout=2\n"},
                    ServerDriver{"QODBC",
                                 "Database=DRIVER={No Such Driver};SERVER=127.0.0.1,1;"
                                 "UID=markuser;PWD=s3cret\nUser=markuser\nPassword=s3cret\n"}),
    [](const auto& info) { return std::string(info.param.driver); });

}  // namespace
