#pragma once
// Modal dialogs of the mark editor answered as a user answers them: the next modal window acted
// on from inside its modal state, an element's right-click menu, the inspector's DataField button.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

#include <functional>

#include "app/ufmkey.h"
#include "design/inspector/DsnSpctr.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Grids.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Menus.h"
#include "platform/controls/ModalHook.h"
#include "platform/controls/RadioGroup.h"
#include "platform/controls/SpeedButton.h"
#include "tests/app/MarkInputFixture.h"

namespace marks_test {

class MarkDialogsFixture : public MarkInputTest {
 protected:
  void TearDown() override {
    SetModalHook(nullptr);
    MarkInputTest::TearDown();
  }
  // Answers the next modal window, which must be a T, with `act`, as a user would.
  template <class T>
  void WhenShown(std::function<void(T*)> act) {
    SetModalHook([act](TCustomForm& form) {
      SetModalHook(nullptr);
      auto* dialog = dynamic_cast<T*>(&form);
      ASSERT_NE(dialog, nullptr) << form.ClassName() << " opened instead";
      EXPECT_TRUE(dialog->Showing());
      Settle();  // laid out and painted before the user acts
      act(dialog);
      if (dialog->ModalResult() != mrNone || !dialog->Showing()) return;
      ADD_FAILURE() << "the answer did not end the dialog";
      dialog->SetModalResult(mrCancel);
    });
  }
  // Chooses the item `caption` of the main window's File menu, as the clerk does.
  void FileMenu(const std::string& caption) {
    auto* file = dynamic_cast<TMenuItem*>(main_->FindComponent("File1"));
    ASSERT_NE(file, nullptr);
    for (int i = 0; i < file->Count(); ++i)
      if (file->Items(i)->Caption() == caption) {
        file->Items(i)->Click();
        Settle();
        return;
      }
    FAIL() << "no item " << caption;
  }
  // A key of the main window's menus, pressed while the clerk works on the editor's stage (the
  // property window may have been the active window meanwhile).
  void MenuKey(Tfmmd* editor, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* stage = WindowWidget(editor->DsnStage1->Handle());
    stage->window()->activateWindow();
    Settle();
    QTest::keyClick(stage, key, modifiers);
    Settle();
  }
  // Types the numbers into the new-numbers dialog (新增嘜頭, 另存新嘜頭) and presses 確定.
  void TypeNumbers(Tfmkey* dialog, const std::string& customer, const std::string& mark) {
    auto* combo = static_cast<QComboBox*>(WindowWidget(dialog->ComboBox1->Handle()));
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QString::fromStdString(customer));
    auto* number = static_cast<QLineEdit*>(WindowWidget(dialog->Edit1->Handle()));
    number->selectAll();
    QTest::keyClicks(number, QString::fromStdString(mark));
    ClickOn(dialog->BitBtn1);
  }
  void ClickRadio(TRadioGroup* group, int item) {
    QList<QRadioButton*> buttons = WindowWidget(group->Handle())->findChildren<QRadioButton*>();
    ASSERT_LT(item, buttons.size());
    QTest::mouseClick(buttons[item], Qt::LeftButton, Qt::NoModifier, QPoint(5, buttons[item]->height() / 2));
    Settle();
  }
  // Right-clicks an element and chooses the first entry of its menu.
  void ChooseFromElementMenu(TControl* element) {
    const auto spot = SpotOf(element, element->Width() / 2, element->Height() / 2);
    QTest::mouseClick(spot.window, Qt::RightButton, Qt::NoModifier, spot.at);
    Settle();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "the element's menu opens";
    ASSERT_FALSE(menu->actions().isEmpty());
    EXPECT_EQ(menu->actions()[0]->text().toStdString(), "設定形狀");
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(menu->actions()[0]).center());
    Settle();
  }
  // A double click on line `index` of a list box, as Qt's own tests send one: a click, the second
  // press, its release.
  static void DoubleClickLine(TListBox* box, int index) {
    auto* list = qobject_cast<QListWidget*>(WindowWidget(box->Handle()));
    ASSERT_NE(list, nullptr);
    const QPoint at = list->visualItemRect(list->item(index)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  }
  // Clicks the value of the property `name` in the editor's property window.
  void ClickPropertyRow(Tfmmd* editor, const std::string& name) {
    TStringGrid* grid = editor->DsnInspector1->Window()->StringGrid1;
    int row = -1;
    for (int r = 1; r < grid->RowCount(); ++r)
      if (grid->Cells(0, r) == name) row = r;
    ASSERT_GT(row, 0) << "no row " << name;
    const TRect cell = grid->CellRect(2, row);
    const auto spot = SpotOf(grid, cell.Left + 5, (cell.Top + cell.Bottom) / 2);
    QTest::mouseClick(spot.window, Qt::LeftButton, Qt::NoModifier, spot.at);
    Settle();
  }
  void PressDataFieldButton(Tfmmd* editor) {
    ClickPropertyRow(editor, "DataField");
    TInspectorFm* window = editor->DsnInspector1->Window();
    ASSERT_TRUE(window->Panel2->Visible()) << "DataField is edited through its button";
    ClickOn(window->SpeedButton1);
  }
};

}  // namespace marks_test
