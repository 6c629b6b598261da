#pragma once
// The editor as a user runs it, on a mark database of its own: a Windows folder and a data folder
// in a temporary folder, the default data made there, and the main window with its two editors.
// Warnings and questions are answered by the test and recorded.

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QWidget>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/DefaultData.h"
#include "app/PrintModule.h"
#include "app/ProgramGlyphs.h"
#include "app/Translations.h"
#include "app/Question.h"
#include "app/UPub.h"
#include "app/ufmmain.h"
#include "app/ufmmd.h"
#include "design/palette/DsnPanel.h"
#include "mark/shape2.h"
#include "platform/controls/Application.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Label.h"
#include "platform/controls/StdControls.h"
#include "platform/db/DataControls.h"
#include "platform/db/DatabaseAliases.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Windows.h"
#include "tests/support/QtApp.h"

namespace marks_test {

namespace fs = std::filesystem;

class MarkEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    RegisterStandardControls();
    RegisterDataControls();
    RegisterPaletteClasses();
    RegisterProgramGlyphs();
    InstallTranslations();
    UseModuleForSvgPictures();
    static int run = 0;
    windows_ = fs::temp_directory_path() /
               ("markedit-marks-" + std::to_string(getpid()) + "-" + std::to_string(++run));
    fs::remove_all(windows_);
    fs::create_directories(windows_ / "data");
    if (const char* old = std::getenv("WINDIR")) savedWindir_ = old;
    setenv("WINDIR", windows_.c_str(), 1);
    std::ofstream(windows_ / "win.ini") << "[tavrix]\ndatapath=" << (windows_ / "data").string() << "\n";
    std::string error;
    ASSERT_TRUE(PrepareDefaultData(&error)) << error;
    database_ = (windows_ / "data" / kDefaultDatabaseFile).string();
    // A lock held by another connection fails a statement at once instead of after seconds.
    std::ofstream(windows_ / "dbalias.ini", std::ios::app) << "Options=QSQLITE_BUSY_TIMEOUT=0\n";
    SetCommandLineArguments({"C001", "M01"});
    SetMessageBoxHook([this](const std::string& text, const std::string&, UINT) {
      ExpectChinese(text);
      warnings_.push_back(text);
      return IDOK;
    });
    SetQuestionHook([this](const std::string& text, const std::vector<std::string>& buttons) {
      ExpectChinese(text);
      questions_.push_back(text);
      if (whileAsked_) std::exchange(whileAsked_, nullptr)();
      EXPECT_EQ(buttons, expectedButtons_);
      EXPECT_FALSE(answers_.empty()) << "unexpected question: " << text;
      if (answers_.empty()) return static_cast<int>(saCancel);
      const int answer = answers_.front();
      answers_.erase(answers_.begin());
      return answer;
    });
  }

  void TearDown() override {
    CloseAll();
    SetMessageBoxHook({});
    SetQuestionHook({});
    EXPECT_TRUE(answers_.empty()) << "answers left unasked";
    if (peek_.isValid()) {
      peek_ = QSqlDatabase();
      QSqlDatabase::removeDatabase(QStringLiteral("marks-test-peek"));
    }
    CloseAliasDatabases();
    DataPath.clear();
    EditorCustomerId.clear();
    EditorMarkId.clear();
    EditorMarkSide.clear();
    if (savedWindir_.empty()) unsetenv("WINDIR");
    else setenv("WINDIR", savedWindir_.c_str(), 1);
    fs::remove_all(windows_);
  }

  // Creates and shows the main window as the program does; the editors open and load their marks.
  Tfmmain* Start() {
    main_ = New<Tfmmain>(ApplicationInstance());
    main_->Show();
    Settle();
    return main_;
  }

  static void Settle() {
    QApplication::processEvents();
    DispatchPostedMessages();
  }

  // Every line a window shows the clerk is in Chinese: each holds Chinese words, before whatever
  // technical detail (a driver's reason, a path) follows them. A line of English alone is a text
  // that missed its translation; the inspector's "… is illegal (…)" alone stays as the design
  // framework words it.
  static void ExpectChinese(const std::string& text) {
    for (const QString& line : QString::fromStdString(text).split(u'\n')) {
      if (line.trimmed().isEmpty() || line.contains(QLatin1String(" is illegal ("))) continue;
      const bool chinese = std::any_of(line.begin(), line.end(), [](QChar c) {
        return (c.unicode() >= 0x3000 && c.unicode() <= 0x9fff) || (c.unicode() >= 0xff00 && c.unicode() <= 0xffef);
      });
      EXPECT_TRUE(chinese) << "untranslated line \"" << line.toStdString() << "\" in:\n" << text;
    }
  }

  // The colour shown at the middle of a pixel of an editor's stage, at any scale of the screen.
  static unsigned StagePixel(Tfmmd* editor, int x, int y) {
    const QImage shown = WindowWidget(editor->DsnStage1->Handle())->grab().toImage();
    const qreal r = shown.devicePixelRatio();
    return shown.pixel(static_cast<int>((x + 0.5) * r), static_cast<int>((y + 0.5) * r)) & 0xFFFFFFu;
  }

  std::vector<Tfmmd*> Editors() const {
    std::vector<Tfmmd*> editors;
    for (int i = 0; main_ && i < main_->MDIChildCount(); ++i)
      if (auto* editor = dynamic_cast<Tfmmd*>(main_->MDIChildren(i))) editors.push_back(editor);
    return editors;
  }

  // The editor of the main mark ("0") or the side mark ("1").
  Tfmmd* Editor(const std::string& side) const {
    for (Tfmmd* editor : Editors())
      if (editor->MarkSide() == side) return editor;
    return nullptr;
  }

  void CloseAll() {
    for (Tfmmd* editor : Editors()) editor->Free();
    FreeAndNil(main_);
    Settle();
  }

  // Elements placed straight on an editor's stage, as a design holds them.
  static TLabel* PlaceLabel(Tfmmd* editor, const std::string& caption, int left, int top) {
    auto* label = New<TLabel>(editor);
    label->SetParent(editor->DsnStage1);
    label->SetBounds(left, top, 90, 20);
    label->SetCaption(caption);
    label->SetTransparent(true);
    return label;
  }
  static tshape2* PlaceShape(Tfmmd* editor, tkind kind, int left, int top) {
    auto* shape = New<tshape2>(editor);
    shape->SetParent(editor->DsnStage1);
    shape->SetBounds(left, top, 50, 50);
    shape->Setkind(kind);
    shape->Setslset(tslset{sltop, sllr});
    return shape;
  }
  static TDBText* PlaceDBText(Tfmmd* editor, const std::string& field, int left, int top) {
    auto* text = New<TDBText>(editor);
    text->SetParent(editor->DsnStage1);
    text->SetBounds(left, top, 120, 17);
    text->SetDataField(field);
    text->SetCaption(field);
    return text;
  }

  // What a user sees of a stage: each element's class, bounds and caption, in child order.
  static std::vector<std::string> Contents(Tfmmd* editor) {
    std::vector<std::string> contents;
    TDsnStage* stage = editor->DsnStage1;
    for (int i = 0; i < stage->ControlCount(); ++i) {
      TControl* c = stage->Controls(i);
      std::string line = c->ClassName() + " " + std::to_string(c->Left()) + "," + std::to_string(c->Top()) +
                         " " + std::to_string(c->Width()) + "x" + std::to_string(c->Height()) + " '" +
                         c->Caption() + "'";
      if (auto* shape = dynamic_cast<tshape2*>(c))
        line += " kind " + std::to_string(shape->kind()) + " lines " + std::to_string(shape->slset().Bits());
      if (auto* text = dynamic_cast<TDBText*>(c)) line += " field " + text->DataField();
      contents.push_back(line);
    }
    return contents;
  }

  // A connection of the test's own to the mark database, beside the editor's.
  QSqlDatabase& Peek() {
    if (!peek_.isValid()) {
      peek_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("marks-test-peek"));
      peek_.setDatabaseName(QString::fromStdString(database_));
      peek_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
      EXPECT_TRUE(peek_.open()) << peek_.lastError().text().toStdString();
    }
    return peek_;
  }
  void Exec(const QString& statement) {
    QSqlQuery query(Peek());
    EXPECT_TRUE(query.exec(statement)) << query.lastError().text().toStdString();
  }

  // The stored data of one mark, read past the program's own code.
  std::optional<std::string> StoredRow(const std::string& customer, const std::string& mark,
                                       const std::string& side) {
    QSqlQuery query(Peek());
    query.prepare(QStringLiteral("select data from md where customerid = ? and mdid = ? and flag = ?"));
    query.addBindValue(QString::fromStdString(customer));
    query.addBindValue(QString::fromStdString(mark));
    query.addBindValue(QString::fromStdString(side));
    EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
    if (!query.next()) return std::nullopt;
    const QByteArray data = query.value(0).toByteArray();
    return std::string(data.constData(), static_cast<size_t>(data.size()));
  }
  int RowCount() {
    QSqlQuery query(Peek());
    EXPECT_TRUE(query.exec(QStringLiteral("select count(*) from md")));
    return query.next() ? query.value(0).toInt() : -1;
  }
  void StoreRow(const std::string& customer, const std::string& mark, const std::string& side,
                const std::string& data) {
    QSqlQuery query(Peek());
    query.prepare(QStringLiteral("insert or replace into md (customerid, mdid, flag, data) values (?, ?, ?, ?)"));
    query.addBindValue(QString::fromStdString(customer));
    query.addBindValue(QString::fromStdString(mark));
    query.addBindValue(QString::fromStdString(side));
    query.addBindValue(QByteArray(data.data(), static_cast<qsizetype>(data.size())));
    EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
  }

  fs::path windows_;
  std::string database_;
  std::string savedWindir_;
  Tfmmain* main_ = nullptr;
  QSqlDatabase peek_;
  std::vector<std::string> warnings_;
  std::vector<std::string> questions_;
  std::vector<int> answers_;  // the answers the next questions get, in order
  std::function<void()> whileAsked_;  // done once, while the next question waits for its answer
  std::vector<std::string> expectedButtons_{"是", "否", "取消"};  // the buttons questions show
};

}  // namespace marks_test
