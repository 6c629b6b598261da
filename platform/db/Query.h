#pragma once
// TQuery: the result columns of a select statement on an alias's database. Only statements that
// start with SELECT or WITH are run, inside a transaction that is rolled back, so that opening a
// query never changes the database.

#include <string>

#include "platform/db/DBDataSet.h"
#include "platform/rtl/StringList.h"

class TQuery : public TDBDataSet {
  DECLARE_CLASS(TQuery)

 public:
  void Create(TComponent* owner) override;

  // The statement's lines. Changing them closes the query.
  TStrings* SQL() const { return sql_; }
  void SetSQL(TStrings* v) { sql_->Assign(v); }

 protected:
  void Destroy() override;
  void InternalOpen() override;

 private:
  void SQLChanged(TObject* sender);

  TStringList* sql_ = nullptr;
};
