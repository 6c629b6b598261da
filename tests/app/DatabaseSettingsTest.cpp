// 資料庫設定 as a clerk or an administrator uses it, from the File menu: fields that are wrong are
// named and nothing is written; 測試連線 names what the database lacks; 建立資料表 makes md; 儲存
// writes only the alias's section, after the editors' changes went to the old database, and the
// editors read their mark from the new one. A server that never answers leaves the dialog
// answering and is given up on within 5 seconds. The server tests (named "Postgres") run on the
// throw-away PostgreSQL server, through both drivers.

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/ufmdbset.h"
#include "platform/controls/ToolBar.h"
#include "platform/db/DatabaseAliases.h"
#include "tests/app/MarkDialogsFixture.h"
#include "tests/app/PgScratch.h"

namespace {

namespace fs = std::filesystem;

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class DatabaseSettingsTest : public marks_test::MarkDialogsFixture {
 protected:
  // Replaces what the field holds with `text`, typed as a clerk types it.
  static void Type(TEdit* field, const std::string& text) {
    auto* edit = static_cast<QLineEdit*>(WindowWidget(field->Handle()));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, QString::fromStdString(text));
  }
  // Presses the button and waits for the connection's answer.
  void Press(Tfmdbset* dialog, TBitBtn* button) {
    ClickOn(button);
    EXPECT_TRUE(QTest::qWaitFor([dialog] { return !dialog->Busy(); }, Tfmdbset::kAnswerMs + 2000));
    Settle();
  }
  static std::string Said(Tfmdbset* dialog) { return dialog->ResultLabel->Caption(); }
  fs::path AliasFile() const { return windows_ / "dbalias.ini"; }
};

TEST_F(DatabaseSettingsTest, AClerkMovesTheMarksToAnotherSqliteFileAndTheEditorsFollow) {
  // An alias of another program before dbmd, in Big5, which the dialog leaves alone.
  const std::string others = "[ship]\r\nDriver=QODBC\r\nDatabase=\xB3\x66\xB9\x42\r\n\r\n";
  std::ofstream(AliasFile(), std::ios::binary | std::ios::trunc)
      << others << "[dbmd]\nDriver=QSQLITE\nDatabase=" << database_ << "\nPassword=old\n";
  const fs::path moved = windows_ / "moved" / "marks.db";
  fs::create_directories(moved.parent_path());
  fs::copy_file(database_, moved);  // md and VMD, as a company's copy would have them
  const fs::path fresh = windows_ / "fresh.db";

  Start();
  Tfmmd* main = Editor("0");
  ClickOn(main->b1);
  PlaceLabel(main, "PO/NO", 8, 8);
  main->DsnStage1->ElementsChanged();
  Settle();
  answers_ = {saYes};  // the unsaved label goes to the database it was read from

  WhenShown<Tfmdbset>([&](Tfmdbset* dialog) {
    EXPECT_EQ(dialog->Caption(), "資料庫設定");
    EXPECT_EQ(dialog->ComboDriver->ItemIndex(), 0);
    EXPECT_EQ(dialog->EditDatabase->Text(), database_);
    EXPECT_EQ(dialog->PasswordState->Caption(), "已設定");

    // A folder that cannot be written, and a file that is not there yet: named, nothing written.
    Type(dialog->EditDatabase, "/proc/marks.db");  // not even root writes there
    ClickOn(dialog->SaveButton);
    EXPECT_EQ(Said(dialog).rfind("檔案：資料夾「/proc」", 0), 0u) << Said(dialog);
    Type(dialog->EditDatabase, fresh.string());
    Press(dialog, dialog->TestButton);
    EXPECT_NE(Said(dialog).find("不存在"), std::string::npos) << Said(dialog);
    EXPECT_FALSE(fs::exists(fresh));
    // 建立資料表 makes the file with md; the view, which only the shipment system has, is named.
    ASSERT_TRUE(dialog->CreateButton->Enabled());
    Press(dialog, dialog->CreateButton);
    EXPECT_EQ(Said(dialog), "已建立資料表 md。資料庫仍缺少：檢視 VMD。");
    EXPECT_TRUE(fs::exists(fresh));
    EXPECT_FALSE(dialog->CreateButton->Enabled());

    // The company's copy: complete; saved with the password removed.
    Type(dialog->EditDatabase, moved.string());
    Press(dialog, dialog->TestButton);
    EXPECT_EQ(Said(dialog), "連線成功：資料表 md 與檢視 VMD 都齊全。");
    ClickOn(dialog->RemovePasswordButton);
    EXPECT_EQ(dialog->PasswordState->Caption(), "已設定（儲存時移除）");
    Press(dialog, dialog->SaveButton);
  });
  FileMenu("資料庫設定...");
  EXPECT_TRUE(warnings_.empty()) << warnings_.front();
  ASSERT_EQ(questions_.size(), 1u) << "the unsaved change was asked about";
  EXPECT_NE(StoredRow("C001", "M01", "0"), std::nullopt) << "saved to the database it was read from";

  EXPECT_EQ(FileBytes(AliasFile()), others + "[dbmd]\nDriver=QSQLITE\nDatabase=" + moved.string() + "\n");
  // The editors read their mark again, from the copy, which has no mark C001 M01.
  main = Editor("0");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->DsnStage1->ControlCount(), 0);
  EXPECT_FALSE(main->Modified());
  EXPECT_EQ(AliasSettings("dbmd").Database, moved.string());
}

