#pragma once
// The throw-away PostgreSQL server of scripts/pg-scratch.sh as the tests that use it see it: CTest
// passes the server's folder in MARKEDIT_PG_DIR and the script in MARKEDIT_PG_SCRATCH.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/MarkStore.h"

namespace marks_test {

// The server's folder; null when the tests run without a server.
inline const char* PgServerDir() { return std::getenv("MARKEDIT_PG_DIR"); }

// Runs `pg-scratch.sh ACTION DIR [ARGUMENT [DATABASE]]` ("kill", "revive", "sql" with its statement
// and database); its exit status, -1 without a server.
inline int PgScratch(const char* action, const std::string& argument = "", const std::string& database = "") {
  const char* script = std::getenv("MARKEDIT_PG_SCRATCH");
  const char* server = PgServerDir();
  if (!script || !server) return -1;
  std::string command = std::string(script) + " " + action + " '" + server + "'";
  if (!argument.empty()) command += " \"" + argument + "\"";
  if (!database.empty()) command += " " + database;
  return std::system(command.c_str());
}

// Runs SQL on the server's mark database (or another of its databases) as its owner.
inline int PgSql(const std::string& statement, const std::string& database = "") {
  return PgScratch("sql", statement, database);
}

// The next save's server goes down at once when the new row is in place inside its transaction,
// before the commit.
inline void KillServerBeforeCommit() {
  SetWriteMarkHook([](const std::string& step) {
    if (step == "written") {
      EXPECT_EQ(PgScratch("kill"), 0);
    }
  });
}

}  // namespace marks_test
