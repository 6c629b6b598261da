#include "app/Shipments.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include "app/MarkStore.h"
#include "platform/db/DatabaseAliases.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Fields.h"
#include "platform/db/Table.h"
#include "platform/rtl/Tr.h"

namespace {

// What the clerk is told when the shipment view cannot be read.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Shipments)
};

QString QuotedView(const QSqlDatabase& db) { return QuotedShipmentView(db); }

QString Column(const QSqlDatabase& db, const char* name) {
  return db.driver()->escapeIdentifier(QString::fromUtf8(name), QSqlDriver::FieldName);
}

}  // namespace

QString QuotedShipmentView(const QSqlDatabase& db) {
  const QString found = FindTableName(db, QString::fromUtf8(kShipmentView));
  if (found.isEmpty())
    throw EDatabaseError(Tr(Texts::tr("Table or view %1 does not exist in database %2"), std::string(kShipmentView),
                              std::string(kMarkAlias)),
                         TDatabaseFailure::ObjectMissing);
  QStringList parts = found.split(u'.');
  for (QString& part : parts) part = db.driver()->escapeIdentifier(part, QSqlDriver::TableName);
  return parts.join(u'.');
}

std::vector<std::string> CustomerShipments(const std::string& customerId) {
  QSqlDatabase db = OpenAliasDatabase(kMarkAlias);
  const QString bill = Column(db, kBillColumn);
  QSqlQuery query(db);
  query.setForwardOnly(true);
  const bool run = query.prepare("select distinct " + bill + " from " + QuotedView(db) + " where " +
                                 Column(db, kCustomerColumn) + " = :customer order by " + bill);
  query.bindValue(QStringLiteral(":customer"), QString::fromStdString(customerId));
  if (!run || !query.exec())
    throw EDatabaseError(Tr(Texts::tr("Cannot read the shipments of customer %1: %2"), customerId,
                              query.lastError().text().toStdString()));
  std::vector<std::string> bills;
  while (query.next())
    if (!query.value(0).isNull()) bills.push_back(query.value(0).toString().trimmed().toStdString());
  return bills;
}

std::vector<std::string> ShipmentColumns() {
  auto* table = New<TTable>(nullptr);
  std::vector<std::string> columns;
  try {
    table->SetDatabaseName(kMarkAlias);
    table->SetTableName(kShipmentView);
    table->Open();
    for (int i = 0; i < table->FieldCount(); ++i) columns.push_back(table->Fields()[i]->FieldName());
  } catch (...) {
    table->Free();
    throw;
  }
  table->Free();
  return columns;
}

std::unique_ptr<TBackgroundQuery> ReadShipmentCustomers(TBackgroundQuery::TDone done) {
  QSqlDatabase db = OpenAliasDatabase(kMarkAlias);
  const QString customer = Column(db, kCustomerColumn);
  const QString sql = "select distinct " + customer + " from " + QuotedView(db) + " where " + customer +
                      " is not null order by 1";
  return std::make_unique<TBackgroundQuery>(kMarkAlias, sql.toStdString(), std::move(done));
}

void SelectShipmentRows(TQuery& query, const std::string& customerId, const std::string& bill) {
  QSqlDatabase db = OpenAliasDatabase(kMarkAlias);
  query.Close();
  query.SetDatabaseName(kMarkAlias);
  const QString billColumn = Column(db, kBillColumn);
  QString sql = "select * from " + QuotedView(db) + " where " + Column(db, kCustomerColumn) + " = :customer";
  sql += bill.empty() ? " order by " + billColumn + ", " : " and " + billColumn + " = :bill order by ";
  sql += Column(db, "PACKING單號") + ", " + Column(db, "產品編號");
  query.SQL()->SetText(sql.toStdString());
  query.SetParam("customer", QString::fromStdString(customerId));
  query.SetParam("bill", QString::fromStdString(bill));
}
