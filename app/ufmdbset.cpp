#include "app/ufmdbset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <utility>

#include "app/MarkKeys.h"
#include "app/MarkSchema.h"
#include "app/MarkStore.h"
#include "app/Question.h"
#include "app/UPub.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Label.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Texts.h"
#include "platform/rtl/Tr.h"
#include "platform/win/Folders.h"
#include "platform/win/Profile.h"

DEFINE_CLASS(Tfmdbset, TForm) {
  c.Field("LabelDriver", &Tfmdbset::LabelDriver);
  c.Field("ComboDriver", &Tfmdbset::ComboDriver);
  c.Field("LabelDatabase", &Tfmdbset::LabelDatabase);
  c.Field("EditDatabase", &Tfmdbset::EditDatabase);
  c.Field("BrowseButton", &Tfmdbset::BrowseButton);
  c.Field("LabelHost", &Tfmdbset::LabelHost);
  c.Field("EditHost", &Tfmdbset::EditHost);
  c.Field("LabelPort", &Tfmdbset::LabelPort);
  c.Field("EditPort", &Tfmdbset::EditPort);
  c.Field("LabelUser", &Tfmdbset::LabelUser);
  c.Field("EditUser", &Tfmdbset::EditUser);
  c.Field("LabelOptions", &Tfmdbset::LabelOptions);
  c.Field("EditOptions", &Tfmdbset::EditOptions);
  c.Field("LabelPassword", &Tfmdbset::LabelPassword);
  c.Field("PasswordState", &Tfmdbset::PasswordState);
  c.Field("RemovePasswordButton", &Tfmdbset::RemovePasswordButton);
  c.Field("PasswordAdvice", &Tfmdbset::PasswordAdvice);
  c.Field("ResultLabel", &Tfmdbset::ResultLabel);
  c.Field("TestButton", &Tfmdbset::TestButton);
  c.Field("CreateButton", &Tfmdbset::CreateButton);
  c.Field("SaveButton", &Tfmdbset::SaveButton);
  c.Field("CancelButton", &Tfmdbset::CancelButton);
  c.Method("FormShow", &Tfmdbset::FormShow);
  c.Method("ComboDriverChange", &Tfmdbset::ComboDriverChange);
  c.Method("BrowseButtonClick", &Tfmdbset::BrowseButtonClick);
  c.Method("RemovePasswordButtonClick", &Tfmdbset::RemovePasswordButtonClick);
  c.Method("TestButtonClick", &Tfmdbset::TestButtonClick);
  c.Method("CreateButtonClick", &Tfmdbset::CreateButtonClick);
  c.Method("SaveButtonClick", &Tfmdbset::SaveButtonClick);
}

namespace {

// What the dialog says.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(DatabaseSettings)
};

const char* const kDrivers[] = {"QSQLITE", "QPSQL", "QODBC"};
// What the worker reports first: whether md is missing (then 建立資料表 may make it); then how many
// of the things missing are md's, and those things, md's first.
const char kMarkTableMissing[] = "md missing";
const char kMarkTablePresent[] = "md present";

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? std::string() : Tr(Texts::tr(", "))) + part;
  return text;
}

std::string HostText(const TAliasSettings& s) { return s.Host.empty() ? Tr(Texts::tr("this computer")) : s.Host; }

// The driver's own limits on how long a connection may take, so that a worker given up on ends
// too: longer than the dialog waits, which always gives up first. Added to the options for the
// trial only; what is saved is what the clerk typed.
std::string WithTimeouts(const TAliasSettings& s) {
  std::string options = s.Options;
  const auto add = [&options](const std::string& key, const std::string& option) {
    if (LowerCase(options).find(LowerCase(key)) != std::string::npos) return;
    options += (options.empty() ? "" : ";") + option;
  };
  const std::string seconds = std::to_string(Tfmdbset::kAnswerMs / 1000 + 5);
  if (s.Driver == "QPSQL") add("connect_timeout", "connect_timeout=" + seconds);
  if (s.Driver == "QODBC") {
    add("SQL_ATTR_LOGIN_TIMEOUT", "SQL_ATTR_LOGIN_TIMEOUT=" + seconds);
    add("SQL_ATTR_CONNECTION_TIMEOUT", "SQL_ATTR_CONNECTION_TIMEOUT=" + seconds);
  }
  return options;
}

}  // namespace

void Tfmdbset::Destroy() {
  work_.reset();  // its answer is dropped
  deadline_.reset();
  TForm::Destroy();
}

std::string Tfmdbset::Driver() const {
  const int index = ComboDriver->ItemIndex();
  return kDrivers[index >= 1 && index <= 2 ? index : 0];
}

