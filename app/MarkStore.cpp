#include "app/MarkStore.h"

#include <QByteArray>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "platform/db/DatabaseAliases.h"
#include "platform/db/DatabaseError.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string Describe(const TMarkKey& key) {
  return MarkSideName(key.Side) + " (customer " + key.CustomerId + ", mark " + key.MarkId + ")";
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
      throw EDatabaseError("the database file " + file + " does not exist", TDatabaseFailure::Unreachable);
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
  throw EDatabaseError(failure + (reason.empty() ? "unknown database error" : reason), FailureOf(error));
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

}  // namespace

void SetWriteMarkHook(TWriteMarkHook hook) { WriteHook() = std::move(hook); }

std::string DatabaseAdvice(const std::exception& error) {
  const auto* database = dynamic_cast<const EDatabaseError*>(&error);
  switch (database ? database->Kind() : TDatabaseFailure::Other) {
    case TDatabaseFailure::AliasMissing:
      return "dbalias.ini 中沒有資料庫別名 dbmd 的設定，請加入 [dbmd] 一節（說明見 README）。";
    case TDatabaseFailure::Unreachable:
      return "無法連上資料庫：請確認資料庫伺服器已啟動、網路可以連線，以及 dbalias.ini 中 dbmd 的 Host、Port 與 Database。";
    case TDatabaseFailure::LoginRefused:
      return "資料庫拒絕登入：請確認 dbalias.ini 中 dbmd 的 User 與 Password。";
    case TDatabaseFailure::ObjectMissing:
      return "資料庫中缺少資料表 md 或檢視 VMD：請資料庫管理者建立（見 scripts/postgresql/marks-schema.sql）。";
    case TDatabaseFailure::NotPermitted:
      return "沒有寫入資料表 md 的權限：請資料庫管理者開放寫入。";
    case TDatabaseFailure::Other:
      break;
  }
  return "";
}

std::string MarkSideName(const std::string& side) {
  if (side == "0") return "正嘜";
  if (side == "1") return "側嘜";
  return side;
}

std::optional<std::string> ReadMark(const TMarkKey& key, const std::string& alias) {
  const std::string failure = "Cannot read the " + Describe(key) + " from table md of " + alias + ": ";
  QSqlDatabase db = Open(alias, failure);
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.prepare(QStringLiteral("select data from md where customerid = ? and mdid = ? and flag = ?")))
    Fail(failure, alias, query.lastError());
  BindKey(query, key);
  if (!query.exec()) Fail(failure, alias, query.lastError());
  if (!query.next()) {
    if (query.lastError().isValid()) Fail(failure, alias, query.lastError());
    return std::nullopt;
  }
  const QByteArray data = query.value(0).toByteArray();
  return std::string(data.constData(), static_cast<size_t>(data.size()));
}

void WriteMark(const TMarkKey& key, const std::string& data, const std::string& alias) {
  const std::string failure = "Cannot save the " + Describe(key) + " in table md of " + alias + ": ";
  QSqlDatabase db = Open(alias, failure);
  if (!db.transaction()) Fail(failure, alias, db.lastError());
  // Whatever fails below, the transaction is undone before the error leaves.
  const auto failAndRollBack = [&](const QSqlError& error) {
    db.rollback();
    Fail(failure, alias, error);
  };
  {
    QSqlQuery remove(db);
    if (!remove.prepare(QStringLiteral("delete from md where customerid = ? and mdid = ? and flag = ?")))
      failAndRollBack(remove.lastError());
    BindKey(remove, key);
    if (!remove.exec()) failAndRollBack(remove.lastError());
    if (const TWriteMarkHook hook = WriteHook()) hook("deleted");

    QSqlQuery insert(db);
    if (!insert.prepare(QStringLiteral("insert into md (customerid, mdid, flag, data) values (?, ?, ?, ?)")))
      failAndRollBack(insert.lastError());
    BindKey(insert, key);
    insert.addBindValue(QByteArray(data.data(), static_cast<qsizetype>(data.size())));
    if (!insert.exec()) failAndRollBack(insert.lastError());
  }
  if (!db.commit()) failAndRollBack(db.lastError());
}
