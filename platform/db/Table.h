#pragma once
// TTable: a table or view of an alias's database. Opening lists its columns as fields, in the
// column order the database declares (a view's own order, not its base tables').

#include <QString>

#include <string>

#include "platform/db/DBDataSet.h"

class TTable : public TDBDataSet {
  DECLARE_CLASS(TTable)

 public:
  // The table or view, found without regard to case. An owner prefix ("dbo.VMD") that the database
  // does not list is dropped: SQLite has no owners, and other databases list the tables of the
  // default owner without one. Changing the name closes the table.
  const std::string& TableName() const { return tableName_; }
  void SetTableName(const std::string& v);

 protected:
  void InternalOpen() override;

 private:
  std::string tableName_;
};

// The database's own spelling of the table or view `name`, found as a table opens it (without
// regard to case, and without an owner prefix the database does not list); empty when it has none.
QString FindTableName(const QSqlDatabase& db, const QString& name);