void Tfmdbset::FormShow(TObject*) {
  TAliasSettings alias;
  bool found = false;
  try {
    found = FindAlias(kMarkAlias, alias);
  } catch (const std::exception& e) {
    Say(Tr(Texts::tr("The settings in effect are wrong; correct them: %1"), std::string(e.what())));
  }
  int driver = 0;
  for (int i = 0; i < 3; ++i)
    if (found && alias.Driver == kDrivers[i]) driver = i;
  ComboDriver->SetItemIndex(driver);
  EditDatabase->SetText(alias.Database);
  EditHost->SetText(alias.Host);
  EditPort->SetText(alias.Port > 0 ? std::to_string(alias.Port) : "");
  EditUser->SetText(alias.User);
  EditOptions->SetText(alias.Options);
  // Only the clerk's own file is written: its password is the one kept or removed.
  password_ = GetPrivateProfileString(kMarkAlias, "Password", "", UserAliasFile());
  ShowPassword();
  if (found && alias.File != UserAliasFile())
    Say(Tr(Texts::tr("The settings this computer shares are in effect (%1). Saving puts your own in their place."),
             alias.File));
  else if (!found)
    Say(Tr(Texts::tr("No mark database is set up yet.")));
  ShowDriverFields();
}

// Another kind of database takes other connection options.
void Tfmdbset::ComboDriverChange(TObject*) {
  EditOptions->SetText("");
  ShowDriverFields();
}

void Tfmdbset::ShowDriverFields() {
  const std::string driver = Driver();
  const bool sqlite = driver == "QSQLITE";
  const bool server = driver == "QPSQL";
  LabelDatabase->SetCaption(sqlite ? Tr(Texts::tr("File")) : server ? Tr(Texts::tr("Database")) : Tr(Texts::tr("Data source")));
  BrowseButton->SetVisible(sqlite);
  EditHost->SetEnabled(server);
  EditPort->SetEnabled(server);
  EditUser->SetEnabled(!sqlite);
  CreateButton->SetEnabled(false);  // until a test finds md missing
}

void Tfmdbset::BrowseButtonClick(TObject*) {
  auto* dialog = New<TOpenDialog>(this);
  dialog->SetTitle(Tr(Texts::tr("Choose the database file")));
  dialog->SetFilter(Tr(Texts::tr("SQLite databases (*.db;*.sqlite)|*.db;*.sqlite|All files (*.*)|*.*")));
  dialog->SetFileName(EditDatabase->Text());
  const bool chosen = dialog->Execute();
  const std::string path = dialog->FileName();
  dialog->Free();
  if (chosen) EditDatabase->SetText(path);
}

void Tfmdbset::RemovePasswordButtonClick(TObject*) {
  removePassword_ = true;
  ShowPassword();
}

void Tfmdbset::ShowPassword() {
  PasswordState->SetCaption(password_.empty()  ? Tr(Texts::tr("not set"))
                            : removePassword_ ? Tr(Texts::tr("set (removed when saved)"))
                                              : Tr(Texts::tr("set")));
  RemovePasswordButton->SetEnabled(!password_.empty() && !removePassword_);
}

void Tfmdbset::Say(const std::string& text) { ResultLabel->SetCaption(text); }

void Tfmdbset::SetWorking(bool working) {
  TestButton->SetEnabled(!working);
  SaveButton->SetEnabled(!working);
  if (working) CreateButton->SetEnabled(false);
}

bool Tfmdbset::ReadFields(TAliasSettings& s, std::string& wrong) {
  s = TAliasSettings();
  s.Alias = kMarkAlias;
  s.File = UserAliasFile();
  s.Driver = Driver();
  const bool sqlite = s.Driver == "QSQLITE";
  const bool server = s.Driver == "QPSQL";
  s.Database = Trimmed(EditDatabase->Text());
  if (server) s.Host = Trimmed(EditHost->Text());
  if (!sqlite) s.User = Trimmed(EditUser->Text());
  s.Options = Trimmed(EditOptions->Text());
  s.Password = removePassword_ ? "" : password_;
  TEdit* field = nullptr;
  if (s.Database.empty()) {
    field = EditDatabase;
    wrong = sqlite   ? Tr(Texts::tr("%1: fill in where the database file is."), LabelDatabase->Caption())
            : server ? Tr(Texts::tr("%1: fill in the name of the database."), LabelDatabase->Caption())
                     : Tr(Texts::tr("%1: fill in the name of the ODBC data source."), LabelDatabase->Caption());
  }
  const std::string port = server ? Trimmed(EditPort->Text()) : "";
  if (!field && !port.empty()) {
    const bool digits = port.size() <= 5 && port.find_first_not_of("0123456789") == std::string::npos;
    const int number = digits ? std::stoi(port) : 0;
    if (number < 1 || number > 65535) {
      field = EditPort;
      wrong = Tr(Texts::tr("Port: \"%1\" is no number from 1 to 65535."), port);
    } else {
      s.Port = number;
    }
  }
  if (!field && sqlite) {
    // A relative file lies beside the alias file, as the program reads it.
    if (s.Database.front() != '/') s.Database = WindowsFolder() + "/" + s.Database;
    const QFileInfo folder(QFileInfo(QString::fromStdString(s.Database)).absolutePath());
    // Tried, not judged from the permission bits, which root passes everywhere.
    QTemporaryFile probe(folder.absoluteFilePath() + QStringLiteral("/.markedit-XXXXXX"));
    if (!folder.isDir() || !probe.open()) {
      field = EditDatabase;
      wrong = Tr(Texts::tr("File: the folder \"%1\" does not exist or cannot be written (an SQLite database's "
                             "folder must be writable)."),
                   folder.absoluteFilePath().toStdString());
    }
  }
  if (field && field->CanFocus()) field->SetFocus();
  return field == nullptr;
}

