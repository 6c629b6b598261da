// Marks opened from inside the program: the open dialog's filter and keys, the question about
// unsaved changes, the editors made anew on the mark chosen, and Ctrl+S.

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>

#include "app/ufmkey.h"
#include "app/MarkKeys.h"
#include "app/MarkPreview.h"
#include "app/ufmopen.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/Menus.h"
#include "design/select/DsnHistory.h"
#include "platform/controls/ToolBar.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/StatusBar.h"
#include "platform/rtl/StringList.h"
#include "tests/app/MarkDialogsFixture.h"
#include "tests/app/MarkPairChecks.h"

namespace {

class OpenMarkTest : public marks_test::MarkDialogsFixture {
 protected:
  // A key of the main window's menus, pressed while the clerk works on the main mark's stage.
  void MenuKey(Qt::Key key, Qt::KeyboardModifiers modifiers) { MarkDialogsFixture::MenuKey(Editor("0"), key, modifiers); }
  std::string StatusText(int panel) { return main_->StatusBar->Panels()->Items(panel)->Text(); }
};

TEST_F(OpenMarkTest, TheClerkFiltersOpensAnotherMarkAndIsAskedAboutChangesFirst) {
  Start();
  // Ctrl+S saves the main mark's new label, design mode stays on, and the status bar says so.
  Tfmmd* main = Editor("0");
  ClickOn(main->b1);
  PlaceLabel(main, "PO/NO", 8, 8);
  main->DsnStage1->ElementsChanged();
  Settle();
  MenuKey(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(StatusText(1), "已儲存正嘜");
  EXPECT_TRUE(main->DsnStage1->DesignActive());
  const std::string m01 = main->CurrentDesign();
  EXPECT_EQ(StoredRow("C001", "M01", "0"), m01);

  // Another mark stored meanwhile, by another program.
  StoreRow("C002", "M07", "1", "");
  StoreRow("C001", "M02", "0", m01);

  // An unsaved change, then Ctrl+O: the filter narrows the list as the clerk types, the arrow
  // moves in it, Enter opens; the change is discarded on the question.
  PlaceLabel(main, "N.W.", 8, 40);
  main->DsnStage1->ElementsChanged();
  Settle();
  answers_ = {saNo};
  WhenShown<Tfmopen>([](Tfmopen* dialog) {
    EXPECT_EQ(dialog->Caption(), "開啟嘜頭");
    ASSERT_EQ(dialog->Shown().size(), 3u);
    QWidget* filter = WindowWidget(dialog->Edit1->Handle());
    EXPECT_TRUE(filter->hasFocus()) << "the filter box has the focus";
    QTest::keyClicks(filter, "c00");
    EXPECT_EQ(dialog->Shown().size(), 3u);
    QTest::keyClicks(filter, "1");
    ASSERT_EQ(dialog->Shown().size(), 2u) << "C002 left out";
    EXPECT_EQ(dialog->ListBox1->Items()->Get(0), "C001    M01    正嘜");
    // The preview draws the highlighted mark: its label's dark text in the main mark's half.
    const QImage& picture = dialog->Preview->Picture();
    ASSERT_FALSE(picture.isNull());
    int dark = 0;
    for (int y = 24; y < picture.height() / 2; ++y)
      for (int x = 0; x < picture.width(); ++x) dark += qGray(picture.pixel(x, y)) < 150;
    EXPECT_GT(dark, 10) << "PO/NO drawn";
    QTest::keyClick(filter, Qt::Key_Down);
    EXPECT_EQ(dialog->ListBox1->ItemIndex(), 1);
    QTest::keyClick(filter, Qt::Key_Return);
  });
  MenuKey(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(questions_.size(), 1u) << "the unsaved change was asked about";
  EXPECT_EQ(main_->Caption(), "嘜頭編輯程式 客戶編號  C001 嘜頭編號  M02");
  ASSERT_EQ(Editors().size(), 2u);
  main = Editor("0");
  EXPECT_EQ(main->MarkId(), "M02");
  EXPECT_EQ(main->CurrentDesign(), m01) << "the design stored under M02";
  EXPECT_FALSE(main->Modified());
  EXPECT_FALSE(main->History()->CanUndo()) << "the history starts anew";
  EXPECT_EQ(StoredRow("C001", "M01", "0"), m01) << "the discarded change was not saved";

  // A change, then a mark chosen by double click: Cancel on the question keeps everything.
  ClickOn(main->b1);
  PlaceLabel(main, "Q'TY", 8, 70);
  main->DsnStage1->ElementsChanged();
  Settle();
  const std::string changed = main->CurrentDesign();
  answers_ = {saCancel};
  WhenShown<Tfmopen>([](Tfmopen* dialog) {
    marks_test::MarkDialogsFixture::DoubleClickLine(dialog->ListBox1, 2);
    EXPECT_EQ(dialog->Chosen()->CustomerId, "C002");
  });
  MenuKey(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(main_->Caption(), "嘜頭編輯程式 客戶編號  C001 嘜頭編號  M02");
  ASSERT_EQ(Editor("0"), main);
  EXPECT_EQ(main->CurrentDesign(), changed);
  EXPECT_TRUE(main->Modified());
}

TEST_F(OpenMarkTest, SaveAsNewAndDeleteKeepBothRowsTogetherAndWriteOnlyWhatTheClerkSaves) {
  Start();
  Tfmmd* main = Editor("0");
  PlaceLabel(main, "PO/NO", 8, 8);
  main->DsnStage1->ElementsChanged();
  Settle();
  const std::string design = main->CurrentDesign();
  const int rows = RowCount();

  // Save As: a number too long is refused in the dialog, which stays; then the numbers given,
  // blanks trimmed. The side mark, empty and never stored, writes no row.
  WhenShown<Tfmkey>([this](Tfmkey* dialog) {
    EXPECT_EQ(dialog->Caption(), "另存新嘜頭");
    TypeNumbers(dialog, "C00000000000000000009", "M01");  // 21 bytes
    EXPECT_TRUE(dialog->Showing());
    EXPECT_NE(dialog->Label3->Caption().find("最多 20 個位元組"), std::string::npos) << dialog->Label3->Caption();
    TypeNumbers(dialog, " C009 ", "M01");
  });
  FileMenu("Save &As...");
  EXPECT_EQ(StoredRow("C009", "M01", "0"), design);
  EXPECT_EQ(StoredRow("C009", "M01", "1"), std::nullopt);
  EXPECT_EQ(StoredRow("C001", "M01", "0"), std::nullopt) << "the mark saved from is untouched";
  EXPECT_EQ(main_->Caption(), "嘜頭編輯程式 客戶編號  C009 嘜頭編號  M01");
  main = Editor("0");
  EXPECT_EQ(main->CurrentDesign(), design);
  EXPECT_FALSE(main->Modified());

  // New on a key that has a mark offers to open it; 否 leaves all as it is.
  expectedButtons_ = {"是", "否"};
  answers_ = {1};
  WhenShown<Tfmkey>([this](Tfmkey* dialog) {
    EXPECT_EQ(dialog->Caption(), "新增嘜頭");
    TypeNumbers(dialog, "C009", "M01");
  });
  MenuKey(Qt::Key_N, Qt::ControlModifier);
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(Editor("0"), main);

  // New on a free key: both editors empty, nothing written. The customers to choose from are
  // those of table md and, read in the background, those of the shipment view.
  WhenShown<Tfmkey>([this](Tfmkey* dialog) {
    auto* combo = static_cast<QComboBox*>(WindowWidget(dialog->ComboBox1->Handle()));
    QTest::keyClicks(combo->lineEdit(), "C0");
    EXPECT_TRUE(QTest::qWaitFor([combo] { return combo->findText("C002") >= 0; })) << "C002 ships but has no mark";
    EXPECT_GE(combo->findText("C009"), 0);
    EXPECT_EQ(combo->lineEdit()->text(), "C0");
    TypeNumbers(dialog, "C010", "M05");
  });
  MenuKey(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(main_->Caption(), "嘜頭編輯程式 客戶編號  C010 嘜頭編號  M05");
  EXPECT_EQ(Editor("0")->DsnStage1->ControlCount(), 0);
  EXPECT_EQ(RowCount(), rows + 1);

  // Delete from the open dialog, after the question naming the mark and its side.
  expectedButtons_ = {"刪除", "取消"};
  answers_ = {0};
  WhenShown<Tfmopen>([this](Tfmopen* dialog) {
    QTest::keyClicks(WindowWidget(dialog->Edit1->Handle()), "C009");
    ASSERT_EQ(dialog->Shown().size(), 1u);
    ClickOn(dialog->BitBtn4);
    EXPECT_TRUE(dialog->Shown().empty()) << "the list no longer holds it";
    ClickOn(dialog->BitBtn2);
  });
  MenuKey(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(questions_.size(), 2u);
  EXPECT_NE(questions_[1].find("C009 的嘜頭編號 M01（正嘜）"), std::string::npos) << questions_[1];
  EXPECT_EQ(StoredRow("C009", "M01", "0"), std::nullopt);
  EXPECT_EQ(RowCount(), rows);
}

TEST_F(OpenMarkTest, TheFileMenuListsTheMarksOpenedLastAndWinIniKeepsItsOtherBytes) {
  // A win.ini line in Big5 of another program, which must come through untouched.
  const std::string big5Line = "[other]\nname=\xA4\xA4\xA4\xE5\n";
  std::ofstream(windows_ / "win.ini", std::ios::app) << big5Line;
  Start();
  StoreRow("C001", "M02", "0", "");
  EXPECT_TRUE(main_->OpenMark("C001", "M02"));
  Settle();
  EXPECT_TRUE(main_->OpenMark("C002", "M03"));
  Settle();
  auto* file = dynamic_cast<TMenuItem*>(main_->FindComponent("File1"));
  std::vector<std::string> listed;
  TMenuItem* second = nullptr;
  for (int i = 0; i < file->Count(); ++i)
    if (file->Items(i)->Caption().size() > 2 && file->Items(i)->Caption()[0] == '&' &&
        std::isdigit(static_cast<unsigned char>(file->Items(i)->Caption()[1]))) {
      listed.push_back(file->Items(i)->Caption());
      if (listed.size() == 2) second = file->Items(i);
    }
  EXPECT_EQ(listed, (std::vector<std::string>{"&1  C002  M03", "&2  C001  M02", "&3  C001  M01"}));
  ASSERT_NE(second, nullptr);
  second->Click();  // as the menu does when the clerk chooses it
  Settle();
  EXPECT_EQ(main_->Caption(), "嘜頭編輯程式 客戶編號  C001 嘜頭編號  M02");
  std::ifstream in(windows_ / "win.ini", std::ios::binary);
  const std::string ini((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(ini.find(big5Line), std::string::npos) << "the other program's line is byte for byte as it was";

  const std::string about = Tfmmain::AboutText();
  EXPECT_NE(about.find(std::string("Qt ") + qVersion()), std::string::npos) << about;
  EXPECT_NE(about.find("QSQLITE"), std::string::npos) << about;
}

TEST(NewMarkNumbers, AreTrimmedAndRefusedWhenBlankOutsideBig5OrOverTwentyBytes) {
  std::string number = "  C01 ";
  EXPECT_EQ(CheckNewMarkNumber(number, "客戶編號"), "");
  EXPECT_EQ(number, "C01");
  number = "台北十個中文字號碼甲";  // 10 characters: 20 bytes in Big5
  EXPECT_EQ(CheckNewMarkNumber(number, "嘜頭編號"), "");
  for (std::string bad : {std::string(" \t "), std::string("C01😀"), std::string("台北十個中文字號碼甲乙"), std::string("C\x01")}) {
    SCOPED_TRACE(bad);
    EXPECT_NE(CheckNewMarkNumber(bad, "客戶編號"), "");
  }
}

TEST_F(OpenMarkTest, MarksAreListedAndBothRowsOfAMarkChangeTogether) { marks_test::CheckMarkPairs(); }

}  // namespace
