// The main window as a user starts it: caption and status bar, data folder, the palette, and the
// two mark editors inside the frame.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/ProgramGlyphs.h"
#include "app/Translations.h"
#include "app/UPub.h"
#include "app/ufmmain.h"
#include "app/ufmmd.h"
#include "design/palette/DsnPanel.h"
#include "mark/shape2.h"
#include "platform/controls/Application.h"
#include "platform/controls/DBText.h"
#include "platform/controls/ImgList.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StatusBar.h"
#include "platform/controls/StdControls.h"
#include "platform/controls/ToolBar.h"
#include "platform/db/DataControls.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Glyphs.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Windows.h"
#include "tests/support/QtApp.h"

namespace {

namespace fs = std::filesystem;

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    RegisterStandardControls();
    RegisterDataControls();
    RegisterPaletteClasses();
    RegisterProgramGlyphs();
    InstallTranslations();
    windows_ = fs::temp_directory_path() / ("markedit-main-" + std::to_string(getpid()));
    fs::create_directories(windows_);
    const char* old = std::getenv("WINDIR");
    if (old) savedWindir_ = old;
    setenv("WINDIR", windows_.c_str(), 1);
    data_ = windows_ / "data";
    fs::create_directories(data_);
    WriteDataPath(data_.string());
    SetCommandLineArguments({"C001", "M01"});
    NewLabelCaption.clear();
    // No mark database is configured here: each editor says so when it opens.
    SetMessageBoxHook([this](const std::string& text, const std::string&, UINT) {
      warnings_.push_back(text);
      return IDOK;
    });
  }

  void TearDown() override {
    CloseAll();
    SetMessageBoxHook({});
    DataPath.clear();
    NewLabelCaption.clear();
    EditorCustomerId.clear();
    EditorMarkId.clear();
    EditorMarkSide.clear();
    if (savedWindir_.empty()) unsetenv("WINDIR");
    else setenv("WINDIR", savedWindir_.c_str(), 1);
    fs::remove_all(windows_);
  }

  void WriteDataPath(const std::string& path) {
    std::ofstream(windows_ / "win.ini") << "[tavrix]\ndatapath=" << path << "\n";
  }

  // Creates and shows the main window as the program does; the editors open when it is shown.
  Tfmmain* Start() {
    main_ = New<Tfmmain>(ApplicationInstance());
    main_->Show();
    QApplication::processEvents();
    return main_;
  }

  std::vector<Tfmmd*> Editors() const {
    std::vector<Tfmmd*> editors;
    for (int i = 0; main_ && i < main_->MDIChildCount(); ++i)
      if (auto* editor = dynamic_cast<Tfmmd*>(main_->MDIChildren(i))) editors.push_back(editor);
    return editors;
  }

  void CloseAll() {
    for (Tfmmd* editor : Editors()) editor->Free();
    FreeAndNil(main_);
    QApplication::processEvents();
  }

  TControl* Button(const std::string& name) const {
    return dynamic_cast<TControl*>(main_->FindComponent(name));
  }

  fs::path windows_;
  fs::path data_;
  std::string savedWindir_;
  Tfmmain* main_ = nullptr;
  std::vector<std::string> warnings_;
};

TEST_F(MainWindow, CaptionAndStatusBarShowCustomerAndMarkNumbers) {
  Start();
  EXPECT_EQ(main_->Caption(), "嘜頭編輯程式 客戶編號  C001 嘜頭編號  M01");
  EXPECT_EQ(main_->StatusBar->Panels()->Items(0)->Text(), " 客戶編號  C001 嘜頭編號  M01");
  EXPECT_EQ(main_->StatusBar->Font()->Size(), 12);
  // The whole text shows: its label is as wide as the text needs.
  QLabel* numbers = nullptr;
  for (QLabel* label : WindowWidget(main_->StatusBar->Handle())->findChildren<QLabel*>())
    if (label->text().toStdString() == main_->StatusBar->Panels()->Items(0)->Text()) numbers = label;
  ASSERT_NE(numbers, nullptr);
  EXPECT_GE(numbers->contentsRect().width(), numbers->fontMetrics().horizontalAdvance(numbers->text()));
  EXPECT_EQ(main_->WindowState(), wsMaximized);
  EXPECT_TRUE(WindowWidget(main_->Handle())->window()->isMaximized());
}

