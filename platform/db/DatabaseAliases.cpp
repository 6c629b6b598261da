#include "platform/db/DatabaseAliases.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include "platform/db/DatabaseError.h"
#include "platform/rtl/Texts.h"
#include "platform/rtl/Tr.h"
#include "platform/win/Folders.h"
#include "platform/win/Profile.h"

namespace {

// What a clerk is told when the mark database cannot be reached.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(DatabaseAliases)
};

constexpr const char* kAliasFile = "dbalias.ini";
constexpr const char* kConnectionPrefix = "markedit:";

std::string Value(const std::string& file, const std::string& alias, const char* key) {
  return GetPrivateProfileString(alias, key, "", file);
}

bool Configures(const std::string& file, const std::string& alias) {
  return !Value(file, alias, "Driver").empty() || !Value(file, alias, "Database").empty();
}

// The file that configures `alias`; empty when none does.
std::string AliasFileOf(const std::string& alias) {
  if (Configures(UserAliasFile(), alias)) return UserAliasFile();
  for (const std::string& folder : SystemConfigFolders())
    if (const std::string file = folder + "/" + kAliasFile; Configures(file, alias)) return file;
  return std::string();
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString ConnectionName(const std::string& alias) {
  return Q(kConnectionPrefix + LowerCase(alias));
}

// SQLite takes a few names that are not files: ":memory:" and "file:" URIs.
bool IsSqliteFileName(std::string_view database) {
  return !database.empty() && database.front() != ':' && database.substr(0, 5) != "file:";
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Values of "key=value;…" texts whose key names a user or a password. ODBC wraps values that hold
// ';' in braces.
void AddEmbeddedCredentials(std::string_view text, std::vector<std::string>& secrets,
                            std::vector<std::string>& users) {
  while (!text.empty()) {
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) return;
    // Text without "=" before the key ("junk;PWD=…") belongs to no key.
    std::string_view keyText = text.substr(0, equals);
    if (const size_t semicolon = keyText.rfind(';'); semicolon != std::string_view::npos)
      keyText.remove_prefix(semicolon + 1);
    const std::string key = UpperCase(Trim(keyText));
    text = Trim(text.substr(equals + 1));
    std::string_view value;
    if (!text.empty() && text.front() == '{') {
      const size_t close = text.find('}');
      value = text.substr(1, close == std::string_view::npos ? close : close - 1);
      text = close == std::string_view::npos ? std::string_view() : text.substr(close + 1);
    }
    const size_t end = text.find(';');
    if (value.empty()) value = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (value.empty()) continue;
    if (key == "PWD" || key == "PASSWORD") secrets.emplace_back(value);
    else if (key == "UID" || key == "USER" || key == "USERNAME") users.emplace_back(value);
  }
}

bool IsWordChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// Replaces `secret` in `text`; with `wholeWords`, only where it is not part of a longer word, so that
// a short user name leaves the driver's words alone.
void Blank(std::string& text, const std::string& secret, bool wholeWords) {
  for (size_t at = text.find(secret); at != std::string::npos; at = text.find(secret, at)) {
    const size_t after = at + secret.size();
    const bool isWord = (at == 0 || !IsWordChar(text[at - 1])) &&
                        (after >= text.size() || !IsWordChar(text[after]));
    if (wholeWords && !isWord) {
      at = after;
      continue;
    }
    text.replace(at, secret.size(), "***");
    at += 3;
  }
}

bool Describes(const QSqlDatabase& db, const TAliasSettings& s) {
  return db.driverName() == Q(s.Driver) && db.databaseName() == Q(s.Database) &&
         db.hostName() == Q(s.Host) && db.port() == s.Port && db.userName() == Q(s.User) &&
         db.password() == Q(s.Password) && db.connectOptions() == Q(s.Options);
}

[[noreturn]] void ConnectError(const TAliasSettings& s, const std::string& reason,
                               TDatabaseFailure kind = TDatabaseFailure::Unreachable) {
  throw EDatabaseError(Tr(Texts::tr("Cannot connect to database %1: %2"), s.Alias, OneLine(WithoutCredentials(reason, s))), kind);
}

// An SQLite file that is not a database opens without complaint; the first statement finds out.
void CheckSqliteFile(const QSqlDatabase& db, const TAliasSettings& s) {
  QSqlQuery probe(db);
  if (!probe.exec(QStringLiteral("select 1 from sqlite_master limit 1")))
    ConnectError(s, probe.lastError().text().toStdString(), TDatabaseFailure::Other);
}

}  // namespace

std::string UserAliasFile() { return ProfilePath(kAliasFile); }

