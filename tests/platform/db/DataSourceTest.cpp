// A query with its rows and parameters, seen through a data source and field links, as the mark
// editor and the output read a shipment: rows in the order asked for, values bound as parameters,
// and field values made text by one rule.

#include "platform/db/DataSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/db/Query.h"
#include "tests/platform/db/DbTestSupport.h"

namespace {

class DataSourceTest : public DbFolder {
 protected:
  void SetUp() override {
    DbFolder::SetUp();
    Exec(folder_ + "/marks.db",
         {"insert into TRABILLMAIN values ('BY SEA', 'LA', 'KEELUNG', 'EX1', 6, 5)",
          "insert into INVENTORYMAIN values ('EX1', 'C001')",
          // Out of order on purpose; the CUFT of the first packing has trailing zeros to lose.
          "insert into TRAPACKINGSUB values (10, 9, 3.0, 5, 'P-2   ', 'EX1', 'PK2')",
          "insert into TRAPACKINGSUB values (10, 9, 12.5, 5, 'P-9', 'EX1', 'PK1')",
          "insert into TRAPACKINGSUB values (10, 9, null, null, null, 'EX1', 'PK1')",
          "insert into TRAPACKINGSUB values (10, 9, 0.125, 7, 'P-1', 'EX1', 'PK2')"});
    query.reset(New<TQuery>(nullptr));
    query->SetDatabaseName("dbmd");
    query->SQL()->SetText(
        "select * from VMD where \"客戶編號\" = :customer and \"出口文件單號\" = :bill"
        " order by \"PACKING單號\", \"產品編號\"");
    query->SetParam("customer", QString("C001"));
    source.reset(New<TDataSource>(nullptr));
    source->SetDataSet(query.get());
  }

  // The text each row shows for `field`, from the first row to the last.
  std::vector<std::string> Column(const std::string& field) {
    TFieldDataLink link;
    link.SetFieldName(field);
    link.SetDataSource(source.get());
    std::vector<std::string> texts;
    for (int row = 1; row <= query->RecordCount(); ++row) {
      query->SetRecNo(row);
      texts.push_back(link.DisplayText());
    }
    return texts;
  }

  Owned<TQuery> query;
  Owned<TDataSource> source;
};

TEST_F(DataSourceTest, TheBillsRowsComeInOrderAndTheirValuesAsTextByOneRule) {
  query->SetParam("bill", QString("EX1"));
  query->Open();
  ASSERT_EQ(query->RecordCount(), 4);
  // Within a packing, a null product comes first, as the database sorts it.
  EXPECT_EQ(Column("PACKING單號"), (std::vector<std::string>{"PK1", "PK1", "PK2", "PK2"}));
  EXPECT_EQ(Column("產品編號"), (std::vector<std::string>{"", "P-9", "P-1", "P-2"}));
  EXPECT_EQ(Column("CUFT"), (std::vector<std::string>{"", "12.5", "0.125", "3"}));
  EXPECT_EQ(Column("數量"), (std::vector<std::string>{"", "5", "7", "5"}));

  // A link hears the dataset move and close.
  TFieldDataLink link;
  int heard = 0;
  link.OnDataChange = [&heard] { ++heard; };
  link.SetFieldName("產品編號");
  link.SetDataSource(source.get());
  heard = 0;
  query->SetRecNo(2);
  EXPECT_EQ(heard, 1);
  EXPECT_EQ(link.DisplayText(), "P-9");
  query->Close();
  EXPECT_EQ(heard, 2);
  EXPECT_EQ(link.Field(), nullptr);
  EXPECT_EQ(link.DisplayText(), "");
}

TEST_F(DataSourceTest, AValueIsBoundAsAParameterNeverWrittenIntoTheStatement) {
  query->SetParam("bill", QString("EX1' or '1'='1"));
  query->Open();
  EXPECT_EQ(query->RecordCount(), 0);
  EXPECT_EQ(query->RecNo(), 0);
  EXPECT_EQ(RowCount(folder_ + "/marks.db", "TRAPACKINGSUB"), 4);
}

TEST(FieldValueText, NumbersLoseTrailingZerosAndPaddedTextItsBlanks) {
  EXPECT_EQ(FieldValueText(QVariant(12.5), true), "12.5");
  EXPECT_EQ(FieldValueText(QVariant(3.0), true), "3");
  EXPECT_EQ(FieldValueText(QVariant(-0.0), true), "0");
  EXPECT_EQ(FieldValueText(QVariant(1e20), true), "100000000000000000000");
  EXPECT_EQ(FieldValueText(QVariant(QString("12.500")), true), "12.5");  // a driver's decimal text
  EXPECT_EQ(FieldValueText(QVariant(QString("12.500")), false), "12.500");
  EXPECT_EQ(FieldValueText(QVariant(QString("ABC   ")), false), "ABC");
  EXPECT_EQ(FieldValueText(QVariant(42), false), "42");
  EXPECT_EQ(FieldValueText(QVariant(QMetaType(QMetaType::Int)), false), "");  // null
}

}  // namespace