TEST_F(MainWindow, MissingArgumentsLeaveTheNumbersEmpty) {
  SetCommandLineArguments({});
  Start();
  EXPECT_EQ(main_->Caption(), "嘜頭編輯程式 客戶編號   嘜頭編號  ");
  EXPECT_EQ(main_->StatusBar->Panels()->Items(0)->Text(), " 客戶編號   嘜頭編號  ");
  EXPECT_EQ(Editors().size(), 2u);
  EXPECT_EQ(EditorCustomerId, "");
  EXPECT_EQ(EditorMarkId, "");
}

TEST_F(MainWindow, DataPathWithOrWithoutDelimiterGivesTheSameFolder) {
  for (const std::string& configured : {data_.string(), data_.string() + "/"}) {
    SCOPED_TRACE(configured);
    fs::remove_all(data_ / "mdfile");
    WriteDataPath(configured);
    Start();
    EXPECT_EQ(DataPath, data_.string() + "/");
    EXPECT_TRUE(fs::is_directory(data_ / "mdfile"));
    CloseAll();
  }
}

TEST_F(MainWindow, UnconfiguredDataPathIsTheLoneDelimiterAndCreatesNothing) {
  std::ofstream(windows_ / "win.ini") << "[other]\nkey=1\n";
  const bool existed = fs::exists("/mdfile");
  Start();
  EXPECT_EQ(DataPath, "/");
  // Nothing is made at the root of the file system (these tests may run as root).
  if (!existed) {
    EXPECT_FALSE(fs::exists("/mdfile"));
  }
}

TEST_F(MainWindow, NumbersOutsideTheCodePageShowAsGiven) {
  SetCommandLineArguments({"Ä😀C", "ñ"});
  Start();
  EXPECT_EQ(main_->Caption(), "嘜頭編輯程式 客戶編號  Ä😀C 嘜頭編號  ñ");
  EXPECT_EQ(main_->StatusBar->Panels()->Items(0)->Text(), " 客戶編號  Ä😀C 嘜頭編號  ñ");
}

TEST_F(MainWindow, PaletteButtonsCarryTheirTextsAndStartDisabled) {
  Start();
  const std::vector<std::string> texts = {"PO/NO", "DESTINATION",    "ITEM NO.", "C/NO.", "N.W.",
                                          "ITEM MAIN DESC", "MADE IN TAIWAN", "R.O.C.", "Q'TY"};
  for (size_t i = 0; i < texts.size(); ++i) {
    TControl* button = Button("b" + std::to_string(i));
    ASSERT_NE(button, nullptr) << i;
    EXPECT_EQ(button->Caption(), texts[i]);
    EXPECT_EQ(button->Top(), 182 + 24 * static_cast<int>(i));
  }
  EXPECT_EQ(main_->DsnButton6->Caption(), "A");
  EXPECT_EQ(main_->ed1->Caption(), "連結");
  std::vector<TControl*> all = {main_->ArrowButton1, main_->DsnButton1, main_->DsnButton2,
                                main_->DsnButton3,   main_->DsnButton4, main_->DsnButton5,
                                main_->DsnButton6,   main_->ed1};
  for (int i = 0; i < 9; ++i) all.push_back(Button("b" + std::to_string(i)));
  for (TControl* button : all) EXPECT_FALSE(button->Enabled()) << button->Name();
  for (TSpeedButton* glyphed : {static_cast<TSpeedButton*>(main_->ArrowButton1),
                                static_cast<TSpeedButton*>(main_->DsnButton1),
                                static_cast<TSpeedButton*>(main_->DsnButton5)})
    EXPECT_TRUE(GlyphExists(glyphed->GlyphName())) << glyphed->Name();
  EXPECT_EQ(main_->DsnPanel1->Align(), alLeft);
  // The prototypes lie outside the visible client area.
  EXPECT_LE(main_->DsnDpstPanel->Left() + main_->DsnDpstPanel->Width(), 0);
  EXPECT_LE(main_->DsnDpstPanel->Top() + main_->DsnDpstPanel->Height(), 0);
}

