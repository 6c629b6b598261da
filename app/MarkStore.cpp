#include "app/MarkStore.h"

#include <QByteArray>
#include <QFileInfo>
#include <QLatin1String>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <initializer_list>

#include "platform/db/DatabaseAliases.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/Tr.h"

namespace {

// What a clerk is told when marks cannot be read or written.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(MarkStore)
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string Describe(const TMarkKey& key) {
  return Tr(Texts::tr("%1 (customer %2, mark %3)"), MarkSideName(key.Side), key.CustomerId, key.MarkId);
}

// The alias connection. A reused SQLite connection keeps working on a file that was deleted or
// moved away meanwhile, and what it writes would then be lost; such a file counts as gone.
QSqlDatabase Open(const std::string& alias, const std::string& failure) {
  try {
    const TAliasSettings settings = AliasSettings(alias);
    const std::string& file = settings.Database;
    const bool sqliteFile = settings.Driver == "QSQLITE" && !file.empty() && file.front() != ':' &&
                            file.compare(0, 5, "file:") != 0;
    if (sqliteFile && !QFileInfo::exists(Q(file)))
      throw EDatabaseError(Tr(Texts::tr("the database file %1 does not exist"), file), TDatabaseFailure::Unreachable);
    return OpenAliasDatabase(alias);
  } catch (const EDatabaseError& e) {
    throw EDatabaseError(failure + e.what(), e.Kind());
  }
}

[[noreturn]] void Fail(const std::string& failure, const std::string& alias, const QSqlError& error) {
  std::string reason = error.text().toStdString();
  TAliasSettings settings;
  try {
    if (FindAlias(alias, settings)) reason = WithoutCredentials(reason, settings);
  } catch (const EDatabaseError&) {
  }
  throw EDatabaseError(failure + (reason.empty() ? Tr(Texts::tr("unknown database error")) : OneLine(reason)),
                       FailureOf(error));
}

TWriteMarkHook& WriteHook() {
  static TWriteMarkHook hook;
  return hook;
}

void BindKey(QSqlQuery& query, const TMarkKey& key) {
  query.addBindValue(Q(key.CustomerId));
  query.addBindValue(Q(key.MarkId));
  query.addBindValue(Q(key.Side));
}

QByteArray Bytes(const std::string& data) { return QByteArray(data.data(), static_cast<qsizetype>(data.size())); }

// Runs one statement about the row of `key`, whose last placeholders are the key's; `values` come
// before them. False when it failed; `query` then holds the error.
bool ExecOnRow(QSqlQuery& query, const QString& statement, const TMarkKey& key,
               std::initializer_list<QVariant> values = {}) {
  if (!query.prepare(statement)) return false;
  for (const QVariant& value : values) query.addBindValue(value);
  BindKey(query, key);
  return query.exec();
}

// The data of the row of `key`, nothing when there is none; a null data reads as an empty text.
std::optional<std::string> SelectRow(QSqlDatabase& db, const TMarkKey& key, const std::string& failure,
                                     const std::string& alias) {
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!ExecOnRow(query, QStringLiteral("select data from md where customerid = ? and mdid = ? and flag = ?"), key))
    Fail(failure, alias, query.lastError());
  if (!query.next()) {
    if (query.lastError().isValid()) Fail(failure, alias, query.lastError());
    return std::nullopt;
  }
  const QByteArray data = query.value(0).toByteArray();
  return std::string(data.constData(), static_cast<size_t>(data.size()));
}

// The transaction of one save. SQLite takes the database's write lock as it begins, so that a
// second program's save waits there (for the driver's busy timeout) instead of reading a row that
// is about to change; the other drivers begin plainly and lock the row itself. Commit and rollback
// are the driver's own for all of them. However the scope is left before Commit, an error
// included, the transaction is rolled back.
class TSaveTransaction {
 public:
  TSaveTransaction(QSqlDatabase& db, const std::string& failure, const std::string& alias) : db_(db) {
    if (db_.driverName() == QLatin1String("QSQLITE")) {
      QSqlQuery begin(db_);
      if (!begin.exec(QStringLiteral("begin immediate"))) Fail(failure, alias, begin.lastError());
    } else if (!db_.transaction()) {
      Fail(failure, alias, db_.lastError());
    }
    open_ = true;
  }
  ~TSaveTransaction() { RollBack(); }
  TSaveTransaction(const TSaveTransaction&) = delete;
  TSaveTransaction& operator=(const TSaveTransaction&) = delete;