void Tfmdbset::TestButtonClick(TObject*) { Start(TStep::Test); }
void Tfmdbset::CreateButtonClick(TObject*) { Start(TStep::Create); }

// The dialog ends (mrOk) once the settings are written.
void Tfmdbset::SaveButtonClick(TObject*) { Start(TStep::Save); }

void Tfmdbset::Start(TStep step) {
  if (work_) return;
  TAliasSettings settings;
  std::string wrong;
  if (!ReadFields(settings, wrong)) {
    Say(Tr(Texts::tr("%1 The settings were not saved."), wrong));
    return;
  }
  const bool sqlite = settings.Driver == "QSQLITE";
  const QString file = QString::fromStdString(settings.Database);
  madeFile_.clear();
  if (sqlite && !QFileInfo::exists(file)) {
    if (step != TStep::Create) {
      Say(Tr(Texts::tr("File: \"%1\" does not exist. Press \"Create table\" to make a new database file with the "
                         "table md."),
               settings.Database));
      CreateButton->SetEnabled(true);
      return;
    }
    // An empty file is an empty SQLite database; the connection refuses a missing one.
    QFile made(file);
    if (!made.open(QIODevice::WriteOnly)) {
      Say(Tr(Texts::tr("File: cannot create \"%1\": %2"), settings.Database, made.errorString().toStdString()));
      return;
    }
    madeFile_ = settings.Database;
  }
  trying_ = settings;
  TAliasSettings trial = settings;
  trial.Options = WithTimeouts(settings);
  const bool create = step == TStep::Create;
  TBackgroundQuery::TWork work = [create](const QSqlDatabase& db) {
    if (create) CreateMarkTable(db);
    const TMarkSchemaCheck check = CheckMarkSchema(db);
    std::vector<std::string> values = {check.MarkTableMissing ? kMarkTableMissing : kMarkTablePresent,
                                       std::to_string(check.MarkProblems.size())};
    values.insert(values.end(), check.MarkProblems.begin(), check.MarkProblems.end());
    values.insert(values.end(), check.ViewProblems.begin(), check.ViewProblems.end());
    return values;
  };
  SetWorking(true);
  Say(create ? Tr(Texts::tr("Creating the table md…")) : Tr(Texts::tr("Connecting…")));
  work_ = std::make_unique<TBackgroundQuery>(
      trial, std::move(work),
      [this, step, settings](std::vector<std::string> values, std::string error, TDatabaseFailure failure) {
        Answered(step, settings, std::move(values), std::move(error), failure);
      });
  deadline_ = std::make_unique<QTimer>();
  deadline_->setSingleShot(true);
  QObject::connect(deadline_.get(), &QTimer::timeout, [this] { GiveUp(); });
  deadline_->start(kAnswerMs);
}

void Tfmdbset::GiveUp() {
  work_.reset();
  SetWorking(false);
  const TAliasSettings& settings = trying_;
  std::string where;
  if (settings.Driver == "QPSQL" && settings.Port > 0)
    where = Tr(Texts::tr("The host \"%1\", port %2,"), HostText(settings), std::to_string(settings.Port));
  else if (settings.Driver == "QPSQL")
    where = Tr(Texts::tr("The host \"%1\""), HostText(settings));
  else
    where = Tr(Texts::tr("%1 \"%2\""), LabelDatabase->Caption(), settings.Database);
  Say(Tr(Texts::tr("%1 did not answer within %2 seconds: check the host and the port, and whether the database "
                     "server runs. The settings were not saved."),
           where, std::to_string(kAnswerMs / 1000)));
}

