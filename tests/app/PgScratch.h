#pragma once
// The throw-away PostgreSQL server of scripts/pg-scratch.sh as the tests that use it see it: CTest
// passes the server's folder in MARKEDIT_PG_DIR and the script in MARKEDIT_PG_SCRATCH.

#include <cstdlib>
#include <string>

namespace marks_test {

// The server's folder; null when the tests run without a server.
inline const char* PgServerDir() { return std::getenv("MARKEDIT_PG_DIR"); }

// Runs `pg-scratch.sh ACTION DIR` ("kill", "revive"); its exit status, -1 without a server.
inline int PgScratch(const char* action) {
  const char* script = std::getenv("MARKEDIT_PG_SCRATCH");
  const char* server = PgServerDir();
  if (!script || !server) return -1;
  return std::system((std::string(script) + " " + action + " '" + server + "'").c_str());
}

}  // namespace marks_test
