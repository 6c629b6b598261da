// Closing an editor, or the program, with unsaved changes asks whether to save them: 是 saves and
// closes (and stays open when the save fails), 否 closes without saving, 取消 keeps it all open.

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/Translations.h"
#include "platform/controls/ActnList.h"
#include "tests/app/MarkEditorFixture.h"

namespace {

using marks_test::MarkEditorTest;

TEST_F(MarkEditorTest, ClosingAnEditorWithChangesAsksFirst) {
  Start();
  Tfmmd* editor = Editor("0");
  PlaceLabel(editor, "PO/NO", 8, 8);

  answers_ = {saCancel};
  editor->Close();
  Settle();
  ASSERT_EQ(Editor("0"), editor);
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0], "正嘜的設定已變更，是否儲存？");
  EXPECT_EQ(editor->DsnStage1->ControlCount(), 1);
  EXPECT_FALSE(StoredRow("C001", "M01", "0"));

  answers_ = {saNo};
  editor->Close();
  Settle();
  EXPECT_EQ(Editor("0"), nullptr);
  EXPECT_FALSE(StoredRow("C001", "M01", "0"));

  // The side mark, answered yes: stored, then closed.
  Tfmmd* side = Editor("1");
  PlaceShape(side, triangle2, 8, 8);
  answers_ = {saYes};
  side->Close();
  Settle();
  EXPECT_EQ(Editor("1"), nullptr);
  EXPECT_EQ(questions_.size(), 3u);
  EXPECT_TRUE(StoredRow("C001", "M01", "1"));
  EXPECT_TRUE(warnings_.empty());
}

// In design mode, with an element selected (its handles on the stage), the question still sees
// only the design, and yes ends design mode before the design is stored.
TEST_F(MarkEditorTest, ClosingWhileDesigningAsksAboutTheDesignOnly) {
  Start();
  Tfmmd* editor = Editor("0");
  TLabel* label = PlaceLabel(editor, "PO/NO", 8, 8);
  ASSERT_TRUE(editor->SaveMark());
  editor->acedit->Execute();
  ASSERT_TRUE(editor->DsnStage1->DesignActive());
  ASSERT_NE(editor->DsnStage1->DsnRegister(), nullptr);
  editor->DsnStage1->DsnRegister()->SelectComponent(label);
  Settle();
  ASSERT_EQ(editor->DsnStage1->SelectedCount(), 1);
  EXPECT_FALSE(editor->Modified());
  EXPECT_EQ(editor->DsnStage1->SelectedItem(0), label) << "looking at the design keeps the selection";

  label->SetTop(40);
  editor->DsnStage1->ElementsChanged();  // as every command that changes an element does
  answers_ = {saYes};
  editor->Close();
  Settle();
  EXPECT_EQ(Editor("0"), nullptr);
  EXPECT_EQ(questions_.size(), 1u);
  EXPECT_TRUE(warnings_.empty());
  CloseAll();
  Start();
  ASSERT_EQ(Editor("0")->DsnStage1->ControlCount(), 1);
  EXPECT_EQ(Editor("0")->DsnStage1->Controls(0)->Top(), 40);
}

TEST_F(MarkEditorTest, ClosingAnUnchangedEditorAsksNothing) {
  Start();
  Tfmmd* editor = Editor("0");
  PlaceLabel(editor, "PO/NO", 8, 8);
  ASSERT_TRUE(editor->SaveMark());
  editor->Close();
  Settle();
  EXPECT_EQ(Editor("0"), nullptr);
  EXPECT_TRUE(questions_.empty());
}

TEST_F(MarkEditorTest, YesWithAFailingSaveKeepsTheEditorOpen) {
  Start();
  Tfmmd* editor = Editor("0");
  PlaceLabel(editor, "PO/NO", 8, 8);
  Exec(QStringLiteral("begin exclusive"));
  answers_ = {saYes};
  editor->Close();
  Settle();
  Exec(QStringLiteral("rollback"));
  EXPECT_EQ(Editor("0"), editor);
  EXPECT_EQ(warnings_.size(), 1u);
  EXPECT_TRUE(editor->Modified());
  EXPECT_FALSE(StoredRow("C001", "M01", "0"));
}

TEST_F(MarkEditorTest, ClosingTheProgramAsksEachChangedEditor) {
  Start();
  PlaceLabel(Editor("0"), "PO/NO", 8, 8);
  PlaceLabel(Editor("1"), "C/NO.", 8, 8);

  // Cancel on the first question keeps everything open and asks no more.
  answers_ = {saCancel};
  main_->Close();
  Settle();
  EXPECT_TRUE(main_->Showing());
  EXPECT_EQ(Editors().size(), 2u);
  EXPECT_EQ(questions_, (std::vector<std::string>{"正嘜的設定已變更，是否儲存？"}));

  // Yes for the main mark, cancel for the side mark: the main mark is stored, nothing closes.
  answers_ = {saYes, saCancel};
  main_->Close();
  Settle();
  EXPECT_TRUE(main_->Showing());
  EXPECT_TRUE(StoredRow("C001", "M01", "0"));
  EXPECT_FALSE(StoredRow("C001", "M01", "1"));
  EXPECT_FALSE(Editor("0")->Modified());

  // Now only the side mark has changes; no closes the program without storing it.
  questions_.clear();
  answers_ = {saNo};
  main_->Close();
  Settle();
  EXPECT_EQ(questions_, (std::vector<std::string>{"側嘜的設定已變更，是否儲存？"}));
  EXPECT_FALSE(main_->Showing());
  EXPECT_FALSE(StoredRow("C001", "M01", "1"));
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(MarkEditorTest, ProgramStaysOpenWhenASaveOnClosingFails) {
  Start();
  PlaceLabel(Editor("1"), "C/NO.", 8, 8);
  Exec(QStringLiteral("begin exclusive"));
  answers_ = {saYes};
  main_->Close();
  Settle();
  Exec(QStringLiteral("rollback"));
  EXPECT_TRUE(main_->Showing());
  EXPECT_EQ(warnings_.size(), 1u);
  EXPECT_EQ(Editors().size(), 2u);
}

// The real box: its buttons read 是, 否, 取消 in that order, and Escape cancels.
TEST(SaveQuestion, ShowsTheProgramsOwnButtons) {
  TestApp();
  InstallTranslations();  // as the program does before it shows a window
  std::vector<QString> labels;
  const auto answerWith = [&labels](const QString& label, bool escape) {
    QTimer::singleShot(0, [&labels, label, escape] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      labels.clear();
      for (QAbstractButton* button : box->buttons()) labels.push_back(button->text());
      if (escape) {
        QTest::keyClick(box, Qt::Key_Escape);
        return;
      }
      for (QAbstractButton* button : box->buttons())
        if (button->text() == label) return button->click();
      ADD_FAILURE() << "no button " << label.toStdString();
      QTest::keyClick(box, Qt::Key_Escape);
    });
  };
  answerWith(QStringLiteral("否"), false);
  EXPECT_EQ(AskToSave("正嘜的設定已變更，是否儲存？"), saNo);
  EXPECT_EQ(labels, (std::vector<QString>{QStringLiteral("是"), QStringLiteral("否"), QStringLiteral("取消")}));
  answerWith(QStringLiteral("是"), false);
  EXPECT_EQ(AskToSave("?"), saYes);
  answerWith(QString(), true);
  EXPECT_EQ(AskToSave("?"), saCancel);
}

}  // namespace
