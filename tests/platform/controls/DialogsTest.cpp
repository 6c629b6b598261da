// The colour, font and file dialogs: answered by the test hook, and Qt's real dialogs answered from
// the event loop while they run modally.

#include "platform/controls/Dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/platform/controls/ControlsTestSupport.h"
#include "tests/support/AnswerDialog.h"

namespace {

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { TestApp(); }
  void TearDown() override {
    SetDialogHook(nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(controls_test::VisibleTopLevels().empty()) << "a dialog outlived its test";
  }
};

// ---- the hook ----

TEST_F(DialogTest, TheHookAnswersInsteadOfADialogAndMayChangeTheValue) {
  auto* dialog = New<TColorDialog>(nullptr);
  std::vector<const TCommonDialog*> asked;
  bool confirm = true;
  SetDialogHook([&](TCommonDialog& d) {
    asked.push_back(&d);
    if (auto* colours = dynamic_cast<TColorDialog*>(&d)) colours->SetColor(clRed);
    return confirm;
  });
  EXPECT_TRUE(dialog->Execute());
  EXPECT_EQ(dialog->Color(), clRed);
  confirm = false;
  dialog->SetColor(clBlue);
  EXPECT_FALSE(dialog->Execute());
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0], dialog);
  dialog->Free();
}

// ---- filters ----

struct FilterCase {
  const char* name;
  const char* filter;
  std::vector<std::string> expected;
};

class FileFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FileFilters, BecomeQtNameFilters) { EXPECT_EQ(FileDialogNameFilters(GetParam().filter), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Filters, FileFilters,
    ::testing::Values(FilterCase{"AllFiles", "All files (*.*)|*.*", {"All files (*)"}},
                      FilterCase{"DescriptionWithoutPatterns", "Marks|*.mk;*.mkx", {"Marks (*.mk *.mkx)"}},
                      FilterCase{"Several",
                                 "Marks (*.mk)|*.mk|Text files (*.txt)|*.txt",
                                 {"Marks (*.mk)", "Text files (*.txt)"}},
                      FilterCase{"ParenthesesThatAreNoPatterns", "Old (2001)|*.old", {"Old (2001) (*.old)"}},
                      FilterCase{"Empty", "", {}},
                      FilterCase{"DescriptionWithoutItsPatterns", "Marks", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Qt's dialogs ----

TEST_F(DialogTest, TheColourDialogGivesTheColourChosenOrLeavesItOnCancel) {
  auto* dialog = New<TColorDialog>(nullptr);
  dialog->SetColor(clBlue);
  std::vector<QColor> shown;
  AnswerNextDialog<QColorDialog>([&shown](QColorDialog* d) {
    shown.push_back(d->currentColor());
    d->setCurrentColor(QColor(255, 0, 0));
    d->accept();
  });
  EXPECT_TRUE(dialog->Execute());
  EXPECT_EQ(dialog->Color(), clRed);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], QColor(0, 0, 255));
  AnswerNextDialog<QColorDialog>([](QColorDialog* d) {
    d->setCurrentColor(Qt::green);
    d->reject();
  });
  EXPECT_FALSE(dialog->Execute());
  EXPECT_EQ(dialog->Color(), clRed);
  dialog->Free();
}

TEST_F(DialogTest, TheFontDialogMapsTheChosenFontAndKeepsAFaceShownThroughItsStandIn) {
  auto* dialog = New<TFontDialog>(nullptr);
  dialog->Font()->SetName("新細明體");
  dialog->Font()->SetHeight(-16);
  AnswerNextDialog<QFontDialog>([](QFontDialog* d) { d->accept(); });
  EXPECT_TRUE(dialog->Execute());
  EXPECT_EQ(dialog->Font()->Name(), "新細明體");
  EXPECT_EQ(dialog->Font()->Height(), -16);

  AnswerNextDialog<QFontDialog>([](QFontDialog* d) {
    QFont chosen("DejaVu Sans");
    chosen.setPointSize(14);
    chosen.setBold(true);
    d->setCurrentFont(chosen);
    d->accept();
  });
  EXPECT_TRUE(dialog->Execute());
  EXPECT_EQ(dialog->Font()->Name(), "DejaVu Sans");
  EXPECT_EQ(dialog->Font()->Size(), 14);
  EXPECT_EQ(dialog->Font()->Height(), -19);
  EXPECT_EQ(dialog->Font()->Style(), TFontStyles{fsBold});
  dialog->Free();
}

TEST_F(DialogTest, TheFontDialogKeepsTheSizeInsideItsLimits) {
  auto* dialog = New<TFontDialog>(nullptr);
  dialog->SetMaxFontSize(12);
  AnswerNextDialog<QFontDialog>([](QFontDialog* d) {
    QFont chosen("DejaVu Sans");
    chosen.setPointSize(20);
    d->setCurrentFont(chosen);
    d->accept();
  });
  EXPECT_TRUE(dialog->Execute());
  EXPECT_EQ(dialog->Font()->Size(), 12);
  dialog->Free();
}

TEST_F(DialogTest, TheOpenDialogGivesTheFileAndTheFilterChosen) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string file = dir.filePath("mark.txt").toStdString();
  std::ofstream(file) << "x";
  auto* dialog = New<TOpenDialog>(nullptr);
  dialog->SetFilter("Marks (*.mk)|*.mk|Text files (*.txt)|*.txt");
  dialog->SetInitialDir(dir.path().toStdString());
  std::vector<QString> shownFilter;
  AnswerNextDialog<QFileDialog>([&](QFileDialog* d) {
    shownFilter.push_back(d->selectedNameFilter());
    d->selectNameFilter("Text files (*.txt)");
    d->selectFile(QString::fromStdString(file));
    static_cast<QDialog*>(d)->accept();  // as the Open button does
  });
  EXPECT_TRUE(dialog->Execute());
  EXPECT_EQ(dialog->FileName(), file);
  EXPECT_EQ(dialog->FilterIndex(), 2);
  EXPECT_EQ(shownFilter, (std::vector<QString>{"Marks (*.mk)"}));
  dialog->Free();
}

}  // namespace
