#include "app/MarkSchema.h"

#include <QSqlError>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

#include "app/Shipments.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/Texts.h"
#include "platform/rtl/Tr.h"

namespace {

// What the clerk is told when md cannot be made.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(MarkSchema)
};

const std::vector<std::string> kMarkColumns = {"customerid", "mdid", "flag", "data"};
const std::vector<std::string> kMarkKey = {"customerid", "mdid", "flag"};

// The columns a statement's result has, in lower case; nothing when it fails.
std::vector<std::string> ResultColumns(const QSqlDatabase& db, const QString& from, bool lower) {
  QSqlQuery query(db);
  std::vector<std::string> columns;
  if (!query.exec("select * from " + from + " where 1 = 0")) return columns;
  const QSqlRecord record = query.record();
  for (int i = 0; i < record.count(); ++i)
    columns.push_back(lower ? LowerCase(record.fieldName(i).toStdString()) : record.fieldName(i).toStdString());
  return columns;
}

bool Has(const std::vector<std::string>& list, const std::string& name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

}  // namespace

std::string MarkTableStatement(const std::string& driver) {
  const std::string columns =
      "create table md (customerid varchar(20) not null, mdid varchar(20) not null,"
      " flag varchar(1) not null constraint ";
  if (driver == "QSQLITE")
    return columns + "DF_md_flag default '0', data blob, constraint PK_md primary key (customerid, mdid, flag))";
  if (driver == "QPSQL")
    return columns +
           "\"DF_md_flag\" default '0', data bytea, constraint \"PK_md\" primary key (customerid, mdid, flag))";
  return std::string();
}

const std::vector<std::string>& ShipmentViewColumns() {
  static const std::vector<std::string> columns = {"PACKING單號", "出口文件單號", "客戶編號", "SHIPFROM",
                                                   "SHIPTO",      "VIA",          "產品編號", "數量",
                                                   "CUFT",        "NW",           "GW"};
  return columns;
}

TMarkSchemaCheck CheckMarkSchema(const QSqlDatabase& db) {
  TMarkSchemaCheck check;
  const std::vector<std::string> md = ResultColumns(db, QStringLiteral("md"), true);
  if (md.empty()) {
    check.MarkTableMissing = true;
    check.MarkProblems.push_back(Tr(Texts::tr("the table md")));
  } else {
    for (const std::string& column : kMarkColumns)
      if (!Has(md, column)) check.MarkProblems.push_back(Tr(Texts::tr("the column %1 of the table md"), column));
    const QSqlIndex key = db.primaryIndex(QStringLiteral("md"));
    std::vector<std::string> keyColumns;
    for (int i = 0; i < key.count(); ++i) keyColumns.push_back(LowerCase(key.fieldName(i).toStdString()));
    std::sort(keyColumns.begin(), keyColumns.end());
    std::vector<std::string> wanted = kMarkKey;
    std::sort(wanted.begin(), wanted.end());
    if (keyColumns != wanted)
      check.MarkProblems.push_back(Tr(Texts::tr("the key of the table md (customerid, mdid, flag)")));
  }
  std::vector<std::string> vmd;
  try {
    vmd = ResultColumns(db, QuotedShipmentView(db), false);
  } catch (const EDatabaseError&) {
    // no such view
  }
  if (vmd.empty()) {
    check.ViewProblems.push_back(Tr(Texts::tr("the view VMD")));
  } else {
    for (const std::string& column : ShipmentViewColumns())
      if (std::none_of(vmd.begin(), vmd.end(), [&](const std::string& c) { return SameText(c, column); }))
        check.ViewProblems.push_back(Tr(Texts::tr("the column %1 of the view VMD"), column));
  }
  return check;
}

void CreateMarkTable(const QSqlDatabase& db) {
  const std::string statement = MarkTableStatement(db.driverName().toStdString());
  if (statement.empty())
    throw EDatabaseError(Tr(Texts::tr("The table md is not made through the driver %1"), db.driverName().toStdString()));
  QSqlQuery query(db);
  if (!query.exec(QString::fromStdString(statement)))
    throw EDatabaseError(Tr(Texts::tr("Cannot create the table md: %1"), query.lastError().text().toStdString()));
}