bool FindAlias(const std::string& alias, TAliasSettings& settings) {
  if (alias.empty()) return false;
  const std::string file = AliasFileOf(alias);
  if (file.empty()) return false;
  TAliasSettings s;
  s.Alias = alias;
  s.File = file;
  s.Driver = UpperCase(Value(file, alias, "Driver"));
  s.Database = Value(file, alias, "Database");
  if (s.Driver.empty()) s.Driver = "QSQLITE";
  if (s.Driver != "QSQLITE" && s.Driver != "QODBC" && s.Driver != "QPSQL")
    throw EDatabaseError(
        Tr(Texts::tr("Alias %1 names the unknown driver %2 (%3)"), alias, s.Driver, file));
  // A relative SQLite file lies beside the alias file that names it.
  if (s.Driver == "QSQLITE" && IsSqliteFileName(s.Database) && s.Database.front() != '/')
    s.Database = file.substr(0, file.rfind('/')) + "/" + s.Database;
  s.Host = Value(file, alias, "Host");
  if (const std::string port = Value(file, alias, "Port"); !port.empty()) {
    bool ok = false;
    s.Port = Q(port).toInt(&ok);
    if (!ok || s.Port < 1 || s.Port > 65535)
      throw EDatabaseError(Tr(Texts::tr("Alias %1 has the invalid port %2 (%3)"), alias, port, file));
  }
  s.User = Value(file, alias, "User");
  s.Password = Value(file, alias, "Password");
  s.Options = Value(file, alias, "Options");
  settings = std::move(s);
  return true;
}

TAliasSettings AliasSettings(const std::string& alias) {
  if (alias.empty()) throw EDatabaseError("No database alias given");
  TAliasSettings settings;
  if (!FindAlias(alias, settings))
    throw EDatabaseError(Tr(Texts::tr("Alias %1 is not configured (%2)"), alias, UserAliasFile()),
                         TDatabaseFailure::AliasMissing);
  return settings;
}

QSqlDatabase OpenAliasDatabase(const std::string& alias) {
  const TAliasSettings s = AliasSettings(alias);
  const QString name = ConnectionName(alias);
  if (QSqlDatabase::contains(name)) {
    QSqlDatabase db = QSqlDatabase::database(name, false);
    if (Describes(db, s) && (db.isOpen() || db.open())) return db;
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
  }
  return OpenAliasConnection(s, name);
}

QSqlDatabase OpenAliasConnection(const TAliasSettings& s, const QString& name) {
  if (!QSqlDatabase::isDriverAvailable(Q(s.Driver)))
    ConnectError(s, Tr(Texts::tr("the driver %1 is not installed"), s.Driver));
  const bool sqlite = s.Driver == "QSQLITE";
  if (sqlite && s.Database.empty())
    throw EDatabaseError(Tr(Texts::tr("Alias %1 names no database file (%2)"), s.Alias, s.File),
                         TDatabaseFailure::AliasMissing);
  // SQLite would quietly create a missing file, and the tables would then seem to be missing.
  if (sqlite && IsSqliteFileName(s.Database) && !QFileInfo::exists(Q(s.Database)))
    ConnectError(s, Tr(Texts::tr("the database file %1 does not exist"), s.Database));

  QSqlError error;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(Q(s.Driver), name);
    db.setDatabaseName(Q(s.Database));
    db.setHostName(Q(s.Host));
    db.setPort(s.Port);
    db.setUserName(Q(s.User));
    db.setPassword(Q(s.Password));
    db.setConnectOptions(Q(s.Options));
    if (db.open()) {
      try {
        if (sqlite) CheckSqliteFile(db, s);
        return db;
      } catch (const EDatabaseError&) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw;
      }
    }
    error = db.lastError();
  }
  QSqlDatabase::removeDatabase(name);
  const TDatabaseFailure kind = FailureOf(error);
  ConnectError(s, error.text().toStdString(),
               kind == TDatabaseFailure::LoginRefused ? kind : TDatabaseFailure::Unreachable);
}

void CloseAliasDatabases() {
  for (const QString& name : QSqlDatabase::connectionNames()) {
    if (name.startsWith(QLatin1String(kConnectionPrefix))) QSqlDatabase::removeDatabase(name);
  }
}

std::string WithoutCredentials(std::string text, const TAliasSettings& settings) {
  std::vector<std::string> secrets;
  std::vector<std::string> users;
  if (!settings.Password.empty()) secrets.push_back(settings.Password);
  if (!settings.User.empty()) users.push_back(settings.User);
  AddEmbeddedCredentials(settings.Database, secrets, users);
  AddEmbeddedCredentials(settings.Options, secrets, users);
  // Longer ones first, so that a user name inside a password does not leave the rest of it.
  const auto longerFirst = [](const std::string& a, const std::string& b) { return a.size() > b.size(); };
  std::sort(secrets.begin(), secrets.end(), longerFirst);
  std::sort(users.begin(), users.end(), longerFirst);
  for (const std::string& secret : secrets) Blank(text, secret, false);
  for (const std::string& user : users) Blank(text, user, true);
  return text;
}
