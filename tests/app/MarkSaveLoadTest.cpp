// The mark editor keeps its marks in the table md: a saved design comes back in the next run,
// each side and each mark number apart, and a failure neither loses the design on the stage nor
// the row in the database.

#include <QSqlDatabase>
#include <QSqlQuery>

#include "app/MarkStore.h"
#include "platform/controls/ActnList.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/Stream.h"
#include "tests/app/MarkEditorFixture.h"

namespace {

using marks_test::MarkEditorTest;
namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(MarkEditorTest, SavedMarkComesBackInTheNextRun) {
  Start();
  Tfmmd* editor = Editor("0");
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->DsnStage1->ControlCount(), 0);
  PlaceLabel(editor, "MADE IN TAIWAN", 8, 16);
  PlaceShape(editor, triangle1, 120, 40);
  PlaceDBText(editor, "客戶編號", 16, 120);
  const std::vector<std::string> designed = Contents(editor);
  EXPECT_TRUE(editor->Modified());
  editor->acsavemd->Execute();
  EXPECT_TRUE(warnings_.empty()) << warnings_.front();
  EXPECT_FALSE(editor->Modified());
  EXPECT_EQ(Contents(editor), designed);

  CloseAll();
  Start();
  editor = Editor("0");
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(Contents(editor), designed);
  EXPECT_EQ(editor->DsnStage1->ControlCount(), 3);
  // What was loaded, once the window has painted and the loading messages have run, is no change.
  Settle();
  EXPECT_FALSE(editor->Modified());
  EXPECT_EQ(Editor("1")->DsnStage1->ControlCount(), 0);
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(MarkEditorTest, SidesAndMarkNumbersKeepTheirOwnRows) {
  Start();
  PlaceLabel(Editor("0"), "PO/NO", 8, 8);
  PlaceLabel(Editor("1"), "C/NO.", 30, 60);
  PlaceShape(Editor("1"), eclipse, 100, 8);
  const std::vector<std::string> mainMark = Contents(Editor("0"));
  const std::vector<std::string> sideMark = Contents(Editor("1"));
  Editor("0")->acsavemd->Execute();
  Editor("1")->acsavemd->Execute();
  EXPECT_EQ(RowCount(), 2);
  EXPECT_TRUE(StoredRow("C001", "M01", "0"));
  EXPECT_TRUE(StoredRow("C001", "M01", "1"));
  EXPECT_NE(StoredRow("C001", "M01", "0"), StoredRow("C001", "M01", "1"));

  CloseAll();
  Start();
  EXPECT_EQ(Contents(Editor("0")), mainMark);
  EXPECT_EQ(Contents(Editor("1")), sideMark);

  // Another mark number of the same customer starts empty and stores beside them.
  CloseAll();
  SetCommandLineArguments({"C001", "M02"});
  Start();
  EXPECT_EQ(Editor("0")->DsnStage1->ControlCount(), 0);
  EXPECT_EQ(Editor("1")->DsnStage1->ControlCount(), 0);
  EXPECT_EQ(Editor("0")->MarkId(), "M02");
  PlaceLabel(Editor("0"), "N.W.", 8, 8);
  Editor("0")->acsavemd->Execute();
  EXPECT_EQ(RowCount(), 3);
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(MarkEditorTest, SavingAgainReplacesTheRow) {
  Start();
  Tfmmd* editor = Editor("0");
  TLabel* label = PlaceLabel(editor, "PO/NO", 8, 8);
  editor->acsavemd->Execute();
  const auto first = StoredRow("C001", "M01", "0");
  // Changed by code, which tells the stage as the program's own commands do.
  label->SetLeft(64);
  editor->DsnStage1->ElementsChanged();
  EXPECT_TRUE(editor->Modified());
  editor->acsavemd->Execute();
  EXPECT_EQ(RowCount(), 1);
  EXPECT_NE(StoredRow("C001", "M01", "0"), first);
  // Emptying the stage stores the empty design: one end marker.
  label->Free();
  editor->acsavemd->Execute();
  EXPECT_EQ(StoredRow("C001", "M01", "0"), std::string(1, '\0'));
  CloseAll();
  Start();
  EXPECT_EQ(Editor("0")->DsnStage1->ControlCount(), 0);
  EXPECT_TRUE(warnings_.empty());
}

// Design mode is ended through the edit command before the design is written.
TEST_F(MarkEditorTest, SaveEndsDesignModeBeforeWriting) {
  Start();
  Tfmmd* editor = Editor("0");
  PlaceLabel(editor, "PO/NO", 8, 8);
  int edits = 0;
  std::optional<std::string> rowAtEdit;
  editor->acedit->OnExecute.Bind([&](TObject*) {
    ++edits;
    rowAtEdit = StoredRow("C001", "M01", "0");
    editor->DsnStage1->SetDesignActive(false);
  });
  editor->acsavemd->Execute();
  EXPECT_EQ(edits, 0);  // design mode was off
  const auto first = StoredRow("C001", "M01", "0");
  ASSERT_TRUE(first);
  editor->DsnStage1->SetDesignActive(true);
  PlaceLabel(editor, "C/NO.", 8, 40);
  editor->acsavemd->Execute();
  EXPECT_EQ(edits, 1);
  EXPECT_EQ(rowAtEdit, first) << "design mode ended before the new design was written";
  EXPECT_FALSE(editor->DsnStage1->DesignActive());
  EXPECT_NE(StoredRow("C001", "M01", "0"), first);
}

TEST_F(MarkEditorTest, FailedSaveKeepsDesignAndRowAndSaysWhy) {
  Start();
  Tfmmd* editor = Editor("0");
  PlaceLabel(editor, "PO/NO", 8, 8);
  editor->acsavemd->Execute();
  const auto stored = StoredRow("C001", "M01", "0");
  ASSERT_TRUE(stored);
  PlaceShape(editor, square2, 60, 60);
  const std::vector<std::string> designed = Contents(editor);

  // Another program holds the database for writing.
  Exec(QStringLiteral("begin exclusive"));
  EXPECT_FALSE(editor->SaveMark());
  Exec(QStringLiteral("rollback"));
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_TRUE(Contains(warnings_[0], "無法儲存正嘜的設定")) << warnings_[0];
  EXPECT_TRUE(Contains(warnings_[0], "locked")) << warnings_[0];
  EXPECT_EQ(Contents(editor), designed);
  EXPECT_TRUE(editor->Modified());
  EXPECT_EQ(StoredRow("C001", "M01", "0"), stored);

  // The lock gone, the same command stores the design.
  EXPECT_TRUE(editor->SaveMark());
  EXPECT_FALSE(editor->Modified());
  EXPECT_NE(StoredRow("C001", "M01", "0"), stored);
  EXPECT_EQ(warnings_.size(), 1u);
}

// Started without a customer or a mark number the editors open, but every such start would share
// one row keyed by empty numbers: saving is refused and said, also when closing asks to save.
TEST_F(MarkEditorTest, WithoutCustomerOrMarkNumberNothingIsSaved) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, std::vector<std::string>{"C001"}, std::vector<std::string>{" ", "M01"}}) {
    SetCommandLineArguments(arguments);
    Start();
    Tfmmd* editor = Editor("0");
    ASSERT_NE(editor, nullptr);
    PlaceLabel(editor, "PO/NO", 8, 8);
    editor->acsavemd->Execute();
    ASSERT_EQ(warnings_.size(), 1u);
    EXPECT_TRUE(Contains(warnings_[0], "沒有指定客戶編號或嘜頭編號，正嘜的設定無法儲存")) << warnings_[0];
    EXPECT_TRUE(editor->Modified());
    answers_ = {saYes};
    editor->Close();
    Settle();
    EXPECT_EQ(Editor("0"), editor) << "the unsaved design stays open";
    EXPECT_EQ(warnings_.size(), 2u);
    EXPECT_EQ(RowCount(), 0);
    CloseAll();
    warnings_.clear();
  }
}

