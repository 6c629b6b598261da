// Two clerks on one mark, each in a program of their own: the editor in this process and a second
// clerk in another (tests/support/MarkClerk.cpp, which saves through the mark store as the editor
// does). On SQLite, and through both drivers on the throw-away PostgreSQL server of
// scripts/pg-scratch.sh, which CTest starts for the tests named "Postgres". A save never replaces
// what the other clerk saved meanwhile unless the clerk here chooses to.

#include <QProcess>
#include <QProcessEnvironment>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/MarkStore.h"
#include "platform/controls/ToolBar.h"
#include "platform/stream/TextForm.h"
#include "app/ufmopen.h"
#include "platform/controls/Label.h"
#include "tests/app/MarkDialogsFixture.h"
#include "tests/app/PgScratch.h"

namespace {

namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A design of one label reading `caption`, as a clerk's editor saves it.
std::string DesignReading(const std::string& caption) {
  return TextToStream("object Label1: TLabel\n  Left = 16\n  Top = 16\n  Width = 80\n  Height = 24\n  AutoSize = False\n"
                      "  Caption = '" +
                      caption + "'\nend\n") +
         std::string(1, '\0');
}

// The second clerk's program, started on the mark of `side`: it reads the row at once and saves
// `design` when told to.
class Clerk {
 public:
  Clerk(const fs::path& windows, const std::string& side, const std::string& design, int holdMs = 0,
        const std::string& mark = "M01") {
    const fs::path file = windows / ("design-" + mark + side);
    std::ofstream(file, std::ios::binary) << design;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINDIR"), QString::fromStdString(windows.string()));
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{"C301", QString::fromStdString(mark), QString::fromStdString(side),
                          QString::fromStdString(file.string())};
    if (holdMs > 0) arguments << QString::number(holdMs);
    process_.start(QStringLiteral(MARKEDIT_CLERK), arguments);
    EXPECT_TRUE(process_.waitForStarted(30000));
  }
  ~Clerk() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(30000);
  }

  // The next line the clerk prints; empty once it has ended.
  std::string Line() {
    while (!process_.canReadLine())
      if (!process_.waitForReadyRead(30000)) break;
    return process_.readLine().trimmed().toStdString();
  }
  // Lets the clerk save.
  void Save() {
    process_.write("save\n");
    process_.waitForBytesWritten(30000);
  }

 private:
  QProcess process_;
};

class TwoClerksTest : public marks_test::MarkDialogsFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    MarkDialogsFixture::SetUp();
    if (HasFatalFailure()) return;
    clerkWindows_ = windows_ / "clerk";
    fs::create_directories(clerkWindows_);
    const std::string aliasFile = GetParam();
    if (aliasFile.empty()) {
      // Both programs reach one database file and wait for each other's lock, as the program does.
      const std::string alias = "[dbmd]\nDriver=QSQLITE\nDatabase=" + database_ + "\n";
      std::ofstream(windows_ / "dbalias.ini") << alias;
      std::ofstream(clerkWindows_ / "dbalias.ini") << alias;
    } else {
      const char* server = marks_test::PgServerDir();
      if (!server) GTEST_SKIP() << "no PostgreSQL server given (CTest starts one)";
      fs::copy_file(fs::path(server) / aliasFile, windows_ / "dbalias.ini", fs::copy_options::overwrite_existing);
      fs::copy_file(fs::path(server) / aliasFile, clerkWindows_ / "dbalias.ini");
      ASSERT_EQ(marks_test::PgSql("delete from dbo.md where customerid = 'C301'"), 0);
    }
    CloseAliasDatabases();
    SetCommandLineArguments({"C301", "M01"});
    expectedButtons_ = {"覆蓋", "載入對方的設定", "取消"};
  }
  void TearDown() override {
    SetWriteMarkHook(nullptr);
    MarkDialogsFixture::TearDown();
  }

  fs::path clerkWindows_;
};

