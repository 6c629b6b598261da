#include "platform/db/Table.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include "platform/db/DatabaseError.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Tr.h"

namespace {

// What a clerk is told of a missing table.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Table)
};

}  // namespace

DEFINE_CLASS(TTable, TDBDataSet) {
  c.Prop("FieldDefs", &TTable::FieldDefs, &TTable::SetFieldDefs).Stored(&TTable::FieldDefsStored);
  c.Prop("TableName", &TTable::TableName, &TTable::SetTableName);
}

QString FindTableName(const QSqlDatabase& db, const QString& name) {
  const QStringList tables = db.tables(QSql::AllTables);
  for (const QString& table : tables)
    if (table.compare(name, Qt::CaseInsensitive) == 0) return table;
  const qsizetype dot = name.lastIndexOf(u'.');
  if (dot < 0) return {};
  const QString unqualified = name.mid(dot + 1);
  for (const QString& table : tables)
    if (table.compare(unqualified, Qt::CaseInsensitive) == 0) return table;
  return {};
}

void TTable::SetTableName(const std::string& v) {
  if (tableName_ == v) return;
  CheckInactive();
  tableName_ = v;
}

void TTable::InternalOpen() {
  if (tableName_.empty()) throw EDatabaseError("No table name given for " + DisplayName());
  // The name goes into a statement below.
  if (!IsSqlObjectName(tableName_)) throw EDatabaseError("Invalid table name \"" + tableName_ + "\"");
  const QSqlDatabase db = Database();
  const QString table = FindTableName(db, QString::fromStdString(tableName_));
  if (table.isEmpty())
    throw EDatabaseError(Tr(Texts::tr("Table or view %1 does not exist in database %2"), tableName_, DatabaseName()),
                         TDatabaseFailure::ObjectMissing);
  QSqlRecord record = db.record(table);
  if (record.isEmpty()) {
    // Some drivers describe only tables; an empty result describes a view as well.
    QSqlQuery probe(db);
    if (probe.exec("select * from " + table + " where 1=0")) record = probe.record();
  }
  CreateFields(record);
}
