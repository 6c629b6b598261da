#pragma once
// The shipments a mark is printed for: the rows of the view VMD (alias dbmd, "dbo.VMD" where the
// database has owners) of one customer and one export document (出口文件單號), in the order the
// cartons are packed: by PACKING單號, then 產品編號 (the view has no line number).

#include <QSqlDatabase>

#include <memory>
#include <string>
#include <vector>

#include "platform/db/BackgroundQuery.h"
#include "platform/db/Query.h"

// The view's table name as the mark database spells it, and its column names.
inline constexpr const char* kShipmentView = "dbo.VMD";
inline constexpr const char* kCustomerColumn = "客戶編號";
inline constexpr const char* kBillColumn = "出口文件單號";

// The view's name as a statement on `db` writes it: each part quoted as the driver quotes names, so
// that upper-case names keep their case where the database folds unquoted ones. Raises
// EDatabaseError (ObjectMissing) when the database has no such view. Uses only `db`.
QString QuotedShipmentView(const QSqlDatabase& db);

// The customer's export documents, each once, in order. Raises EDatabaseError when the view
// cannot be read.
std::vector<std::string> CustomerShipments(const std::string& customerId);

// The view's column names, in its order. Raises EDatabaseError when the view cannot be read.
std::vector<std::string> ShipmentColumns();

// Starts reading the view's customer numbers, each once, in order, in the background: on a large
// view this takes a while, and the window asking shows the others meanwhile. The answer reaches
// `done` in the main thread, unless the handle was dropped first. Raises EDatabaseError when the
// view cannot be found.
std::unique_ptr<TBackgroundQuery> ReadShipmentCustomers(TBackgroundQuery::TDone done);

// Makes `query` (a query of the alias dbmd) select the rows of one shipment, values bound as
// parameters; with no bill, the rows of all the customer's shipments, ordered by 出口文件單號 first.
// The caller opens it. Raises EDatabaseError when the view cannot be found.
void SelectShipmentRows(TQuery& query, const std::string& customerId, const std::string& bill);