TEST_P(TwoClerksTest, ALaterSaveAsksBeforeItReplacesTheOtherClerksDesign) {
  Start();
  Tfmmd* editor = Editor("0");
  ASSERT_NE(editor, nullptr);
  PlaceLabel(editor, "PO/NO", 8, 8);
  ClickOn(editor->b2);  // 儲存設定
  ASSERT_TRUE(warnings_.empty()) << warnings_.front();
  ASSERT_TRUE(ReadMark({"C301", "M01", "0"}));

  // The other clerk opens the same mark and saves a design of their own.
  const std::string theirs = DesignReading("THEIRS");
  {
    Clerk other(clerkWindows_, "0", theirs);
    EXPECT_TRUE(Contains(other.Line(), "loaded ")) << "the other clerk read the row";
    other.Save();
    EXPECT_EQ(other.Line(), "saved");
  }
  PlaceLabel(editor, "C/NO.", 8, 40);
  const std::vector<std::string> designed = Contents(editor);

  // Cancel: nothing is written, and the design stays on the stage.
  answers_ = {oaCancel};
  ClickOn(editor->b2);
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_TRUE(Contains(questions_[0], "正嘜的設定在這個視窗讀取之後，已被別人變更並儲存")) << questions_[0];
  EXPECT_EQ(ReadMark({"C301", "M01", "0"}), theirs);
  EXPECT_EQ(Contents(editor), designed);
  EXPECT_TRUE(editor->Modified());

  // Asked again, the clerk overwrites: the row is this editor's design.
  answers_ = {oaOverwrite};
  ClickOn(editor->b2);
  EXPECT_EQ(questions_.size(), 2u);
  EXPECT_FALSE(editor->Modified());
  const auto stored = ReadMark({"C301", "M01", "0"});
  EXPECT_TRUE(stored && *stored != theirs);
  // Saving again asks nothing: the row is what this editor wrote.
  PlaceLabel(editor, "N.W.", 8, 72);
  ClickOn(editor->b2);
  EXPECT_EQ(questions_.size(), 2u);
  EXPECT_FALSE(editor->Modified());
  EXPECT_TRUE(warnings_.empty()) << warnings_.front();
}

// The other clerk's save holds its transaction open while this editor saves the same mark: the
// editor waits for it and then asks, for a first save of both (their inserts clash on the key) as
// for a row both had read (the lock keeps the editor from reading the row before it changes).
TEST_P(TwoClerksTest, ASaveAtTheSameTimeAsAnotherWaitsAndAsks) {
  Start();
  Tfmmd* editor = Editor("1");
  ASSERT_NE(editor, nullptr);
  const std::string first = DesignReading("FIRST");
  {
    Clerk other(clerkWindows_, "1", first, 1500);
    EXPECT_EQ(other.Line(), "loaded none");
    PlaceLabel(editor, "PO/NO", 8, 8);
    other.Save();
    EXPECT_EQ(other.Line(), "written");
    answers_ = {oaLoadTheirs};
    ClickOn(editor->b2);  // 儲存設定, while the other save is not yet committed
    EXPECT_EQ(other.Line(), "saved");
  }
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_TRUE(Contains(questions_[0], "資料庫中已有別人儲存的側嘜設定")) << questions_[0];
  EXPECT_EQ(ReadMark({"C301", "M01", "1"}), first);
  EXPECT_EQ(Contents(editor), (std::vector<std::string>{"TLabel 16,16 80x24 'FIRST'"}));
  EXPECT_FALSE(editor->Modified());

  const std::string second = DesignReading("SECOND");
  {
    Clerk other(clerkWindows_, "1", second, 1500);
    EXPECT_EQ(other.Line(), "loaded " + std::to_string(first.size()));
    PlaceLabel(editor, "C/NO.", 8, 40);
    other.Save();
    EXPECT_EQ(other.Line(), "written");
    answers_ = {oaCancel};
    ClickOn(editor->b2);
    EXPECT_EQ(other.Line(), "saved");
  }
  ASSERT_EQ(questions_.size(), 2u);
  EXPECT_TRUE(Contains(questions_[1], "側嘜的設定在這個視窗讀取之後，已被別人變更並儲存")) << questions_[1];
  EXPECT_EQ(ReadMark({"C301", "M01", "1"}), second) << "the other clerk's design is not lost";
  EXPECT_EQ(editor->DsnStage1->ControlCount(), 2) << "nor is this one's";
  EXPECT_TRUE(editor->Modified());
  EXPECT_TRUE(warnings_.empty()) << warnings_.front();
}

