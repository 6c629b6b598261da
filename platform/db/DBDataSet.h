#pragma once
// TDBDataSet: a dataset that reads from the database an alias names (DatabaseAliases.h).

#include <string>
#include <string_view>

#include <QSqlDatabase>

#include "platform/db/DataSet.h"

class TDBDataSet : public TDataSet {
  DECLARE_CLASS(TDBDataSet)

 public:
  // The alias. Changing it closes the dataset.
  const std::string& DatabaseName() const { return databaseName_; }
  void SetDatabaseName(const std::string& v);

 protected:
  // The alias's open connection; raises EDatabaseError as OpenAliasDatabase does.
  QSqlDatabase Database() const;

 private:
  std::string databaseName_;
};

// True for the name of a table, view or procedure that may be put into a statement as it is:
// letters, digits and "_", in parts separated by single dots ("dbo.VMD").
bool IsSqlObjectName(std::string_view name);
