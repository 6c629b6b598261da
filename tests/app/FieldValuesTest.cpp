// Shipment values inside captions: the clerk puts a column into a caption from the property
// window's list, the stage shows each row's value with live values, and the PDF carries them.

#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "app/MarkOutput.h"
#include "platform/controls/ToolBar.h"
#include "tests/app/MarkDialogsFixture.h"

namespace marks_test {
namespace {

class FieldValuesTest : public MarkDialogsFixture {
 protected:
  QImage Grab(Tfmmd* editor, TControl* element) {
    Settle();
    return WindowWidget(editor->DsnStage1->Handle())
        ->grab(QRect(element->Left(), element->Top(), element->Width(), element->Height()))
        .toImage();
  }
};

TEST_F(FieldValuesTest, AColumnPutIntoACaptionShowsAndPrintsEachRowsValue) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_TRUE(side);
  TLabel* weight = PlaceLabel(side, "N.W. ", 20, 20);
  TLabel* typed = PlaceLabel(side, "N.W. 96.5 KGS", 20, 60);
  TLabel* mixed = PlaceLabel(side, "{NW:0.00} {{n}} {XYZ} {XYZ}", 20, 100);
  mixed->SetName("Label3");
  for (TLabel* label : {weight, typed, mixed}) {
    label->SetAutoSize(false);
    label->SetBounds(label->Left(), label->Top(), 240, 24);
  }

  // The clerk clicks the caption's value, opens the list beside it, chooses NW and types on.
  ClickOn(side->b1);
  ClickOn(weight);
  ClickPropertyRow(side, "Caption");
  TInspectorFm* window = side->DsnInspector1->Window();
  ASSERT_TRUE(window->Panel4->Visible()) << "the caption has the list of columns";
  auto* edit = static_cast<QLineEdit*>(WindowWidget(window->Edit1->Handle()));
  QTest::keyClick(edit, Qt::Key_End);
  ClickOn(window->SpeedButton2);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr) << "the list of columns opens";
  QAction* nw = nullptr;
  for (QAction* action : menu->actions())
    if (action->text() == "{NW}") nw = action;
  ASSERT_NE(nw, nullptr);
  EXPECT_EQ(menu->actions().front()->text(), "{n}");
  QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(nw).center());
  Settle();
  QTest::keyClicks(edit, " KGS");
  QTest::keyClick(edit, Qt::Key_Return);
  Settle();
  EXPECT_EQ(weight->Caption(), "N.W. {NW} KGS");
  EXPECT_NE(Grab(side, weight), Grab(side, typed)) << "design mode shows the caption as typed";

  // Live values on the first row (LP-200, 96.5 kg): the caption reads as the typed label does.
  ClickOn(side->b1);
  side->ChooseRow("EX2401001", 1);
  EXPECT_EQ(Grab(side, weight), Grab(side, typed));

  // Printed: every row its own value, the format's decimals, doubled braces single, and an unknown
  // name as typed, said once.
  TMarkOutput output({{"1", side->CurrentDesign()}}, "C001", "EX2401001");
  const std::vector<std::string> warnings = output.Warnings(kDefaultMarkWidthMm, false);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("Label3：{XYZ}"), std::string::npos) << warnings[0];
  QTemporaryDir dir;
  const QString pdf = dir.filePath("marks.pdf");
  WritePdf(output, pdf.toStdString(), kDefaultMarkWidthMm);
  QProcess text;
  text.start("pdftotext", {"-layout", pdf, "-"});
  ASSERT_TRUE(text.waitForFinished(30000));
  const QString pages = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(pages.contains("N.W. 132 KGS")) << pages.toStdString();
  EXPECT_TRUE(pages.contains("N.W. 180 KGS")) << pages.toStdString();
  EXPECT_TRUE(pages.contains("96.50 {n} {XYZ} {XYZ}")) << pages.toStdString();
  EXPECT_EQ(pages.count("N.W. 96.5 KGS"), 4) << "row 1, and the typed label on every page";
}

}  // namespace
}  // namespace marks_test