// Save As onto a mark that exists, and Delete, each asks first; the other clerk saves that mark
// while the question waits. The answer then writes nothing: what the other clerk saved stays, and
// this clerk's changes stay in the editors.
TEST_P(TwoClerksTest, SaveAsAndDeleteLeaveWhatAnotherClerkSavedWhileTheyAsked) {
  WriteMark({"C301", "M02", "0"}, DesignReading("OLD"));
  Start();
  Tfmmd* editor = Editor("0");
  ASSERT_NE(editor, nullptr);
  PlaceLabel(editor, "PO/NO", 8, 8);
  const std::vector<std::string> designed = Contents(editor);
  const auto otherClerkSaves = [this](const std::string& caption) {
    return [this, caption] {
      Clerk other(clerkWindows_, "0", DesignReading(caption), 0, "M02");
      EXPECT_TRUE(Contains(other.Line(), "loaded "));
      other.Save();
      EXPECT_EQ(other.Line(), "saved");
    };
  };

  expectedButtons_ = {"是", "否"};
  answers_ = {0};
  whileAsked_ = otherClerkSaves("THEIRS");
  WhenShown<Tfmkey>([this](Tfmkey* dialog) { TypeNumbers(dialog, "C301", "M02"); });
  FileMenu("Save &As...");
  ASSERT_EQ(questions_.size(), 1u);
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_TRUE(Contains(warnings_[0], "在詢問之後已被別人變更，沒有寫入")) << warnings_[0];
  EXPECT_EQ(ReadMark({"C301", "M02", "0"}), DesignReading("THEIRS"));
  EXPECT_EQ(ReadMark({"C301", "M02", "1"}), std::nullopt);
  EXPECT_EQ(Editor("0"), editor) << "still on the mark it was";
  EXPECT_EQ(Contents(editor), designed);
  EXPECT_TRUE(editor->Modified());

  expectedButtons_ = {"刪除", "取消"};
  answers_ = {0};
  whileAsked_ = otherClerkSaves("NEWER");
  std::string told;
  WhenShown<Tfmopen>([this, &told](Tfmopen* dialog) {
    QTest::keyClicks(WindowWidget(dialog->Edit1->Handle()), "C301");
    ASSERT_EQ(dialog->Shown().size(), 1u);
    ClickOn(dialog->BitBtn4);
    told = dialog->Label2->Caption();
    EXPECT_EQ(dialog->Shown().size(), 1u) << "still listed";
    ClickOn(dialog->BitBtn2);
  });
  FileMenu("&Open");
  EXPECT_EQ(told, "這個嘜頭在詢問之後已被別人變更，沒有刪除。");
  EXPECT_EQ(ReadMark({"C301", "M02", "0"}), DesignReading("NEWER"));
  EXPECT_EQ(warnings_.size(), 1u);
}

// Tests are named after the driver the editor and the clerk use.
std::string DriverName(const ::testing::TestParamInfo<const char*>& info) {
  const std::string alias = info.param;
  return alias.empty() ? "QSQLITE" : alias == "odbc.ini" ? "QODBC" : "QPSQL";
}

INSTANTIATE_TEST_SUITE_P(SQLite, TwoClerksTest, ::testing::Values(""), DriverName);
INSTANTIATE_TEST_SUITE_P(OnPostgres, TwoClerksTest, ::testing::Values("dbalias.ini", "odbc.ini"), DriverName);

}  // namespace
