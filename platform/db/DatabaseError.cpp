#include "platform/db/DatabaseError.h"

#include <QSqlError>
#include <QString>

#include <initializer_list>

namespace {
bool StartsWith(const QString& code, const char* prefix) { return code.startsWith(QLatin1String(prefix)); }

// Whether the lower-cased text holds any of the phrases.
bool Mentions(const QString& text, std::initializer_list<const char*> phrases) {
  for (const char* phrase : phrases)
    if (text.contains(QLatin1String(phrase))) return true;
  return false;
}

// "<what> … does not exist", as PostgreSQL words a missing role or relation.
bool SaysMissing(const QString& text, const char* what) {
  return text.contains(QLatin1String(what)) && text.contains(QLatin1String("does not exist"));
}
}  // namespace

TDatabaseFailure FailureOf(const QSqlError& error) {
  const QString code = error.nativeErrorCode();
  const QString text = error.text().toLower();
  // Authorisation: SQLSTATE class 28 (ODBC), or the server's words where the driver gives no code
  // for a refused connection (PostgreSQL: an unknown role, a wrong password).
  if (StartsWith(code, "28") || Mentions(text, {"authentication failed"}) || SaysMissing(text, "role \""))
    return TDatabaseFailure::LoginRefused;
  // A table or view that is not there: 42P01 (PostgreSQL), 42S02 (ODBC), SQLite's own words.
  if (code == QLatin1String("42P01") || code == QLatin1String("42S02") || Mentions(text, {"no such table"}) ||
      SaysMissing(text, "relation"))
    return TDatabaseFailure::ObjectMissing;
  // No privilege (42501), a read-only transaction (25006), a read-only SQLite file.
  if (code == QLatin1String("42501") || code == QLatin1String("25006") ||
      Mentions(text, {"permission denied", "readonly database", "read-only"}))
    return TDatabaseFailure::NotPermitted;
  // Connections: SQLSTATE class 08, a server shut down (57P), a connection error without a code,
  // or a connection that broke under a statement (the PostgreSQL ODBC driver then reports only
  // that its statement's internal savepoint failed).
  if (StartsWith(code, "08") || StartsWith(code, "57P") || error.type() == QSqlError::ConnectionError ||
      Mentions(text, {"server closed the connection", "no connection to the server", "internal savepoint failed",
                      "could not connect", "connection refused"}))
    return TDatabaseFailure::Unreachable;
  return TDatabaseFailure::Other;
}

std::string OneLine(const std::string& reason) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::string line;
  size_t i = 0;
  while (i < reason.size()) {
    if (reason[i] != '\r' && reason[i] != '\n') {
      line += reason[i++];
      continue;
    }
    // The blanks around a line end go with it.
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    while (i < reason.size() && blank(reason[i])) ++i;
    if (!line.empty() && i < reason.size()) line += ' ';
  }
  return line;
}