// A server that accepts the connection and never answers: the dialog keeps answering, and within
// 5 seconds says so, naming the host and port; nothing is written.
TEST_F(DatabaseSettingsTest, AServerThatNeverAnswersIsGivenUpOnAndTheDialogKeepsAnswering) {
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(listen(listener, 4), 0);  // the kernel completes the handshake; nobody reads
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const std::string port = std::to_string(ntohs(address.sin_port));
  const std::string before = FileBytes(AliasFile());

  Start();
  WhenShown<Tfmdbset>([&](Tfmdbset* dialog) {
    dialog->ComboDriver->SetItemIndex(1);
    dialog->ComboDriverChange(nullptr);
    Type(dialog->EditDatabase, "marks");
    Type(dialog->EditHost, "127.0.0.1");
    Type(dialog->EditPort, "54x");
    ClickOn(dialog->SaveButton);
    EXPECT_EQ(Said(dialog), "連接埠：「54x」不是 1 到 65535 的數字。設定沒有儲存。");
    Type(dialog->EditPort, port);
    QElapsedTimer clock;
    clock.start();
    ClickOn(dialog->SaveButton);
    EXPECT_LT(clock.elapsed(), 1000) << "the press returned while the server is silent";
    EXPECT_TRUE(dialog->Busy());
    EXPECT_EQ(Said(dialog), "連線中…");
    EXPECT_TRUE(QTest::qWaitFor([dialog] { return !dialog->Busy(); }, Tfmdbset::kAnswerMs + 1000));
    EXPECT_LT(clock.elapsed(), Tfmdbset::kAnswerMs + 1000);
    EXPECT_NE(Said(dialog).find("在 5 秒內沒有回應"), std::string::npos) << Said(dialog);
    EXPECT_NE(Said(dialog).find("127.0.0.1"), std::string::npos) << Said(dialog);
    EXPECT_NE(Said(dialog).find("設定沒有儲存"), std::string::npos) << Said(dialog);
    ClickOn(dialog->CancelButton);
  });
  FileMenu("資料庫設定...");
  close(listener);
  EXPECT_EQ(FileBytes(AliasFile()), before);
}

// The same dialog on the server, through Qt's PostgreSQL driver and through ODBC: an empty database
// (md made there by 建立資料表 through Qt's driver; through ODBC nothing is offered) and one whose
// VMD lacks a column. The password stays where it was, in the clerk's alias file.
class DatabaseSettingsPostgresTest : public DatabaseSettingsTest {
 protected:
  void SetUp() override {
    DatabaseSettingsTest::SetUp();
    const char* server = marks_test::PgServerDir();
    if (!server) GTEST_SKIP() << "no PostgreSQL server given (CTest starts one)";
    fs::copy_file(fs::path(server) / "dbalias.ini", AliasFile(), fs::copy_options::overwrite_existing);
    odbc_ = FileBytes(fs::path(server) / "odbc.ini");
  }
  std::string odbc_;
};

