#pragma once
// TQuery: the result of a select statement on an alias's database: its columns as fields and all
// its rows, the first one current. Only statements that start with SELECT or WITH are run, inside a
// transaction that is rolled back, so that opening a query never changes the database.
//
// Values come in as parameters: the statement names them ":name", and each is bound to the value
// set for it, never written into the statement's text.

#include <QVariant>

#include <map>
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

  // The value bound to ":name" when the query is next opened. Changing it closes the query.
  void SetParam(const std::string& name, const QVariant& value);

 protected:
  void Destroy() override;
  void InternalOpen() override;

 private:
  void SQLChanged(TObject* sender);

  TStringList* sql_ = nullptr;
  std::map<std::string, QVariant> params_;
};
