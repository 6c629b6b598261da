#pragma once
// Database aliases: the names under which the data components reach a database. The alias file
// dbalias.ini in the Windows folder holds one section per alias:
//
//   [dbmd]
//   Driver=QSQLITE          ; QSQLITE (the default), QODBC or QPSQL
//   Database=marks.db       ; SQLite: the file, relative to the alias file's folder;
//                           ; others: the database name or ODBC data source
//   Host=… Port=… User=… Password=… Options=…   ; optional; Options are the driver's connect options
//
// An alias is configured when its section names a driver or a database. The clerk's own file comes
// first; an alias it does not configure is taken whole from the first of the system's files that
// does (SystemConfigFolders: /etc/xdg/markedit/dbalias.ini), so that an administrator sets up every
// clerk of a machine once.

#include <string>

#include <QSqlDatabase>

struct TAliasSettings {
  std::string Alias;
  std::string Driver;    // upper case: QSQLITE, QODBC or QPSQL
  std::string Database;  // for SQLite an absolute path, "" or a special name (":memory:")
  std::string Host;
  int Port = -1;  // -1: the driver's default
  std::string User;
  std::string Password;
  std::string Options;
  std::string File;  // the alias file that configures it
};

// The clerk's own alias file (in the Windows folder).
std::string UserAliasFile();

// The settings of `alias` (a section name, compared without regard to case); false when the alias is
// not configured. Raises EDatabaseError when the section names an unknown driver or a port that is
// not a number.
bool FindAlias(const std::string& alias, TAliasSettings& settings);

// The settings of `alias`; raises EDatabaseError naming the alias file when it is not configured.
TAliasSettings AliasSettings(const std::string& alias);

// The open connection of `alias`. There is one connection per alias, named "markedit:<alias>" in
// lower case; it is reused while the alias file still describes it and made again when the file
// changed. Raises EDatabaseError when the alias is not configured, the driver is not installed or
// the database cannot be opened; the message carries the driver's reason with the credentials
// blanked out.
QSqlDatabase OpenAliasDatabase(const std::string& alias);

// A new connection named `name` to the database of `settings`, opened, with the same checks and
// messages. A Qt SQL connection serves only the thread that made it: a worker thread makes its own
// this way and removes it (QSqlDatabase::removeDatabase) when done.
QSqlDatabase OpenAliasConnection(const TAliasSettings& settings, const QString& name);

// Closes and forgets every alias connection. Callers must not hold queries or copies of the
// connections any more.
void CloseAliasDatabases();

// `text` with every credential of the settings (user, password, and those written into the
// database or option texts as UID=/PWD=/user=/password=) replaced by "***".
std::string WithoutCredentials(std::string text, const TAliasSettings& settings);
