#include "app/ufmdbset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

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

const char* const kDrivers[] = {"QSQLITE", "QPSQL", "QODBC"};
// What the worker reports first: whether md is missing (then 建立資料表 may make it).
const char kMarkTableMissing[] = "md missing";
const char kMarkTablePresent[] = "md present";

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : "、") + part;
  return text;
}

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
    Say(std::string("目前的設定有誤，請更正：") + e.what());
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
    Say("目前使用這部電腦的共用設定（" + alias.File + "）。儲存後改用您自己的設定。");
  else if (!found)
    Say("還沒有設定嘜頭資料庫。");
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
  LabelDatabase->SetCaption(sqlite ? "檔案" : server ? "資料庫" : "資料來源");
  BrowseButton->SetVisible(sqlite);
  EditHost->SetEnabled(server);
  EditPort->SetEnabled(server);
  EditUser->SetEnabled(!sqlite);
  CreateButton->SetEnabled(false);  // until a test finds md missing
}

void Tfmdbset::BrowseButtonClick(TObject*) {
  auto* dialog = New<TOpenDialog>(this);
  dialog->SetTitle("選擇資料庫檔案");
  dialog->SetFilter("SQLite 資料庫 (*.db;*.sqlite)|*.db;*.sqlite|所有檔案 (*.*)|*.*");
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
  PasswordState->SetCaption(password_.empty() ? "未設定" : removePassword_ ? "已設定（儲存時移除）" : "已設定");
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
    wrong = LabelDatabase->Caption() + "：請填寫" + (sqlite ? "資料庫檔案的位置。" : server ? "資料庫名稱。" : "ODBC 資料來源的名稱。");
  }
  const std::string port = server ? Trimmed(EditPort->Text()) : "";
  if (!field && !port.empty()) {
    const bool digits = port.size() <= 5 && port.find_first_not_of("0123456789") == std::string::npos;
    const int number = digits ? std::stoi(port) : 0;
    if (number < 1 || number > 65535) {
      field = EditPort;
      wrong = "連接埠：「" + port + "」不是 1 到 65535 的數字。";
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
      wrong = "檔案：資料夾「" + folder.absoluteFilePath().toStdString() +
              "」不存在或無法寫入（SQLite 資料庫所在的資料夾必須可以寫入）。";
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
    Say(wrong + "設定沒有儲存。");
    return;
  }
  const bool sqlite = settings.Driver == "QSQLITE";
  const QString file = QString::fromStdString(settings.Database);
  madeFile_.clear();
  if (sqlite && !QFileInfo::exists(file)) {
    if (step != TStep::Create) {
      Say("檔案：「" + settings.Database + "」不存在。按「建立資料表」建立新的資料庫檔案與資料表 md。");
      CreateButton->SetEnabled(true);
      return;
    }
    // An empty file is an empty SQLite database; the connection refuses a missing one.
    QFile made(file);
    if (!made.open(QIODevice::WriteOnly)) {
      Say("檔案：無法建立「" + settings.Database + "」：" + made.errorString().toStdString());
      return;
    }
    madeFile_ = settings.Database;
  }
  TAliasSettings trial = settings;
  trial.Options = WithTimeouts(settings);
  const bool create = step == TStep::Create;
  TBackgroundQuery::TWork work = [create](const QSqlDatabase& db) {
    if (create) CreateMarkTable(db);
    const TMarkSchemaCheck check = CheckMarkSchema(db);
    std::vector<std::string> values = {check.MarkTableMissing ? kMarkTableMissing : kMarkTablePresent};
    values.insert(values.end(), check.Missing.begin(), check.Missing.end());
    return values;
  };
  SetWorking(true);
  Say(create ? "正在建立資料表 md…" : "連線中…");
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
  TAliasSettings settings;
  std::string wrong;
  ReadFields(settings, wrong);
  std::string where;
  if (settings.Driver == "QPSQL")
    where = "主機「" + (settings.Host.empty() ? std::string("本機") : settings.Host) + "」" +
            (settings.Port > 0 ? "、連接埠 " + std::to_string(settings.Port) : std::string());
  else
    where = LabelDatabase->Caption() + "「" + settings.Database + "」";
  Say(where + "在 " + std::to_string(kAnswerMs / 1000) +
      " 秒內沒有回應：請確認主機與連接埠，以及資料庫伺服器是否已啟動。設定沒有儲存。");
}

std::string Tfmdbset::FailureText(const TAliasSettings& s, const std::string& error, TDatabaseFailure failure) const {
  switch (failure) {
    case TDatabaseFailure::LoginRefused:
      return "使用者：資料庫拒絕使用者「" + s.User + "」登入。請確認使用者，以及密碼檔或資料來源中的密碼。\n" + error;
    case TDatabaseFailure::Unreachable:
      if (s.Driver == "QPSQL")
        return "主機、連接埠：無法連上「" + (s.Host.empty() ? std::string("本機") : s.Host) + "」" +
               (s.Port > 0 ? "的連接埠 " + std::to_string(s.Port) : std::string()) + "，或沒有資料庫「" + s.Database +
               "」。\n" + error;
      return LabelDatabase->Caption() + "：無法開啟「" + s.Database + "」。\n" + error;
    default:
      return "無法使用這個資料庫：" + error;
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
    Say(FailureText(settings, error.empty() ? "unknown database error" : error, failure) +
        (step == TStep::Save ? "\n設定沒有儲存。" : ""));
    return;
  }
  madeFile_.clear();
  const bool markTableMissing = values.front() == kMarkTableMissing;
  const std::vector<std::string> missing(values.begin() + 1, values.end());
  std::vector<std::string> markProblems;
  for (const std::string& item : missing)
    if (item.rfind("資料表 md", 0) == 0) markProblems.push_back(item);
  const bool odbc = settings.Driver == "QODBC";
  CreateButton->SetEnabled(markTableMissing && !odbc);
  const std::string createAdvice = !markTableMissing ? ""
                                   : odbc ? "請資料庫管理者建立資料表 md。"
                                          : "按「建立資料表」建立 md。";
  if (step == TStep::Save) {
    if (!markProblems.empty()) {
      Say("設定沒有儲存：資料庫缺少 " + Joined(markProblems) + "，無法存放嘜頭。" + createAdvice);
      return;
    }
    if (!missing.empty() &&
        AskQuestion("這個資料庫缺少 " + Joined(missing) + "，將無法依出貨資料列印。仍要儲存設定嗎？", {"儲存", "取消"},
                    1) != 0) {
      Say("設定沒有儲存。");
      return;
    }
    Save(settings);
    return;
  }
  const std::string done = step == TStep::Create ? "已建立資料表 md。" : "連線成功";
  if (missing.empty())
    Say(done + (step == TStep::Create ? "" : "：") + "資料表 md 與檢視 VMD 都齊全。");
  else
    Say(done + (step == TStep::Create ? "資料庫仍缺少：" : "，但資料庫缺少：") + Joined(missing) + "。" + createAdvice);
}

void Tfmdbset::Save(const TAliasSettings& s) {
  if (BeforeSave && !BeforeSave()) {
    Say("設定沒有儲存：編輯視窗的變更仍在。");
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
    Say("無法寫入「" + UserAliasFile() + "」，設定沒有改變。");
    return;
  }
  CloseAliasDatabases();
  if (AfterSave) AfterSave();
  SetModalResult(mrOk);
}
