// The editor's windows on the throw-away PostgreSQL server of scripts/pg-scratch.sh: a data text
// linked to a field of the server's view, saved and loaded again. CTest runs this with
// MARKEDIT_PG_DIR (the server's folder) set, after starting the server; without it it is skipped.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/MarkStore.h"
#include "mark/ufmfield.h"
#include "platform/controls/DBText.h"
#include "platform/controls/ToolBar.h"
#include "platform/db/DatabaseAliases.h"
#include "tests/app/MarkDialogsFixture.h"
#include "tests/app/PgScratch.h"

namespace {

namespace fs = std::filesystem;

class PostgresEditorTest : public marks_test::MarkDialogsFixture {
 protected:
  void TearDown() override {
    SetWriteMarkHook(nullptr);
    MarkDialogsFixture::TearDown();
  }

  void SetUp() override {
    MarkDialogsFixture::SetUp();
    const char* server = marks_test::PgServerDir();
    if (!server) GTEST_SKIP() << "no PostgreSQL server given (CTest starts one)";
    // The alias now reaches the server; the customer number is this test's own.
    fs::copy_file(fs::path(server) / "dbalias.ini", windows_ / "dbalias.ini", fs::copy_options::overwrite_existing);
    SetCommandLineArguments({"C201", "M01"});
    ASSERT_EQ(AliasSettings("dbmd").Driver, "QPSQL");
  }
};

TEST_F(PostgresEditorTest, ADataTextLinkedToAFieldIsSavedAndLoadedAgainFromPostgreSQL) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  EXPECT_TRUE(warnings_.empty()) << warnings_.front();
  ClickOn(side->b1);
  ClickOn(PaletteButton("連結"));
  DragOnStage(side, {20, 20}, {120, 44});
  ASSERT_EQ(Elements(side).size(), 1u);
  auto* text = dynamic_cast<TDBText*>(Elements(side)[0]);
  ASSERT_NE(text, nullptr);
  WhenShown<Tfmfield>([](Tfmfield* dialog) { DoubleClickLine(dialog->ListBox1, 7); });
  PressDataFieldButton(side);
  EXPECT_EQ(text->Caption(), "數量") << "the field list came from the server's view";
  ClickOn(side->b2);  // 儲存設定
  EXPECT_TRUE(warnings_.empty());

  CloseAll();
  Start();
  side = Editor("1");
  ASSERT_NE(side, nullptr);
  ASSERT_EQ(Elements(side).size(), 1u);
  auto* back = dynamic_cast<TDBText*>(Elements(side)[0]);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Caption(), "數量");
  EXPECT_EQ(back->DataField(), "數量");
  EXPECT_TRUE(warnings_.empty());
  EXPECT_TRUE(ReadMark({"C201", "M01", "1"})) << "the row is on the server";
}

TEST_F(PostgresEditorTest, TheServerDyingInTheMiddleOfASaveIsSaidAndLosesNothing) {
  Start();
  Tfmmd* editor = Editor("0");
  ASSERT_NE(editor, nullptr);
  PlaceLabel(editor, "PO/NO", 8, 8);
  ASSERT_TRUE(editor->SaveMark());
  const auto stored = ReadMark({"C201", "M01", "0"});
  PlaceLabel(editor, "C/NO.", 8, 40);
  marks_test::KillServerBeforeCommit();
  ClickOn(editor->b2);  // 儲存設定
  SetWriteMarkHook(nullptr);
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find("無法儲存正嘜的設定"), std::string::npos) << warnings_[0];
  EXPECT_NE(warnings_[0].find("無法連上資料庫"), std::string::npos) << warnings_[0];
  EXPECT_EQ(editor->DsnStage1->ControlCount(), 2) << "the design stays on the stage";
  EXPECT_TRUE(editor->Modified());
  ASSERT_EQ(marks_test::PgScratch("revive"), 0);
  CloseAliasDatabases();
  EXPECT_EQ(ReadMark({"C201", "M01", "0"}), stored) << "the old mark, not a mix";
  EXPECT_TRUE(editor->SaveMark()) << "and the next save works";
  EXPECT_NE(ReadMark({"C201", "M01", "0"}), stored);
}

}  // namespace