  void RollBack() {
    if (!open_) return;
    open_ = false;
    db_.rollback();
  }
  void Commit(const std::string& failure, const std::string& alias) {
    if (!db_.commit()) Fail(failure, alias, db_.lastError());
    open_ = false;
  }

 private:
  QSqlDatabase& db_;
  bool open_ = false;
};

void CallHook(const char* step) {
  if (const TWriteMarkHook hook = WriteHook()) hook(step);
}

// Stores `data` as the row of `key`; with `expected`, only while the row holds what it says.
TMarkSaveResult Store(const TMarkKey& key, const std::string& data, const std::optional<std::string>* expected,
                      const std::string& alias) {
  const std::string failure = Tr(Texts::tr("Cannot save the %1 in table md of %2: "), Describe(key), alias);
  QSqlDatabase db = Open(alias, failure);
  TSaveTransaction transaction(db, failure, alias);
  {
    // An update of the key holds an existing row until the transaction ends: another program's
    // save of the same row waits here until this one is over.
    QSqlQuery lock(db);
    if (!ExecOnRow(lock, QStringLiteral("update md set customerid = customerid where customerid = ? and mdid = ? and flag = ?"), key))
      Fail(failure, alias, lock.lastError());
  }
  const std::optional<std::string> stored = SelectRow(db, key, failure, alias);
  if (expected && stored != *expected) return {false, stored};
  CallHook("locked");
  {
    QSqlQuery write(db);
    const bool written =
        stored ? ExecOnRow(write, QStringLiteral("update md set data = ? where customerid = ? and mdid = ? and flag = ?"),
                           key, {Bytes(data)})
               : ExecOnRow(write, QStringLiteral("insert into md (data, customerid, mdid, flag) values (?, ?, ?, ?)"),
                           key, {Bytes(data)});
    if (!written) {
      const QSqlError error = write.lastError();
      transaction.RollBack();
      // Another program inserted the row after this save found none (the first saves of one mark
      // at once), so the insert clashed with the key: that save won, and this one reports its row.
      if (expected && !stored) {
        std::optional<std::string> now;
        try {
          now = SelectRow(db, key, failure, alias);
        } catch (const EDatabaseError&) {
        }
        if (now) return {false, now};
      }
      Fail(failure, alias, error);
    }
  }
  CallHook("written");
  transaction.Commit(failure, alias);
  return {true, data};
}

// Locks the row of `key` (nothing when there is none) until the transaction ends.
void LockRow(QSqlDatabase& db, const TMarkKey& key, const std::string& failure, const std::string& alias) {
  QSqlQuery lock(db);
  if (!ExecOnRow(lock, QStringLiteral("update md set customerid = customerid where customerid = ? and mdid = ? and flag = ?"), key))
    Fail(failure, alias, lock.lastError());
}

}  // namespace

std::vector<std::string> ListCustomers(const std::string& alias) {
  const std::string failure = Tr(Texts::tr("Cannot list the customers of table md of %1: "), alias);
  QSqlDatabase db = Open(alias, failure);
  std::vector<std::string> customers;
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.exec(QStringLiteral("select distinct customerid from md order by 1")))
    Fail(failure, alias, query.lastError());
  while (query.next()) {
    std::string customer = query.value(0).toString().toStdString();
    if (!customer.empty()) customers.push_back(std::move(customer));
  }
  return customers;
}

TMarkPair ReadMarkPair(const std::string& customer, const std::string& mark, const std::string& alias) {
  return {ReadMark({customer, mark, "0"}, alias), ReadMark({customer, mark, "1"}, alias)};
}