TEST_F(MainWindow, DesignModeBindsEachButtonToItsPrototypeByName) {
  Start();
  TDsnPanel* palette = main_->DsnPanel1;
  palette->SetArrowButton(main_->ArrowButton1);
  main_->ArrowButton1->SetPalette(palette);
  palette->SetActive(true);
  EXPECT_TRUE(main_->ArrowButton1->Down());
  const std::vector<std::pair<TDsnButton*, TComponent*>> bindings = {
      {main_->DsnButton1, main_->Dpst_tshape2},     {main_->DsnButton2, main_->Dpst_tshape2X},
      {main_->DsnButton3, main_->Dpst_tshape2XX},   {main_->DsnButton4, main_->Dpst_tshape2XXX},
      {main_->DsnButton5, main_->Dpst_tshape2XXXX}, {main_->DsnButton6, main_->Dpst_TLabel},
      {static_cast<TDsnButton*>(Button("b8")), main_->Dpst_TLabel}, {main_->ed1, main_->Dpst_TDBText}};
  for (const auto& [button, prototype] : bindings) {
    ASSERT_NE(prototype, nullptr);
    EXPECT_EQ(button->Gene(), prototype) << button->Name();
    EXPECT_TRUE(button->Enabled()) << button->Name();
  }
  // The five shape prototypes draw the five figures.
  const std::vector<std::pair<tshape2*, tkind>> kinds = {{main_->Dpst_tshape2, square1},
                                                         {main_->Dpst_tshape2X, square2},
                                                         {main_->Dpst_tshape2XX, triangle1},
                                                         {main_->Dpst_tshape2XXX, eclipse},
                                                         {main_->Dpst_tshape2XXXX, triangle2}};
  for (const auto& [prototype, kind] : kinds) {
    EXPECT_EQ(prototype->kind(), kind) << prototype->Name();
    EXPECT_EQ(prototype->penwidth(), 3);
    EXPECT_TRUE(prototype->Transparent());
    EXPECT_EQ(prototype->Font()->Height(), -16);
  }
  EXPECT_EQ(main_->Dpst_TLabel->Caption(), "Label1");
  palette->SetActive(false);
  EXPECT_FALSE(main_->DsnButton1->Enabled());
}

TEST_F(MainWindow, KeepsTheMarkSchemaAsText) {
  Start();
  EXPECT_EQ(main_->ListBox1->Items()->Strings(0), "CREATE TABLE [dbo].[md] (");
  EXPECT_EQ(main_->ListBox2->Items()->Strings(0), "ALTER TABLE [dbo].[md] WITH NOCHECK ADD ");
  EXPECT_EQ(main_->ListBox3->Items()->Strings(0), "CREATE VIEW dbo.VMD");
  EXPECT_FALSE(main_->ListBox3->Visible());
}

TEST_F(MainWindow, LabelButtonsRememberTheirCaptionForTheNextLabel) {
  Start();
  EXPECT_EQ(NewLabelCaption, "");
  // Design mode enables the palette; then a click on b3 is a click on "C/NO.".
  main_->DsnPanel1->SetArrowButton(main_->ArrowButton1);
  main_->DsnPanel1->SetActive(true);
  TControl* b3 = Button("b3");
  QWidget* palette = WindowWidget(main_->DsnPanel1->Handle());
  QTest::mouseClick(palette->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    palette->mapTo(palette->window(), QPoint(b3->Left() + 10, b3->Top() + 10)));
  EXPECT_EQ(NewLabelCaption, "C/NO.");
  main_->DsnPanel1->SetActive(false);
}

