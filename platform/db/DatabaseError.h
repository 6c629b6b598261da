#pragma once
// EDatabaseError: what the data components raise when an alias, a connection, a table or a
// statement fails. Messages name the alias and the object but never the user name or password of a
// connection. The kind says what the user can do about it.

#include <string>

#include "platform/rtl/Exception.h"

class QSqlError;

enum class TDatabaseFailure {
  Other,
  AliasMissing,   // the alias is not configured, or names no database
  Unreachable,    // the server (or the database file) cannot be reached, or the connection broke
  LoginRefused,   // the server refused the user name or password
  ObjectMissing,  // a table or view the statement names does not exist
  NotPermitted,   // the user may not do that to the table (read-only database or no privilege)
};

class EDatabaseError : public Exception {
 public:
  explicit EDatabaseError(std::string message, TDatabaseFailure kind = TDatabaseFailure::Other)
      : Exception(std::move(message)), kind_(kind) {}
  TDatabaseFailure Kind() const { return kind_; }

 private:
  TDatabaseFailure kind_;
};

// The kind of a driver's error: SQLSTATE codes of the PostgreSQL and ODBC drivers, SQLite's result
// codes, and the error's own type for a connection that failed or broke.
TDatabaseFailure FailureOf(const QSqlError& error);

// A driver's reason on one line (servers break theirs over several): every run of blanks that
// holds a line end becomes one space, so that a message keeps one line per thought.
std::string OneLine(const std::string& reason);