TMarkPairResult StoreMarkPair(const std::string& customer, const std::string& mark, const TMarkPair& pair,
                              const TMarkPair& expected, const std::string& alias) {
  const std::string failure =
      Tr(Texts::tr("Cannot write the mark (customer %1, mark %2) in table md of %3: "), customer, mark, alias);
  QSqlDatabase db = Open(alias, failure);
  TSaveTransaction transaction(db, failure, alias);
  const TMarkKey keys[2] = {{customer, mark, "0"}, {customer, mark, "1"}};
  for (const TMarkKey& key : keys) LockRow(db, key, failure, alias);
  const TMarkPair stored{SelectRow(db, keys[0], failure, alias), SelectRow(db, keys[1], failure, alias)};
  if (!(stored == expected)) return {false, stored};
  CallHook("locked");
  const std::optional<std::string>* wanted[2] = {&pair.Main, &pair.Side};
  const std::optional<std::string>* found[2] = {&stored.Main, &stored.Side};
  for (int i = 0; i < 2; ++i) {
    QSqlQuery write(db);
    bool written = true;
    if (!*wanted[i]) {
      if (*found[i]) written = ExecOnRow(write, QStringLiteral("delete from md where customerid = ? and mdid = ? and flag = ?"), keys[i]);
    } else if (*found[i]) {
      written = ExecOnRow(write, QStringLiteral("update md set data = ? where customerid = ? and mdid = ? and flag = ?"),
                          keys[i], {Bytes(**wanted[i])});
    } else {
      written = ExecOnRow(write, QStringLiteral("insert into md (data, customerid, mdid, flag) values (?, ?, ?, ?)"),
                          keys[i], {Bytes(**wanted[i])});
    }
    if (!written) Fail(failure, alias, write.lastError());
  }
  CallHook("written");
  transaction.Commit(failure, alias);
  return {true, pair};
}

void SetWriteMarkHook(TWriteMarkHook hook) { WriteHook() = std::move(hook); }

std::string DatabaseAdvice(const std::exception& error) {
  const auto* database = dynamic_cast<const EDatabaseError*>(&error);
  switch (database ? database->Kind() : TDatabaseFailure::Other) {
    case TDatabaseFailure::AliasMissing:
      return Tr(Texts::tr("No mark database (dbmd) is set up: set it up with \"Database settings\" in the File menu."));
    case TDatabaseFailure::Unreachable:
      return Tr(Texts::tr("Cannot reach the database: check that the database server runs and the network reaches it, and check the host, the port and the database in \"Database settings\" in the File menu."));
    case TDatabaseFailure::LoginRefused:
      return Tr(Texts::tr("The database refused the login: check the user in \"Database settings\" in the File menu; the password belongs in the server's password file or the ODBC data source."));
    case TDatabaseFailure::ObjectMissing:
      return Tr(Texts::tr("The database lacks the table md or the view VMD: \"Database settings\" in the File menu tests the connection and makes md in an empty database."));
    case TDatabaseFailure::NotPermitted:
      return Tr(Texts::tr("There is no permission to write the table md: ask the database administrator for it."));
    case TDatabaseFailure::Other:
      break;
  }
  return "";
}

std::string WithAdvice(const std::exception& error) {
  const std::string advice = DatabaseAdvice(error);
  return advice.empty() ? error.what() : advice + "\n\n" + error.what();
}

std::string MarkSideName(const std::string& side) {
  if (side == "0") return Tr(Texts::tr("main mark"));
  if (side == "1") return Tr(Texts::tr("side mark"));
  return side;
}

std::optional<std::string> ReadMark(const TMarkKey& key, const std::string& alias) {
  const std::string failure = Tr(Texts::tr("Cannot read the %1 from table md of %2: "), Describe(key), alias);
  QSqlDatabase db = Open(alias, failure);
  return SelectRow(db, key, failure, alias);
}

std::vector<TStoredMark> ListMarks(const std::string& alias) {
  const std::string failure = Tr(Texts::tr("Cannot list the marks of table md of %1: "), alias);
  QSqlDatabase db = Open(alias, failure);
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.exec(QStringLiteral("select customerid, mdid, flag from md order by customerid, mdid, flag")))
    Fail(failure, alias, query.lastError());
  std::vector<TStoredMark> marks;
  while (query.next()) {
    std::string customer = query.value(0).toString().toStdString();
    std::string mark = query.value(1).toString().toStdString();
    const QString side = query.value(2).toString();
    if (marks.empty() || marks.back().CustomerId != customer || marks.back().MarkId != mark)
      marks.push_back({std::move(customer), std::move(mark)});
    if (side == QLatin1String("0")) marks.back().Main = true;
    if (side == QLatin1String("1")) marks.back().Side = true;
  }
  if (query.lastError().isValid()) Fail(failure, alias, query.lastError());
  return marks;
}

void WriteMark(const TMarkKey& key, const std::string& data, const std::string& alias) {
  Store(key, data, nullptr, alias);
}

TMarkSaveResult SaveMarkIfUnchanged(const TMarkKey& key, const std::string& data,
                                    const std::optional<std::string>& expected, const std::string& alias) {
  return Store(key, data, &expected, alias);
}