std::string Tfmdbset::FailureText(const TAliasSettings& s, const std::string& error, TDatabaseFailure failure) const {
  switch (failure) {
    case TDatabaseFailure::LoginRefused:
      return Tr(Texts::tr("User: the database refused the user \"%1\". Check the user, and the password in the "
                            "password file or the data source.\n%2"),
                  s.User, error);
    case TDatabaseFailure::Unreachable:
      if (s.Driver == "QPSQL")
        return s.Port > 0 ? Tr(Texts::tr("Host, port: cannot reach \"%1\" on port %2, or it has no database "
                                           "\"%3\".\n%4"),
                                 HostText(s), std::to_string(s.Port), s.Database, error)
                          : Tr(Texts::tr("Host, port: cannot reach \"%1\", or it has no database \"%2\".\n%3"),
                                 HostText(s), s.Database, error);
      return Tr(Texts::tr("%1: cannot open \"%2\".\n%3"), LabelDatabase->Caption(), s.Database, error);
    default:
      return Tr(Texts::tr("This database cannot be used: %1"), error);
  }
}

void Tfmdbset::Answered(TStep step, const TAliasSettings& settings, std::vector<std::string> values, std::string error,
                        TDatabaseFailure failure) {
  work_.reset();
  deadline_.reset();
  SetWorking(false);
  if (!error.empty() || values.empty()) {
    if (!madeFile_.empty()) QFile::remove(QString::fromStdString(madeFile_));
    madeFile_.clear();
    const std::string said = FailureText(settings, error.empty() ? Tr(Texts::tr("unknown database error")) : error, failure);
    Say(step == TStep::Save ? Tr(Texts::tr("%1\nThe settings were not saved."), said) : said);
    return;
  }
  madeFile_.clear();
  const bool markTableMissing = values.front() == kMarkTableMissing;
  // Then how many of the rest are md's: those keep marks from being saved.
  const size_t markCount = values.size() > 1 ? std::stoul(values[1]) : 0;
  const std::vector<std::string> missing(values.begin() + std::min<size_t>(2, values.size()), values.end());
  const std::vector<std::string> markProblems(missing.begin(), missing.begin() + std::min(markCount, missing.size()));
  const bool odbc = settings.Driver == "QODBC";
  CreateButton->SetEnabled(markTableMissing && !odbc);
  const std::string createAdvice = !markTableMissing ? std::string()
                                   : odbc ? Tr(Texts::tr("Ask the database administrator to create the table md."))
                                          : Tr(Texts::tr("Press \"Create table\" to make md."));
  if (step == TStep::Save) {
    if (!markProblems.empty()) {
      Say(Tr(Texts::tr("The settings were not saved: the database lacks %1 and cannot keep marks. %2"),
               Joined(markProblems), createAdvice));
      return;
    }
    if (!missing.empty() &&
        AskQuestion(Tr(Texts::tr("This database lacks %1: marks cannot be printed for shipments. Save the settings "
                                   "anyway?"),
                         Joined(missing)),
                    {Tr(Texts::tr("Save")), Tr(Texts::tr("Cancel"))}, 1) != 0) {
      Say(Tr(Texts::tr("The settings were not saved.")));
      return;
    }
    Save(settings);
    return;
  }
  const bool created = step == TStep::Create;
  if (missing.empty())
    Say(created ? Tr(Texts::tr("Made the table md. The table md and the view VMD are complete."))
                : Tr(Texts::tr("Connected: the table md and the view VMD are complete.")));
  else
    Say(created ? Tr(Texts::tr("Made the table md. The database still lacks: %1. %2"), Joined(missing), createAdvice)
                : Tr(Texts::tr("Connected, but the database lacks: %1. %2"), Joined(missing), createAdvice));
}

void Tfmdbset::Save(const TAliasSettings& s) {
  if (BeforeSave && !BeforeSave()) {
    Say(Tr(Texts::tr("The settings were not saved: the editors' changes are still there.")));
    return;
  }
  std::vector<std::pair<std::string, std::string>> values = {{"Driver", s.Driver}, {"Database", s.Database}};
  std::vector<std::string> remove;
  const auto keep = [&](const char* key, const std::string& value) {
    if (value.empty()) remove.emplace_back(key);
    else values.emplace_back(key, value);
  };
  keep("Host", s.Host);
  keep("Port", s.Port > 0 ? std::to_string(s.Port) : "");
  keep("User", s.User);
  keep("Options", s.Options);
  if (removePassword_) remove.emplace_back("Password");
  if (!WritePrivateProfileStrings(kMarkAlias, values, UserAliasFile(), remove)) {
    Say(Tr(Texts::tr("Cannot write \"%1\"; the settings did not change."), UserAliasFile()));
    return;
  }
  CloseAliasDatabases();
  if (AfterSave) AfterSave();
  SetModalResult(mrOk);
}