TEST_F(MainWindow, OpensTheMainAndTheSideMarkEditors) {
  Start();
  std::vector<Tfmmd*> editors = Editors();
  ASSERT_EQ(editors.size(), 2u);
  // The frame lists its children in creation order: the main mark first.
  EXPECT_EQ(editors[0]->MarkSide(), "0");
  EXPECT_EQ(editors[0]->Label2->Caption(), "正嘜");
  EXPECT_EQ(editors[1]->MarkSide(), "1");
  std::vector<std::string> titles, sides;
  for (Tfmmd* editor : editors) {
    titles.push_back(editor->Label2->Caption());
    sides.push_back(editor->MarkSide());
    EXPECT_EQ(editor->BorderStyle(), bsNone);
    EXPECT_TRUE(editor->Showing());
    EXPECT_EQ(editor->b1->Caption(), "編輯模式");
    EXPECT_EQ(editor->b2->Caption(), "儲存設定");
    EXPECT_EQ(editor->ToolBar1->Images(), main_->ImageList1);
    EXPECT_EQ(editor->DsnStage1->Color(), clWhite);
  }
  std::sort(titles.begin(), titles.end());
  std::sort(sides.begin(), sides.end());
  EXPECT_EQ(titles, (std::vector<std::string>{"側嘜", "正嘜"}));
  EXPECT_EQ(sides, (std::vector<std::string>{"0", "1"}));
  for (Tfmmd* editor : editors) EXPECT_EQ(editor->MarkSide() == "0", editor->Label2->Caption() == "正嘜");
  EXPECT_EQ(EditorCustomerId, "C001");
  EXPECT_EQ(EditorMarkId, "M01");
  EXPECT_GE(main_->ImageList1->Count(), 11);
  // Without a mark database each editor opens empty and says why.
  ASSERT_EQ(warnings_.size(), 2u);
  EXPECT_NE(warnings_[0].find("還沒有設定資料庫別名 dbmd"), std::string::npos) << warnings_[0];
  // The system places them, the second one title bar's height right of and below the first.
  EXPECT_GT(editors[1]->Left(), editors[0]->Left());
  EXPECT_GT(editors[1]->Top(), editors[0]->Top());
}

// The window menu names the editors by their titles, and the menus' lines are bare lines.
TEST_F(MainWindow, WindowMenuListsTheEditorsByTitle) {
  Start();
  ASSERT_EQ(Editors().size(), 2u);
  std::vector<std::string> listed;
  bool afterLine = false;
  for (int i = 0; i < main_->Window1->Count(); ++i) {
    TMenuItem* item = main_->Window1->Items(i);
    if (item->IsLine()) afterLine = true;
    else if (afterLine) listed.push_back(item->QtAction()->text().toStdString());
  }
  EXPECT_EQ(listed, (std::vector<std::string>{"&1 正嘜", "&2 側嘜"}));
  for (TMenuItem* line : {main_->Window1->Items(5), dynamic_cast<TMenuItem*>(main_->FindComponent("N1"))}) {
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->QtAction()->isSeparator());
    EXPECT_TRUE(line->QtAction()->text().isEmpty());
  }
}

TEST_F(MainWindow, ClosingAnEditorDestroysIt) {
  Start();
  ASSERT_EQ(Editors().size(), 2u);
  Editors()[0]->Close();
  QApplication::processEvents();
  DispatchPostedMessages();
  EXPECT_EQ(Editors().size(), 1u);
  // Showing the main window again does not reopen it.
  main_->Show();
  QApplication::processEvents();
  EXPECT_EQ(Editors().size(), 1u);
}

TEST_F(MainWindow, ExitClosesTheMainWindow) {
  Start();
  main_->FileExit1Execute(nullptr);
  QApplication::processEvents();
  EXPECT_FALSE(main_->Showing());
}

}  // namespace
