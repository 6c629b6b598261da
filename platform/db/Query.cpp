#include "platform/db/Query.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "platform/db/DatabaseAliases.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Texts.h"

DEFINE_CLASS(TQuery, TDBDataSet) {
  c.Prop("SQL", &TQuery::SQL, &TQuery::SetSQL);
}

namespace {

// The statement's first word, past blanks and "--" comments.
std::string FirstWord(const std::string& sql) {
  size_t at = 0;
  while (at < sql.size()) {
    const char c = sql[at];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++at;
    } else if (sql.compare(at, 2, "--") == 0) {
      at = sql.find('\n', at);
      if (at == std::string::npos) return {};
    } else {
      break;
    }
  }
  size_t end = at;
  while (end < sql.size() && ((sql[end] >= 'A' && sql[end] <= 'Z') || (sql[end] >= 'a' && sql[end] <= 'z')))
    ++end;
  return UpperCase(sql.substr(at, end - at));
}

// Runs a statement inside a transaction that is rolled back, so that whatever it would change stays
// as it was. Drivers without transactions rely on the check of the first word alone.
class RolledBack {
 public:
  explicit RolledBack(QSqlDatabase& db) : db_(db), open_(db.transaction()) {}
  ~RolledBack() {
    if (open_) db_.rollback();
  }
  RolledBack(const RolledBack&) = delete;
  RolledBack& operator=(const RolledBack&) = delete;

 private:
  QSqlDatabase& db_;
  bool open_;
};

}  // namespace

void TQuery::Create(TComponent* owner) {
  TDBDataSet::Create(owner);
  sql_ = New<TStringList>();
  sql_->OnChange.Bind(this, &TQuery::SQLChanged);
}

void TQuery::Destroy() {
  FreeAndNil(sql_);
  TDBDataSet::Destroy();
}

void TQuery::SQLChanged(TObject*) { CheckInactive(); }

void TQuery::SetParam(const std::string& name, const QVariant& value) {
  CheckInactive();
  params_[name] = value;
}

void TQuery::InternalOpen() {
  const std::string sql = sql_->Text();
  const std::string verb = FirstWord(sql);
  if (verb.empty()) throw EDatabaseError("No SQL statement given for " + DisplayName());
  if (verb != "SELECT" && verb != "WITH")
    throw EDatabaseError(DisplayName() + " can only open a select statement");
  QSqlDatabase db = Database();
  QSqlRecord record;
  QString error;
  {
    RolledBack rolledBack(db);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    bool run = query.prepare(QString::fromStdString(sql));
    if (run)
      for (const auto& [name, value] : params_)
        if (sql.find(":" + name) != std::string::npos) query.bindValue(QString::fromStdString(":" + name), value);
    if (run && query.exec()) {
      record = query.record();
      FetchRows(query);
    } else {
      error = query.lastError().text();
    }
  }
  if (!error.isEmpty()) {
    TAliasSettings settings;
    FindAlias(DatabaseName(), settings);
    throw EDatabaseError("Cannot open " + DisplayName() + ": " +
                         WithoutCredentials(error.toStdString(), settings));
  }
  CreateFields(record);
}
