#include "platform/db/DatabaseError.h"

#include <QSqlError>
#include <QString>

namespace {
bool StartsWith(const QString& code, const char* prefix) { return code.startsWith(QLatin1String(prefix)); }
}  // namespace

TDatabaseFailure FailureOf(const QSqlError& error) {
  const QString code = error.nativeErrorCode();
  const QString text = error.text().toLower();
  // Authorisation: SQLSTATE class 28 (ODBC), or the server's words where the driver gives no code
  // for a refused connection (PostgreSQL: an unknown role, a wrong password).
  if (StartsWith(code, "28") || text.contains(QLatin1String("authentication failed")) ||
      (text.contains(QLatin1String("role \"")) && text.contains(QLatin1String("does not exist"))))
    return TDatabaseFailure::LoginRefused;
  // A table or view that is not there: 42P01 (PostgreSQL), 42S02 (ODBC), SQLite's own words.
  if (code == QLatin1String("42P01") || code == QLatin1String("42S02") || text.contains(QLatin1String("no such table")) ||
      (text.contains(QLatin1String("relation")) && text.contains(QLatin1String("does not exist"))))
    return TDatabaseFailure::ObjectMissing;
  // No privilege (42501), a read-only transaction (25006), a read-only SQLite file.
  if (code == QLatin1String("42501") || code == QLatin1String("25006") ||
      text.contains(QLatin1String("permission denied")) || text.contains(QLatin1String("readonly database")) ||
      text.contains(QLatin1String("read-only")))
    return TDatabaseFailure::NotPermitted;
  // Connections: SQLSTATE class 08, a server shut down (57P), a connection error without a code,
  // or a connection that broke under a statement (the PostgreSQL ODBC driver then reports only
  // that its statement's internal savepoint failed).
  if (StartsWith(code, "08") || StartsWith(code, "57P") || error.type() == QSqlError::ConnectionError ||
      text.contains(QLatin1String("server closed the connection")) ||
      text.contains(QLatin1String("no connection to the server")) ||
      text.contains(QLatin1String("internal savepoint failed")) ||
      text.contains(QLatin1String("could not connect")) || text.contains(QLatin1String("connection refused")))
    return TDatabaseFailure::Unreachable;
  return TDatabaseFailure::Other;
}
