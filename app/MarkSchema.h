#pragma once
// What the program needs of a mark database, checked and made where it may be: the table md (its
// four columns customerid, mdid, flag and data, keyed by the first three) and the shipment view
// VMD with its eleven columns. Functions here use only the connection they are given, so that a
// worker thread may run them on a connection of its own.

#include <QSqlDatabase>

#include <string>
#include <vector>

// The statement that makes md on a database of `driver` (QSQLITE or QPSQL): the same table the
// demo data and scripts/postgresql/marks-schema.sql make. Empty for a driver the program makes
// no table through (QODBC: the database behind a data source is the administrator's).
std::string MarkTableStatement(const std::string& driver);

// The view's columns, in its order.
const std::vector<std::string>& ShipmentViewColumns();

// What is missing, each in words for the clerk: md's things (without them no mark can be kept)
// apart from VMD's (without them no shipment can be printed).
struct TMarkSchemaCheck {
  bool MarkTableMissing = false;  // no md at all: 建立資料表 may make it
  std::vector<std::string> MarkProblems;
  std::vector<std::string> ViewProblems;
};

// Looks for md, its columns and its key, and for VMD and its columns. Never writes.
TMarkSchemaCheck CheckMarkSchema(const QSqlDatabase& db);

// Makes md with MarkTableStatement. Raises EDatabaseError with the driver's reason, or when the
// driver makes no table. Touches nothing else.
void CreateMarkTable(const QSqlDatabase& db);