TEST_F(DatabaseSettingsPostgresTest, BothDriversNameWhatIsMissingAndOnlyQtsDriverMakesMd) {
  using marks_test::PgSql;
  for (const char* database : {"settings_empty", "settings_partial"}) {
    PgSql(std::string("drop database if exists ") + database);
    ASSERT_EQ(PgSql(std::string("create database ") + database), 0);
  }
  ASSERT_EQ(PgSql("create table md (customerid varchar(20) not null, mdid varchar(20) not null, flag varchar(1) "
                  "not null, data bytea, primary key (customerid, mdid, flag)); create view \\\"VMD\\\" as select "
                  "'1'::varchar as \\\"PACKING單號\\\", '1'::varchar as \\\"出口文件單號\\\", '1'::varchar as "
                  "\\\"客戶編號\\\", '1'::varchar as \\\"SHIPFROM\\\", '1'::varchar as \\\"SHIPTO\\\", '1'::varchar as "
                  "\\\"VIA\\\", '1'::varchar as \\\"產品編號\\\", 1 as \\\"數量\\\", 1.0 as \\\"CUFT\\\", 1.0 as \\\"NW\\\"",
                  "settings_partial"),
            0);
  // The server's ODBC connection text, without its password.
  const size_t from = odbc_.find("Database=") + 9;
  std::string connection = odbc_.substr(from, odbc_.find("PWD=") - from);
  Start();
  WhenShown<Tfmdbset>([&](Tfmdbset* dialog) {
    EXPECT_EQ(dialog->ComboDriver->ItemIndex(), 1);
    EXPECT_EQ(dialog->PasswordState->Caption(), "已設定");
    dialog->ComboDriver->SetItemIndex(2);
    dialog->ComboDriverChange(nullptr);
    const std::string marks = "DATABASE=marks;";
    const size_t at = connection.find(marks);
    ASSERT_NE(at, std::string::npos) << connection;
    Type(dialog->EditDatabase, std::string(connection).replace(at, marks.size(), "DATABASE=settings_empty;"));
    Type(dialog->EditOptions, "");
    Press(dialog, dialog->TestButton);
    EXPECT_EQ(Said(dialog), "連線成功，但資料庫缺少：資料表 md、檢視 VMD。請資料庫管理者建立資料表 md。");
    EXPECT_FALSE(dialog->CreateButton->Enabled());
    Type(dialog->EditDatabase, connection + "ConnSettings=set search_path to dbo");
    Press(dialog, dialog->TestButton);
    EXPECT_EQ(Said(dialog), "連線成功：資料表 md 與檢視 VMD 都齊全。");

    dialog->ComboDriver->SetItemIndex(1);
    dialog->ComboDriverChange(nullptr);
    Type(dialog->EditDatabase, "settings_empty");
    Press(dialog, dialog->TestButton);
    EXPECT_EQ(Said(dialog), "連線成功，但資料庫缺少：資料表 md、檢視 VMD。按「建立資料表」建立 md。");
    Press(dialog, dialog->CreateButton);
    EXPECT_EQ(Said(dialog), "已建立資料表 md。資料庫仍缺少：檢視 VMD。");
    Type(dialog->EditDatabase, "settings_partial");
    Press(dialog, dialog->TestButton);
    EXPECT_EQ(Said(dialog), "連線成功，但資料庫缺少：檢視 VMD 的欄位 GW。");
    ClickOn(dialog->CancelButton);
  });
  FileMenu("資料庫設定...");
  EXPECT_EQ(PgSql("select 1 / count(*) from pg_tables where tablename = 'md'", "settings_empty"), 0)
      << "md was made in the empty database";
  CloseAliasDatabases();
  for (const char* database : {"settings_empty", "settings_partial"}) PgSql(std::string("drop database ") + database);
}

}  // namespace
