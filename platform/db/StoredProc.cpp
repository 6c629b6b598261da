#include "platform/db/StoredProc.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "platform/db/DatabaseAliases.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TStoredProc, TDBDataSet) {
  c.Prop("StoredProcName", &TStoredProc::StoredProcName, &TStoredProc::SetStoredProcName);
}

void TStoredProc::SetStoredProcName(const std::string& v) {
  if (storedProcName_ == v) return;
  CheckInactive();
  storedProcName_ = v;
}

void TStoredProc::InternalOpen() {
  if (storedProcName_.empty()) throw EDatabaseError("No stored procedure name given for " + DisplayName());
  if (!IsSqlObjectName(storedProcName_))
    throw EDatabaseError("Invalid stored procedure name \"" + storedProcName_ + "\"");
  const TAliasSettings settings = AliasSettings(DatabaseName());
  if (settings.Driver == "QSQLITE")
    throw EDatabaseError("Stored procedures are not supported by driver " + settings.Driver);
  const QSqlDatabase db = Database();
  const QString name = QString::fromStdString(storedProcName_);
  // ODBC has an escape for calls; PostgreSQL calls a set-returning function from a select.
  const QString call = settings.Driver == "QODBC" ? "{call " + name + "}" : "select * from " + name + "()";
  QSqlRecord record;
  QString error;
  {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (query.exec(call)) record = query.record();
    else error = query.lastError().text();
  }
  if (!error.isEmpty())
    throw EDatabaseError("Cannot open " + DisplayName() + ": " +
                         WithoutCredentials(error.toStdString(), settings));
  CreateFields(record);
}