// A failure inside the transaction, once the row is locked, must leave the old row.
TEST_F(MarkEditorTest, SaveFailingInsideItsTransactionRollsBack) {
  Start();
  Tfmmd* editor = Editor("1");
  PlaceLabel(editor, "R.O.C.", 8, 8);
  ASSERT_TRUE(editor->SaveMark());
  const auto stored = StoredRow("C001", "M01", "1");
  Exec(QStringLiteral("create trigger md_refuse before update of data on md begin select raise(abort, 'refused'); end"));
  PlaceLabel(editor, "Q'TY", 8, 40);
  EXPECT_FALSE(editor->SaveMark());
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_TRUE(Contains(warnings_[0], "無法儲存側嘜的設定")) << warnings_[0];
  EXPECT_TRUE(Contains(warnings_[0], "refused")) << warnings_[0];
  EXPECT_EQ(StoredRow("C001", "M01", "1"), stored);
  EXPECT_EQ(editor->DsnStage1->ControlCount(), 2);
  // Nothing of the failed transaction is left open to block the next save.
  Exec(QStringLiteral("drop trigger md_refuse"));
  EXPECT_TRUE(editor->SaveMark());
  EXPECT_NE(StoredRow("C001", "M01", "1"), stored);
}

// A database file removed while the editor is open is not written through the old connection.
TEST_F(MarkEditorTest, AnAliasThatIsNotThereIsSaidWithWhereToSetItUp) {
  try {
    ReadMark({"C001", "M01", "0"}, "nosuchalias");
    ADD_FAILURE() << "read without an alias";
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.Kind(), TDatabaseFailure::AliasMissing);
    EXPECT_TRUE(Contains(DatabaseAdvice(error), "「資料庫設定」")) << DatabaseAdvice(error);
  }
}

TEST_F(MarkEditorTest, AMissingMarkTableIsSaidWithWhatToDo) {
  Exec(QStringLiteral("alter table md rename to md_away"));
  Start();
  ASSERT_EQ(warnings_.size(), 2u);
  EXPECT_TRUE(Contains(warnings_[0], "資料庫中缺少資料表 md")) << warnings_[0];
  EXPECT_TRUE(Contains(warnings_[0], "no such table")) << warnings_[0];
}

