#include "app/DefaultData.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include <QFile>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

#include "app/MarkSchema.h"
#include "platform/db/DatabaseAliases.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Texts.h"
#include "platform/rtl/Tr.h"
#include "platform/win/Folders.h"
#include "platform/win/Profile.h"

namespace {

// What the clerk is told when the default data cannot be made.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(DefaultData)
};

namespace fs = std::filesystem;

constexpr const char* kProfileFile = "win.ini";
constexpr const char* kProfileSection = "tavrix";
constexpr const char* kDataPathKey = "datapath";
constexpr const char* kAliasFile = "dbalias.ini";
constexpr const char* kAlias = "dbmd";
constexpr const char* kConnection = "markedit-default-data";

// After the mark table (MarkSchema.h): the three shipment tables the view reads, the view itself
// and the demo shipments.
// Of the six bills, the first two and the last pass the view: EX2401003 has another FLAG,
// EX2401004 another SYSTEMNO, and EX2401005 has no inventory record for the inner join to find.
// EX2401006 is packed in two lots whose products sort the other way round: its rows show that
// the packing number orders them before the product number does.
constexpr const char* kSchema[] = {
    "create table TRABILLMAIN (SBILL1NO varchar(20) not null primary key,"
    " SYSTEMNO integer not null, FLAG integer not null,"
    " SHIPFROM varchar(40), SHIPTO varchar(40), VIA varchar(40))",
    "create table INVENTORYMAIN (INVENTORYNO varchar(20) not null primary key,"
    " SBILL1NO varchar(20) not null, FACTID varchar(20) not null)",
    "create index IX_INVENTORYMAIN_SBILL1NO on INVENTORYMAIN (SBILL1NO)",
    "create table TRAPACKINGSUB (SHIPPINGBILLNO varchar(20) not null, ITEMNO integer not null,"
    " INVENTORYBILL1NO varchar(20) not null, PRODUCTID varchar(20), QUANTITY integer,"
    " CUFT numeric(10,3), NW numeric(10,2), GW numeric(10,2),"
    " primary key (SHIPPINGBILLNO, ITEMNO))",
    "create index IX_TRAPACKINGSUB_BILL on TRAPACKINGSUB (INVENTORYBILL1NO)",

    "create view VMD as select"
    " TRAPACKINGSUB.SHIPPINGBILLNO as \"PACKING單號\","
    " TRABILLMAIN.SBILL1NO as \"出口文件單號\","
    " INVENTORYMAIN.FACTID as \"客戶編號\","
    " TRABILLMAIN.SHIPFROM as SHIPFROM,"
    " TRABILLMAIN.SHIPTO as SHIPTO,"
    " TRABILLMAIN.VIA as VIA,"
    " TRAPACKINGSUB.PRODUCTID as \"產品編號\","
    " TRAPACKINGSUB.QUANTITY as \"數量\","
    " TRAPACKINGSUB.CUFT as CUFT,"
    " TRAPACKINGSUB.NW as NW,"
    " TRAPACKINGSUB.GW as GW"
    " from INVENTORYMAIN"
    " inner join TRABILLMAIN on INVENTORYMAIN.SBILL1NO = TRABILLMAIN.SBILL1NO"
    " inner join TRAPACKINGSUB on TRABILLMAIN.SBILL1NO = TRAPACKINGSUB.INVENTORYBILL1NO"
    " where TRABILLMAIN.SYSTEMNO = 6 and TRABILLMAIN.FLAG = 5",

    "insert into TRABILLMAIN (SBILL1NO, SYSTEMNO, FLAG, SHIPFROM, SHIPTO, VIA) values"
    " ('EX2401001', 6, 5, 'KEELUNG', 'LOS ANGELES', 'BY SEA'),"
    " ('EX2401002', 6, 5, 'TAICHUNG', 'HAMBURG', 'BY SEA'),"
    " ('EX2401003', 6, 3, 'KAOHSIUNG', 'ROTTERDAM', 'BY SEA'),"
    " ('EX2401004', 2, 5, 'TAOYUAN', 'TOKYO', 'BY AIR'),"
    " ('EX2401005', 6, 5, 'KEELUNG', 'SYDNEY', 'BY SEA'),"
    " ('EX2401006', 6, 5, 'KEELUNG', 'SEATTLE', 'BY SEA')",
    "insert into INVENTORYMAIN (INVENTORYNO, SBILL1NO, FACTID) values"
    " ('IV2401001', 'EX2401001', 'C001'),"
    " ('IV2401002', 'EX2401002', 'C002'),"
    " ('IV2401003', 'EX2401003', 'C001'),"
    " ('IV2401004', 'EX2401004', 'C003'),"
    " ('IV2401006', 'EX2401006', 'C001')",
    "insert into TRAPACKINGSUB (SHIPPINGBILLNO, ITEMNO, INVENTORYBILL1NO, PRODUCTID, QUANTITY,"
    " CUFT, NW, GW) values"
    " ('PK2401001', 1, 'EX2401001', 'TB-100', 120, 12.5, 180.0, 196.5),"
    " ('PK2401001', 2, 'EX2401001', 'TB-120', 80, 9.8, 132.0, 144.0),"
    " ('PK2401001', 3, 'EX2401001', 'LP-200', 40, 6.2, 96.5, 104.0),"
    " ('PK2401002', 1, 'EX2401002', 'HS-010', 300, 20.4, 240.0, 262.5),"
    " ('PK2401002', 2, 'EX2401002', 'HS-020', 150, 11.0, 150.0, 163.0),"
    " ('PK2401003', 1, 'EX2401003', 'TB-100', 60, 6.3, 90.0, 98.0),"
    " ('PK2401004', 1, 'EX2401004', 'LP-200', 20, 3.1, 48.0, 52.0),"
    " ('PK2401005', 1, 'EX2401005', 'HS-010', 100, 6.8, 80.0, 88.0),"
    " ('PK2401006', 1, 'EX2401006', 'TB-120', 50, 6.0, 82.5, 90.0),"
    " ('PK2401007', 1, 'EX2401006', 'LP-200', 30, 4.6, 72.0, 78.0)",
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// True when something, even a dangling link, sits at `path`: it is not ours to replace.
bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

void EnsureFolder(const std::string& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw Exception(Tr(Texts::tr("Cannot create the folder %1: %2"), folder, ec.message()));
}

[[noreturn]] void CannotWrite(const std::string& path, const QString& reason) {
  throw Exception(Tr(Texts::tr("Cannot write %1: %2"), path, reason.toStdString()));
}

// Writes a file that must not exist yet. False, with nothing written, when it exists after all.
bool WriteNewFile(const std::string& path, const std::string& text) {
  QFile file(Q(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
    if (Exists(path)) return false;
    CannotWrite(path, file.errorString());
  }
  if (file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.flush()) {
    const QString reason = file.errorString();
    file.remove();
    CannotWrite(path, reason);
  }
  return true;
}

// Writes win.ini when it is missing and returns the data folder the database belongs in: the
// configured one, or the default when win.ini names none that is an absolute path.
std::string PrepareProfile() {
  const std::string profile = ProfilePath(kProfileFile);
  if (!Exists(profile)) {
    const std::string folder = DefaultDataFolder();
    EnsureFolder(folder);
    if (WriteNewFile(profile, "[" + std::string(kProfileSection) + "]\n" + kDataPathKey + "=" +
                                  folder + "\n"))
      return folder;
  }
  const std::string configured =
      WithoutTrailingSlashes(GetPrivateProfileString(kProfileSection, kDataPathKey, "", profile));
  return !configured.empty() && configured.front() == '/' ? configured : DefaultDataFolder();
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Where the first line after the first section header of `alias` starts, as the profile reader
// finds sections (a missing closing bracket names the rest of the line); nothing when there is
// none.
std::optional<size_t> AfterSectionHeader(const std::string& text, const std::string& alias) {
  size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (start < text.size()) {
    const size_t newline = text.find('\n', start);
    const size_t end = newline == std::string::npos ? text.size() : newline + 1;
    const std::string_view line = Trim(std::string_view(text).substr(start, end - start));
    if (!line.empty() && line.front() == '[' &&
        SameText(Trim(line.substr(1, line.find(']') - 1)), alias))
      return end;
    start = end;
  }
  return std::nullopt;
}

// Gives the alias file an SQLite alias for `database`. A section of the alias that configures
// nothing gets the settings as its first lines, since the reader takes the first section of a name
// only; otherwise the section is appended. The rest of the file stays byte for byte.
void AddAlias(const std::string& database) {
  const std::string path = ProfilePath(kAliasFile);
  std::string text;
  if (Exists(path)) {
    QFile file(Q(path));
    if (!file.open(QIODevice::ReadOnly))
      throw Exception(Tr(Texts::tr("Cannot read %1: %2"), path, file.errorString().toStdString()));
    text = file.readAll().toStdString();
  }
  const std::string nl = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  const std::string settings = "Driver=QSQLITE" + nl + "Database=" + database + nl;

  if (const auto at = AfterSectionHeader(text, kAlias)) {
    const bool endsInNewline = *at > 0 && text[*at - 1] == '\n';
    text.insert(*at, (endsInNewline ? "" : nl) + settings);
    QSaveFile file(Q(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit())
      CannotWrite(path, file.errorString());
    return;
  }
  std::string section;
  if (!text.empty()) section = (text.back() == '\n' ? "" : nl) + nl;
  section += "[" + std::string(kAlias) + "]" + nl + settings;
  QFile file(Q(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append) ||
      file.write(section.data(), qint64(section.size())) != qint64(section.size()) || !file.flush())
    CannotWrite(path, file.errorString());
}

// Runs the schema on the SQLite file `path` in one transaction; the driver's reason on failure.
QString BuildDatabase(const QString& path) {
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
    return QStringLiteral("the SQLite driver QSQLITE is not installed");
  QString reason;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
    db.setDatabaseName(path);
    if (!db.open() || !db.transaction()) {
      reason = db.lastError().text();
    } else {
      std::vector<QString> statements = {QString::fromStdString(MarkTableStatement("QSQLITE"))};
      for (const char* statement : kSchema) statements.push_back(QString::fromUtf8(statement));
      for (const QString& statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement)) {
          reason = query.lastError().text();
          break;
        }
      }
      if (reason.isEmpty() && !db.commit()) reason = db.lastError().text();
      if (!reason.isEmpty()) db.rollback();
    }
    db.close();
  }
  QSqlDatabase::removeDatabase(kConnection);
  return reason;
}

// Builds the database under a temporary name beside it and moves it into place only when complete,
// so that neither a failure nor a crash leaves a half-made database behind.
void CreateDatabase(const std::string& file) {
  const std::string failure = Tr(Texts::tr("Cannot create the database %1: "), file);
  std::string tempName = file + ".XXXXXX";
  const int fd = mkstemp(tempName.data());
  if (fd < 0) throw Exception(failure + std::strerror(errno));
  close(fd);
  QFile temp(Q(tempName));
  const QString reason = BuildDatabase(temp.fileName());
  if (reason.isEmpty() && temp.rename(Q(file))) return;
  const QString why = reason.isEmpty() ? temp.errorString() : reason;
  temp.remove();
  // Renaming never replaces a file; one that appeared meanwhile came from another start.
  if (reason.isEmpty() && Exists(file)) return;
  throw Exception(failure + why.toStdString());
}

bool SamePath(const std::string& a, const std::string& b) {
  return fs::path(a).lexically_normal() == fs::path(b).lexically_normal();
}

void Prepare() {
  EnsureFolder(WindowsFolder());
  const std::string dataFolder = PrepareProfile();
  const std::string database = dataFolder + "/" + kDefaultDatabaseFile;

  TAliasSettings alias;
  try {
    if (FindAlias(kAlias, alias)) {
      // A database the user's alias names elsewhere is not ours to make.
      if (alias.Driver != "QSQLITE" || !SamePath(alias.Database, database) || Exists(database)) return;
      EnsureFolder(dataFolder);
      CreateDatabase(database);
      return;
    }
    // The alias is written only once the database it names stands: an alias left behind by a start
    // that failed would keep pointing there after the user mends the data folder, and no later
    // start would make the database where the folder now is.
    if (!Exists(database)) {
      EnsureFolder(dataFolder);
      CreateDatabase(database);
    }
    AddAlias(database);
    if (!FindAlias(kAlias, alias))
      throw Exception(Tr(Texts::tr("Cannot configure the alias %1 in %2"), std::string(kAlias), ProfilePath(kAliasFile)));
  } catch (const EDatabaseError&) {
    // The user's own alias, whose faults opening it will report.
  }
}

}  // namespace

std::string DefaultDataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() +
         "/markedit";
}

bool PrepareDefaultData(std::string* error) {
  try {
    Prepare();
    return true;
  } catch (const std::exception& e) {
    if (error) *error = e.what();
  } catch (...) {
    if (error) *error = Tr(Texts::tr("Cannot prepare the default data: unknown error"));
  }
  return false;
}
