#pragma once
// A Windows folder of its own for every test, holding the alias file and an SQLite database with the
// system's schema: table md, three shipment tables and the view VMD, whose columns come in another
// order than those of its base tables.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "platform/db/DatabaseAliases.h"
#include "platform/db/DataSet.h"
#include "platform/db/DatabaseError.h"
#include "tests/support/QtApp.h"

// The columns of VMD, in the view's order.
inline const std::vector<std::string> kVmdColumns = {
    "PACKING單號", "出口文件單號", "客戶編號", "SHIPFROM", "SHIPTO", "VIA",
    "產品編號",    "數量",         "CUFT",     "NW",       "GW"};

inline const char* const kSchema[] = {
    "create table md (customerid varchar(20) not null, mdid varchar(20) not null,"
    " flag varchar(1) not null default '0', data blob, primary key (customerid, mdid, flag))",
    "create table INVENTORYMAIN (SBILL1NO varchar(20), FACTID varchar(20))",
    "create table TRABILLMAIN (VIA varchar(40), SHIPTO varchar(40), SHIPFROM varchar(40),"
    " SBILL1NO varchar(20), SYSTEMNO int, FLAG int)",
    "create table TRAPACKINGSUB (GW float, NW float, CUFT float, QUANTITY int, PRODUCTID varchar(20),"
    " INVENTORYBILL1NO varchar(20), SHIPPINGBILLNO varchar(20))",
    "create view VMD as select TRAPACKINGSUB.SHIPPINGBILLNO as \"PACKING單號\","
    " TRABILLMAIN.SBILL1NO as \"出口文件單號\", INVENTORYMAIN.FACTID as \"客戶編號\","
    " TRABILLMAIN.SHIPFROM, TRABILLMAIN.SHIPTO, TRABILLMAIN.VIA,"
    " TRAPACKINGSUB.PRODUCTID as \"產品編號\", TRAPACKINGSUB.QUANTITY as \"數量\","
    " TRAPACKINGSUB.CUFT, TRAPACKINGSUB.NW, TRAPACKINGSUB.GW"
    " from INVENTORYMAIN inner join TRABILLMAIN on INVENTORYMAIN.SBILL1NO = TRABILLMAIN.SBILL1NO"
    " inner join TRAPACKINGSUB on TRABILLMAIN.SBILL1NO = TRAPACKINGSUB.INVENTORYBILL1NO"
    " where TRABILLMAIN.SYSTEMNO = 6 and TRABILLMAIN.FLAG = 5",
    "insert into md (customerid, mdid, data) values ('C001', 'M001', x'0102')",
};

struct FreeComponent {
  void operator()(TComponent* c) const { c->Free(); }
};
template <class T>
using Owned = std::unique_ptr<T, FreeComponent>;

class DbFolder : public testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    if (const char* value = std::getenv("WINDIR")) savedWindir_ = value;
    ASSERT_TRUE(dir_.isValid());
    folder_ = dir_.path().toStdString();
    setenv("WINDIR", folder_.c_str(), 1);
    CreateDatabase(folder_ + "/marks.db");
    WriteAliases("[dbmd]\nDriver=QSQLITE\nDatabase=marks.db\n");
  }

  void TearDown() override {
    CloseAliasDatabases();
    savedWindir_ ? setenv("WINDIR", savedWindir_->c_str(), 1) : unsetenv("WINDIR");
  }

  void WriteAliases(const std::string& text) {
    std::ofstream(folder_ + "/dbalias.ini", std::ios::binary | std::ios::trunc) << text;
  }

  // Runs statements on an SQLite file through a connection of the test's own.
  static void Exec(const std::string& file, const std::vector<std::string>& statements) {
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-schema");
      db.setDatabaseName(QString::fromStdString(file));
      ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
      for (const std::string& sql : statements) {
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QString::fromStdString(sql)))
            << sql << ": " << query.lastError().text().toStdString();
      }
    }
    QSqlDatabase::removeDatabase("test-schema");
  }

  static void CreateDatabase(const std::string& file) {
    Exec(file, std::vector<std::string>(std::begin(kSchema), std::end(kSchema)));
  }

  static int RowCount(const std::string& file, const std::string& table) {
    int count = -1;
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-count");
      db.setDatabaseName(QString::fromStdString(file));
      if (db.open()) {
        QSqlQuery query(db);
        if (query.exec(QString::fromStdString("select count(*) from " + table)) && query.next())
          count = query.value(0).toInt();
      }
    }
    QSqlDatabase::removeDatabase("test-count");
    return count;
  }

  static std::vector<std::string> FieldNames(const TDataSet& dataSet) {
    std::vector<std::string> names;
    for (int i = 0; i < dataSet.FieldCount(); ++i) names.push_back(dataSet.Fields()[i]->FieldName());
    return names;
  }

  QTemporaryDir dir_;
  std::string folder_;

 private:
  std::optional<std::string> savedWindir_;
};

// The message of the EDatabaseError that `action` raises; fails the test when it raises none.
template <class F>
std::string DatabaseErrorOf(F&& action) {
  try {
    action();
  } catch (const Exception& e) {
    EXPECT_NE(dynamic_cast<const EDatabaseError*>(&e), nullptr) << e.Message();
    return e.Message();
  }
  ADD_FAILURE() << "no EDatabaseError raised";
  return {};
}