TEST_F(MarkEditorTest, SaveToADatabaseThatIsGoneFails) {
  Start();
  Tfmmd* editor = Editor("0");
  PlaceLabel(editor, "PO/NO", 8, 8);
  ASSERT_TRUE(editor->SaveMark());
  PlaceLabel(editor, "C/NO.", 8, 40);
  fs::rename(database_, database_ + ".moved");
  EXPECT_FALSE(editor->SaveMark());
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_TRUE(Contains(warnings_[0], "不存在")) << warnings_[0];
  EXPECT_TRUE(editor->Modified());
  EXPECT_EQ(editor->DsnStage1->ControlCount(), 2);
}

struct Damage {
  const char* name;
  std::string (*make)(const std::string& good);
};

void PrintTo(const Damage& damage, std::ostream* os) { *os << damage.name; }

class DamagedRow : public MarkEditorTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedRow, OpensEmptySaysWhyAndLeavesTheRow) {
  // A good design of two elements, then damaged.
  Start();
  PlaceLabel(Editor("0"), "PO/NO", 8, 8);
  PlaceLabel(Editor("0"), "C/NO.", 8, 40);
  ASSERT_TRUE(Editor("0")->SaveMark());
  PlaceLabel(Editor("1"), "N.W.", 8, 8);
  ASSERT_TRUE(Editor("1")->SaveMark());
  CloseAll();
  const std::string damaged = GetParam().make(*StoredRow("C001", "M01", "0"));
  StoreRow("C001", "M01", "0", damaged);

  Start();
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_TRUE(Contains(warnings_[0], "無法讀取正嘜的設定")) << warnings_[0];
  EXPECT_EQ(Editor("0")->DsnStage1->ControlCount(), 0);
  EXPECT_FALSE(Editor("0")->Modified());
  // The other side is not affected.
  EXPECT_EQ(Editor("1")->DsnStage1->ControlCount(), 1);
  // Closing the untouched editor asks nothing and leaves the row.
  Editor("0")->Close();
  Settle();
  EXPECT_EQ(Editor("0"), nullptr);
  EXPECT_TRUE(questions_.empty());
  EXPECT_EQ(StoredRow("C001", "M01", "0"), damaged);
}

INSTANTIATE_TEST_SUITE_P(
    MarkEditorTest, DamagedRow,
    ::testing::Values(Damage{"CutShort", [](const std::string& good) { return good.substr(0, good.size() - 9); }},
                      Damage{"Garbage", [](const std::string&) { return std::string("TPF0\x7f\xff garbage", 14); }},
                      Damage{"UnknownClass",
                             [](const std::string& good) {
                               std::string bad = good;
                               const size_t at = bad.rfind("TLabel");
                               bad.replace(at, 6, "TXabel");
                               return bad;
                             }},
                      Damage{"NotAStream", [](const std::string&) { return std::string("hello"); }}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

TEST_F(MarkEditorTest, UnreachableDatabaseOpensEmptyEditorsAndSaysSo) {
  fs::remove(database_);
  Start();
  ASSERT_EQ(warnings_.size(), 2u);
  EXPECT_TRUE(Contains(warnings_[0], "無法讀取正嘜的設定")) << warnings_[0];
  EXPECT_TRUE(Contains(warnings_[1], "無法讀取側嘜的設定")) << warnings_[1];
  EXPECT_TRUE(Contains(warnings_[0], "不存在")) << warnings_[0];
  EXPECT_TRUE(Contains(warnings_[0], "無法連上資料庫：請確認")) << "what to do comes first: " << warnings_[0];
  EXPECT_EQ(Editor("0")->DsnStage1->ControlCount(), 0);
  // The database is not made again behind the user's back.
  PlaceLabel(Editor("0"), "PO/NO", 8, 8);
  EXPECT_FALSE(Editor("0")->SaveMark());
  EXPECT_FALSE(fs::exists(database_));
}

// The store itself, without windows: keys are exact, and a null data reads as an empty design.
TEST_F(MarkEditorTest, StoreReadsExactKeysAndNullData) {
  WriteMark({"C001", "M01", "0"}, std::string("\0\1\2", 3));
  EXPECT_EQ(ReadMark({"C001", "M01", "0"}), std::string("\0\1\2", 3));
  EXPECT_EQ(ReadMark({"C001", "M01", "1"}), std::nullopt);
  EXPECT_EQ(ReadMark({"C001 ", "M01", "0"}), std::nullopt);
  EXPECT_EQ(ReadMark({"c001", "M01", "0"}), std::nullopt);
  Exec(QStringLiteral("insert into md (customerid, mdid, flag) values ('C002', 'M01', '0')"));
  EXPECT_EQ(ReadMark({"C002", "M01", "0"}), std::string());
  EXPECT_EQ(MarkSideName("0"), "正嘜");
  EXPECT_EQ(MarkSideName("1"), "側嘜");
}

}  // namespace
